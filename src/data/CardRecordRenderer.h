#pragma once

#include "data/SpreadsheetTable.h"
#include "document/LMNGraphic.h"
#include "document/LMNRenderingView.h"

#include <QImage>
#include <QMap>
#include <QSizeF>
#include <QStringList>

#include <functional>
#include <memory>

class QPainter;

// Everything a batch run needs of the open design, copied once on the main thread: element
// clones of both sides, the card size and sides, the background painters, the bound series'
// values and the spreadsheet records. Nothing in it points back into the live design.
struct CardSnapshot
{
    QSizeF cardSize;
    QString cardSides = QStringLiteral("1");          // CARD_SIDE_STR: "1" one side, "2" two
    GraphicList front;                                // clones, index 0 topmost
    GraphicList back;
    LMNRenderingView::BackgroundPainter frontBackground;
    LMNRenderingView::BackgroundPainter backBackground;
    DrawContext drawContext;

    // The binding table: entry i holds the values of the series bound at index i (empty when
    // unbound or missing); the flags and row counts of the sources in use.
    QList<QStringList> seriesValues;
    QStringList seriesNames;                          // the series name list, index for index
    QMap<QString, QString> seriesRefusals;            // why a bound series was not read, by name
    SpreadsheetTable table;
    bool useSeries = false;
    bool useSpreadsheet = false;
    int seriesRows = 0;
    int spreadsheetRows = 0;
};

// The record-to-card road shared by batch export, printing, e-mail and the barcode designer's
// batch pictures. Made from a snapshot on the main thread; any number of threads then ask it
// for record r of a side at once. Each call fills private clones of the side's elements with
// the record's values (texts, picture paths, barcode pictures made from each barcode element's
// own settings) and renders them; the snapshot itself is never written.
class CardRecordRenderer
{
public:
    explicit CardRecordRenderer(CardSnapshot snapshot);
    ~CardRecordRenderer();

    const CardSnapshot &snapshot() const;
    // Cards of a run: the larger of the series and spreadsheet row counts (0 without data).
    int cardCount() const;

    // The elements of `side` (0 front, 1 back) filled with record `record` (from 0): fresh
    // clones owned by the caller.
    GraphicList filledSide(int record, int side, QString *failure = nullptr) const;
    // The same, adding to `missingPictures` each bound picture path that gave no picture.
    GraphicList filledSide(int record, int side, QString *failure, QStringList *missingPictures) const;
    // The same with the bound pictures ready for `pixelsPerPoint` device pixels a point
    // (across, down): decoded at the size they are drawn at and with their effects applied,
    // kept for the next records in a cache of bounded size that every thread shares. An empty
    // size gives the pictures at their own size.
    GraphicList filledSide(int record, int side, QString *failure, QStringList *missingPictures,
                           const QSizeF &pixelsPerPoint) const;

    // Record `record` of `side` as a picture at `dpi`; leaves out non-printing elements when
    // `printBox` is set. A null image and a reason in `failure` when the card cannot be made
    // (a bound barcode that cannot encode its value, no memory).
    QImage cardImage(int record, int side, int printBox, double dpi = 72.0,
                     QString *failure = nullptr) const;
    // The same, adding to `missingPictures` each bound picture path that gave no picture: the
    // card is still made, without that picture.
    QImage cardImage(int record, int side, int printBox, double dpi, QString *failure,
                     QStringList *missingPictures) const;

    // Draws the same card as vectors into `painter`, its card rectangle mapped onto `target`.
    bool drawCard(QPainter &painter, const QRectF &target, int record, int side, int printBox,
                  QString *failure = nullptr) const;

    // What the end of a run tells of the values it lacked: one line for each bound element (on
    // the front and, of a two-sided card, the back, as asked) that had no value for some of
    // the first `cards` cards, such as "Cards 6–20: no value for the barcode bound to column
    // Name". Empty when every bound element had a value on every card. A bound series that
    // was not read (too large) comes first with its reason, such as "The series "Guests" is
    // not read: it holds more than 5000000 values". Last, one line for each bound picture file
    // that was there but could not be taken, naming it and saying why (not a picture, damaged,
    // too large, with its size in pixels and the limit).
    QStringList missingValues(int cards, bool front = true, bool back = true) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
