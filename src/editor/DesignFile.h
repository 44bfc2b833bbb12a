#pragma once

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
    // Opening costs about seven times the file's size in memory and a second of one core for
    // every 25 MB (some 8,000 elements), so this keeps the largest design within 1 GB and 10 s.
    static constexpr qint64 MaximumFileSize = qint64(96) << 20;

    // Saves atomically: the file is replaced only once the whole design is written, so a
    // failed save leaves what was there before. False, with the reason in `error`, on failure;
    // a design larger than `maximumSize` is not saved, since it could not be opened again.
    static bool write(const QString &path, const CardDesign &design, QString *error,
                      qint64 maximumSize = MaximumFileSize);

    // Reads and checks the whole file before handing anything back: a missing, truncated,
    // foreign, damaged or too large file gives no design and the reason in `error`.
    static std::optional<CardDesign> read(const QString &path, QString *error, qint64 maximumSize = MaximumFileSize);

    // The file's contents, and back.
    static QByteArray toXml(const CardDesign &design);
    static std::optional<CardDesign> fromXml(const QByteArray &xml, QString *error);
};
