#pragma once

#include <functional>

// Runs a raster drawing job on a thread of Qt's global thread pool, where Qt's raster engine
// does all of its work on the thread that paints.
//
// Qt's raster engine splits every fill or picture draw of more than about a hundred pixel rows,
// and every smooth scaling of a large picture, into pieces for QThreadPool::globalInstance(),
// and waits for them, unless the painting thread is itself one of that pool's threads. A card
// side is dozens of such draws of a few hundred rows each, where handing the pieces over and
// waking up again costs more than the pieces save: about a third of the time of a 300 dpi card,
// on one core or on many. Several cards drawn at once (batch runs) are spread over threads
// anyway.
//
// run() hands the job to the pool and waits for it to be done; on one of the pool's own threads
// it runs the job there and then, so jobs may run jobs. Drawing on the calling thread when the
// pool is busy would be slower still: its pieces would wait behind whole cards. Jobs must not
// wait for the thread that runs them, or for anything that thread holds.
class PoolThreadRunner
{
public:
    static void run(const std::function<void()> &job);

    // True on a thread of Qt's global thread pool.
    static bool onPoolThread();
};
