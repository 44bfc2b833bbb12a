#include "data/ui/CardSnapshotTaker.h"

#include "barcode/generator/BarcodeDevicePainter.h"
#include "data/DataBinding.h"
#include "document/DocumentGlobals.h"
#include "document/LMNRenderingView.h"
#include "document/EditorHost.h"

void CardSnapshotTaker::checkSources(EditorHost &editor)
{
    DataBinding::Check_Series_Or_Excel_Use_or_not(editor.sideElements(0), editor.sideElements(1),
                                                  editor.twoSided());
}

CardSnapshot CardSnapshotTaker::take(EditorHost &editor)
{
    CardSnapshot snapshot;
    snapshot.cardSize = editor.cardSize();
    snapshot.cardSides = editor.twoSided() ? QStringLiteral("2") : QStringLiteral("1");
    snapshot.front = LMNRenderingView::snapshot(editor.sideElements(0));
    snapshot.back = LMNRenderingView::snapshot(editor.sideElements(1));
    snapshot.frontBackground = editor.backgroundPainterForSide(0);
    snapshot.backBackground = editor.backgroundPainterForSide(1);
    snapshot.drawContext.resourcePath = Resource_Path;
    snapshot.drawContext.drawBarcode = &BarcodeDevicePainter::draw;
    DataBinding::copyBindingState(snapshot);
    return snapshot;
}

void CardSnapshotTaker::Select_first_row_value_for_design(EditorHost &editor, int printBox)
{
    Q_UNUSED(printBox);
    CardSnapshot snapshot;
    DataBinding::copyBindingState(snapshot);
    DataBinding::Assign_Batch_Values_To_Control(editor.sideElements(0), 0, snapshot, false);
    editor.Refresh_Canvas();
}
