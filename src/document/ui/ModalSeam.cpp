#include "document/ui/ModalSeam.h"

#include "document/ui/QtModalSeam.h"

namespace {
ModalSeam *g_installed = nullptr;

ModalSeam &qtSeam()
{
    static QtModalSeam seam;
    return seam;
}
} // namespace

ModalSeam &ModalSeam::instance()
{
    return g_installed ? *g_installed : qtSeam();
}

ModalSeam *ModalSeam::install(ModalSeam *seam)
{
    ModalSeam *previous = g_installed;
    g_installed = seam;
    return previous;
}
