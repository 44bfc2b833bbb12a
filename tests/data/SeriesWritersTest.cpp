// The series generator and the import wizard through their real windows: values written as
// a series or handed to the manager, refusals that keep the dialog open, the replace
// question, a failing write that keeps the old series, and each import source on files
// made by real programs.

#include "DataTestSupport.h"

#include "data/DataSeries.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/SeriesListModel.h"
#include "data/ui/SeriesDialogSupport.h"
#include "document/DocumentGlobals.h"
#include "dialogs/ui/PleaseWaitSheet.h"

#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>

#include <csignal>
#include <sys/resource.h>

using namespace DataTest;

namespace {

class SeriesWritersTest : public DataFolderTest
{
protected:
    void SetUp() override
    {
        DataFolderTest::SetUp();
        BatchWizard::defaultInstance()->ListData_value->setValues({});
    }
    // Opens the dialog with the flags and runs `steps` in it; returns its modal result.
    template<typename Dialog>
    int run(int required, const std::function<void(Dialog *)> &steps)
    {
        Dialog *dialog = Dialog::defaultInstance();
        dialog->file_name_required = required;
        dialog->file_name_Insert = 0;
        m_seam.onDialog([steps](QDialog *d) {
            steps(qobject_cast<Dialog *>(d));
            return d->result();
        });
        return dialog->Open_Wnd();
    }
    QByteArray series(const QString &name) const { return readFile(DataSeries::filePath(name)); }
    QStringList managerValues() const { return BatchWizard::defaultInstance()->ListData_value->values(); }
};

TEST_F(SeriesWritersTest, GeneratorWritesSeriesAsksBeforeReplacingAndRefusesBadInput)
{
    ASSERT_TRUE(DataSeries::writeValues("Untitled", {"old"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"OK", "No", "Yes"});
    EXPECT_EQ(run<Generate_List>(1,
                                 [](Generate_List *g) {
                                     EXPECT_EQ(g->ui.seq_file_name->text(), "Untitled");
                                     EXPECT_FALSE(g->ui.value_txt->isEnabled());
                                     g->ui.to_txt->setText("10");
                                     g->ui.ok_btn->click();   // From missing
                                     EXPECT_EQ(g->result(), 0);
                                     g->ui.from_txt->setText("1");
                                     g->ui.manage_digit_chk->setChecked(true);
                                     g->ui.ok_btn->click();   // No: nothing written, still open
                                     EXPECT_EQ(g->result(), 0);
                                     g->ui.ok_btn->click();   // Yes
                                 }),
              1);
    EXPECT_EQ(series("Untitled"), "01\n02\n03\n04\n05\n06\n07\n08\n09\n10\n");
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nPlease enter valid 'From' value.",
                                                  "Batch Processing Series already exists. Do you want to replace it?",
                                                  "Batch Processing Series already exists. Do you want to replace it?"}));

    // Typed numbers are cleaned; the random values go to the manager's list.
    m_seam.messages.clear();
    EXPECT_EQ(run<Generate_List>(0,
                                 [](Generate_List *g) {
                                     EXPECT_TRUE(g->ui.seq_file_name->isHidden());
                                     g->ui.radioButton_Random->click();
                                     EXPECT_FALSE(g->ui.from_txt->isEnabled());
                                     g->ui.rand_count_txt->clear();
                                     QTest::keyClicks(g->ui.rand_count_txt, "123456");
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "10000");
                                     EXPECT_EQ(g->ui.rand_count_stepper->value(), 10000);
                                     g->ui.rand_count_txt->selectAll();
                                     QTest::keyClicks(g->ui.rand_count_txt, "0");
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "1");
                                     g->ui.rand_count_stepper->setValue(3);
                                     EXPECT_EQ(g->ui.rand_count_txt->text(), "3");
                                     g->ui.rand_length_txt->selectAll();
                                     QTest::keyClicks(g->ui.rand_length_txt, "12");
                                     EXPECT_EQ(g->ui.rand_length_txt->text(), "1");
                                     g->ui.ok_btn->click();
                                 }),
              1);
    ASSERT_EQ(managerValues().size(), 3);
    for (const QString &value : managerValues())
        EXPECT_TRUE(value.size() == 1 && value != "0") << value.toStdString();
    EXPECT_TRUE(m_seam.messages.isEmpty());
}

TEST_F(SeriesWritersTest, AFailingWriteKeepsTheOldSeriesAndTheHelpBoxExplainsZeroFilling)
{
    ASSERT_TRUE(DataSeries::writeValues("Big", {"kept"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"OK", "Yes", "OK"});
    // Files may grow to 64 bytes only (root ignores permissions; the size limit holds).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 64;
    run<Generate_List>(1, [&](Generate_List *g) {
        g->ui.help_btn->click();
        g->ui.seq_file_name->setText("Big");
        g->ui.from_txt->setText("1");
        g->ui.to_txt->setText("500");
        setrlimit(RLIMIT_FSIZE, &small);
        g->ui.ok_btn->click();
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_EQ(g->result(), 0);
        g->ui.cancel_btn->click();
    });
    EXPECT_EQ(series("Big"), "kept\n");
    ASSERT_EQ(m_seam.messages.size(), 3);
    EXPECT_EQ(m_seam.messages.at(0).text, "Maintain number of Digits By adding 0's before smaller values. ");
    EXPECT_TRUE(m_seam.messages.at(0).informativeText.startsWith("For example:\r\nIf you have to generate"));
    EXPECT_TRUE(m_seam.messages.at(2).text.startsWith("\nError in file accessing.\n"));
    EXPECT_EQ(QDir(Data_Folder_Path).entryList(QDir::Files), QStringList({"Big.txt"}));
}

TEST_F(SeriesWritersTest, WizardSourcesOnRealFilesWriteOrHandOnTheirValues)
{
    const QDir dir(m_dir.path());
    writeFile(dir.filePath("plain.txt"), QStringLiteral("Zoë\n\n b \n").toUtf8());
    writeFile(dir.filePath("utf16.txt"), TestHelpers::runProgram("iconv", {"-f", "UTF-8", "-t", "UTF-16", dir.filePath("plain.txt")}));
    python("import csv, sys\n"
           "with open(sys.argv[1], 'w', newline='') as f:\n"
           "    csv.writer(f).writerows([['a', 'Smith, John'], ['c']])\n",
           {dir.filePath("list.csv")});
    writeFile(dir.filePath("junk.csv"), QByteArray("\x00\x01\x02\x03junk\x00", 9));
    dir.mkpath("pics/sub.png");
    writeFile(dir.filePath("pics/b.png"), "x");
    writeFile(dir.filePath("pics/a.JPG"), "x");
    writeFile(dir.filePath("pics/notes.txt"), "x");

    // A text file chosen in the browser is imported at once; a cancelled browser changes nothing.
    EXPECT_EQ(run<Import_Wizard>(1,
                                 [&](Import_Wizard *w) {
                                     w->ui.Excel_btn->click();   // cancelled: nothing chosen
                                     EXPECT_TRUE(w->ui.Excel_path->text().isEmpty());
                                     w->ui.Text_RD->click();
                                     EXPECT_EQ(w->ui.Text_file_name->text(), "Untitled");
                                     w->ui.Text_file_name->setText("Guests");
                                     m_seam.chooseFiles({dir.filePath("utf16.txt")});
                                     w->ui.Text_btn->click();
                                 }),
              1);
    EXPECT_EQ(series("Guests"), QStringLiteral("Zoë\nb\n").toUtf8());

    // Junk is refused and the wizard stays open; the CSV's values go to the manager.
    m_seam.answerMessages({"OK"});
    m_seam.chooseFiles({dir.filePath("junk.csv"), dir.filePath("list.csv")});
    EXPECT_EQ(run<Import_Wizard>(0,
                                 [](Import_Wizard *w) {
                                     EXPECT_TRUE(w->ui.Text_file_name->isHidden());
                                     w->ui.Text_RD->click();
                                     w->ui.Text_btn->click();
                                     EXPECT_EQ(w->result(), 0);
                                     w->ui.Text_btn->click();
                                 }),
              1);
    EXPECT_EQ(managerValues(), QStringList({"a", "Smith, John", "c"}));
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nEither file is corrupted or selected file contains invalid characters."}));

    // Typed text keeps inner lines as typed; a picture folder gives its pictures' paths.
    m_seam.messages.clear();
    m_seam.answerMessages({"OK"});
    run<Import_Wizard>(1, [](Import_Wizard *w) {
        w->ui.Mnul_RD->click();
        w->ui.ok_btn->click();   // nothing typed
        w->ui.ManualEdit->setPlainText("  one\n\n two \n");
        w->ui.Manual_file_name->setText("Typed");
        w->ui.ok_btn->click();
    });
    EXPECT_EQ(series("Typed"), "one\n two\n");
    m_seam.answerMessages({"OK"});
    m_seam.chooseFiles({dir.filePath("pics/b.png"), dir.filePath("pics")});
    run<Import_Wizard>(1, [](Import_Wizard *w) {
        w->ui.Image_RD->click();
        w->ui.Image_file_name->setText("Photos");
        w->ui.Image_btn->click();   // a file, not a folder
        EXPECT_EQ(w->result(), 0);
        w->ui.Image_btn->click();
    });
    EXPECT_EQ(series("Photos"), (dir.filePath("pics/a.JPG") + "\n" + dir.filePath("pics/b.png") + "\n").toUtf8());
    EXPECT_EQ(m_seam.messageTexts(), QStringList({"\nPlease enter some data.",
                                                  "\nThe folder \"" + dir.filePath("pics/b.png") + "\" cannot be read."}));
}

} // namespace

namespace {

TEST(SeriesDialogSupportTest, StopOnThePleaseWaitSheetThrowsTheResultAway)
{
    PleaseWaitSheet sheet;
    std::atomic<bool> stopPressed{false};
    QObject::connect(sheet.ui.stop_btn, &QPushButton::clicked, [&] { stopPressed = true; });
    QTimer::singleShot(0, sheet.ui.stop_btn, &QPushButton::click);
    int result = 0;
    EXPECT_FALSE(SeriesDialogs::runBehindSheet(&sheet, [&] {
        while (!stopPressed)
            QThread::yieldCurrentThread();
        result = 1;
    }));
    EXPECT_EQ(result, 1);   // the work ended before the call returned
    EXPECT_TRUE(sheet.isHidden());
    EXPECT_TRUE(SeriesDialogs::runBehindSheet(&sheet, [&] { result = 2; }));
    EXPECT_EQ(result, 2);

    // Removing many values from the list is one pass.
    SeriesListModel model("Value");
    QStringList values;
    for (int i = 0; i < 1000; ++i)
        values << QString::number(i);
    model.setValues(values);
    QList<int> odd;
    for (int i = 999; i >= 0; i -= 2)
        odd << i;
    model.removeRowList(odd);
    ASSERT_EQ(model.rowCount(), 500);
    EXPECT_EQ(model.value(0), "0");
    EXPECT_EQ(model.value(499), "998");
}

} // namespace
