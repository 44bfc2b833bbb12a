#pragma once

// Process-wide state of the sender profile.

#include <QString>

// Set once a profile dialog opened for a side ended with OK; cleared by a new or opened design.
// The front and back placing run only while it is set.
extern bool Fill_User_Profile;

// The row captions, as the validation message names them.
extern const QString Title_Name, Title_Title, Title_Company_name, Title_slogan, Title_address, Title_phone,
    Title_fax, Title_email, Title_website, Title_unique, Title_image;
