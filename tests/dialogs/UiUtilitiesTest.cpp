#include "document/DocumentGlobals.h"
#include "dialogs/ui/UiUtilities.h"
#include "help/HelpLinks.h"
#include "help/ui/Review_Form.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "data/ui/View_Data_Series.h"
#include "output/ui/Email_Setting.h"
#include "output/ui/ExportWindow.h"
#include "output/ui/Send_Modeless.h"

#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

TEST(Open_Help_File, OpensHelpPdfOfTheResourceFolderOrSaysThereIsNone)
{
    QTemporaryDir dir;
    ScriptedModalSeam seam;
    Resource_Path = dir.path();
    Open_Help_File();
    // Not a folder of that name either.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Help.pdf")));
    Open_Help_File();
    // Nor in the working directory when no resource folder is set.
    Resource_Path.clear();
    Open_Help_File();
    EXPECT_TRUE(seam.openedUrls.isEmpty());
    EXPECT_EQ(seam.messageTexts(), QStringList(3, QStringLiteral("\nHelp file does not exist!")));

    Resource_Path = dir.filePath(QStringLiteral("res"));
    ASSERT_TRUE(QDir().mkpath(Resource_Path));
    const QString help = TestHelpers::writeFile(QDir(Resource_Path).filePath(QStringLiteral("Help.pdf")), "%PDF-1.4\n");
    Open_Help_File();
    EXPECT_EQ(seam.messages.size(), 3);
    EXPECT_EQ(seam.openedUrls, QList<QUrl>{QUrl::fromLocalFile(help)});
    Resource_Path.clear();
}

// Where nothing on the computer opens an address, each road says so once, with the warning
// icon and the address to copy: a link, the exported folder, the review page.
TEST(Open_Address, AnAddressNothingOpensIsNamedInOneWarning)
{
    QTemporaryDir dir;
    ScriptedModalSeam seam;
    seam.refuseUrls = true;
    Open_Export_Files panel;
    const struct
    {
        const char *road;
        std::function<void()> open;
        QString address;
    } rows[] = {
        {"link", [] { Open_Address(QUrl(QStringLiteral("https://www.festiloom.example.com/"))); },
         QStringLiteral("https://www.festiloom.example.com/")},
        {"exported folder",
         [&] {
             seam.onDialog([](QDialog *d) {
                 static_cast<Open_Export_Files *>(d)->ui.export_ok_btn->click();
                 return d->result();
             });
             panel.showExported(dir.path(), QStringLiteral("Done."));
         },
         dir.path()},
        {"review page", [] { Review_Form::defaultInstance()->OK_Clicked(); }, HelpLinks::reviewPage().toString()},
    };
    for (const auto &row : rows) {
        seam.messages.clear();
        row.open();
        ASSERT_EQ(seam.messages.size(), 1) << row.road;
        EXPECT_EQ(seam.messages[0].icon, QMessageBox::Warning) << row.road;
        EXPECT_TRUE(seam.messages[0].text.contains(row.address)) << row.road;
    }
}

TEST(SetObjEnabled, ActsOnOneControlOrOnAGroupBoxsControlsTwoLevelsDeep)
{
    QLineEdit field;
    SetObjEnabled(&field, 0);
    EXPECT_FALSE(field.isEnabled());
    SetObjEnabled(&field, 1);
    EXPECT_TRUE(field.isEnabled());
    SetObjEnabled(nullptr, 0);

    QGroupBox box(QStringLiteral("Grid"));
    auto *show = new QCheckBox(&box);
    auto *panel = new QFrame(&box);
    auto *spacing = new QLineEdit(panel);
    auto *inner = new QFrame(panel);
    auto *deep = new QSpinBox(inner);

    // The box and its title stay as they are; what is deeper is greyed with its disabled container.
    for (const int enabled : {0, 1}) {
        SetObjEnabled(&box, enabled);
        EXPECT_TRUE(box.isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{show, panel, spacing, inner, deep})
            EXPECT_EQ(w->isEnabled(), bool(enabled)) << w->metaObject()->className();
    }
}

TEST(Apply_Dialog_Look, EveryDialogFillsItsBackgroundWithTheDialogColour)
{
    Open_Export_Files finished;
    Email_Setting settings;
    QWidget *const dialogs[] = {ExportWindow::defaultInstance(), &finished, View_Data_Series::defaultInstance(),
                                Send_Modeless::defaultInstance(), &settings};
    for (QWidget *dialog : dialogs) {
        dialog->resize(200, 120);
        const QImage shot = dialog->grab(QRect(0, 0, 4, 4)).toImage();
        EXPECT_EQ(shot.pixelColor(1, 1), QColor(241, 244, 250)) << dialog->metaObject()->className();
    }
}
