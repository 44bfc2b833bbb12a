#include "editor/DesignFile.h"

#include "document/LMNGraphicArchive.h"
#include "document/StringUtilities.h"
#include "document/PlistArray.h"
#include "document/PlistDictionary.h"
#include "document/PropertyListCheck.h"
#include "document/Utf8Text.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <plist/plist.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

const QString DesignFile::Magic = QStringLiteral("QOVAMACBDAYINVITECARD");
const QString DesignFile::Extension = QStringLiteral("dcard");

namespace {

// Fields of one background record in the file; the picture itself is never stored.
constexpr uint32_t RecordFieldCount = 28;
// Magic, two records, binding flag, workbook path, titles, records, front and back elements.
constexpr uint32_t ItemCount = 1 + 2 * RecordFieldCount + 4 + 2;
// Ranges of the record's numbers. The opacity is clamped (a new record holds 100, and
// everything from 1 up draws opaque); a place or size beyond a million points, about 350
// metres, is no card and refuses the file.
constexpr double MaximumOpacity = 100.0;
constexpr double MaximumCoordinate = 1e6;

// What the writer stores for a number whose range the reader checks: within the range, and
// never a number that is not finite.
double storable(double value, double low, double high)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, low, high);
}

struct PlistDeleter
{
    void operator()(void *node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// Runs of record fields of one type, in file order, with the names that messages use.
template<typename T>
struct RecordField
{
    const char *name;
    T Card_Property::*member;
};

constexpr RecordField<QColor> FillColours[] = {
    {"Card_bordr_clr", &Card_Property::Card_bordr_clr},
    {"Card_fill_clr", &Card_Property::Card_fill_clr},
    {"Card_fill_Grd_1_clr", &Card_Property::Card_fill_Grd_1_clr},
    {"Card_fill_Grd_2_clr", &Card_Property::Card_fill_Grd_2_clr},
    {"Card_hatch_bk_clr", &Card_Property::Card_hatch_bk_clr},
};
constexpr RecordField<int> Integers[] = {
    {"Card_bor_Stepper", &Card_Property::Card_bor_Stepper},
    {"Card_grad_Stepper", &Card_Property::Card_grad_Stepper},
    {"Card_Cat_index", &Card_Property::Card_Cat_index},
};
constexpr RecordField<QString> Texts[] = {
    {"Card_border_style", &Card_Property::Card_border_style},
    {"Card_fill_style", &Card_Property::Card_fill_style},
    {"Card_hatch_style", &Card_Property::Card_hatch_style},
    {"Card_Side", &Card_Property::Card_Side},
    {"Card_Side_Name", &Card_Property::Card_Side_Name},
    {"Card_Shape", &Card_Property::Card_Shape},
    {"Card_Name", &Card_Property::Card_Name},
    {"Card_Preset", &Card_Property::Card_Preset},
    {"Card_Category", &Card_Property::Card_Category},
    {"Card_Sub_Category", &Card_Property::Card_Sub_Category},
    {"Card_Create_Mode", &Card_Property::Card_Create_Mode},
    {"Card_BG_Image_Path", &Card_Property::Card_BG_Image_Path},
    {"Card_BG_Image_Layout", &Card_Property::Card_BG_Image_Layout},
};

plist_t newString(const QString &text)
{
    return plist_new_string(Xml_Safe_Text(text).toUtf8().constData());
}

// The same cleaning for archives made elsewhere (element texts can hold anything typed).
void makeStringsXmlSafe(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        char *value = nullptr;
        plist_get_string_val(node, &value);
        const QString text = Utf8Text::decode(value);
        std::free(value);
        const QString safe = Xml_Safe_Text(text);
        if (safe != text)
            plist_set_string_val(node, safe.toUtf8().constData());
        break;
    }
    case PLIST_ARRAY:
        for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
            makeStringsXmlSafe(plist_array_get_item(node, i));
        break;
    case PLIST_DICT:
        PlistDictionary::forEach(node, [](const char *, plist_t value) { makeStringsXmlSafe(value); });
        break;
    default:
        break;
    }
}

// Colours are [red, green, blue, alpha] fractions; an invalid colour is an empty array.
plist_t newColour(const QColor &colour)
{
    plist_t array = plist_new_array();
    if (colour.isValid()) {
        const QColor rgb = colour.toRgb();
        for (double component : {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()})
            plist_array_append_item(array, plist_new_real(component));
    }
    return array;
}

plist_t newPair(double first, double second)
{
    plist_t array = plist_new_array();
    plist_array_append_item(array, plist_new_real(first));
    plist_array_append_item(array, plist_new_real(second));
    return array;
}

plist_t newFont(const CardFont &font)
{
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, "postScriptName", newString(font.postScriptName));
    plist_dict_set_item(dict, "pointSize",
                        plist_new_real(storable(font.pointSize, -std::numeric_limits<double>::max(),
                                                std::numeric_limits<double>::max())));
    return dict;
}

void appendRecord(plist_t array, const Card_Property &record, const QString &shapeCode)
{
    auto add = [array](plist_t item) { plist_array_append_item(array, item); };
    add(plist_new_bool(record.Card_border_chk));
    add(plist_new_bool(record.Card_fill_chk));
    for (const auto &field : FillColours)
        add(newColour(record.*field.member));
    for (const auto &field : Integers)
        add(plist_new_uint(uint64_t(int64_t(record.*field.member))));
    add(plist_new_real(storable(record.Card_alpha_Stepper, 0.0, MaximumOpacity)));
    for (const auto &field : Texts)
        add(newString(field.member == &Card_Property::Card_Shape ? shapeCode : record.*field.member));
    auto coordinate = [](double v) { return storable(v, -MaximumCoordinate, MaximumCoordinate); };
    add(newPair(coordinate(record.Card_Location.x()), coordinate(record.Card_Location.y())));
    add(newPair(coordinate(record.Card_Size.width()), coordinate(record.Card_Size.height())));
    add(newColour(record.Card_Content_clr));
    add(newFont(record.Card_Content_font));
}

plist_t newElementList(const GraphicList &graphics)
{
    plist_t array = plist_new_array();
    for (const GraphicPtr &graphic : graphics) {
        if (!graphic)
            continue;
        plist_t archive = LMNGraphicArchive::encode(*graphic, LMNGraphicArchive::Form::Xml);
        makeStringsXmlSafe(archive);
        plist_array_append_item(array, archive);
    }
    return array;
}

// Reads the items of the top-level array one after the other, checking each one's kind.
// The first failure is kept; later reads then do nothing.
class ItemReader
{
public:
    explicit ItemReader(plist_t array) : m_array(array), m_size(plist_array_get_size(array)) {}

    bool failed() const { return !m_error.isEmpty(); }
    QString error() const { return m_error; }
    void setContext(const QString &context) { m_context = context; }
    void fail(const QString &what, const QString &field)
    {
        if (m_error.isEmpty())
            m_error = m_context.isEmpty() ? QStringLiteral("%1 %2").arg(field, what)
                                          : QStringLiteral("%1 of the %2 %3").arg(field, m_context, what);
    }

    plist_t next(plist_type type, const char *field)
    {
        if (failed())
            return nullptr;
        if (m_index >= m_size) {
            fail(QStringLiteral("is missing: the file ends early"), QString::fromLatin1(field));
            return nullptr;
        }
        plist_t node = plist_array_get_item(m_array, m_index++);
        if (plist_get_node_type(node) != type) {
            fail(QStringLiteral("holds the wrong kind of value"), QString::fromLatin1(field));
            return nullptr;
        }
        return node;
    }

    bool boolean(const char *field)
    {
        uint8_t value = 0;
        if (plist_t node = next(PLIST_BOOLEAN, field))
            plist_get_bool_val(node, &value);
        return value != 0;
    }

    int integer(const char *field)
    {
        plist_t node = next(PLIST_UINT, field);
        if (!node)
            return 0;
        uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        const auto value = int64_t(raw);
        if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
            fail(QStringLiteral("is out of range"), QString::fromLatin1(field));
            return 0;
        }
        return int(value);
    }

    double real(const char *field) { return realOf(next(PLIST_REAL, field), field); }

    QString string(const char *field) { return stringOf(next(PLIST_STRING, field)); }

    QColor colour(const char *field)
    {
        plist_t node = next(PLIST_ARRAY, field);
        if (!node || plist_array_get_size(node) == 0)
            return {};
        if (plist_array_get_size(node) != 4) {
            fail(QStringLiteral("is not a colour"), QString::fromLatin1(field));
            return {};
        }
        double c[4] = {};
        for (uint32_t i = 0; i < 4; ++i) {
            c[i] = componentOf(plist_array_get_item(node, i), field);
            if (failed())
                return {};
        }
        return QColor::fromRgbF(float(c[0]), float(c[1]), float(c[2]), float(c[3]));
    }

    QPointF pair(const char *field)
    {
        plist_t node = next(PLIST_ARRAY, field);
        if (!node)
            return {};
        if (plist_array_get_size(node) != 2) {
            fail(QStringLiteral("is not a pair of numbers"), QString::fromLatin1(field));
            return {};
        }
        const double first = realOf(plist_array_get_item(node, 0), field);
        const double second = realOf(plist_array_get_item(node, 1), field);
        if (std::fabs(first) > MaximumCoordinate || std::fabs(second) > MaximumCoordinate) {
            fail(QStringLiteral("is out of range"), QString::fromLatin1(field));
            return {};
        }
        return {first, second};
    }

    CardFont font(const char *field)
    {
        plist_t node = next(PLIST_DICT, field);
        if (!node)
            return {};
        plist_t name = plist_dict_get_item(node, "postScriptName");
        plist_t size = plist_dict_get_item(node, "pointSize");
        if (!name || plist_get_node_type(name) != PLIST_STRING) {
            fail(QStringLiteral("has no font name"), QString::fromLatin1(field));
            return {};
        }
        return CardFont(stringOf(name), realOf(size, field));
    }

    QStringList stringList(const char *field)
    {
        QStringList result;
        plist_t node = next(PLIST_ARRAY, field);
        const bool whole = !node || PlistArray::forEach(node, [&](uint32_t, plist_t item) {
            if (plist_get_node_type(item) != PLIST_STRING) {
                fail(QStringLiteral("holds something other than text"), QString::fromLatin1(field));
                return false;
            }
            result << stringOf(item);
            return true;
        });
        return whole ? result : QStringList();
    }

    QList<QMap<QString, QString>> stringDictionaries(const char *field)
    {
        QList<QMap<QString, QString>> result;
        plist_t node = next(PLIST_ARRAY, field);
        const bool whole = !node || PlistArray::forEach(node, [&](uint32_t, plist_t item) {
            if (plist_get_node_type(item) != PLIST_DICT) {
                fail(QStringLiteral("holds something other than records"), QString::fromLatin1(field));
                return false;
            }
            QMap<QString, QString> record;
            PlistDictionary::forEach(item, [&](const char *key, plist_t value) {
                if (plist_get_node_type(value) != PLIST_STRING) {
                    fail(QStringLiteral("holds a value that is not text"), QString::fromLatin1(field));
                    return false;
                }
                record.insert(Utf8Text::decode(key), stringOf(value));
                return true;
            });
            if (failed())
                return false;
            result << record;
            return true;
        });
        return whole ? result : QList<QMap<QString, QString>>();
    }

    GraphicList elements(const char *field)
    {
        GraphicList result;
        plist_t node = next(PLIST_ARRAY, field);
        const bool whole = !node || PlistArray::forEach(node, [&](uint32_t i, plist_t item) {
            QString reason;
            GraphicPtr graphic = plist_get_node_type(item) == PLIST_DICT ? LMNGraphicArchive::decode(item, &reason) : nullptr;
            if (!graphic) {
                fail(QStringLiteral("cannot be read (element %1: %2)")
                         .arg(i + 1)
                         .arg(reason.isEmpty() ? QStringLiteral("not an element archive") : reason),
                     QString::fromLatin1(field));
                return false;
            }
            result << graphic;
            return true;
        });
        return whole ? result : GraphicList();
    }

private:
    static QString stringOf(plist_t node)
    {
        char *value = nullptr;
        plist_get_string_val(node, &value);
        const QString text = Utf8Text::decode(value);
        std::free(value);
        return text;
    }

    double realOf(plist_t node, const char *field)
    {
        if (failed())
            return 0.0;
        // Whole numbers written as integers by other tools are numbers too.
        double value = 0.0;
        if (node && plist_get_node_type(node) == PLIST_REAL) {
            plist_get_real_val(node, &value);
        } else if (node && plist_get_node_type(node) == PLIST_UINT) {
            uint64_t raw = 0;
            plist_get_uint_val(node, &raw);
            if (PropertyListCheck::atEndOf64Bits(int64_t(raw))) {
                fail(QStringLiteral("is out of range"), QString::fromLatin1(field));
                return 0.0;
            }
            value = double(int64_t(raw));
        } else {
            fail(QStringLiteral("is not a number"), QString::fromLatin1(field));
            return 0.0;
        }
        if (!std::isfinite(value)) {
            fail(QStringLiteral("is not a finite number"), QString::fromLatin1(field));
            return 0.0;
        }
        return value;
    }

    // Components beyond 0 to 1 are clamped, as element colours are.
    double componentOf(plist_t node, const char *field) { return qBound(0.0, realOf(node, field), 1.0); }

    plist_t m_array;
    uint32_t m_size;
    uint32_t m_index = 0;
    QString m_context;
    QString m_error;
};

Card_Property readRecord(ItemReader &in, const QString &side)
{
    in.setContext(side);
    Card_Property r;
    r.Card_border_chk = in.boolean("Card_border_chk");
    r.Card_fill_chk = in.boolean("Card_fill_chk");
    for (const auto &field : FillColours)
        r.*field.member = in.colour(field.name);
    for (const auto &field : Integers)
        r.*field.member = in.integer(field.name);
    r.Card_alpha_Stepper = float(std::clamp(in.real("Card_alpha_Stepper"), 0.0, MaximumOpacity));
    for (const auto &field : Texts)
        r.*field.member = in.string(field.name);
    r.Card_Location = in.pair("Card_Location");
    const QPointF size = in.pair("Card_Size");
    r.Card_Size = QSizeF(size.x(), size.y());
    r.Card_Content_clr = in.colour("Card_Content_clr");
    r.Card_Content_font = in.font("Card_Content_font");
    return r;
}

// The top array of a design's file with everything but its spreadsheet records, and the
// array their dictionaries go into (appendRecords()).
struct DesignTree
{
    PlistPtr root;
    plist_t records = nullptr;
};

DesignTree treeWithoutRecords(const CardDesign &design)
{
    DesignTree tree{PlistPtr(plist_new_array())};
    plist_t array = tree.root.get();
    // The shape number is the truth; both records carry its code, so it survives the file.
    const QString shapeCode = Card_Property::shapeCode(design.Card_Shape);
    plist_array_append_item(array, newString(DesignFile::Magic));
    appendRecord(array, design.Front_card_Prop, shapeCode);
    appendRecord(array, design.Back_card_Prop, shapeCode);
    plist_array_append_item(array, plist_new_string(design.Excel_Binding_Use ? "Y" : "N"));
    plist_array_append_item(array, newString(design.Excel_Source_Path));
    plist_t titles = plist_new_array();
    for (const QString &title : design.Excel_Column_Titles)
        plist_array_append_item(titles, newString(title));
    plist_array_append_item(array, titles);
    tree.records = plist_new_array();
    plist_array_append_item(array, tree.records);
    plist_array_append_item(array, newElementList(design.graphics));
    plist_array_append_item(array, newElementList(design.graphics_back));
    return tree;
}

void appendRecords(plist_t array, const QList<QMap<QString, QString>> &records)
{
    for (const auto &record : records) {
        plist_t dict = plist_new_dict();
        for (auto it = record.cbegin(); it != record.cend(); ++it)
            plist_dict_set_item(dict, Xml_Safe_Text(it.key()).toUtf8().constData(), newString(it.value()));
        plist_array_append_item(array, dict);
    }
}

QByteArray xmlOf(plist_t root)
{
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray result(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return result;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("DesignFile", text);
}

// Why the card of a record is no card the editor can show, or nothing. A record without a
// size (QSizeF's -1 x -1, as a new record holds, or 0 x 0) opens at the default size. The
// Size page shows millimetres to two places, so a side within half of its last place of a
// limit is within it.
QString cardSizeProblem(const QSizeF &points)
{
    if (points == QSizeF() || points == QSizeF(0, 0))
        return {};
    constexpr double MillimetresPerPoint = 25.4 / 72.0, Slack = 0.005;
    const double width = points.width() * MillimetresPerPoint, height = points.height() * MillimetresPerPoint;
    const auto fits = [](double side) {
        return side >= Card_Property::MinimumSideMM - Slack && side <= Card_Property::MaximumSideMM + Slack;
    };
    if (fits(width) && fits(height))
        return {};
    return tr("Its card measures %1 x %2 mm; the editor makes cards of %3 to %4 mm a side.")
        .arg(width, 0, 'f', 2)
        .arg(height, 0, 'f', 2)
        .arg(Card_Property::MinimumSideMM)
        .arg(Card_Property::MaximumSideMM);
}

// Whether the text begins as an XML document may: with "<" after white space and a UTF-8
// byte-order mark. Text that begins otherwise is no XML (a UTF-16 document begins with its
// byte-order mark or a zero byte and is left to the check).
bool beginsWithMarkup(const QByteArray &xml)
{
    qsizetype i = xml.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < xml.size() && std::isspace(uchar(xml.at(i))))
        ++i;
    if (i == xml.size())
        return true;
    const uchar first = uchar(xml.at(i));
    return first == '<' || first == 0 || first == 0xFE || first == 0xFF;
}

} // namespace

qint64 DesignFile::openingCost(const QByteArray &xml)
{
    // Every value a parser makes has a start tag; counting "<" and a letter (also in a comment
    // or CDATA, where it is no value) can only overestimate. A dictionary that is no key's
    // value is an item of a list: it may become an element. One right after "</key>" is a
    // value within another (an element's font) and costs what a value costs.
    qint64 values = 0, listedDictionaries = 0;
    const char *const begin = xml.constData();
    const char *const end = begin + xml.size();
    const char *p = begin;
    while ((p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p))))) {
        const char *const tag = p++;
        if (p == end)
            break;
        const unsigned char c = uchar(*p);
        if (!std::isalpha(c) && c != '_' && c != ':')
            continue;
        ++values;
        if (end - p > 4 && std::memcmp(p, "dict", 4) == 0
            && (p[4] == '>' || p[4] == '/' || std::isspace(uchar(p[4])))) {
            const char *before = tag;
            while (before > begin && std::isspace(uchar(before[-1])))
                --before;
            if (before - begin < 6 || std::memcmp(before - 6, "</key>", 6) != 0)
                ++listedDictionaries;
        }
    }
    return OpeningCostPerByte * xml.size() + OpeningCostPerValue * values
           + OpeningCostPerListedDictionary * listedDictionaries;
}

qint64 DesignFile::pictureCost(const CardDesign &design)
{
    return LMNGraphicArchive::picturePeak({&design.graphics, &design.graphics_back});
}

QString DesignFile::costRefusal(qint64 textCost, qint64 pictureCost, qint64 maximumCost)
{
    if (textCost > maximumCost)
        return tr("opening it would take about %1 MB of memory, more than the %2 MB a design may take.")
            .arg((textCost + (1 << 20) - 1) >> 20)
            .arg(maximumCost >> 20);
    if (pictureCost > maximumCost - textCost)
        return tr("its pictures would take more memory than the %1 MB a design may take.").arg(maximumCost >> 20);
    return {};
}

DesignRecordBudget::Cost DesignFile::roomForRecords(const CardDesign &design, qint64 maximumSize, qint64 maximumCost)
{
    CardDesign rest = design;
    rest.Excel_Records.clear();
    rest.Excel_Column_Titles.clear();
    rest.Excel_Source_Path.clear();
    const QByteArray xml = toXml(rest);
    return {maximumSize - xml.size(), maximumCost - openingCost(xml) - pictureCost(design)};
}

QByteArray DesignFile::toXml(const CardDesign &design)
{
    const DesignTree tree = treeWithoutRecords(design);
    appendRecords(tree.records, design.Excel_Records);
    return xmlOf(tree.root.get());
}

std::optional<CardDesign> DesignFile::fromXml(const QByteArray &xml, QString *error, qint64 maximumCost)
{
    auto refuse = [error](const QString &reason) -> std::optional<CardDesign> {
        if (error)
            *error = reason;
        return std::nullopt;
    };

    if (xml.trimmed().isEmpty())
        return refuse(tr("The file is empty."));
    if (xml.startsWith("bplist") || !beginsWithMarkup(xml))
        return refuse(tr("The file is not a Festiloom design."));
    // Before any parser: the checker and the parser build a tree of the whole file.
    const auto tooLarge = [&](const QString &reason) { return refuse(tr("The file is too large to be a design: %1").arg(reason)); };
    const qint64 cost = openingCost(xml);
    if (const QString reason = costRefusal(cost, 0, maximumCost); !reason.isEmpty())
        return tooLarge(reason);
    // Values are read only from documents that pass the check, so damaged or hostile files
    // never reach libplist; the reader takes time linear in the file.
    plist_t parsed = nullptr;
    QString problem;
    const PropertyListCheck::Result checked = PropertyListCheck::read(xml, PropertyListCheck::Limits(), &parsed, &problem);
    PlistPtr root(parsed);
    switch (checked) {
    case PropertyListCheck::Result::Fine:
        break;
    case PropertyListCheck::Result::Unreadable:
        if (problem.isEmpty())
            return refuse(tr("The file is damaged: its property list cannot be read."));
        return refuse(tr("The file is damaged: %1.").arg(problem));
    case PropertyListCheck::Result::Truncated:
        return refuse(tr("The file is incomplete: it ends in the middle of the design."));
    case PropertyListCheck::Result::Malformed:
    case PropertyListCheck::Result::TooLarge:
    case PropertyListCheck::Result::Shared:
        return refuse(tr("The file is damaged: it is not well-formed XML."));
    case PropertyListCheck::Result::TooDeep:
        return refuse(tr("The file is damaged: its values are nested far deeper than a design's."));
    case PropertyListCheck::Result::Foreign:
        return refuse(tr("The file is not a Festiloom design."));
    }

    if (plist_get_node_type(parsed) != PLIST_ARRAY || plist_array_get_size(parsed) == 0)
        return refuse(tr("The file is not a Festiloom design."));
    plist_t magic = plist_array_get_item(parsed, 0);
    if (plist_get_node_type(magic) != PLIST_STRING)
        return refuse(tr("The file is not a Festiloom design."));
    {
        char *text = nullptr;
        plist_get_string_val(magic, &text);
        const bool ours = Magic == Utf8Text::decode(text);
        std::free(text);
        if (!ours)
            return refuse(tr("The file is not a Festiloom design."));
    }
    if (plist_array_get_size(parsed) < ItemCount)
        return refuse(tr("The file is incomplete: it holds %1 of the %2 parts of a design.")
                          .arg(plist_array_get_size(parsed))
                          .arg(ItemCount));

    ItemReader in(parsed);
    in.next(PLIST_STRING, "magic");
    CardDesign design;
    design.Front_card_Prop = readRecord(in, QStringLiteral("front side"));
    design.Back_card_Prop = readRecord(in, QStringLiteral("back side"));
    in.setContext({});
    design.Excel_Binding_Use = in.string("Excel_Binding_Use") == QLatin1String("Y");
    design.Excel_Source_Path = in.string("Excel_Source_Path");
    design.Excel_Column_Titles = in.stringList("the spreadsheet column titles");
    design.Excel_Records = in.stringDictionaries("the spreadsheet records");
    {
        // Every element was counted in the estimate as a listed dictionary: lists holding more
        // than it counted are refused before any of their elements is built. In a list of
        // elements as a design file holds it every item is counted, so more items than the
        // estimate allows are items that are no elements (a key before a dictionary in a list):
        // the file is damaged, however small.
        const auto listSize = [&](uint32_t index) {
            plist_t list = plist_array_get_item(parsed, index);
            return plist_get_node_type(list) == PLIST_ARRAY ? qint64(plist_array_get_size(list)) : 0;
        };
        const qint64 elements = listSize(ItemCount - 2) + listSize(ItemCount - 1);
        if (elements * OpeningCostPerListedDictionary > cost)
            return refuse(tr("The file is damaged: its lists of elements hold %L1 items, more than the elements "
                             "its text shows.")
                              .arg(elements));
    }
    {
        // The pictures may take what the rest of the design leaves: the budget stops a picture
        // before it is decoded (Save counts a design's pictures with the same budget,
        // pictureCost()).
        LMNGraphicArchive::PictureBudget pictures(maximumCost - cost);
        LMNGraphicArchive::PictureLosses losses;
        losses.startList(tr("the front side"));
        design.graphics = in.elements("the front side's elements");
        losses.startList(tr("the back side"));
        design.graphics_back = in.elements("the back side's elements");
        if (pictures.exceeded())
            return tooLarge(costRefusal(cost, maximumCost - cost + 1, maximumCost));
        design.lostPictures = losses.messages();
    }
    if (in.failed())
        return refuse(tr("The file is damaged: %1.").arg(in.error()));
    // The front record sizes the card of both sides; opening stretches nothing to fit.
    if (const QString problem = cardSizeProblem(design.Front_card_Prop.Card_Size); !problem.isEmpty())
        return refuse(problem);
    // The records keep the sheet's shape as text only; the drawing needs the number.
    design.Card_Shape = Card_Property::shapeNumber(design.Front_card_Prop.Card_Shape);
    return design;
}

bool DesignFile::write(const QString &path, const CardDesign &design, QString *error, qint64 maximumSize,
                       qint64 maximumCost)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = tr("The design could not be saved to \"%1\": %2").arg(path, reason);
        return false;
    };
    const auto tooLarge = [&](qint64 bytes) {
        return fail(tr("the design is too large: it would take %1 MB, more than the %2 MB a design file may hold.")
                        .arg((bytes + (1 << 20) - 1) >> 20)
                        .arg(maximumSize >> 20));
    };
    // What Open would refuse, with the reason it would give.
    const qint64 pictures = pictureCost(design);
    const auto refusedForCost = [&](qint64 textCost) {
        const QString reason = costRefusal(textCost, pictures, maximumCost);
        if (!reason.isEmpty())
            fail(tr("the design is too large: %1").arg(reason));
        return !reason.isEmpty();
    };
    if (const QString problem = cardSizeProblem(design.Front_card_Prop.Card_Size); !problem.isEmpty())
        return fail(problem);
    // The records of a large workbook take far more memory as a property-list tree and its
    // text than as themselves: they are costed first, and a design they make too large is
    // refused before they are built into it. The rest of the design is built once, its
    // pictures encoded once; the records join the same tree.
    const DesignRecordBudget::Cost records = DesignRecordBudget::costOf(design.Excel_Records);
    if (records.bytes > maximumSize)
        return tooLarge(records.bytes);
    if (records.openingCost > maximumCost && refusedForCost(records.openingCost))
        return false;
    const DesignTree tree = treeWithoutRecords(design);
    if (!design.Excel_Records.isEmpty()) {
        const QByteArray rest = xmlOf(tree.root.get());
        if (rest.size() + records.bytes > maximumSize)
            return tooLarge(rest.size() + records.bytes);
        // A design that opens without its records but not with them is refused for its rows.
        const qint64 restCost = openingCost(rest);
        if (costRefusal(restCost, pictures, maximumCost).isEmpty()
            && !costRefusal(restCost + records.openingCost, pictures, maximumCost).isEmpty())
            return fail(QCoreApplication::translate("DesignFile",
                                                    "the design is too large: with the records of its %Ln spreadsheet "
                                                    "row(s), opening it would take more memory than the %1 MB a design "
                                                    "may take.",
                                                    nullptr, int(design.Excel_Records.size()))
                            .arg(maximumCost >> 20));
        if (refusedForCost(restCost + records.openingCost))
            return false;
        appendRecords(tree.records, design.Excel_Records);
    }
    const QByteArray xml = xmlOf(tree.root.get());
    // Checked before the file is touched: what reading would refuse is never written.
    if (xml.size() > maximumSize)
        return tooLarge(xml.size());
    if (refusedForCost(openingCost(xml)))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(xml) != xml.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::optional<CardDesign> DesignFile::read(const QString &path, QString *error, qint64 maximumSize, qint64 maximumCost)
{
    auto refuse = [&](const QString &reason) -> std::optional<CardDesign> {
        if (error)
            *error = tr("The design \"%1\" cannot be opened. %2").arg(path, reason);
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(tr("The file does not exist."));
    if (!info.isFile())
        return refuse(tr("It is not a file."));
    if (info.size() > maximumSize)
        return refuse(tr("The file is too large to be a design: designs of up to %1 MB are opened.")
                          .arg(maximumSize >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    const QByteArray xml = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return refuse(file.errorString());
    QString reason;
    std::optional<CardDesign> design = fromXml(xml, &reason, maximumCost);
    if (!design)
        return refuse(reason);
    return design;
}
