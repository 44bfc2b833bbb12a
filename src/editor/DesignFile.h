#pragma once

#include "data/DesignRecordBudget.h"
#include "editor/CardDesign.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The design file (extension "dcard"): an XML property list holding one array, positional:
//   "QOVAMACBDAYINVITECARD", the 28 stored fields of the front background record, the same
//   of the back record, "Y"/"N" for the spreadsheet binding, the workbook path, the column
//   titles, the spreadsheet records, the element archives of the front side, those of the
//   back side.
// docs/design-file.md describes each field's encoding.
class DesignFile
{
public:
    static const QString Magic;
    static const QString Extension;
    // The largest file read() opens; write() refuses to save a design that would be larger.
    // Opening takes a second of one core for every 25 MB (some 8,000 elements), so this
    // keeps the largest design within 10 s.
    static constexpr qint64 MaximumFileSize = DesignRecordBudget::MaximumFileSize;

    // What opening a design file costs in memory, estimated from its text before any parser
    // sees it: its bytes a few times over (the file, the parsed texts, their QStrings), so
    // much for every value (every start tag: keys, numbers, texts, lists) and so much more
    // for every dictionary that is an item of a list, which may become an element. Dense
    // files cost far more than their size: 1,000,000 elements written as "<dict/>" take 7 MB
    // and would open in more than 1 GB. The figures are measured
    // (tests/editor/DesignFileCostTest.cpp): the estimate is within 10% of what opening
    // takes, so what opens within MaximumOpeningCost opens, and every design that opens
    // stays within 1 GB. The pictures the elements hold come on top (pictureCost()).
    static qint64 openingCost(const QByteArray &xml);
    static constexpr qint64 MaximumOpeningCost = DesignRecordBudget::MaximumOpeningCost;
    static constexpr qint64 OpeningCostPerByte = DesignRecordBudget::OpeningCostPerByte;
    static constexpr qint64 OpeningCostPerValue = DesignRecordBudget::OpeningCostPerValue;
    static constexpr qint64 OpeningCostPerListedDictionary = DesignRecordBudget::OpeningCostPerListedDictionary;

    // What the pictures of a design take while it opens, as Open's picture budget counts
    // them in the order it reads them (front side, then back): each picture takes four bytes
    // a pixel from its header before it is decoded, then what it takes decoded (one byte a
    // pixel for an 8-bit grey or indexed picture, an eighth for a one-bit one). The most they
    // take at once is the least budget under which they open (LMNGraphicArchive::picturePeak()).
    static qint64 pictureCost(const CardDesign &design);
    // Why a design is too large to open, or nothing: `textCost` is the openingCost() of its
    // file, `pictureCost` what its pictures take. Save and Open both ask it, so that every
    // design Save writes, Open takes back, and what Open refuses, Save refuses alike.
    static QString costRefusal(qint64 textCost, qint64 pictureCost, qint64 maximumCost = MaximumOpeningCost);

    // What a design leaves for spreadsheet records, their column titles and the workbook
    // path: the limits less what the rest of the design takes as it stands (its elements,
    // their pictures, its background records). Records that fit it (DesignRecordBudget::
    // recordsThatFit()) with those titles and that path save with the design.
    static DesignRecordBudget::Cost roomForRecords(const CardDesign &design, qint64 maximumSize = MaximumFileSize,
                                                   qint64 maximumCost = MaximumOpeningCost);

    // Saves atomically: the file is replaced only once the whole design is written, so a
    // failed save leaves what was there before. False, with the reason in `error`, on failure;
    // a design larger than `maximumSize`, or that would cost more than `maximumCost` to open,
    // is not saved, since it could not be opened again. The spreadsheet records are costed
    // before they are built into the file (DesignRecordBudget): a design they make too large
    // is refused without the memory building them takes.
    static bool write(const QString &path, const CardDesign &design, QString *error,
                      qint64 maximumSize = MaximumFileSize, qint64 maximumCost = MaximumOpeningCost);

    // Reads and checks the whole file before handing anything back: a missing, truncated,
    // foreign, damaged or too large file gives no design and the reason in `error`.
    // A file that would cost more than `maximumCost` to open (costRefusal()) is refused.
    static std::optional<CardDesign> read(const QString &path, QString *error, qint64 maximumSize = MaximumFileSize,
                                          qint64 maximumCost = MaximumOpeningCost);

    // The file's contents, and back.
    static QByteArray toXml(const CardDesign &design);
    static std::optional<CardDesign> fromXml(const QByteArray &xml, QString *error,
                                             qint64 maximumCost = MaximumOpeningCost);
};
