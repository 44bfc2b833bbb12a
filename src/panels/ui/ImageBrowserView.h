#pragma once

#include <QListView>

class ImageBrowserModel;

// A picture browser: a QListView in icon mode with a zoom (0.1 to 1 of the largest
// thumbnail), reordering by dragging inside it.
class ImageBrowserView : public QListView
{
    Q_OBJECT

public:
    explicit ImageBrowserView(QWidget *parent = nullptr);
    // Turns a list view made by a form into a picture browser.
    static void setUp(QListView *view);
    static void setZoom(QListView *view, double zoom);
    // The path of the first selected item; empty without a selection.
    static QString firstSelectedPath(const QListView *view);
};
