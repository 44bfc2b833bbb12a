#pragma once

#include "profile/ui/ProfileDialogBase.h"
#include "ui_User_profile.h"

// The card wizards' profile dialog: the same rows without side loading, caption or value
// boxes; a side list per row (read by nothing) and a template picture beside the preview.
// OK with no side writes the front record, then the back record from the same rows.
class User_profile : public ProfileDialogBase
{
    Q_OBJECT

public:
    explicit User_profile(QWidget *parent = nullptr);
    static User_profile *defaultInstance();

    Ui::User_profile ui;

    void Reset_all_Ctrl() override;
    // Renders the loaded side into both pictures.
    void Create_and_Set_template_picture();

protected:
    void opened(bool load) override;

private:
    void selectSides(int entry);
};
