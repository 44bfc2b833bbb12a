// The Qt seam's save chooser with several filters, on Qt's own file dialog: the chosen filter's
// suffix is put on a name typed without one before the dialog asks about replacing a file.

#include "dialogs/ui/QtModalSeam.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(QtModalSeamSave, TheChosenFiltersSuffixIsAppliedBeforeTheReplaceQuestion)
{
    QTemporaryDir dir;
    QFile existing(dir.filePath("values.txt"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

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

} // namespace
