// The design file: a full round trip, the file as Python's plistlib reads it, and the shape
// of the card sheet surviving the file.

#include "editor/DesignFile.h"

#include "document/LMNGraphicArchive.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

    const QJsonArray front = o["front"].toArray();
    EXPECT_EQ(front[0].toBool(), true);                                // Card_border_chk
    EXPECT_EQ(front[1].toBool(), true);                                // Card_fill_chk
    const QColor fill = design.Front_card_Prop.Card_fill_clr;                // Card_fill_clr
    const QJsonArray fillRead = front[2].toArray();
    ASSERT_EQ(fillRead.size(), 4);
    EXPECT_NEAR(fillRead[0].toDouble(), fill.redF(), 1e-6);
    EXPECT_NEAR(fillRead[1].toDouble(), fill.greenF(), 1e-6);
    EXPECT_NEAR(fillRead[2].toDouble(), fill.blueF(), 1e-6);
    EXPECT_NEAR(fillRead[3].toDouble(), 0.37, 1e-4);
    EXPECT_EQ(front[3].toInt(), 7);                                    // Card_bor_Stepper
    EXPECT_EQ(front[4].toInt(), -1);                                   // Card_Cat_index
    EXPECT_DOUBLE_EQ(front[5].toDouble(), 0.37);                       // Card_alpha_Stepper
    EXPECT_EQ(front[6].toString(), "DDD");                             // Card_border_style
    EXPECT_EQ(front[7].toString(), "RR");                              // Card_Shape, from the sheet's number
    EXPECT_EQ(front[8].toString(), "Tab\there end");                   // Card_Name without control characters
    EXPECT_EQ(front[9].toArray(), (QJsonArray{0.1, 1.0 / 3.0}));       // Card_Location
    EXPECT_EQ(front[10].toArray(), (QJsonArray{419.5275590551, 297.6377952756})); // Card_Size
    EXPECT_EQ(front[11].toObject()["postScriptName"].toString(), "TimesNewRomanPS-BoldItalicMT");
    EXPECT_EQ(o["back_side"].toString(), "B");

    const QJsonArray binding = o["binding"].toArray();
    EXPECT_EQ(binding[0].toString(), "Y");
    EXPECT_EQ(binding[1].toString(), "/home/anna/guests.xlsx");
    EXPECT_EQ(binding[2].toArray().size(), 3);
    EXPECT_EQ(binding[3].toArray()[1].toObject()["Column1"].toString(), QStringLiteral("Zoë"));

    EXPECT_EQ(o["front_classes"].toArray(),
              (QJsonArray{"LMNText", "LMNLine", "LMNImage", "Shape_Control", "LMNSignature", "LMNBarcode", "LMNText"}));
    EXPECT_EQ(o["back_ids"].toArray(), (QJsonArray{"B_0", "B_1", "B_2"}));
    EXPECT_EQ(o["first_text"].toString(), "Bell and form feed");
}
