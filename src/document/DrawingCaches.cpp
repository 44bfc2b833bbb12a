#include "document/DrawingCaches.h"

#include "document/CoverageMaskCache.h"
#include "document/GreyPictures.h"

#include <QByteArray>
#include <QtGlobal>

#include <atomic>

namespace DrawingCaches {

namespace {

bool switchedOnAtStart()
{
    const QByteArray value = qgetenv("FESTILOOM_DRAWING_CACHES").trimmed().toLower();
    return !(value == "off" || value == "0" || value == "no" || value == "false");
}

// Read once, as the program starts.
std::atomic<bool> g_enabled{switchedOnAtStart()};

} // namespace

bool enabled()
{
    return g_enabled.load(std::memory_order_relaxed);
}

void setEnabled(bool on)
{
    g_enabled.store(on, std::memory_order_relaxed);
}

void resetThread()
{
    CoverageMaskCache::resetThread();
    GreyPictures::dropKept();
}

} // namespace DrawingCaches
