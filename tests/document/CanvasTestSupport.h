#pragma once

// A canvas on a white card, its document, grid and a stand-in editor, with mouse helpers
// that speak in card points.

#include "document/DocumentGlobals.h"
#include "document/LMNDocument.h"
#include "document/LMNGrid.h"
#include "document/ui/DefaultCanvasHost.h"
#include "document/ui/LMNGraphicView.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QMouseEvent>

#include <memory>

class CanvasTest : public ::testing::Test
{
protected:
    LMNDocument document;
    DefaultCanvasHost host;
    LMNGrid grid;
    std::unique_ptr<LMNGraphicView> canvas;

    void SetUp() override
    {
        last_ctrl_X = 10.0f;
        last_ctrl_Y = 10.0f;
        Library_Selected_Image.clear();
        canvas = std::make_unique<LMNGraphicView>(&document, &document.graphics);
        canvas->setHost(&host);
        canvas->setGrid(&grid);
        canvas->setCanvasSize(QSizeF(243, 154));
        canvas->show();
    }

    void TearDown() override { canvas.reset(); }

    GraphicList &list() { return document.graphics; }

    // An element put on the side directly (as a loaded design would), below the others.
    GraphicPtr add(const QRectF &bounds, GraphicKind kind = GraphicKind::Graphic, bool locked = false)
    {
        GraphicPtr g = LMNGraphic::create(kind);
        g->setBounds(bounds);
        g->ctrl_is_locked = locked;
        g->_isDrawingFill = true;
        list().append(g);
        return g;
    }

    void mouse(QEvent::Type type, const QPointF &point, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPointF local = canvas->widgetFromPoint(point);
        QMouseEvent event(type, local, canvas->mapToGlobal(local), button, buttons, modifiers);
        QApplication::sendEvent(canvas.get(), &event);
    }
    void press(const QPointF &p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, m);
    }
    void moveTo(const QPointF &p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, m);
    }
    void release(const QPointF &p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, m);
    }
    void click(const QPointF &p, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        press(p, m);
        release(p, m);
    }
    void drag(const QPointF &from, const QPointF &to, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        press(from, m);
        moveTo((from + to) / 2, m);
        moveTo(to, m);
        release(to, m);
    }
    void doubleClick(const QPointF &p)
    {
        click(p);
        mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        release(p);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(canvas.get(), k, m); }
};
