// The application's own modal seam, once, under the offscreen platform: a real message box
// and a real dialog run modally, answered by a timer that clicks as a user would.

#include "dialogs/ui/QtModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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
