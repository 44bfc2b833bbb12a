#include "document/CoverageMaskCache.h"

#include "document/DrawingCaches.h"
#include "document/RasterRounding.h"
#include "document/ThreadCacheBudget.h"

#include <QBrush>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <deque>
#include <list>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace CoverageMaskCache {

namespace {

using RasterRounding::byteMul;

// Coverage pictures are made for devices up to this many pixels (a card at 1200 dpi); larger
// ones are left to Qt.
constexpr qint64 kMaxDevicePixels = qint64(16) << 20;
// The coverage picture is kept from one mask to the next up to this many pixels (a card at
// 600 dpi); a larger one is made for each mask.
constexpr qint64 kKeptScratchPixels = qint64(4) << 20;
// A mask larger than this is used once and not kept.
constexpr qint64 kLargestKeptMask = qint64(4) << 20;
// Runs of covered pixels in a row are joined across fewer uncovered pixels than this.
constexpr int kJoinGap = 8;
// Runs of whole coverage at least this long are kept without their bytes.
constexpr int kLeastWholeRun = 4;
// A mask's bookkeeping beside its runs and coverage: its key twice (the table's and the age
// list's), a table node and a list node.
qint64 entryBytes(const QByteArray &key)
{
    return 2 * (qint64(key.size()) + 32) + 64;
}

struct Entry
{
    Mask mask;
    qint64 bytes = 0;
    std::list<QByteArray>::iterator age;
};

struct Cache
{
    QHash<QByteArray, Entry> masks;
    // Keys of the masks, the one used last first.
    std::list<QByteArray> ages;
    qint64 maskBytes = 0;
    // Whether a mask has had to go for want of bytes: the thread holds as many masks as its
    // bytes allow, no more.
    bool full = false;
    // Zero everywhere between drawings; as large as the last device a mask was made for, when
    // kept.
    QImage scratch;
    qint64 scratchBytes = 0;
    QHash<std::pair<quint64, double>, quint32> colours;
    // Hashes of the keys looked for, with the count of looks when each was last looked for;
    // the oldest kMaxSeen in `seenOrder`.
    QHash<size_t, quint64> seen;
    std::deque<std::pair<size_t, quint64>> seenOrder;
    quint64 looks = 0;

    ~Cache() { reset(); }

    void reset()
    {
        dropMasks();
        dropScratch();
        colours.clear();
        seen.clear();
        seenOrder.clear();
        looks = 0;
        full = false;
    }

    void dropOldest()
    {
        const auto found = masks.find(ages.back());
        ThreadCacheBudget::giveBack(found->bytes);
        maskBytes -= found->bytes;
        masks.erase(found);
        ages.pop_back();
    }

    void dropMasks()
    {
        masks.clear();
        ages.clear();
        ThreadCacheBudget::giveBack(maskBytes);
        maskBytes = 0;
    }

    void dropScratch()
    {
        scratch = QImage();
        ThreadCacheBudget::giveBack(scratchBytes);
        scratchBytes = 0;
    }

    // Takes `bytes`, letting the oldest masks go until they fit; false where they do not.
    bool makeRoom(qint64 bytes)
    {
        while (!ThreadCacheBudget::take(bytes)) {
            if (ages.empty())
                return false;
            dropOldest();
            full = true;
        }
        return true;
    }
};

Cache &cache()
{
    thread_local Cache instance;
    return instance;
}

// Keeps the pixels of `line` from `first` to before `end`: long stretches of whole coverage
// as whole runs, the rest with their coverage.
void addRun(Mask &mask, const uchar *line, int y, int first, int end)
{
    const auto partial = [&](int from, int to) {
        if (from >= to)
            return;
        mask.runs.push_back({y, from, to - from, int(mask.coverage.size()), false});
        mask.coverage.insert(mask.coverage.end(), line + from, line + to);
    };
    int pending = first;
    for (int x = first; x < end;) {
        if (line[x] != 255) {
            ++x;
            continue;
        }
        int whole = x;
        while (whole < end && line[whole] == 255)
            ++whole;
        if (whole - x >= kLeastWholeRun) {
            partial(pending, x);
            mask.runs.push_back({y, x, whole - x, 0, true});
            pending = whole;
        }
        x = whole;
    }
    partial(pending, end);
    mask.bounds |= QRect(first, y, end - first, 1);
}

// The covered pixels of `area` in the scratch picture as runs, the area left cleared.
void takeRuns(QImage &scratch, const QRect &area, Mask &mask)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar *line = scratch.scanLine(y);
        const int end = area.left() + area.width();
        int x = area.left();
        while (x < end) {
            // Eight uncovered pixels at a time.
            while (x + 8 <= end) {
                quint64 eight;
                std::memcpy(&eight, line + x, 8);
                if (eight)
                    break;
                x += 8;
            }
            while (x < end && line[x] == 0)
                ++x;
            if (x >= end)
                break;
            const int first = x;
            int last = x;
            while (x < end && x - last < kJoinGap) {
                if (line[x])
                    last = x;
                ++x;
            }
            addRun(mask, line, y, first, last + 1);
            std::memset(line + first, 0, std::size_t(last + 1 - first));
            x = last + 1;
        }
    }
}

// The mask as `making` says; none where no coverage picture could be had.
std::optional<Mask> makeMask(const Making &making)
{
    if (making.device.isEmpty() || qint64(making.device.width()) * making.device.height() > kMaxDevicePixels)
        return std::nullopt;
    Cache &c = cache();
    if (c.scratch.size() != making.device) {
        c.dropScratch();
        c.scratch = QImage(making.device, QImage::Format_Alpha8);
        if (c.scratch.isNull())
            return std::nullopt;
        c.scratch.fill(0);
    }
    Mask mask;
    {
        QPainter scratch(&c.scratch);
        scratch.setRenderHints(making.hints);
        scratch.setTransform(making.transform);
        scratch.setPen(Qt::white);
        if (making.clipToReach) {
            scratch.resetTransform();
            scratch.setClipRect(making.reach);
            scratch.setTransform(making.transform);
        }
        const QRect reach = making.reach.intersected(c.scratch.rect());
        mask.result = making.draw(scratch, mask.leftToQt, [&] { takeRuns(c.scratch, reach, mask); });
    }
    const QRect reach = making.reach.intersected(c.scratch.rect());
    takeRuns(c.scratch, reach, mask);
    mask.runs.shrink_to_fit();
    mask.coverage.shrink_to_fit();
    // Coverage on an edge of a reach that cut the drawing may have been cut with it; edges of
    // the device cut Qt's own drawing alike.
    if (making.clipToReach && !mask.runs.empty()) {
        const QRect device = c.scratch.rect();
        const QRect uncut(QPoint(reach.left() + (reach.left() > device.left()), reach.top() + (reach.top() > device.top())),
                          QPoint(reach.right() - (reach.right() < device.right()),
                                 reach.bottom() - (reach.bottom() < device.bottom())));
        if (!uncut.contains(mask.bounds))
            mask.leftToQt = true;
    }
    if (mask.leftToQt)
        mask = Mask{{}, {}, {}, mask.result, true};
    // A picture kept for the next mask counts with the thread's masks, before them; one too
    // large for them is made for each mask and let go at once.
    const qint64 pictureBytes = c.scratch.sizeInBytes();
    if (c.scratchBytes == 0) {
        if (qint64(c.scratch.width()) * c.scratch.height() <= kKeptScratchPixels && c.makeRoom(pictureBytes))
            c.scratchBytes = pictureBytes;
        else
            c.scratch = QImage();
    }
    return mask;
}

#if defined(__SSE2__)
// byteMul() of four pixels by four factors, each factor in both 16-bit halves of its pixel's lane.
inline __m128i byteMul4(__m128i pixels, __m128i factors)
{
    const __m128i redBlue = _mm_set1_epi32(0x00ff00ff);
    const __m128i half = _mm_set1_epi16(0x80);
    __m128i ag = _mm_mullo_epi16(_mm_srli_epi16(pixels, 8), factors);
    __m128i rb = _mm_mullo_epi16(_mm_and_si128(pixels, redBlue), factors);
    ag = _mm_add_epi16(_mm_add_epi16(ag, _mm_srli_epi16(ag, 8)), half);
    rb = _mm_add_epi16(_mm_add_epi16(rb, _mm_srli_epi16(rb, 8)), half);
    return _mm_or_si128(_mm_andnot_si128(redBlue, ag), _mm_srli_epi16(rb, 8));
}

// Source-over of `colour` through four coverage bytes onto four pixels.
inline __m128i blend4(__m128i pixels, quint32 cover, __m128i colour)
{
    __m128i factors = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(cover)), _mm_setzero_si128());
    factors = _mm_unpacklo_epi16(factors, factors);
    const __m128i source = byteMul4(colour, factors);
    __m128i keep = _mm_srli_epi32(source, 24);
    keep = _mm_sub_epi16(_mm_set1_epi16(255), _mm_or_si128(keep, _mm_slli_epi32(keep, 16)));
    return _mm_add_epi32(source, byteMul4(pixels, keep));
}
#endif

// Source-over of the premultiplied colour through `cover` (whole coverage where null) onto
// `length` pixels of `line`, as Qt's raster engine blends a solid colour through coverage.
// Whole coverage and none come out of the same sums as the colour and the pixel unchanged.
void blendSpan(quint32 *line, const uchar *cover, int length, quint32 colour)
{
    int i = 0;
    if (!cover && qAlpha(colour) == 255) {
        std::fill_n(line, length, colour);
        return;
    }
#if defined(__SSE2__)
    const __m128i colours = _mm_set1_epi32(int(colour));
    for (; i + 4 <= length; i += 4) {
        quint32 four = 0xffffffffu;
        if (cover)
            std::memcpy(&four, cover + i, 4);
        if (four == 0)
            continue;
        __m128i *at = reinterpret_cast<__m128i *>(line + i);
        _mm_storeu_si128(at, blend4(_mm_loadu_si128(at), four, colours));
    }
#endif
    for (; i < length; ++i) {
        const quint32 source = cover ? byteMul(colour, cover[i]) : colour;
        line[i] = source + byteMul(line[i], 255 - qAlpha(source));
    }
}

// x * a / 255 on one channel, rounded as byteMul() rounds each of its four.
inline uchar channelMul(uint x, uint a)
{
    const uint t = x * a;
    return uchar((t + (t >> 8) + 0x80) >> 8);
}

// Calls put(line, cover, length) for each run of the mask that lies in the image, cut to it.
template<typename Pixel, typename Put>
void forEachRun(QImage &image, const Mask &mask, Put &&put)
{
    uchar *bits = image.bits();
    const qsizetype bytesPerLine = image.bytesPerLine();
    const QRect inside = image.rect();
    for (const Run &run : mask.runs) {
        if (run.y < 0 || run.y >= inside.height())
            continue;
        const int first = std::max(run.x, 0);
        const int end = std::min(run.x + run.length, inside.width());
        if (first >= end)
            continue;
        Pixel *line = reinterpret_cast<Pixel *>(bits + run.y * bytesPerLine) + first;
        put(line, run.whole ? nullptr : mask.coverage.data() + run.offset + (first - run.x), end - first);
    }
}

} // namespace

qint64 Mask::bytes() const
{
    return qint64(runs.capacity() * sizeof(Run) + coverage.capacity()) + qint64(sizeof(Mask));
}

bool withMask(const QByteArray &key, const Making &making, const std::function<void(const Mask &)> &use)
{
    if (!DrawingCaches::enabled())
        return false;
    if (const Mask *found = find(key)) {
        use(*found);
        return true;
    }
    std::optional<Mask> made = makeMask(making);
    if (!made)
        return false;
    Cache &c = cache();
    const qint64 bytes = made->bytes() + entryBytes(key);
    if (bytes <= kLargestKeptMask) {
        // The oldest masks make room for a new one.
        while (c.masks.size() >= kMaxMasks)
            c.dropOldest();
        if (c.makeRoom(bytes)) {
            c.maskBytes += bytes;
            c.ages.push_front(key);
            const auto inserted = c.masks.insert(key, Entry{std::move(*made), bytes, c.ages.begin()});
            use(inserted->mask);
            return true;
        }
    }
    // No room: used this once.
    use(*made);
    return true;
}

const Mask *find(const QByteArray &key)
{
    if (!DrawingCaches::enabled())
        return nullptr;
    Cache &c = cache();
    const auto found = c.masks.find(key);
    if (found == c.masks.end())
        return nullptr;
    c.ages.splice(c.ages.begin(), c.ages, found->age);
    return &found->mask;
}

bool seenBefore(const QByteArray &key)
{
    if (!DrawingCaches::enabled())
        return false;
    Cache &c = cache();
    const size_t hash = qHash(key);
    const quint64 now = ++c.looks;
    // A drawing that comes round again later than the thread's masks could have kept its mask
    // would find it gone: it is left to Qt rather than made a mask never used.
    const quint64 reach = c.full ? quint64(std::max<qsizetype>(c.masks.size(), 1)) : quint64(kMaxMasks);
    const auto found = c.seen.find(hash);
    const bool again = found != c.seen.end() && now - *found <= reach;
    c.seen.insert(hash, now);
    c.seenOrder.emplace_back(hash, now);
    while (qsizetype(c.seenOrder.size()) > kMaxSeen) {
        const auto [oldest, when] = c.seenOrder.front();
        c.seenOrder.pop_front();
        const auto stale = c.seen.find(oldest);
        if (stale != c.seen.end() && *stale == when)
            c.seen.erase(stale);
    }
    return again;
}

void resetThread()
{
    cache().reset();
}

quint32 fillColour(const QBrush &brush, double opacity)
{
    // Qt's raster engine fills a solid colour by its 16-bit channels, whatever model the colour
    // was given in; the answer is asked of Qt itself: a fill of that brush wholly covering one
    // transparent pixel leaves exactly that colour.
    const std::pair<quint64, double> key(quint64(brush.color().rgba64()), opacity);
    QHash<std::pair<quint64, double>, quint32> &colours = cache().colours;
    const auto found = colours.constFind(key);
    if (found != colours.constEnd())
        return *found;
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.fill(0);
    QPainter painter(&pixel);
    painter.setOpacity(opacity);
    // Not a rectangle, so that it is filled as an outline is.
    QPainterPath cover;
    cover.moveTo(-2, -2);
    cover.lineTo(6, -2);
    cover.lineTo(-2, 6);
    cover.closeSubpath();
    painter.fillPath(cover, QBrush(brush.color()));
    painter.end();
    const quint32 colour = *reinterpret_cast<const quint32 *>(pixel.constScanLine(0));
    if (colours.size() >= kMaxColours)
        colours.clear();
    colours.insert(key, colour);
    return colour;
}

// Masks are put down by these loops rather than by QPainter::drawImage of a premultiplied
// picture of the same pixels, because they are faster where it counts: a dashed frame round a
// 300 dpi card takes 60 us here and 84 us by drawImage (bench_RenderBench, BM_PutDownFrame),
// and 1,000 cards of 72 pt words take 276-424 ms here and 549-658 ms by drawImage, which needs
// the painter's state saved and restored round it (bench_LargeTextBench, BM_LargeTextCards).
// A single word put down alone is faster by drawImage (BM_PutDownWord), but not on a card.
void blend(QImage &image, const Mask &mask, quint32 colour)
{
    forEachRun<quint32>(image, mask, [colour](quint32 *line, const uchar *cover, int length) {
        blendSpan(line, cover, length, colour);
    });
}

// Qt draws nothing onto 8-bit grey pictures the way it draws onto 32-bit ones; this loop gives
// the grey of the 32-bit blend: every channel of an opaque grey takes the same steps.
void blendGrey(QImage &image, const Mask &mask, uchar level)
{
    forEachRun<uchar>(image, mask, [level](uchar *line, const uchar *cover, int length) {
        if (!cover) {
            std::memset(line, level, std::size_t(length));
            return;
        }
        for (int i = 0; i < length; ++i)
            line[i] = uchar(channelMul(level, cover[i]) + channelMul(line[i], 255u - cover[i]));
    });
}

int maskCount()
{
    return int(cache().masks.size());
}

qint64 scratchBytes()
{
    return cache().scratchBytes;
}

qint64 threadBytes()
{
    const Cache &c = cache();
    return c.maskBytes + c.scratchBytes;
}

} // namespace CoverageMaskCache
