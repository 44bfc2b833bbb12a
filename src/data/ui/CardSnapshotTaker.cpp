#include "data/ui/CardSnapshotTaker.h"

#include "barcode/generator/BarcodeDevicePainter.h"
#include "data/DataBinding.h"
#include "document/DocumentGlobals.h"
#include "document/LMNRenderingView.h"
#include "editor/ui/LMNWindowController.h"
#include "panels/PanelsGlobals.h"

namespace {

bool twoSided()
{
    return CARD_SIDE_STR == QLatin1String("2");
}

} // namespace

void CardSnapshotTaker::checkSources(LMNWindowController &editor)
{
    DataBinding::Check_Series_Or_Excel_Use_or_not(editor.Get_Front_Controls_Array(), editor.Get_Back_Controls_Array(),
                                                  twoSided());
}

CardSnapshot CardSnapshotTaker::take(LMNWindowController &editor)
{
    CardSnapshot snapshot;
    snapshot.cardSize = editor.cardSize();
    snapshot.cardSides = twoSided() ? QStringLiteral("2") : QStringLiteral("1");
    snapshot.front = LMNRenderingView::snapshot(editor.Get_Front_Controls_Array());
    snapshot.back = LMNRenderingView::snapshot(editor.Get_Back_Controls_Array());
    snapshot.frontBackground = editor.backgroundPainterForSide(0);
    snapshot.backBackground = editor.backgroundPainterForSide(1);
    snapshot.drawContext.resourcePath = Resource_Path;
    snapshot.drawContext.drawBarcode = &BarcodeDevicePainter::draw;
    DataBinding::copyBindingState(snapshot);
    return snapshot;
}

void CardSnapshotTaker::Select_first_row_value_for_design(LMNWindowController &editor, int printBox)
{
    Q_UNUSED(printBox);
    CardSnapshot snapshot;
    DataBinding::copyBindingState(snapshot);
    DataBinding::Assign_Batch_Values_To_Control(editor.Get_Front_Controls_Array(), 0, snapshot, false);
    Card_Value_In_Process = false;
    editor.Refresh_Canvas();
}
