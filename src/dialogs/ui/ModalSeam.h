#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

// The one place where the application waits for the user or hands something to
// another program: message boxes, modal runs of dialogs, file choosers and opening
// addresses. The application uses QtModalSeam; tests install a scripted seam that
// answers instead, so no test ever sits in a real modal loop.
//
// Every call is made on the main thread.
class ModalSeam
{
public:
    struct Message
    {
        QMessageBox::Icon icon = QMessageBox::Information;
        QString title;
        QString text;
        QStringList buttons;      // button texts, left to right; Escape presses the last one
        int defaultButton = 0;    // index into buttons
        QString informativeText;  // a second, smaller text under the message (may be empty)
    };

    virtual ~ModalSeam() = default;

    // Shows a message; returns the index of the button pressed (or -1 when closed without one).
    virtual int showMessage(QWidget *parent, const Message &message) = 0;

    // Runs the dialog modally; returns its result (QDialog::Accepted / Rejected or done() code).
    virtual int execDialog(QDialog *dialog) = 0;

    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    // A save chooser with several name filters ("Workbook (*.xlsx);;Text (*.txt)"): the chosen
    // filter's suffix is added to a name typed without one before the chooser asks whether to
    // replace a file, and `selectedFilter` receives the filter in use. The default takes the
    // filter from the returned name's suffix (the first filter when none matches).
    virtual QString saveFileNameWithFilter(QWidget *parent, const QString &caption, const QString &dir,
                                           const QString &filters, QString *selectedFilter);
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) = 0;

    // Opens a web address, a mailto: address or a local file in the user's program for it.
    virtual bool openUrl(const QUrl &url) = 0;

    // The seam in use. Never null: the Qt seam is used until another is installed.
    static ModalSeam &instance();
    // Installs a seam (not owned) and returns the one it replaces; null restores the Qt seam.
    static ModalSeam *install(ModalSeam *seam);
};
