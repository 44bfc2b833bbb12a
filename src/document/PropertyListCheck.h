#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <plist/plist.h>

#include <cstdint>
#include <limits>

struct PropertyListLimits
{
    int maxDepth = 32;
    // Objects and text/data bytes of the parsed tree, every reference counted again: what
    // libplist will allocate for a binary list (an XML list's objects are its elements inside
    // <plist>; its texts never expand past the data's own size).
    std::uint64_t maxObjects = 10'000'000;
    std::uint64_t maxBytes = std::uint64_t(512) << 20;
    // Items of the top array or dictionary, in either form.
    std::uint64_t maxTopItems = UINT64_MAX;
};

// Checks property-list data before it is read, and reads it (read()). libplist walks nesting by
// recursion and copies a binary list's shared objects once for every reference, so deeply
// nested or self-referencing data would exhaust the stack or the memory inside the library.
// Only data that passes is handed to it. An XML list is read from the check's own parse
// (XmlPropertyListReader): libplist's XML reader takes time growing with the square of a
// list's references and keys, and one parse leaves no room for two readers to disagree.
//
// Both checks walk without recursion and cost time linear in the data. XML in UTF-16 or
// UTF-32 (found by its byte-order mark or its first characters "<?") is checked and read as
// the same text in UTF-8.
class PropertyListCheck
{
public:
    enum class Result {
        Fine,
        Foreign,     // XML whose root is not <plist>, or not a binary property list at all
        Truncated,   // XML that stops before its end
        Malformed,   // not well-formed XML, or a binary list whose tables or objects are broken
        TooDeep,     // values nested deeper than the limit
        TooLarge,    // more objects or top items than the limits, or a binary list expanding to more bytes
        Shared,      // a binary list reaching one array or dictionary twice (or in a cycle)
        Unreadable,  // read(): a value the reader cannot take (an unknown element, a reference or
                     // whole number it cannot read, text outside any value), or a binary list
                     // libplist refuses
    };

    using Limits = PropertyListLimits;

    // Whether the bytes are one well-formed XML document whose root is <plist>, nested no
    // deeper than the limit and holding no more objects and top items than the limits. The
    // counts are taken in one pass over the bytes by XML's rules (for the document type, its
    // literals and internal subset, comments, CDATA, processing instructions and attribute
    // values) before any tree is built; a <plist> inside the list counts as the values it holds.
    // Markup that libplist reads otherwise than XML is refused as Malformed. When Fine,
    // *parserInput (may be null) holds the root element of UTF-8 data (nothing for data of
    // another encoding): the bytes libplist's XML reader would read as read() does, since it
    // reads a document type by rules of its own.
    static Result xml(const QByteArray &data, const Limits &limits = Limits(), QByteArrayView *parserInput = nullptr);

    // Whether the bytes are a binary property list ("bplist") whose trailer, offsets and
    // references hold together, nested no deeper and expanding to no more than the limits,
    // judged as read() hands them to libplist (a 16-byte integer beyond 64 bits rewritten as the
    // nearest 64-bit number, with any object sharing its bytes).
    static Result binary(const QByteArray &data, const Limits &limits = Limits());

    // Either check, by the data's first bytes. A list that passes is read by read() alone, which
    // hands a library no bytes but those the check judged.
    static Result any(const QByteArray &data, const Limits &limits = Limits());

    // Either check and, when the data passes, its values: *root (the caller frees it with
    // plist_free) is the list's top value. XML is read by XmlPropertyListReader from the
    // check's parse, in time linear in the data; a binary list by libplist from exactly the
    // bytes binary() judged, a 16-byte integer beyond 64 bits given as the nearest 64-bit number
    // as the XML reader gives it. When Unreadable, *problem (may be null) says why where the
    // reader knows, naming the key of the value at fault.
    static Result read(const QByteArray &data, const Limits &limits, plist_t *root, QString *problem = nullptr);

    // Whether a whole number read() gives lies at either end of 64 bits, where it gives the
    // numbers beyond them: readers refuse it as out of range wherever a number belongs.
    static constexpr bool atEndOf64Bits(std::int64_t value)
    {
        return value == std::numeric_limits<std::int64_t>::min() || value == std::numeric_limits<std::int64_t>::max();
    }
};
