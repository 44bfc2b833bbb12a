#include "barcode/QREncoder.h"

#include "barcode/BarcodeGlobals.h"
#include "barcode/BarcodeUnits.h"
#include "barcode/CQR_Encode.h"

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
        for (QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
        }
        if (!ascii) {
            QStringEncoder toSjis("Shift_JIS");
            if (toSjis.isValid()) {
                const QByteArray sjis = toSjis.encode(text);
                QStringDecoder fromSjis("Shift_JIS");
                if (!toSjis.hasError() && isAsciiAndKanjiOnly(sjis) && QString(fromSjis.decode(sjis)) == text
                    && !fromSjis.hasError())
                    return encodeCStringWithECLevel(level, version, sjis, true);
            }
        }
        return encodeCStringWithECLevel(level, version, text.toUtf8(), false);
    } catch (const std::exception &e) {
        qWarning() << "QR Code encoding failed:" << e.what();
        return {};
    }
}

ModuleGrid QREncoder::encodeCStringWithECLevel(int level, int version, const QByteArray &bytes, bool shiftJisKanji)
{
    if (level < 0 || level > 3 || version < 0 || version > QRTables::kMaxVersion || bytes.isEmpty())
        return {};
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const int length = int(bytes.size());
    // Nothing longer than version 40-L's numeric capacity can ever fit.
    if (length > QRTables::characterCapacity(CQR_Encode::Numeric, QRTables::kMaxVersion, 0))
        return {};
    if (version > 0) {
        const int mode = CQR_Encode::Get_Encoding_Mode(data, length, shiftJisKanji);
        if (length > QRTables::characterCapacity(mode, version, level))
            return {};
    }
    try {
        auto encoder = std::make_unique<CQR_Encode>();
        if (!encoder->EncodeData(level, version, true, -1, data, length, shiftJisKanji))
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

QImage QREncoder::renderDataMatrix(const ModuleGrid &grid, int imageDimension)
{
    return renderDataMatrix(grid, imageDimension, USED_DPI_VALUE.load());
}

QImage QREncoder::renderDataMatrix(const ModuleGrid &grid, int imageDimension, double dpi)
{
    const int n = grid.width();
    if (n == 0 || grid.height() != n || imageDimension < n)
        return {};
    try {
        const int scale = imageDimension / n;
        const int margin = (imageDimension - scale * n) / 2;
        QImage symbol(imageDimension, imageDimension, QImage::Format_ARGB32);
        if (symbol.isNull())
            return {};
        symbol.fill(qRgba(255, 255, 255, 0));
        const QRgb dark = qRgba(0, 0, 0, 255);
        const QRgb light = qRgba(255, 255, 255, 255);
        for (int y = 0; y < n; ++y) {
            for (int row = 0; row < scale; ++row) {
                auto *line = reinterpret_cast<QRgb *>(symbol.scanLine(margin + y * scale + row)) + margin;
                for (int x = 0; x < n; ++x) {
                    const QRgb colour = grid.get(x, y) ? dark : light;
                    for (int k = 0; k < scale; ++k)
                        *line++ = colour;
                }
            }
        }
        return BarcodeUnits::Increase_DPI(symbol, QSizeF(imageDimension, imageDimension), dpi);
    } catch (const std::exception &e) {
        qWarning() << "QR Code picture failed:" << e.what();
        return {};
    }
}
