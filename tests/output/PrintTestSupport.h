#pragma once

// Cards that say which record and side they are by their colour, a print design made of
// them, and page pictures of a PDF through poppler's pdftoppm.

#include "support/BarcodeReader.h"
#include "support/ScriptedModalSeam.h"
#include "support/TestHelpers.h"

#include "barcode/BarcodeElementSettings.h"
#include "barcode/BarcodeLists.h"
#include "document/LMNGraphic.h"
#include "output/PrintDesign.h"
#include "output/SheetCardSource.h"
#include "output/SheetLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

// Record r, side s as a flat colour; records listed in `failing` cannot be made.
class ColourCards : public SheetCardSource
{
public:
    explicit ColourCards(int records, QSizeF card = QSizeF(120, 80), QSet<int> failing = {})
        : m_records(records), m_card(card), m_failing(std::move(failing))
    {
    }
    static QColor colour(int record, int side)
    {
        return QColor(40 + 10 * (record % 20), side ? 220 : 30, 40 + 10 * (record / 20 % 20));
    }
    // The record and side a colour stands for; -1 for white or anything else.
    static std::pair<int, int> decode(QRgb rgb)
    {
        const int g = qGreen(rgb);
        const int side = g > 200 && g < 240 ? 1 : g > 10 && g < 50 ? 0 : -1;
        const int r = (qRed(rgb) - 35) / 10, b = (qBlue(rgb) - 35) / 10;
        if (side < 0 || r < 0 || r >= 20 || b < 0 || b >= 20)
            return {-1, -1};
        return {r + 20 * b, side};
    }
    int recordCount() const override { return m_records; }
    QSizeF cardSize() const override { return m_card; }
    bool drawCard(QPainter &painter, const QRectF &target, int record, int side, QString *failure) const override
    {
        if (m_failing.contains(record)) {
            *failure = QStringLiteral("the barcode cannot hold this value");
            return false;
        }
        painter.fillRect(target, colour(m_records > 0 ? record : 0, side));
        return true;
    }

private:
    int m_records;
    QSizeF m_card;
    QSet<int> m_failing;
};

// A design for the print setup window: a 120 x 80 pt card and data sources as set.
class FakePrintDesign : public PrintDesign
{
public:
    DataSources sources;
    QSet<int> failing;
    int restored = 0;
    bool restoredOnMainThread = true;

    DataSources dataSources() override { return sources; }
    QSizeF cardSize() const override { return QSizeF(120, 80); }
    QImage sideImage(int side) override
    {
        QImage image(120, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(ColourCards::colour(0, side));
        return image;
    }
    std::shared_ptr<const SheetCardSource> cards(bool series, bool spreadsheet) override
    {
        return std::make_shared<ColourCards>(sources.records(series, spreadsheet), cardSize(), failing);
    }
    void restoreFirstRecord() override
    {
        ++restored;
        restoredOnMainThread = restoredOnMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
};

// Page `page` (from 1) of a PDF at `dpi` (72: one pixel per point).
inline QImage pdfPage(const QString &pdf, int page, int dpi = 72)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath(QStringLiteral("page"));
    TestHelpers::runProgram(QStringLiteral("pdftoppm"),
                            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
                             QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"),
                             QStringLiteral("-png"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// The Code 128 text on the front of every cell of `page`, row by row (drawn at 216 dpi).
inline std::vector<std::string> cellCodes(const QString &pdf, int page, const SheetLayout &layout, const QSizeF &card)
{
    const QImage image = pdfPage(pdf, page, 216);
    std::vector<std::string> codes;
    for (int r = 1; r <= layout.rows; ++r)
        for (int c = 1; c <= layout.cols; ++c) {
            const QRectF at = layout.cell(r, c, card).front;
            codes.push_back(BarcodeReader::read(image.copy(QRectF(at.topLeft() * 3, at.size() * 3).toRect()),
                                                ZXing::BarcodeFormat::Code128).text);
        }
    return codes;
}

// A field of pdfinfo ("Pages", "Page size", ...); pdfPages: the page count.
inline QString pdfInfo(const QString &pdf, const QString &field)
{
    const QString info = QString::fromUtf8(TestHelpers::runProgram(QStringLiteral("pdfinfo"), {pdf}));
    for (const QString &line : info.split(QLatin1Char('\n')))
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    return {};
}
inline int pdfPages(const QString &pdf) { return pdfInfo(pdf, QStringLiteral("Pages")).toInt(); }

// A Code 128 barcode element bound to the data series `series`.
inline GraphicPtr seriesBarcode(const QString &series, const QRectF &bounds)
{
    GraphicPtr barcode = LMNGraphic::create(GraphicKind::Barcode);
    barcode->setBounds(bounds);
    barcode->data_source_type = 1;
    barcode->batch_list_name = series;
    BarcodeElementSettings settings;
    settings.barcode_font_index = int(BarcodeLists::symbologyTitles().indexOf(QStringLiteral("Code 128")));
    settings.applyTo(*barcode);
    return barcode;
}
