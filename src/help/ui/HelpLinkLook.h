#pragma once

class QAbstractButton;

// The look of the link buttons of the help, review and promotion windows: the button's own
// title in bold 11 points, underlined, in the palette's link colour, on the dialog background,
// with the open-hand cursor.
class HelpLinkLook
{
public:
    static void apply(QAbstractButton *button);
};
