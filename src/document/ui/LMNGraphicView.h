#pragma once

#include "document/GraphicArrangement.h"
#include "document/GraphicFactory.h"
#include "document/LMNGraphic.h"

#include <QHash>
#include <QSet>
#include <QWidget>

#include <memory>

class CanvasHost;
class DefaultCanvasHost;
class LMNDocument;
class LMNGrid;
class QMimeData;

// The canvas of one card side: shows the elements of one of the document's lists over the
// card background and edits them with the mouse and the keyboard. The widget is exactly the
// card at the current zoom; it lives inside a scroll area (LMNDeskView) that shows the desk
// around the card. Model coordinates are points with the origin at the card's top-left.
//
// Every edit made here is undoable through the document's history; the panels and the
// program's own fillers write element fields directly and then ask for a redraw.
class LMNGraphicView : public QWidget
{
    Q_OBJECT

public:
    // `graphics` is one of `document`'s lists; both must outlive the canvas.
    LMNGraphicView(LMNDocument *document, GraphicList *graphics, QWidget *parent = nullptr);
    ~LMNGraphicView() override;

    LMNDocument *document() const { return m_document; }
    GraphicList &graphics() const { return *m_graphics; }

    // The editor window around the canvas (not owned); null returns to a built-in stand-in.
    void setHost(CanvasHost *host);
    CanvasHost *host() const { return m_host; }

    // The grid shared by every canvas (not owned); null for none.
    void setGrid(LMNGrid *grid);
    LMNGrid *grid() const { return m_grid; }

    // The side code ("F", "B", ...) this canvas passes when its drawing tools create elements.
    void setCardSide(const QString &side) { m_cardSide = side; }
    QString cardSide() const { return m_cardSide; }

    // --- Card size and zoom ---
    void setCanvasSize(const QSizeF &size);
    QSizeF canvasSize() const { return m_canvasSize; }
    QRectF cardBounds() const { return {QPointF(0, 0), m_canvasSize}; }

    static constexpr double MinimumZoom = 0.25;
    static constexpr double MaximumZoom = 8.0;
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();

    QPointF pointFromWidget(const QPointF &position) const { return position / m_zoom; }
    QPointF widgetFromPoint(const QPointF &point) const { return point * m_zoom; }

    // --- Selection ---
    // The selected elements in list order (index 0 the topmost).
    GraphicList selectedGraphics() const;
    bool isSelected(const GraphicPtr &graphic) const;
    void Clear_Control_Selection();
    // Selects the given elements of the list (replacing the selection unless `extend`).
    void selectGraphics(const GraphicList &graphics, bool extend = false);
    // Selects every visible element.
    void selectAll();
    // The topmost visible element under a point (points), or none.
    GraphicPtr graphicUnderPoint(const QPointF &point) const;

    // The primary selected element: the element just created or found under the last click,
    // the front-most selected one after a selection change, none after a click on empty space.
    GraphicPtr _Selected_Graphic;

    // --- Element factory ---
    // Creates an element for the host's current drawing tool (see GraphicFactory) and places
    // it: with a mouse press `event`, at its point, then sized by dragging until the button
    // is released; otherwise at `bound_rect` when `use_rect` is set (its origin replaced by
    // the cascade point of `card_side` when `ctrl_ID` is empty), else at the cascade point
    // with the size 50 x 50; a snapping grid rounds the points. The element goes on top of
    // the list, becomes the selection and `_Selected_Graphic`, and undoes as one step; one
    // that comes out with zero width and zero height is taken back.
    void createGraphicOfClass(GraphicKind kind, const QMouseEvent *event, bool use_rect, const QRectF &bound_rect,
                              const QString &card_side, const QString &ctrl_value, const QString &ctrl_ID);

    // Writes a value into the element with the control identifier, or creates one through
    // the factory when there is none. A found text element takes a non-empty value as its
    // text (fill and stroke off, made visible); a found picture element takes the value as
    // its picture path when that file exists (made visible). The found element becomes
    // `_Selected_Graphic`; the selection is not changed.
    void ReplaceGraphicText(GraphicKind kind, const QMouseEvent *event, bool use_rect, const QRectF &bound_rect,
                            const QString &card_side, const QString &ctrl_value, const QString &ctrl_ID);

    // The first text or picture element (from index 0) with the control identifier; an empty
    // identifier matches nothing (elements the user drew have none).
    GraphicPtr Selcect_Ctrl_With_ID(const QString &ctrlID) const;

    // Hides every text or picture element that carries a sender-profile identifier ("Fup_...").
    void Hide_all_Text_control_FUP_Control();

    // --- Layout commands on the selection (see GraphicArrangement) ---
    void alignformCenter();
    void alignLeftEdges();
    void alignRightEdges();
    void alignTopEdges();
    void alignBottomEdges();
    void alignHorizontalCenters();
    void alignVerticalCenters();
    void makeSameWidth();
    void makeSameHeight();
    void makeNaturalSize();
    void alignWithGrid();

    // Sets the print flag of every selected element that is not locked.
    void print_contol_or_not(int value);

    // In-place editing: no element kind offers an editor of its own, so nothing happens.
    void startEditingGraphic(const GraphicPtr &graphic);

    // Redraws the desk around the card.
    void Refresh_ScrollView();

    // --- Editing ---
    // Moves every unlocked selected element by `delta` points (the arrow keys).
    void moveSelectionBy(const QPointF &delta);
    void deleteSelection();
    // Copies the selection on top of the list, 10 points down and to the right.
    void duplicate();

    // The clipboard holds copied elements as a binary property list of element archives
    // under LMNGraphicViewPasteboardType, with a PNG picture of them beside it for other
    // programs. Pasted elements go on top, in their order, and become the selection; a paste
    // that would land exactly on elements already there moves 10 points down and to the right.
    // A selection larger than Paste reads is not copied (nor cut): a message names the limit.
    void cut();
    // Whether the selection went to the clipboard.
    bool copy();
    void paste();
    bool canPaste() const;

    QSize sizeHint() const override;

signals:
    void selectionChanged();
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    enum class Handle { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
    enum class Drag { None, Move, Resize, Band, Create };

    void setSelection(GraphicList selection);
    void pruneSelection();
    void onGraphicsEdited(GraphicList *list, const GraphicList &affected, bool fromHistory);
    void applyArrangement(const QList<BoundsChange> &changes, const QString &text);
    NewGraphicDefaults newGraphicDefaults() const;
    void placeNewGraphic(const GraphicPtr &graphic);

    QPointF snapped(const QPointF &point) const;
    QRectF handleRect(const QRectF &bounds, Handle handle) const;
    Handle handleAt(const QRectF &bounds, const QPointF &widgetPosition) const;
    // Whether the selection frame of an element has resize handles.
    static bool offersHandles(const LMNGraphic &graphic);
    static QRectF resizedBounds(const QRectF &start, Handle handle, const QPointF &point);

    void finishCreation();
    void finishMoveOrResize(const QString &text);
    QPointF pinnedDelta(const QPointF &delta) const;

    LMNDocument *m_document;
    GraphicList *m_graphics;
    CanvasHost *m_host;
    std::unique_ptr<DefaultCanvasHost> m_defaultHost;
    LMNGrid *m_grid = nullptr;
    QString m_cardSide = QStringLiteral("F");

    QSizeF m_canvasSize;
    double m_zoom = 1.0;

    GraphicList m_selection; // unordered; selectedGraphics() gives list order
    QSet<const LMNGraphic *> m_selected; // the same elements, for asking about one

    // Mouse tracking.
    Drag m_drag = Drag::None;
    QPointF m_dragStart;                       // points
    QHash<LMNGraphic *, QRectF> m_dragOrigins; // bounds before the drag
    GraphicList m_dragged;
    GraphicPtr m_dragAnchor;                   // the element under the press (move, resize)
    Handle m_resizeHandle = Handle::None;
    QRectF m_band;
    GraphicList m_bandBase;
    GraphicPtr m_creating;
};
