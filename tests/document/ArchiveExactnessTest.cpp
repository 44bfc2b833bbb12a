// What the element archive keeps exactly: the binary property list's trailer as the format
// lays it out, and texts code point for code point through the clipboard's binary form, the
// XML form and Python's plistlib.

#include "document/BinaryPlistWriter.h"
#include "document/LMNGraphicArchive.h"

#include "support/TestHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

std::uint64_t bigEndian(const QByteArray &bytes, qsizetype at, int size)
{
    std::uint64_t v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | uchar(bytes[at + i]);
    return v;
}

plist_t texts(int count)
{
    plist_t array = plist_new_array();
    for (int i = 0; i < count; ++i)
        plist_array_append_item(array, plist_new_string(QByteArray("t" + QByteArray::number(i)).constData()));
    return array;
}

// Texts and what comes back: through the binary form (the clipboard) and through XML. NUL
// (libplist keeps C strings) and halves of surrogate pairs (no UTF-8 form) are left out,
// wherever they stand; everything else comes back.
struct TextCase
{
    const char *what;
    QString text;
    QString back;
};

const QList<TextCase> &textCases()
{
    static const QList<TextCase> cases = {
        {"a leading byte-order mark", QStringLiteral("\uFEFFHappy birthday"), QStringLiteral("\uFEFFHappy birthday")},
        {"nothing but two marks", QStringLiteral("\uFEFF\uFEFF"), QStringLiteral("\uFEFF\uFEFF")},
        {"marks inside and at the end", QStringLiteral("a\uFEFFb\uFEFF"), QStringLiteral("a\uFEFFb\uFEFF")},
        {"the swapped mark U+FFFE", QStringLiteral("\uFFFEx"), QStringLiteral("\uFFFEx")},
        {"beyond the first plane", QStringLiteral("\U0001F382\U0010FFFD"), QStringLiteral("\U0001F382\U0010FFFD")},
        {"a NUL", QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"), QStringLiteral("abcd")},
        {"NULs at both ends", QChar(0) + QStringLiteral("ab") + QChar(0), QStringLiteral("ab")},
        {"nothing but a NUL", QString(QChar(0)), QString()},
        {"a lone high surrogate", QString(QChar(0xD800)) + QStringLiteral("x"), QStringLiteral("x")},
        {"a lone low surrogate at the end", QStringLiteral("x") + QChar(0xDFFF), QStringLiteral("x")},
        {"halves in the wrong order", QString(QChar(0xDC00)) + QChar(0xD800), QString()},
        {"a high half before a pair", QString(QChar(0xD800)) + QStringLiteral("\U0001F382"), QStringLiteral("\U0001F382")},
        {"a pair before a low half", QStringLiteral("\U0001F382") + QChar(0xDC00), QStringLiteral("\U0001F382")},
        {"control characters but NUL", QStringLiteral("a\u0001\u001F\u007Fb"), QStringLiteral("a\u0001\u001F\u007Fb")},
    };
    return cases;
}

GraphicList textElements()
{
    GraphicList graphics;
    for (const TextCase &c : textCases()) {
        GraphicPtr g = LMNGraphic::create(GraphicKind::Text);
        g->setText(c.text);
        graphics << g;
    }
    return graphics;
}

} // namespace

TEST(ArchiveExactness, TheTrailerIsThe32BytesOfTheFormatRightAfterTheOffsetTable)
{
    struct Case
    {
        const char *what;
        int items;
        int offsetSize;
        int refSize;
    };
    const Case cases[] = {
        {"an empty list", 0, 1, 1},
        {"one-byte references", 200, 2, 1},
        {"two-byte references", 300, 2, 2},
        {"four-byte references", 70000, 4, 4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        plist_t tree = texts(c.items);
        const QByteArray bytes = BinaryPlistWriter::write(tree);
        plist_free(tree);
        ASSERT_GT(bytes.size(), 40);
        const qsizetype trailer = bytes.size() - 32;
        EXPECT_EQ(bytes.mid(trailer, 6), QByteArray(6, '\0')) << "five unused bytes and the sort version";
        EXPECT_EQ(int(bytes[trailer + 6]), c.offsetSize);
        EXPECT_EQ(int(bytes[trailer + 7]), c.refSize);
        const std::uint64_t count = bigEndian(bytes, trailer + 8, 8);
        EXPECT_EQ(count, std::uint64_t(c.items + 1));
        EXPECT_EQ(bigEndian(bytes, trailer + 16, 8), 0u) << "the top object";
        // The offset table ends where the trailer starts: no byte between them.
        const std::uint64_t table = bigEndian(bytes, trailer + 24, 8);
        EXPECT_EQ(table + count * std::uint64_t(c.offsetSize), std::uint64_t(trailer));
        // Its first offset is the top object's, right after the header.
        EXPECT_EQ(bigEndian(bytes, qsizetype(table), c.offsetSize), 8u);
    }
}

TEST(ArchiveExactness, TextsComeBackCodePointForCodePointInBothForms)
{
    const GraphicList graphics = textElements();
    for (bool binary : {true, false}) {
        SCOPED_TRACE(binary ? "binary" : "XML");
        QString error;
        const auto back = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList(graphics, binary), &error);
        ASSERT_TRUE(back) << error.toStdString();
        ASSERT_EQ(back->size(), textCases().size());
        for (int i = 0; i < back->size(); ++i) {
            EXPECT_EQ(back->at(i)->Text_Value, textCases()[i].back) << textCases()[i].what;
            EXPECT_EQ(back->at(i)->_Text_contents, textCases()[i].back) << textCases()[i].what;
        }
    }
}

TEST(ArchiveExactness, PythonPlistlibReadsTheClipboardsTextsAsTheyWent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("texts.bplist"));
    TestHelpers::writeFile(path, LMNGraphicArchive::encodeList(textElements(), true));
    // Code points as numbers: no JSON or terminal encoding in between.
    const QByteArray out = TestHelpers::runProgram(
        FESTILOOM_PYTHON, {"-c",
                           "import json, plistlib, sys\n"
                           "items = plistlib.load(open(sys.argv[1], 'rb'), fmt=plistlib.FMT_BINARY)\n"
                           "print(json.dumps([[ord(c) for c in e.get('Text_Value', '')] for e in items]))\n",
                           path});
    const QJsonArray seen = QJsonDocument::fromJson(out).array();
    ASSERT_EQ(seen.size(), textCases().size()) << out.toStdString();
    for (int i = 0; i < seen.size(); ++i) {
        QJsonArray expected;
        for (char32_t u : textCases()[i].back.toUcs4())
            expected << int(u);
        EXPECT_EQ(seen[i].toArray(), expected) << textCases()[i].what;
    }
}

TEST(ArchiveExactness, ArchivesOfMoreElementsThanPasteReadsAreRefusedBeforeParsing)
{
    // Elements of no values cost their record each: the count of elements is bounded apart
    // from the values.
    const auto emptyElements = [](std::uint64_t count) {
        BinaryPlistWriter writer;
        std::vector<uint64_t> items;
        plist_t empty = plist_new_dict();
        for (std::uint64_t i = 0; i < count; ++i)
            items.push_back(writer.add(empty));
        plist_free(empty);
        return writer.finish(writer.addArray(items));
    };
    struct Case
    {
        std::uint64_t count;
        bool read;
    };
    const Case cases[] = {{LMNGraphicArchive::MaximumElements, true}, {LMNGraphicArchive::MaximumElements + 1, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        const QByteArray archive = emptyElements(c.count);
        const QString refusal = LMNGraphicArchive::refusalBeforeParsing(archive);
        EXPECT_EQ(refusal.isEmpty(), c.read) << refusal.toStdString();
        if (!c.read) {
            EXPECT_TRUE(refusal.contains(QString::number(LMNGraphicArchive::MaximumElements))) << refusal.toStdString();
        }
    }
}

namespace {

// An XML archive of `count` elements written as `element`, as any writer may lay it out.
QByteArray xmlArchive(std::uint64_t count, const QByteArray &element)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                     "<plist version=\"1.0\">\n<array>\n";
    xml.reserve(xml.size() + qsizetype(count) * element.size() + 20);
    for (std::uint64_t i = 0; i < count; ++i)
        xml += element;
    return xml + "</array>\n</plist>\n";
}

} // namespace

// The XML form is held to the limits of the binary form, and refused before any parser builds
// a tree of it: the elements and the values are counted from the text.
TEST(ArchiveExactness, XmlArchivesAreHeldToTheLimitsOfBinaryOnes)
{
    const std::uint64_t most = LMNGraphicArchive::MaximumElements;
    struct Case
    {
        const char *what;
        QByteArray archive;
        bool read;
    };
    // One element holding a list of values: the values, not the elements, pass the limit.
    const std::uint64_t valuesAround = LMNGraphicArchive::MaximumValues - 4;   // the list, dictionary, key and array
    const Case cases[] = {
        {"as many elements as Paste reads", xmlArchive(most, "<dict/>\n"), true},
        {"one element more", xmlArchive(most + 1, "<dict/>\n"), false},
        {"one more, written with their class", xmlArchive(most + 1, "<dict><key>class</key><string>LMNGraphic</string></dict>"), false},
        {"too many values in one element",
         "<plist version=\"1.0\"><array><dict><key>x</key><array>" + QByteArray("<true/>").repeated(qsizetype(valuesAround + 1))
             + "</array></dict></array></plist>",
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString refusal = LMNGraphicArchive::refusalBeforeParsing(c.archive);
        EXPECT_EQ(refusal.isEmpty(), c.read) << refusal.toStdString();
        if (!c.read) {
            EXPECT_TRUE(refusal.contains(QStringLiteral("too large"))) << refusal.toStdString();
        }
        if (c.read) {
            QString error;
            const auto read = LMNGraphicArchive::decodeList(c.archive, &error);
            ASSERT_TRUE(read) << error.toStdString();
            EXPECT_EQ(std::uint64_t(read->size()), most);
        }
    }
}

// Both forms of one list count the same objects and top items: each passes a limit of exactly
// its count and fails one below it, whatever markup the XML holds besides its values.
TEST(ArchiveExactness, BothFormsCountTheSameValuesAndItems)
{
    const auto tree = [](int items, int keys) {
        plist_t array = plist_new_array();
        for (int i = 0; i < items; ++i) {
            plist_t dict = plist_new_dict();
            for (int k = 0; k < keys; ++k)
                plist_dict_set_item(dict, QByteArray("k" + QByteArray::number(k)).constData(),
                                    plist_new_string("<a> & \"b\" 'c'"));
            plist_array_append_item(array, dict);
        }
        return array;
    };
    struct Case
    {
        const char *what;
        int items, keys;
        std::uint64_t objects;   // the list, each dictionary, each key and value
    };
    const Case cases[] = {{"one empty dictionary", 1, 0, 2}, {"empty dictionaries", 3, 0, 4}, {"dictionaries of texts", 5, 3, 36}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        plist_t root = tree(c.items, c.keys);
        char *xmlText = nullptr;
        uint32_t length = 0;
        plist_to_xml(root, &xmlText, &length);
        QByteArray xml(xmlText, qsizetype(length));
        plist_to_xml_free(xmlText);
        // Markup that holds no value: a comment, CDATA and a processing instruction with tags inside.
        xml.replace("<array>", "<array><!-- <dict/> <true/> --><?pi <x/>?>");
        xml.replace("<key>k0</key>", "<key><![CDATA[k0]]><!-- <x> --></key>");
        const QByteArray forms[] = {BinaryPlistWriter::write(root), xml};
        plist_free(root);
        for (const QByteArray &form : forms) {
            SCOPED_TRACE(form.startsWith("bplist") ? "binary" : "XML");
            ASSERT_EQ(PropertyListCheck::any(form), PropertyListCheck::Result::Fine);
            PropertyListCheck::Limits limits;
            limits.maxObjects = c.objects;
            limits.maxTopItems = std::uint64_t(c.items);
            EXPECT_EQ(PropertyListCheck::any(form, limits), PropertyListCheck::Result::Fine);
            limits.maxObjects = c.objects - 1;
            EXPECT_EQ(PropertyListCheck::any(form, limits), PropertyListCheck::Result::TooLarge);
            if (c.items > 0) {
                limits.maxObjects = c.objects;
                limits.maxTopItems = std::uint64_t(c.items - 1);
                EXPECT_EQ(PropertyListCheck::any(form, limits), PropertyListCheck::Result::TooLarge);
            }
        }
    }
}
