// Until the editor window exists, festiloom opens a plain window with the front canvas of a
// new document and a tool bar of the drawing tools, so the canvas can be tried by hand.

#include "document/DocumentGlobals.h"
#include "document/GraphicFactory.h"
#include "document/LMNDocument.h"
#include "document/LMNGrid.h"
#include "document/ui/DefaultCanvasHost.h"
#include "document/ui/LMNDeskView.h"
#include "document/ui/LMNGraphicView.h"
#include "document/ui/ModalSeam.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

namespace {

// The stand-in host, wired to the tool bar: the canvas's return to the arrow checks the
// arrow button, and the grid enables its menu command.
class PlainWindowHost : public DefaultCanvasHost
{
public:
    QList<QAction *> toolActions;
    QAction *alignWithGridAction = nullptr;

    void selectArrowTool() override
    {
        DefaultCanvasHost::selectArrowTool();
        if (!toolActions.isEmpty())
            toolActions.first()->setChecked(true);
    }
    void setAlignWithGridEnabled(bool enabled) override
    {
        DefaultCanvasHost::setAlignWithGridEnabled(enabled);
        if (alignWithGridAction)
            alignWithGridAction->setEnabled(enabled);
    }
};

void addToolBar(QMainWindow &window, PlainWindowHost &host)
{
    QToolBar *tools = window.addToolBar(QObject::tr("Drawing tools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *group = new QActionGroup(&window);
    for (int tool = 0; tool < GraphicFactory::ToolCount; ++tool) {
        QAction *action = tools->addAction(GraphicFactory::toolName(tool));
        action->setCheckable(true);
        action->setChecked(tool == 0);
        group->addAction(action);
        host.toolActions.append(action);
        QObject::connect(action, &QAction::triggered, &window, [&window, &host, tool] {
            host.tool = tool;
            if (tool == GraphicFactory::PictureFileTool || tool == GraphicFactory::PictureLibraryTool) {
                // The picture tools draw the picture chosen here.
                const QString path = ModalSeam::instance().openFileName(
                    &window, QObject::tr("Choose a picture"), QString(),
                    QObject::tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff)"));
                if (path.isEmpty())
                    host.selectArrowTool();
                else
                    Library_Selected_Image = path;
            }
        });
    }
}

void addMenus(QMainWindow &window, LMNDocument &document, LMNGraphicView &canvas, LMNGrid &grid, PlainWindowHost &host)
{
    QMenu *edit = window.menuBar()->addMenu(QObject::tr("&Edit"));
    QAction *undo = document.undoManager()->createUndoAction(&window);
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = document.undoManager()->createRedoAction(&window);
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    edit->addAction(QObject::tr("Cut"), QKeySequence::Cut, &canvas, &LMNGraphicView::cut);
    edit->addAction(QObject::tr("Copy"), QKeySequence::Copy, &canvas, &LMNGraphicView::copy);
    edit->addAction(QObject::tr("Paste"), QKeySequence::Paste, &canvas, &LMNGraphicView::paste);
    edit->addAction(QObject::tr("Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D), &canvas, &LMNGraphicView::duplicate);
    edit->addAction(QObject::tr("Delete"), &canvas, &LMNGraphicView::deleteSelection);
    edit->addAction(QObject::tr("Select All"), QKeySequence::SelectAll, &canvas, &LMNGraphicView::selectAll);

    QMenu *arrange = window.menuBar()->addMenu(QObject::tr("&Arrange"));
    arrange->addAction(QObject::tr("Centre on Card"), &canvas, &LMNGraphicView::alignformCenter);
    arrange->addAction(QObject::tr("Align Left Edges"), &canvas, &LMNGraphicView::alignLeftEdges);
    arrange->addAction(QObject::tr("Align Right Edges"), &canvas, &LMNGraphicView::alignRightEdges);
    arrange->addAction(QObject::tr("Align Top Edges"), &canvas, &LMNGraphicView::alignTopEdges);
    arrange->addAction(QObject::tr("Align Bottom Edges"), &canvas, &LMNGraphicView::alignBottomEdges);
    arrange->addAction(QObject::tr("Align Horizontal Centres"), &canvas, &LMNGraphicView::alignHorizontalCenters);
    arrange->addAction(QObject::tr("Align Vertical Centres"), &canvas, &LMNGraphicView::alignVerticalCenters);
    arrange->addSeparator();
    arrange->addAction(QObject::tr("Same Width"), &canvas, &LMNGraphicView::makeSameWidth);
    arrange->addAction(QObject::tr("Same Height"), &canvas, &LMNGraphicView::makeSameHeight);
    arrange->addAction(QObject::tr("Natural Size"), &canvas, &LMNGraphicView::makeNaturalSize);
    host.alignWithGridAction = arrange->addAction(QObject::tr("Align with Grid"), &canvas, &LMNGraphicView::alignWithGrid);
    host.alignWithGridAction->setEnabled(grid.isAlwaysShown());

    QMenu *view = window.menuBar()->addMenu(QObject::tr("&View"));
    view->addAction(QObject::tr("Zoom In"), QKeySequence::ZoomIn, &canvas, &LMNGraphicView::zoomIn);
    view->addAction(QObject::tr("Zoom Out"), QKeySequence::ZoomOut, &canvas, &LMNGraphicView::zoomOut);
    view->addAction(QObject::tr("Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0), &canvas, [&canvas] { canvas.setZoom(1.0); });
    view->addSeparator();
    QAction *showGrid = view->addAction(QObject::tr("Show Grid"));
    showGrid->setCheckable(true);
    QObject::connect(showGrid, &QAction::toggled, &grid, &LMNGrid::setAlwaysShown);
    QAction *snap = view->addAction(QObject::tr("Snap to Grid"));
    snap->setCheckable(true);
    QObject::connect(snap, &QAction::toggled, &grid, &LMNGrid::setConstraining);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Festiloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Festiloom"));

    Q_INIT_RESOURCE(resources);

    LMNDocument document;
    LMNGrid grid;
    PlainWindowHost host;
    if (const QImage noImage(QStringLiteral(":/seed/no.png")); !noImage.isNull())
        host.placeholder = noImage;

    QMainWindow window;
    auto *canvas = new LMNGraphicView(&document, &document.graphics);
    canvas->setHost(&host);
    canvas->setGrid(&grid);
    canvas->setZoom(2.0);
    window.setCentralWidget(new LMNDeskView(canvas));
    addToolBar(window, host);
    addMenus(window, document, *canvas, grid, host);

    window.resize(1000, 800);
    window.show();
    canvas->setFocus();
    return app.exec();
}
