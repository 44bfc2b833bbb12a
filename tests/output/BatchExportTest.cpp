// Batch and single export through the editor window: the export sheet, the folder and save
// choosers, the progress sheet and its Stop button, and the export-finished panel, with every
// written file opened by Pillow. The export runs on std::thread workers, so the
// ThreadSanitizer build runs this program too.

#include "data/DataTestSupport.h"
#include "barcode/linear/LinearTestSupport.h"
#include "editor/EditorWindowFixture.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "output/BatchExportRun.h"
#include "data/SpreadsheetWriter.h"
#include "data/SpreadsheetTable.h"
#include "data/DataGlobals.h"
#include "data/DataSeries.h"
#include "output/ui/BatchExportSession.h"
#include "output/ui/ExportCommands.h"
#include "output/ui/ExportWindow.h"
#include "data/ui/View_Data_Series.h"
#include "document/DocumentGlobals.h"
#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/EditorGlobals.h"
#include "dialogs/ui/Open_Export_Files.h"
#include "output/OutputGlobals.h"
#include "output/ui/Send_Modeless.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/DataSourcePage.h"
#include "panels/ui/SettingsPanel.h"

#include <QSignalSpy>

#include <mutex>
#include <thread>
#include <sys/stat.h>

namespace {

const QString kSuccess = QStringLiteral("Card has been exported successfully.");

class BatchExportTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        m_window->SetDocumentCanvasSize(QSizeF(243, 154));   // 1012 x 642 pixels at 300 dpi
        CARD_SIDE_STR = QStringLiteral("2");
        m_window->Front_card_Prop.Card_Side = QStringLiteral("2");
        ASSERT_TRUE(DataSeries::writeValues("guests", {"Ann", "Bob", "Cyd"}, DataSeries::WriteMode::Replace));
        m_name = LMNGraphic::create(GraphicKind::Text);
        m_name->setBounds(QRectF(20, 20, 150, 30));
        m_name->setText("typed");
        m_name->data_source_type = 1;
        m_name->batch_list_name = "guests";
        // Only text below 64 pixels: larger glyphs come from per-thread masks placed to a quarter
        // pixel, which may differ by a shade between threads.
        m_document.graphics.clear();
        m_document.graphics.prepend(m_name);
        m_backName = m_name->clone();
        m_backName->setBounds(QRectF(60, 90, 150, 30));   // the back's text elsewhere: a swap shows
        m_document.graphics_back.prepend(m_backName);
        m_out = QDir(m_resources.path()).filePath("out");
        QDir().mkpath(m_out);
    }
    void TearDown() override
    {
        BatchExportRun::afterCardHook() = {};
        CARD_SIDE_STR = QStringLiteral("1");
        EditorWindowFixture::TearDown();
    }

    // Answers the export sheet: format row, side row (0 both, 1 front, 2 back), combined box.
    void answerSheet(int formatRow, int sideRow, bool combined = false, const QString &dpi = "300")
    {
        m_seam.onDialog([=](QDialog *dialog) {
            auto *sheet = qobject_cast<ExportWindow *>(dialog);
            EXPECT_NE(sheet, nullptr);
            if (!sheet)
                return 0;
            sheet->findChild<QRadioButton *>(QStringLiteral("file_type_row%1").arg(formatRow))->click();
            sheet->findChild<QRadioButton *>(QStringLiteral("card_side_row%1").arg(sideRow))->click();
            sheet->ui.export_combined_image_chk->setChecked(combined);
            sheet->ui.saveDPIText->setCurrentText(dpi);
            QTest::mouseClick(sheet->ui.export_ok_btn, Qt::LeftButton);
            return sheet->result();
        });
    }
    // Answers the export-finished panel with Cancel and keeps its message.
    void answerPanel()
    {
        m_seam.onDialog([this](QDialog *dialog) {
            auto *panel = qobject_cast<Open_Export_Files *>(dialog);
            EXPECT_NE(panel, nullptr);
            if (!panel)
                return 0;
            m_panelMessage = panel->ui._open_log_message->text();
            m_panelPath = panel->ui._open_log_path->text();
            QTest::mouseClick(panel->ui.export_cancel_btn, Qt::LeftButton);
            return panel->result();
        });
    }
    // Runs the Export command into m_out and waits for the run to end.
    void exportBatch(int formatRow, int sideRow, bool combined = false)
    {
        answerSheet(formatRow, sideRow, combined);
        m_seam.chooseFiles({m_out});
        answerPanel();
        ExportCommands::Export_Button(*m_window);
        BatchExportSession *session = BatchExportSession::current();
        ASSERT_NE(session, nullptr);
        QSignalSpy done(session, &BatchExportSession::finished);
        ASSERT_TRUE(done.wait(60000));
    }
    QString folder() const { return QDir(m_out).filePath("QOVA Festiloom"); }
    // "name format width height dpi" of every file, read by Pillow.
    QStringList pillow(const QString &dir) const
    {
        const QByteArray out = DataTest::python(
            "import os, sys\nfrom PIL import Image\n"
            "for n in sorted(os.listdir(sys.argv[1])):\n"
            "    im = Image.open(os.path.join(sys.argv[1], n))\n"
            "    print(n, im.format, im.size[0], im.size[1], round(im.info.get('dpi', (0, 0))[0]))\n",
            {dir});
        return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    }
    QImage typedCard(const QString &value, int side, double dpi) const
    {
        GraphicList list = LMNRenderingView::snapshot(side == 0 ? m_document.graphics : m_document.graphics_back);
        list.first()->setText(value);
        LMNRenderingView view(m_window->cardSize(), m_window->backgroundPainterForSide(side), {Resource_Path});
        view.setResolution(dpi);
        // Drawn on a fresh thread, as the workers draw: the main thread's drawing of large
        // text can differ by a shade on some edges after other tests drew on it.
        QImage card;
        std::thread([&] { card = view.image_From_Card_Graphics(list, 0); }).join();
        return card;
    }

    GraphicPtr m_name;
    GraphicPtr m_backName;
    QString m_out;
    QString m_panelMessage;
    QString m_panelPath;
};

// Pixels of `written` more than `tolerance` away from `expected` in some channel (all of them
// when the sizes differ).
int differing(const QImage &written, const QImage &expected, int tolerance)
{
    if (written.size() != expected.size())
        return written.width() * written.height() + 1;
    const QImage a = written.convertToFormat(QImage::Format_RGB888), b = expected.convertToFormat(QImage::Format_RGB888);
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += !TestHelpers::near(a.pixel(x, y), QColor(b.pixel(x, y)), tolerance);
    return count;
}

TEST_F(BatchExportTest, NamesFormatsSidesAndPixels)
{
    struct Case
    {
        const char *name;
        int formatRow, sideRow;
        bool combined;
        const char *format;
        const char *files;   // per card: F front, B back, C front above back in one picture
    };
    const Case cases[] = {
        {"both sides apart", 0, 0, false, "TIFF", "FB"},
        {"combined", 1, 0, true, "PNG", "C"},
        {"back only", 2, 2, false, "JPEG", "B"},
        {"front again into the same folder", 1, 1, false, "PNG", "F"},
    };
    const QStringList values{"Ann", "Bob", "Cyd"};
    QList<QImage> sides[2];   // each record's side drawn alone
    for (const QString &value : values)
        for (int side = 0; side < 2; ++side)
            sides[side] << typedCard(value, side, 300);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        if (QByteArrayView(c.name).startsWith("front again"))
            exportBatch(c.formatRow, c.sideRow, c.combined);   // the first run's files are replaced
        exportBatch(c.formatRow, c.sideRow, c.combined);
        QStringList expected;
        for (int r = 0; r < 3; ++r) {
            for (const char part : QByteArray(c.files)) {
                const QString file = QStringLiteral("Card_%1%2.%3").arg(r + 1).arg(part == 'B' ? "_Back" : "", c.format);
                expected << QStringLiteral("%1 %2 1012 %3 300").arg(file, c.format).arg(part == 'C' ? 1284 : 642);
                const QImage written(QDir(folder()).filePath(file));
                const int tolerance = QByteArrayView(c.format) == "JPEG" ? 96 : 0;
                if (part == 'C') {
                    EXPECT_EQ(differing(written.copy(0, 0, 1012, 642), sides[0][r], 0), 0) << file.toStdString();
                    EXPECT_EQ(differing(written.copy(0, 642, 1012, 642), sides[1][r], 0), 0) << file.toStdString();
                } else {
                    EXPECT_LE(differing(written, sides[part == 'B'][r], tolerance), tolerance ? 50 : 0) << file.toStdString();
                }
            }
        }
        EXPECT_EQ(pillow(folder()), expected);
        EXPECT_EQ(m_panelMessage, kSuccess);
        EXPECT_EQ(m_panelPath, folder());
    }
    // The front shows record 0 afterwards.
    EXPECT_EQ(m_name->_Text_contents, "Ann");
    EXPECT_EQ(m_backName->_Text_contents, "typed") << "the back is never filled in the design";
    EXPECT_FALSE(Send_Modeless::defaultInstance()->isVisible());
}

TEST_F(BatchExportTest, StopYesEndsWithoutGapsAndNoRunsOn)
{
    QStringList many;
    for (int i = 1; i <= 40; ++i)
        many << QString::number(i);
    ASSERT_TRUE(DataSeries::writeValues("guests", many, DataSeries::WriteMode::Replace));
    for (const QString answer : {"Yes", "No"}) {
        QDir(folder()).removeRecursively();
        std::once_flag pressed;
        bool canvasLive = false;
        const QString before = m_name->_Text_contents;
        BatchExportRun::afterCardHook() = [&](int card) {
            if (card < 3)
                return;
            std::call_once(pressed, [&] {
                QMetaObject::invokeMethod(qApp, [&] {
                    // The window is live: the canvas paints and the design keeps its values.
                    canvasLive = !m_window->_graphicView->grab().isNull()
                                 && m_name->_Text_contents == before;
                    m_seam.answerMessages({answer});
                    QTest::mouseClick(Send_Modeless::defaultInstance()->ui._stop_btn, Qt::LeftButton);
                }, Qt::BlockingQueuedConnection);
            });
        };
        exportBatch(1, 1);
        EXPECT_TRUE(canvasLive);
        const QStringList written = QDir(folder()).entryList(QDir::Files);
        if (answer == "No") {
            EXPECT_EQ(written.size(), 40);
        } else {
            EXPECT_GE(written.size(), 3);
            EXPECT_LT(written.size(), 40);
            for (int n = 1; n <= written.size(); ++n)
                EXPECT_TRUE(written.contains(QStringLiteral("Card_%1.PNG").arg(n))) << n << written.join(' ').toStdString();
        }
        EXPECT_EQ(m_panelMessage, kSuccess) << answer.toStdString();
        EXPECT_EQ(m_seam.messageTexts().last(), "Are you sure you want to continue?");
    }
}

TEST_F(BatchExportTest, BadFoldersEndWithOneClearMessage)
{
    // The chosen folder is a file: no sheet, no panel.
    const QString file = QDir(m_out).filePath("plain");
    DataTest::writeFile(file, "x");
    answerSheet(1, 1);
    m_seam.chooseFiles({file});
    ExportCommands::Export_Button(*m_window);
    EXPECT_EQ(BatchExportSession::current(), nullptr);
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.first().text.contains("Unable to continue saving barcode image."));

    // A card's path is a folder: one message naming it, the cards before it kept, no success.
    QDir().mkpath(QDir(folder()).filePath("Card_2.PNG"));
    exportBatch(1, 1);
    ASSERT_EQ(m_seam.messages.size(), 2);
    EXPECT_TRUE(m_seam.messages.last().text.contains("Card_2.PNG"));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder()).filePath("Card_1.PNG")));
    EXPECT_TRUE(m_panelMessage.contains("Not written: Card_2")) << m_panelMessage.toStdString();
    EXPECT_FALSE(m_panelMessage.contains(kSuccess));
}

TEST_F(BatchExportTest, FolderFollowsTheUmaskAndMissingPicturesAreNamed)
{
    const mode_t previous = umask(027);
    auto picture = std::make_shared<LMNImage>();
    picture->setBounds(QRectF(150, 60, 60, 40));
    picture->data_source_type = 1;
    picture->batch_list_name = "photos";
    QImage photo(20, 20, QImage::Format_RGB32);
    photo.fill(Qt::red);
    const QString photoPath = QDir(m_out).filePath("p.png");
    ASSERT_TRUE(photo.save(photoPath));
    ASSERT_TRUE(DataSeries::writeValues("photos", {photoPath, QDir(m_out).filePath("gone.png"), photoPath},
                                        DataSeries::WriteMode::Replace));
    m_document.graphics.prepend(picture);
    exportBatch(1, 1);
    umask(previous);
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(folder()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);
    EXPECT_TRUE(m_panelMessage.startsWith(kSuccess));
    EXPECT_TRUE(m_panelMessage.contains("without their bound picture: Card_2.")) << m_panelMessage.toStdString();
}

TEST_F(BatchExportTest, SingleExportAsksBeforeReplacingTheBackAndRecordsItsResolution)
{
    m_name->data_source_type = 0;
    m_backName->data_source_type = 0;
    const QString path = QDir(m_out).filePath("card");
    DataTest::writeFile(QDir(m_out).filePath("card_Back.PNG"), "keep");
    // No: nothing is written.
    answerSheet(1, 0, false, "150");
    m_seam.chooseFiles({path});
    m_seam.answerMessages({"No"});
    ExportCommands::Export_Button(*m_window);
    EXPECT_EQ(DataTest::readFile(QDir(m_out).filePath("card_Back.PNG")), "keep");
    EXPECT_FALSE(QFileInfo::exists(path + ".PNG"));
    // Yes: both sides, the extension added, at the chosen resolution.
    answerSheet(1, 0, false, "150");
    m_seam.chooseFiles({path});
    m_seam.answerMessages({"Yes"});
    answerPanel();
    ExportCommands::Export_Button(*m_window);
    EXPECT_EQ(pillow(m_out), QStringList({"card.PNG PNG 506 321 150", "card_Back.PNG PNG 506 321 150"}));
    EXPECT_EQ(m_panelMessage, kSuccess);
    EXPECT_EQ(m_panelPath, path + ".PNG");
}

TEST_F(BatchExportTest, AnOpenpyxlWorkbookDrivesARunWhoseBarcodesReadBack)
{
    const QString book = QDir(m_out).filePath("guests.xlsx");
    DataTest::python("import sys, openpyxl\n"
                     "wb = openpyxl.Workbook()\n"
                     "ws = wb.active\n"
                     "ws.append(['Name', 'Code'])\n"
                     "for i in range(1, 5):\n"
                     "    ws.append(['Guest %d' % i, 'FEST-%03d' % i])\n"
                     "wb.save(sys.argv[1])\n",
                     {book});
    QString error;
    SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(book), true, &error);
    const QList<QStringList> rows = SpreadsheetWriter::ReadWorkbook(QUrl::fromLocalFile(book), false, &error);
    ASSERT_EQ(error, QString());
    ASSERT_EQ(rows.size(), 5);
    const SpreadsheetTable saved = SpreadsheetTable::live();
    SpreadsheetTable &table = SpreadsheetTable::live();
    table = {};
    table.titles = QStringList{"#"} + rows.first();
    for (const QStringList &row : rows.mid(1))
        table.appendRecord(row, 2);

    m_name->data_source_type = 2;
    m_name->excel_col_indx = 1;
    GraphicPtr code = LMNGraphic::create(GraphicKind::Barcode);
    code->setBounds(QRectF(20, 60, 150, 60));
    BarcodeElementSettings settings;
    settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf("Code 128"));
    settings.applyTo(*code);
    code->data_source_type = 2;
    code->excel_col_indx = 2;
    m_document.graphics.append(code);
    m_document.graphics_back.clear();
    exportBatch(1, 1);
    SpreadsheetTable::live() = saved;

    for (int n = 1; n <= 4; ++n) {
        const QImage card(QDir(folder()).filePath(QStringLiteral("Card_%1.PNG").arg(n)));
        ASSERT_FALSE(card.isNull()) << n;
        EXPECT_EQ(LinearTest::read(card, ZXing::BarcodeFormat::Code128), QStringLiteral("FEST-%1").arg(n, 3, 10, QLatin1Char('0')).toStdString());
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(folder()).filePath("Card_5.PNG")));
    EXPECT_EQ(m_name->_Text_contents, "Guest 1");
}

TEST_F(BatchExportTest, ThePanelsViewButtonShowsTheBoundSeries)
{
    m_window->_graphicView->selectGraphics({m_name});
    m_window->_graphicView->_Selected_Graphic = m_name;
    m_window->Show_RHS_Properties(m_name);
    const auto &source = m_window->settingsPanel()->ui.datasource_tab->ui;
    ASSERT_EQ(source.Data_source_type->currentText(), "Series");
    ASSERT_TRUE(source.view_series_btn->isEnabled());
    QStringList rows;
    m_seam.onDialog([&rows](QDialog *dialog) {
        auto *viewer = qobject_cast<View_Data_Series *>(dialog);
        EXPECT_NE(viewer, nullptr);
        if (!viewer)
            return 0;
        for (int r = 0; r < viewer->ui.List->rowCount(); ++r)
            rows << viewer->ui.List->item(r, 0)->text();
        viewer->ui.OK_Btn->click();
        return viewer->result();
    });
    source.view_series_btn->click();
    EXPECT_EQ(rows, QStringList({"Ann", "Bob", "Cyd"}));
}

TEST_F(BatchExportTest, ProgressSheetLabels)
{
    Send_Modeless *sheet = Send_Modeless::defaultInstance();
    Stop_SMS_Sending_Now = true;
    sheet->prepare(0, QStringLiteral("%1 / %2 Card"));
    EXPECT_FALSE(Stop_SMS_Sending_Now.load());
    EXPECT_EQ(sheet->ui._tot_msg_cnt->text(), "0");
    EXPECT_EQ(sheet->ui._curr_msg_cnt->text(), "0 / 0 Card");
    sheet->prepare(10, QStringLiteral("%1 / %2 Card"));
    curr_barcode_count = 4;
    sheet->update_sending_progress_bar();
    EXPECT_EQ(sheet->ui._curr_msg_cnt->text(), "4 / 10 ");
    EXPECT_EQ(sheet->ui._Curr_Progress->value(), 4);
    EXPECT_EQ(sheet->ui._Curr_Progress->maximum(), 10);
}

} // namespace
