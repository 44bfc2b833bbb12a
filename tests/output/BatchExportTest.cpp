// Batch and single export through the editor window: the export sheet, the folder and save
// choosers, the progress sheet and its Stop button, and the export-finished panel, with every
// written file opened by Pillow. The export runs on std::thread workers, so the
// ThreadSanitizer build runs this program too.

#include "data/DataTestSupport.h"
#include "SmtpServers.h"
#include "support/BigPictures.h"
#include "support/ForeignPictures.h"
#include "barcode/linear/LinearTestSupport.h"
#include "editor/EditorWindowFixture.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "output/BatchExportRun.h"
#include "output/MailTransport.h"
#include "output/Preferences.h"
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

#include <QProcess>
#include <QSignalSpy>

#include <array>
#include <functional>

#include <mutex>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>

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
        LMNRenderingView view(m_window->cardSize(), m_window->backgroundPainterForSide(side), {Resource_Path, 1.0, {}});
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

// A picture bound to a series takes the same road for every picture a design holds: phone
// photos, a grey scan, a large PNG, a QR Code made at 2400 dpi are drawn on the card; a file
// whose data cannot be read, not a picture, or no regular file at all, is named in the finished
// message with why.
TEST_F(BatchExportTest, BoundLargePicturesAreDrawnOrNamedWithTheReason)
{
    ASSERT_TRUE(DataSeries::writeValues("guests", {"Ann"}, DataSeries::WriteMode::Replace));
    auto picture = std::make_shared<LMNImage>();
    const QRectF bounds(150, 60, 60, 40);   // 250 x 167 pixels at (625, 250) at 300 dpi
    picture->setBounds(bounds);
    picture->data_source_type = 1;
    picture->batch_list_name = "photos";
    m_document.graphics.prepend(picture);
    const QRect drawn = QRectF(bounds.topLeft() * 300.0 / 72.0, bounds.size() * 300.0 / 72.0).toRect().adjusted(4, 4, -4, -4);
    // The mean colour of a picture, each channel.
    const auto mean = [](const QImage &image) {
        const QImage small = image.convertToFormat(QImage::Format_RGB32).scaled(120, 80, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double r = 0, g = 0, b = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x) {
                const QRgb p = small.pixel(x, y);
                r += qRed(p), g += qGreen(p), b += qBlue(p);
            }
        const double n = small.width() * small.height();
        return std::array<double, 3>{r / n, g / n, b / n};
    };
    for (const BigPictures::Kind kind : BigPictures::all()) {
        SCOPED_TRACE(BigPictures::name(kind));
        ASSERT_TRUE(DataSeries::writeValues("photos", {BigPictures::file(kind)}, DataSeries::WriteMode::Replace));
        exportBatch(1, 1);
        EXPECT_TRUE(m_panelMessage.startsWith(kSuccess)) << m_panelMessage.toStdString();
        const QImage card(QDir(folder()).filePath("Card_1.PNG"));
        ASSERT_FALSE(card.isNull());
        const auto want = mean(BigPictures::pixels(kind)), got = mean(card.copy(drawn));
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[size_t(c)], want[size_t(c)], 8.0) << "channel " << c;
    }

    const QString huge = BigPictures::pngOfSize(QDir(m_out).filePath("huge.png"), QSize(20000, 15000));
    const QString notes = DataTest::writeFile(QDir(m_out).filePath("notes.jpg"), "not a picture");
    // An SVG bound as a picture never draws the picture of this disk it names.
    const QString local = DataTest::writeFile(QDir(m_out).filePath("local.png"), BigPictures::smallPng(Qt::red));
    const QString svg = DataTest::writeFile(QDir(m_out).filePath("invite.png"), ForeignPictures::svgNaming(local));
    // Drawn small, a PNG decodes line by line at the size it is drawn at: its size is no
    // reason to refuse it, but data cut short is.
    const QList<std::pair<QString, QString>> refused = {
        {huge, "The picture \"huge.png\" cannot be used: it is 20000 x 15000 pixels, but its picture data cannot be read"},
        {notes, "The file \"notes.jpg\" is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF."},
        {svg, "The file \"invite.png\" is not a picture of a kind Festiloom reads: PNG, JPEG, GIF, BMP or TIFF."},
        {"/dev/null", "The picture \"/dev/null\" cannot be used: it is not a regular file"},
    };
    for (const auto &[file, message] : refused) {
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(DataSeries::writeValues("photos", {file}, DataSeries::WriteMode::Replace));
        exportBatch(1, 1);
        EXPECT_TRUE(m_panelMessage.contains(message)) << m_panelMessage.toStdString();
        EXPECT_TRUE(m_panelMessage.contains("without their bound picture: Card_1.")) << m_panelMessage.toStdString();
    }
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

// The chooser asks about the name typed; every other file the export writes over is asked
// about by name, and No leaves every file as it was. A name that ends in the format's
// extension in any letter case is written as typed.
TEST_F(BatchExportTest, SingleExportAsksAboutEveryFileItReplacesThatTheChooserDidNotName)
{
    struct Row
    {
        const char *typed;
        int sideRow;                 // 0 both, 1 front, 2 back
        QStringList existing;        // files there before, each holding "keep"
        QStringList answers;         // to the program's questions, in order
        QStringList questionsAbout;  // the files the questions name
        QStringList written;         // files that hold a picture afterwards
    };
    // Enter presses the default button: no answer scripted.
    const QString Enter = QStringLiteral("<Enter>");
    const QList<Row> rows = {
        {"ean_card", 1, {"ean_card.PNG"}, {"No"}, {"ean_card.PNG"}, {}},
        {"ean_card", 1, {"ean_card.PNG"}, {"Yes"}, {"ean_card.PNG"}, {"ean_card.PNG"}},
        {"ean_card", 1, {"ean_card.PNG"}, {Enter}, {"ean_card.PNG"}, {}},   // the default button is No
        {"ean_card", 1, {"ean_card.PNG"}, {ScriptedModalSeam::CloseBox}, {"ean_card.PNG"}, {}},
        {"card", 0, {"card.PNG", "card_Back.PNG"}, {Enter}, {"card_Back.PNG"}, {}},
        {"ean_card.png", 1, {"ean_card.png"}, {}, {}, {"ean_card.png"}},
        {"ean_card.Png", 1, {}, {}, {}, {"ean_card.Png"}},
        {"card", 0, {"card.PNG", "card_Back.PNG"}, {"Yes", "No"}, {"card_Back.PNG", "card.PNG"}, {}},
        {"card", 0, {"card.PNG", "card_Back.PNG"}, {"Yes", "Yes"}, {"card_Back.PNG", "card.PNG"},
         {"card.PNG", "card_Back.PNG"}},
        {"card", 2, {"card.PNG"}, {}, {}, {"card_Back.PNG"}},   // the front is not written
    };
    m_name->data_source_type = 0;
    m_backName->data_source_type = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(::testing::Message() << row.typed << " side " << row.sideRow << " answers "
                                          << row.answers.join(',').toStdString());
        QDir out(m_out);
        out.removeRecursively();
        QDir().mkpath(m_out);
        for (const QString &name : row.existing)
            DataTest::writeFile(out.filePath(name), "keep");
        m_seam.messages.clear();
        answerSheet(1, row.sideRow);
        m_seam.chooseFiles({out.filePath(QString::fromUtf8(row.typed))});
        QStringList scripted = row.answers;
        scripted.removeAll(Enter);
        m_seam.answerMessages(scripted);
        if (!row.written.isEmpty())
            answerPanel();
        ExportCommands::Export_Button(*m_window);

        QStringList about;
        for (const ModalSeam::Message &m : m_seam.messages)
            if (m.text.endsWith("already exists. Do you want to replace it?"))
                about.append(m.text.section('"', 1, 1));
        EXPECT_EQ(about, row.questionsAbout);
        QStringList pictures;
        for (const QString &name : out.entryList(QDir::Files, QDir::Name)) {
            if (DataTest::readFile(out.filePath(name)) == "keep")
                EXPECT_TRUE(row.existing.contains(name)) << name.toStdString();
            else
                pictures.append(name);
        }
        QStringList expected = row.written;
        expected.sort();
        EXPECT_EQ(pictures, expected);
        for (const QString &name : pictures)
            EXPECT_FALSE(QImage(out.filePath(name)).isNull()) << name.toStdString();
    }
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

// Inputs a batch run must not trust, through the real readers, the export run, the mail script
// against a local aiosmtpd and the settings store: links where cards or settings go, series
// files written elsewhere, headers and names that would break a mail, and sources of
// different lengths, whose gaps the end of the run names.
TEST_F(BatchExportTest, BadInputsAreRefusedReadOrReported)
{
    const QString outside = QDir(m_resources.path()).filePath("outside");
    QDir().mkpath(outside);
    const QString kept = QDir(outside).filePath("kept.png");
    auto fresh = [&] {
        QFile::remove(folder());   // a link to a folder
        QDir(folder()).removeRecursively();
        QDir(outside).removeRecursively();
        QDir().mkpath(outside);
        DataTest::writeFile(kept, "keep");
        m_panelMessage.clear();
        m_seam.messages.clear();
    };
    auto cardLink = [&](const QString &target) {
        QDir().mkpath(folder());
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                            QFile::encodeName(QDir(folder()).filePath("Card_1.PNG")).constData()), 0);
    };
    const QString plainPath = QDir(folder()).filePath("Card_1.PNG");
    SmtpServers &smtp = SmtpServers::instance();
    auto mail = [&](const QString &subject, const QString &body, const QStringList &attachments) {
        QProcess process;
        return MailTransport::sendEmail_pyth(&process, "a@example.org", subject, attachments, "me@example.org",
                                             SmtpServers::kPassword, "127.0.0.1", smtp.port("starttls"), body, "N");
    };
    auto seriesFile = [](const QByteArray &bytes) {
        DataTest::writeFile(DataSeries::filePath("typed"), bytes);
        return DataSeries::readAllValues("typed") + QStringList{DataSeries::readFirstValue("typed")};
    };
    const QStringList threeAndFirst = {"Ann", "Bob", "Cyd", "Ann"};
    auto utf16 = [](const QString &text, bool little) {
        QByteArray bytes = little ? QByteArray("\xff\xfe") : QByteArray("\xfe\xff");
        for (QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xff);
            bytes.append(little ? lo : hi).append(little ? hi : lo);
        }
        return bytes;
    };

    const struct
    {
        const char *name;
        std::function<void()> check;
    } rows[] = {
        {"a card name linked to a file outside", [&] {
             cardLink(kept);
             exportBatch(1, 1);
             EXPECT_EQ(DataTest::readFile(kept), "keep");
             EXPECT_TRUE(QFileInfo(plainPath).isSymLink());
             ASSERT_FALSE(m_seam.messages.isEmpty());
             EXPECT_TRUE(m_seam.messages.last().text.contains(plainPath + "\" is a symbolic link"));
             EXPECT_TRUE(m_panelMessage.contains("Not written: Card_1")) << m_panelMessage.toStdString();
         }},
        {"a dangling card link", [&] {
             cardLink(QDir(outside).filePath("made.png"));
             exportBatch(1, 1);
             EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList({"kept.png"}));
         }},
        {"the export folder linked elsewhere", [&] {
             ASSERT_EQ(::symlink(QFile::encodeName(outside).constData(), QFile::encodeName(folder()).constData()), 0);
             answerSheet(1, 1);
             m_seam.chooseFiles({m_out});
             ExportCommands::Export_Button(*m_window);
             EXPECT_EQ(BatchExportSession::current(), nullptr);
             ASSERT_EQ(m_seam.messages.size(), 1);
             EXPECT_TRUE(m_seam.messages.first().text.contains("is a symbolic link"));
             EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList({"kept.png"}));
         }},
        {"a same-named regular file", [&] {
             QDir().mkpath(folder());
             DataTest::writeFile(plainPath, "old");
             QFile::setPermissions(plainPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
             exportBatch(1, 1);
             EXPECT_EQ(QImage(plainPath).size(), QSize(1012, 642));
             EXPECT_TRUE(QFile::permissions(plainPath) & QFileDevice::ReadGroup);
             EXPECT_FALSE(QFile::permissions(plainPath) & QFileDevice::ReadOther);
             EXPECT_EQ(m_panelMessage, kSuccess);
         }},
        {"a 20-value series beside a 5-row spreadsheet", [&] {
             QStringList twenty;
             for (int i = 1; i <= 20; ++i)
                 twenty << QStringLiteral("Guest %1").arg(i);
             ASSERT_TRUE(DataSeries::writeValues("guests", twenty, DataSeries::WriteMode::Replace));
             const SpreadsheetTable saved = SpreadsheetTable::live();
             SpreadsheetTable &table = SpreadsheetTable::live();
             table = {};
             table.titles = {"#", "Name"};
             for (int i = 1; i <= 5; ++i)
                 table.appendRecord({QStringLiteral("N%1").arg(i)}, 1);
             GraphicPtr code = LMNGraphic::create(GraphicKind::Barcode);
             code->setBounds(QRectF(20, 60, 100, 60));
             BarcodeElementSettings settings;
             settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf("QR Code"));
             settings.linear_or_2d = 1;
             settings.applyTo(*code);
             code->data_source_type = 2;
             code->excel_col_indx = 1;
             m_document.graphics.append(code);
             exportBatch(1, 1);
             m_document.graphics.removeAll(code);
             SpreadsheetTable::live() = saved;
             ASSERT_TRUE(DataSeries::writeValues("guests", {"Ann", "Bob", "Cyd"}, DataSeries::WriteMode::Replace));
             EXPECT_EQ(m_panelMessage, QStringLiteral("20 cards were exported.\nCards 6\u201320: no value for the "
                                                      "barcode bound to column Name."));
         }},
        {"a bound series too large to read beside a 3-value one", [&] {
             DataTest::writeFile(DataSeries::filePath("many"), QByteArray("v\n").repeated(DataSeries::MaximumValues + 1));
             GraphicPtr second = m_name->clone();
             second->setBounds(QRectF(20, 100, 150, 30));
             second->batch_list_name = "many";
             m_document.graphics.append(second);
             exportBatch(1, 1);
             m_document.graphics.removeAll(second);
             QFile::remove(DataSeries::filePath("many"));
             EXPECT_EQ(m_panelMessage, QStringLiteral("3 cards were exported.\nThe series \"many\" is not read: it holds "
                                                      "more than 5000000 values.\nCards 1\u20133: no value for the text "
                                                      "bound to series many."));
         }},
        {"series files with CR, CRLF, UTF-16 and UTF-8 marks", [&] {
             EXPECT_EQ(seriesFile("Ann\rBob\rCyd\r"), threeAndFirst);
             EXPECT_EQ(seriesFile("Ann\r\nBob\r\nCyd\r\n\r\n"), threeAndFirst);
             EXPECT_EQ(seriesFile(utf16("Ann\r\nBob\nCyd\n", true)), threeAndFirst);
             EXPECT_EQ(seriesFile(utf16("Ann\nBob\nCyd", false)), threeAndFirst);
             EXPECT_EQ(seriesFile("\xef\xbb\xbf" "Ann\nBob\nCyd\n"), threeAndFirst);
         }},
        {"the settings file linked to another file", [&] {
             DataTest::writeFile(kept, "keep");
             QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
             const QString link = QDir(m_resources.path()).filePath("settings.plist");
             ASSERT_EQ(::symlink(QFile::encodeName(kept).constData(), QFile::encodeName(link).constData()), 0);
             Preferences preferences(link);
             preferences.setsend_email_Password("secret");
             EXPECT_FALSE(preferences.flush());
             EXPECT_TRUE(QFile::permissions(kept) & QFileDevice::ReadOther);
             EXPECT_EQ(DataTest::readFile(kept), "keep");
         }},
        {"mail headers with every kind of line break, and a 2 MB body", [&] {
             ASSERT_TRUE(smtp.ready());
             const QString body = QString(2 << 20, QLatin1Char('x'));
             for (const QString &br : {QString(QChar(0x2028)), QString(QChar(0x85)), QStringLiteral("\v"), QStringLiteral("\f")}) {
                 const qsizetype before = smtp.count();
                 const MailOutcome sent = mail("Hello" + br + "Bcc: spy@example.org", br == "\f" ? body : "b", {});
                 ASSERT_TRUE(sent.sent) << sent.reason.toStdString();
                 const QList<QJsonObject> got = smtp.since(before);
                 ASSERT_EQ(got.size(), 1);
                 EXPECT_EQ(got[0].value("subject").toString(), "Hello Bcc: spy@example.org");
                 EXPECT_EQ(got[0].value("rcpt_tos").toArray().size(), 1);
                 if (br == "\f") {
                     EXPECT_EQ(got[0].value("body").toString().count(QLatin1Char('x')), body.size());
                 }
             }
         }},
        {"an attachment name with a line break", [&] {
             const QString bad = QDir(outside).filePath("card\r\nX-Evil: 1.png");
             DataTest::writeFile(bad, "png");
             const qsizetype before = smtp.count();
             const MailOutcome sent = mail("s", "b", {kept, bad});
             EXPECT_FALSE(sent.sent);
             EXPECT_TRUE(sent.reason.contains("line break")) << sent.reason.toStdString();
             EXPECT_EQ(smtp.count(), before);
         }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        fresh();
        row.check();
    }
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

// The picture of a card is the card edge to edge: a rectangular card is opaque to its last row
// and column whatever fraction of a pixel its size makes at the chosen resolution, and the
// edge of a rounded or oval card keeps its anti-aliasing. Read back by Pillow.
TEST_F(BatchExportTest, ExportedCardsAreOpaqueToTheirEdgesAndCurvedEdgesStaySmooth)
{
    struct Row
    {
        const char *name;
        QSizeF card;
        int shape;   // 0 rectangle, 1 rounded, 2 oval
        const char *dpi;
        QString expected;   // "width height" and the checks below
    };
    // CR80 lying (85.60 x 53.98 mm), 1011.04 x 637.54 pixels at 300 dpi; 243 x 154 points,
    // 1012.5 x 641.67 pixels; 288 x 144 points at 150 dpi, whole pixels.
    const QList<Row> rows = {
        {"CR80 rectangle 300 dpi", QSizeF(242.65, 153.01), 0, "300", "1011 638 opaque"},
        {"CR80 rectangle 150 dpi", QSizeF(242.65, 153.01), 0, "150", "506 319 opaque"},
        {"fractional rectangle 300 dpi", QSizeF(243, 154), 0, "300", "1012 642 opaque"},
        {"whole rectangle 150 dpi", QSizeF(288, 144), 0, "150", "600 300 opaque"},
        {"CR80 rounded 300 dpi", QSizeF(242.65, 153.01), 1, "300", "1011 638 curved straight"},
        {"CR80 oval 300 dpi", QSizeF(242.65, 153.01), 2, "300", "1011 638 curved"},
    };
    m_name->data_source_type = 0;
    m_backName->data_source_type = 0;
    const int shapeBefore = Card_Shape.load();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        Card_Shape = row.shape;
        m_window->SetDocumentCanvasSize(row.card);
        const QString path = QDir(m_out).filePath(QStringLiteral("card%1").arg(&row - rows.data()));
        answerSheet(1, 1, false, row.dpi);
        m_seam.chooseFiles({path});
        answerPanel();
        ExportCommands::Export_Button(*m_window);
        // Size; whether every pixel is opaque; whether the corner is clear and the edge has
        // pixels in part covered; whether the middles of the four edges are opaque.
        const QByteArray checks = DataTest::python(
            "import sys\nfrom PIL import Image\n"
            "im = Image.open(sys.argv[1]).convert('RGBA')\n"
            "w, h = im.size\n"
            "a = im.getchannel('A')\n"
            "out = [str(w), str(h)]\n"
            "if a.getextrema()[0] == 255: out.append('opaque')\n"
            "edge = [a.getpixel((x, y)) for x in range(w) for y in (0, h - 1)] + [a.getpixel((x, y)) for y in range(h) for x in (0, w - 1)]\n"
            "if a.getpixel((0, 0)) == 0 and a.getpixel((w - 1, h - 1)) == 0 and any(0 < v < 255 for v in edge): out.append('curved')\n"
            "if all(a.getpixel(p) == 255 for p in ((w // 2, 0), (w // 2, h - 1), (0, h // 2), (w - 1, h // 2))) and a.getextrema()[0] < 255: out.append('straight')\n"
            "print(' '.join(out))\n",
            {path + ".PNG"});
        EXPECT_EQ(QString::fromUtf8(checks).trimmed(), row.expected);
    }
    Card_Shape = shapeBefore;
}
