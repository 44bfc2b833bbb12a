#pragma once

class QWidget;

// Opens "Help.pdf" of the resource folder in the user's program for it (through ModalSeam);
// when there is no such file, says "Help file does not exist!".
void Open_Help_File();

// Enables (flag 1) or disables (flag 0) a control; a disabled text field greys with it, as Qt
// draws disabled widgets. Given a group box, it does this to the controls in the box, two
// levels of child widgets deep, and leaves the box itself (its title) as it is. A null
// control is ignored.
void SetObjEnabled(QWidget *control, int flag);
