#pragma once

#include "dialogs/ui/ModalSeam.h"

#include <QDialog>
#include <QList>
#include <QUrl>

#include <deque>
#include <functional>

// A modal seam for tests: it records every message shown and answers from a script. Each
// message is also laid out and drawn in the application's own box, unseen.
// Installed for its lifetime; the previous seam comes back when it is destroyed.
//
//   ScriptedModalSeam seam;
//   seam.answerMessages({"Yes"});                     // press "Yes" on the next question
//   seam.onDialog([](QDialog *d) { ...; return QDialog::Accepted; });
//   seam.chooseFiles({"/tmp/a.dcard"});
//
// A message with no scripted answer presses its default button; the answer CloseBox closes
// it without a button (-1); a dialog with no scripted handler is rejected; a file chooser
// with no scripted answer is cancelled.
//
// The rule: the seam is strict, so a script cannot pass by accident.
//  - A scripted answer that names no button of the message it meets fails the running test.
//  - Answers, dialog handlers or files still unused when the seam is destroyed fail the
//    running test (a fixture's seam is destroyed inside its test). Script only what the
//    code under test will ask, in the order it asks.
//  - A test that scripts more than may be asked, on purpose, calls expectUnused() and says
//    why beside it.
class ScriptedModalSeam : public ModalSeam
{
public:
    using DialogHandler = std::function<int(QDialog *)>;
    static inline const QString CloseBox = QStringLiteral("<closed>");

    ScriptedModalSeam();
    ~ScriptedModalSeam() override;

    void answerMessages(const QStringList &buttonTexts);
    void onDialog(DialogHandler handler);
    void chooseFiles(const QStringList &paths);
    // Leftover answers, handlers and files are not a failure for this seam.
    void expectUnused() { m_unusedExpected = true; }

    QList<Message> messages;        // every message shown, in order
    QList<QDialog *> dialogsRun;    // every dialog run modally, in order
    QList<QUrl> openedUrls;         // every address handed to other programs
    bool refuseUrls = false;        // answer as a computer with no program for the address
    QStringList fileCaptions;       // captions of the file choosers asked
    QStringList fileDirs;           // the folder each file chooser started in

    QStringList messageTexts() const;

    int showMessage(QWidget *parent, const Message &message) override;
    int execDialog(QDialog *dialog) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    bool openUrl(const QUrl &url) override;

private:
    QString nextFile(const QString &caption, const QString &dir);

    ModalSeam *m_previous = nullptr;
    std::deque<QString> m_answers;
    std::deque<DialogHandler> m_dialogHandlers;
    std::deque<QString> m_files;
    bool m_unusedExpected = false;
};
