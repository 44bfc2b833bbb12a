#include "data/WorkbookParts.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <pugixml.hpp>

#include <cstring>

namespace {

const char *localName(const char *qualified)
{
    const char *colon = std::strrchr(qualified, ':');
    return colon ? colon + 1 : qualified;
}

bool isNamed(const pugi::xml_node &node, const char *name)
{
    return node.type() == pugi::node_element && std::strcmp(localName(node.name()), name) == 0;
}

pugi::xml_node child(const pugi::xml_node &parent, const char *name)
{
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling())
        if (isNamed(node, name))
            return node;
    return {};
}

// The value of an attribute by its local name; `prefixed` asks for a namespaced one
// ("r:id"), otherwise a plain one.
QString attribute(const pugi::xml_node &node, const char *name, bool prefixed = false)
{
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const bool hasPrefix = std::strchr(a.name(), ':') != nullptr;
        if (hasPrefix == prefixed && std::strcmp(localName(a.name()), name) == 0)
            return QString::fromUtf8(a.value());
    }
    return {};
}

// Parts larger than this are left unread: real ones take kilobytes, a few megabytes at most.
constexpr qint64 MaxPartBytes = qint64(32) << 20;

// The root element of a part, or null when the part is missing, too large or not XML.
pugi::xml_node loadRoot(pugi::xml_document &document, const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxPartBytes)
        return {};
    if (!document.load_file(QFile::encodeName(path).constData(), pugi::parse_default, pugi::encoding_utf8))
        return {};
    return document.document_element();
}

bool isTrue(const QString &value)
{
    return value == QLatin1String("1") || value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

WorkbookParts WorkbookParts::read(const QString &folder)
{
    WorkbookParts parts;
    const QDir root(folder);

    // Relationship ids of the workbook part to the worksheet files they name.
    QHash<QString, QString> worksheetFiles;
    pugi::xml_document relsDocument;
    if (const pugi::xml_node rels = loadRoot(relsDocument, root.filePath(QStringLiteral("xl/_rels/workbook.xml.rels")))) {
        for (pugi::xml_node rel = rels.first_child(); rel; rel = rel.next_sibling()) {
            if (!isNamed(rel, "Relationship"))
                continue;
            const QString target = attribute(rel, "Target");
            // Targets are relative to the folder "xl", or absolute in the package.
            const QString inPackage = QDir::cleanPath(target.startsWith(QLatin1Char('/')) ? target.mid(1)
                                                                                          : QStringLiteral("xl/") + target);
            const QFileInfo file(inPackage);
            if (file.path() == QLatin1String("xl/worksheets") && file.suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
                worksheetFiles.insert(attribute(rel, "Id"), file.completeBaseName());
        }
    }

    pugi::xml_document workbookDocument;
    if (const pugi::xml_node workbook = loadRoot(workbookDocument, root.filePath(QStringLiteral("xl/workbook.xml")))) {
        parts.date1904 = isTrue(attribute(child(workbook, "workbookPr"), "date1904"));
        for (pugi::xml_node sheet = child(workbook, "sheets").first_child(); sheet; sheet = sheet.next_sibling()) {
            if (!isNamed(sheet, "sheet"))
                continue;
            const QString file = worksheetFiles.value(attribute(sheet, "id", true));
            if (!file.isEmpty())
                parts.sheets.append({attribute(sheet, "name"), file});
        }
    }

    pugi::xml_document stylesDocument;
    if (const pugi::xml_node styles = loadRoot(stylesDocument, root.filePath(QStringLiteral("xl/styles.xml")))) {
        QHash<int, QString> codes;
        for (pugi::xml_node format = child(styles, "numFmts").first_child(); format; format = format.next_sibling())
            if (isNamed(format, "numFmt"))
                codes.insert(attribute(format, "numFmtId").toInt(), attribute(format, "formatCode"));
        for (pugi::xml_node xf = child(styles, "cellXfs").first_child(); xf; xf = xf.next_sibling()) {
            if (!isNamed(xf, "xf"))
                continue;
            bool ok = false;
            const int id = attribute(xf, "numFmtId").toInt(&ok);
            // A workbook's own code for an id wins; built-in ids without one have their known code.
            const QString code = !ok ? QString() : codes.contains(id) ? codes.value(id) : CellNumberFormat::builtInCode(id);
            CellNumberFormat format(code);
            parts.m_styleFormats.append(format.isDateTime() ? std::optional<CellNumberFormat>(std::move(format)) : std::nullopt);
        }
    }
    return parts;
}

const CellNumberFormat *WorkbookParts::dateTimeFormat(int style) const
{
    if (style < 0 || style >= m_styleFormats.size() || !m_styleFormats.at(style))
        return nullptr;
    return &*m_styleFormats.at(style);
}
