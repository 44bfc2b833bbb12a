#include "dialogs/ui/SharedWindow.h"

namespace {
QPointer<QWidget> g_parent;
} // namespace

QWidget *sharedWindowParent()
{
    return g_parent;
}

void setSharedWindowParent(QWidget *window)
{
    g_parent = window;
}
