#include "editor/ui/EditorMailCardSource.h"

#include "document/DocumentGlobals.h"
#include "document/LMNRenderingView.h"
#include "editor/ui/LMNWindowController.h"
#include "output/SnapshotMailCards.h"

EditorMailCardSource::EditorMailCardSource(LMNWindowController *window)
    : m_window(window)
{
}

void EditorMailCardSource::sourcesInUse(bool *series, bool *spreadsheet)
{
    *series = false;
    *spreadsheet = false;
}

std::unique_ptr<MailCards> EditorMailCardSource::takeCards(bool useSeries, bool useSpreadsheet)
{
    CardSnapshot snapshot;
    snapshot.cardSize = m_window->cardSize();
    snapshot.front = LMNRenderingView::snapshot(m_window->Get_Front_Controls_Array());
    snapshot.back = LMNRenderingView::snapshot(m_window->Get_Back_Controls_Array());
    snapshot.frontBackground = m_window->backgroundPainterForSide(0);
    snapshot.backBackground = m_window->backgroundPainterForSide(1);
    snapshot.drawContext.resourcePath = Resource_Path;
    snapshot.useSeries = useSeries;
    snapshot.useSpreadsheet = useSpreadsheet;
    return std::make_unique<SnapshotMailCards>(std::move(snapshot));
}

void EditorMailCardSource::restoreFirstRecord()
{
}
