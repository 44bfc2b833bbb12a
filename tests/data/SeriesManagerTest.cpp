// The data-series manager through its real window, on an editor window with a card: saving,
// renaming and replacing, the in-use refusals, deleting, the replace-or-add prompt with the
// generator, editing a value and both exports (the workbook read back by openpyxl).

#include "DataTestSupport.h"
#include "editor/EditorWindowFixture.h"

#include "data/DataSeries.h"
#include "data/ui/BatchWizard.h"
#include "data/ui/Generate_List.h"
#include "data/ui/Import_Wizard.h"
#include "data/ui/Load_Num_Info.h"
#include "data/ui/SeriesListModel.h"
#include "data/ui/Update_Ex_Num.h"
#include "document/DocumentGlobals.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/EditorGlobals.h"
#include "dialogs/ui/Open_Export_Files.h"

#include <QMenuBar>

using namespace DataTest;

namespace {

class SeriesManagerTest : public EditorWindowFixture
{
protected:
    void SetUp() override
    {
        EditorWindowFixture::SetUp();
        startWithCard();
        m_manager = BatchWizard::defaultInstance();
    }

    // Runs the manager; `steps` act on its window while it is open.
    void run(const std::function<void(BatchWizard *)> &steps)
    {
        m_seam.onDialog([steps](QDialog *dialog) {
            steps(qobject_cast<BatchWizard *>(dialog));
            return dialog->result();
        });
        m_manager->Open_Wnd();
    }
    void selectRows(QTableView *table, const QList<int> &rows)
    {
        table->clearSelection();
        for (int row : rows)
            table->selectionModel()->select(table->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void openSeries(BatchWizard *m, const QString &name)
    {
        selectRows(m->ui.List, {int(m->ListData->values().indexOf(name))});
        m->ui.Update_Btn->click();
    }
    QString file(const QString &name) const { return DataSeries::filePath(name); }
    void bindOnCard(const QString &series)
    {
        m_window->setSelected_Control_Tool(2);
        m_window->_graphicView->createGraphicOfClass(GraphicKind::Text, nullptr, true, QRectF(10, 10, 80, 20), "F",
                                                     "x", "BOUND");
        GraphicPtr text = findById("BOUND");
        ASSERT_NE(text, nullptr);
        text->data_source_type = 1;
        text->batch_list_name = series;
    }
    // Scripts the generator: constant `value` `count` times.
    void generateConstant(const QString &value, const QString &count)
    {
        m_seam.onDialog([value, count](QDialog *dialog) {
            auto *generator = qobject_cast<Generate_List *>(dialog);
            generator->ui.radioButton_Constant->click();
            generator->ui.value_txt->setText(value);
            generator->ui.count_txt->setText(count);
            generator->ui.ok_btn->click();
            return dialog->result();
        });
    }

    BatchWizard *m_manager = nullptr;
};

TEST_F(SeriesManagerTest, SaveRenameAndReplaceWriteTheNewFileBeforeTheOldGoes)
{
    ASSERT_TRUE(DataSeries::writeValues("Other", {"o"}, DataSeries::WriteMode::Replace));
    m_seam.answerMessages({"No", "Yes"});
    run([&](BatchWizard *m) {
        m->ui.AddNew_Btn->click();
        EXPECT_EQ(m->ui.batch_list_name->text(), "Untitled");
        m->addValues({" a ", "b", "  "});
        EXPECT_EQ(m->ui.batch_value_count->text(), "Total Rows : 2");
        m->ui.Save_Btn->click();
        EXPECT_EQ(readFile(file("Untitled")), "a\nb\n");
        EXPECT_EQ(m->ui.batch_list_count->text(), "Total List : 2");

        openSeries(m, "Untitled");
        m->ui.batch_list_name->setText("B");
        m->ui.Save_Btn->click();   // a rename: B written, then Untitled removed
        EXPECT_FALSE(QFileInfo::exists(file("Untitled")));
        EXPECT_EQ(m->ListData->values(), QStringList({"B", "Other"}));

        openSeries(m, "B");
        m->ui.batch_list_name->setText("Other");
        m->ui.Save_Btn->click();   // No: both stay as they were, the values stay on screen
        EXPECT_EQ(readFile(file("Other")), "o\n");
        EXPECT_TRUE(m->ui.list_value_box->isVisibleTo(m));
        m->ui.Save_Btn->click();   // Yes: Other takes B's values, B is kept
        EXPECT_EQ(readFile(file("Other")), "a\nb\n");
        EXPECT_EQ(readFile(file("B")), "a\nb\n");

        m->ui.AddNew_Btn->click();
        m->addValues({"v"});
        for (const char *bad : {"..", "  ", "../../x"}) {
            m->ui.batch_list_name->setText(bad);
            m->ui.Save_Btn->click();
        }
        m->ui.Close_2_Btn->click();
    });
    const QStringList texts = m_seam.messageTexts();
    // ".." and an empty name are refused; "../../x" loses its separators or is refused, and
    // nothing is written outside the data-series folder.
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts.at(0), "Batch Processing Series already exists. Do you want to replace it?");
    for (int i = 2; i < 4; ++i)
        EXPECT_TRUE(texts.at(i).contains("name")) << texts.at(i).toStdString();
    EXPECT_TRUE(QDir(Data_Folder_Path).entryList(QDir::Files).contains("B.txt"));
    EXPECT_FALSE(QFileInfo::exists(QDir(Resource_Path).filePath("x.txt")));
    EXPECT_FALSE(QFileInfo::exists(QDir(Resource_Path).filePath("../x.txt")));
}

TEST_F(SeriesManagerTest, SeriesInUseAreNeitherUpdatedNorDeletedAndTheFreeOnesGo)
{
    for (const char *name : {"Free1", "Guests", "Free2"})
        ASSERT_TRUE(DataSeries::writeValues(name, {"v"}, DataSeries::WriteMode::Replace));
    bindOnCard("Guests");
    m_seam.answerMessages({"OK", "Yes", "OK", "OK"});
    run([&](BatchWizard *m) {
        openSeries(m, "Guests");
        m->ui.Save_Btn->click();
        m->ui.Back_Btn->click();
        selectRows(m->ui.List, {0, 1, 2});
        m->ui.Delete_List_Btn->click();
        EXPECT_EQ(m->ListData->values(), QStringList({"Guests"}));
        EXPECT_EQ(m->ui.batch_list_count->text(), "Total List : 1");
        selectRows(m->ui.List, {0});
        m->ui.Delete_List_Btn->click();
        m->ui.Close_Btn->click();
    });
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nBatch Processing Series can't be update because it is currently in use.",
                           "Are you sure want to delete selected Batch Processing Series?",
                           "\nBatch Processing Series can't be delete because it is currently in use.\nGuests",
                           "\nBatch Processing Series can't be delete because it is currently in use."}));
    EXPECT_TRUE(QFileInfo::exists(file("Guests")));
    EXPECT_FALSE(QFileInfo::exists(file("Free1")));
}

TEST_F(SeriesManagerTest, ReplaceOrAddPromptAndEditingOneValue)
{
    const auto prompt = [this](int answer) {
        m_seam.onDialog([answer](QDialog *dialog) {
            auto *box = qobject_cast<Load_Num_Info *>(dialog);
            QPushButton *buttons[] = {box->ui.no_btn, box->ui.yes_btn, box->ui.cancel_btn};
            buttons[answer]->click();
            return dialog->result();
        });
    };
    const auto editRow = [this](BatchWizard *m, int row, const QStringList &texts) {
        m_seam.onDialog([texts](QDialog *dialog) {
            auto *edit = qobject_cast<Update_Ex_Num *>(dialog);
            for (const QString &text : texts) {
                edit->ui.m_ex_num_str->setText(text);
                edit->ui.ok_btn->click();
            }
            return dialog->result();
        });
        selectRows(m->ui.List_value, {row});
        m->doubleClickInTable(m->ui.List_value);
    };
    m_seam.answerMessages({"OK"});
    run([&](BatchWizard *m) {
        m->ui.AddNew_Btn->click();
        generateConstant("a", "2");   // an empty list asks nothing
        m->ui.Series_Value_Btn->click();
        prompt(Load_Num_Info::Cancelled);
        const int runs = int(m_seam.dialogsRun.size());
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m_seam.dialogsRun.size(), runs + 1);   // the prompt only
        prompt(Load_Num_Info::Add);
        generateConstant("x", "1");
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m->ListData_value->values(), QStringList({"a", "a", "x"}));
        prompt(Load_Num_Info::Replace);
        generateConstant("y", "2");
        m->ui.Series_Value_Btn->click();
        EXPECT_EQ(m->ListData_value->values(), QStringList({"y", "y"}));

        editRow(m, 1, {"   ", " z "});
        editRow(m, 0, {"y"});
        EXPECT_EQ(m->ListData_value->values(), QStringList({"y", "z"}));
        selectRows(m->ui.List_value, {0, 1});
        m->doubleClickInTable(m->ui.List_value);
        selectRows(m->ui.List_value, {0});
        m->ui.Delete_Rows_Btn->click();
        EXPECT_EQ(m->ui.batch_value_count->text(), "Total Rows : 1");
        m->ui.Close_2_Btn->click();
    });
    EXPECT_EQ(m_seam.messageTexts(),
              QStringList({"\nPlease enter a valid value.", "\nPlease select only one record to update."}));
}

TEST_F(SeriesManagerTest, ExportsAWorkbookOrASeriesFileAndReportsAFailedWrite)
{
    const QDir out(m_resources.path());
    m_seam.chooseFiles({out.filePath("values"), out.filePath("values.txt"), out.filePath("missing/v.xlsx")});
    int panels = 0;
    QString panelPath;
    m_seam.answerMessages({"OK"});
    m_seam.onDialog([&](QDialog *dialog) {
        auto *m = qobject_cast<BatchWizard *>(dialog);
        m->ui.AddNew_Btn->click();
        m->addValues({"7", "0042", "Zoë", "x y"});
        const auto panel = [&] {
            m_seam.onDialog([&](QDialog *p) {
                auto *shown = qobject_cast<Open_Export_Files *>(p);
                EXPECT_NE(shown, nullptr);
                if (shown)
                    panelPath = shown->ui._open_log_path->text();
                ++panels;
                return int(QDialog::Accepted);
            });
        };
        panel();
        m->ui.Export_Value_Btn->click();
        EXPECT_EQ(panelPath, out.filePath("values.xlsx"));
        panel();
        m->ui.Export_Value_Btn->click();
        m->ui.Export_Value_Btn->click();   // a folder that does not exist
        m->ui.Close_2_Btn->click();
        return dialog->result();
    });
    m_manager->Open_Wnd();
    EXPECT_EQ(panels, 2);
    EXPECT_EQ(panelPath, out.filePath("values.txt"));
    EXPECT_EQ(readFile(out.filePath("values.txt")), QStringLiteral("7\n0042\nZoë\nx y\n").toUtf8());
    ASSERT_EQ(m_seam.messages.size(), 1);
    EXPECT_TRUE(m_seam.messages.at(0).text.startsWith("\nError in file accessing.\n"));
    EXPECT_EQ(python("import sys, openpyxl\n"
                     "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                     "print([c.value for row in ws.iter_rows() for c in row])\n",
                     {out.filePath("values.xlsx")}),
              QStringLiteral("['Batch Value', 7, '0042', 'Zoë', 'x y']\n").toUtf8());
}

} // namespace

namespace {

TEST_F(SeriesManagerTest, DataMenuOpensTheManagerTheGeneratorAndTheImportWizard)
{
    QMenu *data = nullptr;
    for (QAction *menu : m_window->menuBar()->actions())
        if (menu->text().remove('&') == "Data")
            data = menu->menu();
    ASSERT_NE(data, nullptr);
    QStringList opened;
    for (int i = 0; i < 3; ++i)
        m_seam.onDialog([&opened](QDialog *dialog) {
            QString name = QString::fromLatin1(dialog->metaObject()->className());
            if (auto *generator = qobject_cast<Generate_List *>(dialog))
                name += QStringLiteral(" %1 %2").arg(generator->file_name_required).arg(generator->file_name_Insert);
            if (auto *wizard = qobject_cast<Import_Wizard *>(dialog))
                name += QStringLiteral(" %1 %2").arg(wizard->file_name_required).arg(wizard->file_name_Insert);
            opened << name;
            return int(QDialog::Rejected);
        });
    for (QAction *action : data->actions()) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        action->trigger();
    }
    EXPECT_EQ(opened, QStringList({"BatchWizard", "Generate_List 1 0", "Import_Wizard 1 0"}));
}

} // namespace
