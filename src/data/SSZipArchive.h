#pragma once

// Small wrapper over minizip: unpacks a whole archive into a folder and packs files and
// folders into a new archive, naming every entry relative to the item's parent folder.
// Workbooks (.xlsx) are read and written through it.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

// Why an unpacking failed. `code` keeps the two archive-level codes callers have always
// relied on (-1 cannot open, -2 no first entry); the others describe a failing entry.
struct SSZipArchiveError
{
    static constexpr const char *Domain = "SSZipArchiveErrorDomain";

    enum Code {
        None = 0,
        CannotOpenArchive = -1,      // "failed to open zip file"
        CannotOpenFirstFile = -2,    // "failed to open first file in zip file"
        BadEntry = -3,               // an entry cannot be opened, read or fails its CRC
        UnsafeEntryName = -4,        // an absolute name or one climbing out with ".."
        LimitExceeded = -5,          // too many entries or too many unpacked bytes
        CannotWrite = -6,            // the destination cannot take a file or folder
        UnsupportedEntry = -7,       // packed with a method we do not unpack (bzip2, LZMA, ...)
    };

    int code = None;
    QString localizedDescription;
};

// Guards against archives that unpack to far more than any workbook needs.
struct SSZipArchiveLimits
{
    quint64 maxEntries = 20000;
    quint64 maxTotalBytes = quint64(1) << 30;   // 1 GiB unpacked
    quint64 maxEntryBytes = quint64(1) << 30;   // unpacked, one entry
    // One entry may unpack to at most maxRatio times its packed size (0: no limit); entries
    // up to ratioFreeBytes are not held to it.
    quint64 maxRatio = 0;
    quint64 ratioFreeBytes = quint64(4) << 20;
};

class SSZipArchive
{
public:
    // Unpacks every entry of the archive at `path` below `destination`. Existing files are
    // kept unless `overwrite` is set. `password` (ASCII) is used when it is not empty.
    // Every entry's checksum and size are checked against the archive's directory.
    // Returns true only when every entry was unpacked; otherwise false with the reason in
    // `error`. Files unpacked before a failure stay in the destination.
    static bool unzipFileAtPath(const QString &path, const QString &destination, bool overwrite,
                                const QString &password, SSZipArchiveError *error = nullptr,
                                const SSZipArchiveLimits &limits = SSZipArchiveLimits());

    // Creates the archive `path` holding each of `paths` (files, or folders with all they
    // contain) under names relative to the item's own parent folder. True when the archive
    // was written and closed with every item in it.
    static bool createZipFileAtPath(const QString &path, const QStringList &paths,
                                    QString *errorMessage = nullptr);

    // 1 January 1980, 00:00 local time: the earliest date a zip entry can carry.
    static QDateTime _dateFor1980();

    explicit SSZipArchive(const QString &path);
    ~SSZipArchive();
    SSZipArchive(const SSZipArchive &) = delete;
    SSZipArchive &operator=(const SSZipArchive &) = delete;

    // Creates the archive file. False when it cannot be created.
    bool open();
    // Adds the file or folder basePath/name under the entry name `name` (a folder's
    // contents under name/...; an empty folder as the single entry "name/").
    bool writeFile(const QString &name, const QString &basePath);
    // Finishes the archive; false when the central directory could not be written.
    bool close();

    QString errorString() const { return m_errorString; }

private:
    bool addFolder(const QString &name, const QString &folderPath);
    bool addFile(const QString &name, const QString &filePath);
    bool openEntry(const QString &name);
    bool fail(const QString &message);

    QString _path;
    void *_zip = nullptr;   // minizip's zipFile
    QString m_errorString;
};
