#include "document/PropertyListCheck.h"

#include "document/XmlPropertyListReader.h"

#include <pugixml.hpp>

#include <QStringDecoder>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
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
// its one value (a dictionary's a key and a value each). A <plist> inside the list is no value:
// libplist reads what it holds in its place, so its children count at the level of the
// <plist> itself. The counts are taken in one pass over the bytes by XML's rules, before any
// tree is built: comments, CDATA, processing instructions and attribute values hold no
// element; the document type declaration may hold quoted literals and an internal subset
// with declarations, comments, processing instructions and quoted values of its own.
//
// libplist reads some markup by rules of its own: a document type ends for it at the first
// "]>" after a "[", even one in a single-quoted literal or a comment; it knows only double
// quotes, and takes one in a processing instruction for the start of a quoted text that hides
// the instruction's end. It is therefore given the root element alone (the rest holds no
// value), and markup inside the root that it would read otherwise than XML (a quote in a
// processing instruction, a single-quoted attribute value holding a double quote or a '>') is
// refused. What is left of the root it reads as XML does.

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

// Just past the next `what` at or after `from`; null when there is none.
const char *pastText(const char *from, const char *end, std::string_view what)
{
    const char *found = findText(from, end, what);
    return found == end ? nullptr : found + what.size();
}

bool startsWith(const char *p, const char *end, std::string_view text)
{
    return end - p >= std::ptrdiff_t(text.size()) && std::memcmp(p, text.data(), text.size()) == 0;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Just past the document type declaration whose keyword ends at `p`; null when it does not end.
const char *pastDocumentType(const char *p, const char *end)
{
    bool inSubset = false;
    while (p < end) {
        const char c = *p;
        if (c == '"' || c == '\'') {
            const char *close = static_cast<const char *>(std::memchr(p + 1, c, size_t(end - p - 1)));
            if (!close)
                return nullptr;
            p = close + 1;
        } else if (inSubset && startsWith(p, end, "<!--")) {
            if (!(p = pastText(p + 4, end, "-->")))
                return nullptr;
        } else if (inSubset && startsWith(p, end, "<?")) {
            if (!(p = pastText(p + 2, end, "?>")))
                return nullptr;
        } else if (c == '[' && !inSubset) {
            inSubset = true;
            ++p;
        } else if (c == ']' && inSubset) {
            inSubset = false;
            ++p;
        } else if (c == '>' && !inSubset) {
            return p + 1;
        } else {
            ++p;
        }
    }
    return nullptr;
}

// Where the root element lies, as the count found it.
struct XmlRoot
{
    const char *begin = nullptr;   // its "<"
    const char *end = nullptr;     // just past the ">" that closes it
};

// Counts the values and top items of XML property-list data by XML's rules. Fine also for data
// that stops before the root element ends: the parser's verdict on it follows.
Result countXml(const QByteArray &data, const PropertyListLimits &limits, XmlRoot *root)
{
    const char *p = data.constData();
    const char *const end = p + data.size();
    enum class Where { BeforeRoot, InRoot, AfterRoot } where = Where::BeforeRoot;
    bool documentType = false;
    std::vector<bool> openIsWrapper;   // the open elements: whether each is a <plist>
    long valueDepth = 0;               // the open elements that are values
    bool topSeen = false, topIsDictionary = false;
    std::uint64_t values = 0, topChildren = 0;
    while (p < end && (p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p))))) {
        const char *const rest = p + 1;
        const bool inRoot = where == Where::InRoot;
        if (startsWith(rest, end, "?")) {
            const char *const close = pastText(rest + 1, end, "?>");
            if (!close)
                return Result::Fine;
            if (inRoot && std::memchr(rest, '"', size_t(close - rest)))
                return Result::Malformed;
            p = close;
        } else if (startsWith(rest, end, "!--")) {
            if (!(p = pastText(rest + 3, end, "-->")))
                return Result::Fine;
        } else if (startsWith(rest, end, "![CDATA[")) {
            if (!inRoot)
                return Result::Malformed;
            if (!(p = pastText(rest + 8, end, "]]>")))
                return Result::Fine;
        } else if (startsWith(rest, end, "!DOCTYPE")) {
            if (where != Where::BeforeRoot || documentType)
                return Result::Malformed;
            documentType = true;
            if (!(p = pastDocumentType(rest + 8, end)))
                return Result::Fine;
        } else if (startsWith(rest, end, "!")) {
            return Result::Malformed;
        } else if (startsWith(rest, end, "/")) {
            if (!inRoot)
                return Result::Malformed;
            const char *const close = static_cast<const char *>(std::memchr(rest, '>', size_t(end - rest)));
            if (!close)
                return Result::Fine;
            if (!openIsWrapper.back())
                --valueDepth;
            openIsWrapper.pop_back();
            p = close + 1;
            if (openIsWrapper.empty()) {
                where = Where::AfterRoot;
                root->end = p;
            }
        } else {
            // A start tag: its name, then up to its ">", stepping over quoted attribute values.
            if (where == Where::AfterRoot)
                return Result::Malformed;   // one document, one root
            const char *q = rest;
            while (q < end && !isSpace(*q) && *q != '/' && *q != '>' && *q != '<')
                ++q;
            if (q == rest)
                return q == end ? Result::Fine : Result::Malformed;
            const bool wrapper = q - rest == 5 && std::memcmp(rest, "plist", 5) == 0;
            const bool dictionary = q - rest == 4 && std::memcmp(rest, "dict", 4) == 0;
            char quote = 0;
            for (; q < end; ++q) {
                if (quote) {
                    if (*q == quote)
                        quote = 0;
                    else if (*q == '<' || (quote == '\'' && (*q == '"' || *q == '>')))
                        return Result::Malformed;
                } else if (*q == '"' || *q == '\'') {
                    quote = *q;
                } else if (*q == '>') {
                    break;
                } else if (*q == '<') {
                    return Result::Malformed;
                }
            }
            if (q == end)
                return Result::Fine;
            const bool empty = q[-1] == '/';
            if (where == Where::BeforeRoot) {
                where = Where::InRoot;
                root->begin = p;
            }
            if (!wrapper) {
                if (++values > limits.maxObjects)
                    return Result::TooLarge;
                if (valueDepth == 0) {
                    // A list holds one value: libplist would read a second into the first.
                    if (topSeen)
                        return Result::Malformed;
                    topSeen = true;
                    topIsDictionary = dictionary;
                } else if (valueDepth == 1) {
                    ++topChildren;
                    if ((topIsDictionary ? topChildren / 2 : topChildren) > limits.maxTopItems)
                        return Result::TooLarge;
                }
            }
            p = q + 1;
            if (!empty) {
                openIsWrapper.push_back(wrapper);
                if (!wrapper)
                    ++valueDepth;
            } else if (openIsWrapper.empty()) {
                where = Where::AfterRoot;
                root->end = p;
            }
        }
    }
    return Result::Fine;
}

// Whether the 16-byte integer at `p` lies beyond 64 bits: libplist reads its last eight bytes
// alone, which hold it only when the first eight are their sign.
bool beyond64Bits(const unsigned char *p)
{
    const unsigned char sign = (p[8] & 0x80) ? 0xff : 0x00;
    for (int i = 0; i < 8; ++i) {
        if (p[i] != sign)
            return true;
    }
    return false;
}

// One walk of the binary check; the offsets of 16-byte integers beyond 64 bits go to *wide.
Result walkBinary(const QByteArray &data, const PropertyListLimits &limits, std::vector<std::uint64_t> *wide)
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
            if (object.type == 0x1 && object.bytes == 16
                && beyond64Bits(reinterpret_cast<const unsigned char *>(data.constData()) + object.start))
                wide->push_back(object.start);
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

// The binary check, of the bytes libplist is to read. libplist reads the last eight bytes of a
// 16-byte integer alone: one beyond 64 bits is rewritten in a copy as the nearest 64-bit
// number, which every field refuses as out of range, as the XML reader gives it. Other objects
// may lie in the bytes rewritten (a key's text, a marker, a reference), so the copy is walked
// again and is Fine only if it holds no such integer itself. When Fine, *readable (may be
// null) holds the bytes judged last: the data itself, or the copy.
Result checkBinary(const QByteArray &data, const PropertyListLimits &limits, QByteArray *readable)
{
    std::vector<std::uint64_t> wide;
    Result result = walkBinary(data, limits, &wide);
    QByteArray judged = data;   // the copy is made at the first rewrite, by data()
    if (result == Result::Fine && !wide.empty()) {
        for (const std::uint64_t start : wide) {
            char *p = judged.data() + start;
            const bool negative = p[0] & 0x80;
            std::memset(p, negative ? 0xff : 0x00, 8);
            p[8] = negative ? char(0x80) : char(0x7f);
            std::memset(p + 9, negative ? 0x00 : 0xff, 7);
        }
        wide.clear();
        result = walkBinary(judged, limits, &wide);
        if (result == Result::Fine && !wide.empty())
            result = Result::Malformed;
    }
    if (readable && result == Result::Fine)
        *readable = judged;
    return result;
}

// XML in UTF-16 or UTF-32 (by its byte-order mark, or by "<?" in the first four bytes), as
// UTF-8; empty for any other data. *broken when such data holds no text of its encoding.
QByteArray asUtf8(const QByteArray &data, bool *broken)
{
    *broken = false;
    const auto startsWith = [&](const char *bytes, int size) { return data.startsWith(QByteArrayView(bytes, size)); };
    std::optional<QStringConverter::Encoding> encoding;
    if (startsWith("\xFF\xFE\0\0", 4) || startsWith("<\0\0\0", 4))
        encoding = QStringConverter::Utf32LE;
    else if (startsWith("\0\0\xFE\xFF", 4) || startsWith("\0\0\0<", 4))
        encoding = QStringConverter::Utf32BE;
    else if (startsWith("\xFF\xFE", 2) || startsWith("<\0?\0", 4))
        encoding = QStringConverter::Utf16LE;
    else if (startsWith("\xFE\xFF", 2) || startsWith("\0<\0?", 4))
        encoding = QStringConverter::Utf16BE;
    if (!encoding)
        return {};
    QStringDecoder decoder(*encoding);   // takes the byte-order mark off
    const QString text = decoder(data);
    if (decoder.hasError()) {
        *broken = true;
        return {};
    }
    return text.toUtf8();
}

// The XML check on data in UTF-8 (or an encoding pugixml reads as such); when Fine, `document`
// holds the tree of it, parsed as XmlPropertyListReader reads it, and *plist its root.
Result checkXml(const QByteArray &data, const PropertyListLimits &limits, pugi::xml_document &document,
                XmlRoot *counted, pugi::xml_node *plist)
{
    // Counted before the checker's own tree is built: that costs memory in step with the values.
    if (const Result result = countXml(data, limits, counted); result != Result::Fine)
        return result;
    const pugi::xml_parse_result parsed =
        document.load_buffer(data.constData(), size_t(data.size()), XmlPropertyListReader::parseOptions());
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
    // The root the parser found is the one counted (its name follows the "<").
    if (!counted->end || root.offset_debug() != counted->begin + 1 - data.constData())
        return Result::Malformed;

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
    *plist = root;
    return Result::Fine;
}

} // namespace

PropertyListCheck::Result PropertyListCheck::binary(const QByteArray &data, const Limits &limits)
{
    return checkBinary(data, limits, nullptr);
}

PropertyListCheck::Result PropertyListCheck::xml(const QByteArray &data, const Limits &limits,
                                                 QByteArrayView *parserInput)
{
    bool broken = false;
    const QByteArray utf8 = asUtf8(data, &broken);
    if (broken)
        return Result::Malformed;
    pugi::xml_document document;
    XmlRoot counted;
    pugi::xml_node plist;
    const Result result = checkXml(utf8.isEmpty() ? data : utf8, limits, document, &counted, &plist);
    if (result == Result::Fine && parserInput)
        *parserInput = utf8.isEmpty() ? QByteArrayView(counted.begin, counted.end) : QByteArrayView();
    return result;
}

PropertyListCheck::Result PropertyListCheck::read(const QByteArray &data, const Limits &limits, plist_t *root,
                                                  QString *problem)
{
    *root = nullptr;
    if (data.startsWith("bplist")) {
        QByteArray input;
        if (const Result result = checkBinary(data, limits, &input); result != Result::Fine)
            return result;
        plist_from_bin(input.constData(), uint32_t(input.size()), root);
        return *root ? Result::Fine : Result::Unreadable;
    }
    bool broken = false;
    const QByteArray utf8 = asUtf8(data, &broken);
    if (broken)
        return Result::Malformed;
    XmlPropertyListReader reader;
    {
        pugi::xml_document document;
        XmlRoot counted;
        pugi::xml_node plist;
        const QByteArray &text = utf8.isEmpty() ? data : utf8;
        if (const Result result = checkXml(text, limits, document, &counted, &plist); result != Result::Fine)
            return result;
        if (!reader.read(plist, text)) {
            if (problem)
                *problem = reader.problem();
            return Result::Unreadable;
        }
    }   // the tree is freed before the list is joined and libplist builds its own
    const QByteArray binary = reader.binary();
    plist_from_bin(binary.constData(), uint32_t(binary.size()), root);
    return *root ? Result::Fine : Result::Unreadable;
}

PropertyListCheck::Result PropertyListCheck::any(const QByteArray &data, const Limits &limits)
{
    return data.startsWith("bplist") ? binary(data, limits) : xml(data, limits);
}
