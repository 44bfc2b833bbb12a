// Element archives made to hurt the reader: nesting that would exhaust the stack inside
// libplist, binary lists whose shared objects expand without bound or form cycles, keys sharing
// bytes with an integer the reader rewrites, and element lists large enough to show a reader
// that is not linear. Each is refused (or read) without a crash, and on the clipboard the Paste
// leaves the card alone.

#include "CanvasTestSupport.h"

#include "document/LMNGraphicArchive.h"
#include "document/PropertyListCheck.h"

#include "support/ForeignPictures.h"
#include "support/ScriptedModalSeam.h"

#include <QClipboard>
#include <QMimeData>

#include <map>
#include <vector>

namespace {

// Writes binary property lists object by object, with 4-byte references and 8-byte offsets,
// so a test can make shapes no honest writer makes.
class BinaryPlistMaker
{
public:
    using Ref = quint32;

    Ref array(const std::vector<Ref> &items) { return container(0xA, items); }
    Ref dict(const std::vector<Ref> &keys, const std::vector<Ref> &values)
    {
        std::vector<Ref> all = keys;
        all.insert(all.end(), values.begin(), values.end());
        return container(0xD, all, keys.size());
    }
    Ref string(const QByteArray &ascii)
    {
        QByteArray o;
        o += char(0x5F);
        appendCount(o, quint64(ascii.size()));
        return add(o + ascii);
    }
    Ref raw(const QByteArray &object) { return add(object); }
    // An object beginning `skip` bytes into another: the two share bytes.
    Ref within(Ref object, int skip)
    {
        m_within[Ref(m_objects.size())] = {object, skip};
        return add({});
    }
    Ref reserve() { return add({}); }
    void setArray(Ref at, const std::vector<Ref> &items) { m_objects[at] = encode(0xA, items, items.size()); }

    QByteArray bytes(Ref top) const
    {
        QByteArray out("bplist00");
        std::vector<quint64> offsets;
        for (const QByteArray &o : m_objects) {
            const auto within = m_within.find(Ref(offsets.size()));
            offsets.push_back(within == m_within.end() ? quint64(out.size())
                                                       : offsets[within->second.first] + within->second.second);
            out += o;
        }
        const quint64 table = quint64(out.size());
        for (quint64 offset : offsets)
            appendNumber(out, offset, 8);
        out += QByteArray(6, '\0');
        out += char(8);   // offset size
        out += char(4);   // reference size
        appendNumber(out, m_objects.size(), 8);
        appendNumber(out, top, 8);
        appendNumber(out, table, 8);
        return out;
    }

private:
    static void appendNumber(QByteArray &out, quint64 value, int width)
    {
        for (int i = width - 1; i >= 0; --i)
            out += char((value >> (8 * i)) & 0xff);
    }
    static void appendCount(QByteArray &out, quint64 count)
    {
        out += char(0x13);
        appendNumber(out, count, 8);
    }
    static QByteArray encode(int type, const std::vector<Ref> &refs, std::size_t count)
    {
        QByteArray o;
        o += char((type << 4) | 0xF);
        appendCount(o, count);
        for (Ref r : refs)
            appendNumber(o, r, 4);
        return o;
    }
    Ref container(int type, const std::vector<Ref> &refs, std::size_t count = std::size_t(-1))
    {
        return add(encode(type, refs, count == std::size_t(-1) ? refs.size() : count));
    }
    Ref add(const QByteArray &object)
    {
        m_objects.push_back(object);
        return Ref(m_objects.size() - 1);
    }

    std::vector<QByteArray> m_objects;
    std::map<Ref, std::pair<Ref, int>> m_within;
};

// An element list nested `depth` arrays deep.
QByteArray nestedBinary(int depth)
{
    BinaryPlistMaker maker;
    const auto top = maker.reserve();
    auto parent = top;
    for (int i = 1; i < depth; ++i) {
        const auto child = maker.reserve();
        maker.setArray(parent, {child});
        parent = child;
    }
    maker.setArray(parent, {});
    return maker.bytes(top);
}

QByteArray nestedXml(int depth)
{
    QByteArray xml = "<?xml version=\"1.0\"?><plist version=\"1.0\">";
    for (int i = 0; i < depth; ++i)
        xml += "<array>";
    for (int i = 0; i < depth; ++i)
        xml += "</array>";
    return xml + "</plist>";
}

// A list of `levels` arrays, each holding the next one twice: a few hundred bytes that expand
// to 2^levels copies of the last array.
QByteArray doublingBinary(int levels)
{
    BinaryPlistMaker maker;
    const auto key = maker.string("class");
    const auto name = maker.string("LMNText");
    auto below = maker.dict({key}, {name});
    for (int i = 0; i < levels; ++i)
        below = maker.array({below, below});
    return maker.bytes(below);
}

// An array holding `count` references to one shared text of `length` letters.
QByteArray flatBinary(int count, int length = 1)
{
    BinaryPlistMaker maker;
    const auto text = maker.string(QByteArray(length, 'x'));
    return maker.bytes(maker.array(std::vector<BinaryPlistMaker::Ref>(std::size_t(count), text)));
}

// An array holding itself, and a dictionary whose value leads back to the top.
QByteArray cyclicBinary(bool throughDictionary)
{
    BinaryPlistMaker maker;
    const auto top = maker.reserve();
    if (throughDictionary) {
        const auto key = maker.string("class");
        const auto element = maker.dict({key}, {top});
        maker.setArray(top, {element});
    } else {
        maker.setArray(top, {top});
    }
    return maker.bytes(top);
}

// An element whose second key and its value, a 16-byte integer, share bytes: `outer` is the
// key and the integer's marker lies `skip` bytes into it, or (keyInside) the other way round.
QByteArray sharingBytes(const QByteArray &outer, int skip, bool keyInside = false)
{
    BinaryPlistMaker maker;
    const auto key = maker.string("class"), name = maker.string("LMNText");
    const auto out = maker.raw(outer), in = maker.within(out, skip);
    return maker.bytes(maker.array({maker.dict({key, keyInside ? in : out}, {name, keyInside ? out : in})}));
}

struct Hostile
{
    const char *what;
    QByteArray data;
    const char *said;   // part of the refusal
};

// Keys whose bytes hold a 16-byte integer beyond 64 bits, which the reader rewrites as the
// nearest 64-bit number: rewritten, each key holds NUL characters or is no text at all.
std::vector<Hostile> keysSharingBytesWithWideIntegers()
{
    // Each key's text ends in the integer's marker.
    const QByteArray utf16Key("\x69\0\x14", 3), asciiKey("\x5F\x10\x11\x14", 4);
    return {
        {"UTF-16 key, positive integer", sharingBytes(utf16Key + QByteArray("\0A", 2).repeated(8), 2), "readable"},
        {"UTF-16 key, negative integer", sharingBytes(utf16Key + QByteArray("\x80" "A").repeated(8), 2), "readable"},
        {"ASCII key, positive integer", sharingBytes(asciiKey + QByteArray(16, 'A'), 3), "readable"},
        {"ASCII key, negative integer", sharingBytes(asciiKey + QByteArray(16, '\xC1'), 3), "readable"},
        {"key marker inside an integer", sharingBytes(QByteArray("\x14\x51" "c") + QByteArray(14, '\0'), 1, true),
         "readable"},
    };
}

std::vector<Hostile> hostileArchives()
{
    std::vector<Hostile> hostile = {
        {"XML nested 200,000 deep", nestedXml(200000), "nested"},
        {"binary nested 100,000 deep", nestedBinary(100000), "nested"},
        {"binary doubling 30 times", doublingBinary(30), "damaged"},
        {"binary array holding itself", cyclicBinary(false), "damaged"},
        {"binary cycle through an element", cyclicBinary(true), "damaged"},
    };
    for (Hostile &sharing : keysSharingBytesWithWideIntegers())
        hostile.push_back(std::move(sharing));
    return hostile;
}

} // namespace

TEST(HostileArchive, NestedExpandingAndCyclicListsAreRefusedBeforeParsing)
{
    for (const Hostile &hostile : hostileArchives()) {
        SCOPED_TRACE(hostile.what);
        QString error;
        EXPECT_FALSE(LMNGraphicArchive::decodeList(hostile.data, &error).has_value());
        EXPECT_TRUE(error.contains(QLatin1String("damaged")) && error.contains(QLatin1String(hostile.said)))
            << error.toStdString();
    }
    // The doubling list is small; what it would expand to is not. A list reached twice is
    // refused whether or not it would expand far. Shared texts are fine, each reference counted
    // against the limits as libplist's copy.
    EXPECT_LT(doublingBinary(30).size(), 1000);
    using R = PropertyListCheck::Result;
    PropertyListCheck::Limits few, shallow;
    few.maxObjects = shallow.maxObjects = 100;
    few.maxBytes = shallow.maxBytes = 990;
    shallow.maxDepth = 4;
    const std::tuple<const char *, QByteArray, PropertyListCheck::Limits, R> rows[] = {
        {"doubling 30", doublingBinary(30), {}, R::Shared}, {"doubling 1", doublingBinary(1), {}, R::Shared},
        {"doubling 0", doublingBinary(0), {}, R::Fine},
        {"100 values, 990 bytes", flatBinary(99, 10), few, R::Fine}, {"101 values", flatBinary(100, 1), few, R::TooLarge},
        {"1000 bytes", flatBinary(50, 20), few, R::TooLarge},
        {"4 deep", nestedBinary(4), shallow, R::Fine}, {"5 deep", nestedBinary(5), shallow, R::TooDeep},
    };
    for (const auto &[name, data, limits, result] : rows)
        EXPECT_EQ(PropertyListCheck::binary(data, limits), result) << name;
    for (const Hostile &sharing : keysSharingBytesWithWideIntegers())
        EXPECT_EQ(PropertyListCheck::binary(sharing.data), R::Malformed) << sharing.what;
}

TEST(HostileArchive, BrokenBinaryTablesAreRefused)
{
    BinaryPlistMaker goodMaker;
    const auto goodKey = goodMaker.string("class");
    const auto goodName = goodMaker.string("LMNText");
    const QByteArray good = goodMaker.bytes(goodMaker.array({goodMaker.dict({goodKey}, {goodName})}));
    ASSERT_TRUE(LMNGraphicArchive::decodeList(good, nullptr).has_value());
    auto patched = [&](qsizetype at, char value) {
        QByteArray copy = good;
        copy[at < 0 ? copy.size() + at : at] = value;
        return copy;
    };
    std::vector<QByteArray> broken = {
        good.left(good.size() - 1),            // trailer cut
        patched(-26, 0),                       // offset size 0
        patched(-25, 9),                       // reference size 9
        patched(-17, char(0x7f)),              // more objects than the offset table holds
        patched(-9, char(0x7f)),               // top object beyond the count
        patched(-1, char(0xff)),               // offset table beyond the data
        patched(8, char(0xAF)),                // a string marker turned into a long array
    };
    // A key holding a NUL character (libplist stops the process on reading it).
    BinaryPlistMaker maker;
    const auto key = maker.string(QByteArray("cl\0ss", 5));
    const auto name = maker.string("LMNText");
    broken.push_back(maker.bytes(maker.array({maker.dict({key}, {name})})));
    for (const QByteArray &data : broken) {
        QString error;
        EXPECT_FALSE(LMNGraphicArchive::decodeList(data, &error).has_value());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(HostileArchive, SharedTextsOfHonestWritersStillRead)
{
    // libplist writes equal texts and numbers once and references them again; a list of
    // many equal elements is such a list.
    GraphicList many;
    for (int i = 0; i < 2000; ++i) {
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        text->setText(QStringLiteral("Guest"));
        many << text;
    }
    QString error;
    const auto read = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList(many, true), &error);
    ASSERT_TRUE(read.has_value()) << error.toStdString();
    ASSERT_EQ(read->size(), 2000);
    EXPECT_EQ(read->last()->Text_Value, QStringLiteral("Guest"));
}

class HostilePaste : public CanvasTest
{
};

TEST_F(HostilePaste, HostileOrDamagedClipboardDataLeavesTheCardAloneWithAMessage)
{
    ScriptedModalSeam seam;
    add(QRectF(10, 20, 100, 30), GraphicKind::Text);
    std::vector<QByteArray> inputs = {"not a property list", QByteArray("bplist00\x01\x02", 10),
                                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><dict><key>class</key>"
                                      "<string>LMNText</string><key>_strokeWidth</key><string>wide</string></dict></array></plist>"};
    for (const Hostile &h : hostileArchives())
        inputs.push_back(h.data);
    for (const QByteArray &input : inputs) {
        auto *data = new QMimeData;
        data->setData(LMNGraphicViewPasteboardType, input);
        QGuiApplication::clipboard()->setMimeData(data);
        canvas->paste();
    }
    EXPECT_EQ(list().size(), 1);
    EXPECT_EQ(document.undoManager()->count(), 0);
    ASSERT_EQ(seam.messages.size(), qsizetype(inputs.size()));
    EXPECT_TRUE(seam.messages.at(2).text.contains(QLatin1String("cannot be pasted")));
    for (qsizetype i = 3; i < seam.messages.size(); ++i)
        EXPECT_TRUE(seam.messages.at(i).text.contains(QLatin1String("damaged"))) << seam.messages.at(i).text.toStdString();

    // Markup in a damaged key is quoted as the characters it is, and the FIFO its <img> names
    // is never opened (the seam lays out and draws the box).
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    for (const QString &key : named.markup()) {
        seam.messages.clear();
        auto *data = new QMimeData;
        data->setData(LMNGraphicViewPasteboardType,
                      "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><dict><key>class</key><string>LMNText</string><key>"
                          + key.toHtmlEscaped().toUtf8() + "</key><string>&bogus;</string></dict></array></plist>");
        QGuiApplication::clipboard()->setMimeData(data);
        canvas->paste();
        ASSERT_EQ(seam.messages.size(), 1);
        EXPECT_TRUE(seam.messages.at(0).text.contains(QLatin1Char('"') + key + QLatin1Char('"'))) << seam.messages.at(0).text.toStdString();
    }
    EXPECT_EQ(named.fifoOpened(), 0);
    EXPECT_EQ(list().size(), 1);
    QGuiApplication::clipboard()->clear();
}
