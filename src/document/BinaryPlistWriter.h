#pragma once

#include <QByteArray>

#include <plist/plist.h>

#include <cstdint>
#include <memory>
#include <vector>

// Writes a property-list tree as a binary property list ("bplist00"), in time and memory
// linear in the tree: libplist's own writer slows down far faster than the list grows, and
// a copy of many elements would stall on it.
//
// The layout is the one every reader takes: the header, the objects, a table of their
// offsets and the trailer. Object references take as many bytes as the object count needs,
// offsets as many as the file's length needs. Equal texts, keys, numbers and dates are stored
// once (found by hashing their encoded bytes); arrays, dictionaries and data are never shared,
// as readers that refuse shared lists expect.
//
// Integers are libplist's 64-bit patterns, written as signed: a negative value takes eight
// bytes, others the fewest of 1, 2, 4 and 8. Reals take eight bytes. Texts are ASCII where
// they can be and UTF-16 otherwise.
//
// Safe on any thread.
//
// A large list can also be written piece by piece, each piece's tree freed once added:
//     BinaryPlistWriter writer;
//     for (...) { plist_t item = ...; items.push_back(writer.add(item)); plist_free(item); }
//     const QByteArray bytes = writer.finish(writer.addArray(items));
class BinaryPlistWriter
{
public:
    BinaryPlistWriter();
    ~BinaryPlistWriter();
    BinaryPlistWriter(const BinaryPlistWriter &) = delete;
    BinaryPlistWriter &operator=(const BinaryPlistWriter &) = delete;

    // Adds the tree at `node` (not null); gives the number of its top object.
    uint64_t add(plist_t node);
    // Adds an array of objects added before; gives its number.
    uint64_t addArray(const std::vector<uint64_t> &items);
    // The property list whose top object is `top`, of everything added; empty when a node
    // no property list can hold (a bare key) was added.
    QByteArray finish(uint64_t top) const;

    // The binary property list of the tree at `root`; empty when root is null or the tree
    // holds a node no property list can.
    static QByteArray write(plist_t root);

private:
    class Objects;
    std::unique_ptr<Objects> m_objects;
};
