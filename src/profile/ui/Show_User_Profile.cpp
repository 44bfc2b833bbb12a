#include "profile/ui/Show_User_Profile.h"
#include "dialogs/ui/SharedWindow.h"

#include "document/DocumentGlobals.h"
#include "profile/ProfileGlobals.h"

#include <QCheckBox>

Show_User_Profile::Show_User_Profile(QWidget *parent)
    : ProfileDialogBase(parent)
{
    ui.setupUi(this);
    bindControls();
}

Show_User_Profile *Show_User_Profile::defaultInstance()
{
    return sharedWindow<Show_User_Profile>();
}

void Show_User_Profile::opened(bool load)
{
    if (!load) {
        setWindowTitle(QStringLiteral("User Profile Information"));
        return;
    }
    setWindowTitle(Card_Front_Or_Back != 0 ? QStringLiteral("Back Side User Profile Information")
                                           : QStringLiteral("Front Side User Profile Information"));
    Create_and_Set_Preview_picture();
}

void Show_User_Profile::rowLoaded(int row)
{
    if (QCheckBox *box = rows[row].valueChk)
        box->setChecked(true);
}

QRectF Show_User_Profile::placeholderRect(const QString &controlId, bool portrait) const
{
    const int field = ProfileFields::indexOfControlId(controlId);
    if (field < 0)
        return {};
    QString name = QLatin1String(ProfileFields::all()[field].placeholder);
    if (portrait)
        name += QStringLiteral("_V");
    const QWidget *box = portrait ? ui.vert_template : ui.horz_template;
    const QWidget *placeholder = box->findChild<QWidget *>(name);
    // Frames are top-left in the box, as the card is: an element lands exactly on its placeholder.
    return placeholder ? QRectF(placeholder->geometry()) : QRectF();
}
