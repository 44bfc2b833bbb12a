#include "data/SpreadsheetWriter.h"

#include "data/DataGlobals.h"
#include "data/SSZipArchive.h"
#include "data/WorkbookParts.h"
#include "data/WorkbookTemplate.h"
#include "data/XlsxCells.h"
#include "data/XmlElementStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Limits of a worksheet in every spreadsheet program that reads what we write.
constexpr int MaxRows = 1048576;
constexpr qsizetype WriteChunk = 1 << 20;

const char *const MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

bool report(QString *errorMessage, const QString &message)
{
    if (errorMessage)
        *errorMessage = message;
    return false;
}

void clearError(QString *errorMessage)
{
    if (errorMessage)
        errorMessage->clear();
}

QString localPath(const QUrl &url)
{
    return url.isLocalFile() ? url.toLocalFile() : url.path();
}

bool isNamed(const pugi::xml_node &node, const char *name)
{
    if (node.type() != pugi::node_element)
        return false;
    const char *qualified = node.name();
    return std::strcmp(qualified, name) == 0 || XmlElementStream::hasLocalName(node, name);
}

pugi::xml_node childNamed(const pugi::xml_node &parent, const char *name)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (isNamed(child, name))
            return child;
    return {};
}

// The character data directly inside an element (text and CDATA pieces joined), as UTF-8.
QByteArray directUtf8(const pugi::xml_node &element)
{
    const pugi::xml_node first = element.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return QByteArray::fromRawData(first.value(), qsizetype(std::strlen(first.value())));
    QByteArray joined;
    for (pugi::xml_node child = first; child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            joined.append(child.value());
    return joined;
}

// Lets equal short cell texts share one string, so a column of repeated values (cities,
// ages, yes/no) costs one string rather than one per cell. A small direct-mapped cache:
// bounded memory, no rehashing; texts beyond ASCII are not shared.
class TextInterner
{
public:
    QString text(const QByteArray &utf8)
    {
        const qsizetype size = utf8.size();
        if (size == 0)
            return {};
        if (size > MaxLength)
            return QString::fromUtf8(utf8);
        quint32 hash = 2166136261u;
        for (const char c : utf8) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return QString::fromUtf8(utf8);
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        }
        Slot &slot = m_slots[hash & (SlotCount - 1)];
        const QLatin1StringView ascii(utf8.constData(), size);
        if (slot.hash != hash || slot.text.size() != size || slot.text != ascii) {
            slot.hash = hash;
            slot.text = QString(ascii);
        }
        return slot.text;
    }

private:
    struct Slot
    {
        quint32 hash = 0;
        QString text;
    };
    static constexpr qsizetype MaxLength = 48;
    static constexpr quint32 SlotCount = 4096;
    std::vector<Slot> m_slots = std::vector<Slot>(SlotCount);
};

// A cell text from its stored UTF-8 form, with the workbook escape "_xHHHH_" undone.
QString cellText(const QByteArray &utf8, TextInterner &interner)
{
    if (std::memchr(utf8.constData(), '_', std::size_t(utf8.size())) && utf8.contains("_x"))
        return XlsxCells::unescapeText(QString::fromUtf8(utf8));
    return interner.text(utf8);
}

// Every piece of character data below an element, in document order, as UTF-8.
QByteArray allUtf8(const pugi::xml_node &element)
{
    QByteArray joined;
    pugi::xml_node node = element.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
            joined.append(node.value());
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != element && !node.next_sibling())
            node = node.parent();
        if (!node || node == element)
            break;
        node = node.next_sibling();
    }
    return joined;
}

// A shared-string index: decimal digits, optionally surrounded by white space.
bool parseIndex(const char *text, qsizetype *index)
{
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r')
        ++text;
    if (*text < '0' || *text > '9')
        return false;
    qint64 value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > std::numeric_limits<int>::max())
            return false;
    }
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r')
        ++text;
    *index = qsizetype(value);
    return *text == '\0';
}

// Batches of worksheet rows are turned into rows of texts on worker threads.
int workerCount()
{
    return std::clamp(QThread::idealThreadCount(), 1, 4);
}

class SharedStringsWork : public XmlElementStream::BatchWork
{
public:
    explicit SharedStringsWork(qint64 maxStrings) : m_maxStrings(maxStrings) {}

    std::shared_ptr<void> map(int, const std::vector<pugi::xml_node> &units) const override
    {
        auto texts = std::make_shared<QStringList>();
        texts->reserve(qsizetype(units.size()));
        TextInterner interner;
        for (const pugi::xml_node &item : units) {
            QByteArray text;
            if (const pugi::xml_node t = childNamed(item, "t")) {
                text = directUtf8(t);
            } else {
                for (pugi::xml_node run = item.first_child(); run; run = run.next_sibling())
                    if (isNamed(run, "r"))
                        text += directUtf8(childNamed(run, "t"));
            }
            texts->append(cellText(text, interner));
        }
        return texts;
    }
    bool reduce(std::shared_ptr<void> result) override
    {
        QStringList &texts = *std::static_pointer_cast<QStringList>(result);
        if (table.size() + texts.size() > m_maxStrings) {
            tooLarge = true;
            table.clear();
            return false;
        }
        table.append(std::move(texts));
        return true;
    }

    QStringList table;
    bool tooLarge = false;

private:
    const qint64 m_maxStrings;
};

class RowsWork : public XmlElementStream::BatchWork
{
public:
    RowsWork(const QStringList &shared, const WorkbookParts &workbook, bool headerOnly, qint64 maxCells)
        : m_shared(shared), m_workbook(workbook), m_headerOnly(headerOnly), m_maxCells(maxCells)
    {
    }

    std::shared_ptr<void> map(int, const std::vector<pugi::xml_node> &units) const override
    {
        auto batch = std::make_shared<Batch>();
        TextInterner interner;
        // Rows hold cells up to their last value only; they are padded once the whole
        // sheet is known to fit, so sparse sheets cannot blow up here.
        const qint64 cellBudget = std::max<qint64>(m_maxCells / 4, XlsxCells::MaxColumns);
        qint64 cells = 0;
        for (const pugi::xml_node &rowNode : units) {
            const bool keep = !m_headerOnly || batch->rowCount == 0;
            QStringList row;
            int column = -1;
            for (pugi::xml_node cell = rowNode.first_child(); cell; cell = cell.next_sibling()) {
                if (!isNamed(cell, "c"))
                    continue;
                // A cell without a usable reference takes the place after the previous cell.
                const int referenced = XlsxCells::columnOfReference(cell.attribute("r").value());
                column = referenced >= 0 ? referenced : column + 1;
                if (column >= XlsxCells::MaxColumns)
                    continue;
                batch->width = std::max(batch->width, column + 1);
                if (!keep)
                    continue;
                QString value = cellValue(cell, interner);
                if (value.isEmpty())
                    continue;
                if (row.size() <= column) {
                    cells += column + 1 - row.size();
                    if (cells > cellBudget) {
                        batch->overflow = true;
                        return batch;
                    }
                    row.resize(column + 1);
                }
                row[column] = std::move(value);
            }
            ++batch->rowCount;
            if (keep)
                batch->rows.append(std::move(row));
        }
        return batch;
    }

    bool reduce(std::shared_ptr<void> result) override
    {
        auto batch = std::static_pointer_cast<Batch>(result);
        width = std::max(width, batch->width);
        rowCount += batch->rowCount;
        if (batch->overflow || rowCount * std::max(width, 1) > m_maxCells) {
            tooLarge = true;
            return false;
        }
        if (!m_headerOnly)
            rows.append(std::move(batch->rows));
        else if (rows.isEmpty() && !batch->rows.isEmpty())
            rows.append(batch->rows.first());
        return true;
    }

    QList<QStringList> rows;
    int width = 0;
    qint64 rowCount = 0;
    bool tooLarge = false;

private:
    struct Batch
    {
        QList<QStringList> rows;
        int width = 0;
        qint64 rowCount = 0;
        bool overflow = false;
    };

    QString cellValue(const pugi::xml_node &cell, TextInterner &interner) const
    {
        const char *type = cell.attribute("t").value();
        const pugi::xml_node v = childNamed(cell, "v");
        if (std::strcmp(type, "s") == 0) {
            qsizetype index = -1;
            if (v && parseIndex(v.child_value(), &index) && index < m_shared.size())
                return m_shared.at(index);
            return {};
        }
        if (v) {
            const QByteArray stored = directUtf8(v);
            if (std::strcmp(type, "str") == 0)
                return cellText(stored, interner);
            // A number under a date or time format shows as that date or time.
            if ((!*type || std::strcmp(type, "n") == 0) && !stored.isEmpty()) {
                if (const CellNumberFormat *format = m_workbook.dateTimeFormat(cell.attribute("s").as_int(-1))) {
                    bool ok = false;
                    const double serial = stored.trimmed().toDouble(&ok);
                    const QString shown = ok ? format->format(serial, m_workbook.date1904) : QString();
                    if (!shown.isEmpty())
                        return shown;
                }
            }
            return interner.text(stored);
        }
        if (const pugi::xml_node inlineString = childNamed(cell, "is"))
            return cellText(allUtf8(inlineString), interner);
        return {};
    }

    const QStringList &m_shared;
    const WorkbookParts &m_workbook;
    const bool m_headerOnly;
    const qint64 m_maxCells;
};

// Buffered writing of one XML part; the file appears only when everything was written.
class PartWriter
{
public:
    explicit PartWriter(const QString &path) : m_file(path) {}

    bool open() { return m_file.open(QIODevice::WriteOnly); }
    QByteArray &buffer() { return m_buffer; }
    void flushIfFull()
    {
        if (m_buffer.size() >= WriteChunk)
            flush();
    }
    bool finish(QString *errorMessage)
    {
        flush();
        if (!m_failed && m_file.commit())
            return true;
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        return report(errorMessage, QStringLiteral("Error when writing file %1: %2").arg(m_file.fileName(), reason));
    }
    QString errorString() const { return m_file.errorString(); }

private:
    void flush()
    {
        if (!m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
            m_failed = true;
        m_buffer.clear();
    }

    QSaveFile m_file;
    QByteArray m_buffer;
    bool m_failed = false;
};

const char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

bool needsPreserve(const QString &text)
{
    if (text.isEmpty())
        return false;
    const auto isSpace = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'); };
    return isSpace(text.front()) || isSpace(text.back());
}

} // namespace

SpreadsheetWriter::SpreadsheetWriter() = default;

SSZipArchiveLimits SpreadsheetWriter::workbookZipLimits()
{
    SSZipArchiveLimits limits;
    limits.maxEntryBytes = quint64(128) << 20;
    limits.maxRatio = 250;
    return limits;
}
SpreadsheetWriter::~SpreadsheetWriter() = default;

SpreadsheetWriter *SpreadsheetWriter::sharedInstance()
{
    static std::unique_ptr<SpreadsheetWriter> instance;
    if (!instance) {
        instance.reset(new SpreadsheetWriter);
        spreadsheet = instance.get();
    }
    return instance.get();
}

bool SpreadsheetWriter::makeFreshTempFolder(QString *errorMessage)
{
    m_unpackFolder.reset();
    tmpDir.clear();
    m_workbook = WorkbookParts();
    auto folder = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("ziptmp-XXXXXX")));
    if (!folder->isValid())
        return report(errorMessage, QStringLiteral("Cannot create a temporary folder: %1").arg(folder->errorString()));
    tmpDir = folder->path();
    m_unpackFolder = std::move(folder);
    return true;
}

QString SpreadsheetWriter::worksheetsFolder() const
{
    return tmpDir.isEmpty() ? QString() : QDir(tmpDir).filePath(QStringLiteral("xl/worksheets"));
}

void SpreadsheetWriter::removeTempFolder()
{
    if (!spreadsheet)
        return;
    spreadsheet->m_unpackFolder.reset();
    spreadsheet->tmpDir.clear();
    spreadsheet->m_workbook = WorkbookParts();
    spreadsheet->sharedStrings.clear();
}

QString SpreadsheetWriter::worksheetPath() const
{
    return QDir(worksheetsFolder()).filePath(QStringLiteral("sheet%1.xml").arg(Excel_Sheet_Number.load()));
}

// ---------------------------------------------------------------------------------------
// Reading

QList<QStringList> SpreadsheetWriter::ReadWorkbook(const QUrl &url, bool only_col, QString *errorMessage)
{
    clearError(errorMessage);
    SpreadsheetWriter *reader = sharedInstance();
    if (!only_col) {
        if (reader->tmpDir.isEmpty()) {
            reader->data.clear();
            report(errorMessage, QStringLiteral("No workbook has been opened."));
            return reader->data;
        }
        reader->ReadData(QUrl::fromLocalFile(reader->worksheetPath()), errorMessage);
        return reader->data;
    }

    reader->columns = 1;
    reader->sharedStrings.clear();
    if (!reader->makeFreshTempFolder(errorMessage))
        return reader->data;
    SSZipArchiveError unzipError;
    if (!SSZipArchive::unzipFileAtPath(localPath(url), reader->tmpDir, true, QString(), &unzipError,
                                       reader->zipLimits)) {
        // Nothing half-unpacked may pass for a workbook.
        reader->makeFreshTempFolder(nullptr);
        report(errorMessage, QStringLiteral("The workbook %1 cannot be opened: %2")
                                 .arg(localPath(url), unzipError.localizedDescription));
        return reader->data;
    }
    reader->m_workbook = WorkbookParts::read(reader->tmpDir);
    reader->ReadSharedStrings(QUrl::fromLocalFile(QDir(reader->tmpDir).filePath(QStringLiteral("xl/sharedStrings.xml"))),
                              errorMessage);
    return reader->data;
}

bool SpreadsheetWriter::ReadSharedStrings(const QUrl &url, QString *errorMessage)
{
    clearError(errorMessage);
    sharedStrings.clear();
    QFile file(localPath(url));
    if (!file.exists())
        return true;   // a workbook of numbers and inline strings has no table
    if (!file.open(QIODevice::ReadOnly))
        return report(errorMessage, QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString()));

    XmlElementStream stream(&file);
    stream.setMaxElementBytes(maxElementBytes);
    stream.addUnit({"sst", "si"});
    SharedStringsWork work(maxSharedStrings);
    if (!stream.runBatches(work, workerCount()))
        return report(errorMessage, QStringLiteral("The shared strings of the workbook cannot be read: %1")
                                        .arg(stream.errorString()));
    if (work.tooLarge)
        return report(errorMessage, QStringLiteral("The workbook is too large to read: more than %1 shared strings.")
                                        .arg(maxSharedStrings));
    sharedStrings = std::move(work.table);
    return true;
}

bool SpreadsheetWriter::scanWorksheet(const QString &path, bool headerOnly, QStringList *header, int *columns,
                                      QString *errorMessage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return report(errorMessage, QStringLiteral("The workbook has no worksheet %1.").arg(QFileInfo(path).fileName()));

    XmlElementStream stream(&file);
    stream.setMaxElementBytes(maxElementBytes);
    stream.addUnit({"worksheet", "sheetData", "row"});
    RowsWork work(sharedStrings, m_workbook, headerOnly, maxCells);
    if (!stream.runBatches(work, workerCount()))
        return report(errorMessage, QStringLiteral("The worksheet cannot be read: %1").arg(stream.errorString()));
    if (work.tooLarge)
        return report(errorMessage, QStringLiteral("The worksheet is too large to read: more than %L1 cells.").arg(maxCells));

    QList<QStringList> &rows = work.rows;
    int width = work.width;
    width = std::max(width, 1);
    *columns = width;
    if (headerOnly) {
        header->clear();
        if (rows.isEmpty())
            return true;
        const QStringList &first = rows.first();
        for (int i = 0; i < width; ++i) {
            const QString name = i < first.size() ? first.at(i) : QString();
            header->append(name.isEmpty() ? QStringLiteral("Untitled Column %1").arg(i + 1) : name);
        }
        return true;
    }
    for (QStringList &row : rows)
        if (row.size() < width)
            row.resize(width);
    data = std::move(rows);
    return true;
}

QList<QStringList> SpreadsheetWriter::ReadData_only_column(QString *errorMessage)
{
    clearError(errorMessage);
    SpreadsheetWriter *reader = sharedInstance();
    reader->data.clear();
    if (reader->tmpDir.isEmpty()) {
        report(errorMessage, QStringLiteral("No workbook has been opened."));
        return reader->data;
    }
    QStringList names;
    int columns = 1;
    if (!reader->scanWorksheet(reader->worksheetPath(), true, &names, &columns, errorMessage))
        return reader->data;
    reader->columns = columns;
    if (!names.isEmpty())
        reader->data.append(names);
    return reader->data;
}

bool SpreadsheetWriter::ReadData(const QUrl &url, QString *errorMessage)
{
    clearError(errorMessage);
    data.clear();
    int width = 1;
    if (!scanWorksheet(localPath(url), false, nullptr, &width, errorMessage))
        return false;
    columns = width;
    return true;
}

// ---------------------------------------------------------------------------------------
// Writing

QString SpreadsheetWriter::ColumnIndexToName(int column)
{
    QString name;
    for (int n = column; n > 0; n = (n - 1) / 26)
        name.prepend(QLatin1Char(char('A' + (n - 1) % 26)));
    return name;
}

bool SpreadsheetWriter::WriteWorkbook(const QUrl &url, const QList<QStringList> &rows, bool hasTitleRow,
                                      QString *errorMessage)
{
    Q_UNUSED(hasTitleRow);   // a title row is written like any other row
    clearError(errorMessage);
    const QString destination = localPath(url);
    if (rows.isEmpty())
        return report(errorMessage, QStringLiteral("There are no rows to write."));
    if (destination.isEmpty())
        return report(errorMessage, QStringLiteral("No file name was given for the workbook."));

    SpreadsheetWriter *writer = sharedInstance();
    writer->data = rows;
    if (!writer->makeFreshTempFolder(errorMessage))
        return false;
    const QDir folder(writer->tmpDir);

    const QString skeleton = WorkbookTemplate::ensureInstalled(errorMessage);
    if (skeleton.isEmpty())
        return false;
    SSZipArchiveError unzipError;
    if (!SSZipArchive::unzipFileAtPath(skeleton, writer->tmpDir, true, QString(), &unzipError))
        return report(errorMessage, QStringLiteral("The workbook skeleton %1 cannot be read: %2")
                                        .arg(skeleton, unzipError.localizedDescription));
    QDir().mkpath(folder.filePath(QStringLiteral("xl/worksheets")));

    if (!writer->WriteWorksheetData(QUrl::fromLocalFile(folder.filePath(QStringLiteral("xl/worksheets/sheet1.xml"))),
                                    errorMessage)
        || !writer->WriteSharedStringsXML(QUrl::fromLocalFile(folder.filePath(QStringLiteral("xl/sharedStrings.xml"))),
                                          errorMessage))
        return false;

    QStringList items;
    const QStringList entries = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        items.append(folder.filePath(entry));
    std::sort(items.begin(), items.end());   // "[Content_Types].xml" first, as Office writes it

    // Pack beside the unpack folder, then copy into place in one replace, so a failure
    // never leaves a half-written workbook where an earlier one was.
    QTemporaryFile packed(QDir::temp().filePath(QStringLiteral("festiloom-workbook-XXXXXX.xlsx")));
    if (!packed.open())
        return report(errorMessage, QStringLiteral("Cannot create a temporary file: %1").arg(packed.errorString()));
    packed.close();
    QString zipError;
    if (!SSZipArchive::createZipFileAtPath(packed.fileName(), items, &zipError))
        return report(errorMessage, QStringLiteral("The workbook cannot be packed: %1").arg(zipError));

    QFile source(packed.fileName());
    QSaveFile target(destination);
    if (!source.open(QIODevice::ReadOnly))
        return report(errorMessage, QStringLiteral("Cannot read %1: %2").arg(source.fileName(), source.errorString()));
    if (!target.open(QIODevice::WriteOnly))
        return report(errorMessage, QStringLiteral("Cannot write %1: %2").arg(destination, target.errorString()));
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const qint64 read = source.read(buffer.data(), qint64(buffer.size()));
        if (read < 0 || (read > 0 && target.write(buffer.data(), read) != read)) {
            target.cancelWriting();
            return report(errorMessage, QStringLiteral("Cannot write %1: %2").arg(destination, target.errorString()));
        }
        if (read == 0)
            break;
    }
    if (!target.commit())
        return report(errorMessage, QStringLiteral("Cannot write %1: %2").arg(destination, target.errorString()));
    return true;
}

bool SpreadsheetWriter::WriteWorksheetData(const QUrl &url, QString *errorMessage)
{
    clearError(errorMessage);
    qsizetype columns = 1;
    for (const QStringList &row : std::as_const(data))
        columns = std::max(columns, row.size());
    if (data.size() > MaxRows || columns > XlsxCells::MaxColumns)
        return report(errorMessage, QStringLiteral("A worksheet holds at most %L1 rows of %L2 columns; this table has %L3 rows of %L4.")
                                        .arg(MaxRows).arg(XlsxCells::MaxColumns).arg(data.size()).arg(columns));
    const qsizetype rowCount = std::max<qsizetype>(data.size(), 1);

    std::vector<QByteArray> columnNames(std::size_t(columns) + 1);
    for (qsizetype c = 1; c <= columns; ++c)
        columnNames[std::size_t(c)] = ColumnIndexToName(int(c)).toLatin1();
    const QByteArray lastCell = columnNames[std::size_t(columns)] + QByteArray::number(rowCount);
    const QByteArray spans = "1:" + QByteArray::number(columns);

    PartWriter part(localPath(url));
    if (!part.open())
        return report(errorMessage, QStringLiteral("Error when writing file %1: %2").arg(localPath(url), part.errorString()));
    QByteArray &out = part.buffer();
    out.append(XmlDeclaration);
    out.append("<worksheet xmlns=\"").append(MainNamespace).append(
        "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
        " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\""
        " xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\" mc:Ignorable=\"x14ac\">\n");
    out.append("  <dimension ref=\"A1:").append(lastCell).append("\"/>\n");
    out.append("  <sheetViews>\n    <sheetView tabSelected=\"1\" workbookViewId=\"0\">\n");
    out.append("      <selection activeCell=\"").append(lastCell).append("\" sqref=\"").append(lastCell).append("\"/>\n");
    out.append("    </sheetView>\n  </sheetViews>\n");
    out.append("  <sheetFormatPr baseColWidth=\"10\" defaultRowHeight=\"15\" x14ac:dyDescent=\"0\"/>\n");
    out.append("  <sheetData>\n");

    sharedStrings.clear();
    for (qsizetype r = 0; r < data.size(); ++r) {
        const QByteArray rowNumber = QByteArray::number(r + 1);
        out.append("    <row r=\"").append(rowNumber).append("\" spans=\"").append(spans).append("\">");
        const QStringList &row = data.at(r);
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QString &text = row.at(c);
            out.append("<c r=\"").append(columnNames[std::size_t(c) + 1]).append(rowNumber);
            if (XlsxCells::isPlainNumber(text)) {
                out.append("\"><v>").append(text.toLatin1());
            } else {
                out.append("\" t=\"s\"><v>").append(QByteArray::number(sharedStrings.size()));
                sharedStrings.append(text);
            }
            out.append("</v></c>");
        }
        out.append("</row>\n");
        part.flushIfFull();
    }
    out.append("  </sheetData>\n");
    out.append("  <pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"0.5\" header=\"0.5\" footer=\"0.5\"/>\n");
    out.append("  <extLst>\n    <ext xmlns:mx=\"http://schemas.microsoft.com/office/mac/excel/2008/main\""
               " uri=\"{64002731-A6B0-56B0-2670-7721B7C09600}\">\n");
    out.append("      <mx:PLV Mode=\"0\" OnePage=\"0\" WScale=\"0\"/>\n    </ext>\n  </extLst>\n");
    out.append("</worksheet>\n");
    return part.finish(errorMessage);
}

bool SpreadsheetWriter::WriteSharedStringsXML(const QUrl &url, QString *errorMessage)
{
    clearError(errorMessage);
    PartWriter part(localPath(url));
    if (!part.open())
        return report(errorMessage, QStringLiteral("Error when writing file %1: %2").arg(localPath(url), part.errorString()));
    QByteArray &out = part.buffer();
    out.append(XmlDeclaration);
    out.append("<sst xmlns=\"").append(MainNamespace).append("\"");
    if (sharedStrings.isEmpty()) {
        out.append("/>\n");
        return part.finish(errorMessage);
    }
    const QByteArray count = QByteArray::number(sharedStrings.size());
    out.append(" count=\"").append(count).append("\" uniqueCount=\"").append(count).append("\">\n");
    for (const QString &text : std::as_const(sharedStrings)) {
        out.append(needsPreserve(text) ? "  <si><t xml:space=\"preserve\">" : "  <si><t>");
        XlsxCells::appendXmlText(out, text);
        out.append("</t></si>\n");
        part.flushIfFull();
    }
    out.append("</sst>\n");
    return part.finish(errorMessage);
}
