#include "document/ImageEffects.h"

#include "document/LMNGraphic.h"

#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double kLumaR = 0.2126;
constexpr double kLumaG = 0.7152;
constexpr double kLumaB = 0.0722;

// Rounds half away from zero into 0..255 (for values in range, floor(v + 0.5)).
inline int clampChannel(double v)
{
    if (!(v > 0.0))
        return 0;
    if (v >= 255.0)
        return 255;
    return int(v + 0.5);
}

inline double luma(double r, double g, double b)
{
    return kLumaR * r + kLumaG * g + kLumaB * b;
}

QImage straight(const QImage &image)
{
    return image.format() == QImage::Format_ARGB32 ? image : image.convertToFormat(QImage::Format_ARGB32);
}

// Runs `f(r, g, b)` -> QRgb colour (alpha ignored) over every pixel of a straight-alpha copy.
template<typename F>
QImage mapColours(const QImage &image, F f)
{
    if (image.isNull())
        return {};
    QImage out = straight(image);
    out.detach();
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = line[x];
            const QRgb c = f(qRed(p), qGreen(p), qBlue(p));
            line[x] = qRgba(qRed(c), qGreen(c), qBlue(c), qAlpha(p));
        }
    }
    return out;
}

// A table per channel value: for filters that treat each channel alike.
QImage mapChannels(const QImage &image, const std::array<uchar, 256> &table)
{
    return mapColours(image, [&table](int r, int g, int b) { return qRgb(table[r], table[g], table[b]); });
}

// Sums over a window of 2r+1 samples with the end samples repeated outwards, by a running
// sum. `get(i)` reads sample i of a row or column of length n; `put(i, sum)` takes the result.
// With unsigned sums a step may wrap around, but the running total stays exact.
template<typename T, typename Get, typename Put>
void windowSums1D(int n, int r, Get get, Put put)
{
    auto sample = [&](int i) { return T(get(std::clamp(i, 0, n - 1))); };
    T sum = 0;
    for (int i = -r; i <= r; ++i)
        sum += sample(i);
    for (int i = 0; i < n; ++i) {
        put(i, sum);
        sum = sum + sample(i + r + 1) - sample(i - r);
    }
}

// Separable square window sums of one plane (w x h): each result is the sum of (2r+1)^2 samples.
template<typename T>
std::vector<T> windowSumsPlane(const std::vector<T> &plane, int w, int h, int r)
{
    std::vector<T> rows(plane.size());
    for (int y = 0; y < h; ++y) {
        const T *src = plane.data() + size_t(y) * w;
        T *dst = rows.data() + size_t(y) * w;
        windowSums1D<T>(w, r, [src](int i) { return src[i]; }, [dst](int i, T v) { dst[i] = v; });
    }
    std::vector<T> out(plane.size());
    for (int x = 0; x < w; ++x) {
        windowSums1D<T>(
            h, r, [&](int i) { return rows[size_t(i) * w + x]; }, [&](int i, T v) { out[size_t(i) * w + x] = v; });
    }
    return out;
}

// Channel sums of a window of (2 x 2000 + 1)^2 x 255 still fit 32 unsigned bits.
constexpr int kMaxBlurRadius = 2000;

double finiteOr(double value, double neutral)
{
    return std::isfinite(value) ? value : neutral;
}

double srgbToLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double linearToSrgb(double c)
{
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

} // namespace

ImageEffects::Settings ImageEffects::Settings::fromGraphic(const LMNGraphic &graphic)
{
    Settings s;
    s.monochrome = graphic.gray_Scale;
    s.sepia = graphic.Sepia;
    s.invert = graphic.invert_clr;
    s.hue = graphic.hue_val;
    s.saturation = graphic.sat_val;
    s.brightness = graphic.brt_val;
    s.contrast = graphic.con_val;
    s.sharpness = graphic.srp_val;
    s.exposure = graphic.ev_val;
    s.blur = graphic.blr_val;
    return s;
}

ImageEffects::Settings ImageEffects::Settings::clamped() const
{
    Settings s = *this;
    s.hue = std::clamp(finiteOr(hue, 0.0), -180.0, 180.0);
    s.saturation = std::clamp(finiteOr(saturation, 1.0), 0.0, 2.0);
    s.brightness = std::clamp(finiteOr(brightness, 0.0), -1.0, 1.0);
    s.contrast = std::clamp(finiteOr(contrast, 1.0), 0.0, 4.0);
    s.sharpness = std::clamp(finiteOr(sharpness, 0.0), 0.0, 2.0);
    s.exposure = std::clamp(finiteOr(exposure, 0.0), -10.0, 10.0);
    s.blur = std::clamp(finiteOr(blur, 0.0), 0.0, 100.0);
    return s;
}

bool ImageEffects::Settings::isNeutral() const
{
    const Settings s = clamped();
    return !s.monochrome && !s.sepia && !s.invert && s.hue == 0.0 && s.saturation == 1.0 && s.brightness == 0.0
           && s.contrast == 1.0 && s.sharpness == 0.0 && s.exposure == 0.0 && s.blur == 0.0;
}

QImage ImageEffects::monochrome(const QImage &image)
{
    return mapColours(image, [](int r, int g, int b) {
        const int y = clampChannel(luma(r, g, b));
        return qRgb(y, y, y);
    });
}

QImage ImageEffects::sepia(const QImage &image)
{
    return mapColours(image, [](int r, int g, int b) {
        return qRgb(clampChannel(0.393 * r + 0.769 * g + 0.189 * b), clampChannel(0.349 * r + 0.686 * g + 0.168 * b),
                    clampChannel(0.272 * r + 0.534 * g + 0.131 * b));
    });
}

QImage ImageEffects::invert(const QImage &image)
{
    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = uchar(255 - i);
    return mapChannels(image, table);
}

QImage ImageEffects::hue(const QImage &image, double degrees)
{
    const double a = qDegreesToRadians(finiteOr(degrees, 0.0));
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double m[3][3] = {
        {0.213 + c * 0.787 - s * 0.213, 0.715 - c * 0.715 - s * 0.715, 0.072 - c * 0.072 + s * 0.928},
        {0.213 - c * 0.213 + s * 0.143, 0.715 + c * 0.285 + s * 0.140, 0.072 - c * 0.072 - s * 0.283},
        {0.213 - c * 0.213 - s * 0.787, 0.715 - c * 0.715 + s * 0.715, 0.072 + c * 0.928 + s * 0.072},
    };
    return mapColours(image, [&m](int r, int g, int b) {
        return qRgb(clampChannel(m[0][0] * r + m[0][1] * g + m[0][2] * b),
                    clampChannel(m[1][0] * r + m[1][1] * g + m[1][2] * b),
                    clampChannel(m[2][0] * r + m[2][1] * g + m[2][2] * b));
    });
}

QImage ImageEffects::colorControls(const QImage &image, double saturation, double brightness, double contrast)
{
    const double sat = std::max(0.0, finiteOr(saturation, 1.0));
    const double add = finiteOr(brightness, 0.0) * 255.0;
    const double k = std::max(0.0, finiteOr(contrast, 1.0));
    // Brightness and contrast act on each channel alike: one table for both.
    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = uchar(clampChannel((i + add - 127.5) * k + 127.5));
    if (sat == 1.0)
        return mapChannels(image, table);
    return mapColours(image, [sat, &table](int r, int g, int b) {
        const double y = luma(r, g, b);
        // Saturation is rounded into a channel value before brightness and contrast, as a
        // chain of separate filters would do.
        return qRgb(table[clampChannel(y + sat * (r - y))], table[clampChannel(y + sat * (g - y))],
                    table[clampChannel(y + sat * (b - y))]);
    });
}

QImage ImageEffects::sharpenLuminance(const QImage &image, double sharpness, int radius)
{
    if (image.isNull())
        return {};
    QImage out = straight(image);
    out.detach();
    const int w = out.width();
    const int h = out.height();
    std::vector<double> lumaPlane(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(out.constScanLine(y));
        for (int x = 0; x < w; ++x)
            lumaPlane[size_t(y) * w + x] = luma(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    const int r = std::clamp(radius, 1, kMaxBlurRadius);
    const double window = double(2 * r + 1) * (2 * r + 1);
    const std::vector<double> sums = windowSumsPlane(lumaPlane, w, h, r);
    const double s = finiteOr(sharpness, 0.0);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            const double delta = s * (lumaPlane[i] - sums[i] / window);
            const QRgb p = line[x];
            line[x] = qRgba(clampChannel(qRed(p) + delta), clampChannel(qGreen(p) + delta),
                            clampChannel(qBlue(p) + delta), qAlpha(p));
        }
    }
    return out;
}

QImage ImageEffects::boxBlur(const QImage &image, int radius)
{
    if (image.isNull())
        return {};
    if (radius <= 0)
        return straight(image);
    // Averaged in premultiplied form, so transparent pixels lend no colour to their neighbours.
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int r = std::min(radius, kMaxBlurRadius);
    const int w = source.width();
    const int h = source.height();
    std::array<std::vector<quint32>, 4> planes;
    for (auto &plane : planes)
        plane.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            planes[0][i] = qAlpha(line[x]);
            planes[1][i] = qRed(line[x]);
            planes[2][i] = qGreen(line[x]);
            planes[3][i] = qBlue(line[x]);
        }
    }
    for (auto &plane : planes)
        plane = windowSumsPlane(plane, w, h, r);
    const double window = double(2 * r + 1) * (2 * r + 1);
    QImage out(w, h, QImage::Format_ARGB32);
    out.setDotsPerMeterX(image.dotsPerMeterX());
    out.setDotsPerMeterY(image.dotsPerMeterY());
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            const quint32 alphaSum = planes[0][i];
            if (alphaSum == 0) {
                line[x] = 0;
                continue;
            }
            // Straight colour is the premultiplied sum over the alpha sum; the window cancels.
            const double scale = 255.0 / alphaSum;
            line[x] = qRgba(clampChannel(planes[1][i] * scale), clampChannel(planes[2][i] * scale),
                            clampChannel(planes[3][i] * scale), clampChannel(alphaSum / window));
        }
    }
    return out;
}

QImage ImageEffects::exposure(const QImage &image, double ev)
{
    const double factor = std::pow(2.0, finiteOr(ev, 0.0));
    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = uchar(clampChannel(linearToSrgb(std::min(1.0, srgbToLinear(i / 255.0) * factor)) * 255.0));
    return mapChannels(image, table);
}

QImage ImageEffects::apply(const QImage &image, const Settings &settings, double pixelsPerPoint)
{
    if (image.isNull())
        return {};
    const Settings s = settings.clamped();
    const double scale = std::isfinite(pixelsPerPoint) && pixelsPerPoint > 0 ? pixelsPerPoint : 1.0;
    QImage out = image;
    if (s.monochrome)
        out = monochrome(out);
    if (s.sepia)
        out = sepia(out);
    if (s.invert)
        out = invert(out);
    if (s.hue != 0.0)
        out = hue(out, s.hue);
    if (s.saturation != 1.0 || s.brightness != 0.0 || s.contrast != 1.0)
        out = colorControls(out, s.saturation, s.brightness, s.contrast);
    if (s.sharpness != 0.0)
        out = sharpenLuminance(out, s.sharpness, std::max(1, int(std::lround(scale))));
    if (s.blur != 0.0)
        out = boxBlur(out, int(std::lround(s.blur * scale)));
    if (s.exposure != 0.0)
        out = exposure(out, s.exposure);
    if (out.format() != QImage::Format_ARGB32_Premultiplied)
        out = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return out;
}
