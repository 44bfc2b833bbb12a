#include "barcode/qr/QREncoder.h"

#include "barcode/qr/CQR_Encode.h"
#include "barcode/generator/ModuleGridPicture.h"

#include <QDebug>
#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>
#include <new>

namespace {

// True when `sjis` holds only ASCII that reads the same in Shift JIS and double-byte characters
// that Kanji mode can carry: a reader then gets the text back whatever it assumes for the ASCII.
bool isAsciiAndKanjiOnly(const QByteArray &sjis)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(sjis.constData());
    const int n = int(sjis.size());
    bool anyKanji = false;
    for (int i = 0; i < n;) {
        if (p[i] < 0x80) {
            if (p[i] == 0x5C || p[i] == 0x7E) // yen sign and overline in JIS X 0201
                return false;
            ++i;
        } else if (i + 1 < n && CQR_Encode::IsKanjiData(p[i], p[i + 1])) {
            anyKanji = true;
            i += 2;
        } else {
            return false;
        }
    }
    return anyKanji;
}

} // namespace

ModuleGrid QREncoder::encodeWithECLevel(int level, int version, const QString &text)
{
    try {
        bool ascii = true;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() >= 0x80)
                ascii = false;
            // A surrogate without its partner is no character: refused rather than written as "?".
            if (c.isHighSurrogate() && (i + 1 == text.size() || !text.at(i + 1).isLowSurrogate()))
                return {};
            if (c.isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate()))
                return {};
        }
        if (ascii)
            return encodeCStringWithECLevel(level, version, text.toLatin1(), false);
        // ASCII and Kanji alone: Shift JIS, so that the Kanji use Kanji mode and the byte
        // segments hold ASCII only.
        QStringEncoder toSjis("Shift_JIS");
        if (toSjis.isValid()) {
            const QByteArray sjis = toSjis.encode(text);
            QStringDecoder fromSjis("Shift_JIS");
            if (!toSjis.hasError() && isAsciiAndKanjiOnly(sjis) && QString(fromSjis.decode(sjis)) == text
                && !fromSjis.hasError())
                return encodeCStringWithECLevel(level, version, sjis, true);
        }
        // Any other text: UTF-8 bytes, declared as such, so readers need not guess.
        return encodeCStringWithECLevel(level, version, text.toUtf8(), false, kUtf8Eci);
    } catch (const std::exception &e) {
        qWarning() << "QR Code encoding failed:" << e.what();
        return {};
    }
}

ModuleGrid QREncoder::encodeCStringWithECLevel(int level, int version, const QByteArray &bytes, bool shiftJisKanji,
                                               int eci)
{
    if (level < 0 || level > 3 || version < 0 || version > QRTables::kMaxVersion || bytes.isEmpty())
        return {};
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const int length = int(bytes.size());
    // Nothing longer than version 40-L's numeric capacity can ever fit.
    if (length > QRTables::characterCapacity(CQR_Encode::Numeric, QRTables::kMaxVersion, 0))
        return {};
    try {
        auto encoder = std::make_unique<CQR_Encode>();
        // A version asked for is that version: refused only when the segmented bits exceed it.
        if (!encoder->EncodeData(level, version, version == 0, -1, data, length, shiftJisKanji, eci))
            return {};
        const int size = encoder->symbolSize();
        ModuleGrid grid(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                grid.set(x, y, encoder->isDark(x, y));
        return grid;
    } catch (const std::exception &e) {
        qWarning() << "QR Code encoding failed:" << e.what();
        return {};
    }
}

QImage QREncoder::renderDataMatrix(const ModuleGrid &grid, int imageDimension, double dpi, QRgb margin)
{
    return ModuleGridPicture::render(picturePlan(grid, imageDimension, dpi, margin));
}

ModuleGridPicture::Plan QREncoder::picturePlan(const ModuleGrid &grid, int imageDimension, double dpi, QRgb margin)
{
    const int n = grid.width();
    if (n == 0 || grid.height() != n || imageDimension < n)
        return {};
    // floor(D / n) points per module; the remainder is a transparent margin, its odd point on the
    // bottom and right.
    const int scale = imageDimension / n;
    const int offset = (imageDimension - scale * n) / 2;
    return {grid, QSizeF(imageDimension, imageDimension), QRectF(offset, offset, scale * n, scale * n), dpi, margin};
}
