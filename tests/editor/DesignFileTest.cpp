// The design file: a full round trip, the file as Python's plistlib reads it, the shape of the
// card sheet surviving the file; files that must not open (missing, truncated, foreign,
// damaged) and saves that fail without harming the file already there; numbers out of their
// field's range and designs near the size limit.

#include "editor/DesignFile.h"

#include "document/DocumentGlobals.h"
#include "document/ElementClipboard.h"
#include "document/ElementStateChange.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNImage.h"
#include "document/PaintStyles.h"
#include "support/BigPictures.h"
#include "support/HeapCounter.h"
#include "support/TestHelpers.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QStringEncoder>

#include <csignal>
#include <limits>
#include <optional>
#include <sys/resource.h>

namespace {

Card_Property unusualRecord(const QString &side, int seed)
{
    Card_Property r;
    r.Card_border_chk = true;
    r.Card_fill_chk = seed % 2 == 0;
    r.Card_bordr_clr = QColor(10 + seed, 20, 30);
    r.Card_fill_clr = QColor::fromRgbF(0.25f, 0.5f, 0.75f, 0.37f);
    r.Card_fill_Grd_1_clr = QColor(200, 100, 50, 128);
    r.Card_fill_Grd_2_clr = QColor(1, 2, 3, 4);
    r.Card_hatch_bk_clr = QColor(255, 255, 0, 90);
    r.Card_bor_Stepper = 7 + seed;
    r.Card_grad_Stepper = -45;
    r.Card_Cat_index = -1;
    r.Card_alpha_Stepper = 0.37f;
    r.Card_border_style = QStringLiteral("DDD");
    r.Card_fill_style = QStringLiteral("H");
    r.Card_hatch_style = QStringLiteral("Diagonal Lines");
    r.Card_Side = QStringLiteral("1");
    r.Card_Side_Name = side;
    r.Card_Shape = QStringLiteral("RR");
    r.Card_Name = QStringLiteral("Grand-mère's 80th <party> & \"friends\" \u2728");
    r.Card_Preset = QStringLiteral("Vertical");
    r.Card_Category = QStringLiteral("Paper Card");
    r.Card_Sub_Category = QStringLiteral("A6 Card");
    r.Card_Create_Mode = QStringLiteral("W");
    r.Card_BG_Image_Path = QStringLiteral("/home/anna/Pictures/balloons %1.png").arg(seed);
    r.Card_BG_Image_Layout = QStringLiteral("Tile");
    r.Card_Location = QPointF(0.1, 1.0 / 3.0);
    r.Card_Size = QSizeF(419.5275590551, 297.6377952756 + seed);
    r.Card_Content_clr = QColor(12, 34, 56);
    r.Card_Content_font = CardFont(QStringLiteral("TimesNewRomanPS-BoldItalicMT"), 17.5);
    return r;
}

GraphicList someElements(int count, const QString &prefix)
{
    const GraphicKind kinds[] = {GraphicKind::Text, GraphicKind::Line, GraphicKind::Image, GraphicKind::Shape,
                                 GraphicKind::Signature, GraphicKind::Barcode};
    GraphicList list;
    for (int i = 0; i < count; ++i) {
        GraphicPtr g = LMNGraphic::create(kinds[i % 6]);
        g->setBounds(QRectF(10 + i, 20 + 2 * i, 100.25, 40.5));
        g->control_ID = QStringLiteral("%1_%2").arg(prefix).arg(i);
        g->setText(QStringLiteral("Happy birthday, %1!\nLine two").arg(i));
        g->_fillColor = QColor(i * 7 % 256, 100, 200, 180);
        g->alpha_val = 0.5f;
        g->_shape_type = QStringLiteral("S");
        if (g->kind() == GraphicKind::Image) {
            QImage picture(3, 2, QImage::Format_ARGB32);
            picture.fill(QColor(255, 0, 0, 128));
            g->_image = picture;
            g->_file_path = QStringLiteral("/tmp/picture.png");
        }
        list << g;
    }
    return list;
}

CardDesign fullDesign()
{
    CardDesign d;
    d.Front_card_Prop = unusualRecord(QStringLiteral("F"), 0);
    d.Back_card_Prop = unusualRecord(QStringLiteral("B"), 1);
    d.Card_Shape = 1;
    d.Excel_Binding_Use = true;
    d.Excel_Source_Path = QStringLiteral("/home/anna/guests.xlsx");
    d.Excel_Column_Titles = {QStringLiteral("No."), QStringLiteral("Name"), QStringLiteral("Table & seat")};
    d.Excel_Records = {{{"Extension", "1"}, {"Column1", "Anna"}, {"Column2", "3 <window>"}},
                       {{"Extension", "2"}, {"Column1", "Zoë"}, {"Column2", ""}}};
    d.graphics = someElements(7, QStringLiteral("F"));
    d.graphics_back = someElements(3, QStringLiteral("B"));
    return d;
}

QByteArray archives(const GraphicList &list)
{
    return LMNGraphicArchive::encodeList(list, false);
}

void expectSameDesign(const CardDesign &a, const CardDesign &b)
{
    EXPECT_TRUE(a.Front_card_Prop == b.Front_card_Prop);
    EXPECT_TRUE(a.Back_card_Prop == b.Back_card_Prop);
    EXPECT_EQ(a.Card_Shape, b.Card_Shape);
    EXPECT_EQ(a.Excel_Binding_Use, b.Excel_Binding_Use);
    EXPECT_EQ(a.Excel_Source_Path, b.Excel_Source_Path);
    EXPECT_EQ(a.Excel_Column_Titles, b.Excel_Column_Titles);
    EXPECT_EQ(a.Excel_Records, b.Excel_Records);
    ASSERT_EQ(a.graphics.size(), b.graphics.size());
    ASSERT_EQ(a.graphics_back.size(), b.graphics_back.size());
    for (int i = 0; i < a.graphics.size(); ++i)
        EXPECT_EQ(a.graphics[i]->kind(), b.graphics[i]->kind());
    EXPECT_EQ(archives(a.graphics), archives(b.graphics));
    EXPECT_EQ(archives(a.graphics_back), archives(b.graphics_back));
}

} // namespace

TEST(DesignFile, RoundTripKeepsEveryFieldAndElement)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Birthday.") + DesignFile::Extension);
    const CardDesign original = fullDesign();
    QString error;
    ASSERT_TRUE(DesignFile::write(path, original, &error)) << error.toStdString();

    const std::optional<CardDesign> back = DesignFile::read(path, &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    expectSameDesign(original, *back);
    // The elements' pictures come back with them.
    EXPECT_EQ(back->graphics[2]->_image.pixelColor(1, 1), QColor(255, 0, 0, 128));
    EXPECT_TRUE(back->graphics[0] != original.graphics[0]) << "new elements, not the saved objects";

    // A second save of what was read writes the same bytes.
    EXPECT_EQ(DesignFile::toXml(*back), DesignFile::toXml(original));

    // The same file in UTF-16 (with its byte-order mark, or without one in either byte order,
    // as XML allows) opens as the same design.
    const QString text = QString::fromUtf8(DesignFile::toXml(original)).replace("encoding=\"UTF-8\"", "encoding=\"UTF-16\"");
    for (const auto encoding : {QStringConverter::Utf16, QStringConverter::Utf16BE, QStringConverter::Utf16LE}) {
        QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
        QByteArray utf16 = encoder(text);
        if (encoding != QStringConverter::Utf16)
            utf16.remove(0, 2);
        const std::optional<CardDesign> wide = DesignFile::fromXml(utf16, &error);
        ASSERT_TRUE(wide.has_value()) << error.toStdString();
        expectSameDesign(original, *wide);
    }
}

TEST(DesignFile, FreshDesignRoundTripsWithEmptyBindingAndNoElements)
{
    CardDesign fresh;
    const std::optional<CardDesign> back = DesignFile::fromXml(DesignFile::toXml(fresh), nullptr);
    ASSERT_TRUE(back.has_value());
    expectSameDesign(fresh, *back);
    EXPECT_EQ(back->Front_card_Prop.Card_Sub_Category, "CR80-Credit Card Size");
    EXPECT_FLOAT_EQ(back->Front_card_Prop.Card_alpha_Stepper, 100.0f);
}

TEST(DesignFile, SheetShapeComesBackFromTheRecordsShapeText)
{
    for (int shape : {0, 1, 2}) {
        CardDesign design;
        design.Card_Shape = shape;
        // The records' text may lag behind the sheet (only the side in work is read back).
        design.Front_card_Prop.Card_Shape = QStringLiteral("R");
        design.Back_card_Prop.Card_Shape = QStringLiteral("R");
        const std::optional<CardDesign> back = DesignFile::fromXml(DesignFile::toXml(design), nullptr);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Card_Shape, shape);
        EXPECT_EQ(back->Front_card_Prop.Card_Shape, Card_Property::shapeCode(shape));
        EXPECT_EQ(back->Back_card_Prop.Card_Shape, Card_Property::shapeCode(shape));
    }
}

TEST(DesignFile, PythonPlistlibReadsTheFileAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Check.dcard"));
    CardDesign design = fullDesign();
    // Characters XML cannot hold are dropped rather than making the file unreadable.
    design.Front_card_Prop.Card_Name = QStringLiteral("Tab\there\x01\x0b end");
    design.graphics[0]->setText(QStringLiteral("Bell\x07 and form feed\x0c"));
    ASSERT_TRUE(DesignFile::write(path, design, nullptr));

    const char *script = R"(
import json, plistlib, sys
with open(sys.argv[1], "rb") as f:
    items = plistlib.load(f)
def colour(c): return [round(x, 6) for x in c]
front, back = items[1:29], items[29:57]
print(json.dumps({
    "count": len(items),
    "magic": items[0],
    "front": [front[0], front[1], colour(front[3]), front[7], front[9], round(front[10], 6), front[11], front[16],
              front[17], front[24], front[25], front[27]],
    "back_side": back[15],
    "binding": items[57:61],
    "front_classes": [e["class"] for e in items[61]],
    "back_ids": [e["control_ID"] for e in items[62]],
    "first_text": items[61][0]["Text_Value"],
}))
)";
    const QByteArray out = TestHelpers::runProgram(QStringLiteral(FESTILOOM_PYTHON), {QStringLiteral("-c"), QString::fromUtf8(script), path});
    const QJsonObject o = QJsonDocument::fromJson(out).object();
    ASSERT_FALSE(o.isEmpty()) << out.toStdString();
    EXPECT_EQ(o["count"].toInt(), 63);
    EXPECT_EQ(o["magic"].toString(), "QOVAMACBDAYINVITECARD");

    // Card_border_chk, Card_fill_chk, Card_fill_clr, Card_bor_Stepper, Card_Cat_index,
    // Card_alpha_Stepper, Card_border_style, Card_Shape (from the sheet's number), Card_Name
    // without control characters, Card_Location, Card_Size, Card_Content_font.
    const QColor fill = design.Front_card_Prop.Card_fill_clr;
    auto r6 = [](double v) { return std::round(v * 1e6) / 1e6; };
    const QJsonArray expected{true, true, QJsonArray{r6(fill.redF()), r6(fill.greenF()), r6(fill.blueF()), r6(fill.alphaF())},
                              7, -1, 0.37, "DDD", "RR", "Tab\there end", QJsonArray{0.1, 1.0 / 3.0},
                              QJsonArray{419.5275590551, 297.6377952756},
                              QJsonObject{{"postScriptName", "TimesNewRomanPS-BoldItalicMT"}, {"pointSize", 17.5}}};
    EXPECT_EQ(o["front"].toArray(), expected) << QJsonDocument(o["front"].toArray()).toJson().toStdString();
    EXPECT_EQ(o["back_side"].toString(), "B");

    const QJsonArray binding = o["binding"].toArray();
    EXPECT_TRUE(binding[0] == "Y" && binding[1] == "/home/anna/guests.xlsx" && binding[2].toArray().size() == 3);
    EXPECT_EQ(binding[3].toArray()[1].toObject()["Column1"].toString(), QStringLiteral("Zoë"));

    EXPECT_EQ(o["front_classes"].toArray(),
              (QJsonArray{"LMNText", "LMNLine", "LMNImage", "Shape_Control", "LMNSignature", "LMNBarcode", "LMNText"}));
    EXPECT_EQ(o["back_ids"].toArray(), (QJsonArray{"B_0", "B_1", "B_2"}));
    EXPECT_EQ(o["first_text"].toString(), "Bell and form feed");
}

namespace {

CardDesign smallDesign(const QString &name)
{
    CardDesign design;
    design.Front_card_Prop.Card_Name = name;
    design.Front_card_Prop.Card_fill_chk = true;
    for (int i = 0; i < 3; ++i) {
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        text->setText(QStringLiteral("Guest %1").arg(i));
        text->text_alignmnet = 1;
        design.graphics << text;
    }
    return design;
}

// Refused, with a reason that names the file and says `said`.
::testing::AssertionResult refused(const QString &path, const char *said = "")
{
    QString error;
    if (DesignFile::read(path, &error))
        return ::testing::AssertionFailure() << "opened " << path.toStdString();
    if (!error.contains(path) || !error.contains(QLatin1String(said)))
        return ::testing::AssertionFailure() << "reason does not name the file or say \"" << said << "\": " << error.toStdString();
    return ::testing::AssertionSuccess();
}

class DesignFileRefusal : public ::testing::Test
{
protected:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QByteArray valid() const { return DesignFile::toXml(smallDesign(QStringLiteral("Valid"))); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DesignFileRefusal, EveryTruncationIsRefused)
{
    const QByteArray whole = valid();
    ASSERT_TRUE(DesignFile::fromXml(whole, nullptr).has_value());
    // Cut everywhere in the first part, then at steps through the rest, and just before the end.
    QList<qsizetype> cuts;
    for (qsizetype n = 1; n < 400; ++n)
        cuts << n;
    for (qsizetype n = 400; n < whole.size() - 9; n += 97)   // without the last line break it is whole
        cuts << n;
    for (qsizetype n = whole.size() - 30; n < whole.size() - 9; ++n)
        cuts << n;
    for (qsizetype n : cuts) {
        QString error;
        EXPECT_FALSE(DesignFile::fromXml(whole.left(n), &error).has_value()) << "cut at " << n;
        EXPECT_FALSE(error.isEmpty());
    }

    EXPECT_TRUE(refused(TestHelpers::writeFile(file("cut.dcard"), whole.left(whole.size() / 2)), "incomplete"));
}

TEST_F(DesignFileRefusal, ForeignMissingEmptyAndFolderFilesAreRefused)
{
    const QList<QPair<const char *, QByteArray>> foreign = {
        {"settings", R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict><key>SendEmailSMTP</key><string>smtp.example.org</string></dict></plist>)"},
        {"other array", R"(<?xml version="1.0"?><plist version="1.0"><array><string>SOMETHINGELSE</string><true/></array></plist>)"},
        {"number first", R"(<?xml version="1.0"?><plist version="1.0"><array><integer>1</integer></array></plist>)"},
        {"web page", "<!DOCTYPE html><html><body><p>Hello</p></body></html>"},
        {"binary", QByteArray("bplist00\xd1\x01\x02SabcSdef\x08\x0b\x0f\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x03"
                              "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x13", 51)},
        {"picture", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16)},
        {"text", "Dear Anna,\nsee you on Saturday!\n"},
        {"text after a byte-order mark", "\xEF\xBB\xBF  this is not a design"},
    };
    for (const auto &[name, bytes] : foreign) {
        QString error;
        EXPECT_FALSE(DesignFile::fromXml(bytes, &error).has_value()) << name;
        EXPECT_TRUE(error.contains("not a Festiloom design")) << name << ": " << error.toStdString();
    }
    EXPECT_TRUE(refused(TestHelpers::writeFile(file("note.dcard"), "this is not a design"), "The file is not a Festiloom design."));

    // Missing, empty and folder paths.
    EXPECT_TRUE(refused(file("nothing.dcard"), "does not exist"));
    EXPECT_TRUE(refused(TestHelpers::writeFile(file("empty.dcard"), {}), "empty"));

    QDir(m_dir.path()).mkdir("folder.dcard");
    EXPECT_TRUE(refused(file("folder.dcard")));
}

TEST_F(DesignFileRefusal, DamagedContentsAreRefusedNamingWhatIsWrongButExtraItemsAreIgnored)
{
    const QByteArray whole = valid();
    auto damaged = [&](const QByteArray &from, const QByteArray &to, int occurrence = 0) {
        QByteArray copy = whole;
        qsizetype at = -1;
        for (int i = 0; i <= occurrence; ++i)
            at = copy.indexOf(from, at + 1);
        EXPECT_GE(at, 0) << from.toStdString();
        return copy.replace(at, from.size(), to);
    };

    QByteArray withRecord = DesignFile::toXml([] {
        CardDesign d;
        d.Excel_Records = {{{"Extension", "1"}}};
        return d;
    }());
    withRecord.replace("<string>1</string>", "<integer>1</integer>");   // a spreadsheet value that is not text
    QByteArray badElement = whole;   // an element whose field has the wrong type refuses the whole design
    const qsizetype value = badElement.indexOf("<integer>", badElement.indexOf("<key>text_alignmnet</key>"));
    badElement.replace(value, badElement.indexOf("</integer>", value) + 10 - value, "<string>left</string>");
    // A key before each element of a list, as no list holds: small, so refused as damaged.
    QByteArray keyed = whole;
    keyed.replace(whole.lastIndexOf("<array/>"), 8, "<array>" + QByteArray("<key>k</key><dict/>").repeated(4001) + "</array>");
    QByteArray shorter = whole;   // items missing from the end
    ASSERT_GE(whole.lastIndexOf("<array/>"), 0) << "the back side has no elements";
    shorter.remove(whole.lastIndexOf("<array/>"), 8);
    const std::vector<std::tuple<const char *, QByteArray, std::vector<const char *>>> rows = {
        {"a flag holding text", damaged("<false/>", "<string>no</string>"), {"Card_border_chk", "front side"}},
        {"an integer beyond its field", damaged("<integer>1</integer>", "<integer>99999999999</integer>"), {"Card_bor_Stepper"}},
        {"an integer beyond 64 bits", damaged("<integer>1</integer>", "<integer>99999999999999999999</integer>"),
         {"Card_bor_Stepper", "out of range"}},
        {"a negative integer beyond 64 bits", damaged("<integer>1</integer>", "<integer>-99999999999999999999</integer>"),
         {"Card_bor_Stepper", "out of range"}},
        {"an integer of 64 bits unsigned", damaged("<integer>1</integer>", "<integer>18446744073709551615</integer>"),
         {"Card_bor_Stepper", "out of range"}},
        {"an integer of no digits", damaged("<integer>1</integer>", "<integer>abc</integer>"),
         {"damaged", "<integer>abc</integer>", "not a whole number"}},
        {"an empty integer", damaged("<integer>1</integer>", "<integer/>"), {"damaged", "not a whole number"}},
        {"a colour of three components", damaged("<real>1</real>", "", 0), {"colour"}},
        {"a record value not text", withRecord, {"spreadsheet records"}},
        {"an element field of the wrong type", badElement, {"front side's elements"}},
        {"items missing", shorter, {"incomplete"}},
        {"not XML in the middle", damaged("<array>", "<array><<"), {"damaged"}},
        {"a key before each element", keyed, {"The file is damaged"}},
    };
    for (const auto &[name, bytes, said] : rows) {
        QString error;
        EXPECT_FALSE(DesignFile::fromXml(bytes, &error).has_value()) << name;
        for (const char *part : said)
            EXPECT_TRUE(error.contains(QLatin1String(part))) << name << ": " << error.toStdString();
    }

    // Extra items from a later version are ignored.
    EXPECT_TRUE(DesignFile::fromXml(QByteArray(whole).insert(whole.lastIndexOf("</array>"), "<string>added later</string>"),
                                    nullptr)
                    .has_value());
}

TEST_F(DesignFileRefusal, DeeplyNestedValuesAreRefusedBeforeParsing)
{
    QByteArray deep = R"(<?xml version="1.0"?><plist version="1.0"><array><string>QOVAMACBDAYINVITECARD</string>)";
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    QString error;
    EXPECT_FALSE(DesignFile::fromXml(deep, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    for (int i = 0; i < 100000; ++i)
        deep += "</array>";
    deep += "</array></plist>";
    EXPECT_FALSE(DesignFile::fromXml(deep, &error).has_value());
    EXPECT_TRUE(error.contains("nested")) << error.toStdString();
}

// The design read is the one checked: markup before the root that libplist would read as the
// end of the document type (a "]>" in a comment of the internal subset, in a single-quoted
// literal) hides no other design from the check.
TEST_F(DesignFileRefusal, MarkupBeforeTheRootHidesNoOtherDesign)
{
    const auto rootOf = [](const QByteArray &xml) { return xml.mid(xml.indexOf("<plist")); };
    const QByteArray shown = rootOf(DesignFile::toXml(CardDesign()));
    const QByteArray hidden = rootOf(DesignFile::toXml(fullDesign())).replace("'", "&apos;");
    ASSERT_FALSE(hidden.contains("--"));
    ASSERT_TRUE(DesignFile::fromXml(hidden, nullptr).has_value());
    const QByteArray files[] = {
        "<?xml version=\"1.0\"?><!DOCTYPE plist [<!-- ]>" + hidden + " -->]>" + shown,
        "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY e ']>" + hidden + "'>]>" + shown,
        "<?xml version=\"1.0\"?><!DOCTYPE plist SYSTEM 'x[y'>" + shown + "<!-- ]>" + hidden + " -->",
    };
    for (const QByteArray &file : files) {
        QString error;
        const std::optional<CardDesign> read = DesignFile::fromXml(file, &error);
        ASSERT_TRUE(read.has_value()) << error.toStdString();
        EXPECT_TRUE(read->graphics.isEmpty());
        EXPECT_TRUE(read->graphics_back.isEmpty());
    }
}

TEST_F(DesignFileRefusal, FailedSaveKeepsThePreviousFileAndSaysWhy)
{
    const QString path = file("Party.dcard");
    ASSERT_TRUE(DesignFile::write(path, smallDesign(QStringLiteral("First")), nullptr));
    const QByteArray before = TestHelpers::readFile(path);

    // A new version far larger than the file-size limit: the write fails part way.
    CardDesign big = smallDesign(QStringLiteral("Second"));
    for (int i = 0; i < 200; ++i)
        big.graphics << LMNGraphic::create(GraphicKind::Shape);
    ASSERT_GT(DesignFile::toXml(big).size(), before.size() * 4);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = rlim_t(before.size() * 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    QString error;
    const bool saved = DesignFile::write(path, big, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(TestHelpers::readFile(path), before);
    const std::optional<CardDesign> still = DesignFile::read(path, &error);
    ASSERT_TRUE(still.has_value()) << error.toStdString();
    EXPECT_EQ(still->Front_card_Prop.Card_Name, "First");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"Party.dcard"}) << "no temporary file is left";

    // A folder that does not exist.
    EXPECT_FALSE(DesignFile::write(file("no/such/folder/x.dcard"), big, &error));
    EXPECT_TRUE(error.contains("could not be saved")) << error.toStdString();
}

namespace {

using TestHelpers::readFile;
using TestHelpers::writeFile;

// The file of a fresh design with one stored number replaced by `value`: the n-th <real> of
// the front record (0: Card_alpha_Stepper, 1-2: Card_Location, 3-4: Card_Size).
QByteArray withFrontReal(int n, const QByteArray &value)
{
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(360, 504);
    QByteArray xml = DesignFile::toXml(design);
    // The front record's numbers follow its three integers.
    qsizetype at = xml.indexOf("<integer>");
    for (int i = 0; i <= n; ++i)
        at = xml.indexOf("<real>", at + 1);
    const qsizetype end = xml.indexOf("</real>", at) + 7;
    return xml.replace(at, end - at, "<real>" + value + "</real>");
}

// Opens the file in Python's plistlib, a reader we did not write; returns Card_alpha_Stepper
// of the front record and Card_Size of the back record.
QJsonArray plistlibOpacityAndBackSize(const QString &path)
{
    const QByteArray out = TestHelpers::runProgram(
        QStringLiteral(FESTILOOM_PYTHON),
        {QStringLiteral("-c"),
         QStringLiteral("import json, plistlib, sys\n"
                        "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
                        "print(json.dumps([items[11], items[54]]))\n"),
         path});
    return QJsonDocument::fromJson(out).array();
}

} // namespace

TEST(DesignFileLimits, NumbersOutOfRangeAreClampedOrRefusedAndNeverSavedUnreadable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Range.dcard"));
    struct Case
    {
        const char *what;
        int real;
        QByteArray value;
        bool opens;
        float alpha;   // when it opens
    };
    const Case cases[] = {
        {"opacity beyond float", 0, "1e39", true, 100.0f},
        {"negative opacity", 0, "-5", true, 0.0f},
        {"a fraction of opacity", 0, "0.25", true, 0.25f},
        {"a place far off the card", 1, "1e39", false, 0},
        {"a card size beyond float", 4, "-1e300", false, 0},
        {"a size that is not a number", 3, "nan", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, withFrontReal(c.real, c.value));
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(path, &error);
        ASSERT_EQ(design.has_value(), c.opens) << error.toStdString();
        if (!design) {
            EXPECT_TRUE(error.contains("front side")) << error.toStdString();
            continue;
        }
        EXPECT_EQ(design->Front_card_Prop.Card_alpha_Stepper, c.alpha);
        // Saving what was opened gives a file that opens again.
        ASSERT_TRUE(DesignFile::write(path, *design, &error)) << error.toStdString();
        EXPECT_TRUE(DesignFile::read(path, &error).has_value()) << error.toStdString();
    }

    // Numbers that cannot be stored as they are never reach the file: it opens, here and in plistlib.
    // (The back record's size is stored but never sizes the card, which the front's does.)
    CardDesign odd;
    odd.Front_card_Prop.Card_alpha_Stepper = std::numeric_limits<float>::infinity();
    odd.Back_card_Prop.Card_Size = QSizeF(std::numeric_limits<double>::quiet_NaN(), 1e300);
    odd.Front_card_Prop.Card_Content_font.pointSize = -std::numeric_limits<double>::infinity();
    GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
    text->alpha_val = std::numeric_limits<float>::infinity();
    text->setBounds(QRectF(0, 0, std::numeric_limits<double>::quiet_NaN(), 10));
    odd.graphics << text;
    QString error;
    ASSERT_TRUE(DesignFile::write(path, odd, &error)) << error.toStdString();
    EXPECT_FALSE(readFile(path).contains("inf")) << "a number that is not finite was written";
    const std::optional<CardDesign> back = DesignFile::read(path, &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    EXPECT_EQ(back->Front_card_Prop.Card_alpha_Stepper, 100.0f);
    EXPECT_EQ(back->Back_card_Prop.Card_Size, QSizeF(0, 1e6));
    EXPECT_EQ(back->graphics.first()->alpha_val, std::numeric_limits<float>::max());
    EXPECT_EQ(plistlibOpacityAndBackSize(path), QJsonArray({100.0, QJsonArray({0.0, 1e6})}));
}

// Save and Open leave out, code point by code point, what XML 1.0 cannot hold (NUL and the
// other control characters but tab, line feed and carriage return, U+FFFE, U+FFFF, halves of
// surrogate pairs) wherever a text stands, and keep everything else: the element's text, a
// spreadsheet record and the background record alike.
TEST(DesignFile, TextsLoseExactlyWhatXmlCannotHold)
{
    const QChar nul(0), high(0xD83C), low(0xDF82);
    struct Case
    {
        const char *what;
        QString text, back;
    };
    const Case cases[] = {
        {"a NUL inside", QStringLiteral("ab") + nul + QStringLiteral("cd"), QStringLiteral("abcd")},
        {"a NUL first", nul + QStringLiteral("ab"), QStringLiteral("ab")},
        {"a lone high half", QString(high) + QStringLiteral("x"), QStringLiteral("x")},
        {"a lone low half", QStringLiteral("x") + low, QStringLiteral("x")},
        {"a pair", QString(high) + low, QString(high) + low},
        {"a pair after a lone half", QString(high) + high + low, QString(high) + low},
        {"controls", QStringLiteral("a\u0001\u0008\u000B\u000C\u001F\u007Fb"), QStringLiteral("a\u007Fb")},
        {"tab, line feed, carriage return", QStringLiteral("a\tb\nc\rd"), QStringLiteral("a\tb\nc\rd")},
        {"U+FFFE and U+FFFF", QStringLiteral("a\uFFFE\uFFFFb\uFFFD"), QStringLiteral("ab\uFFFD")},
        {"a byte-order mark", QStringLiteral("\uFEFFa\uFEFF"), QStringLiteral("\uFEFFa\uFEFF")},
        {"beyond the first plane", QStringLiteral("\U0010FFFD\U0001F382"), QStringLiteral("\U0010FFFD\U0001F382")},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CardDesign design;
        design.Front_card_Prop.Card_Name = c.text;
        design.Excel_Column_Titles = {QStringLiteral("Row"), QStringLiteral("Name")};
        design.Excel_Records = {{{QStringLiteral("Extension"), QStringLiteral("1")}, {QStringLiteral("Column1"), c.text}}};
        GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
        text->setText(c.text);
        design.graphics << text;
        const QString path = dir.filePath(QStringLiteral("Texts.dcard"));
        QString error;
        ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
        const std::optional<CardDesign> back = DesignFile::read(path, &error);
        ASSERT_TRUE(back.has_value()) << error.toStdString();
        const auto codePoints = [](const QString &t) { return t.toUcs4(); };
        EXPECT_EQ(codePoints(back->Front_card_Prop.Card_Name), codePoints(c.back));
        EXPECT_EQ(codePoints(back->Excel_Records.value(0).value(QStringLiteral("Column1"))), codePoints(c.back));
        ASSERT_EQ(back->graphics.size(), 1);
        EXPECT_EQ(codePoints(back->graphics[0]->Text_Value), codePoints(c.back));
    }
}

// The records are costed without writing them: what they add to the file libplist writes is
// exactly their counted bytes, and to the opening cost exactly their counted cost, whatever
// their texts hold.
TEST(DesignFileLimits, RecordsCostExactlyWhatTheyAddToTheFile)
{
    using Record = QMap<QString, QString>;
    const QString escapes = QStringLiteral("<a> & <<b>> &amp; \"q\" 'x'");
    const QString mixed = QStringLiteral("Zoë \u20AC \U0001F382 \uFEFF") + QChar(0) + QChar(0xD800) + QStringLiteral("\u0001\uFFFE\t");
    struct Case
    {
        const char *what;
        QList<Record> records;
    };
    const Case cases[] = {
        {"none", {}},
        {"one without keys", {Record()}},
        {"plain", {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}, {"Column1", ""}}}},
        {"escapes", {{{"Extension", "1"}, {"Column1", escapes}, {"Col<&>", escapes}}}},
        {"characters XML cannot hold and beyond ASCII", {{{"Extension", "1"}, {"Column1", mixed}}, Record()}},
    };
    CardDesign design = smallDesign(QStringLiteral("Costed"));
    const QByteArray without = DesignFile::toXml(design);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        design.Excel_Records = c.records;
        const QByteArray with = DesignFile::toXml(design);
        const DesignRecordBudget::Cost cost = DesignRecordBudget::costOf(c.records);
        EXPECT_EQ(cost.bytes, with.size() - without.size());
        EXPECT_EQ(cost.openingCost, DesignFile::openingCost(with) - DesignFile::openingCost(without));
    }
    // The titles and the workbook path an import brings with its records, the same way.
    struct Binding
    {
        const char *what;
        QStringList titles;
        QString path;
    };
    const Binding bindings[] = {
        {"neither", {}, {}},
        {"a path alone", {}, QStringLiteral("/home/ann/Guests & <friends>.xlsx")},
        {"one empty title", {QString()}, {}},
        {"titles and path", {QStringLiteral("Row"), escapes, mixed}, QStringLiteral("/tmp/\U0001F382 Zo\u00EB.xlsx")},
    };
    design.Excel_Records.clear();
    for (const Binding &b : bindings) {
        SCOPED_TRACE(b.what);
        design.Excel_Column_Titles = b.titles;
        design.Excel_Source_Path = b.path;
        const QByteArray with = DesignFile::toXml(design);
        const DesignRecordBudget::Cost cost = DesignRecordBudget::costOfBinding(b.titles, b.path);
        EXPECT_EQ(cost.bytes, with.size() - without.size());
        EXPECT_EQ(cost.openingCost, DesignFile::openingCost(with) - DesignFile::openingCost(without));
    }
}

// A design whose records its file cannot hold is refused at once: Save costs the records
// before it builds a property-list tree and text of them, which take many times their memory.
// At the limit, exactly what fits is saved.
TEST(DesignFileLimits, SaveRefusesRecordsTooLargeBeforeBuildingTheFile)
{
    CardDesign design = smallDesign(QStringLiteral("Records"));
    design.Excel_Binding_Use = true;
    design.Excel_Column_Titles = {QStringLiteral("Row"), QStringLiteral("Name"), QStringLiteral("Note")};
    for (int i = 1; i <= 20000; ++i)
        design.Excel_Records.append({{QStringLiteral("Extension"), QString::number(i)},
                                     {QStringLiteral("Column1"), QStringLiteral("Guest %1").arg(i)},
                                     {QStringLiteral("Column2"), QString(60, QLatin1Char('n'))}});
    const qint64 size = DesignFile::toXml(design).size();
    const DesignRecordBudget::Cost records = DesignRecordBudget::costOf(design.Excel_Records);
    ASSERT_GT(records.bytes, size / 2);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Records.dcard"));
    writeFile(path, "before");
    struct Case
    {
        const char *what;
        qint64 maximumSize;
        bool saved;
    };
    const Case cases[] = {
        {"records alone too large", records.bytes - 1, false},
        {"records with the rest too large", size - 1, false},
        {"exactly at the limit", size, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QString error;
        std::optional<HeapCounter> heap;
        if (HeapCounter::available())
            heap.emplace();
        const bool saved = DesignFile::write(path, design, &error, c.maximumSize);
        const qint64 peak = heap ? heap->peak() : 0;
        EXPECT_EQ(saved, c.saved) << error.toStdString();
        if (saved)
            continue;
        EXPECT_TRUE(error.contains(QStringLiteral("too large: it would take"))) << error.toStdString();
        EXPECT_EQ(readFile(path), "before");
        // Refused within a small part of what the records take themselves.
        if (heap) {
            EXPECT_LT(peak, records.bytes / 4) << "the refusal took " << peak << " bytes";
        }
    }
}

TEST(DesignFileLimits, SparseElementsDoNotGrowOnSavingAndTooLargeDesignsAreNotSaved)
{
    // A design written by someone else whose elements hold only their kind.
    QByteArray xml = DesignFile::toXml(CardDesign());
    QByteArray elements = "<array>";
    for (int i = 0; i < 3000; ++i)
        elements += "<dict><key>class</key><string>LMNText</string><key>Text_Value</key><string>g</string></dict>";
    elements += "</array>";
    const qsizetype front = xml.lastIndexOf("<array/>", xml.lastIndexOf("<array/>") - 1);
    ASSERT_GT(front, 0);
    xml.replace(front, 8, elements);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sparse.dcard"));
    writeFile(path, xml);
    QString error;
    const std::optional<CardDesign> design = DesignFile::read(path, &error);
    ASSERT_TRUE(design.has_value()) << error.toStdString();
    ASSERT_EQ(design->graphics.size(), 3000);

    const QString saved = dir.filePath(QStringLiteral("Saved.dcard"));
    ASSERT_TRUE(DesignFile::write(saved, *design, &error)) << error.toStdString();
    const qint64 size = readFile(saved).size();
    EXPECT_LT(size, 2 * xml.size()) << "the saved design grew from " << xml.size() << " to " << size << " bytes";
    ASSERT_TRUE(DesignFile::read(saved, &error).has_value()) << error.toStdString();

    // Over the limit: Save says why and leaves the file as it was; Open refuses the same.
    const QByteArray before = readFile(saved);
    EXPECT_FALSE(DesignFile::write(saved, *design, &error, size - 1));
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    EXPECT_EQ(readFile(saved), before);
    EXPECT_TRUE(DesignFile::write(saved, *design, &error, size)) << error.toStdString();
    EXPECT_FALSE(DesignFile::read(saved, &error, size - 1).has_value());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}

TEST(DesignFileLimits, DenseFilesAreRefusedForWhatTheyWouldCostBeforeAnyParsing)
{
    // Files under the size limit whose values would open in more than 1 GB, and a large
    // design of real elements that opens; the elements array of an empty design filled.
    const auto withElements = [](const QByteArray &element, int count) {
        QByteArray xml = DesignFile::toXml(CardDesign());
        const qsizetype front = xml.lastIndexOf("<array/>", xml.lastIndexOf("<array/>") - 1);
        return xml.replace(front, 8, "<array>" + element.repeated(count) + "</array>");
    };
    QByteArray keyed = "<dict><key>class</key><string>Shape_Control</string>";
    for (int k = 1; k < 52; ++k)
        keyed += "<key>n" + QByteArray::number(k) + "</key><true/>";
    keyed += "</dict>";
    CardDesign real;
    for (int i = 0; i < 2000; ++i) {
        GraphicPtr g = LMNGraphic::create(i % 2 ? GraphicKind::Text : GraphicKind::Barcode);
        g->setText(QStringLiteral("Guest %1").arg(i));
        real.graphics << g;
    }
    struct Case
    {
        const char *name;
        QByteArray xml;
        bool opens;
    };
    const Case cases[] = {
        {"1,000,000 empty elements in 7 MB", withElements("<dict/>", 1000000), false},
        {"80,000 elements of 52 keys in 91 MB", withElements(keyed, 80000), false},
        {"the same with a space in each tag", withElements(QByteArray(keyed).replace("<dict>", "<dict >"), 80000), false},
        {"2,000 texts and barcodes", DesignFile::toXml(real), true},
    };
    QTemporaryDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LT(c.xml.size(), DesignFile::MaximumFileSize);
        const QString path = dir.filePath(QStringLiteral("Dense.dcard"));
        writeFile(path, c.xml);
        QString error;
        const std::optional<CardDesign> design = DesignFile::read(path, &error);
        EXPECT_EQ(design.has_value(), c.opens) << error.toStdString();
        if (!c.opens) {
            EXPECT_TRUE(error.contains("The file is too large to be a design: opening it would take about")
                        && error.contains("MB of memory, more than the 768 MB a design may take."))
                << error.toStdString();
        }
    }
}

// Every picture Save writes comes back from Open pixel for pixel, past Qt's own limit too:
// phone photos, a grey scan, a large PNG and a QR Code made at 2400 dpi.
TEST(DesignFile, LargePicturesOpenBackPixelForPixel)
{
    QTemporaryDir dir;
    for (const BigPictures::Kind kind : BigPictures::all()) {
        SCOPED_TRACE(BigPictures::name(kind));
        const bool barcode = kind == BigPictures::Kind::QrCode;
        CardDesign design;
        design.Front_card_Prop.Card_Size = QSizeF(360, 504);
        GraphicPtr g = LMNGraphic::create(barcode ? GraphicKind::Barcode : GraphicKind::Image);
        g->setBounds(QRectF(10, 10, 200, 150));
        QImage &held = barcode ? g->_barcode_image : g->_image;
        held = BigPictures::picture(kind);
        design.graphics << g;
        const QString path = dir.filePath(QStringLiteral("%1.dcard").arg(BigPictures::name(kind)));
        QString error;
        ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
        const std::optional<CardDesign> opened = DesignFile::read(path, &error);
        ASSERT_TRUE(opened) << error.toStdString();
        EXPECT_TRUE(opened->lostPictures.isEmpty()) << opened->lostPictures.value(0).toStdString();
        ASSERT_EQ(opened->graphics.size(), 1);
        const QImage &back = barcode ? opened->graphics.at(0)->_barcode_image : opened->graphics.at(0)->_image;
        ASSERT_EQ(back.size(), held.size());
        EXPECT_TRUE(back.convertToFormat(held.format()) == held);
    }
}

namespace {

// The SHA-256 of each picture's data as Python's plistlib reads the file at `path`: a design
// ("design": its front elements) or an element archive ("archive"), keyed "<element>:<field>".
QMap<QString, QByteArray> storedPictureHashes(const QString &path, const char *form)
{
    const QByteArray out = TestHelpers::runProgram(
        QStringLiteral(FESTILOOM_PYTHON),
        {QStringLiteral("-c"),
         QStringLiteral("import hashlib, plistlib, sys\n"
                        "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
                        "for i, e in enumerate(items[61] if sys.argv[2] == 'design' else items):\n"
                        "    for key in ('_image', '_barcode_image'):\n"
                        "        if key in e: print('%d:%s %s' % (i, key, hashlib.sha256(e[key]).hexdigest()))\n"),
         path, QString::fromLatin1(form)});
    QMap<QString, QByteArray> hashes;
    for (const QByteArray &line : out.split('\n'))
        if (const QList<QByteArray> parts = line.split(' '); parts.size() == 2)
            hashes.insert(QString::fromLatin1(parts[0]), parts[1]);
    return hashes;
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

// A picture is stored as the bytes it came in, on every road through a design: a photo stays
// the camera's file byte for byte, and comes back as exactly the pixels Insert gave (upright,
// for a photo taken sideways). A picture the program makes, or one whose pixels change, is
// stored as PNG; once stored, it too keeps its bytes.
TEST(DesignFile, EveryRoadStoresAPictureAsTheBytesItCameIn)
{
    QTemporaryDir dir;
    const QImage photo = BigPictures::photo(QSize(320, 200), 24);
    const QByteArray colourJpeg = BigPictures::encoded(photo, "jpg");
    struct Picture
    {
        const char *name;
        QByteArray file;     // empty: a barcode the designer made
        QSize upright;
    };
    const Picture pictures[] = {
        {"colour JPEG", colourJpeg, {320, 200}},
        {"JPEG turned by EXIF orientation 6", BigPictures::withOrientation(colourJpeg, 6), {200, 320}},
        {"grey JPEG", BigPictures::encoded(photo.convertToFormat(QImage::Format_Grayscale8), "jpg"), {320, 200}},
        {"PNG with alpha", BigPictures::encoded(BigPictures::pattern(QSize(90, 70), QImage::Format_ARGB32), "png"), {90, 70}},
        {"barcode", {}, {}},
    };
    enum class Road { InsertSaveOpen, CopyPaste, OpenSave, Duplicate, UndoneReplace, ChangedPicture };
    const std::pair<Road, const char *> roads[] = {
        {Road::InsertSaveOpen, "Insert, Save, Open"}, {Road::CopyPaste, "Copy, Paste"},
        {Road::OpenSave, "Open, Save"},               {Road::Duplicate, "Duplicate, Save"},
        {Road::UndoneReplace, "Replace, Undo, Save"}, {Road::ChangedPicture, "pixels changed, Save, Open"},
    };
    const QString other = TestHelpers::writeFile(dir.filePath(QStringLiteral("other.png")), BigPictures::smallPng(Qt::green));

    for (const Picture &p : pictures) {
        const bool barcode = p.file.isEmpty();
        QImage LMNGraphic::*const field = barcode ? &LMNGraphic::_barcode_image : &LMNGraphic::_image;
        const QString key = barcode ? QStringLiteral("0:_barcode_image") : QStringLiteral("0:_image");
        const QString file = dir.filePath(QStringLiteral("%1.picture").arg(p.name));
        if (!barcode)
            TestHelpers::writeFile(file, p.file);
        for (const auto &[road, roadName] : roads) {
            SCOPED_TRACE(std::string(p.name) + ", " + roadName);
            GraphicPtr g = LMNGraphic::create(barcode ? GraphicKind::Barcode : GraphicKind::Image);
            g->setBounds(QRectF(10, 10, 200, 150));
            QString message;
            if (barcode)
                g->Set_Barcode_image(BarcodeGenerator::picture(BigPictures::qrCodeSettings(30, 300)));
            else if (PaintStyles::checkPicture(file, &message))   // as the chooser does: the element takes what it read
                static_cast<LMNImage &>(*g).setFilePath(file);
            const QImage inserted = g.get()->*field;
            ASSERT_FALSE(inserted.isNull()) << message.toStdString();
            if (!barcode) {
                EXPECT_EQ(inserted.size(), p.upright);
            }
            // What the picture is stored as: the file, or (a barcode) the PNG its first Save writes.
            QByteArray expected = p.file;

            CardDesign design;
            design.Front_card_Prop.Card_Size = QSizeF(360, 504);
            design.graphics << g;
            const QString path = dir.filePath(QStringLiteral("card.dcard"));
            QString error;
            ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
            if (barcode) {
                expected = LMNGraphicArchive::storedPicture(*g, field);
                ASSERT_TRUE(expected.startsWith("\x89PNG"));
            }
            QImage changed;   // the pixels the element holds when they changed
            switch (road) {
            case Road::InsertSaveOpen:
                break;
            case Road::CopyPaste: {
                std::unique_ptr<QMimeData> copied(ElementClipboard::mimeDataFor({g}, &error));
                ASSERT_TRUE(copied) << error.toStdString();
                const QByteArray archive = copied->data(LMNGraphicViewPasteboardType);
                const QString copiedFile = TestHelpers::writeFile(dir.filePath(QStringLiteral("copied.plist")), archive);
                EXPECT_EQ(storedPictureHashes(copiedFile, "archive").value(key), sha256(expected));
                const std::optional<GraphicList> pasted = LMNGraphicArchive::decodeList(archive, &error);
                ASSERT_TRUE(pasted && pasted->size() == 1) << error.toStdString();
                EXPECT_TRUE(pasted->at(0).get()->*field == inserted);
                EXPECT_EQ(LMNGraphicArchive::storedPicture(*pasted->at(0), field), expected);
                continue;
            }
            case Road::OpenSave: {
                const QByteArray saved = TestHelpers::readFile(path);
                const std::optional<CardDesign> opened = DesignFile::read(path, &error);
                ASSERT_TRUE(opened) << error.toStdString();
                ASSERT_TRUE(DesignFile::write(path, *opened, &error)) << error.toStdString();
                EXPECT_TRUE(TestHelpers::readFile(path) == saved) << "saving an opened design changed its file";
                break;
            }
            case Road::Duplicate:
                design.graphics = {g->clone()};
                ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
                break;
            case Road::UndoneReplace: {
                if (barcode)
                    continue;   // a barcode's picture is made, not chosen
                ElementStateChange change({g});
                static_cast<LMNImage &>(*g).setFilePath(other);
                change.finish();
                change.restoreBefore();
                ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
                break;
            }
            case Road::ChangedPicture:
                (g.get()->*field).setPixel(0, 0, qRgb(1, 2, 3));
                changed = g.get()->*field;
                ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
                break;
            }
            const QByteArray stored = storedPictureHashes(path, "design").value(key);
            if (changed.isNull()) {
                EXPECT_EQ(stored, sha256(expected));
            } else {
                EXPECT_NE(stored, sha256(expected));
                EXPECT_EQ(stored, sha256(LMNGraphicArchive::storedPicture(*g, field)));
                EXPECT_TRUE(LMNGraphicArchive::storedPicture(*g, field).startsWith("\x89PNG"));
            }
            const std::optional<CardDesign> opened = DesignFile::read(path, &error);
            ASSERT_TRUE(opened && opened->graphics.size() == 1) << error.toStdString();
            const QImage back = opened->graphics.at(0).get()->*field;
            if (changed.isNull())
                EXPECT_TRUE(back == inserted) << "the picture came back with other pixels";
            else
                EXPECT_TRUE(back.convertToFormat(changed.format()) == changed) << "the changed pixels did not come back";
        }
    }
}

// Phone photos are kept as their own files, so a card holds as many as a user puts on it:
// six photos of 12 megapixels (some 3.6 MB of JPEG each) save, and open back whole.
TEST(DesignFile, SixPhonePhotosSaveAndOpenBack)
{
    QTemporaryDir dir;
    const QByteArray jpeg = BigPictures::encoded(BigPictures::photo(QSize(4032, 3024), 40), "jpg", 92);
    ASSERT_GT(jpeg.size(), 3 << 20);
    const QString file = TestHelpers::writeFile(dir.filePath(QStringLiteral("IMG_2041.jpg")), jpeg);
    CardDesign design;
    design.Front_card_Prop.Card_Size = QSizeF(360, 504);
    for (int i = 0; i < 6; ++i) {
        auto image = std::make_shared<LMNImage>();
        image->setBounds(QRectF(10 + 50 * i, 10, 40, 30));
        image->setFilePath(file);
        design.graphics << image;
    }
    const QString path = dir.filePath(QStringLiteral("photos.dcard"));
    QString error;
    ASSERT_TRUE(DesignFile::write(path, design, &error)) << error.toStdString();
    EXPECT_LT(QFileInfo(path).size(), 6 * jpeg.size() * 3 / 2);
    const std::optional<CardDesign> opened = DesignFile::read(path, &error);
    ASSERT_TRUE(opened) << error.toStdString();
    ASSERT_EQ(opened->graphics.size(), 6);
    for (const GraphicPtr &g : opened->graphics)
        EXPECT_TRUE(g->_image == design.graphics.at(0)->_image);
}
