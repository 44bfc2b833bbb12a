#pragma once

#include "output/SheetCardSource.h"
#include "output/SheetLayout.h"

#include <QRectF>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;

// The pages of a preview or print: as many sheets as the total needs, each drawn full-page in
// points, cells in the layout's order, one card (or one record, with batch data) per cell.
//
// A paint pass always starts at card 0 and fills the pages in order, so a page is the same
// however often the pass runs (a preview repaints on every change); the running counters
// live in the pass, not in the view.
class Printing_View
{
public:
    // A preview shows at most this many sheets; a print keeps every one.
    static constexpr int kPreviewSheetLimit = 50;

    Printing_View(const SheetLayout &layout, std::shared_ptr<const SheetCardSource> cards, int total,
                  bool preview);

    // Sheets the total needs (capped for a preview); kept in numPages.
    int numberOfPages();
    // Whether the last numberOfPages() was cut to the preview's limit.
    bool previewLimited() const { return m_previewLimited; }
    // The pages of the job: first stays as given, last becomes numberOfPages(). Always true.
    bool knowsPageRange(int &first, int &last);
    // Every page is the whole sheet (Qt coordinates, points).
    QRectF rectForPage(int page) const;

    const SheetLayout &layout() const { return m_layout; }
    bool batch() const;

    // Where a pass stands: cards consumed (drawn or skipped) and the next record.
    struct Cursor
    {
        int consumed = 0;
        int record = 0;
    };
    // What a pass did.
    struct Pass
    {
        int sheets = 0;          // pages drawn
        int cardsDrawn = 0;
        int recordsSkipped = 0;  // records whose card could not be made
        QStringList failures;    // their reasons, one per record ("Record n: ...")
        bool stopped = false;    // the caller asked to stop
        bool ended = true;       // the device accepted the pass (begin and end)
        QStringList missingValues;   // bound elements without a value on some records printed
    };

    // Draws the next page of a pass onto `painter`, whose units are points over the sheet.
    void drawPage(QPainter &painter, Cursor &cursor, Pass &pass) const;

    struct Options
    {
        // Asked before each sheet (from 0); false stops the pass.
        std::function<bool(int sheet)> carryOn;
        // Called on a stop while the painter is still active (QPrinter::abort()).
        std::function<void()> abort;
    };
    // One whole pass onto a paged device (a printer, a PDF writer): begins its painter, draws
    // numberOfPages() sheets with a new page between them and ends it. Runs on any thread.
    Pass paint(QPagedPaintDevice &device, const Options &options = {});

private:
    SheetLayout m_layout;
    std::shared_ptr<const SheetCardSource> m_cards;
    int m_total = 0;
    bool m_preview = false;
    int numPages = 0;
    bool m_previewLimited = false;
};
