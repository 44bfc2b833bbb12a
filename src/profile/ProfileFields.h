#pragma once

#include <QString>

#include <array>

// The eleven fields of the sender's profile, in the order every list of the profile follows
// (dialog rows, validation, placing): the stem of the record's fields, the stem of the dialog's
// controls, the control identifier of the card element that shows it, its caption identifier,
// the caption the dialogs show and the names of its default-rectangle placeholders.
struct ProfileFieldInfo
{
    const char *stem;            // record: Name, Title, Company_name, ...
    const char *rowStem;         // dialogs: name, title, comp_name, ...
    const char *controlId;       // "Fup_Name", ...
    const char *captionId;       // "Fup_lbl_Name", ...
    const char *caption;         // "Name :", ...
    const char *placeholder;     // landscape placeholder; the portrait one adds "_V"
    bool picture;                // the photo: a picture element whose value is a file path
};

namespace ProfileFields {

inline constexpr int Count = 11;
inline constexpr int Photo = 10;

const std::array<ProfileFieldInfo, Count> &all();
// The field of a control identifier, or -1.
int indexOfControlId(const QString &controlId);
// The caption as the validation message names it: trimmed, without " :".
QString bareCaption(int field);

} // namespace ProfileFields
