// The source page and the sides list through the combo dispatch, on a real series folder.

#include "PanelFixture.h"

#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "document/LMNImage.h"
#include "data/ui/CardSnapshotTaker.h"
#include "data/ui/ColumnChoiceModel.h"
#include "data/ui/Import_Excel.h"
#include "editor/ui/DesignFileCommands.h"
#include "output/ui/ExportCommands.h"
#include "output/ui/ExportWindow.h"
#include "output/ui/Send_Mail.h"
#include "profile/ui/ProfileCommands.h"
#include "profile/ui/Show_User_Profile.h"

#include <QUndoStack>

namespace {

using DataSourceTest = PanelFixture;

// Chooses an item of a combo box as the user does.
void choose(ElementPanelCommands *commands, QComboBox *combo, const QString &text)
{
    combo->setCurrentIndex(combo->findText(text));
    commands->comboBoxSelectionDidChange(combo);
}

} // namespace

TEST_F(DataSourceTest, ASeriesPutsItsFirstValueIntoTextsAndPictures)
{
    const QString photo = picture(QStringLiteral("guest.png"), Qt::blue);
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Names"), {QStringLiteral("Ann"), QStringLiteral("Ben")},
                                        DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Photos"), {photo}, DataSeries::WriteMode::Replace));
    Ui::DataSourcePage &source = panel->ui.datasource_tab->ui;

    struct Case
    {
        GraphicKind kind;
        QString series;
        QString value;
    };
    for (const Case &c : {Case{GraphicKind::Text, "Names", "Ann"}, Case{GraphicKind::Image, "Photos", photo}}) {
        GraphicPtr element = add(c.kind);
        select({element});
        choose(commands, source.Data_source_type, QStringLiteral("Series"));
        // Bound to nothing yet.
        EXPECT_TRUE(source.Batch_Series->isEnabled() && source.Batch_Series->count() == 2 && source.Batch_Series->currentIndex() == -1);
        choose(commands, source.Batch_Series, c.series);
        EXPECT_TRUE(element->data_source_type == 1 && element->batch_list_name == c.series);
        const bool shown = c.kind == GraphicKind::Text ? panel->ui.text_edtng_tab->text() == c.value && panel->ui.text_edtng_tab->ui.Text_value_Edit->isReadOnly()
                                                       : element->_file_path == c.value && source.Manual_image_path->toPlainText() == c.value && !element->_image.isNull();
        EXPECT_TRUE(shown && (c.kind != GraphicKind::Text || element->_Text_contents == c.value));
        choose(commands, source.Data_source_type, QStringLiteral("Manual"));
        EXPECT_TRUE(element->data_source_type == 0 && !source.Batch_Series->isEnabled());
    }
    EXPECT_TRUE(m_seam.messages.isEmpty());
}

TEST_F(DataSourceTest, EachKindChosenWhileASeriesExistsIsOneStepThatMarksTheDesignChanged)
{
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Names"), {QStringLiteral("Ann")}, DataSeries::WriteMode::Replace));
    Ui::DataSourcePage &source = panel->ui.datasource_tab->ui;
    QUndoStack *history = m_document.undoManager();
    const GraphicPtr element = add(GraphicKind::Text);
    select({element});
    struct Row
    {
        const char *kind;
        int stored;   // data_source_type after the choice
    };
    int before = element->data_source_type;
    for (const Row &row : {Row{"Series", 1}, Row{"Manual", 0}}) {
        SCOPED_TRACE(row.kind);
        m_window->files()->markSaved();
        const int steps = history->count();
        // Chosen with the mouse: the combo box reports the user's choice.
        const int index = source.Data_source_type->findText(QString::fromLatin1(row.kind));
        source.Data_source_type->setCurrentIndex(index);
        emit source.Data_source_type->activated(index);
        EXPECT_EQ(element->data_source_type, row.stored);
        EXPECT_EQ(history->count(), steps + 1);
        EXPECT_TRUE(m_window->files()->hasUnsavedChanges());
        history->undo();
        EXPECT_EQ(element->data_source_type, before);
        history->redo();
        before = row.stored;
    }
    EXPECT_TRUE(m_seam.messages.isEmpty());
}

TEST_F(DataSourceTest, ChoosingASeriesTooLargeToReadSaysSoAndKeepsTheElementsText)
{
    TestHelpers::writeFile(DataSeries::filePath(QStringLiteral("Many")), QByteArray("v\n").repeated(DataSeries::MaximumValues + 1));
    Ui::DataSourcePage &source = panel->ui.datasource_tab->ui;
    GraphicPtr text = add(GraphicKind::Text);
    text->setText(QStringLiteral("Typed"));
    select({text});
    choose(commands, source.Data_source_type, QStringLiteral("Series"));
    choose(commands, source.Batch_Series, QStringLiteral("Many"));
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nThe series \"Many\" is not read: it holds more than 5000000 values."}));
    EXPECT_EQ(m_seam.messages.value(0).icon, QMessageBox::Warning);
    EXPECT_TRUE(text->data_source_type == 1 && text->batch_list_name == QLatin1String("Many"));
    EXPECT_EQ(text->_Text_contents, QStringLiteral("Typed"));
}

TEST_F(DataSourceTest, ShowingABoundElementChangesNothingEvenWhenItsSeriesAreGone)
{
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Names"), {QStringLiteral("Ann")}, DataSeries::WriteMode::Replace));
    GraphicPtr text = add(GraphicKind::Text);
    text->setText(QStringLiteral("Ann (from the design)"));
    text->Set_Data_source_type(1);
    text->Set_Batch_List_Name(QStringLiteral("Names"));
    select({text});
    Ui::DataSourcePage &source = panel->ui.datasource_tab->ui;
    EXPECT_TRUE(source.Data_source_type->currentText() == QLatin1String("Series") && source.Batch_Series->currentText() == QLatin1String("Names"));
    EXPECT_EQ(text->_Text_contents, QStringLiteral("Ann (from the design)"));

    // With the series folder emptied, showing says nothing and keeps the element as it is.
    ASSERT_TRUE(DataSeries::deleteSeries(QStringLiteral("Names")));
    GraphicPtr other = add(GraphicKind::Text);
    select({other});
    select({text});
    EXPECT_TRUE(m_seam.messages.isEmpty());
    EXPECT_EQ(text->_Text_contents, QStringLiteral("Ann (from the design)"));
    EXPECT_EQ(text->data_source_type, 1);

    // Choosing the series kind by hand then says why nothing can be bound.
    select({other});
    choose(commands, source.Data_source_type, QStringLiteral("Series"));
    EXPECT_EQ(m_seam.messageTexts(), QStringList({QStringLiteral("\nPlease create batch processing series first.")}));
    EXPECT_EQ(other->data_source_type, 0);
    EXPECT_EQ(source.Batch_Series->count(), 0);
}

TEST_F(DataSourceTest, OneSideChosenOnTheBackSurvivesSaveAndReopenAndWhatTheBackHoldsIsNoBatch)
{
    // A spreadsheet column left on the back of a card made one-sided: one card, not one a record.
    const SpreadsheetTable saved = SpreadsheetTable::live();
    SpreadsheetTable::live().titles = {QStringLiteral("No."), QStringLiteral("Name")};
    for (const char *name : {"Ann", "Ben", "Cleo"})
        SpreadsheetTable::live().appendRecord({QLatin1String(name)}, 1);
    m_window->Select_back_side();
    GraphicPtr bound = add(GraphicKind::Text, QRectF(20, 20, 60, 40), 1);
    bound->data_source_type = 2;
    bound->excel_col_indx = 1;
    for (const int sides : {0, 1}) {   // two sides, then one
        panel->ui.Sides_ComboBox->setCurrentIndex(sides);
        emit panel->ui.Sides_ComboBox->activated(sides);
        CardSnapshotTaker::checkSources(*m_window);
        EXPECT_EQ(Use_Excel_Binding_Values, sides == 0) << sides;
        EXPECT_EQ(Total_Batch_Excel_Card, sides == 0 ? 3 : 0) << sides;
    }
    SpreadsheetTable::live() = saved;
    Use_Excel_Binding_Values = false;
    EXPECT_EQ(CARD_SIDE_STR, QStringLiteral("1"));
    EXPECT_FALSE(panel->ui.Back_Side_btn->isEnabled());
    EXPECT_EQ(m_window->Front_card_Prop.Card_Side, QStringLiteral("1"));

    const QString path = QDir(m_resources.path()).filePath(QStringLiteral("one-side.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(path));
    CARD_SIDE_STR = QStringLiteral("2");
    ASSERT_TRUE(m_window->Read_and_load_design_Log(path, true));
    EXPECT_EQ(CARD_SIDE_STR, QStringLiteral("1"));
    EXPECT_EQ(panel->ui.Sides_ComboBox->currentIndex(), 1);
    EXPECT_FALSE(panel->ui.Back_Side_btn->isEnabled());
}

TEST_F(DataSourceTest, ASpreadsheetColumnPutsItsFirstRecordIntoTheText)
{
    SpreadsheetTable &table = SpreadsheetTable::live();
    const SpreadsheetTable saved = table;
    table.titles = {QStringLiteral("No."), QStringLiteral("Name")};
    table.records = {{{QStringLiteral("Extension"), QStringLiteral("1")}, {QStringLiteral("Column1"), QStringLiteral("Cleo")}}};
    Ui::DataSourcePage &source = panel->ui.datasource_tab->ui;
    if (source.Data_source_type->findText(QStringLiteral("Excel")) < 0)
        source.Data_source_type->addItem(QStringLiteral("Excel"));

    GraphicPtr text = add(GraphicKind::Text);
    select({text});
    choose(commands, source.Data_source_type, QStringLiteral("Excel"));
    EXPECT_EQ(source.Batch_Series->count(), 2);
    choose(commands, source.Batch_Series, QStringLiteral("Name"));
    EXPECT_TRUE(text->data_source_type == 2 && text->excel_col_indx == 1 && text->_Text_contents == QLatin1String("Cleo"));
    table = saved;
}

TEST_F(DataSourceTest, AnOpenedDesignOffersItsSpreadsheetWhereverASourceIsChosen)
{
    // The sender's name from a spreadsheet column and the title from a series, saved with two
    // spreadsheet records; and a design without records.
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("Titles"), {QStringLiteral("Dr"), QStringLiteral("Prof")},
                                        DataSeries::WriteMode::Replace));
    const SpreadsheetTable saved = SpreadsheetTable::live();
    SpreadsheetTable &table = SpreadsheetTable::live();
    table = SpreadsheetTable();
    table.titles = {QStringLiteral("No."), QStringLiteral("Guest"), QStringLiteral("Town")};
    table.appendRecord({QStringLiteral("Ann"), QStringLiteral("Oslo")}, 2);
    table.appendRecord({QStringLiteral("Ben"), QStringLiteral("Bonn")}, 2);
    GraphicPtr name = add(GraphicKind::Text, QRectF(20, 20, 80, 20));
    name->control_ID = QStringLiteral("Fup_Name");
    name->data_source_type = 2;
    name->excel_col_indx = 2;
    GraphicPtr title = add(GraphicKind::Text, QRectF(20, 60, 80, 20));
    title->control_ID = QStringLiteral("Fup_Title");
    title->data_source_type = 1;
    title->batch_list_name = QStringLiteral("Titles");
    const QString withRecords = QDir(m_resources.path()).filePath(QStringLiteral("guests.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(withRecords));
    table = SpreadsheetTable();
    name->data_source_type = 0;
    const QString without = QDir(m_resources.path()).filePath(QStringLiteral("plain.dcard"));
    ASSERT_TRUE(m_window->saveDesignTo(without));

    // Records, none, records again: the profile dialog is made with the first design's rows and
    // follows each design opened after it.
    for (const bool records : {true, false, true}) {
        SCOPED_TRACE(records ? "with records" : "without records");
        SpreadsheetTable::live() = SpreadsheetTable();   // a fresh start of the program
        LMNDocument document;
        LMNWindowController fresh(&document);
        ASSERT_TRUE(fresh.windowDidLoad(records ? withRecords : without));

        // The panel: each element shows its own source and column or series.
        Ui::DataSourcePage &source = fresh.settingsPanel()->ui.datasource_tab->ui;
        EXPECT_EQ(source.Data_source_type->findText(QStringLiteral("Excel")) >= 0, records);
        const struct
        {
            QString id;
            QString kind;
            QString choice;
        } shown[] = {{QStringLiteral("Fup_Name"), records ? QStringLiteral("Excel") : QStringLiteral("Manual"),
                      records ? QStringLiteral("Town") : QString()},
                     {QStringLiteral("Fup_Title"), QStringLiteral("Series"), QStringLiteral("Titles")}};
        for (const auto &row : shown) {
            const GraphicPtr element = fresh._graphicView->Selcect_Ctrl_With_ID(row.id);
            ASSERT_TRUE(element);
            fresh._graphicView->selectGraphics({element});
            fresh._graphicView->_Selected_Graphic = element;
            fresh.Show_RHS_Properties(element);
            EXPECT_EQ(source.Data_source_type->currentText(), row.kind) << row.id.toStdString();
            EXPECT_EQ(source.Batch_Series->currentText(), row.choice) << row.id.toStdString();
        }

        // The sender-profile dialog's rows.
        m_seam.onDialog([records](QDialog *dialog) {
            auto *profile = qobject_cast<Show_User_Profile *>(dialog);
            EXPECT_NE(profile, nullptr);
            if (!profile)
                return 0;
            EXPECT_EQ(profile->rows[0].kind->count(), records ? 3 : 2);
            EXPECT_EQ(profile->rows[0].kind->currentText(), records ? QStringLiteral("Excel") : QStringLiteral("Manual"));
            EXPECT_EQ(profile->rows[0].choice->currentText(), records ? QStringLiteral("Town") : QString());
            EXPECT_EQ(profile->rows[1].kind->currentText(), QStringLiteral("Series"));
            EXPECT_EQ(profile->rows[1].choice->currentText(), QStringLiteral("Titles"));
            return 0;
        });
        EXPECT_EQ(fresh.profile()->Open_User_Profile_Window(true, QStringLiteral("F")), 0);

        // Export, print and mail offer one card per record of each source in use.
        m_seam.onDialog([records](QDialog *dialog) {
            auto *sheet = qobject_cast<ExportWindow *>(dialog);
            EXPECT_NE(sheet, nullptr);
            if (!sheet)
                return 0;
            EXPECT_TRUE(sheet->ui.Export_with_batch_chk->isEnabled() && sheet->ui.Export_with_batch_chk->isChecked());
            EXPECT_EQ(sheet->ui.Export_with_excel_chk->isEnabled(), records);
            EXPECT_EQ(sheet->ui.Export_with_excel_chk->isChecked(), records);
            return 0;
        });
        ExportCommands::Export_Button(fresh);
        CardSnapshotTaker::checkSources(fresh);   // what the print window's boxes are set from
        EXPECT_TRUE(Use_Data_Sheet_Values);
        EXPECT_EQ(Use_Excel_Binding_Values, records);
        EXPECT_EQ(Total_Batch_Excel_Card, 2);
        m_seam.onDialog([records](QDialog *dialog) {
            auto *mail = qobject_cast<Send_Mail *>(dialog);
            EXPECT_NE(mail, nullptr);
            if (!mail)
                return 0;
            EXPECT_TRUE(mail->ui.send_with_batch_chk->isEnabled());
            EXPECT_EQ(mail->ui.send_with_excel_chk->isEnabled(), records);
            return 0;
        });
        fresh.Mail_Button();
        EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messageTexts().join(QLatin1Char('|')).toStdString();
    }

    // One window opening the designs in turn: the list offers "Excel" while the design opened
    // last holds records, and the profile dialog's lists follow it.
    SpreadsheetTable::live() = SpreadsheetTable();
    LMNDocument document;
    LMNWindowController same(&document);
    ASSERT_TRUE(same.windowDidLoad(withRecords));
    const QComboBox *kinds = same.settingsPanel()->ui.datasource_tab->ui.Data_source_type;
    for (const bool records : {false, true, false, false}) {
        SCOPED_TRACE(records ? "then with records" : "then without records");
        ASSERT_TRUE(same.files()->read(records ? withRecords : without, true));
        EXPECT_EQ(kinds->count(), records ? 3 : 2);
        EXPECT_EQ(kinds->findText(QStringLiteral("Excel")) >= 0, records);
        m_seam.onDialog([records](QDialog *dialog) {
            auto *profile = qobject_cast<Show_User_Profile *>(dialog);
            EXPECT_NE(profile, nullptr);
            if (profile) {
                EXPECT_EQ(profile->rows[0].kind->count(), records ? 3 : 2);
            }
            return 0;
        });
        EXPECT_EQ(same.profile()->Open_User_Profile_Window(true, QStringLiteral("F")), 0);
    }
    SpreadsheetTable::live() = saved;
    Use_Excel_Binding_Values = Use_Data_Sheet_Values = false;
}

// The sender-profile dialog imports a workbook's rows as far as the design open in the editor
// leaves room for them, as it stands when the rows come: a sheet a new design takes is refused
// once a picture on the back leaves little room. A one-bit picture of 200 million pixels holds
// 25 MB but takes four bytes a pixel while the design opens, nearly all a design may take.
TEST_F(DataSourceTest, TheProfileDialogImportsOnlyTheRowsTheOpenDesignHasRoomFor)
{
    const QString book = QDir(m_resources.path()).filePath(QStringLiteral("guests.xlsx"));
    int written = -1;
    TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON),
                            {QStringLiteral("-c"),
                             QStringLiteral("import sys, openpyxl\n"
                                            "wb = openpyxl.Workbook()\n"
                                            "ws = wb.active\n"
                                            "ws.append(['Name', 'Note'])\n"
                                            "for i in range(1, 4001):\n"
                                            "    ws.append(['Guest %d' % i, 'x' * 40])\n"
                                            "wb.save(sys.argv[1])\n"),
                             book},
                            {}, &written);
    ASSERT_EQ(written, 0);
    const SpreadsheetTable saved = SpreadsheetTable::live();
    const auto importedThroughTheProfileDialog = [&] {
        SpreadsheetTable::live() = SpreadsheetTable();
        m_seam.chooseFiles({book});
        m_seam.onDialog([](QDialog *dialog) {
            EXPECT_NE(qobject_cast<Show_User_Profile *>(dialog), nullptr);
            if (auto *browse = dialog->findChild<QPushButton *>(QStringLiteral("excel_browse_btn")))
                browse->click();
            return 0;
        });
        m_seam.onDialog([](QDialog *dialog) {
            auto *chooser = qobject_cast<Import_Excel *>(dialog);
            EXPECT_NE(chooser, nullptr);
            if (!chooser)
                return 0;
            chooser->ListData_xl->setAllStates(true);
            chooser->ui.ok_btn->click();
            if (chooser->result() != 1)
                chooser->ui.cancel_btn->click();
            return chooser->result();
        });
        m_window->profile()->Open_User_Profile_Window(true, QStringLiteral("F"));
        return SpreadsheetTable::live().rowCount();
    };
    EXPECT_EQ(importedThroughTheProfileDialog(), 4000);
    EXPECT_TRUE(m_seam.messages.isEmpty()) << m_seam.messageTexts().join(QLatin1Char('|')).toStdString();

    QImage picture(14000, 14300, QImage::Format_Mono);
    picture.setColorCount(2);
    picture.setColor(0, qRgb(255, 255, 255));
    picture.setColor(1, qRgb(0, 0, 0));
    picture.fill(0);
    add(GraphicKind::Image, QRectF(20, 20, 60, 40), 1)->_image = picture;
    EXPECT_EQ(importedThroughTheProfileDialog(), 0);
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.at(0).text.contains(QStringLiteral("The 4000 rows of the sheet cannot be imported")))
        << m_seam.messages.at(0).text.toStdString();
    SpreadsheetTable::live() = saved;
}
