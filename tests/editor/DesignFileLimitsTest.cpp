// Numbers out of their field's range and designs near the size limit: what the reader accepts
// the writer saves, and what the writer saves the reader opens again.

#include "editor/DesignFile.h"

#include "support/TestHelpers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

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
// and Card_Size of the front record.
QJsonArray plistlibFront(const QString &path)
{
    const QByteArray out = TestHelpers::runProgram(
        QStringLiteral(FESTILOOM_PYTHON),
        {QStringLiteral("-c"),
         QStringLiteral("import json, plistlib, sys\n"
                        "items = plistlib.load(open(sys.argv[1], 'rb'))\n"
                        "print(json.dumps([items[11], items[26]]))\n"),
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
        writeAll(path, withFrontReal(c.real, c.value));
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
    CardDesign odd;
    odd.Front_card_Prop.Card_alpha_Stepper = std::numeric_limits<float>::infinity();
    odd.Front_card_Prop.Card_Size = QSizeF(std::numeric_limits<double>::quiet_NaN(), 1e300);
    odd.Front_card_Prop.Card_Content_font.pointSize = -std::numeric_limits<double>::infinity();
    GraphicPtr text = LMNGraphic::create(GraphicKind::Text);
    text->alpha_val = std::numeric_limits<float>::infinity();
    text->setBounds(QRectF(0, 0, std::numeric_limits<double>::quiet_NaN(), 10));
    odd.graphics << text;
    QString error;
    ASSERT_TRUE(DesignFile::write(path, odd, &error)) << error.toStdString();
    EXPECT_FALSE(readAll(path).contains("inf")) << "a number that is not finite was written";
    const std::optional<CardDesign> back = DesignFile::read(path, &error);
    ASSERT_TRUE(back.has_value()) << error.toStdString();
    EXPECT_EQ(back->Front_card_Prop.Card_alpha_Stepper, 100.0f);
    EXPECT_EQ(back->Front_card_Prop.Card_Size, QSizeF(0, 1e6));
    EXPECT_EQ(back->graphics.first()->alpha_val, std::numeric_limits<float>::max());
    EXPECT_EQ(plistlibFront(path), QJsonArray({100.0, QJsonArray({0.0, 1e6})}));
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
    writeAll(path, xml);
    QString error;
    const std::optional<CardDesign> design = DesignFile::read(path, &error);
    ASSERT_TRUE(design.has_value()) << error.toStdString();
    ASSERT_EQ(design->graphics.size(), 3000);

    const QString saved = dir.filePath(QStringLiteral("Saved.dcard"));
    ASSERT_TRUE(DesignFile::write(saved, *design, &error)) << error.toStdString();
    const qint64 size = readAll(saved).size();
    EXPECT_LT(size, 2 * xml.size()) << "the saved design grew from " << xml.size() << " to " << size << " bytes";
    ASSERT_TRUE(DesignFile::read(saved, &error).has_value()) << error.toStdString();

    // Over the limit: Save says why and leaves the file as it was; Open refuses the same.
    const QByteArray before = readAll(saved);
    EXPECT_FALSE(DesignFile::write(saved, *design, &error, size - 1));
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    EXPECT_EQ(readAll(saved), before);
    EXPECT_TRUE(DesignFile::write(saved, *design, &error, size)) << error.toStdString();
    EXPECT_FALSE(DesignFile::read(saved, &error, size - 1).has_value());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}
