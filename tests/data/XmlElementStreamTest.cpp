// The streaming XML reader that hands worksheet rows to pugixml in batches.

#include "DataTestSupport.h"

#include "data/XmlElementStream.h"

#include <QBuffer>

namespace {

struct StreamResult
{
    bool ok = false;
    QString error;
    QStringList units;   // "unit:name=text" per delivered element
};

StreamResult stream(const QByteArray &xml, const QList<QByteArrayList> &paths, std::size_t bufferSize,
                    int stopAfter = -1)
{
    QByteArray copy = xml;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    XmlElementStream reader(&device, bufferSize);
    for (const QByteArrayList &path : paths)
        reader.addUnit(path);
    StreamResult result;
    result.ok = reader.run([&](int unit, const pugi::xml_node &node) {
        // text() is the first piece of character data only.
        result.units.append(QStringLiteral("%1:%2=%3").arg(unit).arg(QString::fromUtf8(node.name()),
                                                               QString::fromUtf8(node.text().get())));
        return stopAfter < 0 || result.units.size() < stopAfter;
    });
    result.error = reader.errorString();
    return result;
}

const QList<QByteArrayList> SheetUnits{{"worksheet", "dimension"}, {"worksheet", "sheetData", "row"}};

TEST(XmlElementStreamTest, EveryBufferSizeGivesTheSameUnits)
{
    const QByteArray xml =
        "\xef\xbb\xbf<?xml version=\"1.0\"?>\n<!-- a comment with <row>fake</row> inside -->\n"
        "<x:worksheet xmlns:x=\"urn:x\"><x:dimension ref=\"A1:B2\">d</x:dimension>"
        "<x:sheetData>\n  <x:row r=\"1\"><![CDATA[<not a tag> ]]>one</x:row>\n"
        "  <?pi <row>?><x:row attr='a>b'>two &amp; &#x41;</x:row><x:row/>"
        "<x:other><x:row>nested deeper, not a unit</x:row></x:other>"
        "<x:row>three<x:rows/></x:row  ><x:row><x:row>inner</x:row></x:row>"
        "</x:sheetData><x:sheetData><x:row>second sheetData is ignored</x:row></x:sheetData></x:worksheet>\n";
    const QStringList expected{"0:x:dimension=d", "1:x:row=<not a tag> ", "1:x:row=two & A", "1:x:row=",
                               "1:x:row=three", "1:x:row="};
    for (std::size_t size : {16, 17, 23, 31, 64, 1 << 20}) {
        SCOPED_TRACE(size);
        const StreamResult result = stream(xml, SheetUnits, size);
        EXPECT_TRUE(result.ok) << result.error.toStdString();
        EXPECT_EQ(result.units, expected);
    }
}

TEST(XmlElementStreamTest, HandlerCanStopEarly)
{
    QByteArray xml = "<worksheet><sheetData>";
    for (int i = 0; i < 100; ++i)
        xml += "<row>" + QByteArray::number(i) + "</row>";
    xml += "</sheetData></worksheet>";
    const StreamResult result = stream(xml, SheetUnits, 32, 3);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.units, QStringList({"1:row=0", "1:row=1", "1:row=2"}));
}

TEST(XmlElementStreamTest, MalformedDocumentsAreRefusedWithAReason)
{
    const QList<QByteArray> broken{
        "",
        "   ",
        "<worksheet><sheetData><row></sheetData></worksheet>",
        "<worksheet><sheetData><row><c></row></sheetData></worksheet>",
        "<worksheet><sheetData></sheetData>",
        "<worksheet/><worksheet/>",
        "text<worksheet/>",
        "<!DOCTYPE worksheet [<!ENTITY a \"aaaa\">]><worksheet>&a;</worksheet>",
        "<worksheet><sheetData><row><c r=\"A1\" t=s></c></row></sheetData></worksheet>",
        "<worksheet><sheetData><row><!-- unterminated </row></sheetData></worksheet>",
        "<worksheet><sheetData><row a=\"unterminated></row></sheetData></worksheet>",
        "\xff\xfe<\0w\0/\0>\0",
        "<worksheet></sheetData>",
        "<worksheet><</worksheet>",
    };
    for (const QByteArray &xml : broken) {
        SCOPED_TRACE(xml.toStdString());
        for (std::size_t size : {16, 1 << 20}) {
            const StreamResult result = stream(xml, SheetUnits, size);
            EXPECT_FALSE(result.ok);
            EXPECT_FALSE(result.error.isEmpty());
        }
    }
}

TEST(XmlElementStreamTest, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    QByteArray xml = "<worksheet>" + QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000) + "</worksheet>";
    const StreamResult result = stream(xml, SheetUnits, 1 << 16);
    EXPECT_FALSE(result.ok);
}

TEST(XmlElementStreamTest, AUnitLargerThanTheBufferStillArrivesWhole)
{
    const QByteArray big(100000, 'z');
    const QByteArray xml = "<worksheet><sheetData><row>" + big + "</row><row>b</row></sheetData></worksheet>";
    const StreamResult result = stream(xml, SheetUnits, 64);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_EQ(result.units.size(), 2);
    EXPECT_EQ(result.units.at(0), "1:row=" + QString::fromLatin1(big));
}

} // namespace
