// Every test program answers what no test expected by failing the running test at once: a
// message, dialog, file chooser or address reached with no seam of the test's own installed
// fails and is answered as closed or cancelled, with no real window waited on.

#include "dialogs/ui/MessageBoxes.h"
#include "dialogs/ui/ModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

int g_answer = 0;
QString g_chosen;
bool g_opened = true;

void showMessage()
{
    g_answer = Show_YES_NO_MessageBox(QStringLiteral("Replace the design?"));
}

void runDialog()
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Print setup"));
    g_answer = ModalSeam::instance().execDialog(&dialog);
}

void chooseFile()
{
    g_chosen = ModalSeam::instance().openFileName(nullptr, QStringLiteral("Open a design"), QString(), QString());
}

void openAddress()
{
    g_opened = ModalSeam::instance().openUrl(QUrl(QStringLiteral("https://example.org/help")));
}

bool aModalWindowIsShown()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && (qobject_cast<QMessageBox *>(widget) || qobject_cast<QDialog *>(widget)))
            return true;
    return QApplication::activeModalWidget() != nullptr;
}

} // namespace

TEST(UnexpectedModalSeam, WhatNoTestExpectedFailsTheTestAtOnce)
{
    g_answer = 99;
    EXPECT_NONFATAL_FAILURE(showMessage(), "a message no test expected");
    EXPECT_EQ(g_answer, 0) << "an unexpected question is not answered Yes";
    EXPECT_NONFATAL_FAILURE(runDialog(), "a dialog no test expected");
    EXPECT_EQ(g_answer, QDialog::Rejected);
    g_chosen = QStringLiteral("unchanged");
    EXPECT_NONFATAL_FAILURE(chooseFile(), "a file chooser no test expected");
    EXPECT_TRUE(g_chosen.isEmpty());
    EXPECT_NONFATAL_FAILURE(openAddress(), "an address no test expected");
    EXPECT_FALSE(g_opened);
    EXPECT_FALSE(aModalWindowIsShown());
}
