#pragma once

#include <QPointer>
#include <QWidget>

// The window the application's shared dialogs are made over: the editor window while one
// exists, none before (tests without an editor).
QWidget *sharedWindowParent();
void setSharedWindowParent(QWidget *window);

// The one instance of a shared window, as every defaultInstance() hands it out: made on first
// use (over `parent`) and made again once it was deleted, with its parent or by a test.
template <class Window>
Window *sharedWindow(QWidget *parent = nullptr)
{
    static QPointer<Window> instance;
    if (!instance)
        instance = new Window(parent);
    return instance;
}
