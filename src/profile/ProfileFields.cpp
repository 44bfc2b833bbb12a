#include "profile/ProfileFields.h"

namespace ProfileFields {

const std::array<ProfileFieldInfo, Count> &all()
{
    static const std::array<ProfileFieldInfo, Count> fields = {{
        {"Name", "name", "Fup_Name", "Fup_lbl_Name", "Name :", "name_default", false},
        {"Title", "title", "Fup_Title", "Fup_lbl_Title", "Position / Title :", "title_default", false},
        {"Company_name", "comp_name", "Fup_Company", "Fup_lbl_Company", "Company Name :", "comp_name_default", false},
        {"slogan", "slogan", "Fup_CompanySlogan", "Fup_lbl_CompanySlogan", "Company Slogan :", "slogan_default", false},
        {"address", "address", "Fup_Address", "Fup_lbl_Address", "Address :", "address_default", false},
        {"phone", "phone", "Fup_PhoneNO", "Fup_lbl_PhoneNO", "Phone No. :", "phone_default", false},
        {"fax", "fax", "Fup_FaxNo", "Fup_lbl_FaxNo", "Fax No. :", "fax_default", false},
        {"email", "email", "Fup_EmailID", "Fup_lbl_EmailID", "Email Id :", "email_default", false},
        {"website", "website", "Fup_Website", "Fup_lbl_Website", "Website :", "website_default", false},
        {"unique", "unique", "Fup_UniqueNo", "Fup_lbl_UniqueNo", "Unique No. :", "unique_default", false},
        {"image", "image", "Fup_Photo", "Fup_lbl_Photo", "Photo :", "photo_default", true},
    }};
    return fields;
}

int indexOfControlId(const QString &controlId)
{
    for (int i = 0; i < Count; ++i)
        if (controlId == QLatin1String(all()[i].controlId))
            return i;
    return -1;
}

QString bareCaption(int field)
{
    QString caption = QString::fromLatin1(all()[field].caption).trimmed();
    caption.remove(QStringLiteral(" :"));
    return caption;
}

} // namespace ProfileFields
