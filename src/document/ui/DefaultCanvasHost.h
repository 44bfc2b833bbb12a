#pragma once

#include "document/ui/CanvasHost.h"

// The canvas host used where no editor window exists: a white card, a drawing tool that
// the owner sets, the default content font, a drawn placeholder picture and a cascade that
// steps 10 points from (last_ctrl_X, last_ctrl_Y). It counts the calls it receives so tests
// can see that the canvas reached out.
class DefaultCanvasHost : public CanvasHost
{
public:
    DefaultCanvasHost();

    void Card_Base_Drawing(QPainter &painter, const QRectF &rect) override;
    int Selected_Control_Tool() const override { return tool; }
    void selectArrowTool() override { tool = 0; }
    QPointF Control_New_Point(const QString &cardSide) override;
    void Show_RHS_Properties(const GraphicPtr &graphic) override;
    void Undo_Redo_Button_state() override { ++undoRedoStateCalls; }
    void Open_Barcode_Window() override { ++barcodeWindowOpenings; }
    void Reset_Image_Editing_Controls() override { ++imageControlResets; }
    void setAlignWithGridEnabled(bool enabled) override { alignWithGridEnabled = enabled; }
    CardFont All_Text_font() const override { return contentFont; }
    QColor All_Text_clr() const override { return contentColor; }
    QImage no_image() const override { return placeholder; }

    int tool = 0;
    CardFont contentFont;
    QColor contentColor = Qt::black;
    QImage placeholder;
    bool alignWithGridEnabled = false;

    GraphicPtr lastShownProperties;
    int propertyRefreshes = 0;
    int undoRedoStateCalls = 0;
    int barcodeWindowOpenings = 0;
    int imageControlResets = 0;
};
