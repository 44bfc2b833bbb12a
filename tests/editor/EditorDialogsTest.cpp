// The editor's small dialogs and services, answered through the scripted seam.

#include "EditorWindowFixture.h"

#include "document/DocumentGlobals.h"
#include "editor/EditorGlobals.h"
#include "editor/ui/Insert_Template.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>

using EditorDialogs = EditorWindowFixture;

TEST_F(EditorDialogs, StockTextPickerGivesTheChosenLine)
{
    startWithCard();
    TestHelpers::writeFile(QDir(Resource_Path).filePath(QStringLiteral("Title.txt")), "Happy Birthday!\n\n  Let\xE2\x80\x99s Celebrate  \n");

    Insert_Template *picker = Insert_Template::defaultInstance();
    picker->title_or_msg = QStringLiteral("T");
    m_seam.onDialog([picker](QDialog *) {
        EXPECT_EQ(picker->ui.template_list->count(), 2);   // empty lines are no entries
        picker->ui.template_list->setCurrentRow(1);
        return int(QDialog::Accepted);
    });
    ASSERT_EQ(picker->Open_Template_Dialog(), 1);
    EXPECT_EQ(Template_Msg_Val, QStringLiteral("Let\u2019s Celebrate"));

    Template_Msg_Val.clear();
    m_seam.onDialog([](QDialog *) { return int(QDialog::Rejected); });
    EXPECT_EQ(picker->Open_Template_Dialog(), 0);
    EXPECT_TRUE(Template_Msg_Val.isEmpty());
}

TEST_F(EditorDialogs, WizardTakesATitleFromTheStockTexts)
{
    finishWizard([this](Invitation_Wizard *wizard) {
        m_seam.onDialog([](QDialog *dialog) {
            auto *picker = qobject_cast<Insert_Template *>(dialog);
            EXPECT_NE(picker, nullptr);
            if (picker)
                picker->ui.template_list->setCurrentRow(0);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(wizard->ui.title_template_btn, Qt::LeftButton);
        EXPECT_FALSE(wizard->ui.title_edit->text().isEmpty());
    });
    ASSERT_TRUE(m_window->windowDidLoad());
    const GraphicPtr title = findById(QStringLiteral("PARTY_TITLE"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->Text_Value, Insert_Template::readEntries(QDir(Resource_Path).filePath("Title.txt")).first());
}

TEST_F(EditorDialogs, FilePathCheckAndPictureSaving)
{
    startWithCard();
    EXPECT_EQ(m_window->Check_And_Validate_File_Path(Resource_Path), 0);
    EXPECT_EQ(m_window->Check_And_Validate_File_Path(QStringLiteral("   ")), 1);
    EXPECT_EQ(m_seam.messages.last().text, QStringLiteral("\nPlease select valid file path."));

    QImage picture(20, 10, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    const QString jpegName = QDir(Resource_Path).filePath(QStringLiteral("card.jpeg"));
    m_window->Save_gen_image(picture, jpegName);
    EXPECT_TRUE(TestHelpers::readFile(jpegName).startsWith("\x89PNG"));   // PNG data whatever the extension

    const qsizetype shown = m_seam.messages.size();
    m_window->Save_gen_image(picture, QDir(Resource_Path).filePath(QStringLiteral("no/such/folder/card.png")));
    EXPECT_EQ(m_seam.messages.size(), shown + 2);   // the path, then the reason
}
