#include "data/SSZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <zlib.h>

#include <vector>

namespace {

// Unpacking copies an entry through this buffer; packing reads files through the other.
constexpr int UnzipChunk = 64 * 1024;
constexpr int ZipChunk = 16384;
// General-purpose flag bits of a zip entry.
constexpr uLong EncryptedFlag = 0x1;
constexpr uLong Utf8NameFlag = 0x800;

bool setError(SSZipArchiveError *error, int code, const QString &text)
{
    if (error) {
        error->code = code;
        error->localizedDescription = text;
    }
    return false;
}

// The entry name as a relative path inside the destination, with every backslash taken
// as a separator, or an empty string when the name would lead outside it.
QString safeRelativeName(const QString &name, bool *unsafe)
{
    QString normalized = name;
    normalized.replace(QLatin1Char('\\'), QLatin1Char('/'));
    *unsafe = normalized.startsWith(QLatin1Char('/'));
    QStringList kept;
    const QStringList parts = normalized.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            *unsafe = true;
        else if (part != QLatin1String("."))
            kept.append(part);
    }
    return *unsafe ? QString() : kept.join(QLatin1Char('/'));
}

// The MS-DOS date and time of a zip entry as local time; invalid for 0 or nonsense values.
QDateTime dosDateTime(uLong dos)
{
    const QDate date(int((dos >> 25) & 0x7f) + 1980, int((dos >> 21) & 0x0f), int((dos >> 16) & 0x1f));
    const QTime time(int((dos >> 11) & 0x1f), int((dos >> 5) & 0x3f), int(dos & 0x1f) * 2);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

// True when `path` (which exists) resolves to a place inside the canonical `root`, so a
// symbolic link planted in the destination cannot redirect what we write.
bool staysInside(const QString &path, const QString &root)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical == root || canonical.startsWith(root + QLatin1Char('/'));
}

// Traditional PKWARE encryption, as Info-ZIP's "zip -P" writes it. The minizip build we
// link against leaves decryption out, so encrypted entries are read raw and decrypted here.
class ZipDecrypter
{
public:
    explicit ZipDecrypter(const QByteArray &password)
    {
        for (char c : password)
            update(static_cast<unsigned char>(c));
    }
    unsigned char decrypt(unsigned char c)
    {
        const quint32 temp = (m_keys[2] | 2) & 0xffff;
        const unsigned char plain = c ^ static_cast<unsigned char>(((temp * (temp ^ 1)) >> 8) & 0xff);
        update(plain);
        return plain;
    }

private:
    static quint32 crcByte(quint32 crc, unsigned char c)
    {
        static const z_crc_t *table = get_crc_table();
        return table[(crc ^ c) & 0xff] ^ (crc >> 8);
    }
    void update(unsigned char c)
    {
        m_keys[0] = crcByte(m_keys[0], c);
        m_keys[1] = (m_keys[1] + (m_keys[0] & 0xff)) * 134775813u + 1;
        m_keys[2] = crcByte(m_keys[2], static_cast<unsigned char>(m_keys[1] >> 24));
    }
    quint32 m_keys[3] = {0x12345678u, 0x23456789u, 0x34567890u};
};

// Where one entry's bytes go, counting them against the limits and summing their checksum.
struct EntrySink
{
    QFile *out;
    quint64 *totalBytes;
    const SSZipArchiveLimits &limits;
    quint64 packedSize;
    quint64 entryBytes = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    enum class Over { None, Total, Entry, Ratio } over = Over::None;
    bool writeFailed = false;

    bool write(const char *data, qint64 size)
    {
        *totalBytes += quint64(size);
        entryBytes += quint64(size);
        if (*totalBytes > limits.maxTotalBytes)
            over = Over::Total;
        else if (entryBytes > limits.maxEntryBytes)
            over = Over::Entry;
        else if (limits.maxRatio > 0 && entryBytes > limits.ratioFreeBytes
                 && entryBytes / limits.maxRatio > packedSize)
            over = Over::Ratio;
        if (over != Over::None)
            return false;
        crc = crc32(crc, reinterpret_cast<const Bytef *>(data), uInt(size));
        if (out->write(data, size) != size) {
            writeFailed = true;
            return false;
        }
        return true;
    }
};

// The compression methods other programs use that we do not unpack, by name.
QString methodName(uLong method)
{
    switch (method) {
    case 9: return QStringLiteral("Deflate64");
    case 12: return QStringLiteral("bzip2");
    case 14: return QStringLiteral("LZMA");
    case 93: return QStringLiteral("Zstandard");
    case 95: return QStringLiteral("XZ");
    default: return QStringLiteral("method %1").arg(method);
    }
}

QString megabytes(quint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / double(1 << 20), 0, 'g', 4);
}

// What to say when an entry stopped at a limit.
QString overLimitMessage(const EntrySink &sink, const QString &name)
{
    switch (sink.over) {
    case EntrySink::Over::Entry:
        return QStringLiteral("The entry \"%1\" is too large: it unpacks to more than %2, the limit for one entry.")
            .arg(name, megabytes(sink.limits.maxEntryBytes));
    case EntrySink::Over::Ratio:
        return QStringLiteral("The entry \"%1\" is too large: it unpacks to more than %2 times its packed size of %3 bytes.")
            .arg(name)
            .arg(sink.limits.maxRatio)
            .arg(sink.packedSize);
    default:
        return QStringLiteral("The archive is too large: it unpacks to more than %1 bytes.").arg(sink.limits.maxTotalBytes);
    }
}

// Copies the current (already raw-opened) encrypted entry: decrypts, inflates when it is
// deflated, and checks the CRC. Returns an empty string on success, else the reason.
QString copyEncryptedEntry(unzFile zip, const unz_file_info &info, int method, const QByteArray &password,
                           EntrySink &sink)
{
    constexpr uLong DataDescriptorFlag = 0x8;
    ZipDecrypter decrypter(password);
    std::vector<char> raw(UnzipChunk);
    std::vector<char> inflated(UnzipChunk);
    z_stream stream{};
    if (method == Z_DEFLATED && inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return QStringLiteral("cannot start decompressing");
    const auto cleanup = qScopeGuard([&] {
        if (method == Z_DEFLATED)
            inflateEnd(&stream);
    });
    if (method != Z_DEFLATED && method != 0)
        return QStringLiteral("it uses an unsupported compression method");

    int headerLeft = 12;
    unsigned char lastHeaderByte = 0;
    bool streamEnded = false;
    int read = 0;
    while ((read = unzReadCurrentFile(zip, raw.data(), unsigned(raw.size()))) > 0) {
        char *data = raw.data();
        for (int i = 0; i < read; ++i)
            data[i] = char(decrypter.decrypt(static_cast<unsigned char>(data[i])));
        int skip = 0;
        while (headerLeft > 0 && skip < read) {
            lastHeaderByte = static_cast<unsigned char>(data[skip++]);
            if (--headerLeft == 0) {
                const unsigned char expected = (info.flag & DataDescriptorFlag) ? static_cast<unsigned char>((info.dosDate >> 8) & 0xff)
                                                                               : static_cast<unsigned char>((info.crc >> 24) & 0xff);
                if (lastHeaderByte != expected)
                    return QStringLiteral("the password is wrong");
            }
        }
        if (method == 0) {
            if (!sink.write(data + skip, read - skip))
                return QString();
            continue;
        }
        stream.next_in = reinterpret_cast<Bytef *>(data + skip);
        stream.avail_in = uInt(read - skip);
        while (stream.avail_in > 0 && !streamEnded) {
            stream.next_out = reinterpret_cast<Bytef *>(inflated.data());
            stream.avail_out = uInt(inflated.size());
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END)
                return QStringLiteral("it is damaged, or the password is wrong");
            const qint64 produced = qint64(inflated.size()) - stream.avail_out;
            if (!sink.write(inflated.data(), produced))
                return QString();
            streamEnded = status == Z_STREAM_END;
        }
    }
    if (read < 0 || headerLeft > 0 || (method == Z_DEFLATED && !streamEnded) || sink.crc != info.crc
        || sink.entryBytes != info.uncompressed_size)
        return QStringLiteral("it is damaged, or the password is wrong");
    return QString();
}

class UnzipHandle
{
public:
    explicit UnzipHandle(const QString &path) : m_handle(unzOpen(QFile::encodeName(path).constData())) {}
    ~UnzipHandle()
    {
        if (m_handle)
            unzClose(m_handle);
    }
    UnzipHandle(const UnzipHandle &) = delete;
    UnzipHandle &operator=(const UnzipHandle &) = delete;
    unzFile get() const { return m_handle; }

private:
    unzFile m_handle;
};

} // namespace

bool SSZipArchive::unzipFileAtPath(const QString &path, const QString &destination, bool overwrite,
                                   const QString &password, SSZipArchiveError *error,
                                   const SSZipArchiveLimits &limits)
{
    if (error)
        *error = SSZipArchiveError();

    UnzipHandle zip(path);
    if (!zip.get())
        return setError(error, SSZipArchiveError::CannotOpenArchive, QStringLiteral("failed to open zip file"));

    unz_global_info globalInfo{};
    if (unzGetGlobalInfo(zip.get(), &globalInfo) != UNZ_OK || unzGoToFirstFile(zip.get()) != UNZ_OK)
        return setError(error, SSZipArchiveError::CannotOpenFirstFile,
                        QStringLiteral("failed to open first file in zip file"));
    if (globalInfo.number_entry > limits.maxEntries)
        return setError(error, SSZipArchiveError::LimitExceeded,
                        QStringLiteral("The archive holds %1 entries, more than the %2 allowed.")
                            .arg(globalInfo.number_entry)
                            .arg(limits.maxEntries));

    if (!QDir().mkpath(destination))
        return setError(error, SSZipArchiveError::CannotWrite,
                        QStringLiteral("Cannot create the folder %1.").arg(destination));
    const QString root = QFileInfo(destination).canonicalFilePath();
    const QByteArray passwordBytes = password.toLatin1();   // taken as ASCII

    std::vector<char> buffer(UnzipChunk);
    quint64 entries = 0;
    quint64 totalBytes = 0;
    QString lastCheckedFolder;

    int status = UNZ_OK;
    for (; status == UNZ_OK; status = unzGoToNextFile(zip.get())) {
        if (++entries > limits.maxEntries)
            return setError(error, SSZipArchiveError::LimitExceeded,
                            QStringLiteral("The archive holds more than the %1 entries allowed.").arg(limits.maxEntries));

        unz_file_info info{};
        if (unzGetCurrentFileInfo(zip.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return setError(error, SSZipArchiveError::BadEntry, QStringLiteral("An entry of the archive is damaged."));
        QByteArray rawName(int(info.size_filename) + 1, '\0');
        if (unzGetCurrentFileInfo(zip.get(), &info, rawName.data(), uLong(rawName.size()), nullptr, 0, nullptr, 0)
            != UNZ_OK)
            return setError(error, SSZipArchiveError::BadEntry, QStringLiteral("An entry of the archive is damaged."));
        rawName.truncate(int(info.size_filename));
        if (rawName.contains('\0'))
            return setError(error, SSZipArchiveError::BadEntry, QStringLiteral("An entry of the archive has a damaged name."));
        const QString name = QString::fromUtf8(rawName);
        const bool isFolder = rawName.endsWith('/') || rawName.endsWith('\\');

        bool unsafe = false;
        const QString relative = safeRelativeName(name, &unsafe);
        if (unsafe)
            return setError(error, SSZipArchiveError::UnsafeEntryName,
                            QStringLiteral("The entry \"%1\" would be written outside the destination folder.").arg(name));
        if (relative.isEmpty())
            continue;   // "./" and the like: the destination itself

        const QString target = root + QLatin1Char('/') + relative;
        const QString folder = isFolder ? target : QFileInfo(target).path();
        if (folder != lastCheckedFolder) {
            QDir().mkpath(folder);
            if (!QFileInfo(folder).isDir() || !staysInside(folder, root))
                return setError(error, SSZipArchiveError::CannotWrite,
                                QStringLiteral("Cannot create the folder %1.").arg(folder));
            lastCheckedFolder = folder;
        }
        if (isFolder)
            continue;

        const QFileInfo targetInfo(target);
        if (targetInfo.exists() && !targetInfo.isSymLink() && !overwrite)
            continue;
        if (targetInfo.isSymLink())
            QFile::remove(target);   // replace the link itself, never what it points to
        else if (targetInfo.isDir())
            return setError(error, SSZipArchiveError::CannotWrite,
                            QStringLiteral("Cannot write %1: a folder of that name exists.").arg(target));

        // Only stored and deflated entries are unpacked; minizip would hand others on raw.
        if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
            return setError(error, SSZipArchiveError::UnsupportedEntry,
                            QStringLiteral("The entry \"%1\" is packed with an unsupported compression method (%2).")
                                .arg(name, methodName(info.compression_method)));
        if (info.uncompressed_size > limits.maxEntryBytes) {
            EntrySink declared{nullptr, &totalBytes, limits, info.compressed_size};
            declared.over = EntrySink::Over::Entry;
            return setError(error, SSZipArchiveError::LimitExceeded, overLimitMessage(declared, name));
        }

        const bool encrypted = info.flag & EncryptedFlag;
        if (encrypted && passwordBytes.isEmpty())
            return setError(error, SSZipArchiveError::BadEntry,
                            QStringLiteral("The entry \"%1\" is protected by a password.").arg(name));
        int method = 0;
        int level = 0;
        // Entries with a password are read raw and decrypted by us; the others the usual way.
        const int opened = encrypted ? unzOpenCurrentFile2(zip.get(), &method, &level, 1) : unzOpenCurrentFile(zip.get());
        if (opened != UNZ_OK)
            return setError(error, SSZipArchiveError::BadEntry,
                            QStringLiteral("The entry \"%1\" cannot be opened.").arg(name));

        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            unzCloseCurrentFile(zip.get());
            return setError(error, SSZipArchiveError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
        }
        EntrySink sink{&out, &totalBytes, limits, info.compressed_size};
        QString damage;
        if (encrypted) {
            damage = copyEncryptedEntry(zip.get(), info, method, passwordBytes, sink);
        } else {
            int read = 0;
            while ((read = unzReadCurrentFile(zip.get(), buffer.data(), unsigned(buffer.size()))) > 0)
                if (!sink.write(buffer.data(), read))
                    break;
            if (read < 0)
                damage = QStringLiteral("it is damaged");
            // minizip checks the checksum only when the entry held exactly its declared size;
            // both are checked here whatever the sizes say.
            else if (sink.over == EntrySink::Over::None && !sink.writeFailed
                     && (sink.entryBytes != info.uncompressed_size || sink.crc != info.crc))
                damage = QStringLiteral("it fails its checksum or size");
        }
        const int closed = unzCloseCurrentFile(zip.get());
        if (sink.over != EntrySink::Over::None)
            return setError(error, SSZipArchiveError::LimitExceeded, overLimitMessage(sink, name));
        if (sink.writeFailed)
            return setError(error, SSZipArchiveError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
        if (damage.isEmpty() && closed == UNZ_CRCERROR)
            damage = QStringLiteral("it fails its checksum");
        else if (damage.isEmpty() && closed != UNZ_OK)
            damage = QStringLiteral("it is damaged");
        if (!damage.isEmpty())
            return setError(error, SSZipArchiveError::BadEntry,
                            QStringLiteral("The entry \"%1\" cannot be unpacked: %2.").arg(name, damage));
        if (!out.flush())
            return setError(error, SSZipArchiveError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
        if (info.dosDate != 0) {
            const QDateTime stamp = dosDateTime(info.dosDate);
            if (stamp.isValid())
                out.setFileTime(stamp, QFileDevice::FileModificationTime);
        }
        out.close();
        if (out.error() != QFileDevice::NoError)
            return setError(error, SSZipArchiveError::CannotWrite,
                            QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        return setError(error, SSZipArchiveError::BadEntry, QStringLiteral("The archive's directory is damaged."));
    return true;
}

bool SSZipArchive::createZipFileAtPath(const QString &path, const QStringList &paths, QString *errorMessage)
{
    SSZipArchive archive(path);
    bool ok = archive.open();
    for (qsizetype i = 0; ok && i < paths.size(); ++i) {
        QString item = paths.at(i);
        if (item.size() > 1 && item.endsWith(QLatin1Char('/')))
            item.chop(1);
        const int slash = int(item.lastIndexOf(QLatin1Char('/')));
        const QString name = item.mid(slash + 1);
        const QString base = item.left(slash + 1);
        ok = archive.writeFile(name, base);
    }
    if (archive._zip && !archive.close())
        ok = false;
    if (!ok && errorMessage)
        *errorMessage = archive.errorString();
    return ok;
}

QDateTime SSZipArchive::_dateFor1980()
{
    return QDateTime(QDate(1980, 1, 1), QTime(0, 0));
}

SSZipArchive::SSZipArchive(const QString &path) : _path(path) {}

SSZipArchive::~SSZipArchive()
{
    if (_zip)
        zipClose(static_cast<zipFile>(_zip), nullptr);
}

bool SSZipArchive::open()
{
    Q_ASSERT_X(!_zip, "SSZipArchive::open", "Attempting open an archive which is already open");
    if (_zip)
        return fail(QStringLiteral("Attempting open an archive which is already open"));
    _zip = zipOpen(QFile::encodeName(_path).constData(), APPEND_STATUS_CREATE);
    if (!_zip)
        return fail(QStringLiteral("Cannot create the archive %1.").arg(_path));
    return true;
}

bool SSZipArchive::writeFile(const QString &name, const QString &basePath)
{
    Q_ASSERT_X(_zip, "SSZipArchive::writeFile", "Attempting to write to an archive which was never opened");
    if (!_zip)
        return fail(QStringLiteral("Attempting to write to an archive which was never opened"));
    const QString item = basePath.isEmpty() ? name : QDir(basePath).filePath(name);
    const QFileInfo info(item);
    if (info.isDir())
        return addFolder(name, item);
    return addFile(name, item);
}

bool SSZipArchive::close()
{
    Q_ASSERT_X(_zip, "SSZipArchive::close", "Attempting to close an archive which was never opened");
    if (!_zip)
        return fail(QStringLiteral("Attempting to close an archive which was never opened"));
    const int status = zipClose(static_cast<zipFile>(_zip), nullptr);
    _zip = nullptr;
    if (status != ZIP_OK)
        return fail(QStringLiteral("Cannot finish the archive %1.").arg(_path));
    return true;
}

bool SSZipArchive::addFolder(const QString &name, const QString &folderPath)
{
    // Symbolic links are left out so a link back up the tree cannot make the walk endless.
    const QStringList entries = QDir(folderPath).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    if (entries.isEmpty()) {
        if (!openEntry(name + QLatin1Char('/')))
            return false;
        if (zipCloseFileInZip(static_cast<zipFile>(_zip)) != ZIP_OK)
            return fail(QStringLiteral("Cannot finish the entry %1/.").arg(name));
        return true;
    }
    for (const QString &entry : entries) {
        const QString childName = name + QLatin1Char('/') + entry;
        const QString childPath = folderPath + QLatin1Char('/') + entry;
        const bool ok = QFileInfo(childPath).isDir() ? addFolder(childName, childPath) : addFile(childName, childPath);
        if (!ok)
            return false;
    }
    return true;
}

bool SSZipArchive::addFile(const QString &name, const QString &filePath)
{
    QFile in(filePath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(filePath, in.errorString()));
    if (!openEntry(name))
        return false;
    std::vector<char> buffer(ZipChunk);
    zipFile zip = static_cast<zipFile>(_zip);
    for (;;) {
        const qint64 read = in.read(buffer.data(), qint64(buffer.size()));
        if (read < 0) {
            zipCloseFileInZip(zip);
            return fail(QStringLiteral("Cannot read %1: %2").arg(filePath, in.errorString()));
        }
        if (read == 0)
            break;
        if (zipWriteInFileInZip(zip, buffer.data(), unsigned(read)) != ZIP_OK) {
            zipCloseFileInZip(zip);
            return fail(QStringLiteral("Cannot write the archive %1.").arg(_path));
        }
    }
    if (zipCloseFileInZip(zip) != ZIP_OK)
        return fail(QStringLiteral("Cannot write the archive %1.").arg(_path));
    return true;
}

bool SSZipArchive::openEntry(const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    bool ascii = true;
    for (char c : utf8)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    // Entries carry no date (MS-DOS date 0). Names beyond ASCII are flagged as UTF-8 so
    // other programs do not read them in the old DOS code page.
    const int status = zipOpenNewFileInZip4(static_cast<zipFile>(_zip), utf8.constData(), nullptr, nullptr, 0,
                                            nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                            DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0,
                                            ascii ? 0 : Utf8NameFlag);
    if (status != ZIP_OK)
        return fail(QStringLiteral("Cannot add the entry %1 to %2.").arg(name, _path));
    return true;
}

bool SSZipArchive::fail(const QString &message)
{
    m_errorString = message;
    return false;
}
