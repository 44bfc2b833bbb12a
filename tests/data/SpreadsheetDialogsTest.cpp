// The spreadsheet dialogs through their real windows, on workbooks written by openpyxl: the
// column chooser and the data table, and spreadsheet columns to series in both ways.

#include "DataTestSupport.h"

#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "data/SpreadsheetWriter.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/SeriesListModel.h"
#include "data/ui/ColumnChoiceModel.h"
#include "data/ui/Data_From_Excel.h"
#include "data/ui/Import_Excel.h"
#include "data/DesignRecordBudget.h"
#include "data/ui/Import_Excel_DataSheet.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/SpreadsheetTableModel.h"
#include "document/DocumentGlobals.h"
#include "editor/DesignFile.h"

#include <QCheckBox>
#include <QRandomGenerator>
#include <QScopeGuard>

using namespace DataTest;

namespace {

// What a new design leaves the records of a workbook.
DesignRecordBudget::Cost roomOfANewDesign()
{
    return DesignFile::roomForRecords(CardDesign());
}

QStringList BatchWizard_values()
{
    return BatchWizard::defaultInstance()->ListData_value->values();
}

class SpreadsheetDialogsTest : public DataFolderTest
{
protected:
    // Sheet 1: guests with a padded header, a blank row and an empty cell; sheet 2 empty;
    // sheets 3 to 11 one column each.
    QString guests()
    {
        const QString path = DataFolderTest::path("guests.xlsx");
        python("import sys, openpyxl\n"
               "wb = openpyxl.Workbook()\n"
               "ws = wb.active\n"
               "ws.append(['Id', '  Name  ', 'City', 'Zip'])\n"
               "ws.append([1, 'Ann', 'Oslo', '0150'])\n"
               "ws.append([2, None, ' Rome ', '00100'])\n"
               "ws['A5'] = 3; ws['B5'] = 'Cy'; ws['C5'] = 'Paris'; ws['D5'] = 75001\n"
               "wb.create_sheet('Empty')\n"
               "for i in range(3, 12):\n"
               "    s = wb.create_sheet('S%d' % i); s.append(['Col%d' % i, 'Other']); s.append(['v%d' % i, 'w'])\n"
               "wb.save(sys.argv[1])\n",
               {path});
        return path;
    }
    QString columns()
    {
        const QString path = DataFolderTest::path("columns.xlsx");
        python("import sys, openpyxl\n"
               "wb = openpyxl.Workbook()\n"
               "ws = wb.active\n"
               "ws.append(['Name', 'City', '../evil', '..', 'Name'])\n"
               "ws.append(['Ann', 'Oslo', 'e1', 'd1', 'n1'])\n"
               "ws.append(['Bob', None, 'e2', 'd2', 'n2'])\n"
               "wb.create_sheet('Empty')\n"
               "wb.save(sys.argv[1])\n",
               {path});
        return path;
    }
    template<typename Dialog>
    void onDialog(const std::function<void(Dialog *)> &steps)
    {
        m_seam.onDialog([steps](QDialog *d) {
            auto *dialog = qobject_cast<Dialog *>(d);
            EXPECT_NE(dialog, nullptr);
            if (dialog)
                steps(dialog);
            return d->result();
        });
    }
    void tick(ColumnChoiceModel *model, const QList<int> &rows)
    {
        model->setAllStates(false);
        for (int row : rows)
            model->setState(row, true);
    }
    // Answers the long-message box: Yes with or without its apply-to-all box, or No.
    void answerLong(bool yes, bool applyToAll = false)
    {
        m_seam.onDialog([yes, applyToAll](QDialog *box) {
            box->findChild<QCheckBox *>("apply_all_chk")->setChecked(applyToAll);
            return int(yes ? QDialog::Accepted : QDialog::Rejected);
        });
    }
    QByteArray series(const QString &name) const { return readFile(DataSeries::filePath(name)); }
};

TEST_F(SpreadsheetDialogsTest, ChooserBuildsTheDataTableFromTheTickedColumns)
{
    const QString book = guests();
    Import_Excel *chooser = Import_Excel::defaultInstance();
    chooser->open_mode = "E";
    onDialog<Import_Excel>([&](Import_Excel *c) {
        QStringList sheets;
        for (int i = 0; i < c->ui.Sheet_ComboBox->count(); ++i)
            sheets << c->ui.Sheet_ComboBox->itemText(i);
        EXPECT_EQ(sheets.size(), 11);
        EXPECT_EQ(sheets.mid(8), QStringList({"S9", "S10", "S11"}));
        EXPECT_TRUE(c->ui.contains_header->isChecked());
        c->ui.ok_btn->click();   // nothing ticked
        tick(c->ListData_xl, {1, 3});
        c->ui.ok_btn->click();
    });
    EXPECT_EQ(chooser->Open_excel_Wnd(book, roomOfANewDesign()), 1);
    const SpreadsheetTable &table = SpreadsheetTable::live();
    EXPECT_EQ(table.titles, QStringList({"Row", "Name", "Zip"}));
    ASSERT_EQ(table.rowCount(), 3);   // the blank row gives no record
    EXPECT_EQ(table.records.at(0), (SpreadsheetTable::Record{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "0150"}}));
    EXPECT_EQ(table.value(1, 1), "");
    EXPECT_EQ(table.value(2, 2), "75001");

    // Header unticked: the first row is record 1 too. Then sheet S10, then the empty sheet,
    // which keeps the table.
    onDialog<Import_Excel>([&](Import_Excel *c) {
        c->ui.contains_header->setChecked(false);
        tick(c->ListData_xl, {2});
        c->ui.ok_btn->click();
    });
    chooser->Open_excel_Wnd(book, roomOfANewDesign());
    EXPECT_EQ(SpreadsheetTable::live().rowCount(), 4);
    EXPECT_EQ(SpreadsheetTable::live().value(0, 1), "City");
    EXPECT_EQ(SpreadsheetTable::live().value(2, 1), "Rome");

    onDialog<Import_Excel>([&](Import_Excel *c) {
        c->ui.Sheet_ComboBox->setCurrentIndex(c->ui.Sheet_ComboBox->findText("S10"));
        EXPECT_EQ(c->ListData_xl->rows().at(0).Extension, "Col10");
        tick(c->ListData_xl, {0});
        c->ui.ok_btn->click();
    });
    chooser->Open_excel_Wnd(book, roomOfANewDesign());
    const SpreadsheetTable sheet10 = SpreadsheetTable::live();
    EXPECT_EQ(sheet10.titles, QStringList({"Row", "Col10"}));
    EXPECT_EQ(sheet10.value(0, 1), "v10");

    onDialog<Import_Excel>([&](Import_Excel *c) {
        // A sheet too large for the reader, then an empty sheet: each is refused, nothing changes.
        tick(c->ListData_xl, {0});
        SpreadsheetWriter *reader = SpreadsheetWriter::sharedInstance();
        const qint64 limit = reader->maxCells;
        reader->maxCells = 3;
        c->ui.ok_btn->click();
        reader->maxCells = limit;
        c->ui.Sheet_ComboBox->setCurrentIndex(1);
        c->ui.ok_btn->click();
        EXPECT_EQ(c->result(), 0);   // still open
        c->ui.cancel_btn->click();
    });
    EXPECT_EQ(chooser->Open_excel_Wnd(book, roomOfANewDesign()), 0);
    EXPECT_EQ(SpreadsheetTable::live(), sheet10);

    // Not a workbook: a clear message, no chooser.
    writeFile(path("junk.xlsx"), "not a zip");
    const qsizetype runs = m_seam.dialogsRun.size();
    EXPECT_EQ(chooser->Open_excel_Wnd(path("junk.xlsx")), -1);
    EXPECT_EQ(m_seam.dialogsRun.size(), runs);
    const QStringList texts = m_seam.messageTexts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts.at(0), "\nNo column is selected.");
    EXPECT_TRUE(texts.at(1).startsWith("\nEither file is corrupted or selected file contains invalid characters.\n"));
    EXPECT_TRUE(texts.at(1).contains("too large"));
    EXPECT_EQ(texts.at(2), "\nEither file is corrupted or selected file contains invalid characters.");
    EXPECT_TRUE(texts.at(3).startsWith("\nEither file is corrupted or selected file contains invalid characters.\n"));

    // The data table shows the records and takes edits into them.
    onDialog<Data_From_Excel>([](Data_From_Excel *t) {
        EXPECT_EQ(t->ui.rows_count->text(), "1");
        EXPECT_EQ(t->ui.column_count->text(), "2");
        EXPECT_EQ(t->ListData->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Col10");
        EXPECT_TRUE(t->ListData->setData(t->ListData->index(0, 1), "edited", Qt::EditRole));
        EXPECT_FALSE(t->ListData->setData(t->ListData->index(0, 0), "9", Qt::EditRole));
        t->ui.ok_btn->click();
    });
    EXPECT_EQ(Data_From_Excel::defaultInstance()->Open_Wnd(), 1);
    EXPECT_EQ(SpreadsheetTable::live().value(0, 1), "edited");
}

// A sheet whose records the design cannot hold is refused before the table changes, naming the
// rows it holds; Save could not keep them. The room is small so that a small workbook fills
// it: the records of the first rows are what decides, with the columns chosen.
TEST_F(SpreadsheetDialogsTest, ChooserRefusesMoreRowsThanADesignHoldsNamingTheRowsItCan)
{
    const QString path = DataFolderTest::path("rows.xlsx");
    python("import sys, openpyxl\n"
           "wb = openpyxl.Workbook()\n"
           "ws = wb.active\n"
           "ws.append(['Name', 'Note'])\n"
           "for i in range(1, 1201):\n"
           "    ws.append(['Guest %d' % i, 'x' * 40])\n"
           "wb.save(sys.argv[1])\n",
           {path});
    SpreadsheetTable before;
    before.titles = {"Row", "Kept"};
    before.appendRecord({"kept"}, 1);
    SpreadsheetTable::live() = before;

    // What a design holds of the first records with one column and with both.
    const auto recordsOf = [](int rows, int columns) {
        QList<SpreadsheetTable::Record> records;
        for (int i = 1; i <= rows; ++i) {
            SpreadsheetTable::Record r{{"Extension", QString::number(i)}, {"Column1", QStringLiteral("Guest %1").arg(i)}};
            if (columns == 2)
                r.insert("Column2", QString(40, 'x'));
            records << r;
        }
        return records;
    };
    // The room of the records themselves: the titles and the workbook path come on top.
    const auto roomFor = [&](const QList<SpreadsheetTable::Record> &records, const QStringList &titles) {
        DesignRecordBudget::Cost room = DesignRecordBudget::costOfBinding(titles, path);
        room += {DesignRecordBudget::costOf(records).bytes, DesignRecordBudget::MaximumOpeningCost};
        return room;
    };
    const DesignRecordBudget::Cost room = roomFor(recordsOf(1000, 1), {"Row", "Name", "Note"});
    const qsizetype bothFit = DesignRecordBudget::recordsThatFit(recordsOf(1200, 2), {DesignRecordBudget::costOf(recordsOf(1000, 1)).bytes, DesignRecordBudget::MaximumOpeningCost});
    ASSERT_LT(bothFit, 1000);

    Import_Excel *chooser = Import_Excel::defaultInstance();
    chooser->open_mode = "E";
    onDialog<Import_Excel>([&](Import_Excel *c) {
        tick(c->ListData_xl, {0, 1});
        c->ui.ok_btn->click();
        EXPECT_EQ(c->result(), 0);   // still open: refused
        c->ui.cancel_btn->click();
    });
    EXPECT_EQ(chooser->Open_excel_Wnd(path, room), 0);
    EXPECT_EQ(SpreadsheetTable::live(), before);
    ASSERT_EQ(m_seam.messageTexts().size(), 1);
    EXPECT_EQ(m_seam.messageTexts().at(0),
              QStringLiteral("\nThe 1200 rows of the sheet cannot be imported: with the columns chosen, a design holds the "
                             "records of %1 rows at most (its file may take 96 MB).")
                  .arg(bothFit));

    // One column, in room for 1200 such rows: every row is taken.
    onDialog<Import_Excel>([&](Import_Excel *c) {
        tick(c->ListData_xl, {0});
        c->ui.ok_btn->click();
    });
    EXPECT_EQ(chooser->Open_excel_Wnd(path, roomFor(recordsOf(1200, 1), {"Row", "Name"})), 1);
    EXPECT_EQ(SpreadsheetTable::live().rowCount(), 1200);
    EXPECT_EQ(SpreadsheetTable::live().records, recordsOf(1200, 1));
}

// An import costs its rows against the design they go into as it stands: into a design with a
// photograph, or with many elements, it takes the rows with which the design still saves and
// refuses one more, naming the limit that stands in the way, and the design with them saves and
// opens again with them. The rows the open design holds are replaced, so they take no room; the
// column titles and the workbook path come with the rows and take theirs. The limits are scaled
// down so that a small workbook reaches them; Save is the judge of where the line is.
TEST_F(SpreadsheetDialogsTest, ImportTakesTheRowsWithWhichTheOpenDesignStillSaves)
{
    const QString book = DataFolderTest::path("rows.xlsx");
    const auto sheetOf = [&](int rows, int titleLength) {
        python("import sys, openpyxl\n"
               "wb = openpyxl.Workbook()\n"
               "ws = wb.active\n"
               "ws.append([t + 'x' * (int(sys.argv[3]) - len(t)) for t in ('Name', 'Note')])\n"
               "for i in range(1, int(sys.argv[2]) + 1):\n"
               "    ws.append(['Guest %d' % i, ('note %d ' % i) * 4])\n"
               "wb.save(sys.argv[1])\n",
               {book, QString::number(rows), QString::number(titleLength)});
    };
    // Runs the chooser on the workbook with both columns ticked; whether it took the table.
    const auto imported = [&](const DesignRecordBudget::Cost &room) {
        onDialog<Import_Excel>([this](Import_Excel *c) {
            tick(c->ListData_xl, {0, 1});
            c->ui.ok_btn->click();
            if (c->result() != 1)
                c->ui.cancel_btn->click();
        });
        Import_Excel *chooser = Import_Excel::defaultInstance();
        chooser->open_mode = "E";
        return chooser->Open_excel_Wnd(book, room) == 1;
    };

    CardDesign photo;
    {
        QImage picture(300, 300, QImage::Format_RGB32);
        QRandomGenerator random(53);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, random.generate() | 0xff000000u);
        GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
        g->setBounds(QRectF(10, 10, 100, 100));
        g->_image = picture;
        photo.graphics << g;
    }
    CardDesign elements;
    for (int i = 0; i < 2000; ++i) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Text);
        g->setBounds(QRectF(i % 200, i / 200, 40, 20));
        g->setText(QStringLiteral("Guest number %1").arg(i));
        (i % 2 ? elements.graphics_back : elements.graphics) << g;
    }
    struct Case
    {
        const char *what;
        CardDesign design;
        qint64 maximumSize, maximumCost;
        int titleLength;         // of the two column titles
        const char *limitSaid;   // by the import's refusal
        const char *saveSaid;    // by Save's refusal of one row more
    };
    const auto textCost = [](const CardDesign &d) { return DesignFile::openingCost(DesignFile::toXml(d)); };
    const char *memory = "(opening it may take 768 MB of memory)";
    const char *fileSize = "(its file may take 96 MB)";
    const Case cases[] = {
        {"a photograph, the memory of opening it the limit", photo, DesignFile::MaximumFileSize,
         textCost(photo) + DesignFile::pictureCost(photo) + (640 << 10), 4, memory, "with the records of its %L1 spreadsheet rows"},
        {"2,000 elements, the file size the limit", elements, DesignFile::toXml(elements).size() + (64 << 10),
         DesignFile::MaximumOpeningCost, 4, fileSize, "a design file may hold"},
        {"2,000 elements, titles of 700 characters", elements, DesignFile::toXml(elements).size() + (64 << 10),
         DesignFile::MaximumOpeningCost, 700, fileSize, "a design file may hold"},
    };
    const QString saved = DataFolderTest::path("saved.dcard");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // The rows as the import makes them, taken into a design without limits.
        constexpr int Rows = 800;
        sheetOf(Rows, c.titleLength);
        ASSERT_TRUE(imported({DesignFile::MaximumFileSize, DesignFile::MaximumOpeningCost}));
        const SpreadsheetTable all = SpreadsheetTable::live();
        ASSERT_EQ(all.records.size(), Rows);
        const auto withRows = [&](qsizetype rows) {
            CardDesign d = c.design;
            d.Excel_Binding_Use = true;
            d.Excel_Source_Path = book;
            d.Excel_Column_Titles = all.titles;
            d.Excel_Records = all.records.mid(0, rows);
            return d;
        };
        const auto saves = [&](qsizetype rows) {
            return DesignFile::write(saved, withRows(rows), nullptr, c.maximumSize, c.maximumCost);
        };
        // The most rows with which Save takes the design.
        qsizetype most = 0, tooMany = Rows;
        ASSERT_TRUE(saves(most));
        ASSERT_FALSE(saves(tooMany));
        while (tooMany - most > 1) {
            const qsizetype middle = (most + tooMany) / 2;
            (saves(middle) ? most : tooMany) = middle;
        }
        QString error;
        EXPECT_FALSE(DesignFile::write(saved, withRows(most + 1), &error, c.maximumSize, c.maximumCost));
        const QString saveSaid = QString::fromUtf8(c.saveSaid);
        EXPECT_TRUE(error.contains(saveSaid.contains('%') ? saveSaid.arg(most + 1) : saveSaid)) << error.toStdString();

        // The open design holds 2,000 rows of another workbook: the import replaces them.
        CardDesign holding = c.design;
        holding.Excel_Binding_Use = true;
        holding.Excel_Source_Path = QStringLiteral("/home/ann/an older workbook.xlsx");
        holding.Excel_Column_Titles = QStringList{"Row", "Guest", "Table"};
        for (int i = 0; i < 2000; ++i)
            holding.Excel_Records.append(SpreadsheetTable::Record{{"Row", QString::number(i + 1)}, {"Guest", "Ann"}, {"Table", "7"}});
        const DesignRecordBudget::Cost room = DesignFile::roomForRecords(holding, c.maximumSize, c.maximumCost);
        const DesignRecordBudget::Cost roomWithout = DesignFile::roomForRecords(c.design, c.maximumSize, c.maximumCost);
        EXPECT_EQ(room.bytes, roomWithout.bytes);
        EXPECT_EQ(room.openingCost, roomWithout.openingCost);

        // One row more is refused, naming the rows the design holds and the limit; the table stays.
        sheetOf(int(most) + 1, c.titleLength);
        m_seam.messages.clear();
        EXPECT_FALSE(imported(room));
        EXPECT_EQ(SpreadsheetTable::live(), all);
        ASSERT_EQ(m_seam.messageTexts().size(), 1);
        EXPECT_TRUE(m_seam.messageTexts().at(0).contains(QStringLiteral("the records of %L1 rows at most %2").arg(most).arg(c.limitSaid)))
            << m_seam.messageTexts().at(0).toStdString();

        // Those rows are taken, and the design with them saves and opens again with them.
        sheetOf(int(most), c.titleLength);
        ASSERT_TRUE(imported(room));
        ASSERT_EQ(SpreadsheetTable::live().records, all.records.mid(0, most));
        ASSERT_TRUE(DesignFile::write(saved, withRows(most), &error, c.maximumSize, c.maximumCost)) << error.toStdString();
        const std::optional<CardDesign> back = DesignFile::read(saved, &error, c.maximumSize, c.maximumCost);
        ASSERT_TRUE(back) << error.toStdString();
        EXPECT_EQ(back->Excel_Records, SpreadsheetTable::live().records);
        EXPECT_EQ(back->Excel_Column_Titles, SpreadsheetTable::live().titles);
        EXPECT_EQ(back->graphics.size() + back->graphics_back.size(), c.design.graphics.size() + c.design.graphics_back.size());
    }
}

// Two named sheets whose tabs run unlike their files (Guests is the second file), and date,
// time and date-time cells under built-in and own formats. The expected texts are the Value
// column of LibreOffice's CSV of the same workbook ("soffice --headless --convert-to csv" with
// cell contents as shown), kept here so that no test run needs LibreOffice.
TEST_F(SpreadsheetDialogsTest, SheetsAreNamedAsTheirTabsAndCellsReadAsTheyShow)
{
    const QString book = QDir(m_dir.path()).filePath("book.xlsx");
    python("import sys, datetime, zipfile, openpyxl\n"
           "from openpyxl.styles.numbers import BUILTIN_FORMATS as B\n"
           "wb = openpyxl.Workbook()\n"
           "g = wb.active; g.title = 'Guests'\n"
           "b = wb.create_sheet('Budget'); b.append(['Item', 'Cost']); b.append(['Cake', 40])\n"
           "at = datetime.datetime(2026, 1, 3, 14, 5, 9)\n"
           "rows = [(B[i], at) for i in (14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47)]\n"
           "rows += [('dd/mm/yyyy', at), ('d mmmm yyyy', at), ('dddd d mmm yy', at), ('yyyy-mm-dd hh:mm', at),\n"
           "         ('hh:mm AM/PM', datetime.time(9, 30)), ('h:mm AM/PM', datetime.time(12, 30)),\n"
           "         ('h:mm AM/PM', datetime.time(0, 30)), ('[h]:mm', datetime.timedelta(hours=30, minutes=15)),\n"
           "         ('h:mm:ss', datetime.datetime(2026, 7, 9, 8, 4, 5, 600000)),\n"
           "         ('yyyy-mm-dd h:mm:ss', datetime.datetime(2026, 12, 31, 23, 59, 59, 700000)),\n"
           "         ('\"on \"d.m.yyyy', at), ('General', 42)]\n"
           "g.append(['Format', 'Value'])\n"
           "for code, value in rows:\n"
           "    g.append([code, value]); g.cell(row=g.max_row, column=2).number_format = code\n"
           "wb.save(sys.argv[1])\n"
           "src = zipfile.ZipFile(sys.argv[1]); parts = {n: src.read(n) for n in src.namelist()}; src.close()\n"
           "s1, s2 = 'xl/worksheets/sheet1.xml', 'xl/worksheets/sheet2.xml'\n"
           "parts[s1], parts[s2] = parts[s2], parts[s1]\n"
           "r = 'xl/_rels/workbook.xml.rels'\n"
           "parts[r] = parts[r].replace(b'sheet1', b'@').replace(b'sheet2', b'sheet1').replace(b'@', b'sheet2')\n"
           "with zipfile.ZipFile(sys.argv[1], 'w') as out:\n"
           "    for n, d in parts.items(): out.writestr(n, d)\n",
           {book});
    const QStringList libreOffice = QStringLiteral(
        "1/3/2026\n3-Jan-26\n3-Jan\nJan-26\n2:05 PM\n2:05:09 PM\n14:05\n14:05:09\n1/3/2026 14:05\n05:09\n"
        "1104614:05:09\n05:09.0\n03/01/2026\n3 January 2026\nSaturday 3 Jan 26\n2026-01-03 14:05\n09:30 AM\n12:30 PM\n12:30 AM\n30:15\n"
        "8:04:05\n2027-01-01 0:00:00\non 3.1.2026\n42").split('\n');

    Import_Excel *chooser = Import_Excel::defaultInstance();
    chooser->open_mode = "E";
    onDialog<Import_Excel>([&](Import_Excel *c) {
        QStringList sheets;
        for (int i = 0; i < c->ui.Sheet_ComboBox->count(); ++i)
            sheets << c->ui.Sheet_ComboBox->itemText(i);
        EXPECT_EQ(sheets, QStringList({"Guests", "Budget"}));
        const QAbstractItemModel *list = c->ui.ColList->model();
        EXPECT_EQ(list->headerData(0, Qt::Horizontal).toString(), "Use");
        EXPECT_EQ(list->headerData(1, Qt::Horizontal).toString(), "Column");
        c->ui.Sheet_ComboBox->setCurrentIndex(1);
        EXPECT_EQ(c->ListData_xl->rows().at(1).Extension, "Cost");
        c->ui.Sheet_ComboBox->setCurrentIndex(0);
        tick(c->ListData_xl, {1});
        c->ui.ok_btn->click();
    });
    ASSERT_EQ(chooser->Open_excel_Wnd(book, roomOfANewDesign()), 1);
    const SpreadsheetTable &table = SpreadsheetTable::live();
    QStringList read;
    for (int r = 0; r < table.rowCount(); ++r)
        read << table.value(r, 1);
    EXPECT_EQ(read, libreOffice);
    EXPECT_EQ(SpreadsheetTableModel(&SpreadsheetTable::live()).headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              "Row");
}

TEST_F(SpreadsheetDialogsTest, WizardHandsTheTickedCellsToTheManagerRowByRow)
{
    const QString book = guests();
    Import_Wizard *wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = 0;
    wizard->file_name_Insert = 0;
    m_seam.chooseFiles({book});
    onDialog<Import_Wizard>([](Import_Wizard *w) { w->ui.Excel_btn->click(); });
    onDialog<Import_Excel>([&](Import_Excel *c) {
        EXPECT_EQ(c->open_mode, "D");
        tick(c->ListData_xl, {0, 2});
        c->ui.ok_btn->click();
    });
    QStringList before = BatchWizard_values();
    EXPECT_EQ(wizard->Open_Wnd(), 1);
    EXPECT_EQ(BatchWizard_values().mid(before.size()), QStringList({"1", "Oslo", "2", "Rome", "3", "Paris"}));
}

TEST_F(SpreadsheetDialogsTest, OneSeriesPerColumnRefusesBadAndDuplicateNamesAndAppliesToAllWithinOneRun)
{
    const QString book = columns();
    ASSERT_TRUE(DataSeries::writeValues("Name", {"old"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("Towns", {"old"}, DataSeries::WriteMode::Replace));
    Import_Excel_DataSheet *dialog = Import_Excel_DataSheet::defaultInstance();
    onDialog<Import_Excel_DataSheet>([&](Import_Excel_DataSheet *d) {
        EXPECT_TRUE(d->ui.Each_col_RD->isChecked());
        EXPECT_EQ(d->ListData_xl->rows().at(1).Header, "City");
        d->ListData_xl->setData(d->ListData_xl->index(1, 2), "Towns", Qt::EditRole);
        tick(d->ListData_xl, {0, 1, 2, 3});
        answerLong(true, true);   // Name: Yes, and the same for the rest of this run
        d->ui.ok_btn->click();
    });
    EXPECT_EQ(dialog->Open_excel_Wnd(book), 1);
    EXPECT_EQ(series("Name"), "Ann\nBob\n");
    EXPECT_EQ(series("Towns"), "Oslo\n\n");
    EXPECT_FALSE(QFileInfo::exists(QDir(Resource_Path).filePath("evil.txt")));
    EXPECT_FALSE(QFileInfo::exists(path("../evil.txt")));
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.at(0).text.startsWith("\nThese columns were not written as series:\n"));
    EXPECT_TRUE(m_seam.messages.at(0).text.contains("\n..: "));

    // A new run asks again; two columns of one name are refused before anything is written.
    ASSERT_TRUE(DataSeries::writeValues("Name", {"old"}, DataSeries::WriteMode::Replace));
    onDialog<Import_Excel_DataSheet>([&](Import_Excel_DataSheet *d) {
        tick(d->ListData_xl, {0, 4});
        d->ui.ok_btn->click();
        EXPECT_EQ(d->result(), 0);
        tick(d->ListData_xl, {0});
        answerLong(false);
        d->ui.ok_btn->click();
    });
    dialog->Open_excel_Wnd(book);
    EXPECT_EQ(series("Name"), "old\n");
    ASSERT_EQ(m_seam.messages.size(), 3);
    EXPECT_TRUE(m_seam.messages.at(1).text.contains("Two ticked columns would write the same series: Name"));
    EXPECT_TRUE(m_seam.messages.at(2).text.contains("Name: not replaced"));
}

TEST_F(SpreadsheetDialogsTest, AllTickedColumnsIntoOneSeriesNewReplaceAndAppend)
{
    const QString book = columns();
    ASSERT_TRUE(DataSeries::writeValues("Old", {"x"}, DataSeries::WriteMode::Replace));
    Import_Wizard *wizard = Import_Wizard::defaultInstance();
    wizard->file_name_required = 1;
    wizard->file_name_Insert = 0;
    const auto oneSeries = [&](int mode, const QString &name, int sheet = 0) {
        m_seam.chooseFiles({book});
        onDialog<Import_Wizard>([](Import_Wizard *w) { w->ui.Excel_btn->click(); });
        onDialog<Import_Excel_DataSheet>([mode, name, sheet, this](Import_Excel_DataSheet *d) {
            d->ui.Sheet_ComboBox->setCurrentIndex(sheet);
            d->ui.Fill_col_RD->click();
            QRadioButton *modes[] = {d->ui.fill_new_rd, d->ui.fill_replace_rd, d->ui.fill_append_rd};
            modes[mode]->click();
            if (mode == 0)
                d->ui.list_name->setText(name);
            else
                d->ui.List_ComboBox->setCurrentText(name);
            tick(d->ListData_xl, {0, 1});
            d->ui.ok_btn->click();
            if (d->result() != 1)
                d->ui.cancel_btn->click();
        });
        wizard->Open_Wnd();
    };
    m_seam.answerMessages({"No", "Yes", "OK"});
    oneSeries(0, "All");
    EXPECT_EQ(series("All"), "Ann\nOslo\nBob\n\n");
    oneSeries(0, "All");   // exists: No
    oneSeries(0, "All");   // Yes
    oneSeries(2, "Old");
    EXPECT_EQ(series("Old"), "x\nAnn\nOslo\nBob\n\n");
    oneSeries(1, "Old", 1);   // an empty sheet replaces nothing
    EXPECT_EQ(series("Old"), "x\nAnn\nOslo\nBob\n\n");
    oneSeries(1, "Old");
    EXPECT_EQ(series("Old"), "Ann\nOslo\nBob\n\n");
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"Batch Processing Series already exists. Do you want to replace it?",
                           "Batch Processing Series already exists. Do you want to replace it?",
                           "\nEither file is corrupted or selected file contains invalid characters."}));
}

} // namespace
