#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

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

// Checks property-list data before libplist parses it. libplist walks nesting by recursion and
// copies a binary list's shared objects once for every reference, so deeply nested or
// self-referencing data would exhaust the stack or the memory inside the library. Only data
// that passes is handed to it.
//
// Both checks walk without recursion and cost time linear in the data.
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
    };

    using Limits = PropertyListLimits;

    // Whether the bytes are one well-formed XML document whose root is <plist>, nested no
    // deeper than the limit and holding no more objects and top items than the limits. The
    // counts are taken in one pass over the bytes by XML's rules (for the document type, its
    // literals and internal subset, comments, CDATA, processing instructions and attribute
    // values) before any tree is built; a <plist> inside the list counts as the values it holds.
    // Markup that libplist reads otherwise than XML is refused as Malformed. When Fine,
    // *parserInput (may be null) holds the root element: the bytes libplist is to be given,
    // since it reads a document type by rules of its own.
    static Result xml(const QByteArray &data, const Limits &limits = Limits(), QByteArrayView *parserInput = nullptr);

    // Whether the bytes are a binary property list ("bplist") whose trailer, offsets and
    // references hold together, nested no deeper and expanding to no more than the limits.
    static Result binary(const QByteArray &data, const Limits &limits = Limits());

    // Either check, by the data's first bytes; *parserInput as xml() gives it, or all the data
    // of a binary list.
    static Result any(const QByteArray &data, const Limits &limits = Limits(), QByteArrayView *parserInput = nullptr);
};
