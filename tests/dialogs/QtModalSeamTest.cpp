// The application's own modal seam, once, under the offscreen platform: a real message box
// and a real dialog run modally, answered by a timer that clicks as a user would; the save
// chooser with several filters on Qt's own file dialog, where the chosen filter's suffix is
// put on a name typed without one before the dialog asks about replacing a file.

#include "dialogs/ui/QtModalSeam.h"

#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

// Clicks the button `text` of the modal box as soon as one is up.
void clickWhenShown(const QString &text)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QAbstractButton *button : box->buttons())
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
        timer->deleteLater();
        timer->stop();
    });
    timer->start(0);
}

} // namespace

TEST(QtModalSeam, AMessageBoxReturnsTheButtonClickedAndADialogItsResult)
{
    QtModalSeam seam;
    ModalSeam::Message message;
    message.icon = QMessageBox::Question;
    message.title = QStringLiteral("Festiloom");
    message.text = QStringLiteral("Do you want to save changes before closing?");
    message.buttons = {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")};
    for (int pressed = 0; pressed < message.buttons.size(); ++pressed) {
        clickWhenShown(message.buttons.at(pressed));
        EXPECT_EQ(seam.showMessage(nullptr, message), pressed);
    }

    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.done(7); });
    EXPECT_EQ(seam.execDialog(&dialog), 7);
}

// Escape answers a message with its last button, the one that leaves things as they are; Enter
// with its default button.
TEST(QtModalSeam, EscapePressesTheLastButtonAndEnterTheDefaultOne)
{
    struct Row
    {
        QStringList buttons;
        int defaultButton;
        Qt::Key key;
        int expected;
    };
    const Row rows[] = {
        {{"OK"}, 0, Qt::Key_Escape, 0},
        {{"Yes", "No"}, 0, Qt::Key_Escape, 1},
        {{"Yes", "No"}, 1, Qt::Key_Escape, 1},
        {{"Yes", "No", "Cancel"}, 0, Qt::Key_Escape, 2},
        {{"Yes", "No", "Cancel"}, 0, Qt::Key_Return, 0},
        {{"Yes", "No"}, 1, Qt::Key_Return, 1},
    };
    QtModalSeam seam;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.buttons.join('/').toStdString() + (row.key == Qt::Key_Escape ? " Escape" : " Enter"));
        ModalSeam::Message message;
        message.text = QStringLiteral("Do you want to save changes before closing?");
        message.buttons = row.buttons;
        message.defaultButton = row.defaultButton;
        bool pressed = false;
        auto *timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer, &pressed, key = row.key] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            pressed = true;
            QTest::keyClick(box, key);
            if (box->isVisible())   // the key did nothing: close it without a button
                box->done(0);
            timer->deleteLater();
            timer->stop();
        });
        timer->start(0);
        EXPECT_EQ(seam.showMessage(nullptr, message), row.expected);
        EXPECT_TRUE(pressed);
    }
}

// A message quotes what the program did not write (a key of a received file, a file's name, a
// workbook's heading, a mail server's reply): the message and its informative text show those
// characters as they are, take no markup for HTML and open no file an <img> names.
TEST(QtModalSeam, ReceivedTextIsShownAsTheCharactersReceived)
{
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    QtModalSeam seam;
    for (const QString &received : named.markup()) {
        for (const bool informative : {false, true}) {
            SCOPED_TRACE(received.toStdString() + (informative ? " as informative text" : " as the message"));
            ModalSeam::Message message;
            message.text = informative ? QStringLiteral("The design cannot be opened.") : QStringLiteral("\n") + received;
            message.informativeText = informative ? received : QString();
            message.buttons = {QStringLiteral("OK")};
            QStringList shown;
            QTimer::singleShot(0, [&shown] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                box->grab();
                for (QLabel *label : box->findChildren<QLabel *>())
                    shown.append(TestHelpers::shownText(label).trimmed());
                box->buttons().constFirst()->click();
            });
            EXPECT_EQ(seam.showMessage(nullptr, message), 0);
            EXPECT_TRUE(shown.contains(received)) << shown.join(QLatin1Char('|')).toStdString();
        }
    }
    EXPECT_EQ(named.fifoOpened(), 0);
}

TEST(QtModalSeamSave, TheChosenFiltersSuffixIsAppliedBeforeTheReplaceQuestion)
{
    QTemporaryDir dir;
    TestHelpers::writeFile(dir.filePath("values.txt"));

    QString question;
    // Everything below runs from the dialogs' own event loops, in order, without timing.
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter("Text (*.txt)");
        emit dialog->filterSelected("Text (*.txt)");
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText("values");
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtModalSeam seam;
    QString filter;
    const QString path = seam.saveFileNameWithFilter(nullptr, "Export", dir.path(),
                                                     "Workbook (*.xlsx);;Text (*.txt)", &filter);
    EXPECT_EQ(path, dir.filePath("values.txt"));
    EXPECT_EQ(filter, "Text (*.txt)");
    EXPECT_TRUE(question.contains("values.txt")) << question.toStdString();
}

// The questions and warnings Qt's file chooser raises itself quote a file's name: about
// replacing a file there, and about a typed name that is not there. Names Qt would take for
// HTML show as their characters, and the FIFO an <img> in them names is never opened.
TEST(QtModalSeamSave, TheChoosersOwnMessagesShowANameAsItsCharacters)
{
    QTemporaryDir named, chosen;
    const ForeignPictures::NamedFiles files(named.path());   // the current folder, holding "fifo"
    ASSERT_TRUE(files.ready());
    QtModalSeam seam;
    enum class Chooser { Save, SaveWithFilters, Open };
    // The chooser's name field takes quotes as marks around several names: these names hold none.
    for (const QString &name : {QStringLiteral("<img src=fifo>"), QStringLiteral("<b>bold<&#47;b> text")}) {
        const QString file = TestHelpers::writeFile(QDir(chosen.path()).filePath(name + QStringLiteral(".txt")));
        for (const Chooser chooser : {Chooser::Save, Chooser::SaveWithFilters, Chooser::Open}) {
            SCOPED_TRACE(name.toStdString() + " in chooser " + std::to_string(int(chooser)));
            QStringList shown;
            QTimer::singleShot(0, [&] {
                auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                // Open is given a name that is not there, a save one that is.
                dialog->findChild<QLineEdit *>("fileNameEdit")->setText(QFileInfo(file).fileName() + (chooser == Chooser::Open ? "x" : ""));
                QTimer::singleShot(0, [&] {
                    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                    ASSERT_NE(box, nullptr);
                    box->grab();
                    for (QLabel *label : box->findChildren<QLabel *>())
                        shown.append(TestHelpers::shownText(label));
                    box->buttons().constFirst()->click();   // Yes, or OK
                    if (chooser == Chooser::Open)
                        QTimer::singleShot(0, dialog, &QDialog::reject);
                });
                QMetaObject::invokeMethod(dialog, "accept");
            });
            const QString path = chooser == Chooser::Save ? seam.saveFileName(nullptr, "Export", chosen.path(), "Text (*.txt)")
                                 : chooser == Chooser::SaveWithFilters
                                     ? seam.saveFileNameWithFilter(nullptr, "Export", chosen.path(), "Text (*.txt)", nullptr)
                                     : seam.openFileName(nullptr, "Open", chosen.path(), "Text (*.txt)");
            EXPECT_EQ(path.toStdString(), (chooser == Chooser::Open ? QString() : file).toStdString());
            EXPECT_TRUE(shown.join(QLatin1Char(' ')).contains(QFileInfo(file).fileName())) << shown.join(QLatin1Char('|')).toStdString();
        }
    }
    EXPECT_EQ(files.fifoOpened(), 0);
}
