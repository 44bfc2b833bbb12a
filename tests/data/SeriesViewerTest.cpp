// The data-series viewer and the data-source services of the property panel: rows, count,
// trimming, a deleted file, the combo lists and the view button.

#include "DataTestSupport.h"

#include "data/DataSeries.h"
#include "data/SpreadsheetTable.h"
#include "data/ui/DataSourceServices.h"
#include "data/ui/View_Data_Series.h"
#include "document/DocumentGlobals.h"

#include <QComboBox>
#include <QTest>

using namespace DataTest;

namespace {

class SeriesViewerTest : public DataFolderTest
{
protected:
    // Opens the viewer on `name` through the view button; returns the rows shown and the count.
    QStringList view(const QString &name, QString *count)
    {
        QComboBox source, series;
        source.addItems({"Manual", "Series"});
        source.setCurrentIndex(1);
        series.addItem(name);
        QStringList rows;
        m_seam.onDialog([&](QDialog *dialog) {
            auto *viewer = qobject_cast<View_Data_Series *>(dialog);
            EXPECT_NE(viewer, nullptr);
            if (!viewer)
                return 0;
            EXPECT_EQ(viewer->ui.series_name->text(), name);
            for (int r = 0; r < viewer->ui.List->rowCount(); ++r)
                rows << viewer->ui.List->item(r, 0)->text();
            *count = viewer->ui.list_count->text();
            QTest::mouseClick(viewer->ui.OK_Btn, Qt::LeftButton);
            return viewer->result();
        });
        DataSourceServices::View_batch_Series_Button(&source, &series);
        return rows;
    }
};

TEST_F(SeriesViewerTest, RowsCountTrimmingAndMissingFiles)
{
    writeFile(DataSeries::filePath("guests"), "  Ann \r\nBob\n\n Cyd\n\n");
    struct Case
    {
        QString name;
        QStringList rows;
        QString count;
    };
    const Case cases[] = {
        {"guests", {"Ann", "Bob", "Cyd"}, "Total Rows : 3"},
        {"deleted", {}, "Total Rows : 0"},
        {"../DataSet/guests", {}, "Total Rows : 0"},   // only series of the data folder
    };
    for (const Case &c : cases) {
        QString count;
        EXPECT_EQ(view(c.name, &count), c.rows) << c.name.toStdString();
        EXPECT_EQ(count, c.count) << c.name.toStdString();
    }

    // No series chosen: a message, no viewer.
    QComboBox source, series;
    source.addItems({"Manual", "Series"});
    source.setCurrentIndex(1);
    DataSourceServices::View_batch_Series_Button(&source, &series);
    EXPECT_EQ(m_seam.messageTexts(), QStringList{"\nPlease select the series."});
    source.setCurrentIndex(0);   // "Manual": nothing at all
    DataSourceServices::View_batch_Series_Button(&source, &series);
    EXPECT_EQ(m_seam.messages.size(), 1);
    EXPECT_EQ(m_seam.dialogsRun.size(), 3);
}

TEST_F(SeriesViewerTest, ComboListsAndFirstValues)
{
    ASSERT_TRUE(DataSeries::writeValues("b", {" first ", "second"}, DataSeries::WriteMode::Replace));
    ASSERT_TRUE(DataSeries::writeValues("a", {"x"}, DataSeries::WriteMode::Replace));
    SpreadsheetTable &table = SpreadsheetTable::live();
    table = {};
    table.titles = {"#", "Name", "Town"};
    table.appendRecord({"Ann", "Oslo"}, 2);

    QComboBox combo;
    combo.addItem("stale");
    DataSourceServices::Fill_Data_Set_File_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), DataSeries::Get_datasheet_File_Name_Array().at(0));
    DataSourceServices::Fill_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.itemText(2), "Town");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Dataset("b"), " first ");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Dataset("gone"), "");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(0), "1");
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(2), "Oslo");
    table = {};
    EXPECT_EQ(DataSourceServices::Get_First_Value_Of_Excel_Binding(1), "");

    QComboBox source;
    source.addItems({"Manual", "Series"});
    DataSourceServices::Add_Excel_Col_Name_In_Combo(&source);
    DataSourceServices::Add_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 3);
    DataSourceServices::Remove_Excel_Col_Name_In_Combo(&source);
    DataSourceServices::Remove_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 2);
}

} // namespace
