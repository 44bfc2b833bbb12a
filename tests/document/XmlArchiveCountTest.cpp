// The count of an XML element archive made before it is parsed, against what libplist reads
// from the bytes a reader hands it: crafted document types, comments, processing instructions
// and nested <plist> elements that hid elements from the count, and random archives of every
// such markup, where the count and libplist must agree (or the archive be refused).

#include "document/LMNGraphicArchive.h"
#include "document/PropertyListCheck.h"

#include <plist/plist.h>

#include <gtest/gtest.h>

#include <cstdint>
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
        case 2: return "<string>a<![CDATA[<dict/>]]><!-- <x/> -->b</string>";
        case 3: return chance(2) ? QByteArray("<true/>") : QByteArray("<integer>7</integer>");
        default: return chance(10) ? QByteArray("<array/><dict/>") : QByteArray("<dict/>");
        }
    }

    std::mt19937 m_random;
};

} // namespace

// Random archives: whenever the count lets one through, libplist reads from the bytes a reader
// hands it exactly as many top items and values as the count found (the count allows that many
// and refuses one fewer), or refuses them itself.
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
