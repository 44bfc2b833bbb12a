#include "barcode/ui/BarcodeHandOver.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/ui/Barcode_Gen.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/SetPropertiesCommand.h"
#include "document/ui/LMNGraphicView.h"
#include "editor/ui/LMNWindowController.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/SettingsPanel.h"

#include <QCheckBox>
#include <QCoreApplication>

#include <algorithm>
#include <exception>

namespace {

// The canvas commands act on: the back canvas when the back is in work, else the front; none
// while the working side is shown (its elements belong to another canvas).
LMNGraphicView *sideInWork(LMNWindowController &window)
{
    if (window.currentCanvas() == window._graphicView_TEMP && window._graphicView_TEMP)
        return nullptr;
    return Card_Front_Or_Back != 0 ? window._graphicView_BACK : window._graphicView;
}

} // namespace

void BarcodeHandOver::Open_Barcode_Window(LMNWindowController &window)
{
    try {
        LMNGraphicView *canvas = sideInWork(window);
        if (!canvas)
            return;
        const GraphicPtr element = canvas->_Selected_Graphic;
        if (!element || element->kind() != GraphicKind::Barcode)
            return;
        Barcode_output_image = QImage();
        LMNGraphic *edited = Barcode_Gen::defaultInstance()->Open_Wnd(element.get());
        if (!edited || Barcode_output_image.isNull())
            return;
        Update_Barcode_Graphics(window, *edited);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

void BarcodeHandOver::View_barcode_prop_Button(LMNWindowController &window)
{
    Open_Barcode_Window(window);
}

void BarcodeHandOver::Update_Barcode_Graphics(LMNWindowController &window, const LMNGraphic &source)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    LMNGraphicView *canvas = sideInWork(window);
    if (!canvas)
        return;
    const GraphicList selected = canvas->selectedGraphics();
    if (selected.isEmpty())
        return;
    const BarcodeElementSettings settings = BarcodeElementSettings::fromGraphic(source);
    const QCheckBox *printBox =
        window.settingsPanel() ? window.settingsPanel()->findChild<QCheckBox *>(QStringLiteral("print_object_chk")) : nullptr;
    GraphicList touched = selected;
    if (canvas->_Selected_Graphic && !touched.contains(canvas->_Selected_Graphic))
        touched.append(canvas->_Selected_Graphic);
    const QRectF card(QPointF(0, 0), canvas->canvasSize());
    // A barcode is drawn at its picture's size from its corner: its frame takes that size
    // (the origin kept, moved back inside the card if it would run off), so what is seen is
    // what is selected and hit.
    auto takePicture = [&card](LMNGraphic &graphic) {
        graphic.Set_Barcode_image(Barcode_output_image);
        graphic.makeNaturalSize();
        QRectF frame = graphic.bounds();
        frame.moveLeft(std::max(0.0, std::min(frame.left(), card.right() - frame.width())));
        frame.moveTop(std::max(0.0, std::min(frame.top(), card.bottom() - frame.height())));
        graphic.setBounds(frame);
    };
    // One undo step per OK.
    SetPropertiesCommand::record(window.document(), &canvas->graphics(), touched, [&] {
        for (const GraphicPtr &graphic : selected) {
            if (graphic->kind() != GraphicKind::Barcode)
                continue;
            if (printBox)
                graphic->print_object = printBox->isChecked() ? 1 : 0;
            settings.applyTo(*graphic);
            takePicture(*graphic);
            canvas->startEditingGraphic(graphic);
        }
        if (canvas->_Selected_Graphic && canvas->_Selected_Graphic->kind() == GraphicKind::Barcode)
            takePicture(*canvas->_Selected_Graphic);
    }, QCoreApplication::translate("BarcodeHandOver", "Change Barcode"));
    window.Refresh_Canvas();
}
