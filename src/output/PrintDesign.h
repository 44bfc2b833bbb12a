#pragma once

#include "output/SheetCardSource.h"

#include <QImage>
#include <QSizeF>

#include <memory>

// What printing needs of the open design, so the print setup window never reaches into the
// editor: the card pictures, the data sources in use and a card source for a run. The
// editor's implementation lives beside the Print command.
class PrintDesign
{
public:
    virtual ~PrintDesign() = default;

    // The data sources the design uses now, and their record counts.
    struct DataSources
    {
        bool bound = false;         // some element is bound to a series or a spreadsheet column
        bool series = false;        // a data series is bound and has records
        bool spreadsheet = false;   // a spreadsheet column is bound and has records
        int seriesRows = 0;
        int spreadsheetRows = 0;
        // Cards of a run with the sources given: the larger of their record counts.
        int records(bool useSeries, bool useSpreadsheet) const
        {
            const int a = useSeries && series ? seriesRows : 0;
            const int b = useSpreadsheet && spreadsheet ? spreadsheetRows : 0;
            return a > b ? a : b;
        }
    };
    virtual DataSources dataSources() = 0;

    // One card in points.
    virtual QSizeF cardSize() const = 0;
    // The picture of `side` (0 front, 1 back) with the design's own values.
    virtual QImage sideImage(int side) = 0;
    // The cards of a run, copied now (on the main thread): one record per cell from the
    // sources allowed, or the design's own card on every cell when neither is.
    virtual std::shared_ptr<const SheetCardSource> cards(bool useSeries, bool useSpreadsheet) = 0;
    // After a run with records: record 0 back into the design (main thread).
    virtual void restoreFirstRecord() = 0;
};
