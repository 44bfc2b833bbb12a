#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

namespace pugi {
class xml_node;
}

// The values of an XML property list, read from pugixml's tree of it (the one tree
// PropertyListCheck builds of the list) in time and memory linear in the list, and handed on as
// a binary property list for libplist to build its values from. libplist's own XML reader costs
// time growing with the square of the entity references in one text, and a dictionary built
// through libplist's calls with the square of its keys; its binary reader takes neither.
//
// Values read as libplist's XML reader read them, so stored lists open as they always did:
// - <string> and <key> take their text as it stands (line ends included), each entity
//   reference and character reference libplist knows replaced; any other reference, or an "&"
//   without its ";", refuses the list. CDATA is taken as it stands, comments hold nothing.
// - <integer>: decimal or (after "0x") hexadecimal digits with an optional sign, spaces about
//   them allowed; leading zeros are decimal, as every other reader has them (libplist read
//   "010" as 8). A number beyond 64 bits reads as the nearest 64-bit one, so that every field
//   refuses it as out of range; anything else (no digits, other characters) refuses the list
//   (libplist read it as 0, or as far as its digits went).
// - <real> and <date> as libplist: the C library's reading of the number, "nan" and "inf"
//   included (readers refuse what is not finite), and of the date "YYYY-MM-DDTHH:MM:SSZ".
// - <data>: base64, everything outside its alphabet skipped, as libplist decodes it.
// - <true/>, <false/>, <array>, <dict>; a <plist> inside the list stands for the values it
//   holds. In a dictionary a <key> names the next value (a second <key>, or an empty-element
//   <key/>, is that value, a text); the last of equal keys gives the value, in the place of
//   the first; a key left without a value is dropped. Outside a dictionary a <key> is a text.
// - An unknown element, text or CDATA outside a value, an element inside a text or number, an
//   empty <plist> or a dictionary value without a key refuse the list.
//
// The document must have been parsed with parseOptions(): texts as they stand, for this reader
// to replace what libplist replaces.
//
// Safe on any thread.
class XmlPropertyListReader
{
public:
    XmlPropertyListReader();
    ~XmlPropertyListReader();
    XmlPropertyListReader(const XmlPropertyListReader &) = delete;
    XmlPropertyListReader &operator=(const XmlPropertyListReader &) = delete;

    // What pugixml is to keep of the document: texts with their references and line ends as
    // written, CDATA, and a text of spaces alone in its element.
    static unsigned parseOptions();

    // Reads the values of the <plist> element `plist`; false, with why in problem() (the key
    // holding the value at fault named where there is one), when they cannot be read. `text`
    // holds the bytes the document was parsed from (where an element's tag is written as
    // libplist tells apart). Nesting is walked by recursion: the caller has checked it.
    bool read(const pugi::xml_node &plist, QByteArrayView text);
    QString problem() const { return m_problem; }

    // The values read, as a binary property list: to be asked once the document's tree is
    // freed, since the list is kept in pieces until then and joined here.
    QByteArray binary();

private:
    class Pieces;
    std::unique_ptr<Pieces> m_pieces;
    QString m_problem;
};
