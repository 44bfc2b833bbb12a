// The count of an XML element archive made before it is parsed, against what libplist reads
// from the bytes a reader hands it: crafted document types, comments, processing instructions
// and nested <plist> elements that hid elements from the count, and random archives of every
// such markup, where the count and libplist must agree (or the archive be refused).

#include "document/LMNGraphicArchive.h"
#include "document/PlistArray.h"
#include "document/PlistDictionary.h"
#include "document/PropertyListCheck.h"

#include "support/TestHelpers.h"

#include <plist/plist.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using R = PropertyListCheck::Result;

struct Reading
{
    bool read = false;
    std::uint64_t topItems = 0;   // of the top array or dictionary
    std::uint64_t values = 0;     // every node, dictionary keys included
};

std::uint64_t valuesUnder(plist_t node)
{
    std::uint64_t values = 1;
    if (plist_get_node_type(node) == PLIST_ARRAY) {
        for (uint32_t i = 0; i < plist_array_get_size(node); ++i)
            values += valuesUnder(plist_array_get_item(node, i));
    } else if (plist_get_node_type(node) == PLIST_DICT) {
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iter, &key, &value);
            std::free(key);
            if (!value)
                break;
            values += 1 + valuesUnder(value);
        }
        std::free(iter);
    }
    return values;
}

// What libplist makes of the bytes.
Reading libplistReads(QByteArrayView bytes)
{
    plist_t root = nullptr;
    plist_from_xml(bytes.data(), uint32_t(bytes.size()), &root);
    Reading reading;
    if (!root)
        return reading;
    reading.read = true;
    if (plist_get_node_type(root) == PLIST_ARRAY)
        reading.topItems = plist_array_get_size(root);
    else if (plist_get_node_type(root) == PLIST_DICT)
        reading.topItems = plist_dict_get_size(root);
    // The top value is a value too, as the count has it.
    reading.values = valuesUnder(root);
    plist_free(root);
    return reading;
}

// The whole tree as text: every value with its type, texts and data byte for byte, dictionaries
// in their order.
std::string dump(plist_t node)
{
    char number[64];
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t v = 0;
        plist_get_bool_val(node, &v);
        return v ? "true" : "false";
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        return "int " + std::to_string(int64_t(v));
    }
    case PLIST_REAL:
    case PLIST_DATE: {
        double v = 0;
        if (plist_get_node_type(node) == PLIST_REAL) {
            plist_get_real_val(node, &v);
        } else {
            int32_t sec = 0, usec = 0;
            plist_get_date_val(node, &sec, &usec);
            v = sec + usec / 1e6;
        }
        std::snprintf(number, sizeof number, "%.17g", v);
        return (plist_get_node_type(node) == PLIST_REAL ? "real " : "date ") + std::string(number);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return "text[" + std::string(text, length) + "]";
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *bytes = plist_get_data_ptr(node, &length);
        return "data[" + std::string(bytes ? bytes : "", bytes ? length : 0) + "]";
    }
    case PLIST_ARRAY: {
        std::string text = "(";
        PlistArray::forEach(node, [&](uint32_t, plist_t item) { text += dump(item) + ","; });
        return text + ")";
    }
    case PLIST_DICT: {
        std::string text = "{";
        PlistDictionary::forEach(node, [&](const char *key, plist_t value) { text += std::string(key) + "=" + dump(value) + ";"; });
        return text + "}";
    }
    default:
        return "?";
    }
}

// What PropertyListCheck::read makes of the data, as dump() gives it, or "refused".
std::string weRead(const QByteArray &data, QString *problem = nullptr)
{
    plist_t root = nullptr;
    const R result = PropertyListCheck::read(data, PropertyListCheck::Limits(), &root, problem);
    const std::string text = result == R::Fine ? dump(root) : "refused";
    plist_free(root);
    return text;
}

// What libplist's XML reader made of the bytes, as dump() gives it, or "refused".
std::string libplistRead(QByteArrayView bytes)
{
    plist_t root = nullptr;
    plist_from_xml(bytes.data(), uint32_t(bytes.size()), &root);
    const std::string text = root ? dump(root) : "refused";
    plist_free(root);
    return text;
}

PropertyListCheck::Limits topItems(std::uint64_t most)
{
    PropertyListCheck::Limits limits;
    limits.maxTopItems = most;
    return limits;
}

QByteArray dictionaries(int count)
{
    return QByteArray("<dict/>").repeated(count);
}

QByteArray listOf(int count)
{
    return "<plist><array>" + dictionaries(count) + "</array></plist>";
}

} // namespace

// Each kind of markup that hid elements from the count: with three top items allowed, a list
// of four is refused, and what a reader hands libplist of an archive that passes holds no more
// than the count found. Every row holds a list of four that libplist reads from the whole data.
TEST(XmlArchiveCount, CraftedMarkupHidesNoElementFromTheCount)
{
    struct Row
    {
        const char *what;
        QByteArray data;
        R result;
    };
    const QByteArray four = listOf(4);
    const Row rows[] = {
        {"a '[' in a double-quoted system literal", "<!DOCTYPE plist SYSTEM \"x[y\">" + four, R::TooLarge},
        {"a '[' in a single-quoted literal, a list after the root", "<!DOCTYPE plist SYSTEM 'x[y'><plist><array/></plist><!-- ]>" + four + " -->", R::Fine},
        {"a public identifier with brackets", "<!DOCTYPE plist PUBLIC \"-//[x]//EN\" 'a]b'>" + four, R::TooLarge},
        {"an internal subset with a comment holding ']>'", "<!DOCTYPE plist [<!-- ]>" + four + " -->]><plist><array/></plist>", R::Fine},
        {"an entity value holding ']>'", "<!DOCTYPE plist [<!ENTITY e ']>" + four + "'>]><plist><array/></plist>", R::Fine},
        {"a processing instruction in the subset holding ']>'", "<!DOCTYPE plist [<?pi ]>" + four + " ?>]><plist><array/></plist>", R::Fine},
        {"an internal subset of declarations, then the list",
         "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ELEMENT plist ANY><!ATTLIST plist version CDATA \"1.0\"><!-- [ -->"
         "<?pi [?><!ENTITY e \"]\">]>" + four, R::TooLarge},
        {"a list inside the list", "<plist><plist><array>" + dictionaries(4) + "</array></plist></plist>", R::TooLarge},
        {"a list inside the top array", "<plist><array><plist>" + dictionaries(4) + "</plist></array></plist>", R::TooLarge},
        {"lists inside lists inside the top array",
         "<plist><array><plist><dict/><plist><dict/><dict/></plist></plist><dict/></array></plist>", R::TooLarge},
        {"a second value in the list", "<plist><array/>" + dictionaries(4) + "</plist>", R::Malformed},
        {"a double quote in a processing instruction",
         "<plist><array><?x \"?><!-- \" ?>" + dictionaries(4) + "<?y \"--> \" ?></array></plist>", R::Malformed},
        {"a document type inside the list", "<plist><array><!DOCTYPE x>" + dictionaries(4) + "</array></plist>", R::Malformed},
        {"a '<' in an attribute value", "<plist><array a=\"<dict/>\">" + dictionaries(4) + "</array></plist>", R::Malformed},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_GE(libplistReads(row.data).topItems, 4u) << "the row is no test of the count";
        QByteArrayView parserInput;
        EXPECT_EQ(PropertyListCheck::xml(row.data, topItems(3), &parserInput), row.result);
        if (row.result == R::Fine) {
            const Reading reading = libplistReads(parserInput);
            EXPECT_TRUE(reading.read);
            EXPECT_LE(reading.topItems, 3u);
        }
    }
    // libplist knows only double quotes: in a single-quoted attribute value, one hides from it
    // all up to the next, and a '>' ends the tag. Its reading and XML's part ways.
    for (const QByteArray &data : {QByteArray("<plist><array><dict a='\"'/>" + dictionaries(4) + "<dict b='\"'/></array></plist>"),
                                   QByteArray("<plist><array><string a='>'>x</string></array></plist>")})
        EXPECT_EQ(PropertyListCheck::xml(data, topItems(10)), R::Malformed) << data.toStdString();
}

// Our reader reads every detail of the values as libplist's XML reader did, so stored lists open
// as they always have: texts with their references, CDATA, comments and line ends; numbers of
// every form libplist took; base64 with spaces, stray characters and padding; dates; keys in
// and out of dictionaries; and refuses what libplist refused.
TEST(XmlArchiveCount, TheReaderReadsEveryValueAsLibplistDid)
{
    const char *const values[] = {
        "<string>a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&apos;</string>",
        "<string>&#65;&#x42;&#X43;&#x1F600;&#xD800;&#xFFFE;&# 65;&#+65;&#x10FFFF;</string>",
        "<string>&ampx;&ltq;&gtz;&quotx;&aposy;</string>",   // libplist knows references by their start
        "<string>a&</string>", "<string>x&amp;</string>", "<string>&</string>",
        "<string>a<![CDATA[<&amp;>]]>b<!-- c -->d</string>",
        "<string>line\r\nend\rcr\n</string>", "<string>  spaces  </string>", "<string/>", "<string></string>",
        "<string>caf\xC3\xA9 \xE2\x82\xAC</string>", "<string>\xFF\xFEnot UTF-8</string>",
        "<integer>0</integer>", "<integer>-1</integer>", "<integer> 42 </integer>", "<integer>+7</integer>",
        "<integer>0x1F</integer>", "<integer>-0x10</integer>", "<integer>9223372036854775807</integer>",
        "<integer>-9223372036854775808</integer>", "<integer>1<!-- x -->2</integer>", "<integer><![CDATA[34]]></integer>",
        "<real>1.5</real>", "<real> -2.25e3</real>", "<real>nan</real>", "<real>inf</real>", "<real>-inf</real>",
        "<real>0x1p3</real>", "<real/>", "<real>abc</real>", "<real>1,5</real>", "<real>-0.0</real>",
        "<data>AAEC</data>", "<data> AA EC </data>", "<data>\n\tAAECAw==\n</data>", "<data>A=EC</data>",
        "<data>AAE</data>", "<data>AA*EC</data>", "<data/>", "<data></data>", "<data>AAECAw==AAEC</data>",
        "<data>AAECA===</data>", "<data>AA=CAw==</data>", "<data>=AAA</data>", "<data>&amp;AAEC</data>",
        "<data><![CDATA[AAEC]]></data>",
        "<date>2001-01-01T00:00:00Z</date>", "<date>2020-05-06T07:08:09Z</date>", "<date/>", "<date>junk</date>",
        "<date>2020-05-06</date>", "<date> 2020-05-06T07:08:09Z</date>",
        "<true/>", "<false/>", "<true>ignored</true>", "<false></false>",
        "<array><key>k</key><key/></array>", "<key>top</key>",
        "<dict><key>a</key><key>b</key><key>c</key></dict>",
        "<dict><key>a</key><integer>1</integer><key>b</key><integer>2</integer><key>a</key><integer>3</integer></dict>",
        "<dict><key>dangling</key></dict>", "<dict><key/><true/></dict>", "<dict><key></key><true/></dict>",
        "<dict><key>a</key><key/></dict>", "<dict><key>a</key><true/><key/></dict>",
        "<dict><key a=\"/>\"></key><true/></dict>", "<dict><key>a&amp;b</key><true/></dict>",
        "<array><plist><true/></plist><plist><plist><false/></plist></plist></array>",
        "<dict><key>a</key><plist><true/></plist></dict>",
        "<array a=\"1\"><string b=\"2\">x</string><true/><!-- c --><?pi x?>\n</array>",
        "<dict><key>CF$UID</key><integer>5</integer></dict>",
        // Refused by both.
        "<string>&foo;</string>", "<string>a&b</string>", "<string>&;</string>", "<string>x&#65</string>",
        "<string>&#0;</string>", "<string>&#x110000;</string>", "<string>&#00000065;</string>", "<string>&#65a;</string>",
        "<string>&amp<!-- ; -->x;</string>", "<string>a<b/>c</string>", "<dict><string>x</string></dict>",
        "<array> x <true/></array>", "<array><![CDATA[x]]></array>", "<array><plist></plist></array>",
        "<array><foo/></array>", "<uid>5</uid>", "<integer><x/></integer>",
    };
    for (const char *value : values) {
        const QByteArray data = QByteArray("<plist>") + value + "</plist>";
        SCOPED_TRACE(data.toStdString());
        EXPECT_EQ(weRead(data), libplistRead(data));
    }
    // A dictionary large enough to be searched by hashing, its keys given again and again.
    QByteArray keys = "<plist><dict>";
    for (int i = 0; i < 3000; ++i)
        keys += "<key>k" + QByteArray::number(i * 7 % 1000) + "</key><integer>" + QByteArray::number(i) + "</integer>";
    keys += "</dict></plist>";
    EXPECT_EQ(weRead(keys), libplistRead(keys));

    // Data of every length modulo 3 (base64 without padding, with "==", with "="), as Python's
    // plistlib writes it, reads back byte for byte under the limits of Open and of Paste.
    const QByteArray data[] = {"", "\xFF", QByteArray("\0\x80", 2), "\x01\xFE\x7F", "\xFB\xEF\xBE\xFF", "abcde"};
    QStringList hex;
    std::string expected = "(";
    for (const QByteArray &bytes : data) {
        hex << QString::fromLatin1(bytes.toHex());
        expected += "data[" + bytes.toStdString() + "],";
    }
    const QByteArray written = TestHelpers::runProgram(
        FESTILOOM_PYTHON, QStringList{"-c", "import plistlib, sys\n"
                                            "sys.stdout.buffer.write(plistlib.dumps([bytes.fromhex(h) for h in sys.argv[1:]]))"} + hex);
    for (const PropertyListCheck::Limits &limits : {PropertyListCheck::Limits(), LMNGraphicArchive::readingLimits()}) {
        plist_t root = nullptr;
        ASSERT_EQ(PropertyListCheck::read(written, limits, &root), R::Fine) << written.toStdString();
        EXPECT_EQ(dump(root), expected + ")") << written.toStdString();
        plist_free(root);
    }
}

// Whole numbers are read as what they say or refused: libplist read one beyond 64 bits as its
// last 64 bits and anything else as the number it began with. One beyond 64 bits reads as the
// nearest 64-bit number (which every field refuses as out of range), and the list that holds
// no whole number where one belongs is refused naming its key; leading zeros are decimal, as
// other readers have them.
TEST(XmlArchiveCount, WholeNumbersAreReadAsTheySayOrRefused)
{
    const std::pair<const char *, const char *> read[] = {
        {"99999999999999999999", "int 9223372036854775807"},
        {"18446744073709551615", "int 9223372036854775807"},
        {"9223372036854775808", "int 9223372036854775807"},
        {"-99999999999999999999", "int -9223372036854775808"},
        {"-9223372036854775809", "int -9223372036854775808"},
        {"0x10000000000000000", "int 9223372036854775807"},
        {"010", "int 10"},
    };
    for (const auto &[text, reading] : read) {
        SCOPED_TRACE(text);
        EXPECT_EQ(weRead(QByteArray("<plist><integer>") + text + "</integer></plist>"), reading);
    }
    for (const char *text : {"abc", "", " ", "1e3", "12abc", "&#49;", "0x", "--1", "1 2", "1.0"}) {
        SCOPED_TRACE(text);
        QString problem;
        EXPECT_EQ(weRead(QByteArray("<plist><dict><key>text_alignmnet</key><integer>") + text + "</integer></dict></plist>",
                         &problem),
                  "refused");
        EXPECT_TRUE(problem.contains("\"text_alignmnet\" holds <integer>")) << problem.toStdString();
        EXPECT_TRUE(problem.contains("not a whole number")) << problem.toStdString();
    }
    QString problem;
    EXPECT_EQ(weRead("<plist><array><true/><integer/></array></plist>", &problem), "refused");
    EXPECT_TRUE(problem.contains("item 2 of its list")) << problem.toStdString();
}

// At the real limit, on the reader's road: every crafted archive of MaximumElements + 1 plain
// elements is refused as too large, and one of MaximumElements is read.
TEST(XmlArchiveCount, CraftedArchivesPastTheElementLimitAreRefusedOnPaste)
{
    const int most = int(LMNGraphicArchive::MaximumElements);
    const auto crafted = [](int count) {
        const QByteArray list = listOf(count);
        return std::vector<std::pair<const char *, QByteArray>>{
            {"quoted '['", "<!DOCTYPE plist SYSTEM \"x[y\">" + list},
            {"a list inside the list", "<plist>" + list + "</plist>"},
            {"a list inside the top array",
             "<plist><array><plist>" + dictionaries(count) + "</plist></array></plist>"},
        };
    };
    for (const auto &[what, data] : crafted(most + 1)) {
        SCOPED_TRACE(what);
        QString error;
        EXPECT_FALSE(LMNGraphicArchive::decodeList(data, &error).has_value());
        EXPECT_TRUE(error.contains(QLatin1String("too large to read"))) << error.toStdString();
    }
    for (const auto &[what, data] : crafted(most)) {
        SCOPED_TRACE(what);
        QString error;
        const std::optional<GraphicList> read = LMNGraphicArchive::decodeList(data, &error);
        ASSERT_TRUE(read.has_value()) << error.toStdString();
        EXPECT_EQ(read->size(), most);
    }
}

namespace {

// Random XML property lists of the markup the count steps over or into: document types with
// literals of either quote and internal subsets, comments, CDATA, processing instructions,
// lists inside lists, and now and then markup libplist reads otherwise.
class RandomArchive
{
public:
    explicit RandomArchive(std::uint32_t seed) : m_random(seed) {}

    QByteArray make()
    {
        QByteArray out;
        if (chance(2))
            out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        if (chance(3))
            out += misc();
        if (chance(2))
            out += documentType();
        out += misc();
        out += "<plist version=\"1.0\">" + value(0) + "</plist>";
        out += misc();
        if (chance(6))
            out += "<!-- " + hidden() + " -->";
        return out;
    }

private:
    bool chance(int oneIn) { return std::uniform_int_distribution<int>(0, oneIn - 1)(m_random) == 0; }
    int upTo(int most) { return std::uniform_int_distribution<int>(0, most)(m_random); }

    // A list libplist would find if it read markup the wrong way.
    QByteArray hidden() { return "]>" + listOf(upTo(6)); }

    // Text for a literal or a comment: brackets, quotes and markup that means nothing there.
    QByteArray fragment(char quote)
    {
        static const char *const pieces[] = {"x", "[", "]", ">", "]>", "<", "<dict/>", "\"", "'", "?", "-", " "};
        QByteArray text;
        for (int i = upTo(5); i > 0; --i) {
            const QByteArray piece = chance(8) ? hidden() : QByteArray(pieces[upTo(std::size(pieces) - 1)]);
            if (!piece.contains(quote) && !(quote == '-' && piece.contains('-')) && !(quote == '?' && piece.contains('?')))
                text += piece;
        }
        return text;
    }

    QByteArray literal()
    {
        const char quote = chance(2) ? '"' : '\'';
        return quote + fragment(quote) + quote;
    }

    QByteArray comment() { return "<!--" + fragment('-') + "-->"; }
    QByteArray instruction() { return "<?pi " + fragment('?') + "?>"; }

    QByteArray misc()
    {
        QByteArray text;
        for (int i = upTo(2); i > 0; --i)
            text += chance(2) ? comment() : (chance(2) ? instruction() : QByteArray("\n"));
        return text;
    }

    QByteArray documentType()
    {
        QByteArray text = "<!DOCTYPE plist";
        switch (upTo(2)) {
        case 1: text += " SYSTEM " + literal(); break;
        case 2: text += " PUBLIC " + literal() + " " + literal(); break;
        default: break;
        }
        if (chance(2)) {
            text += " [";
            for (int i = upTo(4); i > 0; --i) {
                switch (upTo(4)) {
                case 0: text += "<!ENTITY e" + QByteArray::number(i) + " " + literal() + ">"; break;
                case 1: text += comment(); break;
                case 2: text += instruction(); break;
                case 3: text += "<!ATTLIST plist version CDATA " + literal() + ">"; break;
                default: text += "<!ELEMENT plist ANY>"; break;
                }
            }
            text += "]";
        }
        return text + ">";
    }

    // Markup between the items of a list: none of it is an item.
    QByteArray between()
    {
        if (chance(3))
            return {};
        switch (upTo(4)) {
        case 0: return "<!-- <dict/> <true/> -->";
        case 1: return "<?pi <dict/>?>";
        case 2: return chance(4) ? QByteArray("<?pi \"?><!-- \" ?><dict/><?pi \"--> \" ?>") : QByteArray("\n  ");
        case 3: return chance(6) ? QByteArray("<!DOCTYPE x>") : QByteArray(" ");
        default: return comment();
        }
    }

    QByteArray value(int depth)
    {
        // Now and then a value stands inside a <plist> of its own.
        if (chance(8))
            return "<plist>" + value(depth) + "</plist>";
        const int kind = depth >= 3 ? 2 + upTo(3) : upTo(5);
        switch (kind) {
        case 0: {
            QByteArray text = chance(4) ? QByteArray("<array a='x'>") : QByteArray("<array>");
            for (int i = upTo(6); i > 0; --i)
                text += between() + value(depth + 1);
            return text + between() + "</array>";
        }
        case 1: {
            QByteArray text = "<dict>";
            for (int i = upTo(4); i > 0; --i)
                text += between() + "<key>k" + QByteArray::number(i) + "</key>" + between() + value(depth + 1);
            return text + "</dict>";
        }
        case 2: {
            static const char *const texts[] = {
                "<string>a<![CDATA[<dict/>]]><!-- <x/> -->b</string>", "<string>&amp;&lt;&#233;&#x1F382;\r\n</string>",
                "<key>k</key>", "<string/>", "<data>\n\tAAEC\n\tAw==\n</data>", "<date>2024-02-29T12:00:00Z</date>",
            };
            return texts[upTo(std::size(texts) - 1)];
        }
        case 3: {
            static const char *const scalars[] = {
                "<true/>", "<integer>7</integer>", "<integer> -12 </integer>", "<integer>0x7f</integer>",
                "<real>0.1</real>", "<real>-1e300</real>", "<false/>",
            };
            return scalars[upTo(std::size(scalars) - 1)];
        }
        default: return chance(10) ? QByteArray("<array/><dict/>") : QByteArray("<dict/>");
        }
    }

    std::mt19937 m_random;
};

} // namespace

// Random archives: whenever the count lets one through, libplist reads from the bytes a reader
// would hand it exactly as many top items and values as the count found (the count allows that
// many and refuses one fewer), or refuses them itself; where it reads them, our reader reads
// the same values.
TEST(XmlArchiveCount, CountAgreesWithLibplistOnRandomArchives)
{
    int agreed = 0, refusedByCount = 0, refusedByLibplist = 0;
    for (std::uint32_t seed = 1; seed <= 4000; ++seed) {
        const QByteArray data = RandomArchive(seed).make();
        SCOPED_TRACE(data.toStdString());
        QByteArrayView parserInput;
        if (PropertyListCheck::xml(data, PropertyListCheck::Limits(), &parserInput) != R::Fine) {
            ++refusedByCount;
            continue;
        }
        const Reading reading = libplistReads(parserInput);
        if (!reading.read) {
            ++refusedByLibplist;
            continue;
        }
        ++agreed;
        // Our reader makes the very values libplist made.
        EXPECT_EQ(weRead(data), libplistRead(parserInput));
        EXPECT_EQ(PropertyListCheck::xml(data, topItems(reading.topItems)), R::Fine);
        if (reading.topItems > 0) {
            EXPECT_EQ(PropertyListCheck::xml(data, topItems(reading.topItems - 1)), R::TooLarge);
        }
        PropertyListCheck::Limits values;
        values.maxObjects = reading.values;
        EXPECT_EQ(PropertyListCheck::xml(data, values), R::Fine);
        values.maxObjects = reading.values - 1;
        EXPECT_EQ(PropertyListCheck::xml(data, values), R::TooLarge);
        if (HasFailure())
            return;
    }
    // Most archives are read by both: the agreement is no empty claim.
    EXPECT_GT(agreed, 2000) << refusedByCount << " refused by the count, " << refusedByLibplist << " by libplist";
    RecordProperty("agreed", agreed);
    RecordProperty("refusedByCount", refusedByCount);
    RecordProperty("refusedByLibplist", refusedByLibplist);
}
