#include "barcode/ui/BarcodeHandOver.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeGlobals.h"
#include "barcode/ui/Barcode_Gen.h"
#include "dialogs/ui/MessageBoxes.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/PaintStyles.h"
#include "document/SetPropertiesCommand.h"
#include "document/ui/LMNGraphicView.h"
#include "panels/PanelsGlobals.h"
#include "panels/ui/PanelHost.h"
#include "panels/ui/SettingsPanel.h"

#include <QCheckBox>
#include <QCoreApplication>

#include <algorithm>
#include <exception>

namespace {

// What makes a barcode of the symbology smaller on the card, in the designer's fields: the
// drawing size of a 2D code is its own field (a longer value makes denser modules, not a
// larger QR Code or PDF417); a DataMatrix grows by its module and its value.
QString whatShrinks(const QString &title)
{
    const char *text = title == QLatin1String("QR Code")
        ? QT_TRANSLATE_NOOP("BarcodeHandOver", "a smaller size or smaller margins")
        : title == QLatin1String("PDF417")
        ? QT_TRANSLATE_NOOP("BarcodeHandOver", "a smaller width or height, or smaller margins")
        : title == QLatin1String("DataMatrix")
        ? QT_TRANSLATE_NOOP("BarcodeHandOver", "a shorter value, a smaller module size or smaller margins")
        : QT_TRANSLATE_NOOP("BarcodeHandOver", "a shorter value, narrower bars, lower bars or smaller margins");
    return QCoreApplication::translate("BarcodeHandOver", text);
}

} // namespace

void BarcodeHandOver::Open_Barcode_Window(PanelHost &host, LMNGraphicView *canvas)
{
    try {
        if (!canvas)
            return;
        const GraphicPtr element = canvas->_Selected_Graphic;
        if (!element || element->kind() != GraphicKind::Barcode)
            return;
        // The designer works on a copy: the element changes only through the hand-over's one
        // undo step, and only with a picture that fits on the card. One that does not is
        // refused with the reason, and the designer opens again with what the user set.
        const GraphicPtr draft = element->clone();
        const QSizeF card = canvas->canvasSize();
        for (;;) {
            Barcode_output_image = QImage();
            if (!Barcode_Gen::defaultInstance()->Open_Wnd(draft.get()) || Barcode_output_image.isNull())
                return;
            const QSizeF picture = PaintStyles::pictureSizeInPoints(Barcode_output_image);
            constexpr double kSlack = 0.01;   // points
            if (picture.width() <= card.width() + kSlack && picture.height() <= card.height() + kSlack)
                break;
            auto mm = [](double points) { return QString::number(points * 25.4 / 72.0, 'f', 1); };
            Show_Warning_MessageBox(
                QCoreApplication::translate("BarcodeHandOver",
                                            "The barcode is %1 × %2 mm and does not fit on the card (%3 × %4 mm).\n"
                                            "Make it smaller: %5. The barcode on the card stays as it was.")
                    .arg(mm(picture.width()), mm(picture.height()), mm(card.width()), mm(card.height()),
                         whatShrinks(BarcodeElementSettings::fromGraphic(*draft).title())));
        }
        Update_Barcode_Graphics(host, canvas, *draft);
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
    SetPropertiesCommand::record(canvas->document(), &canvas->graphics(), touched, [&] {
        for (const GraphicPtr &graphic : selected) {
            if (graphic->kind() != GraphicKind::Barcode)
                continue;
            if (printBox)
                graphic->print_object = printBox->isChecked() ? 1 : 0;
            settings.applyTo(*graphic);
            takePicture(*graphic);
            canvas->startEditingGraphic(graphic);
        }
        if (canvas->_Selected_Graphic && canvas->_Selected_Graphic->kind() == GraphicKind::Barcode) {
            LMNGraphic &primary = *canvas->_Selected_Graphic;
            // The designer's data source belongs to the element it was opened on.
            if (&primary != &source) {
                primary.Set_Data_source_type(source.data_source_type);
                primary.Set_Batch_List_Name(source.batch_list_name);
                primary.Set_Batch_List_Index(source.batch_list_index);
                primary.Set_Excel_binding_Index(source.excel_col_indx);
            }
            takePicture(primary);
        }
    }, QCoreApplication::translate("BarcodeHandOver", "Change Barcode"));
    host.Refresh_Canvas();
}
