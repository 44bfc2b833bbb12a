#pragma once

// The switch and the reset of the per-thread caches of drawing: the masks of strokes and large
// text (CoverageMaskCache), the 32-bit pictures kept of grey barcode pictures
// (GreyPictures::keptThirtyTwoBit) and the colours and keys they remember.
//
// The environment variable FESTILOOM_DRAWING_CACHES=off, read once when the program starts,
// turns every one of them off: everything is then drawn by Qt as it comes, and nothing is
// kept. It is there for measuring what the caches save and for telling whether a drawing
// fault lies in them (docs/drawing-caches.md).
namespace DrawingCaches {

// Whether the caches are on: as the environment said at start, unless setEnabled() said since.
bool enabled();

// Turns the caches on or off for the whole process from now on; for benchmarks that measure
// both in one run. A thread's kept entries stay until its next reset or its end.
void setEnabled(bool on);

// Lets go of everything the calling thread's caches keep and remember, as on a thread that
// has drawn nothing: the bytes go back to ThreadCacheBudget.
void resetThread();

} // namespace DrawingCaches
