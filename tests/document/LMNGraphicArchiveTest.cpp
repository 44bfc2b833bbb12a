#include "document/BinaryPlistWriter.h"
#include "document/LMNGraphicArchive.h"
#include "document/LMNGraphicField.h"
#include "document/PictureReading.h"

#include "support/BigPictures.h"
#include "support/ForeignPictures.h"
#include "support/TestHelpers.h"

#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <functional>
#include <limits>

namespace {

const QList<GraphicKind> AllKinds = {GraphicKind::Graphic, GraphicKind::Text,  GraphicKind::Line,
                                     GraphicKind::Image,   GraphicKind::Shape, GraphicKind::Signature,
                                     GraphicKind::Barcode};

// A small picture with every kind of pixel a card picture has: opaque, clear and half clear.
QImage samplePicture(int seed)
{
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba((x * 50 + seed) % 256, (y * 80 + seed * 3) % 256, (seed * 7) % 256,
                                       (x + y) % 3 == 0 ? 255 : (x + y) % 3 == 1 ? 0 : 128));
    return image;
}

// Sets every field of the record to a value that differs from its default and from the
// other fields (negative numbers, fractions floats cannot hold exactly, text beyond ASCII).
void setEveryField(LMNGraphic &g)
{
    int index = 0;
    for (const LMNGraphicField &field : LMNGraphicField::all()) {
        ++index;
        std::visit(
            [&](auto member) {
                auto &value = g.*member;
                using T = std::remove_reference_t<decltype(value)>;
                if constexpr (std::is_same_v<T, bool>)
                    value = !value;
                else if constexpr (std::is_same_v<T, int>)
                    value = index % 2 ? -index * 7919 : 2147483000 + index;
                else if constexpr (std::is_same_v<T, float>)
                    value = -index - 0.1f;
                else if constexpr (std::is_same_v<T, double>)
                    value = index + 1.0 / 3.0;
                else if constexpr (std::is_same_v<T, QString>)
                    value = QStringLiteral("%1 \u00e9t\u00e9 \U0001F382 <&> \"quoted\"\n\tline").arg(field.name);
                else if constexpr (std::is_same_v<T, QColor>)
                    value = QColor::fromRgba64(quint16(index * 601), 12345, quint16(65535 - index), 40000);
                else if constexpr (std::is_same_v<T, CardFont>)
                    value = CardFont("TimesNewRomanPS-BoldItalicMT", 18.25 + index);
                else if constexpr (std::is_same_v<T, QRectF>)
                    value = QRectF(-3.125 + index, 0.1, 243.0 / 7.0, 154.3);
                else if constexpr (std::is_same_v<T, QImage>)
                    value = samplePicture(index);
            },
            field.member);
    }
}

// Compares every field of two records; reports the field's name on a difference.
void expectSameRecord(const LMNGraphic &expected, const LMNGraphic &actual)
{
    EXPECT_EQ(actual.kind(), expected.kind());
    for (const LMNGraphicField &field : LMNGraphicField::all()) {
        std::visit(
            [&](auto member) {
                const auto &want = expected.*member;
                const auto &got = actual.*member;
                using T = std::remove_cvref_t<decltype(want)>;
                if constexpr (std::is_same_v<T, QImage>) {
                    ASSERT_EQ(got.size(), want.size()) << field.name;
                    if (!want.isNull()) {
                        EXPECT_EQ(got.convertToFormat(QImage::Format_ARGB32), want.convertToFormat(QImage::Format_ARGB32))
                            << field.name;
                    }
                } else if constexpr (std::is_same_v<T, QString>) {
                    EXPECT_EQ(got.toStdString(), want.toStdString()) << field.name;
                } else if constexpr (std::is_same_v<T, QColor>) {
                    EXPECT_EQ(got, want) << field.name << " " << got.name(QColor::HexArgb).toStdString();
                } else if constexpr (std::is_same_v<T, CardFont>) {
                    EXPECT_EQ(got.postScriptName, want.postScriptName) << field.name;
                    EXPECT_EQ(got.pointSize, want.pointSize) << field.name;
                } else if constexpr (std::is_same_v<T, QRectF>) {
                    // Exactly, not QRectF's fuzzy comparison.
                    EXPECT_TRUE(got.x() == want.x() && got.y() == want.y() && got.width() == want.width()
                                && got.height() == want.height())
                        << field.name;
                } else {
                    EXPECT_EQ(got, want) << field.name;
                }
            },
            field.member);
    }
}

QByteArray plistXml(const QString &body)
{
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">"
            + body + "</plist>\n")
        .toUtf8();
}

GraphicPtr decodeXmlElement(const QString &dictBody, QString *error)
{
    const auto list = LMNGraphicArchive::decodeList(plistXml("<array><dict>" + dictBody + "</dict></array>"), error);
    if (!list)
        return nullptr;
    EXPECT_EQ(list->size(), 1);
    return list->value(0);
}

QString writeTemp(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    return TestHelpers::writeFile(dir.filePath(name), data);
}

using TestHelpers::readFile;

} // namespace

TEST(LMNGraphicArchive, FieldTableNamesEveryFieldOfTheRecordOnce)
{
    // The record's declarations are the truth: a field added to LMNGraphic without an
    // archive entry would silently vanish from designs and the clipboard.
    const QString header = QString::fromUtf8(readFile(TestHelpers::sourcePath("src/document/LMNGraphic.h")));
    const int start = header.indexOf(QLatin1String("class LMNGraphic\n"));
    const int end = header.indexOf(QLatin1String("protected:"), start);
    ASSERT_GT(start, 0);
    ASSERT_GT(end, start);
    static const QRegularExpression declaration(
        "^    (?:bool|int|float|double|QString|QColor|CardFont|QRectF|QImage) +(\\w+)(?: *=[^;]*)?;",
        QRegularExpression::MultilineOption);
    QSet<QString> declared;
    for (const auto &match : declaration.globalMatch(header.mid(start, end - start)))
        declared.insert(match.captured(1));

    QSet<QString> tabled;
    for (const LMNGraphicField &field : LMNGraphicField::all()) {
        EXPECT_FALSE(tabled.contains(QLatin1String(field.name))) << "twice: " << field.name;
        tabled.insert(QLatin1String(field.name));
    }
    EXPECT_GT(declared.size(), 80);
    EXPECT_TRUE(declared == tabled) << "not archived: " << QStringList((declared - tabled).values()).join(' ').toStdString()
                                    << "; not a field: " << QStringList((tabled - declared).values()).join(' ').toStdString();
    EXPECT_EQ(LMNGraphicField::find("alpha_val")->name, std::string("alpha_val"));
    EXPECT_EQ(LMNGraphicField::find("no_such_field"), nullptr);
}

TEST(LMNGraphicArchive, EveryFieldDefaultsAndEmptyValuesSurviveTheRoundTrip)
{
    QString error;
    for (GraphicKind kind : AllKinds) {
        SCOPED_TRACE(LMNGraphic::className(kind).toStdString());
        GraphicPtr original = LMNGraphic::create(kind);
        setEveryField(*original);

        // One dictionary.
        plist_t dict = LMNGraphicArchive::encode(*original);
        GraphicPtr copy = LMNGraphicArchive::decode(dict, &error);
        plist_free(dict);
        ASSERT_TRUE(copy) << error.toStdString();
        expectSameRecord(*original, *copy);

        // Through bytes, both forms.
        for (bool binary : {true, false}) {
            const auto list = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList({original}, binary), &error);
            ASSERT_TRUE(list) << error.toStdString();
            ASSERT_EQ(list->size(), 1);
            expectSameRecord(*original, *list->first());
        }
    }

    // Fresh elements (with their "Text here", opacity 100 and fonts), a record with no colour,
    // no font, no bounds and no pictures at all, and null entries that are left out.
    GraphicList graphics;
    for (GraphicKind kind : AllKinds)
        graphics << LMNGraphic::create(kind) << nullptr;
    GraphicPtr empty = LMNGraphic::create(GraphicKind::Shape);
    empty->_strokeColor = QColor();
    empty->text_ctrl_font = CardFont();
    empty->_bounds = QRectF();
    empty->_Text_contents.clear();
    graphics.append(empty);
    const auto copy = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList(graphics, true), &error);
    ASSERT_TRUE(copy) << error.toStdString();
    graphics.removeAll(nullptr);
    ASSERT_EQ(copy->size(), graphics.size());
    for (int i = 0; i < graphics.size(); ++i)
        expectSameRecord(*graphics[i], *copy->at(i));
    EXPECT_FALSE(copy->last()->_strokeColor.isValid());
    EXPECT_TRUE(copy->last()->_image.isNull());

    const auto none = LMNGraphicArchive::decodeList(LMNGraphicArchive::encodeList({}, false), &error);
    ASSERT_TRUE(none) << error.toStdString();
    EXPECT_TRUE(none->isEmpty());
}

TEST(LMNGraphicArchive, PythonPlistlibReadsWhatWeWrite)
{
    GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
    text->setText(QStringLiteral("Happy birthday, Zo\u00eb \U0001F382 <&>"));
    text->setBounds(QRectF(10.5, 20.25, 100, 40));
    text->_strokeColor = QColor(255, 0, 0, 128);
    text->text_ctrl_font = CardFont("TimesNewRomanPS-BoldItalicMT", 18);
    text->batch_list_index = -3;
    text->ctrl_is_locked = true;
    text->alpha_val = 0.25f;
    GraphicPtr picture = LMNGraphic::create(GraphicKind::Image);
    picture->_image = samplePicture(1);

    QTemporaryDir dir;
    const QString xmlPath = writeTemp(dir, "elements.plist", LMNGraphicArchive::encodeList({text, picture}, false));
    const QString binPath = writeTemp(dir, "elements.bplist", LMNGraphicArchive::encodeList({text, picture}, true));

    const QString script = QStringLiteral(R"(
import json, plistlib, sys
out = []
for path in sys.argv[1:]:
    with open(path, 'rb') as f:
        elements = plistlib.load(f)
    for e in elements:
        # Fields holding their zero value are left out.
        g = lambda key, zero=None: e.get(key, zero)
        out.append({'class': g('class'), 'text': g('Text_Value'), 'bounds': g('_bounds'),
                    'stroke': g('_strokeColor'), 'font': g('text_ctrl_font'),
                    'index': g('batch_list_index'), 'locked': g('ctrl_is_locked'),
                    'alpha': g('alpha_val'), 'png': g('_image', b'')[:8].hex(), 'pngSize': len(g('_image', b''))})
print(json.dumps(out))
)");
    const QByteArray output = TestHelpers::runProgram(FESTILOOM_PYTHON, {"-c", script, xmlPath, binPath});
    const QJsonArray seen = QJsonDocument::fromJson(output).array();
    ASSERT_EQ(seen.size(), 4) << output.toStdString();
    const QJsonObject expectedText = QJsonDocument::fromJson(QStringLiteral(R"({"class": "LMNText", "text": "%1",
        "bounds": [10.5, 20.25, 100, 40], "stroke": [1, 0, 0, %2], "index": -3, "locked": true, "alpha": 0.25,
        "font": {"postScriptName": "TimesNewRomanPS-BoldItalicMT", "pointSize": 18}, "png": "", "pngSize": 0})")
        .arg(text->Text_Value, QString::number(128 / 255.0, 'g', 17)).toUtf8()).object();
    ASSERT_FALSE(expectedText.isEmpty());
    for (int form = 0; form < 2; ++form) {
        EXPECT_EQ(seen[form * 2].toObject(), expectedText) << QJsonDocument(seen[form * 2].toObject()).toJson().toStdString();
        EXPECT_EQ(seen[form * 2 + 1].toObject()["class"].toString(), "LMNImage");
        EXPECT_EQ(seen[form * 2 + 1].toObject()["png"].toString(), "89504e470d0a1a0a"); // the PNG signature
    }
}

TEST(LMNGraphicArchive, ReadsPlistsOthersWrite)
{
    // plistlib writes its own layout (integers for whole reals, its own escaping), and reads
    // XML in UTF-16 or UTF-32 as well; plistutil converts our binary form to XML and back.
    const QString script = QStringLiteral(R"(
import plistlib, sys
e = {'class': 'Shape_Control', '_shape_type': 'DS', 'double_star_type': 12, 'alpha_val': 1,
     '_bounds': [1, 2, 30, 40.5], '_fillColor': [0, 0.5, 1, 1], 'Text_Value': 'a < b & c',
     'header_font_val': {'postScriptName': 'ArialMT', 'pointSize': 9}, 'somebody_elses_key': {'x': [1, 2]}}
data = plistlib.dumps([e], fmt=plistlib.FMT_BINARY if sys.argv[1] == 'binary' else plistlib.FMT_XML)
if sys.argv[1].startswith('utf'):
    data = data.replace(b'encoding="UTF-8"', b'encoding="UTF-16"').decode().encode(sys.argv[1])
    assert sys.argv[1] != 'utf-16' or plistlib.loads(data) == [e]   # plistlib knows it by its mark
sys.stdout.buffer.write(data)
)");
    for (const char *form : {"xml", "binary", "utf-16", "utf-16-be", "utf-16-le", "utf-32"}) {
        SCOPED_TRACE(form);
        QString error;
        const auto list = LMNGraphicArchive::decodeList(TestHelpers::runProgram(FESTILOOM_PYTHON, {"-c", script, form}), &error);
        ASSERT_TRUE(list) << error.toStdString();
        ASSERT_EQ(list->size(), 1);
        const LMNGraphic &g = *list->first();
        EXPECT_EQ(g.kind(), GraphicKind::Shape);
        EXPECT_TRUE(g._shape_type == "DS" && g.double_star_type == 12 && g.alpha_val == 1.0f && g.Text_Value == "a < b & c");
        EXPECT_EQ(g._bounds, QRectF(1, 2, 30, 40.5));
        EXPECT_EQ(g._fillColor.rgba64(), QColor::fromRgba64(0, 32768, 65535, 65535).rgba64());
        EXPECT_EQ(g.header_font_val, CardFont("ArialMT", 9));
    }

    GraphicPtr original = LMNGraphic::create(GraphicKind::Barcode);
    setEveryField(*original);
    QTemporaryDir dir;
    const QString bin = writeTemp(dir, "a.bplist", LMNGraphicArchive::encodeList({original}, true));
    const QString xml = dir.filePath("a.plist"), bin2 = dir.filePath("b.bplist");
    TestHelpers::runProgram("plistutil", {"-i", bin, "-o", xml});
    TestHelpers::runProgram("plistutil", {"-i", xml, "-o", bin2});
    for (const QString &path : {xml, bin2}) {
        QString error;
        const auto list = LMNGraphicArchive::decodeList(readFile(path), &error);
        ASSERT_TRUE(list) << error.toStdString();
        expectSameRecord(*original, *list->first());
    }
}

TEST(LMNGraphicArchive, MissingKeysGiveZeroUnknownKeysAreIgnoredAndABadPictureCostsOnlyThePicture)
{
    QString error;
    GraphicPtr g = decodeXmlElement("<key>class</key><string>LMNText</string><key>Text_Value</key><string>Hello</string>"
                                    "<key>text_alignmnet</key><integer>2</integer>"
                                    "<key>a_key_from_a_later_version</key><dict><key>x</key><true/></dict>"
                                    "<key>another</key><data>AAEC</data>",
                                    &error);
    ASSERT_TRUE(g) << error.toStdString();
    EXPECT_EQ(g->kind(), GraphicKind::Text);
    EXPECT_EQ(g->Text_Value, "Hello");
    EXPECT_EQ(g->text_alignmnet, 2);

    // Everything else is zero or nothing, not the defaults of a new element.
    EXPECT_TRUE(g->_Text_contents.isEmpty() && g->_shape_type.isEmpty() && !g->_strokeColor.isValid());
    EXPECT_TRUE(g->ctrl_is_visible == 0 && g->alpha_val == 0.0f && g->sat_val == 0.0f && !g->_isDrawingStroke);
    EXPECT_TRUE(g->text_ctrl_font.isNull() && g->text_ctrl_font.pointSize == 0.0 && g->_bounds.isNull());
    EXPECT_TRUE(g->_image.isNull() && g->_barcode_image.isNull());

    // A font dictionary without its size, a class that no longer exists, no class at all.
    g = decodeXmlElement("<key>class</key><string>LMNFancyFrame</string>"
                         "<key>value_font_val</key><dict><key>postScriptName</key><string>ArialMT</string></dict>",
                         &error);
    ASSERT_TRUE(g) << error.toStdString();
    EXPECT_EQ(g->kind(), GraphicKind::Graphic);
    EXPECT_EQ(g->value_font_val, CardFont("ArialMT", 0));
    g = decodeXmlElement(QString(), &error);
    ASSERT_TRUE(g) << error.toStdString();
    EXPECT_EQ(g->kind(), GraphicKind::Graphic);

    g = decodeXmlElement("<key>class</key><string>LMNImage</string><key>_file_path</key><string>/tmp/cake.png</string>"
                         "<key>_image</key><data>iVBORw0KGgoAAAAN</data>",
                         &error);
    ASSERT_TRUE(g) << error.toStdString();
    EXPECT_EQ(g->kind(), GraphicKind::Image);
    EXPECT_EQ(g->_file_path, "/tmp/cake.png");
    EXPECT_TRUE(g->_image.isNull());
}

TEST(LMNGraphicArchive, PicturesDecodeOnlyWithinAnOpenBudget)
{
    // What each picture takes decoded is counted, eight bytes a pixel for 16-bit colour;
    // the element whose picture passes the budget is refused, and every one after it.
    const auto pictures = [](QImage::Format format, int side, int count) {
        GraphicList list;
        for (int i = 0; i < count; ++i) {
            GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
            QImage picture(side, side, format);
            picture.fill(QColor(200, 100, i * 20));
            g->_image = picture;
            list << g;
        }
        return LMNGraphicArchive::encodeList(list, true);
    };
    struct Case
    {
        const char *name;
        QByteArray archive;
        qint64 budget;
        QString refused;   // empty: every picture decodes
    };
    const Case cases[] = {
        {"two 300 x 300 in 1 MB", pictures(QImage::Format_ARGB32, 300, 2), 1000000, {}},
        {"three 300 x 300 in 1 MB", pictures(QImage::Format_ARGB32, 300, 3), 1000000, "300 x 300"},
        {"one 16-bit 250 x 250 in 600 KB", pictures(QImage::Format_RGBA64, 250, 1), 600000, {}},
        {"two 16-bit 250 x 250 in 600 KB", pictures(QImage::Format_RGBA64, 250, 2), 600000, "250 x 250"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LMNGraphicArchive::PictureBudget budget(c.budget);
        QString error;
        const auto list = LMNGraphicArchive::decodeList(c.archive, &error);
        EXPECT_EQ(budget.exceeded(), !c.refused.isEmpty());
        if (c.refused.isEmpty()) {
            ASSERT_TRUE(list) << error.toStdString();
            for (const GraphicPtr &g : *list)
                EXPECT_FALSE(g->_image.isNull());
        } else {
            EXPECT_FALSE(list);
            EXPECT_TRUE(error.endsWith(QStringLiteral("The element's \"_image\" is a picture of %1 pixels, which with the "
                                                      "pictures before it would take more memory than the pictures of "
                                                      "one design may.")
                                           .arg(c.refused)))
                << error.toStdString();
        }
    }
    // No budget open: nothing is counted.
    EXPECT_EQ(LMNGraphicArchive::PictureBudget::current(), nullptr);
    EXPECT_TRUE(LMNGraphicArchive::decodeList(pictures(QImage::Format_ARGB32, 300, 3), nullptr));
}

TEST(LMNGraphicArchive, WrongValueTypesRefuseTheElementWithTheKeyNamed)
{
    const std::pair<const char *, const char *> cases[] = {
        {"ctrl_is_visible", "<string>1</string>"},            // text for a whole number
        {"ctrl_is_visible", "<real>1.5</real>"},              // fraction for a whole number
        {"batch_list_index", "<integer>4294967296</integer>"}, // beyond an int
        {"text_alignmnet", "<integer>99999999999999999999</integer>"},   // beyond 64 bits
        {"text_alignmnet", "<integer>-99999999999999999999</integer>"},
        {"batch_list_index", "<integer>18446744073709551615</integer>"},
        {"alpha_val", "<integer>99999999999999999999</integer>"},        // for a number
        {"_strokeColor", "<array><integer>-99999999999999999999</integer><real>0</real><real>0</real><real>1</real></array>"},
        {"text_alignmnet", "<integer>abc</integer>"},                    // no whole number
        {"text_alignmnet", "<integer/>"},
        {"text_alignmnet", "<integer>1e3</integer>"},
        {"ctrl_is_locked", "<integer>1</integer>"},           // number for a flag
        {"alpha_val", "<string>100</string>"},                // text for a number
        {"alpha_val", "<real>1e300</real>"},                  // beyond a float
        {"_strokeWidth", "<true/>"},                          // flag for a number
        {"Text_Value", "<integer>5</integer>"},               // number for a text
        {"Text_Value", "<array><string>a</string></array>"},  // array for a text
        {"_strokeColor", "<string>#ff0000</string>"},         // text for a colour
        {"_strokeColor", "<array><real>1</real><real>0</real><real>0</real></array>"},
        {"_strokeColor", "<array><string>1</string><real>0</real><real>0</real><real>1</real></array>"},
        {"_bounds", "<array><real>1</real><real>2</real><real>3</real></array>"},
        {"_bounds", "<dict/>"},
        {"_bounds", "<array/>"},
        {"text_ctrl_font", "<string>ArialMT</string>"},
        {"text_ctrl_font", "<dict><key>postScriptName</key><integer>3</integer></dict>"},
        {"text_ctrl_font", "<dict><key>pointSize</key><string>big</string></dict>"},
        {"_image", "<string>picture.png</string>"},
        {"class", "<integer>1</integer>"},
    };
    for (const auto &[key, value] : cases) {
        SCOPED_TRACE(std::string(key) + " = " + value);
        QString error;
        EXPECT_FALSE(decodeXmlElement(QStringLiteral("<key>class</key><string>LMNText</string><key>%1</key>%2")
                                          .arg(QLatin1String(key), QLatin1String(value)),
                                      &error));
        EXPECT_TRUE(error.contains(QStringLiteral("\"%1\"").arg(QLatin1String(key)))) << error.toStdString();
    }

    // The binary form: integers of 16 bytes beyond 64 bits, as plistlib writes those from 2^63
    // to 2^64 - 1, and as others may write any.
    const QString script = QStringLiteral(R"(
import plistlib, sys
def archive(key, value):
    return plistlib.dumps([{'class': 'LMNText', key: value}], fmt=plistlib.FMT_BINARY)
wide = archive('text_alignmnet', 2**64 - 1)
top = b'\x14' + b'\x00' * 8 + b'\xff' * 8
assert wide.count(top) == 1
for data in [wide, archive('text_alignmnet', 2**63), archive('alpha_val', 2**64 - 1),
             wide.replace(top, b'\x14\x7f' + b'\xff' * 15), wide.replace(top, b'\x14\x80' + b'\x00' * 15)]:
    sys.stdout.buffer.write(data.hex().encode() + b'\n')
)");
    const QList<QByteArray> binaries = TestHelpers::runProgram(FESTILOOM_PYTHON, {"-c", script}).trimmed().split('\n');
    ASSERT_EQ(binaries.size(), 5);
    for (const QByteArray &hex : binaries) {
        QString error;
        EXPECT_FALSE(LMNGraphicArchive::decodeList(QByteArray::fromHex(hex), &error)) << hex.toStdString();
        EXPECT_TRUE(error.contains("out of range") && (error.contains("\"text_alignmnet\"") || error.contains("\"alpha_val\"")))
            << error.toStdString();
    }

    // One bad element refuses the whole list, and the message says which one.
    QString error;
    const QByteArray good = "<dict><key>class</key><string>LMNLine</string></dict>";
    const QByteArray bad = "<dict><key>_line_ori</key><string>vertical</string></dict>";
    EXPECT_FALSE(LMNGraphicArchive::decodeList(plistXml("<array>" + good + bad + good + "</array>"), &error));
    EXPECT_TRUE(error.startsWith("Element 2 of 3")) << error.toStdString();
    EXPECT_TRUE(error.contains("\"_line_ori\" holds a text where a whole number belongs")) << error.toStdString();

    // A single node that is not a dictionary.
    plist_t notDict = plist_new_string("LMNText");
    EXPECT_EQ(LMNGraphicArchive::decode(notDict, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    plist_free(notDict);
    EXPECT_EQ(LMNGraphicArchive::decode(nullptr, nullptr), nullptr);
}

TEST(LMNGraphicArchive, DataThatIsNoElementListIsRefusedNotCrashedOn)
{
    GraphicPtr g = LMNGraphic::create(GraphicKind::Image);
    setEveryField(*g);
    const QByteArray binary = LMNGraphicArchive::encodeList({g}, true);
    const QByteArray xml = LMNGraphicArchive::encodeList({g}, false);

    QList<QByteArray> refused = {
        QByteArray(), "hello", "bplist00", plistXml("<dict><key>class</key><string>LMNText</string></dict>"),
        plistXml("<array><string>LMNText</string></array>"), plistXml("<string>x</string>"), xml.left(xml.size() / 2),
    };
    // The binary form keeps its offset table at the end: any cut loses it.
    for (int cut = 1; cut < binary.size(); cut += std::max<qsizetype>(1, binary.size() / 97))
        refused.append(binary.left(cut));
    for (const QByteArray &input : refused) {
        QString error;
        EXPECT_FALSE(LMNGraphicArchive::decodeList(input, &error)) << input.left(40).toStdString();
        EXPECT_FALSE(error.isEmpty());
    }

    // Any other bytes: the fuzz target (fuzz/ElementArchiveFuzz.cpp) reads or refuses them with a reason.
}

namespace {

// A property-list tree to write, with the sizes its trailer should give.
struct PlistCase
{
    const char *name;
    std::function<plist_t()> build;
    int refSize;
    int offsetSize;
};

plist_t arrayOf(std::initializer_list<plist_t> items)
{
    plist_t array = plist_new_array();
    for (plist_t item : items)
        plist_array_append_item(array, item);
    return array;
}

plist_t distinctTexts(int count, const char *prefix)
{
    plist_t array = plist_new_array();
    for (int i = 0; i < count; ++i)
        plist_array_append_item(array, plist_new_string(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i).toUtf8().constData()));
    return array;
}

const QList<PlistCase> &plistCases()
{
    static const QList<PlistCase> cases = {
        {"empty array", [] { return plist_new_array(); }, 1, 1},
        {"empty dict", [] { return plist_new_dict(); }, 1, 1},
        {"texts", [] {
             return arrayOf({plist_new_string(""), plist_new_string("plain"), plist_new_string("fourteen chars"),
                             plist_new_string("fifteen chars.."), plist_new_string("\xc3\xa9t\xc3\xa9 \xf0\x9f\x8e\x82"),
                             plist_new_string("\xe2\x82\xac fifteen units!"), plist_new_string("<&> \"q\"\n\t"),
                             plist_new_string("plain")});
         }, 1, 1},
        {"integers", [] {
             plist_t array = plist_new_array();
             for (int64_t v : {int64_t(0), int64_t(1), int64_t(255), int64_t(256), int64_t(65535), int64_t(65536),
                               int64_t(4294967295), int64_t(4294967296), std::numeric_limits<int64_t>::max(), int64_t(-1),
                               int64_t(-256), std::numeric_limits<int64_t>::min()})
                 plist_array_append_item(array, plist_new_uint(uint64_t(v)));
             return array;
         }, 1, 1},
        {"reals, bools, data and a date", [] {
             plist_t array = plist_new_array();
             for (double v : {0.0, -0.0, 1.0 / 3.0, -2.5e-310, 1.7976931348623157e308, 60.0, 60.0})
                 plist_array_append_item(array, plist_new_real(v));
             plist_array_append_item(array, plist_new_bool(1));
             plist_array_append_item(array, plist_new_bool(0));
             plist_array_append_item(array, plist_new_data("", 0));
             const QByteArray bytes(300, '\xab');
             plist_array_append_item(array, plist_new_data(bytes.constData(), uint64_t(bytes.size())));
             plist_array_append_item(array, plist_new_date(600000000, 0));
             return array;
         }, 1, 2},
        {"nested dicts and arrays", [] {
             plist_t inner = plist_new_dict();
             plist_dict_set_item(inner, "", plist_new_string(""));
             plist_dict_set_item(inner, "cl\xc3\xa9", arrayOf({plist_new_array(), plist_new_dict(), plist_new_uint(7)}));
             plist_t outer = plist_new_dict();
             for (int i = 0; i < 20; ++i)
                 plist_dict_set_item(outer, QByteArray("key" + QByteArray::number(i)).constData(), plist_new_uint(uint64_t(i % 3)));
             plist_dict_set_item(outer, "inner", inner);
             plist_dict_set_item(outer, "same", arrayOf({plist_new_string("inner"), plist_new_string("key1")}));
             return arrayOf({outer, arrayOf({arrayOf({arrayOf({})})})});
         }, 1, 1},
        {"more than 255 objects", [] { return distinctTexts(300, "n"); }, 2, 2},
        {"more than 65,535 objects", [] { return distinctTexts(70000, "\xc3\xa9l\xc3\xa9ment "); }, 4, 4},
    };
    return cases;
}

QByteArray libplistXml(plist_t node)
{
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &bytes, &length);
    const QByteArray xml(bytes, qsizetype(length));
    plist_to_xml_free(bytes);
    return xml;
}

} // namespace

TEST(BinaryPlistWriter, LibplistReadsBackTheSameTree)
{
    for (const PlistCase &c : plistCases()) {
        SCOPED_TRACE(c.name);
        plist_t tree = c.build();
        const QByteArray bytes = BinaryPlistWriter::write(tree);
        ASSERT_TRUE(bytes.startsWith("bplist00"));
        // The trailer's offset and reference sizes.
        EXPECT_EQ(int(bytes[bytes.size() - 26]), c.offsetSize);
        EXPECT_EQ(int(bytes[bytes.size() - 25]), c.refSize);
        plist_t read = nullptr;
        plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &read);
        ASSERT_TRUE(read);
        EXPECT_EQ(libplistXml(read).toStdString(), libplistXml(tree).toStdString());
        plist_free(read);
        plist_free(tree);
    }
    EXPECT_TRUE(BinaryPlistWriter::write(nullptr).isEmpty());
}

TEST(BinaryPlistWriter, PythonPlistlibReadsOurBytesAsItReadsTheXmlForm)
{
    QTemporaryDir dir;
    QStringList paths;
    for (const PlistCase &c : plistCases()) {
        plist_t tree = c.build();
        const QString name = QString::number(paths.size() / 2);
        paths << writeTemp(dir, name + ".bplist", BinaryPlistWriter::write(tree))
              << writeTemp(dir, name + ".plist", libplistXml(tree));
        plist_free(tree);
    }
    const QString script = QStringLiteral(R"(
import plistlib, sys
paths = sys.argv[1:]
for binary, xml in zip(paths[::2], paths[1::2]):
    with open(binary, 'rb') as f:
        ours = plistlib.load(f, fmt=plistlib.FMT_BINARY)
    with open(xml, 'rb') as f:
        expected = plistlib.load(f, fmt=plistlib.FMT_XML)
    print('same' if ours == expected else 'differs: %r != %r' % (ours, expected)[:300])
)");
    const QList<QByteArray> lines = TestHelpers::runProgram(FESTILOOM_PYTHON, QStringList{"-c", script} + paths).trimmed().split('\n');
    ASSERT_EQ(lines.size(), plistCases().size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].toStdString(), "same") << plistCases()[i].name;
}

TEST(BinaryPlistWriter, ElementArchivesOfManyObjectsReadBack)
{
    // Every element holds at least a dictionary, its bounds and its colour arrays, none shared:
    // past 65,535 objects references take four bytes.
    GraphicList graphics;
    for (int i = 0; i < 6000; ++i) {
        GraphicPtr g = LMNGraphic::create(AllKinds[i % AllKinds.size()]);
        g->setBounds(QRectF(i, -i * 0.5, 60, 20));
        g->setText(QStringLiteral("Gu\u00e9st %1").arg(i % 500));
        graphics << g;
    }
    const QByteArray bytes = LMNGraphicArchive::encodeList(graphics, true);
    EXPECT_EQ(int(bytes[bytes.size() - 25]), 4);
    QString error;
    const auto copy = LMNGraphicArchive::decodeList(bytes, &error);
    ASSERT_TRUE(copy) << error.toStdString();
    ASSERT_EQ(copy->size(), graphics.size());
    for (int i = 0; i < graphics.size(); i += 97)
        expectSameRecord(*graphics[i], *copy->at(i));
}

namespace {

QStringList g_qtWarnings;

void keepWarning(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_qtWarnings << message;
}

} // namespace

// Qt's image reader is given what a design may take and counts a picture as we do (32 bits a
// pixel at least, lines padded to 32 bits): a picture just within the limit is not refused by
// Qt, one line more is refused by both, by ours from its header before Qt decodes anything.
TEST(PictureReading, QtsReaderTakesWhatADesignMayAndCountsAsWeDo)
{
    EXPECT_EQ(qint64(QImageReader::allocationLimit()) << 20, PictureReading::DesignBytes);

    struct Count
    {
        QSize size;
        QImage::Format format;
        qint64 bytes;
    };
    for (const Count &c : {Count{{8160, 6120}, QImage::Format_Grayscale8, qint64(8160) * 6120 * 4},
                           Count{{8160, 6120}, QImage::Format_Invalid, qint64(8160) * 6120 * 4},
                           Count{{100, 30}, QImage::Format_RGBA64, 100 * 30 * 8},
                           Count{{3, 2}, QImage::Format_Mono, 24}, Count{{0, 5}, QImage::Format_RGB32, 0}})
        EXPECT_EQ(PictureReading::readingBytes(c.size, c.format), c.bytes) << c.size.width() << " " << c.format;

    QTemporaryDir dir;
    const int width = 16384, rows = int(PictureReading::DesignBytes / (qint64(width) * 4));
    const QString within = BigPictures::pngOfSize(dir.filePath("within.png"), QSize(width, rows));
    const QString past = BigPictures::pngOfSize(dir.filePath("past.png"), QSize(width, rows + 1));
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    g_qtWarnings.clear();
    const PictureReading::Result atLimit = PictureReading::readFile(within);
    const QStringList atLimitWarnings = g_qtWarnings;
    const PictureReading::Result pastLimit = PictureReading::readFile(past);
    const QStringList pastLimitWarnings = g_qtWarnings;
    QImageReader qtAlone(past);
    const QImage qtPicture = qtAlone.read();
    const QStringList qtAloneWarnings = g_qtWarnings;
    qInstallMessageHandler(previous);

    const auto rejected = [](const QStringList &warnings) {
        return warnings.filter(QStringLiteral("allocation limit")).size();
    };
    EXPECT_EQ(atLimit.outcome, PictureReading::Outcome::Damaged);   // its data is cut short
    EXPECT_EQ(rejected(atLimitWarnings), 0) << atLimitWarnings.join('\n').toStdString();
    EXPECT_EQ(pastLimit.outcome, PictureReading::Outcome::TooLarge);
    EXPECT_EQ(pastLimit.size, QSize(width, rows + 1));
    EXPECT_EQ(pastLimit.reason, QStringLiteral("it is 16384 x 12289 pixels, which take 769 MB to read, more than the 768 MB a "
                                               "design may take"));
    EXPECT_EQ(rejected(pastLimitWarnings), 0);   // refused before Qt's reader saw it
    EXPECT_TRUE(qtPicture.isNull());
    EXPECT_EQ(rejected(qtAloneWarnings), 1);   // and Qt's reader refuses it too
}

// Stored picture data that cannot be read costs the picture, not the element, and whoever
// reads the list is told which element lost it and why. Data of a kind not read (SVG above
// all, which names other files) is never handed to a reader: a local picture it names is not
// drawn, a FIFO it names is not opened. The five kinds read, as another program writes them,
// still are.
TEST(LMNGraphicArchive, AnUnreadablePictureIsNamedToWhoeverReadsTheList)
{
    QTemporaryDir folder;
    const ForeignPictures::NamedFiles named(folder.path());
    ASSERT_TRUE(named.ready());
    const QString notRead = ForeignPictures::notReadReason();

    struct Case
    {
        QString name;
        QByteArray data;
        QString reason;   // "" for data read: a blue picture of 16 x 16 pixels
    };
    QList<Case> cases = {
        {QStringLiteral("damaged"), BigPictures::damagedPng(),
         QStringLiteral("it is 16 x 16 pixels, but its picture data cannot be read")},
        {QStringLiteral("not a picture"), QByteArray("plain text, no picture"), notRead},
        {QStringLiteral("SVGZ naming a local picture"),
         TestHelpers::runProgram(QStringLiteral("gzip"), {QStringLiteral("-c")}, ForeignPictures::svgNaming(named.picture())),
         notRead},
        {QStringLiteral("XPM"), ForeignPictures::xpm(), notRead},
        {QStringLiteral("WebP"), ForeignPictures::writtenByPillow(QStringLiteral("WEBP")), notRead},
        {QStringLiteral("TGA"), ForeignPictures::writtenByPillow(QStringLiteral("TGA")), notRead},
    };
    for (const auto &[name, svg] : named.svgs())
        cases.append({name, svg, notRead});
    for (const QString &kind : ForeignPictures::readKinds())
        cases.append({kind, ForeignPictures::writtenByPillow(kind), QString()});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ASSERT_FALSE(c.data.isEmpty());
        LMNGraphicArchive::PictureLosses losses;
        QString error;
        const auto list = LMNGraphicArchive::decodeList(
            ForeignPictures::archiveHolding(QStringLiteral("LMNBarcode"), QStringLiteral("_barcode_image"), c.data), &error);
        ASSERT_TRUE(list && list->size() == 2) << error.toStdString();
        const QImage picture = list->at(1)->_barcode_image;
        if (c.reason.isEmpty()) {
            EXPECT_TRUE(losses.messages().isEmpty()) << losses.messages().value(0).toStdString();
            ASSERT_EQ(picture.size(), QSize(16, 16));
            TestHelpers::expectPixels(picture, {{0, 0, QColor(Qt::blue)}, {15, 15, QColor(Qt::blue)}});
            continue;
        }
        EXPECT_TRUE(picture.isNull());
        ASSERT_EQ(losses.messages().size(), 1);
        EXPECT_TRUE(losses.messages().first().startsWith(QStringLiteral("Element 2 (a barcode) lost its picture: ") + c.reason))
            << losses.messages().first().toStdString();
    }
    EXPECT_EQ(named.fifoOpened(), 0);
    EXPECT_EQ(LMNGraphicArchive::PictureLosses::current(), nullptr);
}
