// Printing through a real CUPS daemon of the test's own: a cups-pdf queue whose PDF we read
// back, a queue whose PPD keeps 18 points of every A4 edge, the same with US Letter as its
// default paper, and a queue that refuses jobs.
// Without root, cupsd or cups-pdf the tests skip and say why.

#include "PrintTestSupport.h"

#include "data/CardRecordRenderer.h"
#include "data/DataSeries.h"
#include "document/LMNText.h"
#include "document/DocumentGlobals.h"
#include "editor/EditorWindowFixture.h"
#include "output/CupsQueue.h"
#include "output/RecordCardSource.h"
#include "output/ui/PageSetupWindow.h"
#include "output/ui/Print_Wnd.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QProcess>
#include <QStandardPaths>

#include <cups/cups.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace {

// cupsd in the foreground on a unix socket in a temporary folder, with its queues.
class CupsDaemon
{
public:
    QString skipReason;
    QString pdfQueue, marginQueue, letterQueue, refusingQueue;

    CupsDaemon()
    {
        if (geteuid() != 0) {
            skipReason = QStringLiteral("CUPS tests need root to run their own cupsd");
            return;
        }
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty()
            || !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) || !QFile::exists(kPpd)) {
            skipReason = QStringLiteral("cupsd, lpadmin or cups-pdf is not installed");
            return;
        }
        m_dir.setAutoRemove(true);
        const QDir dir(m_dir.path());
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        for (const char *sub : {"spool", "cache", "state", "tmp", "log", "out"})
            dir.mkpath(QLatin1String(sub));
        QFile::setPermissions(dir.filePath("out"), QFile::permissions(m_dir.path()));
        // The filters run as lp and keep their files here.
        chmod(dir.filePath("tmp").toLocal8Bit().constData(), 01777);
        socket = dir.filePath(QStringLiteral("cups.sock"));
        write(dir.filePath("cupsd.conf"), QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n"
                                                         "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                                                         "<Policy default>\n <Limit All>\n  Order deny,allow\n"
                                                         " </Limit>\n</Policy>\n")
                                              .arg(socket));
        write(dir.filePath("cups-files.conf"),
              QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                             "TempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                             "PageLog %1/log/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                             "User lp\nGroup lp\nSystemGroup root\nSandboxing Relaxed\n")
                  .arg(m_dir.path()));

        m_daemon.setProgram(cupsd);
        m_daemon.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), dir.filePath("cupsd.conf"),
                               QStringLiteral("-s"), dir.filePath("cups-files.conf")});
        // Should the test die, the daemon goes with it.
        m_daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_daemon.start();
        if (!m_daemon.waitForStarted(5000)) {
            skipReason = QStringLiteral("cupsd did not start: ") + m_daemon.errorString();
            return;
        }
        QDeadlineTimer ready(10000);
        while (!QFile::exists(socket) && !ready.hasExpired() && m_daemon.state() == QProcess::Running)
            QThread::msleep(20);
        if (!QFile::exists(socket)) {
            skipReason = QStringLiteral("cupsd did not open its socket: ") + QString::fromUtf8(m_daemon.readAll());
            stop();
            return;
        }
        qputenv("CUPS_SERVER", socket.toUtf8());
        cupsSetServer(socket.toUtf8().constData());

        const QString tag = QString::number(getpid());
        pdfQueue = QStringLiteral("festiloom_pdf_") + tag;
        marginQueue = QStringLiteral("festiloom_m18_") + tag;
        letterQueue = QStringLiteral("festiloom_letter_") + tag;
        refusingQueue = QStringLiteral("festiloom_refuses_") + tag;

        QString ppd18 = QString::fromLatin1(TestHelpers::readFile(kPpd));
        ppd18.replace(QStringLiteral("*ImageableArea A4/A4: \"0 0 595 842\""),
                      QStringLiteral("*ImageableArea A4/A4: \"18 18 577 824\""));
        write(dir.filePath("m18.ppd"), ppd18);

        for (const QString &queue : {pdfQueue, marginQueue, letterQueue, refusingQueue}) {
            // cups-pdf reads its settings beside its own, by the name in the device address.
            const QString conf = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(queue);
            if (!write(conf, QStringLiteral("Out %1\nAnonDirName %1\nLabel 0\n").arg(dir.filePath("out")))) {
                skipReason = QStringLiteral("cannot write %1").arg(conf);
                return;
            }
            m_confs.append(conf);
            if (!addQueue(queue, queue == marginQueue || queue == letterQueue ? dir.filePath("m18.ppd") : QString(kPpd)))
                return;
        }
    }

    ~CupsDaemon() { stop(); }

    bool admin(const QStringList &arguments) { return run(QStringLiteral("lpadmin"), arguments); }

    // The refusing queue also says why it refuses.
    bool addQueue(const QString &queue, const QString &ppd = QString(kPpd))
    {
        return admin({QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                      QStringLiteral("cups-pdf:/") + queue, QStringLiteral("-P"), ppd})
               && (queue != letterQueue || admin({QStringLiteral("-p"), queue, QStringLiteral("-o"), QStringLiteral("PageSize=Letter")}))
               && (queue != refusingQueue
                   || run(QStringLiteral("cupsreject"), {QStringLiteral("-r"), QStringLiteral("Paper tray removed"), queue}));
    }

    bool run(const QString &program, const QStringList &arguments)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, arguments);
        if (!p.waitForFinished(30000) || p.exitCode() != 0) {
            skipReason = QStringLiteral("%1 failed: %2").arg(program, QString::fromUtf8(p.readAll()));
            return false;
        }
        return true;
    }

    // The PDF cups-pdf wrote for job `job`, once CUPS says the job is done.
    QString pdfOfJob(const QString &queue, int job)
    {
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            cups_job_t *jobs = nullptr;
            const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
            bool done = false;
            for (int i = 0; i < n; ++i)
                done = done || (jobs[i].id == job && jobs[i].state >= IPP_JSTATE_STOPPED);
            cupsFreeJobs(n, jobs);
            const QStringList found = QDir(QDir(m_dir.path()).filePath("out"))
                                          .entryList({QStringLiteral("*job_%1.pdf").arg(job)}, QDir::Files);
            if (done)
                return found.isEmpty() ? QString() : QDir(QDir(m_dir.path()).filePath("out")).filePath(found.first());
            QTest::qWait(50);
        }
        return {};
    }

    QString errorLog() const { return QString::fromUtf8(TestHelpers::readFile(QDir(m_dir.path()).filePath("log/error_log"))); }

    void stop()
    {
        for (const QString &conf : std::as_const(m_confs))
            QFile::remove(conf);
        m_confs.clear();
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();   // SIGTERM to the daemon's own process id
            if (!m_daemon.waitForFinished(10000)) {
                m_daemon.kill();
                m_daemon.waitForFinished(5000);
            }
        }
    }

    QString socket;

private:
    static constexpr const char *kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

    static bool write(const QString &path, const QString &text)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
    }

    QTemporaryDir m_dir{QStringLiteral("/tmp/festiloom-cups-XXXXXX")};
    QProcess m_daemon;
    QStringList m_confs;
};

// One daemon for the whole program.
CupsDaemon *s_cups = nullptr;

class CupsEnvironment : public ::testing::Environment
{
    void SetUp() override { s_cups = new CupsDaemon; }
    void TearDown() override
    {
        delete s_cups;
        s_cups = nullptr;
    }
};
const auto *const kCupsEnvironment = ::testing::AddGlobalTestEnvironment(new CupsEnvironment);

// Picks `queue` on A4 in the open window, printing through CUPS.
void useQueue(Print_Wnd *w, const QString &queue)
{
    w->printInfo()->setOutputFileName(QString());
    w->printInfo()->setOutputFormat(QPrinter::NativeFormat);
    const int index = w->ui.Printer_ComboBox->findText(queue);
    EXPECT_GE(index, 0) << queue.toStdString();
    w->ui.Printer_ComboBox->setCurrentIndex(index);
    w->comboBoxSelectionDidChange(w->ui.Printer_ComboBox);
    w->printInfo()->setPageSize(QPageSize(QPageSize::A4));
    w->Set_values_From_Printer();
}

class CupsPrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!s_cups->skipReason.isEmpty())
            GTEST_SKIP() << s_cups->skipReason.toStdString();
    }

    // Opens the window, picks `queue` on A4 and runs `work`.
    void open(const QString &queue, const std::function<void(Print_Wnd *)> &work)
    {
        seam.onDialog([queue, work](QDialog *dialog) {
            auto *w = qobject_cast<Print_Wnd *>(dialog);
            useQueue(w, queue);
            work(w);
            return 0;
        });
        Print_Wnd::defaultInstance()->Open_Print_Wnd(design);
    }

    ScriptedModalSeam seam;
    FakePrintDesign design;
};

// A two-sided card of two records: the front's text bound to the series "front" (no value on
// card 2), the back's to the series "back" (no value on card 1).
class TwoSidedPrintDesign : public FakePrintDesign
{
public:
    // With `backRefused`, the back's series was too large to be read.
    explicit TwoSidedPrintDesign(bool backRefused = false)
    {
        sources.bound = sources.series = true;
        sources.seriesRows = 2;
        auto bound = [](const QString &series) {
            auto text = std::make_shared<LMNText>();
            text->setBounds(QRectF(10, 10, 100, 30));
            text->data_source_type = 1;
            text->batch_list_name = series;
            return text;
        };
        m_snapshot.cardSize = cardSize();
        m_snapshot.cardSides = QStringLiteral("2");
        m_snapshot.front = {bound(QStringLiteral("front"))};
        m_snapshot.back = {bound(QStringLiteral("back"))};
        m_snapshot.seriesNames = {QStringLiteral("front"), QStringLiteral("back")};
        m_snapshot.seriesValues = {{QStringLiteral("Ann"), QString()}, {QString(), QStringLiteral("Bob")}};
        if (backRefused) {
            m_snapshot.seriesValues[1].clear();
            m_snapshot.seriesRefusals.insert(QStringLiteral("back"),
                                             QStringLiteral("The series \"back\" is not read: it holds more than 5000000 values"));
        }
        m_snapshot.useSeries = true;
        m_snapshot.seriesRows = 2;
    }
    std::shared_ptr<const SheetCardSource> cards(bool, bool) override
    {
        return std::make_shared<RecordCardSource>(m_snapshot);
    }

private:
    CardSnapshot m_snapshot;
};

class CupsPrintCommandTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        if (!s_cups->skipReason.isEmpty())
            GTEST_SKIP() << s_cups->skipReason.toStdString();
        EditorWindowFixture::SetUp();
    }
};

} // namespace

TEST_F(CupsPrintTest, MarginsComeFromTheQueuesPpd)
{
    open(s_cups->marginQueue, [](Print_Wnd *w) {
        for (QLabel *margin : {w->ui.l_mar_id, w->ui.r_mar_id, w->ui.t_mar_id, w->ui.b_mar_id})
            EXPECT_EQ(margin->text(), "6.35");
        EXPECT_FLOAT_EQ(w->sheet().L, 18);
        EXPECT_FLOAT_EQ(w->sheet().T, 18);
    });
    open(s_cups->pdfQueue, [](Print_Wnd *w) { EXPECT_EQ(w->ui.l_mar_id->text(), "0.00"); });
}

// Page Setup opens on the paper, orientation and margins the window shows, on a queue whose
// own default paper is another (US Letter); OK without a change, or Cancel, changes nothing;
// what is changed in it reaches the window.
TEST_F(CupsPrintTest, PageSetupOpensOnTheWindowsPageAndAnUntouchedOkKeepsIt)
{
    ASSERT_EQ(QPrinterInfo::printerInfo(s_cups->letterQueue).defaultPageSize().id(), QPageSize::Letter);
    struct Row
    {
        const char *name;
        bool landscape;
        std::function<void(PageSetupWindow *)> change;   // none: untouched
        bool ok;
        QStringList expected;   // paper, size, orientation, left and top margins; empty: as before
    };
    const QList<Row> rows = {
        {"A4 portrait, OK", false, {}, true, {}},
        {"A4 landscape, OK", true, {}, true, {}},
        {"A4 portrait, Cancel", false, {}, false, {}},
        {"A5 chosen", false, [](PageSetupWindow *d) { d->paperList->setCurrentText(QStringLiteral("A5")); }, true,
         {"A5", "148.17 x 209.90", "Portrait", "6.35", "6.35"}},
        {"landscape chosen", false, [](PageSetupWindow *d) { d->orientationList->setCurrentIndex(1); }, true,
         {"A4", "297.04 x 209.90", "Landscape", "6.35", "6.35"}},
        {"wider margins", false,
         [](PageSetupWindow *d) {
             d->leftMargin->setValue(20);
             d->topMargin->setValue(12.5);
         },
         true, {"A4", "209.90 x 297.04", "Portrait", "20.00", "12.50"}},
        {"narrower margins than the printer's", false, [](PageSetupWindow *d) { d->leftMargin->setValue(1); }, true, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        open(s_cups->letterQueue, [&](Print_Wnd *w) {
            // The window keeps its printer's orientation from one opening to the next.
            w->printInfo()->setPageOrientation(row.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
            w->Set_values_From_Printer();
            const auto shown = [w] {
                return QStringList{w->ui.Paper_id->text(), w->ui.Size_id->text(), w->ui.Orient_ComboBox->currentText(),
                                   w->ui.l_mar_id->text(), w->ui.t_mar_id->text()};
            };
            const QStringList before = shown();
            EXPECT_EQ(before, row.landscape ? QStringList({"A4", "297.04 x 209.90", "Landscape", "6.35", "6.35"})
                                            : QStringList({"A4", "209.90 x 297.04", "Portrait", "6.35", "6.35"}));
            seam.onDialog([&](QDialog *dialog) {
                auto *d = qobject_cast<PageSetupWindow *>(dialog);
                EXPECT_NE(d, nullptr);
                if (!d)
                    return int(QDialog::Rejected);
                // The dialog shows the window's page.
                EXPECT_EQ(d->paperList->currentText(), "A4");
                EXPECT_EQ(d->orientationList->currentIndex(), row.landscape ? 1 : 0);
                for (QDoubleSpinBox *margin : {d->leftMargin, d->rightMargin, d->topMargin, d->bottomMargin})
                    EXPECT_NEAR(margin->value(), 6.35, 0.005);
                if (row.change)
                    row.change(d);
                QTest::mouseClick(d->buttons->button(row.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                                  Qt::LeftButton);
                return d->result();
            });
            QTest::mouseClick(w->ui.page_setup_btn, Qt::LeftButton);
            EXPECT_EQ(shown(), row.expected.isEmpty() ? before : row.expected);
        });
    }
}

TEST_F(CupsPrintTest, RefusingOrVanishedQueuesAreReportedNotPrinted)
{
    const int before = CupsQueue::lastJobId(s_cups->refusingQueue);
    open(s_cups->refusingQueue, [](Print_Wnd *w) { QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton); });
    ASSERT_EQ(seam.messageTexts().size(), 1);
    EXPECT_TRUE(seam.messageTexts()[0].contains(s_cups->refusingQueue));
    EXPECT_TRUE(seam.messageTexts()[0].contains("Paper tray removed")) << seam.messageTexts()[0].toStdString();
    EXPECT_EQ(CupsQueue::lastJobId(s_cups->refusingQueue), before);

    // A queue deleted between opening and Print.
    const QString gone = s_cups->refusingQueue;
    open(gone, [gone](Print_Wnd *w) {
        ASSERT_TRUE(s_cups->admin({QStringLiteral("-x"), gone}));
        QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
    });
    ASSERT_EQ(seam.messageTexts().size(), 2);
    EXPECT_TRUE(seam.messageTexts()[1].contains(QStringLiteral("The printer \"%1\" is not available.").arg(gone)));
    s_cups->addQueue(gone);   // back for a later repeat
}

// The end of a print says which values the printed cards lacked: those of the sides printed.
TEST_F(CupsPrintTest, EndReportNamesTheMissingValuesOfThePrintedSides)
{
    QTemporaryDir data;
    const QString dataFolder = std::exchange(Data_Folder_Path, data.path());
    const struct
    {
        const char *side;
        bool backRefused;
        QString report;
    } cases[] = {
        {"F", false, "\n2 cards were printed.\nCard 2: no value for the text bound to series front."},
        {"B", false, "\n2 cards were printed.\nCard 1: no value for the text bound to series back."},
        {"BOTH", false, "\n2 cards were printed.\nCard 2: no value for the text bound to series front."
                        "\nCard 1: no value for the text on the back bound to series back."},
        {"B", true, "\n2 cards were printed.\nThe series \"back\" is not read: it holds more than 5000000 values."
                    "\nCards 1\u20132: no value for the text bound to series back."},
    };
    const QString queue = s_cups->pdfQueue;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.side);
        seam.messages.clear();
        const QString side = QLatin1String(c.side);
        seam.onDialog([&](QDialog *dialog) {
            auto *w = qobject_cast<Print_Wnd *>(dialog);
            useQueue(w, queue);
            EXPECT_TRUE(w->ui.print_with_batch_chk->isChecked());
            QAbstractButton *button = side == QLatin1String("F")   ? w->ui.side_front_rb
                                      : side == QLatin1String("B") ? w->ui.side_back_rb
                                                                   : w->ui.side_both_rb;
            button->click();
            EXPECT_EQ(w->card_side_str, side);
            QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
            return 0;
        });
        TwoSidedPrintDesign twoSided(c.backRefused);
        Print_Wnd::defaultInstance()->Open_Print_Wnd(twoSided);
        EXPECT_EQ(seam.messageTexts().join(QLatin1Char('|')).toStdString(), c.report.toStdString());
    }
    Data_Folder_Path = dataFolder;
}

TEST_F(CupsPrintCommandTest, PrintCommandPrintsOneGuestPerCellAndPutsRecordZeroBack)
{
    startWithCard();
    ASSERT_TRUE(DataSeries::writeValues(QStringLiteral("guests"), {"G1", "G2", "G3"}, DataSeries::WriteMode::Replace));
    const GraphicPtr ticket = seriesBarcode(QStringLiteral("guests"), QRectF(10, 10, 120, 60));
    m_window->Get_Front_Controls_Array().prepend(ticket);
    Card_Front_Or_Back = 1;

    const QString queue = s_cups->pdfQueue;
    const int before = CupsQueue::lastJobId(queue);
    m_seam.onDialog([queue](QDialog *dialog) {
        auto *w = qobject_cast<Print_Wnd *>(dialog);
        EXPECT_TRUE(w->ui.print_with_batch_chk->isChecked());
        EXPECT_EQ(w->ui.Total_Text->value(), 3);
        useQueue(w, queue);
        w->ui.Row_Text->setValue(2);
        QTest::mouseClick(w->ui.Print_btn, Qt::LeftButton);
        return 0;
    });
    m_window->Print_Button();

    // The side in work and record 0 in the front, as before the print.
    EXPECT_EQ(Card_Front_Or_Back.load(), 1);
    Card_Front_Or_Back = 0;
    EXPECT_EQ(ticket->Text_Value, "G1");
    const int job = CupsQueue::lastJobId(queue);
    ASSERT_GT(job, before);
    const QString pdf = s_cups->pdfOfJob(queue, job);
    ASSERT_FALSE(pdf.isEmpty()) << s_cups->errorLog().right(2000).toStdString();
    ASSERT_EQ(pdfPages(pdf), 2);
    EXPECT_TRUE(pdfInfo(pdf, "Page size").startsWith("595")) << pdfInfo(pdf, "Page size").toStdString();
    // Two rows of one column: two sheets, the last cell empty.
    const SheetLayout layout = Print_Wnd::defaultInstance()->sheetLayout(QSizeF(595, 842));
    ASSERT_EQ(layout.rows * layout.cols, 2);
    EXPECT_EQ(cellCodes(pdf, 1, layout, m_window->cardSize()), (std::vector<std::string>{"G1", "G2"}));
    EXPECT_EQ(cellCodes(pdf, 2, layout, m_window->cardSize()), (std::vector<std::string>{"G3", ""}));
}
