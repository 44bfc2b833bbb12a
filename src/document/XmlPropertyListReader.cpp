#include "document/XmlPropertyListReader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value's text as a message quotes it: at most 40 bytes.
QString quoted(std::string_view text)
{
    constexpr size_t Most = 40;
    if (text.size() <= Most)
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    return QString::fromUtf8(text.data(), qsizetype(Most)) + QStringLiteral("...");
}

void appendUtf8(std::string &out, std::uint64_t c)
{
    // As libplist encodes a character reference: halves of surrogate pairs included.
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// Appends `text` with its references replaced as libplist replaces them: a reference whose name
// begins "amp", "apos", "quot", "lt" or "gt", or a character reference of at most eight
// characters between "&" and ";" naming a character from 1 to 0x10FFFF. An "&" that is the
// text's last character stands for itself. False, with the reference at fault in *bad, for any
// other reference.
bool appendUnescaped(std::string &out, std::string_view text, std::string_view *bad)
{
    size_t i = 0;
    while (i + 1 < text.size()) {
        const size_t amp = text.find('&', i);
        if (amp == std::string_view::npos || amp + 1 >= text.size())
            break;
        out.append(text.substr(i, amp - i));
        const size_t semicolon = text.find(';', amp + 1);
        if (semicolon == std::string_view::npos) {
            *bad = text.substr(amp, 12);
            return false;
        }
        const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
        *bad = text.substr(amp, semicolon - amp + 1);
        const auto startsWith = [&](std::string_view what) { return name.substr(0, what.size()) == what; };
        if (name.empty()) {
            return false;
        } else if (startsWith("amp")) {
            out.push_back('&');
        } else if (startsWith("apos")) {
            out.push_back('\'');
        } else if (startsWith("quot")) {
            out.push_back('"');
        } else if (startsWith("lt")) {
            out.push_back('<');
        } else if (startsWith("gt")) {
            out.push_back('>');
        } else if (name.front() == '#') {
            if (name.size() > 8)
                return false;
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            if (name.size() < (hex ? 3u : 2u))
                return false;
            // strtoull as libplist reads the digits: spaces and a sign before them are taken.
            char digits[9] = {};
            const std::string_view number = name.substr(hex ? 2 : 1);
            std::memcpy(digits, number.data(), number.size());
            char *end = nullptr;
            const unsigned long long c = std::strtoull(digits, &end, hex ? 16 : 10);
            if (c == 0 || c > 0x10FFFF || end != digits + number.size())
                return false;
            appendUtf8(out, c);
        } else {
            return false;
        }
        i = semicolon + 1;
    }
    out.append(text.substr(i));
    return true;
}

// libplist's base64 decoding: characters outside the alphabet are skipped, "=" fills a place
// of a group of four, and a byte is kept where both places it takes bits from hold data.
std::string base64Decoded(std::string_view text)
{
    static const auto table = [] {
        std::array<signed char, 256> t;
        t.fill(-1);
        const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            t[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
        t['='] = -2;
        return t;
    }();
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    int group[4];
    int count = 0;
    for (const char c : text) {
        const int v = table[static_cast<unsigned char>(c)];
        if (v == -1)
            continue;
        group[count++] = v;
        if (count < 4)
            continue;
        count = 0;
        if (group[0] >= 0 && group[1] >= 0)
            out.push_back(char((group[0] << 2) | (group[1] >> 4)));
        if (group[1] >= 0 && group[2] >= 0)
            out.push_back(char((group[1] << 4) | (group[2] >> 2)));
        if (group[2] >= 0 && group[3] >= 0)
            out.push_back(char((group[2] << 6) | group[3]));
    }
    return out;
}

// A whole number of the text: an optional sign, then decimal digits or "0x" and hexadecimal
// ones, spaces about them allowed. One beyond 64 bits gives the nearest 64-bit number.
bool wholeNumber(std::string_view text, std::int64_t *out)
{
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    std::uint64_t magnitude = 0;
    bool beyond = false;
    for (const char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return false;
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / base)
            beyond = true;
        else
            magnitude = magnitude * base + digit;
    }
    constexpr std::uint64_t Largest = std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (negative)
        *out = beyond || magnitude > Largest + 1 ? std::numeric_limits<std::int64_t>::min()
                                                 : std::int64_t(0 - magnitude);
    else
        *out = beyond || magnitude > Largest ? std::numeric_limits<std::int64_t>::max() : std::int64_t(magnitude);
    return true;
}

// Seconds since the start of 2001 of a date as libplist reads it: "YYYY-MM-DDTHH:MM:SSZ" as far
// as it goes, a text too short or too long to be one giving the start of 1970, none that of 2001.
double dateValue(std::string_view text, bool empty)
{
    constexpr double Since1970 = 978307200;
    if (empty)
        return 0;
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    std::int64_t seconds = 0;
    if (text.size() >= 11 && text.size() < 32) {
        const std::string date(text);
        std::tm time{};
        strptime(date.c_str(), "%Y-%m-%dT%H:%M:%SZ", &time);
        time.tm_isdst = 0;
        seconds = std::int64_t(timegm(&time));
    }
    return double(seconds) - Since1970;
}

// The binary property list, written as the reader walks: each object once its own objects are
// written, so a list's or dictionary's references are known when it is. References and offsets
// take four bytes: libplist reads lists of less than 4 GiB. The bytes are kept in pieces of
// 1 MiB, which never move, and joined once the document's tree is freed: a list written in
// one growing buffer would hold twice itself whenever the buffer grew.
class BinaryOut
{
public:
    BinaryOut() { append("bplist00", 8); }

    std::uint32_t boolean(bool value)
    {
        const std::uint32_t id = begin();
        append(value ? "\x09" : "\x08", 1);
        return id;
    }

    std::uint32_t integer(std::int64_t value)
    {
        const std::uint32_t id = begin();
        append("\x13", 1);
        bigEndian(std::uint64_t(value), 8);
        return id;
    }

    std::uint32_t real(double value, bool date = false)
    {
        const std::uint32_t id = begin();
        append(date ? "\x33" : "\x23", 1);
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        bigEndian(bits, 8);
        return id;
    }

    // Texts are written as they stand, as libplist keeps the bytes of a text it reads.
    std::uint32_t bytes(bool text, std::string_view value)
    {
        const std::uint32_t id = begin();
        marker(text ? 0x50 : 0x40, value.size());
        append(value.data(), value.size());
        return id;
    }

    std::uint32_t array(const std::vector<std::uint32_t> &items)
    {
        const std::uint32_t id = begin();
        marker(0xA0, items.size());
        for (const std::uint32_t item : items)
            bigEndian(item, 4);
        return id;
    }

    std::uint32_t dictionary(const std::vector<std::uint32_t> &keys, const std::vector<std::uint32_t> &values)
    {
        const std::uint32_t id = begin();
        marker(0xD0, keys.size());
        for (const std::uint32_t key : keys)
            bigEndian(key, 4);
        for (const std::uint32_t value : values)
            bigEndian(value, 4);
        return id;
    }

    // Whether the list is still well within 4 GiB.
    bool fits() const { return m_size + 4 * m_offsets.size() < (std::uint64_t(1) << 31); }

    // Ends the list with its offset table and trailer; `top` is its top object.
    void finish(std::uint32_t top)
    {
        const std::uint64_t table = m_size;
        for (const std::uint32_t offset : m_offsets)
            bigEndian(offset, 4);
        m_offsets = std::deque<std::uint32_t>();
        append("\0\0\0\0\0\0\x04\x04", 8);   // unused, then offset and reference sizes
        bigEndian(m_objects, 8);
        bigEndian(top, 8);
        bigEndian(table, 8);
    }

    // The pieces joined, each freed once copied.
    QByteArray join()
    {
        QByteArray joined;
        joined.reserve(qsizetype(m_size));
        for (std::string &piece : m_pieces) {
            joined.append(piece.data(), qsizetype(piece.size()));
            piece = std::string();
        }
        m_pieces.clear();
        return joined;
    }

private:
    static constexpr size_t PieceSize = size_t(1) << 20;

    std::uint32_t begin()
    {
        m_offsets.push_back(std::uint32_t(m_size));
        return std::uint32_t(m_objects++);
    }

    void append(const char *bytes, size_t size)
    {
        m_size += size;
        while (size > 0) {
            if (m_pieces.empty() || m_pieces.back().size() == PieceSize) {
                // The first piece starts small for small lists and doubles up to a whole one.
                const size_t room = m_pieces.empty() ? PieceSize / 16 : PieceSize;
                m_pieces.emplace_back();
                m_pieces.back().reserve(room);
            }
            std::string &piece = m_pieces.back();
            const size_t part = std::min(size, PieceSize - piece.size());
            piece.append(bytes, part);
            bytes += part;
            size -= part;
        }
    }

    void bigEndian(std::uint64_t v, int size)
    {
        char bytes[8];
        for (int i = 0; i < size; ++i)
            bytes[i] = char((v >> ((size - 1 - i) * 8)) & 0xff);
        append(bytes, size_t(size));
    }

    // A marker with its count: in the low four bits below 15, else as an integer after it.
    void marker(unsigned type, std::uint64_t count)
    {
        if (count < 15) {
            const char byte = char(type | count);
            append(&byte, 1);
        } else {
            const char bytes[2] = {char(type | 0x0f), char(0x13)};
            append(bytes, 2);
            bigEndian(count, 8);
        }
    }

    std::deque<std::string> m_pieces;
    std::uint64_t m_size = 0;
    std::deque<std::uint32_t> m_offsets;   // grows without moving what it holds
    std::uint64_t m_objects = 0;
};

// The places of the keys of one dictionary by their text: open addressing over at least twice
// as many slots as keys, each slot holding a key's place and 32 bits of its hash, so that a
// search reads a slot or two and the text of a key only where the hash matches.
class KeyPlaces
{
public:
    size_t size() const { return m_count; }

    // The place of `key` among the first size() of `keys`; when it is none of them, size(),
    // and from then on `key` is taken to stand there (keys[size()] once the caller adds it).
    size_t find(const std::deque<std::string> &keys, const std::string &key)
    {
        const std::uint64_t hash = std::uint32_t(std::hash<std::string_view>()(key));
        if ((m_count + 1) * 2 > m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = m_slots[i];
            if (slot == 0) {
                m_slots[i] = (hash << 32) | (m_count + 1);
                return m_count++;
            }
            const size_t place = size_t(slot & 0xffffffffu) - 1;
            if ((slot >> 32) == hash && keys[place] == key)
                return place;
        }
    }

private:
    void grow()
    {
        std::vector<std::uint64_t> old(std::max<size_t>(64, m_slots.size() * 2), 0);
        old.swap(m_slots);
        const size_t mask = m_slots.size() - 1;
        for (const std::uint64_t slot : old) {
            if (slot == 0)
                continue;
            size_t i = (slot >> 32) & mask;
            while (m_slots[i])
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    std::vector<std::uint64_t> m_slots;   // hash << 32 | a key's place + 1; 0 for an empty slot
    size_t m_count = 0;
};

class Reader
{
public:
    // `text` holds the bytes the document was parsed from.
    explicit Reader(QByteArrayView text) : m_text(text) {}

    QString problem;

    bool read(const pugi::xml_node &plist)
    {
        std::uint32_t top = 0;
        bool found = false;
        // The first value is the list (the check refuses a second).
        const bool fine = values(plist, Place(), [&](const pugi::xml_node &value) {
            if (!found && !this->value(value, Place(), &top))
                return false;
            found = true;
            return true;
        });
        if (!fine)
            return false;
        if (!found)
            return fail(QStringLiteral("it holds an empty <plist>"));
        m_out.finish(top);
        return true;
    }

    QByteArray join() { return m_out.join(); }

private:
    // What a message names a value by: the key it is found under, its own or a parent's, or
    // else its place in the list holding it.
    struct Place
    {
        const std::string *key = nullptr;
        std::uint64_t item = 0;   // from 1; 0 for none
    };

    static QString where(const Place &place)
    {
        if (place.key)
            return QStringLiteral("\"%1\"").arg(quoted(*place.key));
        if (place.item)
            return QStringLiteral("item %L1 of its list").arg(place.item);
        return QStringLiteral("it");
    }

    // Whether the element is written as one empty-element tag ("<key/>"), by its bytes.
    bool emptyElementTag(const pugi::xml_node &element) const
    {
        if (element.first_child())
            return false;
        const ptrdiff_t name = element.offset_debug();
        if (name < 1 || name >= m_text.size())
            return false;
        // Up to the tag's ">", past double-quoted values (the check refuses a '>' in others).
        bool quoted = false;
        for (qsizetype i = name; i < m_text.size(); ++i) {
            if (m_text[i] == '"')
                quoted = !quoted;
            else if (m_text[i] == '>' && !quoted)
                return m_text[i - 1] == '/';
        }
        return false;
    }

    bool fail(const QString &why)
    {
        problem = why;
        return false;
    }

    // Calls take(element) for each value inside `parent`, the values of a <plist> inside it in
    // its place; false when take() did or the content is no list of values.
    using Take = std::function<bool(const pugi::xml_node &)>;

    bool values(const pugi::xml_node &parent, const Place &key, const Take &take)
    {
        for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
            switch (child.type()) {
            case pugi::node_element:
                if (std::strcmp(child.name(), "plist") == 0) {
                    bool any = false;
                    if (!values(child, key, [&](const pugi::xml_node &value) {
                            any = true;
                            return take(value);
                        }))
                        return false;
                    if (!any)
                        return fail(QStringLiteral("%1 holds an empty <plist>").arg(where(key)));
                } else if (!take(child)) {
                    return false;
                }
                break;
            case pugi::node_pcdata:
                if (!trimmed(child.value()).empty())
                    return fail(QStringLiteral("%1 holds text outside any value").arg(where(key)));
                break;
            case pugi::node_cdata:
                return fail(QStringLiteral("%1 holds text outside any value").arg(where(key)));
            default:
                break;
            }
        }
        return true;
    }

    // The text inside a value's element, references replaced when `unescape`.
    bool text(const pugi::xml_node &element, const Place &key, bool unescape, std::string *out, bool *empty = nullptr)
    {
        if (empty)
            *empty = !element.first_child();
        std::string_view bad;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element)
                return fail(QStringLiteral("%1 holds <%2> inside a <%3>").arg(where(key), QString::fromUtf8(child.name()),
                                                                             QString::fromUtf8(element.name())));
            if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata)
                continue;
            const std::string_view part = child.value();
            if (!unescape || child.type() == pugi::node_cdata)
                out->append(part);
            else if (!appendUnescaped(*out, part, &bad))
                return fail(QStringLiteral("%1 holds \"%2\", a reference no property list holds").arg(where(key), quoted(bad)));
        }
        return true;
    }

    bool value(const pugi::xml_node &element, const Place &key, std::uint32_t *id)
    {
        if (!m_out.fits())
            return fail(QStringLiteral("it holds too many values"));
        const char *name = element.name();
        std::string content;
        if (std::strcmp(name, "dict") == 0)
            return dictionary(element, key, id);
        if (std::strcmp(name, "array") == 0) {
            std::vector<std::uint32_t> items;
            if (!values(element, key, [&](const pugi::xml_node &item) {
                    std::uint32_t itemId = 0;
                    const Place place = key.key ? key : Place{nullptr, items.size() + 1};
                    if (!value(item, place, &itemId))
                        return false;
                    items.push_back(itemId);
                    return true;
                }))
                return false;
            *id = m_out.array(items);
            return true;
        }
        if (std::strcmp(name, "string") == 0 || std::strcmp(name, "key") == 0) {
            if (!text(element, key, true, &content))
                return false;
            *id = m_out.bytes(true, content);
            return true;
        }
        if (std::strcmp(name, "integer") == 0) {
            if (!text(element, key, false, &content))
                return false;
            std::int64_t number = 0;
            if (!wholeNumber(content, &number))
                return fail(QStringLiteral("%1 holds <integer>%2</integer>, which is not a whole number")
                                .arg(where(key), quoted(content)));
            *id = m_out.integer(number);
            return true;
        }
        if (std::strcmp(name, "real") == 0) {
            if (!text(element, key, false, &content))
                return false;
            *id = m_out.real(std::strtod(content.c_str(), nullptr));
            return true;
        }
        if (std::strcmp(name, "true") == 0 || std::strcmp(name, "false") == 0) {
            // What a flag's element holds is no value; elements inside it are refused.
            if (!text(element, key, false, &content))
                return false;
            *id = m_out.boolean(name[0] == 't');
            return true;
        }
        if (std::strcmp(name, "data") == 0) {
            if (!text(element, key, false, &content))
                return false;
            *id = m_out.bytes(false, base64Decoded(content));
            return true;
        }
        if (std::strcmp(name, "date") == 0) {
            bool empty = false;
            if (!text(element, key, false, &content, &empty))
                return false;
            *id = m_out.real(dateValue(content, empty), true);
            return true;
        }
        return fail(QStringLiteral("%1 holds <%2>, which is no property-list value").arg(where(key), QString::fromUtf8(name)));
    }

    bool dictionary(const pugi::xml_node &element, const Place &outerKey, std::uint32_t *id)
    {
        std::deque<std::string> keys;
        std::vector<std::uint32_t> valueIds;
        // Where each key stands, once a dictionary is large enough for a search to cost.
        KeyPlaces places;
        constexpr size_t Searched = 16;
        std::string pending;
        bool keyPending = false;
        const bool fine = values(element, outerKey, [&](const pugi::xml_node &child) {
            // libplist takes an empty-element <key/> for a text, never for a key.
            if (!keyPending && std::strcmp(child.name(), "key") == 0 && !emptyElementTag(child)) {
                pending.clear();
                keyPending = true;
                return text(child, outerKey, true, &pending);
            }
            if (!keyPending)
                return fail(QStringLiteral("%1 holds a dictionary with a value without a key").arg(where(outerKey)));
            keyPending = false;
            std::uint32_t valueId = 0;
            if (!value(child, Place{&pending, 0}, &valueId))
                return false;
            size_t place = keys.size();
            if (keys.size() < Searched) {
                for (size_t i = 0; i < keys.size(); ++i) {
                    if (keys[i] == pending) {
                        place = i;
                        break;
                    }
                }
            } else {
                while (places.size() < keys.size())
                    places.find(keys, keys[places.size()]);
                place = places.find(keys, pending);
            }
            if (place < keys.size()) {
                valueIds[place] = valueId;   // the first key's place, the last value
                return true;
            }
            keys.push_back(pending);
            valueIds.push_back(valueId);
            return true;
        });
        if (!fine)
            return false;
        std::vector<std::uint32_t> keyIds;
        keyIds.reserve(keys.size());
        for (const std::string &key : keys)
            keyIds.push_back(keyId(key));
        *id = m_out.dictionary(keyIds, valueIds);
        return true;
    }

    // The object of a key: the first of its name, for the few names most lists repeat in every
    // dictionary (libplist copies a shared key for each dictionary it is in).
    std::uint32_t keyId(const std::string &key)
    {
        constexpr size_t LongestShared = 64, MostShared = 4096;
        if (key.size() > LongestShared)
            return m_out.bytes(true, key);
        if (const auto found = m_sharedKeys.find(key); found != m_sharedKeys.end())
            return found->second;
        const std::uint32_t id = m_out.bytes(true, key);
        if (m_sharedKeys.size() < MostShared)
            m_sharedKeys.emplace(key, id);
        return id;
    }

    QByteArrayView m_text;
    BinaryOut m_out;
    std::unordered_map<std::string, std::uint32_t> m_sharedKeys;
};

} // namespace

unsigned XmlPropertyListReader::parseOptions()
{
    return pugi::parse_cdata | pugi::parse_ws_pcdata_single | pugi::parse_doctype;
}

class XmlPropertyListReader::Pieces : public Reader
{
public:
    using Reader::Reader;
};

XmlPropertyListReader::XmlPropertyListReader() = default;
XmlPropertyListReader::~XmlPropertyListReader() = default;

bool XmlPropertyListReader::read(const pugi::xml_node &plist, QByteArrayView text)
{
    m_pieces = std::make_unique<Pieces>(text);
    if (m_pieces->read(plist))
        return true;
    m_problem = m_pieces->problem;
    m_pieces.reset();
    return false;
}

QByteArray XmlPropertyListReader::binary()
{
    if (!m_pieces)
        return {};
    QByteArray joined = m_pieces->join();
    m_pieces.reset();
    return joined;
}
