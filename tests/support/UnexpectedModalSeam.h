#pragma once

#include "dialogs/ui/ModalSeam.h"

// The seam every test program runs with when no test installed one of its own: a message,
// dialog, file chooser or address that no test expected fails the running test at once and is
// answered as though the user closed or cancelled it, instead of waiting on a real window
// until the test's time runs out.
class UnexpectedModalSeam : public ModalSeam
{
public:
    int showMessage(QWidget *parent, const Message &message) override;
    int execDialog(QDialog *dialog) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    bool openUrl(const QUrl &url) override;
};
