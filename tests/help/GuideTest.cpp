// What the user guide (resources/help/Help.html, from which "Help.pdf" is made) says the program
// shows or writes, checked against what the program really shows or writes: the designer's
// words for a value its barcode type refuses, and the sheet and title row of a series exported
// to a workbook as openpyxl reads them.

#include "../editor/EditorWindowFixture.h"
#include "data/DataTestSupport.h"

#include "barcode/BarcodeLists.h"
#include "barcode/ui/Barcode_Gen.h"
#include "data/ui/BatchWizard.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "document/LMNBarcode.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

// The guide as one line of plain text, entities resolved.
QString guideText()
{
    const QByteArray html = TestHelpers::readFile(TestHelpers::sourcePath(QStringLiteral("resources/help/Help.html")));
    EXPECT_FALSE(html.isEmpty());
    return QTextDocumentFragment::fromHtml(QString::fromUtf8(html)).toPlainText().simplified();
}

class Guide : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
    }

    // The reason the designer shows beneath its empty preview for `value` of barcode type `title`.
    QString designerRefusal(const QString &title, const QString &value)
    {
        LMNBarcode element;
        QString shown;
        m_seam.onDialog([&](QDialog *dialog) {
            auto *designer = qobject_cast<Barcode_Gen *>(dialog);
            EXPECT_NE(designer, nullptr);
            if (!designer)
                return int(QDialog::Rejected);
            designer->setResult(-1);
            designer->show();
            designer->ui.barcodeTypePopup->setCurrentIndex(int(BarcodeLists::symbologyTitles().indexOf(title)));
            designer->ui.dataText->setText(value);
            QTest::mouseClick(designer->ui.ok_btn, Qt::LeftButton);
            EXPECT_TRUE(designer->currentPicture().isNull());
            if (!designer->ui.barcode_error_label->isHidden())
                shown = designer->ui.barcode_error_label->text();
            QTest::mouseClick(designer->ui.cancel_btn, Qt::LeftButton);
            designer->hide();
            return designer->result();
        });
        Barcode_Gen::defaultInstance()->Open_Wnd(&element);
        return shown;
    }

    // A series of `values` exported to a workbook from the series manager; the path written.
    QString exportedWorkbook(const QStringList &values)
    {
        const QString path = QDir(m_resources.path()).filePath(QStringLiteral("guests.xlsx"));
        m_seam.chooseFiles({path});
        m_seam.onDialog([&](QDialog *dialog) {
            auto *manager = qobject_cast<BatchWizard *>(dialog);
            EXPECT_NE(manager, nullptr);
            if (!manager)
                return int(QDialog::Rejected);
            manager->ui.AddNew_Btn->click();
            manager->addValues(values);
            m_seam.onDialog([](QDialog *shown) {   // the window naming the file written
                EXPECT_NE(qobject_cast<Open_Export_Files *>(shown), nullptr);
                return int(QDialog::Accepted);
            });
            manager->ui.Export_Value_Btn->click();
            manager->ui.Close_2_Btn->click();
            return dialog->result();
        });
        BatchWizard::defaultInstance()->Open_Wnd();
        return path;
    }
};

} // namespace

TEST_F(Guide, ItsQuotedMessagesAndNamesAreWhatTheProgramShowsAndWrites)
{
    const QString guide = guideText();
    const QString workbook = exportedWorkbook({QStringLiteral("Anna"), QStringLiteral("Ben")});
    const QStringList sheet = QString::fromUtf8(DataTest::python("import sys, openpyxl\n"
                                                                 "wb = openpyxl.load_workbook(sys.argv[1])\n"
                                                                 "print(len(wb.sheetnames))\n"
                                                                 "print(wb.active.title)\n"
                                                                 "print(wb.active['A1'].value)\n",
                                                                 {workbook}))
                                  .split(QLatin1Char('\n'));
    ASSERT_GE(sheet.size(), 3);
    EXPECT_EQ(sheet.at(0), QStringLiteral("1"));

    struct Statement
    {
        const char *about;
        const char *said;   // where the guide says it; the quoted text is captured
        QString done;       // what the program shows or writes
    };
    const Statement statements[] = {
        {"a value the type cannot encode", R"re(value the barcode type cannot encode[^"]*"([^"]+)")re",
         designerRefusal(QStringLiteral("EAN-13"), QStringLiteral("4006381333932"))},
        {"the sheet of an exported series", R"re(series exported to a workbook[^"]*\bsheet "([^"]+)")re", sheet.at(1)},
        {"the title row of an exported series", R"re(series exported to a workbook[^.]*\btitle row "([^"]+)")re",
         sheet.at(2)},
    };
    for (const Statement &s : statements) {
        SCOPED_TRACE(s.about);
        ASSERT_FALSE(s.done.isEmpty());
        const QRegularExpressionMatch match = QRegularExpression(QLatin1String(s.said)).match(guide);
        ASSERT_TRUE(match.hasMatch()) << "the guide does not say it";
        EXPECT_EQ(match.captured(1).toStdString(), s.done.toStdString());
    }
}
