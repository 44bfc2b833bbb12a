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

// Collects "unit:name=text" per element in parallel batches.
class CollectingWork : public XmlElementStream::BatchWork
{
public:
    explicit CollectingWork(int stopAfter = -1) : m_stopAfter(stopAfter) {}
    std::shared_ptr<void> map(int unit, const std::vector<pugi::xml_node> &units) const override
    {
        auto texts = std::make_shared<QStringList>();
        for (const pugi::xml_node &node : units)
            texts->append(QStringLiteral("%1:%2=%3").arg(unit).arg(QString::fromUtf8(node.name()),
                                                                   QString::fromUtf8(node.text().get())));
        return texts;
    }
    bool reduce(std::shared_ptr<void> result) override
    {
        collected += *std::static_pointer_cast<QStringList>(result);
        ++batches;
        return m_stopAfter < 0 || collected.size() < m_stopAfter;
    }
    QStringList collected;
    int batches = 0;

private:
    int m_stopAfter;
};

// Runs `work` over the rows of `xml` in batches on `threads` threads.
bool runBatches(QByteArray xml, CollectingWork &work, int threads, QString *error = nullptr)
{
    QBuffer device(&xml);
    device.open(QIODevice::ReadOnly);
    XmlElementStream reader(&device, 4096);
    reader.addUnit({"worksheet", "sheetData", "row"});
    const bool ok = reader.runBatches(work, threads);
    if (error)
        *error = reader.errorString();
    return ok;
}

TEST(XmlElementStreamTest, ParallelBatchesArriveInDocumentOrder)
{
    QByteArray xml = "<worksheet><sheetData>";
    QStringList expected;
    for (int i = 0; i < 20000; ++i) {
        xml += "<row r=\"" + QByteArray::number(i) + "\">" + QByteArray::number(i) + "</row>";
        if (i % 1000 == 7)
            xml += "<!-- between rows -->";
        expected.append(QStringLiteral("0:row=%1").arg(i));
    }
    xml += "</sheetData></worksheet>";
    QString error;
    for (int threads : {1, 3}) {
        CollectingWork work;
        ASSERT_TRUE(runBatches(xml, work, threads, &error)) << error.toStdString();
        EXPECT_EQ(work.collected, expected);
        EXPECT_GT(work.batches, 10);
    }

    // A damaged row deep inside is reported, and stopping early works.
    CollectingWork work;
    EXPECT_FALSE(runBatches(QByteArray(xml).replace("<row r=\"15000\">15000</row>", "<row r=\"15000\">15000</rowx>"), work, 3, &error));
    EXPECT_FALSE(error.isEmpty());
    CollectingWork early(50);
    EXPECT_TRUE(runBatches(xml, early, 3));
    EXPECT_LT(early.collected.size(), 20000);
    EXPECT_EQ(early.collected.mid(0, 50), expected.mid(0, 50));
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

TEST(XmlElementStreamTest, AUnitLargerThanTheBufferStillArrivesWholeAndTheHandlerCanStopEarly)
{
    QByteArray rows = "<worksheet><sheetData>";
    for (int i = 0; i < 100; ++i)
        rows += "<row>" + QByteArray::number(i) + "</row>";
    const StreamResult stopped = stream(rows + "</sheetData></worksheet>", SheetUnits, 32, 3);
    EXPECT_TRUE(stopped.ok);
    EXPECT_EQ(stopped.units, QStringList({"1:row=0", "1:row=1", "1:row=2"}));

    const QByteArray big(100000, 'z');
    const QByteArray xml = "<worksheet><sheetData><row>" + big + "</row><row>b</row></sheetData></worksheet>";
    const StreamResult result = stream(xml, SheetUnits, 64);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    ASSERT_EQ(result.units.size(), 2);
    EXPECT_EQ(result.units.at(0), "1:row=" + QString::fromLatin1(big));
}

} // namespace
