#include "barcode/generator/BarcodeSizeAdvice.h"

#include "barcode/BarcodeLists.h"
#include "barcode/generator/BarcodeGenerator.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace BarcodeSizeAdvice {

namespace {

enum class Verdict { Accepted, TooLarge, Refused };

// A field's value in whole steps of its last digit (hundredths, tenths), rounded up so that a
// value between two steps counts as the larger.
int inSteps(double fieldValue, int stepsPerUnit)
{
    return int(std::ceil(fieldValue * stepsPerUnit - 1e-6));
}

// A whole number from `low` up to below `high` (too large itself) that is accepted while the
// next one up is too large, found by halving between one that is not too large and one that
// is. Too large is a matter of size; near its edge the module rounding may make a larger value
// smaller again, so the halving keeps to a pair that straddles the edge and the answer is
// checked to be accepted, not only not too large. None when `low` is too large already or the
// value below the edge is refused for another reason.
std::optional<int> largestAccepted(int low, int high, const std::function<Verdict(int)> &verdict)
{
    if (low >= high)
        return std::nullopt;
    int fits = low;
    Verdict atFits = verdict(low);
    if (atFits == Verdict::TooLarge)
        return std::nullopt;
    int tooLarge = high;
    while (tooLarge - fits > 1) {
        const int middle = fits + (tooLarge - fits) / 2;
        const Verdict atMiddle = verdict(middle);
        if (atMiddle == Verdict::TooLarge) {
            tooLarge = middle;
        } else {
            fits = middle;
            atFits = atMiddle;
        }
    }
    return atFits == Verdict::Accepted ? std::optional<int>(fits) : std::nullopt;
}

} // namespace

QString advice(const BarcodeElementSettings &settings, const QString &value, const QString &header,
               const QString &footer)
{
    using Change = std::function<void(BarcodeElementSettings &, int)>;
    // The largest accepted value of one field, every other setting as it is.
    const auto largest = [&](int low, int current, const Change &change) {
        return largestAccepted(low, current, [&](int candidate) {
            BarcodeElementSettings changed = settings;
            change(changed, candidate);
            const BarcodeGenerator::Result result = BarcodeGenerator::measure(changed, value, header, footer);
            return result.tooLarge            ? Verdict::TooLarge
                   : result.failure.isEmpty() ? Verdict::Accepted
                                              : Verdict::Refused;
        });
    };
    QStringList choices;
    const QString title = settings.title();
    if (!settings.isTwoDimensional()) {
        // Linear and postal pictures have their own resolution: the bar fields are the choice.
        if (const auto height = largest(10, inSteps(settings.linear_height_val, 100),
                                        [](BarcodeElementSettings &s, int v) { s.linear_height_val = float(v / 100.0); }))
            choices << QStringLiteral("a bar height of at most %1 cm").arg(*height / 100.0, 0, 'f', 2);
        if (const auto width = largest(50, inSteps(settings.linear_width_val, 10),
                                       [](BarcodeElementSettings &s, int v) { s.linear_width_val = float(v / 10.0); }))
            choices << QStringLiteral("a bar width of at most %1 mils").arg(*width / 10.0, 0, 'f', 1);
    } else {
        if (title == QLatin1String("QR Code")) {
            if (const auto size = largest(21, settings.qr_size_val, [](BarcodeElementSettings &s, int v) { s.qr_size_val = v; }))
                choices << QStringLiteral("a size of at most %1 points").arg(*size);
        } else if (title == QLatin1String("PDF417")) {
            // The drawing keeps its proportion: the longer side is the one sought, the shorter
            // follows it (never below the fields' 10 points).
            const bool wide = settings.pdf_wdt_val >= settings.pdf_hgt_val;
            const int longer = wide ? settings.pdf_wdt_val : settings.pdf_hgt_val;
            const int shorter = wide ? settings.pdf_hgt_val : settings.pdf_wdt_val;
            const auto follow = [longer, shorter](int side) {
                return std::max(10, int(std::lround(double(shorter) * side / longer)));
            };
            if (const auto side = largest(10, longer, [wide, follow](BarcodeElementSettings &s, int v) {
                    (wide ? s.pdf_wdt_val : s.pdf_hgt_val) = v;
                    (wide ? s.pdf_hgt_val : s.pdf_wdt_val) = follow(v);
                }))
                choices << QStringLiteral("a size of at most %1 × %2 points")
                               .arg(wide ? *side : follow(*side))
                               .arg(wide ? follow(*side) : *side);
        } else {
            if (const auto module = largest(1, settings.dm_module_val, [](BarcodeElementSettings &s, int v) { s.dm_module_val = v; }))
                choices << QStringLiteral("a module size of at most %1 points").arg(*module);
        }
        // A resolution is chosen as a custom one.
        const int custom = int(BarcodeLists::resolutions().indexOf(QStringLiteral("Custom")));
        if (const auto dpi = largest(BarcodeLists::kMinResolution, settings.resolution(),
                                     [custom](BarcodeElementSettings &s, int v) {
                                         s.dpi_val_index = custom;
                                         s.dpi_custom_val = QString::number(v);
                                     }))
            choices << QStringLiteral("at most %1 dpi").arg(*dpi);
    }
    if (choices.isEmpty())
        return QStringLiteral("Choose a shorter value, smaller fonts or smaller margins.");
    QString sentence = choices.takeLast();
    if (!choices.isEmpty())
        sentence = choices.join(QStringLiteral(", ")) + QStringLiteral(", or ") + sentence;
    return QStringLiteral("Choose %1.").arg(sentence);
}

} // namespace BarcodeSizeAdvice
