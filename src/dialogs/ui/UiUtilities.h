#pragma once

class QDialog;
class QUrl;
class QWidget;

// Hands an address (web page, mailto: or local file) to the user's program for it, through
// ModalSeam. When no program takes it (no browser, no mail program, no PDF viewer), one message
// names the address so the user can copy it, and false comes back.
bool Open_Address(const QUrl &url);

// The dialog look: the window background RGB 241/244/250; the window reopens where it was
// left (WindowPlaceKeeper); a dialog gets its keys (Apply_Dialog_Keys).
void Apply_Dialog_Look(QWidget *window);

// Enter presses the dialog's default button (its confirming one, set in its form) wherever the
// focus is, and Escape cancels it (QDialog::reject). Called once the dialog's buttons exist.
void Apply_Dialog_Keys(QDialog *dialog);

// Opens "Help.pdf" of the resource folder in the user's program for it (Open_Address); when
// there is no such file, says "Help file does not exist!".
void Open_Help_File();

// Enables (flag 1) or disables (flag 0) a control; a disabled text field greys with it, as Qt
// draws disabled widgets. Given a group box, it does this to the controls in the box, two
// levels of child widgets deep, and leaves the box itself (its title) as it is. A null
// control is ignored.
void SetObjEnabled(QWidget *control, int flag);
