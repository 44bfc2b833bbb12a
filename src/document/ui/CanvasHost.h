#pragma once

#include "document/LMNGraphic.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// What a canvas needs of the editor window around it. The editor window implements it;
// DefaultCanvasHost stands in wherever there is no editor (tests, the plain window).
// Every call is made on the main thread.
class CanvasHost
{
public:
    virtual ~CanvasHost();

    // Paints the card background of the side in work beneath the elements; `rect` (points)
    // is the area being drawn.
    virtual void Card_Base_Drawing(QPainter &painter, const QRectF &rect) = 0;

    // The current drawing tool (0 arrow ... 15 polygon) and the return to the arrow after an
    // element was drawn.
    virtual int Selected_Control_Tool() const = 0;
    virtual void selectArrowTool() = 0;

    // The cascade point for the next new element of a side ("F", "B", ...), in points.
    virtual QPointF Control_New_Point(const QString &cardSide) = 0;

    // Refreshes the property panel for an element, or for the card when given none.
    virtual void Show_RHS_Properties(const GraphicPtr &graphic) = 0;
    // Enables the undo and redo buttons to match the document's history.
    virtual void Undo_Redo_Button_state() = 0;
    // Opens the barcode designer for the canvas's primary element.
    virtual void Open_Barcode_Window() = 0;
    // Resets the picture panel's effect controls (a new picture or signature element).
    virtual void Reset_Image_Editing_Controls() = 0;
    // Enables the align-with-grid button (exactly while the grid is shown).
    virtual void setAlignWithGridEnabled(bool enabled) = 0;

    // The content font and colour new elements take, and the placeholder picture of a
    // picture element whose file is missing.
    virtual CardFont All_Text_font() const = 0;
    virtual QColor All_Text_clr() const = 0;
    virtual QImage no_image() const = 0;
};
