#pragma once

// Shared by the linear barcode tests: make barcodes as the designer does, read them back with
// ZXing, and fetch zint's module rows for the symbologies ZXing cannot read.

#include "barcode/linear/LinearBarcodes.h"
#include "barcode/linear/NKDBarcodeOffscreenView.h"
#include "support/TestHelpers.h"

#include <QRandomGenerator>

#include "support/BarcodeReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace LinearTest {

// A valid barcode of `title`, or null (with a test failure when `mustBeValid`).
inline std::unique_ptr<NKDBarcode> make(const QString &title, const QString &content, bool mustBeValid = true)
{
    std::unique_ptr<NKDBarcode> barcode = LinearBarcodes::create(title, content, false);
    if (!barcode || !barcode->isContentValid()) {
        if (mustBeValid)
            ADD_FAILURE() << title.toStdString() << " refused " << content.toStdString();
        return nullptr;
    }
    return barcode;
}

// The bars alone, `pixelsPerModule` pixels a module at 72 dpi, 40 pixels high, with a quiet
// zone of 15 modules on each side.
inline QImage barsPicture(NKDBarcode &barcode, int pixelsPerModule = 2)
{
    BarcodeSettings settings;
    settings.value_margin = settings.header_margin = settings.footer_margin = settings.TB_margin = 0;
    barcode.setSettings(settings);
    barcode.setPrintsCaption(false);
    barcode.setPrintsHeader(false);
    barcode.setPrintsFooter(false);
    barcode.setBarWidth(float(pixelsPerModule));
    barcode.calculateWidth();
    barcode.setHeight(40);
    barcode.setWidth(float(barcode.completeBarcode().size() + 30) * float(pixelsPerModule));
    return NKDBarcodeOffscreenView(barcode).toImage(72);
}

// What ZXing reads in the picture; empty when it reads nothing.
inline std::string read(const QImage &picture, ZXing::BarcodeFormat format, bool code39Extended = false,
                        bool codabarStartStop = false)
{
    return BarcodeReader::read(picture, format,
                               {.tryHarder = true, .code39Extended = code39Extended, .codabarStartStop = codabarStartStop})
        .text;
}

// ZXing reads `expected` (UTF-8) from the bars of a `title` barcode of `value`.
inline void expectReads(const QString &title, const QString &value, ZXing::BarcodeFormat format,
                        const std::string &expected, int pixelsPerModule = 2, bool code39Extended = false,
                        bool codabarStartStop = false)
{
    auto barcode = make(title, value);
    ASSERT_TRUE(barcode);
    EXPECT_EQ(read(barsPicture(*barcode, pixelsPerModule), format, code39Extended, codabarStartStop), expected)
        << title.toStdString() << " " << value.toStdString();
}

// Random text of `length` characters from `alphabet`.
inline QString randomText(QRandomGenerator &random, const QString &alphabet, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(alphabet.at(random.bounded(int(alphabet.size()))));
    return text;
}

// zint's module rows for `data` ('0'/'1', padded to whole hex digits), top row first.
inline QList<QByteArray> zintRows(int symbology, const QString &data, const QStringList &options = {})
{
    int exitCode = 0;
    const QByteArray output = TestHelpers::runProgram(
        QStringLiteral("zint"), QStringList{QStringLiteral("-b"), QString::number(symbology), QStringLiteral("--dump")}
                                    + options + QStringList{QStringLiteral("-d"), data},
        {}, &exitCode);
    QList<QByteArray> rows;
    for (QByteArray line : output.split('\n')) {
        line.replace(' ', "");
        if (line.isEmpty())
            continue;
        QByteArray bits;
        for (const char hex : line) {
            const int value = QByteArray(1, hex).toInt(nullptr, 16);
            for (int bit = 3; bit >= 0; --bit)
                bits.append((value >> bit) & 1 ? '1' : '0');
        }
        rows.append(bits);
    }
    return rows;
}

// Our bars of a single-row symbology are zint's row, padded with light modules to whole hex digits.
inline void expectZintRow(const QString &title, const QString &value, int symbology, const QStringList &options = {})
{
    auto ours = make(title, value);
    ASSERT_TRUE(ours);
    const QList<QByteArray> rows = zintRows(symbology, value, options);
    ASSERT_EQ(rows.size(), 1);
    QByteArray bars = ours->completeBarcode();
    while (bars.size() % 4 != 0)
        bars.append('0');
    EXPECT_EQ(bars, rows.front()) << title.toStdString() << " " << value.toStdString();
}

} // namespace LinearTest
