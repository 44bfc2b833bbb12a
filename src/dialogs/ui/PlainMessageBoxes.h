#pragma once

#include <QObject>

class QMessageBox;

// While it lives, every message box Qt raises on its own shows its text as plain text: Qt's file
// chooser quotes a file's name when it asks about replacing it, says a typed name is not
// found or asks about deleting one, and takes such text for HTML whenever its first line looks
// like a tag, opening every file an <img> in it names. Each box's labels are made plain as the
// box is polished, before it is laid out or drawn. Made on the main thread.
class PlainMessageBoxes : public QObject
{
public:
    PlainMessageBoxes();
    ~PlainMessageBoxes() override;

    // Makes every label of the box plain text: the box's own message and informative text
    // take it from then on.
    static void makePlain(QMessageBox *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
