#pragma once

#include "dialogs/ui/ModalSeam.h"

#include <memory>

// The real seam: Qt's message boxes, QDialog::exec, QFileDialog and QDesktopServices. The
// message boxes a file chooser raises itself are plain text too (PlainMessageBoxes).
class QtModalSeam : public ModalSeam
{
public:
    int showMessage(QWidget *parent, const Message &message) override;
    // The box showMessage runs, built but not shown. Its message and informative text are
    // plain text: a message quotes names, keys and values from files, the clipboard, workbooks
    // and mail servers, and Qt would take such text for HTML whenever its first line looks like
    // a tag, opening every file an <img> in it names.
    static std::unique_ptr<QMessageBox> messageBox(QWidget *parent, const Message &message);
    int execDialog(QDialog *dialog) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileNameWithFilter(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filters, QString *selectedFilter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    bool openUrl(const QUrl &url) override;
};
