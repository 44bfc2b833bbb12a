#include "document/LMNGraphicArchive.h"

#include "document/BinaryPlistWriter.h"
#include "document/LMNGraphicField.h"
#include "document/MessageLog.h"
#include "document/PictureReading.h"
#include "document/PlistDictionary.h"
#include "document/PropertyListCheck.h"
#include "document/StringUtilities.h"
#include "document/Utf8Text.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QScopeGuard>
#include <QRgba64>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <unordered_map>

const char *const LMNGraphicArchive::ClassKey = "class";

namespace {

struct PlistDeleter
{
    void operator()(void *node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// Sub-keys of a font dictionary: CardFont's own member names.
constexpr const char *FontNameKey = "postScriptName";
constexpr const char *FontSizeKey = "pointSize";

// ---------------------------------------------------------------------------------------
// Writing

// Reading refuses numbers that are not finite, so none is ever written: not a number
// becomes 0 and an infinity the largest number of the field's type.
template<typename T>
double finite(T v)
{
    if (std::isnan(v))
        return 0.0;
    return double(std::clamp(v, std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max()));
}

plist_t realArray(std::initializer_list<double> values)
{
    plist_t array = plist_new_array();
    for (double v : values)
        plist_array_append_item(array, plist_new_real(finite(v)));
    return array;
}

plist_t encodeValue(bool v) { return plist_new_bool(v ? 1 : 0); }
// libplist keeps integers as 64-bit patterns; a negative value is written as a signed one.
plist_t encodeValue(int v) { return plist_new_uint(static_cast<uint64_t>(static_cast<int64_t>(v))); }
plist_t encodeValue(float v) { return plist_new_real(finite(v)); }
plist_t encodeValue(double v) { return plist_new_real(finite(v)); }
// A NUL would end the C string libplist keeps and half a surrogate pair has no UTF-8 form:
// both are left out, as everywhere texts are stored (Storable_Text).
plist_t encodeValue(const QString &v) { return plist_new_string(Storable_Text(v).toUtf8().constData()); }

plist_t encodeValue(const QColor &v)
{
    if (!v.isValid())
        return plist_new_array();
    // The 16 bits per channel that QColor keeps, as fractions: reading them back is exact.
    const QRgba64 c = v.rgba64();
    return realArray({c.red() / 65535.0, c.green() / 65535.0, c.blue() / 65535.0, c.alpha() / 65535.0});
}

plist_t encodeValue(const CardFont &v)
{
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, FontNameKey, encodeValue(v.postScriptName));
    plist_dict_set_item(dict, FontSizeKey, plist_new_real(finite(v.pointSize)));
    return dict;
}

plist_t encodeValue(const QRectF &v)
{
    return realArray({v.x(), v.y(), v.width(), v.height()});
}

// A picture's PNG file; nothing (with a message in the log) should Qt's writer fail.
QByteArray pngOf(const QImage &v)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!v.save(&buffer, "PNG")) {
        Show_NSLog_Message(QStringLiteral("A picture of %1 x %2 pixels could not be stored as PNG.")
                               .arg(v.width())
                               .arg(v.height()));
        png.clear();
    }
    return png;
}

plist_t encodeData(const QByteArray &data)
{
    return plist_new_data(data.constData(), uint64_t(data.size()));
}

// The bits a pixel of a picture stored as PNG comes back as: Qt's PNG writer keeps one-bit,
// 8-bit indexed and grey, 16-bit grey and 16-bit-a-channel pictures at their depth (an
// indexed picture may come back grey, a premultiplied one straight, at the same depth) and
// writes every other format as 32-bit colour, with or without alpha.
int storedDepth(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return 8;
    case QImage::Format_Grayscale16:
        return 16;
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return 64;
    default:
        return 32;
    }
}

// ---------------------------------------------------------------------------------------
// Reading. Each reader returns false with a description of what was expected when the
// node does not hold a value of its type.

QString typeName(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: return QStringLiteral("a true/false value");
    case PLIST_UINT: return QStringLiteral("a whole number");
    case PLIST_REAL: return QStringLiteral("a number");
    case PLIST_STRING: return QStringLiteral("a text");
    case PLIST_ARRAY: return QStringLiteral("an array");
    case PLIST_DICT: return QStringLiteral("a dictionary");
    case PLIST_DATE: return QStringLiteral("a date");
    case PLIST_DATA: return QStringLiteral("data");
    case PLIST_UID: return QStringLiteral("an object reference");
    default: return QStringLiteral("an unknown value");
    }
}

struct Problem
{
    Problem() = default;
    Problem(QString why) : message(std::move(why)) {}

    QString message;
    // Set, with the element kept, when stored picture data cannot be read: why.
    QString pictureLost;
};

Problem wrongType(plist_t node, const char *expected)
{
    return {QStringLiteral("holds %1 where %2 belongs").arg(typeName(node), QLatin1String(expected))};
}

bool hasType(plist_t node, plist_type type, const char *expected, Problem *problem)
{
    if (plist_get_node_type(node) == type)
        return true;
    *problem = wrongType(node, expected);
    return false;
}

// A whole number beyond a field's range; one at either end of 64 bits stands for all beyond it.
Problem outOfRange(int64_t v)
{
    if (PropertyListCheck::atEndOf64Bits(v))
        return {QStringLiteral("holds a whole number of %1 or %2, which is out of range")
                    .arg(v).arg(v < 0 ? QStringLiteral("less") : QStringLiteral("more"))};
    return {QStringLiteral("holds the whole number %1, which is out of range").arg(v)};
}

// A finite number from a real or an integer node.
bool readNumber(plist_t node, double *out, Problem *problem, const char *expected = "a number")
{
    const plist_type type = plist_get_node_type(node);
    if (type == PLIST_REAL) {
        plist_get_real_val(node, out);
    } else if (type == PLIST_UINT) {
        uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        if (PropertyListCheck::atEndOf64Bits(static_cast<int64_t>(raw))) {
            *problem = outOfRange(static_cast<int64_t>(raw));
            return false;
        }
        *out = double(static_cast<int64_t>(raw));
    } else {
        *problem = wrongType(node, expected);
        return false;
    }
    if (!std::isfinite(*out)) {
        *problem = {QStringLiteral("holds a number that is not finite")};
        return false;
    }
    return true;
}

bool readValue(plist_t node, bool *out, Problem *problem)
{
    if (!hasType(node, PLIST_BOOLEAN, "a true/false value", problem))
        return false;
    uint8_t v = 0;
    plist_get_bool_val(node, &v);
    *out = v != 0;
    return true;
}

bool readValue(plist_t node, int *out, Problem *problem)
{
    if (!hasType(node, PLIST_UINT, "a whole number", problem))
        return false;
    uint64_t raw = 0;
    plist_get_uint_val(node, &raw);
    const int64_t v = static_cast<int64_t>(raw);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
        *problem = outOfRange(v);
        return false;
    }
    *out = int(v);
    return true;
}

bool readValue(plist_t node, double *out, Problem *problem)
{
    return readNumber(node, out, problem);
}

bool readValue(plist_t node, float *out, Problem *problem)
{
    double v = 0;
    if (!readNumber(node, &v, problem))
        return false;
    if (std::fabs(v) > double(std::numeric_limits<float>::max())) {
        *problem = {QStringLiteral("holds the number %1, which is out of range").arg(v)};
        return false;
    }
    *out = float(v);
    return true;
}

bool readValue(plist_t node, QString *out, Problem *problem)
{
    if (!hasType(node, PLIST_STRING, "a text", problem))
        return false;
    // By pointer and length: damaged binary lists can hold texts with NUL bytes inside,
    // which libplist's copying getter stops the process on.
    uint64_t length = 0;
    const char *text = plist_get_string_ptr(node, &length);
    *out = text ? Storable_Text(Utf8Text::decode(text, qsizetype(length))) : QString();
    return true;
}

// Reads an array of exactly `count` numbers (or, with `emptyAllowed`, none).
bool readNumbers(plist_t node, int count, bool emptyAllowed, double *out, int *read, Problem *problem,
                 const char *expected)
{
    if (!hasType(node, PLIST_ARRAY, expected, problem))
        return false;
    const uint32_t size = plist_array_get_size(node);
    if (!(size == uint32_t(count) || (emptyAllowed && size == 0))) {
        *problem = {QStringLiteral("holds an array of %1 items where %2 belongs").arg(size).arg(QLatin1String(expected))};
        return false;
    }
    for (uint32_t i = 0; i < size; ++i) {
        if (!readNumber(plist_array_get_item(node, i), &out[i], problem, expected))
            return false;
    }
    *read = int(size);
    return true;
}

bool readValue(plist_t node, QColor *out, Problem *problem)
{
    double c[4] = {};
    int read = 0;
    if (!readNumbers(node, 4, true, c, &read, problem, "a colour (an array of four numbers)"))
        return false;
    if (read == 0) {
        *out = QColor();
        return true;
    }
    auto channel = [](double fraction) {
        return quint16(std::lround(std::clamp(fraction, 0.0, 1.0) * 65535.0));
    };
    *out = QColor::fromRgba64(channel(c[0]), channel(c[1]), channel(c[2]), channel(c[3]));
    return true;
}

bool readValue(plist_t node, QRectF *out, Problem *problem)
{
    double r[4] = {};
    int read = 0;
    if (!readNumbers(node, 4, false, r, &read, problem, "a rectangle (an array of four numbers)"))
        return false;
    *out = QRectF(r[0], r[1], r[2], r[3]).normalized();
    return true;
}

bool readValue(plist_t node, CardFont *out, Problem *problem)
{
    if (!hasType(node, PLIST_DICT, "a font (a dictionary)", problem))
        return false;
    CardFont font;
    if (plist_t name = plist_dict_get_item(node, FontNameKey)) {
        if (!readValue(name, &font.postScriptName, problem)) {
            problem->message = QStringLiteral("has a font name that ") + problem->message;
            return false;
        }
    }
    if (plist_t size = plist_dict_get_item(node, FontSizeKey)) {
        if (!readNumber(size, &font.pointSize, problem)) {
            problem->message = QStringLiteral("has a font size that ") + problem->message;
            return false;
        }
    }
    *out = font;
    return true;
}

// A picture and the bytes it is stored as: the data is kept whole beside the picture it
// decodes to, so saving or copying the element again writes those very bytes.
bool readPicture(plist_t node, QImage *out, PictureBytes *kept, Problem *problem)
{
    if (!hasType(node, PLIST_DATA, "a picture (data)", problem))
        return false;
    uint64_t length = 0;
    const char *bytes = plist_get_data_ptr(node, &length);
    *out = QImage();
    *kept = PictureBytes();
    if (!bytes || length == 0)
        return true;
    LMNGraphicArchive::PictureBudget *budget = LMNGraphicArchive::PictureBudget::current();
    // The bytes kept count first: they are known before anything is decoded.
    if (budget && !budget->take(qint64(length))) {
        problem->message = QStringLiteral("holds picture data of %1 bytes, which with the pictures before it would "
                                          "take more memory than the pictures of one design may")
                               .arg(length);
        return false;
    }
    const QByteArray data(bytes, qsizetype(length));
    // Picture data that cannot be read (damaged, or made elsewhere) costs the picture, not the
    // element; the caller is told which element lost it (PictureLosses). Read under the one
    // rule for pictures, whose limit the budget below keeps every picture within.
    const auto load = [&] {
        PictureReading::Result read = PictureReading::readData(data);
        *out = std::move(read.picture);
        if (out->isNull())
            problem->pictureLost = read.reason;
        return out->sizeInBytes();
    };
    if (!budget) {
        load();
    } else {
        // Counted from the header before decoding, then settled with what the decoded picture
        // takes; data of a kind not read has no size to count and is refused when decoded.
        QSize size = PictureReading::headerSize(data);
        if (!budget->takePicture(size, load)) {
            if (!out->isNull())
                size = out->size();
            *out = QImage();
            problem->message = QStringLiteral("is a picture of %1 x %2 pixels, which with the pictures before it would "
                                              "take more memory than the pictures of one design may")
                                   .arg(size.width())
                                   .arg(size.height());
            return false;
        }
    }
    *kept = PictureBytes(data, *out);
    return true;
}

// ---------------------------------------------------------------------------------------

template<typename T>
T zeroValue()
{
    if constexpr (std::is_arithmetic_v<T>)
        return T(0);
    else
        return T();
}

// Whether a value reads back the same from a missing key. A null and an empty text both
// read back as the empty text; a colour that is valid but clear is not "no colour". A
// negative zero reads back as -0 only where the writer keeps its sign.
template<typename T>
bool isZeroValue(const T &v, bool signKept)
{
    const auto zero = [signKept](double d) { return d == 0 && !(signKept && std::signbit(d)); };
    if constexpr (std::is_same_v<T, QImage>)
        return v.isNull();
    else if constexpr (std::is_same_v<T, QColor>)
        return !v.isValid();
    else if constexpr (std::is_same_v<T, QString>)
        return v.isEmpty();
    else if constexpr (std::is_same_v<T, QRectF>)
        return zero(v.x()) && zero(v.y()) && zero(v.width()) && zero(v.height());
    else if constexpr (std::is_same_v<T, CardFont>)
        return v.postScriptName.isEmpty() && zero(v.pointSize);
    else if constexpr (std::is_floating_point_v<T>)
        return zero(double(v));
    else
        return v == T(0);
}

void fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

namespace {
thread_local LMNGraphicArchive::PictureBudget *openBudget = nullptr;
thread_local LMNGraphicArchive::PictureLosses *openLosses = nullptr;

QString kindWithArticle(GraphicKind kind)
{
    switch (kind) {
    case GraphicKind::Image: return QStringLiteral("a picture");
    case GraphicKind::Signature: return QStringLiteral("a signature");
    case GraphicKind::Barcode: return QStringLiteral("a barcode");
    default: return QStringLiteral("an element");
    }
}
}

LMNGraphicArchive::PictureLosses::PictureLosses()
    : m_outer(openLosses)
{
    openLosses = this;
}

LMNGraphicArchive::PictureLosses::~PictureLosses()
{
    openLosses = m_outer;
}

LMNGraphicArchive::PictureLosses *LMNGraphicArchive::PictureLosses::current()
{
    return openLosses;
}

void LMNGraphicArchive::PictureLosses::startList(const QString &listName)
{
    m_list = listName;
    m_element = 0;
}

void LMNGraphicArchive::PictureLosses::lost(GraphicKind kind, const QString &reason)
{
    const QString element = m_list.isEmpty()
        ? QStringLiteral("Element %L1").arg(m_element + 1)
        : QStringLiteral("Element %L1 of %2").arg(m_element + 1).arg(m_list);
    m_messages << QStringLiteral("%1 (%2) lost its picture: %3.").arg(element, kindWithArticle(kind), reason);
}

LMNGraphicArchive::PictureBudget::PictureBudget(qint64 bytes)
    : m_bytes(bytes)
    , m_left(bytes)
    , m_outer(openBudget)
{
    openBudget = this;
}

LMNGraphicArchive::PictureBudget::~PictureBudget()
{
    openBudget = m_outer;
}

LMNGraphicArchive::PictureBudget *LMNGraphicArchive::PictureBudget::current()
{
    return openBudget;
}

bool LMNGraphicArchive::PictureBudget::take(qint64 bytes)
{
    if (m_exceeded || bytes > m_left) {
        m_exceeded = true;
        return false;
    }
    m_left -= bytes;
    m_peak = std::max(m_peak, m_bytes - m_left);
    return true;
}

plist_t LMNGraphicArchive::encode(const LMNGraphic &graphic, Form form)
{
    const bool signKept = form == Form::Binary;
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, ClassKey, encodeValue(LMNGraphic::className(graphic.kind())));
    // A field holding its zero value is left out: reading gives that value for a missing key,
    // so the element comes back the same, and an archive of few keys does not grow on saving.
    for (const LMNGraphicField &field : LMNGraphicField::all()) {
        std::visit(
            [&](auto member) {
                if (isZeroValue(graphic.*member, signKept))
                    return;
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(graphic.*member)>, QImage>)
                    plist_dict_set_item(dict, field.name, encodeData(storedPicture(graphic, member)));
                else
                    plist_dict_set_item(dict, field.name, encodeValue(graphic.*member));
            },
            field.member);
    }
    return dict;
}

namespace {

// The position of a stored field in LMNGraphicField::all(), by its key; -1 for keys we do not know.
int fieldIndex(const char *key)
{
    static const std::unordered_map<std::string_view, int> index = [] {
        std::unordered_map<std::string_view, int> map;
        const std::vector<LMNGraphicField> &fields = LMNGraphicField::all();
        for (size_t i = 0; i < fields.size(); ++i)
            map.emplace(fields[i].name, int(i));
        return map;
    }();
    const auto found = index.find(std::string_view(key));
    return found == index.end() ? -1 : found->second;
}

} // namespace

GraphicPtr LMNGraphicArchive::decode(plist_t dictionary, QString *error)
{
    if (!dictionary || plist_get_node_type(dictionary) != PLIST_DICT) {
        fail(error, dictionary ? QStringLiteral("The element archive holds %1 where an element dictionary belongs.")
                                     .arg(typeName(dictionary))
                               : QStringLiteral("The element archive holds no element."));
        return nullptr;
    }

    GraphicKind kind = GraphicKind::Graphic;
    if (plist_t classNode = plist_dict_get_item(dictionary, ClassKey)) {
        QString className;
        Problem problem;
        if (!readValue(classNode, &className, &problem)) {
            fail(error, QStringLiteral("The element's \"%1\" %2.").arg(QLatin1String(ClassKey), problem.message));
            return nullptr;
        }
        bool known = false;
        kind = LMNGraphic::kindFromClassName(className, &known);
        if (!known)
            Show_NSLog_Message(QStringLiteral("An element of the unknown kind \"%1\" is read as a plain element.")
                                   .arg(className));
    }

    // One walk over the dictionary finds every stored field: looking each field up by name
    // would compare keys a hundred times over for every element of a design.
    const std::vector<LMNGraphicField> &fields = LMNGraphicField::all();
    std::vector<plist_t> nodes(fields.size(), nullptr);
    PlistDictionary::forEach(dictionary, [&](const char *key, plist_t value) {
        const int index = fieldIndex(key);
        if (index >= 0)
            nodes[size_t(index)] = value;
    });

    GraphicPtr graphic = LMNGraphic::create(kind);
    for (size_t i = 0; i < fields.size(); ++i) {
        const LMNGraphicField &field = fields[i];
        plist_t node = nodes[i];
        Problem problem;
        const bool ok = std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(graphic.get()->*member)>;
                if (!node) {
                    graphic.get()->*member = zeroValue<T>();
                    return true;
                }
                if constexpr (std::is_same_v<T, QImage>)
                    return readPicture(node, &(graphic.get()->*member),
                                       &(graphic.get()->*LMNGraphic::storedBytesOf(member)), &problem);
                else
                    return readValue(node, &(graphic.get()->*member), &problem);
            },
            field.member);
        if (!ok) {
            fail(error, QStringLiteral("The element's \"%1\" %2.").arg(QLatin1String(field.name), problem.message));
            return nullptr;
        }
        if (!problem.pictureLost.isEmpty()) {
            Show_NSLog_Message(QStringLiteral("The element's \"%1\" holds a picture that cannot be read (%2); the "
                                              "element keeps no picture.")
                                   .arg(QLatin1String(field.name), problem.pictureLost));
            if (PictureLosses *losses = PictureLosses::current())
                losses->lost(kind, problem.pictureLost);
        }
    }
    if (PictureLosses *losses = PictureLosses::current())
        losses->elementRead();
    return graphic;
}

QByteArray LMNGraphicArchive::encodeList(const GraphicList &graphics, bool binary)
{
    // Our own binary writer, one element's tree at a time: libplist's takes minutes over a
    // copy of a hundred thousand elements, and their whole tree takes gigabytes.
    if (binary) {
        BinaryPlistWriter writer;
        std::vector<uint64_t> items;
        items.reserve(size_t(graphics.size()));
        for (const GraphicPtr &graphic : graphics) {
            if (graphic) {
                const PlistPtr dict(encode(*graphic));
                items.push_back(writer.add(dict.get()));
            }
        }
        return writer.finish(writer.addArray(items));
    }
    PlistPtr array(plist_new_array());
    for (const GraphicPtr &graphic : graphics) {
        if (graphic)
            plist_array_append_item(array.get(), encode(*graphic, Form::Xml));
    }
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_xml(array.get(), &bytes, &length);
    const QByteArray data(bytes, qsizetype(length));
    plist_to_xml_free(bytes);
    return data;
}

PropertyListCheck::Limits LMNGraphicArchive::readingLimits()
{
    PropertyListCheck::Limits limits;
    limits.maxObjects = MaximumValues;
    limits.maxTopItems = MaximumElements;
    // Our writer shares no data and only equal texts: nothing expands past the archive's size.
    limits.maxBytes = std::uint64_t(MaximumSize);
    return limits;
}

namespace {

QString tooLargeToRead()
{
    return QCoreApplication::translate("LMNGraphicArchive",
                                       "The element archive is too large to read: it holds more than %L1 elements "
                                       "or expands to more than %L2 values or %3 MB.")
        .arg(LMNGraphicArchive::MaximumElements)
        .arg(LMNGraphicArchive::MaximumValues)
        .arg(LMNGraphicArchive::MaximumSize >> 20);
}

} // namespace

namespace {

// Why data is refused for its size alone, or nothing.
QString refusalForSize(const QByteArray &data)
{
    if (data.isEmpty())
        return QStringLiteral("The element archive is empty.");
    if (data.size() > LMNGraphicArchive::MaximumSize)
        return QStringLiteral("The element archive is too large to read: it holds more than %1 MB.")
            .arg(LMNGraphicArchive::MaximumSize >> 20);
    return {};
}

// Why PropertyListCheck refuses the data, or nothing when it passed.
QString refusalFor(PropertyListCheck::Result result, const QString &problem)
{
    switch (result) {
    case PropertyListCheck::Result::Fine:
        return {};
    case PropertyListCheck::Result::TooDeep:
        return QStringLiteral("The element archive is damaged: its values are nested far deeper than an element's.");
    case PropertyListCheck::Result::TooLarge:
        return tooLargeToRead();
    case PropertyListCheck::Result::Shared:
        return QStringLiteral("The element archive is damaged: it refers to one list of values more than once.");
    case PropertyListCheck::Result::Unreadable:
        if (problem.isEmpty())
            return QStringLiteral("The element archive is not a readable property list.");
        return QStringLiteral("The element archive is damaged: %1.").arg(problem);
    default:
        return QStringLiteral("The element archive is damaged: it is not a readable property list.");
    }
}

} // namespace

QString LMNGraphicArchive::refusalBeforeParsing(const QByteArray &data)
{
    if (const QString refusal = refusalForSize(data); !refusal.isEmpty())
        return refusal;
    // libplist parses by recursion and copies shared objects for every reference: nesting and
    // expansion are checked before it sees the data.
    return refusalFor(PropertyListCheck::any(data, readingLimits()), {});
}

QByteArray LMNGraphicArchive::storedPicture(const LMNGraphic &graphic, QImage LMNGraphic::*field)
{
    const QImage &picture = graphic.*field;
    if (picture.isNull())
        return {};
    const PictureBytes &bytes = graphic.*LMNGraphic::storedBytesOf(field);
    if (QByteArray kept = bytes.bytesOf(picture); !kept.isEmpty())
        return kept;
    const QByteArray png = pngOf(picture);
    bytes.rememberEncoding(png, picture);
    return png;
}

qint64 LMNGraphicArchive::storedPictureBytes(const QImage &picture)
{
    if (picture.isNull())
        return 0;
    // As QImage lays out the picture it decodes: each line padded to 32 bits.
    const qint64 bytesPerLine = ((qint64(picture.width()) * storedDepth(picture.format()) + 31) >> 5) << 2;
    return bytesPerLine * picture.height();
}

qint64 LMNGraphicArchive::picturePeak(const QList<const GraphicList *> &lists)
{
    // In the order decode() reads them: element by element, each element's pictures in field
    // order. A null picture is not stored, so not counted.
    // Room for any design: settling a picture gives back what its header took beyond it.
    PictureBudget budget(std::numeric_limits<qint64>::max() / 2);
    for (const GraphicList *list : lists) {
        for (const GraphicPtr &g : *list) {
            if (!g)
                continue;
            for (const LMNGraphicField &field : LMNGraphicField::all()) {
                std::visit(
                    [&](auto member) {
                        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(g.get()->*member)>, QImage>) {
                            const QImage &picture = g.get()->*member;
                            if (picture.isNull())
                                return;
                            // Kept bytes decode to this very picture; a picture stored as PNG
                            // comes back at the depth PNG keeps.
                            const bool kept = (g.get()->*LMNGraphic::storedBytesOf(member)).decodesTo(picture);
                            const QByteArray stored = storedPicture(*g, member);
                            if (stored.isEmpty())
                                return;
                            budget.take(stored.size());
                            budget.takePicture(picture.size(), [&] {
                                return kept ? picture.sizeInBytes() : storedPictureBytes(picture);
                            });
                        }
                    },
                    field.member);
            }
        }
    }
    return budget.peak();
}

std::optional<GraphicList> LMNGraphicArchive::decodeList(const QByteArray &data, QString *error)
{
    if (const QString refusal = refusalForSize(data); !refusal.isEmpty()) {
        fail(error, refusal);
        return std::nullopt;
    }
    plist_t root = nullptr;
    QString problem;
    const PropertyListCheck::Result result = PropertyListCheck::read(data, readingLimits(), &root, &problem);
    PlistPtr owner(root);
    if (const QString refusal = refusalFor(result, problem); !refusal.isEmpty()) {
        fail(error, refusal);
        return std::nullopt;
    }
    if (plist_get_node_type(root) != PLIST_ARRAY) {
        fail(error, QStringLiteral("The element archive holds %1 where a list of elements belongs.").arg(typeName(root)));
        return std::nullopt;
    }

    // Pasted pictures are held to what a design's may take, unless the caller counts them.
    std::optional<PictureBudget> pictures;
    if (!PictureBudget::current())
        pictures.emplace(MaximumPictureBytes);

    // The count before parsing keeps longer lists from libplist; should a list pass it all the
    // same, not one of its elements is built.
    const uint32_t count = plist_array_get_size(root);
    if (count > MaximumElements) {
        fail(error, tooLargeToRead());
        return std::nullopt;
    }
    if (PictureLosses *losses = PictureLosses::current())
        losses->startList({});
    GraphicList graphics;
    graphics.reserve(count);
    // By iterator: a parsed binary list has no index, so fetching item i walks i items.
    plist_array_iter iter = nullptr;
    plist_array_new_iter(root, &iter);
    const auto freeIter = qScopeGuard([&] { std::free(iter); });
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = nullptr;
        plist_array_next_item(root, iter, &item);
        QString reason;
        GraphicPtr graphic = decode(item, &reason);
        if (!graphic) {
            fail(error, QStringLiteral("Element %L1 of %L2 cannot be read: %3").arg(i + 1).arg(count).arg(reason));
            return std::nullopt;
        }
        graphics.append(std::move(graphic));
    }
    return graphics;
}
