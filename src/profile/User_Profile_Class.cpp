#include "profile/User_Profile_Class.h"

void User_Profile_Class::Reset_All_Values()
{
    Fill_User_Profile_Enable = false;
    Excel_Binding = false;
    for (int i = 0; i < ProfileFields::Count; ++i) {
        User_Profile_Field &f = fields[i];
        const QString label = f.label;
        f = User_Profile_Field();
        f.label = label;
        f.id = QLatin1String(ProfileFields::all()[i].controlId);
        f.label_id = QLatin1String(ProfileFields::all()[i].captionId);
    }
}
