#pragma once

// Process-wide state of the sender profile.

#include <QString>

class Show_User_Profile;
class User_profile;

// Set once a profile dialog opened for a side ended with OK; cleared by a new or opened design.
// The front and back placing run only while it is set.
extern bool Fill_User_Profile;

// The per-side profile dialog (its placeholders give the default element rectangles) and the
// wizards' profile dialog.
extern Show_User_Profile *Show_User_Profile_Window;
extern User_profile *User_profile_def_inst;

// The row captions, as the validation message names them.
extern const QString Title_Name, Title_Title, Title_Company_name, Title_slogan, Title_address, Title_phone,
    Title_fax, Title_email, Title_website, Title_unique, Title_image;
