#include "document/ui/LMNGraphicView.h"

#include "document/DocumentGlobals.h"
#include "document/ElementClipboard.h"
#include "document/InsertGraphicsCommand.h"
#include "document/LMNDocument.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNGrid.h"
#include "document/LMNImage.h"
#include "document/LMNRenderingView.h"
#include "document/LMNText.h"
#include "document/MessageLog.h"
#include "document/RemoveGraphicsCommand.h"
#include "document/SetBoundsCommand.h"
#include "document/SetPrintFlagCommand.h"
#include "document/ui/DefaultCanvasHost.h"
#include "document/ui/OverflowSign.h"
#include "dialogs/ui/MessageBoxes.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QWheelEvent>

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

constexpr double HandleSize = 7.0;      // pixels on screen, whatever the zoom
constexpr double DuplicateOffset = 10.0; // points, also the step of a paste onto its originals
constexpr double ZoomStep = 1.25;
const QSizeF DefaultCardSize(243.0, 154.0);

const QStringList &profileIdentifiers()
{
    static const QStringList ids = {
        QStringLiteral("Fup_Name"),    QStringLiteral("Fup_Title"),   QStringLiteral("Fup_Company"),
        QStringLiteral("Fup_CompanySlogan"), QStringLiteral("Fup_Address"), QStringLiteral("Fup_PhoneNO"),
        QStringLiteral("Fup_FaxNo"),   QStringLiteral("Fup_EmailID"), QStringLiteral("Fup_Website"),
        QStringLiteral("Fup_UniqueNo"), QStringLiteral("Fup_Photo")};
    return ids;
}

bool isTextOrPicture(const GraphicPtr &g)
{
    return g->kind() == GraphicKind::Text || g->kind() == GraphicKind::Image;
}

// A drawn line's direction, from where the drag started to where it ended.
int lineOrientation(const QPointF &from, const QPointF &to)
{
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    if (std::abs(dy) * 4.0 <= std::abs(dx))
        return 0; // horizontal
    if (std::abs(dx) * 4.0 <= std::abs(dy))
        return 1; // vertical
    return (dx > 0) == (dy > 0) ? 2 : 3; // falling or rising diagonal
}

// Whether elements are in a list: a few are looked for in the list itself, many (a paste,
// select all, a band over a large design) in a set of its addresses made in one pass, so
// asking about every element of a list costs time linear in its length.
class ListLookup
{
public:
    ListLookup(const GraphicList &list, qsizetype questions)
        : m_list(list)
        , m_bySet(questions > 8)
    {
        if (!m_bySet)
            return;
        m_addresses.reserve(list.size());
        for (const GraphicPtr &g : list)
            m_addresses.insert(g.get());
    }

    bool contains(const GraphicPtr &g) const { return m_bySet ? m_addresses.contains(g.get()) : m_list.contains(g); }

private:
    const GraphicList &m_list;
    bool m_bySet;
    QSet<const LMNGraphic *> m_addresses;
};

} // namespace

LMNGraphicView::LMNGraphicView(LMNDocument *document, GraphicList *graphics, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_graphics(graphics)
    , m_defaultHost(std::make_unique<DefaultCanvasHost>())
{
    Q_ASSERT(document && graphics);
    m_host = m_defaultHost.get();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCanvasSize(DefaultCardSize);

    connect(m_document, &LMNDocument::graphicsEdited, this, &LMNGraphicView::onGraphicsEdited);
    connect(m_document->undoManager(), &QUndoStack::indexChanged, this,
            [this] { m_host->Undo_Redo_Button_state(); });
}

LMNGraphicView::~LMNGraphicView() = default;

void LMNGraphicView::setHost(CanvasHost *host)
{
    m_host = host ? host : m_defaultHost.get();
    if (m_grid)
        m_host->setAlignWithGridEnabled(m_grid->isAlwaysShown());
}

void LMNGraphicView::setGrid(LMNGrid *grid)
{
    if (m_grid)
        disconnect(m_grid, nullptr, this, nullptr);
    m_grid = grid;
    if (m_grid) {
        connect(m_grid, &LMNGrid::changed, this, qOverload<>(&QWidget::update));
        connect(m_grid, &LMNGrid::alwaysShownChanged, this,
                [this](bool shown) { m_host->setAlignWithGridEnabled(shown); });
        connect(m_grid, &QObject::destroyed, this, [this] { m_grid = nullptr; });
    }
    update();
}

// --- Card size and zoom ---

void LMNGraphicView::setCanvasSize(const QSizeF &size)
{
    m_canvasSize = QSizeF(std::max(0.0, size.width()), std::max(0.0, size.height()));
    setFixedSize(LMNRenderingView::pixelSize(m_canvasSize, m_zoom));
    update();
}

void LMNGraphicView::setZoom(double zoom)
{
    if (!std::isfinite(zoom))
        return;
    zoom = std::clamp(zoom, MinimumZoom, MaximumZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    setCanvasSize(m_canvasSize);
    emit zoomChanged(m_zoom);
}

void LMNGraphicView::zoomIn()
{
    setZoom(m_zoom * ZoomStep);
}

void LMNGraphicView::zoomOut()
{
    setZoom(m_zoom / ZoomStep);
}

QSize LMNGraphicView::sizeHint() const
{
    return size();
}

// --- Selection ---

GraphicList LMNGraphicView::selectedGraphics() const
{
    GraphicList selected;
    if (m_selection.isEmpty())
        return selected;
    selected.reserve(m_selection.size());
    for (const GraphicPtr &g : std::as_const(*m_graphics))
        if (m_selected.contains(g.get()))
            selected.append(g);
    return selected;
}

bool LMNGraphicView::isSelected(const GraphicPtr &graphic) const
{
    return graphic && m_selected.contains(graphic.get()) && m_graphics->contains(graphic);
}

void LMNGraphicView::setSelection(GraphicList selection)
{
    const GraphicPtr primaryBefore = _Selected_Graphic;
    const ListLookup inList(*m_graphics, selection.size());
    m_selection.clear();
    m_selected.clear();
    for (const GraphicPtr &g : std::as_const(selection)) {
        if (!g || m_selected.contains(g.get()) || !inList.contains(g))
            continue;
        m_selected.insert(g.get());
        m_selection.append(g);
    }
    // The primary element is the topmost selected one.
    _Selected_Graphic.reset();
    if (!m_selection.isEmpty()) {
        const auto first = std::find_if(m_graphics->cbegin(), m_graphics->cend(),
                                        [this](const GraphicPtr &g) { return m_selected.contains(g.get()); });
        if (first != m_graphics->cend())
            _Selected_Graphic = *first;
    }
    update();
    emit selectionChanged();
    // Every road to a selection (a click, Select All, paste, undo) tells the host here, so the
    // panel and the edit commands follow whatever is selected: the pages of the new primary
    // element, or the card when nothing is left (deleted, undone, cleared). A gesture of the
    // mouse tells it once, when the button is released.
    if (m_host && m_drag == Drag::None && _Selected_Graphic != primaryBefore)
        m_host->Show_RHS_Properties(_Selected_Graphic);
}

void LMNGraphicView::Clear_Control_Selection()
{
    setSelection({});
}

void LMNGraphicView::selectGraphics(const GraphicList &graphics, bool extend)
{
    GraphicList selection = extend ? m_selection : GraphicList();
    selection.append(graphics);
    setSelection(selection);
}

void LMNGraphicView::selectAll()
{
    GraphicList visible;
    for (const GraphicPtr &g : std::as_const(*m_graphics))
        if (g->ctrl_is_visible != 0)
            visible.append(g);
    setSelection(visible);
}

GraphicPtr LMNGraphicView::graphicUnderPoint(const QPointF &point) const
{
    for (const GraphicPtr &g : std::as_const(*m_graphics))
        if (g->hitTest(point))
            return g;
    return {};
}

void LMNGraphicView::pruneSelection()
{
    // The list may be changed directly (loading a design, the working side being refilled).
    const ListLookup inList(*m_graphics, m_selection.size());
    const bool stale = std::any_of(m_selection.cbegin(), m_selection.cend(),
                                   [&inList](const GraphicPtr &g) { return !inList.contains(g); });
    if (stale)
        setSelection(m_selection);
    if (_Selected_Graphic && !m_graphics->contains(_Selected_Graphic))
        _Selected_Graphic.reset();
}

void LMNGraphicView::onGraphicsEdited(GraphicList *list, const GraphicList &affected, bool fromHistory)
{
    if (list == m_graphics) {
        if (fromHistory) {
            // Undo and redo show what they brought back or changed.
            const ListLookup inList(*m_graphics, affected.size());
            GraphicList present;
            for (const GraphicPtr &g : affected)
                if (inList.contains(g))
                    present.append(g);
            setSelection(present);
        } else {
            pruneSelection();
        }
    }
    // Other lists may share element objects with this one (the working side): redraw anyway.
    update();
}

// --- Element factory ---

NewGraphicDefaults LMNGraphicView::newGraphicDefaults() const
{
    NewGraphicDefaults defaults;
    defaults.contentFont = m_host->All_Text_font();
    defaults.contentColor = m_host->All_Text_clr();
    defaults.placeholderPicture = m_host->no_image();
    defaults.libraryImagePath = Library_Selected_Image;
    return defaults;
}

QPointF LMNGraphicView::snapped(const QPointF &point) const
{
    return m_grid ? m_grid->constrainedPoint(point) : point;
}

void LMNGraphicView::placeNewGraphic(const GraphicPtr &graphic)
{
    if (graphic->kind() == GraphicKind::Image || graphic->kind() == GraphicKind::Signature)
        m_host->Reset_Image_Editing_Controls();
}

void LMNGraphicView::createGraphicOfClass(GraphicKind kind, const QMouseEvent *event, bool use_rect,
                                          const QRectF &bound_rect, const QString &card_side,
                                          const QString &ctrl_value, const QString &ctrl_ID)
{
    // The tool is read first: showing the card when the selection is cleared picks the arrow.
    const int tool = m_host->Selected_Control_Tool();
    if (m_drag == Drag::Create)
        finishCreation();
    Clear_Control_Selection();

    const GraphicPtr graphic = GraphicFactory::makeGraphic(kind, tool, ctrl_value, ctrl_ID, newGraphicDefaults());
    placeNewGraphic(graphic);

    if (event) {
        // Placed at the press and sized by the drag that follows; recorded when it ends.
        const QPointF start = snapped(pointFromWidget(event->position()));
        graphic->setBounds(QRectF(start, QSizeF(0, 0)));
        m_graphics->insert(0, graphic);
        m_creating = graphic;
        m_dragStart = start;
        m_drag = Drag::Create;
        setSelection({graphic});
        _Selected_Graphic = graphic;
        return;
    }

    QRectF bounds;
    if (use_rect) {
        bounds = bound_rect;
        if (ctrl_ID.isEmpty())
            bounds.moveTopLeft(m_host->Control_New_Point(card_side));
    } else {
        bounds = QRectF(m_host->Control_New_Point(card_side), QSizeF(50, 50));
    }
    if (m_grid)
        bounds = QRectF(snapped(bounds.topLeft()), snapped(bounds.bottomRight()));
    graphic->setBounds(bounds);

    if (graphic->bounds().width() == 0 && graphic->bounds().height() == 0)
        return; // taken back: nothing of it stays

    m_document->perform(new InsertGraphicsCommand(m_document, m_graphics, InsertGraphicsCommand::onTop({graphic}),
                                                  tr("Create")));
    setSelection({graphic});
    _Selected_Graphic = graphic;
}

void LMNGraphicView::finishCreation()
{
    const GraphicPtr graphic = std::exchange(m_creating, nullptr);
    m_drag = Drag::None;
    if (!graphic)
        return;
    const qsizetype index = m_graphics->indexOf(graphic);
    if (index < 0)
        return;
    if (graphic->bounds().width() == 0 && graphic->bounds().height() == 0) {
        m_graphics->removeAt(index); // taken back: a click without a drag leaves nothing
        Clear_Control_Selection();
    } else {
        m_document->perform(new InsertGraphicsCommand(m_document, m_graphics, {{index, graphic}}, tr("Create")),
                            /*alreadyApplied=*/true);
    }
    m_host->selectArrowTool();
}

void LMNGraphicView::ReplaceGraphicText(GraphicKind kind, const QMouseEvent *event, bool use_rect,
                                        const QRectF &bound_rect, const QString &card_side,
                                        const QString &ctrl_value, const QString &ctrl_ID)
{
    const GraphicPtr found = Selcect_Ctrl_With_ID(ctrl_ID);
    if (!found) {
        createGraphicOfClass(kind, event, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID);
        return;
    }
    if (kind == GraphicKind::Text) {
        if (!ctrl_value.isEmpty()) {
            found->setText(ctrl_value);
            found->_isDrawingFill = false;
            found->_isDrawingStroke = false;
            found->Set_Ctrl_Is_Visible(1);
        }
    } else if (kind == GraphicKind::Image) {
        if (found->kind() == GraphicKind::Image && QFileInfo(ctrl_value).isFile()) {
            static_cast<LMNImage &>(*found).setFilePath(ctrl_value);
            found->Set_Ctrl_Is_Visible(1);
        } else {
            Show_NSLog_Message(ctrl_value);
        }
    }
    _Selected_Graphic = found;
    update();
}

GraphicPtr LMNGraphicView::Selcect_Ctrl_With_ID(const QString &ctrlID) const
{
    if (ctrlID.isEmpty())
        return {};
    for (const GraphicPtr &g : std::as_const(*m_graphics))
        if (g && isTextOrPicture(g) && g->control_ID == ctrlID)
            return g;
    return {};
}

void LMNGraphicView::Hide_all_Text_control_FUP_Control()
{
    for (qsizetype i = m_graphics->size() - 1; i >= 0; --i) {
        const GraphicPtr &g = m_graphics->at(i);
        if (isTextOrPicture(g) && profileIdentifiers().contains(g->control_ID))
            g->Set_Ctrl_Is_Visible(0);
    }
    update();
}

// --- Layout commands ---

void LMNGraphicView::applyArrangement(const QList<BoundsChange> &changes, const QString &text)
{
    auto *command = new SetBoundsCommand(m_document, m_graphics, changes, text);
    if (command->isEmpty())
        delete command;
    else
        m_document->perform(command);
    m_host->Undo_Redo_Button_state();
    update();
}

void LMNGraphicView::alignformCenter()
{
    applyArrangement(GraphicArrangement::centreOnCard(selectedGraphics(), m_canvasSize), tr("Centre on Card"));
}

void LMNGraphicView::alignLeftEdges()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::Left, m_canvasSize),
                     tr("Align Left Edges"));
}

void LMNGraphicView::alignRightEdges()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::Right, m_canvasSize),
                     tr("Align Right Edges"));
}

void LMNGraphicView::alignTopEdges()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::Top, m_canvasSize),
                     tr("Align Top Edges"));
}

void LMNGraphicView::alignBottomEdges()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::Bottom, m_canvasSize),
                     tr("Align Bottom Edges"));
}

void LMNGraphicView::alignHorizontalCenters()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::HorizontalCentre,
                                               m_canvasSize),
                     tr("Align Horizontal Centres"));
}

void LMNGraphicView::alignVerticalCenters()
{
    applyArrangement(GraphicArrangement::align(selectedGraphics(), GraphicArrangement::Alignment::VerticalCentre,
                                               m_canvasSize),
                     tr("Align Vertical Centres"));
}

void LMNGraphicView::makeSameWidth()
{
    applyArrangement(GraphicArrangement::sameWidth(selectedGraphics()), tr("Same Width"));
}

void LMNGraphicView::makeSameHeight()
{
    applyArrangement(GraphicArrangement::sameHeight(selectedGraphics()), tr("Same Height"));
}

void LMNGraphicView::makeNaturalSize()
{
    applyArrangement(GraphicArrangement::naturalSize(selectedGraphics()), tr("Natural Size"));
}

void LMNGraphicView::alignWithGrid()
{
    if (!m_grid) {
        m_host->Undo_Redo_Button_state();
        return;
    }
    applyArrangement(GraphicArrangement::alignWithGrid(selectedGraphics(), *m_grid), tr("Align with Grid"));
}

void LMNGraphicView::print_contol_or_not(int value)
{
    GraphicList unlocked;
    for (const GraphicPtr &g : selectedGraphics())
        if (!g->ctrl_is_locked)
            unlocked.append(g);
    auto *command = new SetPrintFlagCommand(m_document, m_graphics, unlocked, value, tr("Print Setting"));
    if (command->isEmpty())
        delete command;
    else
        m_document->perform(command);
    update();
}

void LMNGraphicView::startEditingGraphic(const GraphicPtr &)
{
    // No element kind has an in-place editor; text is edited in the property panel.
}

void LMNGraphicView::Refresh_ScrollView()
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(w)) {
            scroll->viewport()->update();
            break;
        }
    }
    update();
}

// --- Editing ---

void LMNGraphicView::moveSelectionBy(const QPointF &delta)
{
    auto *command = new SetBoundsCommand(m_document, m_graphics,
                                         GraphicArrangement::moveBy(selectedGraphics(), delta), tr("Move"));
    if (command->isEmpty()) {
        delete command;
        return;
    }
    command->setMergeable(true);
    m_document->perform(command);
    update();
}

void LMNGraphicView::deleteSelection()
{
    const GraphicList selected = selectedGraphics();
    if (selected.isEmpty())
        return;
    m_document->perform(new RemoveGraphicsCommand(m_document, m_graphics, selected, tr("Delete")));
    Clear_Control_Selection();
}

void LMNGraphicView::duplicate()
{
    const GraphicList selected = selectedGraphics();
    if (selected.isEmpty())
        return;
    GraphicList copies;
    for (const GraphicPtr &g : selected) {
        GraphicPtr copy = g->clone();
        copy->setBounds(copy->bounds().translated(DuplicateOffset, DuplicateOffset));
        copies.append(copy);
    }
    m_document->perform(
        new InsertGraphicsCommand(m_document, m_graphics, InsertGraphicsCommand::onTop(copies), tr("Duplicate")));
    setSelection(copies);
}

// --- Clipboard ---

bool LMNGraphicView::copy()
{
    const GraphicList selected = selectedGraphics();
    if (selected.isEmpty())
        return false;
    QString error;
    QMimeData *data = ElementClipboard::mimeDataFor(selected, &error);
    if (!data) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(error);
        return false;
    }
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

void LMNGraphicView::cut()
{
    const GraphicList selected = selectedGraphics();
    // What could not be copied stays where it is.
    if (selected.isEmpty() || !copy())
        return;
    m_document->perform(new RemoveGraphicsCommand(m_document, m_graphics, selected, tr("Cut")));
    Clear_Control_Selection();
}

bool LMNGraphicView::canPaste() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(LMNGraphicViewPasteboardType);
}

void LMNGraphicView::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(LMNGraphicViewPasteboardType))
        return;
    QString error;
    LMNGraphicArchive::PictureLosses losses;
    const std::optional<GraphicList> decoded = LMNGraphicArchive::decodeList(data->data(LMNGraphicViewPasteboardType), &error);
    if (!decoded) {
        Show_NSLog_Message(error);
        Show_Warning_MessageBox(tr("The copied elements cannot be pasted: %1").arg(error));
        return;
    }
    GraphicList pasted = *decoded;
    if (pasted.isEmpty())
        return;

    // Pasting onto the copied elements themselves would hide them: step aside until free.
    ElementClipboard::stepAside(pasted, *m_graphics, DuplicateOffset);

    m_document->perform(
        new InsertGraphicsCommand(m_document, m_graphics, InsertGraphicsCommand::onTop(pasted), tr("Paste")));
    setSelection(pasted);
    // Pasted, but not whole: which elements came without their pictures, and why.
    if (!losses.messages().isEmpty())
        Show_Warning_MessageBox(tr("Not every copied picture could be read:\n%1").arg(losses.messages().join(QLatin1Char('\n'))));
}

// --- Drawing ---

QRectF LMNGraphicView::handleRect(const QRectF &bounds, Handle handle) const
{
    const QRectF r(widgetFromPoint(bounds.topLeft()), widgetFromPoint(bounds.bottomRight()));
    QPointF c;
    switch (handle) {
    case Handle::TopLeft: c = r.topLeft(); break;
    case Handle::Top: c = QPointF(r.center().x(), r.top()); break;
    case Handle::TopRight: c = r.topRight(); break;
    case Handle::Right: c = QPointF(r.right(), r.center().y()); break;
    case Handle::BottomRight: c = r.bottomRight(); break;
    case Handle::Bottom: c = QPointF(r.center().x(), r.bottom()); break;
    case Handle::BottomLeft: c = r.bottomLeft(); break;
    case Handle::Left: c = QPointF(r.left(), r.center().y()); break;
    case Handle::None: return {};
    }
    return {c.x() - HandleSize / 2.0, c.y() - HandleSize / 2.0, HandleSize, HandleSize};
}

bool LMNGraphicView::offersHandles(const LMNGraphic &graphic)
{
    // A barcode's size comes from the barcode designer (bar width, height, module size).
    return !graphic.ctrl_is_locked && graphic.kind() != GraphicKind::Barcode;
}

LMNGraphicView::Handle LMNGraphicView::handleAt(const QRectF &bounds, const QPointF &widgetPosition) const
{
    for (Handle h : {Handle::TopLeft, Handle::Top, Handle::TopRight, Handle::Right, Handle::BottomRight,
                     Handle::Bottom, Handle::BottomLeft, Handle::Left}) {
        if (handleRect(bounds, h).adjusted(-1, -1, 1, 1).contains(widgetPosition))
            return h;
    }
    return Handle::None;
}

void LMNGraphicView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    // The desk shows through where the widget is larger than the card (rounding).
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));

    painter.save();
    painter.scale(m_zoom, m_zoom);
    const QRectF area = QRectF(QRectF(event->rect()).topLeft() / m_zoom, QRectF(event->rect()).size() / m_zoom)
                            .intersected(cardBounds());
    painter.setClipRect(cardBounds());
    painter.save();
    m_host->Card_Base_Drawing(painter, area);
    painter.restore();

    const double pixelsPerPoint = m_zoom * devicePixelRatioF();
    if (m_grid)
        m_grid->drawGrid(painter, area, pixelsPerPoint);

    LMNRenderingView::drawGraphics(painter, *m_graphics, area, DrawContext{Resource_Path, pixelsPerPoint, {}}, false);
    painter.restore();

    // Text cut off by its frame is marked here only, never in what is exported or printed.
    for (const GraphicPtr &g : std::as_const(*m_graphics)) {
        if (g->ctrl_is_visible != 0 && g->kind() == GraphicKind::Text
            && static_cast<const LMNText &>(*g).isTextClipped())
            OverflowSign::paint(painter, widgetFromPoint(g->bounds().bottomRight()));
    }

    // Selection marks and the rubber band are drawn in pixels so they keep their size.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor accent = palette().color(QPalette::Highlight);
    for (const GraphicPtr &g : selectedGraphics()) {
        const QRectF r(widgetFromPoint(g->bounds().topLeft()), widgetFromPoint(g->bounds().bottomRight()));
        QPen outline(g->ctrl_is_locked ? QColor(200, 60, 60) : accent, 0, Qt::DashLine);
        painter.setPen(outline);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        if (!offersHandles(*g))
            continue; // locked elements and barcodes offer no handles
        painter.setPen(QPen(Qt::white, 0));
        painter.setBrush(accent);
        for (Handle h : {Handle::TopLeft, Handle::Top, Handle::TopRight, Handle::Right, Handle::BottomRight,
                         Handle::Bottom, Handle::BottomLeft, Handle::Left})
            painter.drawRect(handleRect(g->bounds(), h));
    }
    if (m_drag == Drag::Band && !m_band.isNull()) {
        QColor fill = accent;
        fill.setAlpha(40);
        painter.setPen(QPen(accent, 0));
        painter.setBrush(fill);
        painter.drawRect(QRectF(widgetFromPoint(m_band.topLeft()), widgetFromPoint(m_band.bottomRight())));
    }
}

// --- Mouse and keyboard ---

void LMNGraphicView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    pruneSelection();

    const int tool = m_host->Selected_Control_Tool();
    if (tool != GraphicFactory::ArrowTool) {
        const GraphicKind kind = GraphicFactory::kindForTool(tool);
        if (kind != GraphicKind::Graphic)
            createGraphicOfClass(kind, event, false, {}, m_cardSide, {}, {});
        return;
    }

    const QPointF position = event->position();
    const QPointF point = pointFromWidget(position);
    const bool extend = event->modifiers() & Qt::ShiftModifier;

    // A handle of a selected, unlocked element starts resizing it.
    if (!extend) {
        for (const GraphicPtr &g : selectedGraphics()) {
            if (!offersHandles(*g))
                continue;
            const Handle handle = handleAt(g->bounds(), position);
            if (handle != Handle::None) {
                m_drag = Drag::Resize;
                m_resizeHandle = handle;
                m_dragAnchor = g;
                m_dragged = {g};
                m_dragOrigins = {{g.get(), g->bounds()}};
                m_dragStart = point;
                _Selected_Graphic = g;
                return;
            }
        }
    }

    const GraphicPtr hit = graphicUnderPoint(point);
    if (!hit) {
        if (!extend)
            Clear_Control_Selection();
        _Selected_Graphic.reset();
        m_drag = Drag::Band;
        m_dragStart = point;
        m_band = QRectF();
        m_bandBase = extend ? selectedGraphics() : GraphicList();
        return;
    }

    if (extend) {
        GraphicList selection = m_selection;
        if (selection.contains(hit))
            selection.removeAll(hit);
        else
            selection.append(hit);
        setSelection(selection);
        if (!isSelected(hit))
            return; // shift-click took it out of the selection
    } else if (!isSelected(hit)) {
        setSelection({hit});
    }
    _Selected_Graphic = hit;

    if (hit->ctrl_is_locked)
        return; // a locked element can be selected, never dragged
    m_drag = Drag::Move;
    m_dragAnchor = hit;
    m_dragStart = point;
    m_dragged.clear();
    m_dragOrigins.clear();
    for (const GraphicPtr &g : selectedGraphics()) {
        if (!g->ctrl_is_locked) {
            m_dragged.append(g);
            m_dragOrigins.insert(g.get(), g->bounds());
        }
    }
}

QPointF LMNGraphicView::pinnedDelta(const QPointF &delta) const
{
    // Dragging never pushes elements further off the card than they already are.
    QRectF united;
    for (const GraphicPtr &g : m_dragged)
        united = united.united(m_dragOrigins.value(g.get()));
    const double minX = std::min(0.0, -united.left());
    const double maxX = std::max(0.0, m_canvasSize.width() - united.right());
    const double minY = std::min(0.0, -united.top());
    const double maxY = std::max(0.0, m_canvasSize.height() - united.bottom());
    return {std::clamp(delta.x(), minX, maxX), std::clamp(delta.y(), minY, maxY)};
}

QRectF LMNGraphicView::resizedBounds(const QRectF &start, Handle handle, const QPointF &point)
{
    double left = start.left(), top = start.top(), right = start.right(), bottom = start.bottom();
    switch (handle) {
    case Handle::TopLeft: left = point.x(); top = point.y(); break;
    case Handle::Top: top = point.y(); break;
    case Handle::TopRight: right = point.x(); top = point.y(); break;
    case Handle::Right: right = point.x(); break;
    case Handle::BottomRight: right = point.x(); bottom = point.y(); break;
    case Handle::Bottom: bottom = point.y(); break;
    case Handle::BottomLeft: left = point.x(); bottom = point.y(); break;
    case Handle::Left: left = point.x(); break;
    case Handle::None: break;
    }
    return QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
}

void LMNGraphicView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF point = pointFromWidget(event->position());
    switch (m_drag) {
    case Drag::None:
        return;
    case Drag::Create:
        if (m_creating)
            m_creating->setBounds(QRectF(m_dragStart, snapped(point)).normalized());
        break;
    case Drag::Resize:
        if (m_dragAnchor)
            m_dragAnchor->setBounds(
                resizedBounds(m_dragOrigins.value(m_dragAnchor.get()), m_resizeHandle, snapped(point)));
        break;
    case Drag::Move: {
        QPointF delta = point - m_dragStart;
        if (m_dragAnchor && m_grid) {
            const QPointF origin = m_dragOrigins.value(m_dragAnchor.get()).topLeft();
            delta = snapped(origin + delta) - origin;
        }
        delta = pinnedDelta(delta);
        for (const GraphicPtr &g : std::as_const(m_dragged))
            g->setBounds(m_dragOrigins.value(g.get()).translated(delta));
        break;
    }
    case Drag::Band: {
        m_band = QRectF(m_dragStart, point).normalized();
        GraphicList selection = m_bandBase;
        for (const GraphicPtr &g : std::as_const(*m_graphics))
            if (g->ctrl_is_visible != 0 && g->drawingBounds().intersects(m_band))
                selection.append(g);
        setSelection(selection);
        break;
    }
    }
    update();
}

void LMNGraphicView::finishMoveOrResize(const QString &text)
{
    QList<BoundsChange> changes;
    for (const GraphicPtr &g : std::as_const(m_dragged))
        changes.append({g, m_dragOrigins.value(g.get()), g->bounds()});
    auto *command = new SetBoundsCommand(m_document, m_graphics, changes, text);
    if (command->isEmpty())
        delete command;
    else
        m_document->perform(command, /*alreadyApplied=*/true);
}

void LMNGraphicView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    switch (m_drag) {
    case Drag::None: break;
    case Drag::Create: {
        const GraphicPtr created = m_creating;
        const QPointF start = m_dragStart;
        if (created && created->kind() == GraphicKind::Line)
            created->_line_ori = lineOrientation(start, snapped(pointFromWidget(event->position())));
        finishCreation();
        break;
    }
    case Drag::Move: finishMoveOrResize(tr("Move")); break;
    case Drag::Resize: finishMoveOrResize(tr("Resize")); break;
    case Drag::Band: m_band = QRectF(); break;
    }
    m_drag = Drag::None;
    m_dragged.clear();
    m_dragOrigins.clear();
    m_dragAnchor.reset();
    m_bandBase.clear();
    update();
    m_host->Show_RHS_Properties(_Selected_Graphic);
}

void LMNGraphicView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_host->Selected_Control_Tool() != GraphicFactory::ArrowTool) {
        mousePressEvent(event);
        return;
    }
    const GraphicPtr hit = graphicUnderPoint(pointFromWidget(event->position()));
    if (hit && !hit->ctrl_is_locked) {
        _Selected_Graphic = hit;
        startEditingGraphic(hit);
        if (hit->kind() == GraphicKind::Barcode)
            m_host->Open_Barcode_Window();
    }
    m_host->Show_RHS_Properties(_Selected_Graphic);
}

void LMNGraphicView::keyPressEvent(QKeyEvent *event)
{
    const double step = (event->modifiers() & Qt::ShiftModifier) ? 10.0 : 1.0;
    switch (event->key()) {
    case Qt::Key_Left: moveSelectionBy({-step, 0}); return;
    case Qt::Key_Right: moveSelectionBy({step, 0}); return;
    case Qt::Key_Up: moveSelectionBy({0, -step}); return;
    case Qt::Key_Down: moveSelectionBy({0, step}); return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace: deleteSelection(); return;
    case Qt::Key_Escape: Clear_Control_Selection(); return;
    default: break;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::Undo)) {
        m_document->undoManager()->undo();
    } else if (event->matches(QKeySequence::Redo)) {
        m_document->undoManager()->redo();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->key() == Qt::Key_D && event->modifiers() == Qt::ControlModifier) {
        duplicate();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void LMNGraphicView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event); // the desk scrolls
        return;
    }
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        setZoom(m_zoom * std::pow(ZoomStep, notches));
    event->accept();
}
