#pragma once

class QUrl;
class QWidget;

// Hands an address (web page, mailto: or local file) to the user's program for it, through
// ModalSeam. When no program takes it (no browser, no mail program, no PDF viewer), one message
// names the address so the user can copy it, and false comes back.
bool Open_Address(const QUrl &url);

// The dialog look: the window background RGB 241/244/250; the window reopens where it was
// left (WindowPlaceKeeper).
void Apply_Dialog_Look(QWidget *window);

// Opens "Help.pdf" of the resource folder in the user's program for it (Open_Address); when
// there is no such file, says "Help file does not exist!".
void Open_Help_File();

// Enables (flag 1) or disables (flag 0) a control; a disabled text field greys with it, as Qt
// draws disabled widgets. Given a group box, it does this to the controls in the box, two
// levels of child widgets deep, and leaves the box itself (its title) as it is. A null
// control is ignored.
void SetObjEnabled(QWidget *control, int flag);
