#include "data/DataSeries.h"

#include "data/DataGlobals.h"
#include "document/DocumentGlobals.h"
#include "document/MessageLog.h"
#include "document/StringUtilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

QString DataSeries::filePath(const QString &name)
{
    return QDir(Data_Folder_Path).filePath(name + QLatin1Char('.') + batch_file_EXT);
}

bool DataSeries::isUsableName(const QString &name, QString *reason)
{
    QString problem;
    if (Data_Folder_Path.isEmpty())
        problem = QStringLiteral("The data-series folder is not set.");
    else if (name.isEmpty())
        problem = QStringLiteral("Please enter a name for the series.");
    else if (name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))
             || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        problem = QStringLiteral("The series name \"%1\" cannot be used as a file name.").arg(name);
    else if (name.startsWith(QLatin1Char('.')))
        // The file would be hidden: never listed, so it could be neither seen nor deleted.
        problem = QStringLiteral("The series name \"%1\" cannot begin with a dot.").arg(name);
    if (reason)
        *reason = problem;
    return problem.isEmpty();
}

bool DataSeries::exists(const QString &name)
{
    return isUsableName(name) && QFileInfo(filePath(name)).isFile();
}

QStringList DataSeries::Get_datasheet_File_Name_Array()
{
    QStringList names;
    if (Data_Folder_Path.isEmpty())
        return names;
    const QDir folder(Data_Folder_Path);
    if (!folder.exists())
        return names;
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.completeBaseName();
        if (!name.isEmpty())
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

bool DataSeries::writeValues(const QString &name, const QStringList &values, WriteMode mode, QString *errorMessage)
{
    QString reason;
    if (!isUsableName(name, &reason)) {
        if (errorMessage)
            *errorMessage = reason;
        return false;
    }
    QDir().mkpath(Data_Folder_Path);
    const QString path = filePath(name);

    QByteArray content;
    if (mode == WriteMode::Append) {
        QFile old(path);
        if (old.exists()) {
            if (!old.open(QIODevice::ReadOnly)) {
                if (errorMessage)
                    *errorMessage = QStringLiteral("Cannot read %1: %2").arg(path, old.errorString());
                return false;
            }
            content = old.readAll();
            if (!content.isEmpty() && !content.endsWith('\n'))
                content.append('\n');   // a hand-edited last line must not swallow the first new value
        }
    }
    for (const QString &written : values) {
        // What reading leaves out is not written (a lone surrogate would become "?").
        const QString value = Storable_Text(written);
        if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n'))) {
            QString line = value;
            line.replace(QLatin1String("\r\n"), QLatin1String(" "));
            line.replace(QLatin1Char('\r'), QLatin1Char(' '));
            line.replace(QLatin1Char('\n'), QLatin1Char(' '));
            content.append(line.toUtf8());
        } else {
            content.append(value.toUtf8());
        }
        content.append('\n');
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush() || !file.commit()) {
        if (errorMessage)
            *errorMessage = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

bool DataSeries::saveSeries(const QString &typedName, const QString &oldName, const QStringList &values,
                            QString *errorMessage, QString *savedName)
{
    const QString name = Remove_Reserve_Char_In_File_Name(typedName);
    QStringList kept;
    for (const QString &value : values) {
        const QString trimmedValue = Trim_Str(value);
        if (!trimmedValue.isEmpty())
            kept.append(trimmedValue);
    }
    if (!writeValues(name, kept, WriteMode::Replace, errorMessage))
        return false;
    if (!oldName.isEmpty() && oldName != name && isUsableName(oldName) && filePath(oldName) != filePath(name))
        QFile::remove(filePath(oldName));
    if (savedName)
        *savedName = name;
    return true;
}

bool DataSeries::replaceQuestionNeeded(const QString &typedName, const QString &oldName)
{
    const QString name = Remove_Reserve_Char_In_File_Name(typedName);
    return name != oldName && exists(name);
}

namespace {

// The text of a series file's bytes: after a byte-order mark UTF-8, UTF-16 or UTF-32 in that
// form (the mark left out), otherwise UTF-8 as it stands. NUL characters and halves of
// surrogate pairs (a UTF-16 file may hold them) are left out, as from every stored text.
QString decodeSeries(const QByteArray &bytes)
{
    if (const auto marked = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*marked);
        return Storable_Text(decoder.decode(bytes));
    }
    return Storable_Text(QString::fromUtf8(bytes));
}

// Calls `line` with each line of `text`, in order; lines end at CR, LF or CRLF. A text ending
// in a line break ends with an empty line, as QString::split would give.
template<typename Line>
void forEachLine(QStringView text, Line line)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        line(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    line(text.sliced(start));
}

// The length of `text` without the white space, control and format characters at its end
// (what Trim_Str takes off there).
qsizetype keptEnd(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0) {
        const bool pair = end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[end - 2], text[end - 1]) : text[end - 1].unicode();
        const QChar::Category category = QChar::category(c);
        if (!QChar::isSpace(c) && category != QChar::Other_Control && category != QChar::Other_Format)
            break;
        end -= pair ? 2 : 1;
    }
    return end;
}

} // namespace

bool DataSeries::readFile(const QString &name, QString *text, QString *refusal)
{
    if (!isUsableName(name))
        return false;
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const auto refuse = [&](const QString &reason) {
        Show_NSLog_Message(reason);
        if (refusal)
            *refusal = reason;
        return false;
    };
    if (file.size() > MaximumFileSize)
        return refuse(QStringLiteral("The series \"%1\" is not read: its file holds more than %2 MB")
                          .arg(name)
                          .arg(MaximumFileSize >> 20));
    *text = decodeSeries(file.readAll());
    // Every value held costs some 60 bytes besides its text: the count is capped so that the
    // largest series read stays well within 1 GB.
    // The values are counted as readAllValues() gives them: the lines up to the last one
    // holding anything besides trailing white space.
    qsizetype values = 0;
    if (const qsizetype end = keptEnd(*text); end > 0)
        forEachLine(QStringView(*text).first(end), [&values](QStringView) { ++values; });
    if (values > MaximumValues) {
        text->clear();
        return refuse(QCoreApplication::translate("DataSeries", "The series \"%1\" is not read: it holds more than "
                                                                "%Ln value(s)", nullptr, int(MaximumValues))
                          .arg(name));
    }
    return true;
}

QStringList DataSeries::readAllValues(const QString &name, QString *refusal)
{
    QString text;
    if (!readFile(name, &text, refusal))
        return {};
    // Only the end is trimmed: a leading empty line is record 0 and must stay in place.
    const qsizetype end = keptEnd(text);
    if (end == 0)
        return {};
    QStringList values;
    values.reserve(std::count(text.cbegin(), text.cbegin() + end, QLatin1Char('\n')) + 1);
    forEachLine(QStringView(text).first(end), [&values](QStringView line) { values.append(line.toString()); });
    return values;
}

QStringList DataSeries::readListValues(const QString &name, QString *refusal)
{
    QString text;
    if (!readFile(name, &text, refusal))
        return {};
    QStringList values;
    forEachLine(text, [&values](QStringView line) {
        const QString value = Trim_Str(line.toString());
        if (!value.isEmpty())
            values.append(value);
    });
    return values;
}

QString DataSeries::refusal(const QString &name)
{
    QString text, reason;
    readFile(name, &text, &reason);
    return reason;
}

namespace {

// More line breaks than a series may hold values could be in the file: every CR and LF byte
// is counted (a CRLF twice, and a UTF-16 or UTF-32 file may hold such bytes inside other
// characters), so a file below the count holds no more values than that.
bool mayHoldMoreValuesThan(QFile &file, qsizetype most)
{
    qsizetype breaks = 0;
    char chunk[1 << 16];
    for (qint64 got; (got = file.read(chunk, sizeof chunk)) > 0;) {
        breaks += std::count(chunk, chunk + got, '\n') + std::count(chunk, chunk + got, '\r');
        if (breaks >= most)
            return true;
    }
    return false;
}

} // namespace

QString DataSeries::readFirstValue(const QString &name)
{
    if (!isUsableName(name))
        return {};
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumFileSize)
        return {};
    // A series every batch refuses for its count of values shows no first value either. The
    // bytes tell at once for all but series near the limit, which are counted as reading does.
    if (mayHoldMoreValuesThan(file, MaximumValues)) {
        if (!refusal(name).isEmpty())
            return {};
    }
    if (!file.seek(0))
        return {};
    // The start of the file is enough unless the first line runs past it.
    QByteArray bytes = file.read(qint64(64) << 10);
    QString text = decodeSeries(bytes);
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && !file.atEnd())
        text = decodeSeries(bytes + file.readAll());
    QString first;
    bool taken = false;
    forEachLine(text, [&](QStringView line) {
        if (!taken)
            first = line.toString();
        taken = true;
    });
    return first;
}

bool DataSeries::deleteSeries(const QString &name)
{
    if (!isUsableName(name))
        return false;
    QFile file(filePath(name));
    return !file.exists() || file.remove();
}

bool DataSeries::isSeriesInUse(const QString &name, const GraphicList &front, const GraphicList &back, bool twoSided)
{
    if (!exists(name))
        return false;
    const auto boundHere = [&name](const GraphicList &side) {
        return std::any_of(side.cbegin(), side.cend(), [&name](const GraphicPtr &graphic) {
            if (!graphic)
                return false;
            const GraphicKind kind = graphic->kind();
            const bool bindable = kind == GraphicKind::Text || kind == GraphicKind::Image || kind == GraphicKind::Barcode;
            return bindable && graphic->data_source_type == 1 && graphic->batch_list_name == name;
        });
    };
    return boundHere(front) || (twoSided && boundHere(back));
}
