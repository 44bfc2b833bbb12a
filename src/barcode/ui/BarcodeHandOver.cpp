#include "barcode/ui/BarcodeHandOver.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/ui/Barcode_Gen.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"

#include <QCheckBox>

#include <exception>

void BarcodeHandOver::Open_Barcode_Window(PanelHost &host, LMNGraphicView *canvas)
{
    try {
        if (!canvas)
            return;
        const GraphicPtr element = canvas->_Selected_Graphic;
        if (!element || element->kind() != GraphicKind::Barcode)
            return;
        Barcode_output_image = QImage();
        LMNGraphic *edited = Barcode_Gen::defaultInstance()->Open_Wnd(element.get());
        if (!edited || Barcode_output_image.isNull())
            return;
        Update_Barcode_Graphics(host, canvas, *edited);
    } catch (const std::exception &e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

void BarcodeHandOver::View_barcode_prop_Button(PanelHost &host, LMNGraphicView *canvas)
{
    Open_Barcode_Window(host, canvas);
}

void BarcodeHandOver::Update_Barcode_Graphics(PanelHost &host, LMNGraphicView *canvas, const LMNGraphic &source)
{
    if (Not_Draw_Only_Prop_Change)
        return;
    if (!canvas)
        return;
    const GraphicList selected = canvas->selectedGraphics();
    if (selected.isEmpty())
        return;
    const BarcodeElementSettings settings = BarcodeElementSettings::fromGraphic(source);
    const QCheckBox *printBox =
        host.settingsPanel() ? host.settingsPanel()->findChild<QCheckBox *>(QStringLiteral("print_object_chk")) : nullptr;
    for (const GraphicPtr &graphic : selected) {
        if (graphic->kind() != GraphicKind::Barcode)
            continue;
        if (printBox)
            graphic->print_object = printBox->isChecked() ? 1 : 0;
        settings.applyTo(*graphic);
        graphic->Set_Barcode_image(Barcode_output_image);
        canvas->startEditingGraphic(graphic);
    }
    if (canvas->_Selected_Graphic && canvas->_Selected_Graphic->kind() == GraphicKind::Barcode)
        canvas->_Selected_Graphic->Set_Barcode_image(Barcode_output_image);
    host.Refresh_Canvas();
}
