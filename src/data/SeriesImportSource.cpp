#include "data/SeriesImportSource.h"

#include "document/StringUtilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Windows-1252 characters of the bytes 0x80 to 0x9F (0 where the code page has none).
const char16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

QChar cp1252(uchar byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kCp1252High[byte - 0x80] ? QChar(kCp1252High[byte - 0x80]) : QChar(0xFFFD);
    return QChar(byte);
}

QString fromCp1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text.append(cp1252(uchar(c)));
    return text;
}

} // namespace

QString SeriesImportSource::chk_and_insert_validation(const QString &text)
{
    QString cleaned = text;
    cleaned.remove(QLatin1Char('\\'));
    cleaned.remove(QLatin1Char('{'));
    cleaned.remove(QLatin1Char('}'));
    return Trim_Str(cleaned);
}

QString SeriesImportSource::decodeText(const QByteArray &bytes)
{
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1252(bytes);
}

bool SeriesImportSource::rtfToText(const QByteArray &bytes, QString *text)
{
    if (!bytes.trimmed().startsWith("{\\rtf"))
        return false;
    struct Group
    {
        bool skip = false;
        int unicodeSkip = 1;
    };
    QList<Group> groups{Group{}};
    QString out;
    int pendingSkip = 0;   // fallback characters still to drop after a \uN
    const qsizetype n = bytes.size();
    const auto put = [&](QChar c) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!groups.last().skip)
            out.append(c);
    };
    static const QList<QByteArray> skippedDestinations = {
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl", "headerr",
        "footerl", "footerr", "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl",
        "themedata", "colorschememapping", "latentstyles", "datastore", "object", "fldinst", "filetbl",
    };
    for (qsizetype i = 0; i < n;) {
        const char c = bytes.at(i);
        if (c == '{') {
            groups.append(groups.last());
            pendingSkip = 0;
            ++i;
        } else if (c == '}') {
            if (groups.size() > 1)
                groups.removeLast();
            pendingSkip = 0;
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= n)
                break;
            const char d = bytes.at(i);
            if (d == '\\' || d == '{' || d == '}') {
                put(QLatin1Char(d));
                ++i;
            } else if (d == '\'') {
                if (i + 2 < n) {
                    bool ok = false;
                    const uint byte = bytes.mid(i + 1, 2).toUInt(&ok, 16);
                    if (ok)
                        put(cp1252(uchar(byte)));
                }
                i += 3;
            } else if (d == '*') {
                groups.last().skip = true;
                ++i;
            } else if (d == '~') {
                put(QChar(0x00A0));
                ++i;
            } else if (d == '\n' || d == '\r') {
                put(QLatin1Char('\n'));
                ++i;
            } else if ((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z')) {
                qsizetype start = i;
                while (i < n && ((bytes.at(i) >= 'a' && bytes.at(i) <= 'z') || (bytes.at(i) >= 'A' && bytes.at(i) <= 'Z')))
                    ++i;
                const QByteArray word = bytes.mid(start, i - start);
                bool hasParam = false;
                int param = 0;
                start = i;
                if (i < n && (bytes.at(i) == '-' || (bytes.at(i) >= '0' && bytes.at(i) <= '9'))) {
                    ++i;
                    while (i < n && bytes.at(i) >= '0' && bytes.at(i) <= '9')
                        ++i;
                    param = bytes.mid(start, i - start).toInt(&hasParam);
                }
                if (i < n && bytes.at(i) == ' ')
                    ++i;   // the delimiter belongs to the control word
                if (word == "par" || word == "line" || word == "row")
                    put(QLatin1Char('\n'));
                else if (word == "tab" || word == "cell")
                    put(QLatin1Char('\t'));
                else if (word == "emdash")
                    put(QChar(0x2014));
                else if (word == "endash")
                    put(QChar(0x2013));
                else if (word == "lquote")
                    put(QChar(0x2018));
                else if (word == "rquote")
                    put(QChar(0x2019));
                else if (word == "ldblquote")
                    put(QChar(0x201C));
                else if (word == "rdblquote")
                    put(QChar(0x201D));
                else if (word == "bullet")
                    put(QChar(0x2022));
                else if (word == "uc" && hasParam)
                    groups.last().unicodeSkip = qMax(0, param);
                else if (word == "u" && hasParam) {
                    put(QChar(char16_t(param < 0 ? param + 65536 : param)));
                    pendingSkip = groups.last().unicodeSkip;
                } else if (skippedDestinations.contains(word))
                    groups.last().skip = true;
            } else {
                ++i;   // an unknown control symbol
            }
        } else if (c == '\r' || c == '\n') {
            ++i;   // line breaks of the RTF source are not text
        } else {
            put(QLatin1Char(c));
            ++i;
        }
    }
    *text = out;
    return true;
}

QStringList SeriesImportSource::lineValues(const QString &content)
{
    QString text = content;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList values;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString value = chk_and_insert_validation(line);
        if (!value.isEmpty())
            values.append(value);
    }
    return values;
}

QStringList SeriesImportSource::csvValues(const QString &content)
{
    QStringList values;
    QString field;
    bool quoted = false;
    bool fieldWasQuoted = false;
    const auto endField = [&] {
        const QString value = chk_and_insert_validation(field);
        if (!value.isEmpty())
            values.append(value);
        field.clear();
        fieldWasQuoted = false;
    };
    const qsizetype n = content.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = content.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && content.at(i + 1) == QLatin1Char('"')) {
                    field.append(c);
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field.append(c);
            }
        } else if (c == QLatin1Char('"') && field.isEmpty() && !fieldWasQuoted) {
            quoted = true;
            fieldWasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            endField();
            if (c == QLatin1Char('\r') && i + 1 < n && content.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            field.append(c);
        }
    }
    endField();
    // A value quoted over several lines is one value of a series: it keeps one line.
    for (QString &value : values) {
        value.replace(QLatin1String("\r\n"), QLatin1String(" "));
        value.replace(QLatin1Char('\r'), QLatin1Char(' '));
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return values;
}

QStringList SeriesImportSource::readTextFile(const QString &path, QString *errorMessage)
{
    const QString corrupt = QStringLiteral("Either file is corrupted or selected file contains invalid characters.");
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        *errorMessage = QStringLiteral("Please select a valid file.");
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *errorMessage = QStringLiteral("Please select a valid file.");
        return {};
    }
    const QString kind = QFileInfo(path).suffix().toUpper();
    QString content;
    if (kind == QLatin1String("RTF")) {
        if (!rtfToText(bytes, &content)) {
            *errorMessage = corrupt;
            return {};
        }
    } else {
        content = decodeText(bytes);
        // Binary junk (NUL bytes, or mostly control characters) is no text file.
        qsizetype control = 0;
        for (QChar c : content)
            if (c.category() == QChar::Other_Control && c != QLatin1Char('\n') && c != QLatin1Char('\r')
                && c != QLatin1Char('\t'))
                ++control;
        if (control > 0 && control * 20 > content.size()) {
            *errorMessage = corrupt;
            return {};
        }
    }
    if (Trim_Str(content).isEmpty()) {
        *errorMessage = corrupt;
        return {};
    }
    QStringList values = kind == QLatin1String("CSV") ? csvValues(content) : lineValues(content);
    if (values.isEmpty())
        *errorMessage = QStringLiteral("The file holds no value to import.");
    else
        errorMessage->clear();
    return values;
}

QStringList SeriesImportSource::pastedLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : Trim_Str(text).split(QLatin1Char('\n')))
        if (!line.isEmpty())
            lines.append(line);
    return lines;
}

const QStringList &SeriesImportSource::pictureExtensions()
{
    static const QStringList extensions = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("jpe"),
                                           QStringLiteral("jfif"), QStringLiteral("gif"), QStringLiteral("bmp"),
                                           QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("tiff")};
    return extensions;
}

bool SeriesImportSource::pictureFiles(const QString &folder, QStringList *paths)
{
    paths->clear();
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries)
        if (entry.isFile() && pictureExtensions().contains(entry.suffix().toLower()))
            paths->append(dir.filePath(entry.fileName()));
    return true;
}
