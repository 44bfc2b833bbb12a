#pragma once

// Data-series files: one plain UTF-8 text file per series in the data folder
// (Data_Folder_Path), named after the series with the extension batch_file_EXT, holding
// one value per line, every value followed by "\n". Reading also takes files edited by
// hand elsewhere: lines ending in CR, LF or CRLF, and UTF-16 or UTF-8 text after a
// byte-order mark.

#include "document/LMNGraphic.h"

#include <QString>
#include <QStringList>

class DataSeries
{
public:
    enum class WriteMode {
        Replace,   // the file holds exactly the given values afterwards
        Append,    // the values are added after those already stored
    };

    // The file of the series `name` (no check of the name).
    static QString filePath(const QString &name);
    // True when `name` names a listed file directly inside the data folder: not empty, not
    // beginning with a dot (a hidden file), without "/" or "\". Otherwise false with the reason.
    static bool isUsableName(const QString &name, QString *reason = nullptr);
    static bool exists(const QString &name);

    // The series names: the files of the data folder (not folders, not hidden files) with
    // their last extension removed, sorted once the same way for every caller, so an index
    // into the list stays valid while a design is open. Empty when the folder is missing.
    static QStringList Get_datasheet_File_Name_Array();

    // Writes the values unchanged, one per line, replacing or extending the series. The file
    // is replaced atomically: a failed write leaves the earlier series as it was. Line
    // breaks inside a value become spaces, so one value stays one record.
    static bool writeValues(const QString &name, const QStringList &values, WriteMode mode,
                            QString *errorMessage = nullptr);

    // Saves a series as the series manager does: the typed name is cleaned, each value is
    // trimmed and empty ones are left out. When the name changed (`oldName` is the name the
    // series was opened under, empty for a new series) the old file is deleted, but only
    // after the new one has been written. The caller asks the replace question and makes
    // the in-use check before. On success `savedName` receives the cleaned name.
    static bool saveSeries(const QString &typedName, const QString &oldName, const QStringList &values,
                           QString *errorMessage = nullptr, QString *savedName = nullptr);

    // True when saving under `typedName` would replace another series than the one being
    // edited, so the user must be asked "Batch Processing Series already exists. Do you want
    // to replace it?" first.
    static bool replaceQuestionNeeded(const QString &typedName, const QString &oldName);

    // Series files larger than this, or holding more values, are not read (a series of a
    // million long values fits).
    static constexpr qint64 MaximumFileSize = qint64(64) << 20;
    static constexpr qsizetype MaximumValues = 5'000'000;

    // Every value in file order, for the binding of card elements: record n is line n + 1.
    // Empty lines stay empty values in their place; trailing empty lines are dropped.
    // A series beyond the limits above gives no values, and `refusal` says why in words
    // for the user (empty otherwise, also for a missing file).
    static QStringList readAllValues(const QString &name, QString *refusal = nullptr);
    // The values trimmed, without empty ones, for the series lists.
    static QStringList readListValues(const QString &name, QString *refusal = nullptr);
    // Why the series `name` is not read: its file or its count of values is beyond the limits
    // above. Empty for a series that is read, and for a missing one. Reads the whole file.
    static QString refusal(const QString &name);
    // The text of the first line, untrimmed; "" when the series cannot be read, also for one
    // beyond the limits above, which readAllValues() refuses.
    static QString readFirstValue(const QString &name);

    // Removes the series file; false when it existed and could not be removed.
    static bool deleteSeries(const QString &name);

    // True when the series file exists and a text, picture or barcode element bound to a
    // data series of exactly this name lies on the front, or on the back when the card has
    // two sides.
    static bool isSeriesInUse(const QString &name, const GraphicList &front, const GraphicList &back,
                              bool twoSided);

private:
    static bool readFile(const QString &name, QString *text, QString *refusal);
};
