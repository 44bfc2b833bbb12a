#include "document/PropertyListCheck.h"

#include <pugixml.hpp>

#include <QtGlobal>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

using Result = PropertyListCheck::Result;

// ---------------------------------------------------------------------------------------
// Binary property lists: "bplist00", the objects, a table of their offsets, and a trailer of
// 32 bytes (offset and reference widths, object count, top object, table offset).

class BinaryList
{
public:
    explicit BinaryList(const QByteArray &data)
        : m_data(reinterpret_cast<const unsigned char *>(data.constData())), m_size(std::uint64_t(data.size()))
    {
    }

    bool readTrailer()
    {
        constexpr std::uint64_t HeaderSize = 8, TrailerSize = 32;
        if (m_size < HeaderSize + TrailerSize + 1)
            return false;
        const unsigned char *trailer = m_data + m_size - TrailerSize;
        m_offsetSize = trailer[6];
        m_refSize = trailer[7];
        m_count = number(trailer + 8, 8);
        m_top = number(trailer + 16, 8);
        m_tableOffset = number(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8 || m_count == 0 || m_top >= m_count)
            return false;
        const std::uint64_t tableEnd = m_size - TrailerSize;
        // Objects lie between the header and the offset table, which ends at the trailer.
        return m_tableOffset >= HeaderSize + 1 && m_tableOffset <= tableEnd
               && m_count <= (tableEnd - m_tableOffset) / m_offsetSize;
    }

    std::uint64_t top() const { return m_top; }
    std::uint64_t count() const { return m_count; }

    // What one object is: a container with its references, or a leaf of some bytes.
    struct Object
    {
        unsigned type = 0;              // the marker's high four bits
        bool container = false;
        bool dictionary = false;
        std::uint64_t references = 0;   // of a container
        std::uint64_t refStart = 0;     // where its references begin
        std::uint64_t bytes = 0;        // of a leaf
        std::uint64_t start = 0;        // where a leaf's bytes begin
    };

    bool object(std::uint64_t index, Object *out) const
    {
        if (index >= m_count)
            return false;
        const std::uint64_t offset = number(m_data + m_tableOffset + index * m_offsetSize, m_offsetSize);
        if (offset < 8 || offset >= m_tableOffset)
            return false;
        const unsigned char marker = m_data[offset];
        const unsigned type = marker >> 4, info = marker & 0xf;
        std::uint64_t position = offset + 1;
        std::uint64_t length = 0;
        *out = Object();
        out->type = type;
        switch (type) {
        case 0x0:   // null, false, true, fill
            return true;
        case 0x1:   // integer of 2^info bytes
        case 0x2:   // real
            length = std::uint64_t(1) << std::min(info, 4u);
            break;
        case 0x3:   // date
            length = 8;
            break;
        case 0x8:   // object reference (UID)
            length = info + 1;
            break;
        case 0x4:   // data
        case 0x5:   // ASCII text
        case 0x6:   // UTF-16 text
        case 0xA:   // array
        case 0xC:   // set
        case 0xD: { // dictionary: keys, then values
            std::uint64_t count = info;
            if (info == 0xf && !extendedCount(&position, &count))
                return false;
            std::uint64_t unit = 1;
            if (type == 0x6)
                unit = 2;
            else if (type == 0xA || type == 0xC)
                unit = m_refSize;
            else if (type == 0xD)
                unit = 2 * std::uint64_t(m_refSize);
            if (count > (m_tableOffset - position) / unit)
                return false;
            length = count * unit;
            if (type >= 0xA) {
                out->container = true;
                out->dictionary = type == 0xD;
                out->references = type == 0xD ? 2 * count : count;
                out->refStart = position;
            }
            break;
        }
        default:
            return false;
        }
        if (length > m_tableOffset - position)
            return false;
        if (!out->container) {
            out->bytes = length;
            out->start = position;
        }
        return true;
    }

    // Dictionary keys are texts without NUL characters: libplist stops the process on others.
    bool usableKey(std::uint64_t index) const
    {
        Object key;
        if (!object(index, &key) || (key.type != 0x5 && key.type != 0x6))
            return false;
        const unsigned char *p = m_data + key.start;
        if (key.type == 0x5)
            return std::memchr(p, 0, key.bytes) == nullptr;
        for (std::uint64_t i = 0; i + 1 < key.bytes; i += 2)
            if (p[i] == 0 && p[i + 1] == 0)
                return false;
        return true;
    }

    std::uint64_t reference(const Object &container, std::uint64_t i) const
    {
        return number(m_data + container.refStart + i * m_refSize, m_refSize);
    }

private:
    static std::uint64_t number(const unsigned char *p, unsigned width)
    {
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i)
            value = (value << 8) | p[i];
        return value;
    }

    // A count of 15 or more follows the marker as an integer object of 1, 2, 4 or 8 bytes.
    bool extendedCount(std::uint64_t *position, std::uint64_t *count) const
    {
        if (*position >= m_tableOffset)
            return false;
        const unsigned char marker = m_data[*position];
        if ((marker >> 4) != 0x1 || (marker & 0xf) > 3)
            return false;
        const unsigned width = 1u << (marker & 0xf);
        if (width > m_tableOffset - *position - 1)
            return false;
        *count = number(m_data + *position + 1, width);
        *position += 1 + width;
        return true;
    }

    const unsigned char *m_data;
    std::uint64_t m_size;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    std::uint64_t m_count = 0;
    std::uint64_t m_top = 0;
    std::uint64_t m_tableOffset = 0;
};

// ---------------------------------------------------------------------------------------
// XML property lists: every value is one element, so the values a parser will make are the
// elements inside <plist>, and the items of the top array or dictionary are the children of
// its one value (a dictionary's a key and a value each). They are counted from the start tags
// in one pass over the bytes, before any tree is built; markup that holds no element (comments,
// CDATA, processing instructions, the document type, attribute values) is stepped over.

// Where `what` next begins at or after `from`, or the end.
const char *findText(const char *from, const char *end, std::string_view what)
{
    for (const char *p = from; end - p >= std::ptrdiff_t(what.size());) {
        p = static_cast<const char *>(std::memchr(p, what.front(), size_t(end - p)));
        if (!p || end - p < std::ptrdiff_t(what.size()))
            break;
        if (std::memcmp(p, what.data(), what.size()) == 0)
            return p;
        ++p;
    }
    return end;
}

Result countXml(const QByteArray &data, const PropertyListLimits &limits)
{
    const char *p = data.constData();
    const char *const end = p + data.size();
    std::uint64_t elements = 0, topChildren = 0;
    long depth = 0;
    bool topIsDictionary = false;
    while ((p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p))))) {
        const char *const rest = p + 1;
        const auto startsWith = [&](std::string_view text) {
            return end - rest >= std::ptrdiff_t(text.size()) && std::memcmp(rest, text.data(), text.size()) == 0;
        };
        if (startsWith("!--")) {
            p = findText(rest + 3, end, "-->");
        } else if (startsWith("![CDATA[")) {
            p = findText(rest + 8, end, "]]>");
        } else if (startsWith("?")) {
            p = findText(rest + 1, end, "?>");
        } else if (startsWith("!")) {
            // The document type, with its internal subset in brackets.
            const char *close = rest;
            while (close < end && *close != '>' && *close != '[')
                ++close;
            if (close < end && *close == '[')
                close = findText(close, end, "]");
            p = findText(close, end, ">");
        } else if (startsWith("/")) {
            depth = std::max(0L, depth - 1);
            p = findText(rest, end, ">");
        } else {
            // A start tag: up to its ">", stepping over quoted attribute values.
            const char *q = rest;
            char quote = 0;
            for (; q < end; ++q) {
                if (quote) {
                    if (*q == quote)
                        quote = 0;
                } else if (*q == '"' || *q == '\'') {
                    quote = *q;
                } else if (*q == '>') {
                    break;
                }
            }
            const bool empty = q < end && q[-1] == '/';
            ++elements;
            if (depth == 1)
                topIsDictionary = end - rest >= 4 && std::memcmp(rest, "dict", 4) == 0
                                  && (rest + 4 == end || rest[4] == '>' || rest[4] == '/' || std::isspace(uchar(rest[4])));
            else if (depth == 2)
                ++topChildren;
            if (elements - 1 > limits.maxObjects
                || (topIsDictionary ? topChildren / 2 : topChildren) > limits.maxTopItems)
                return Result::TooLarge;
            if (!empty)
                ++depth;
            p = q;
        }
        if (p < end)
            ++p;
    }
    return Result::Fine;
}

} // namespace

PropertyListCheck::Result PropertyListCheck::binary(const QByteArray &data, const Limits &limits)
{
    if (!data.startsWith("bplist"))
        return Result::Foreign;
    BinaryList list(data);
    if (!list.readTrailer())
        return Result::Malformed;

    // The tree libplist would build, walked with our own stack. Texts, numbers and data may
    // be shared (writers store equal ones once), and each reference counts as the copy
    // libplist makes. A list or dictionary is reached once at most: element archives never
    // share one, and sharing is what makes a few bytes expand without bound or loop.
    std::vector<bool> containerSeen(list.count());
    struct Pending
    {
        std::uint64_t index;
        int depth;
    };
    std::vector<Pending> stack{{list.top(), 1}};
    std::uint64_t objects = 1;
    std::uint64_t bytes = 0;
    while (!stack.empty()) {
        const Pending pending = stack.back();
        stack.pop_back();
        if (pending.depth > limits.maxDepth)
            return Result::TooDeep;
        BinaryList::Object object;
        if (!list.object(pending.index, &object))
            return Result::Malformed;
        if (!object.container) {
            bytes += object.bytes;
            if (bytes > limits.maxBytes)
                return Result::TooLarge;
            continue;
        }
        if (containerSeen[pending.index])
            return Result::Shared;
        if (pending.depth == 1 && (object.dictionary ? object.references / 2 : object.references) > limits.maxTopItems)
            return Result::TooLarge;
        containerSeen[pending.index] = true;
        if (object.references > limits.maxObjects - objects)
            return Result::TooLarge;
        objects += object.references;
        for (std::uint64_t i = 0; i < object.references; ++i) {
            const std::uint64_t child = list.reference(object, i);
            if (object.dictionary && i < object.references / 2 && !list.usableKey(child))
                return Result::Malformed;
            stack.push_back({child, pending.depth + 1});
        }
    }
    return Result::Fine;
}

PropertyListCheck::Result PropertyListCheck::xml(const QByteArray &data, const Limits &limits)
{
    // Counted before the checker's own tree is built: that costs memory in step with the values.
    if (const Result counted = countXml(data, limits); counted != Result::Fine)
        return counted;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(data.constData(), size_t(data.size()), pugi::parse_default | pugi::parse_doctype);
    if (!parsed) {
        // A property list that lost its closing tag is a file that stops too early.
        return data.trimmed().endsWith("</plist>") ? Result::Malformed : Result::Truncated;
    }
    pugi::xml_node root;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element)
            continue;
        if (root)
            return Result::Malformed;   // one document, one root
        root = node;
    }
    if (!root || std::strcmp(root.name(), "plist") != 0)
        return Result::Foreign;

    // Depth of the deepest element, walked without recursion so no nesting can exhaust the stack.
    int depth = 1;
    pugi::xml_node node = root;
    while (node) {
        pugi::xml_node child = node.first_child();
        while (child && child.type() != pugi::node_element)
            child = child.next_sibling();
        if (child) {
            if (++depth > limits.maxDepth)
                return Result::TooDeep;
            node = child;
            continue;
        }
        // Up until an ancestor has a next element.
        while (node && node != root) {
            pugi::xml_node next = node.next_sibling();
            while (next && next.type() != pugi::node_element)
                next = next.next_sibling();
            if (next) {
                node = next;
                break;
            }
            node = node.parent();
            --depth;
        }
        if (node == root)
            break;
    }
    return Result::Fine;
}

PropertyListCheck::Result PropertyListCheck::any(const QByteArray &data, const Limits &limits)
{
    return data.startsWith("bplist") ? binary(data, limits) : xml(data, limits);
}
