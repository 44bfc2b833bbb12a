#pragma once

#include "profile/ProfileFields.h"

#include <QString>

#include <array>

// One profile field of the record: its value and its data-source binding. A committed field
// has one of three shapes: typed (no flag), a data series (series flag, name and position in
// the offered list) or a spreadsheet column (column flag and index; 0 is the row number).
struct User_Profile_Field
{
    bool ds = false;          // <stem>_ds
    int ds_indx = 0;          // <stem>_ds_indx
    bool xl = false;          // <stem>_xl
    int xl_col_indx = 0;      // <stem>_xl_col_indx
    QString id;               // <stem>_id: the control identifier
    QString label_id;         // <stem>_label_id
    QString label;            // <stem>_label: caption text (no operation uses it)
    QString value;            // <stem>: the value, or the photo's file path
    QString ds_name;          // <stem>_ds_name

    // 0 typed, 1 data series, 2 spreadsheet column.
    int sourceKind() const { return ds ? 1 : xl ? 2 : 0; }
    void setTyped() { ds = false; ds_name.clear(); ds_indx = 0; xl = false; xl_col_indx = 0; }
    void setSeries(const QString &name, int index) { setTyped(); ds = true; ds_name = name; ds_indx = index; }
    void setColumn(int column) { setTyped(); xl = true; xl_col_indx = column; }

    friend bool operator==(const User_Profile_Field &, const User_Profile_Field &) = default;
};

// The sender's profile for one card side as a profile dialog last committed it: the hand-over
// from the dialogs to the placing of the profile on the side. Kept in memory only: a design
// keeps its "Fup_" elements, from which the dialog loads its rows again.
class User_Profile_Class
{
public:
    bool Fill_User_Profile_Enable = false;
    bool Excel_Binding = false;
    std::array<User_Profile_Field, ProfileFields::Count> fields;

    // Every field back to its "after reset" value: identifiers set, values, names, flags and
    // indexes empty; the caption texts are left alone.
    void Reset_All_Values();

    User_Profile_Field &field(int index) { return fields.at(index); }
    const User_Profile_Field &field(int index) const { return fields.at(index); }

    // Accessors by the record's names for the fields read most.
    const QString &Name() const { return fields[0].value; }
    const QString &Company_name() const { return fields[2].value; }
    const QString &email() const { return fields[7].value; }
    const QString &image() const { return fields[ProfileFields::Photo].value; }

    friend bool operator==(const User_Profile_Class &, const User_Profile_Class &) = default;
};
