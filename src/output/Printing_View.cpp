#include "output/Printing_View.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace {

void drawInvalid(QPainter &painter, const QRectF &rect)
{
    QFont font;
    font.setBold(true);
    font.setPixelSize(11);
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::red);
    painter.drawText(rect, Qt::AlignCenter, QStringLiteral("Invalid Data"));
    painter.restore();
}

} // namespace

Printing_View::Printing_View(const SheetLayout &layout, std::shared_ptr<const SheetCardSource> cards, int total,
                             bool preview)
    : m_layout(layout)
    , m_cards(std::move(cards))
    , m_total(total < 0 ? 0 : total)
    , m_preview(preview)
{
    m_layout.rows = m_layout.rows < 1 ? 1 : m_layout.rows;
    m_layout.cols = m_layout.cols < 1 ? 1 : m_layout.cols;
}

bool Printing_View::batch() const
{
    return m_cards && m_cards->recordCount() > 0;
}

int Printing_View::numberOfPages()
{
    const qint64 cells = qint64(m_layout.rows) * m_layout.cols;
    qint64 pages = m_total / cells + (m_total % cells ? 1 : 0);
    m_previewLimited = m_preview && pages > kPreviewSheetLimit;
    if (m_previewLimited)
        pages = kPreviewSheetLimit;
    numPages = int(pages);
    return numPages;
}

bool Printing_View::knowsPageRange(int &, int &last)
{
    last = numberOfPages();
    return true;
}

QRectF Printing_View::rectForPage(int) const
{
    return QRectF(QPointF(0, 0), m_layout.paper);
}

void Printing_View::drawPage(QPainter &painter, Cursor &cursor, Pass &pass) const
{
    painter.fillRect(rectForPage(0), Qt::white);
    const bool inBatch = batch();
    const int records = inBatch ? m_cards->recordCount() : 0;
    const QSizeF card = m_cards ? m_cards->cardSize() : QSizeF();
    const QString side = m_layout.side;
    const bool both = m_layout.bothSides();
    const int mainSide = side == QLatin1String("B") ? 1 : 0;

    for (int row = 1; row <= m_layout.rows; ++row) {
        int column = 1;
        while (column <= m_layout.cols && cursor.consumed < m_total) {
            const SheetLayout::Cell cell = m_layout.cell(row, column, card);
            if (inBatch && cursor.record >= records) {
                // Records are used up: the surplus cards draw nothing.
                ++cursor.record;
                ++cursor.consumed;
                continue;
            }
            if (!m_cards || card.isEmpty()) {
                drawInvalid(painter, cell.part);
            } else {
                QString failure;
                bool made = true;
                if (both)
                    made = m_cards->drawCard(painter, cell.back, cursor.record, 1, &failure);
                if (made)
                    made = m_cards->drawCard(painter, cell.front, cursor.record, mainSide, &failure);
                if (!made) {
                    // Never another record's (or the design's own) values on this card: the
                    // cell goes to the next record.
                    painter.fillRect(both ? cell.front.united(cell.back) : cell.front, Qt::white);
                    ++pass.recordsSkipped;
                    pass.failures.append(QStringLiteral("Record %1: %2").arg(cursor.record + 1).arg(failure));
                    ++cursor.record;
                    ++cursor.consumed;
                    if (!inBatch)
                        ++column; // without records every cell is the same card: do not loop on it
                    continue;
                }
                ++pass.cardsDrawn;
            }
            ++cursor.record;
            ++cursor.consumed;
            ++column;
        }
    }
}

Printing_View::Pass Printing_View::paint(QPagedPaintDevice &device, const Options &options)
{
    Pass pass;
    const int pages = numberOfPages();
    QPainter painter;
    if (!painter.begin(&device)) {
        pass.ended = false;
        return pass;
    }
    painter.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Pictures go into the page as they are (not as JPEG), so a printed card shows what an
    // exported one shows; a picture used on every card is stored once whatever its size.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    Cursor cursor;
    for (int sheet = 0; sheet < pages; ++sheet) {
        if (options.carryOn && !options.carryOn(sheet)) {
            pass.stopped = true;
            if (options.abort)
                options.abort();
            break;
        }
        if (sheet > 0 && !device.newPage()) {
            pass.ended = false;
            break;
        }
        try {
            drawPage(painter, cursor, pass);
        } catch (const std::exception &e) {
            pass.failures.append(QString::fromLocal8Bit(e.what()));
        }
        ++pass.sheets;
    }
    if (!painter.end())
        pass.ended = false;
    if (batch()) {
        const bool both = m_layout.bothSides();
        const bool back = m_layout.side == QLatin1String("B");
        pass.missingValues = m_cards->missingValues(std::min(cursor.record, m_cards->recordCount()), both || !back,
                                                    both || back);
    }
    return pass;
}
