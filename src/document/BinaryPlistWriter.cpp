#include "document/BinaryPlistWriter.h"

#include "document/PlistDictionary.h"
#include "document/Utf8Text.h"

#include <QString>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// Object markers of the binary format (the high nibble; the low one holds a count or size).
constexpr char FalseMarker = char(0x08);
constexpr char TrueMarker = char(0x09);
constexpr unsigned char IntMarker = 0x10;
constexpr char RealMarker = char(0x23);
constexpr char DateMarker = char(0x33);
constexpr unsigned char DataMarker = 0x40;
constexpr unsigned char AsciiMarker = 0x50;
constexpr unsigned char Utf16Marker = 0x60;
constexpr unsigned char UidMarker = 0x80;
constexpr unsigned char ArrayMarker = 0xA0;
constexpr unsigned char DictMarker = 0xD0;

// Appends the low `size` bytes of v, most significant first.
template<typename Out>
void appendBigEndian(Out &out, uint64_t v, int size)
{
    for (int shift = (size - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(char((v >> shift) & 0xff));
}

// The fewest of 1, 2, 4 and 8 bytes that hold v.
int bytesFor(uint64_t v)
{
    return v <= 0xff ? 1 : v <= 0xffff ? 2 : v <= 0xffffffffu ? 4 : 8;
}

int log2Of(int size)
{
    return size == 1 ? 0 : size == 2 ? 1 : size == 4 ? 2 : 3;
}

// An integer object; negative patterns take eight bytes, which readers take as signed.
void appendInt(std::string &out, uint64_t v)
{
    const int size = int64_t(v) < 0 ? 8 : bytesFor(v);
    out.push_back(char(IntMarker | log2Of(size)));
    appendBigEndian(out, v, size);
}

// A marker with its count: in the low nibble below 15, else as an integer object after it.
template<typename Out>
void appendMarker(Out &out, unsigned char marker, uint64_t count)
{
    if (count < 15) {
        out.push_back(char(marker | count));
    } else {
        out.push_back(char(marker | 0x0f));
        std::string number;
        appendInt(number, count);
        out.append(number.data(), qsizetype(number.size()));
    }
}

void appendDouble(std::string &out, char marker, double v)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    out.push_back(marker);
    appendBigEndian(out, bits, 8);
}

// A text object from UTF-8: ASCII as it is, anything else as UTF-16 code units.
void appendText(std::string &out, const char *utf8, size_t length)
{
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(utf8[i]) < 0x80;
    if (ascii) {
        appendMarker(out, AsciiMarker, length);
        out.append(utf8, length);
        return;
    }
    const QString text = Utf8Text::decode(utf8, qsizetype(length));
    appendMarker(out, Utf16Marker, uint64_t(text.size()));
    for (QChar c : text)
        appendBigEndian(out, c.unicode(), 2);
}

} // namespace

class BinaryPlistWriter::Objects
{
public:
    // An object: its encoded bytes, or (for arrays and dictionaries) the range of its
    // references in `refs`, keys before values.
    struct Object
    {
        unsigned char container = 0; // ArrayMarker, DictMarker or 0
        std::string bytes;
        size_t firstRef = 0;
        size_t refCount = 0;
    };

    std::vector<Object> objects;
    std::vector<uint64_t> refs;
    bool failed = false;

    // The number of the object for `node`, added with everything below it.
    uint64_t add(plist_t node)
    {
        switch (plist_get_node_type(node)) {
        case PLIST_ARRAY: {
            const uint64_t id = newContainer(ArrayMarker);
            const uint32_t size = plist_array_get_size(node);
            std::vector<uint64_t> items;
            items.reserve(size);
            // By index: libplist keeps an index of the arrays it builds, and walking by
            // iterator counts from the first item at every step.
            for (uint32_t i = 0; i < size; ++i)
                items.push_back(add(plist_array_get_item(node, i)));
            closeContainer(id, items);
            return id;
        }
        case PLIST_DICT: {
            const uint64_t id = newContainer(DictMarker);
            const uint32_t size = plist_dict_get_size(node);
            std::vector<uint64_t> keys, values;
            keys.reserve(size);
            values.reserve(size);
            PlistDictionary::forEach(node, [&](const char *key, plist_t value) {
                std::string encoded;
                appendText(encoded, key, std::strlen(key));
                keys.push_back(shared(std::move(encoded)));
                values.push_back(add(value));
            });
            keys.insert(keys.end(), values.begin(), values.end());
            closeContainer(id, keys);
            return id;
        }
        case PLIST_DATA: {
            // Pictures: large and seldom repeated, so never hashed.
            uint64_t length = 0;
            const char *bytes = plist_get_data_ptr(node, &length);
            std::string encoded;
            appendMarker(encoded, DataMarker, length);
            if (bytes)
                encoded.append(bytes, length);
            objects.push_back({0, std::move(encoded), 0, 0});
            return objects.size() - 1;
        }
        default:
            break;
        }
        std::string encoded;
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            uint8_t v = 0;
            plist_get_bool_val(node, &v);
            encoded.push_back(v ? TrueMarker : FalseMarker);
            break;
        }
        case PLIST_UINT: {
            uint64_t v = 0;
            plist_get_uint_val(node, &v);
            appendInt(encoded, v);
            break;
        }
        case PLIST_REAL: {
            double v = 0;
            plist_get_real_val(node, &v);
            appendDouble(encoded, RealMarker, v);
            break;
        }
        case PLIST_DATE: {
            // Seconds since the start of 2001, as libplist keeps them.
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            appendDouble(encoded, DateMarker, double(sec) + double(usec) / 1e6);
            break;
        }
        case PLIST_STRING: {
            uint64_t length = 0;
            const char *text = plist_get_string_ptr(node, &length);
            appendText(encoded, text ? text : "", text ? length : 0);
            break;
        }
        case PLIST_UID: {
            uint64_t v = 0;
            plist_get_uid_val(node, &v);
            const int size = bytesFor(v);
            encoded.push_back(char(UidMarker | (size - 1)));
            appendBigEndian(encoded, v, size);
            break;
        }
        default:
            failed = true;
            encoded.push_back(FalseMarker);
            break;
        }
        return shared(std::move(encoded));
    }

    // The number of the text, number or date encoded as `encoded`, stored once.
    uint64_t shared(std::string &&encoded)
    {
        const auto found = m_seen.find(encoded);
        if (found != m_seen.end())
            return found->second;
        const uint64_t id = objects.size();
        m_seen.emplace(encoded, id);
        objects.push_back({0, std::move(encoded), 0, 0});
        return id;
    }

    uint64_t newContainer(unsigned char marker)
    {
        objects.push_back({marker, {}, 0, 0});
        return objects.size() - 1;
    }

    void closeContainer(uint64_t id, const std::vector<uint64_t> &children)
    {
        objects[id].firstRef = refs.size();
        objects[id].refCount = children.size();
        refs.insert(refs.end(), children.begin(), children.end());
    }

private:
    std::unordered_map<std::string, uint64_t> m_seen;
};

BinaryPlistWriter::BinaryPlistWriter()
    : m_objects(std::make_unique<Objects>())
{
}

BinaryPlistWriter::~BinaryPlistWriter() = default;

uint64_t BinaryPlistWriter::add(plist_t node)
{
    return m_objects->add(node);
}

uint64_t BinaryPlistWriter::addArray(const std::vector<uint64_t> &items)
{
    const uint64_t id = m_objects->newContainer(ArrayMarker);
    m_objects->closeContainer(id, items);
    return id;
}

QByteArray BinaryPlistWriter::write(plist_t root)
{
    if (!root)
        return {};
    BinaryPlistWriter writer;
    return writer.finish(writer.add(root));
}

QByteArray BinaryPlistWriter::finish(uint64_t top) const
{
    const Objects &flat = *m_objects;
    if (flat.failed)
        return {};

    const uint64_t count = flat.objects.size();
    const int refSize = count <= 0x100 ? 1 : count <= 0x10000 ? 2 : count <= 0x100000000ull ? 4 : 8;
    uint64_t bodySize = 8;
    for (const Objects::Object &object : flat.objects)
        bodySize += object.bytes.size() + 10;
    bodySize += flat.refs.size() * uint64_t(refSize);

    QByteArray out;
    out.reserve(qsizetype(bodySize + count * 8 + 32));
    out.append("bplist00", 8);
    std::vector<uint64_t> offsets;
    offsets.reserve(count);
    for (const Objects::Object &object : flat.objects) {
        offsets.push_back(uint64_t(out.size()));
        if (!object.container) {
            out.append(object.bytes.data(), qsizetype(object.bytes.size()));
            continue;
        }
        const size_t entries = object.container == DictMarker ? object.refCount / 2 : object.refCount;
        appendMarker(out, object.container, entries);
        for (size_t i = 0; i < object.refCount; ++i)
            appendBigEndian(out, flat.refs[object.firstRef + i], refSize);
    }

    // Offsets take as many bytes as the table's own position needs: it lies past every object.
    const uint64_t tableOffset = uint64_t(out.size());
    const int offsetSize = bytesFor(tableOffset);
    for (uint64_t offset : offsets)
        appendBigEndian(out, offset, offsetSize);

    // The trailer, 32 bytes right after the table: five unused bytes, the sort version (0),
    // both sizes, then the object count, the top object and where the offset table starts.
    out.append(5, '\0');
    out.push_back('\0');
    out.push_back(char(offsetSize));
    out.push_back(char(refSize));
    appendBigEndian(out, count, 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, tableOffset, 8);
    return out;
}
