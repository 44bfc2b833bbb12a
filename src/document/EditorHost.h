#pragma once

#include "document/LMNGraphic.h"
#include "document/LMNRenderingView.h"

#include <QSizeF>

class LMNDocument;
class QWidget;

// What the feature windows (data series, export, print, mail, barcode, profile, help) need of
// the editor window around them: the card, the elements of each side, their background, a
// redraw and the window their dialogs belong to. The editor window implements it with
// one-line forwarders, as it does CanvasHost and PanelHost; every call is made on the main
// thread. Sides: 0 the front, any other value the back.
class EditorHost
{
public:
    virtual ~EditorHost();

    // The card size in points and whether the card has a back ("2" sides).
    virtual QSizeF cardSize() const = 0;
    virtual bool twoSided() const = 0;
    // The side the user works on now.
    virtual int sideInWork() const = 0;

    // The elements of a side (the design's own lists: edits show on the canvas).
    virtual GraphicList &sideElements(int side) = 0;
    // The background painter of a side, as a snapshot that worker threads may use.
    virtual LMNRenderingView::BackgroundPainter backgroundPainterForSide(int side) const = 0;
    virtual LMNDocument *document() const = 0;

    // Redraws the canvas of the side in work (nothing while a run fills the design).
    virtual void Refresh_Canvas() = 0;
    // The window dialogs and sheets are shown over.
    virtual QWidget *dialogParent() = 0;
};

// The one editor window, set by its constructor, as the feature windows see it; shared dialogs
// that are opened from many places (the data series windows) reach the design through it.
extern EditorHost *Main_App_wnd;
