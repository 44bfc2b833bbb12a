#pragma once

#include "profile/ui/ProfileDialogBase.h"
#include "ui_Show_User_Profile.h"

// The per-side profile dialog: loads the side in work's "Fup_" elements into its rows; its
// hidden placeholders (horz_template for a landscape card, vert_template for a portrait one)
// give the default rectangles of new profile elements.
class Show_User_Profile : public ProfileDialogBase
{
    Q_OBJECT

public:
    explicit Show_User_Profile(QWidget *parent = nullptr);
    static Show_User_Profile *defaultInstance();

    Ui::Show_User_Profile ui;

    // The default rectangle of a field's element, in card points from the top-left: its
    // placeholder's frame in the landscape or portrait box. Empty for an unknown identifier.
    QRectF placeholderRect(const QString &controlId, bool portrait) const;

protected:
    void opened(bool load) override;
    void rowLoaded(int row) override;
};
