#include "output/ui/PrintCommands.h"

#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNRenderingView.h"
#include "document/MessageLog.h"
#include "document/ui/MessageBoxes.h"
#include "editor/ui/LMNWindowController.h"
#include "output/PlainCardSource.h"
#include "output/PrintDesign.h"
#include "output/ui/Print_Wnd.h"

#include <QPrinterInfo>

#include <exception>

namespace {

// The open design as the print setup window sees it.
class EditorPrintDesign : public PrintDesign
{
public:
    explicit EditorPrintDesign(LMNWindowController *window)
        : m_window(window)
    {
    }

    DataSources dataSources() override { return {}; }

    QSizeF cardSize() const override { return m_window->cardSize(); }

    QImage sideImage(int side) override
    {
        LMNRenderingView renderer(m_window->cardSize(), m_window->backgroundPainterForSide(side),
                                  DrawContext{Resource_Path, 1.0});
        return renderer.image_From_Card_Graphics(
            side != 0 ? m_window->Get_Back_Controls_Array() : m_window->Get_Front_Controls_Array(), 0);
    }

    std::shared_ptr<const SheetCardSource> cards(bool, bool) override
    {
        return std::make_shared<PlainCardSource>(m_window->cardSize(), m_window->Get_Front_Controls_Array(),
                                                 m_window->Get_Back_Controls_Array(),
                                                 m_window->backgroundPainterForSide(0),
                                                 m_window->backgroundPainterForSide(1),
                                                 DrawContext{Resource_Path, 1.0});
    }

    void restoreFirstRecord() override {}

private:
    LMNWindowController *m_window;
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
            Show_MessageBox(QStringLiteral("No printer found."));
            return;
        }
        Print_Wnd::defaultInstance()->Open_Print_Wnd(design);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

void Print_Button(LMNWindowController *window)
{
    EditorPrintDesign design(window);
    openPrintWindow(design);
}

} // namespace PrintCommands
