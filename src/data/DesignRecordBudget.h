#pragma once

#include "data/SpreadsheetTable.h"
#include "document/PictureReading.h"

#include <QtGlobal>

// What the spreadsheet records of a design take in its file and in opening it, counted from
// the records themselves without writing anything, and how many records a design can hold.
// The design file (editor/DesignFile) is one XML property list; its records are an array of
// dictionaries of texts, written as libplist writes them: a line of tabs and tags for every
// key and every value, the characters XML cannot hold left out, "<", ">" and "&" escaped.
// Saving costs the records this way first and refuses a design its file could not hold before
// it builds the file; importing a workbook refuses, before the table changes, more rows than
// the design they go into can hold.
class DesignRecordBudget
{
public:
    // The limits of a design file: its size, and what opening it may take (estimated from its
    // text as DesignFile::openingCost() does, at so much a byte, a value and a dictionary
    // that is an item of a list).
    static constexpr qint64 MaximumFileSize = qint64(96) << 20;
    static constexpr qint64 MaximumOpeningCost = PictureReading::DesignBytes;
    static constexpr qint64 OpeningCostPerByte = 4;
    static constexpr qint64 OpeningCostPerValue = 80;
    static constexpr qint64 OpeningCostPerListedDictionary = 1150;

    struct Cost
    {
        qint64 bytes = 0;         // of the design file
        qint64 openingCost = 0;   // of opening it
        Cost &operator+=(const Cost &other)
        {
            bytes += other.bytes;
            openingCost += other.openingCost;
            return *this;
        }
        Cost &operator-=(const Cost &other)
        {
            bytes -= other.bytes;
            openingCost -= other.openingCost;
            return *this;
        }
        bool fitsIn(const Cost &room) const { return bytes <= room.bytes && openingCost <= room.openingCost; }
    };

    // What one record adds to the file of a design holding records.
    static Cost costOf(const SpreadsheetTable::Record &record);
    // What the records add to the file of the same design without records: exactly the
    // difference in bytes, and in opening cost as DesignFile::openingCost() counts it.
    static Cost costOf(const QList<SpreadsheetTable::Record> &records);

    // What the column titles and the workbook path of a spreadsheet binding add to the file
    // of the same design with neither.
    static Cost costOfBinding(const QStringList &titles, const QString &workbookPath);

    // How many of the first records fit in `room` (what a design leaves them:
    // DesignFile::roomForRecords()), the array around them included.
    static qsizetype recordsThatFit(const QList<SpreadsheetTable::Record> &records, const Cost &room);

    // The bytes a text takes in the file: its UTF-8 without the characters XML cannot hold,
    // with "<", ">" and "&" escaped.
    static qint64 xmlBytes(const QString &text);
};
