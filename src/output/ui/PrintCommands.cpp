#include "output/ui/PrintCommands.h"

#include "data/DataBinding.h"
#include "data/DataGlobals.h"
#include "data/ui/CardSnapshotTaker.h"
#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNRenderingView.h"
#include "document/MessageLog.h"
#include "dialogs/ui/MessageBoxes.h"
#include "document/EditorHost.h"
#include "output/RecordCardSource.h"
#include "output/PrintDesign.h"
#include "output/ui/Print_Wnd.h"

#include <QPrinterInfo>

#include <exception>

namespace {

// The open design as the print setup window sees it.
class EditorPrintDesign : public PrintDesign
{
public:
    explicit EditorPrintDesign(EditorHost *window)
        : m_window(window)
    {
    }

    DataSources dataSources() override
    {
        CardSnapshotTaker::checkSources(*m_window);
        const bool twoSided = m_window->twoSided();
        DataSources sources;
        for (int type : {1, 2})
            sources.bound = sources.bound || DataBinding::sideUses(m_window->sideElements(0), type)
                            || (twoSided && DataBinding::sideUses(m_window->sideElements(1), type));
        sources.series = Use_Data_Sheet_Values;
        sources.spreadsheet = Use_Excel_Binding_Values;
        sources.seriesRows = Data_table_rows;
        sources.spreadsheetRows = Excel_table_rows;
        return sources;
    }

    QSizeF cardSize() const override { return m_window->cardSize(); }

    QImage sideImage(int side) override
    {
        LMNRenderingView renderer(m_window->cardSize(), m_window->backgroundPainterForSide(side),
                                  DrawContext{Resource_Path, 1.0, {}});
        return renderer.image_From_Card_Graphics(
            m_window->sideElements(side), 0);
    }

    // A snapshot through the record-to-card road; with both sources off it holds the
    // design's own values and every cell shows them.
    std::shared_ptr<const SheetCardSource> cards(bool useSeries, bool useSpreadsheet) override
    {
        CardSnapshotTaker::checkSources(*m_window);
        Use_Data_Sheet_Values = Use_Data_Sheet_Values && useSeries;
        Use_Excel_Binding_Values = Use_Excel_Binding_Values && useSpreadsheet;
        DataBinding::Get_total_Card_count();
        return std::make_shared<RecordCardSource>(CardSnapshotTaker::take(*m_window));
    }

    void restoreFirstRecord() override { CardSnapshotTaker::Select_first_row_value_for_design(*m_window, 1); }

private:
    EditorHost *m_window;
};

} // namespace

namespace PrintCommands {

void openPrintWindow(PrintDesign &design)
{
    try {
        const PrintDesign::DataSources sources = design.dataSources();
        if (sources.bound && sources.records(true, true) == 0) {
            Show_MessageBox(QStringLiteral("List is empty."));
            return;
        }
        if (QPrinterInfo::availablePrinterNames().isEmpty()) {
            Show_Warning_MessageBox(QStringLiteral("No printer found."));
            return;
        }
        Print_Wnd::defaultInstance()->Open_Print_Wnd(design);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

void Print_Button(EditorHost *window)
{
    EditorPrintDesign design(window);
    openPrintWindow(design);
}

} // namespace PrintCommands
