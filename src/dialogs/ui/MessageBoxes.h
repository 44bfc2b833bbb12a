#pragma once

#include <QString>

// The application's two plain alerts. Both may be called from any thread: the alert is shown
// on the main thread (through ModalSeam) while the calling thread waits for the answer; on
// the main thread they run directly. A worker must not call them while the main thread
// waits for that worker, or both wait for ever.

// An alert whose message is "\n" followed by the text, with one "OK" button. A failure
// inside is logged, never passed on.
void Show_MessageBox(const QString &text);

// The same alert with the warning icon: for messages that report a failure.
void Show_Warning_MessageBox(const QString &text);

// An alert with the text and the buttons "Yes" and "No". Returns 1 for Yes, else 0 (also
// when the alert is closed or fails), and keeps the answer in yes_no_msg_val.
int Show_YES_NO_MessageBox(const QString &text);
