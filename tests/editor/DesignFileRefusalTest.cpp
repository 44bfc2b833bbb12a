// Design files that must not open (missing, truncated, foreign, damaged) and saves that fail
// without harming the file already there.

#include "editor/DesignFile.h"

#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

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

// Refused, with a reason that names the file.
::testing::AssertionResult refused(const QString &path, QString *reason = nullptr)
{
    QString error;
    const std::optional<CardDesign> design = DesignFile::read(path, &error);
    if (design)
        return ::testing::AssertionFailure() << "opened " << path.toStdString();
    if (!error.contains(path))
        return ::testing::AssertionFailure() << "reason does not name the file: " << error.toStdString();
    if (reason)
        *reason = error;
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

    TestHelpers::writeFile(file("cut.dcard"), whole.left(whole.size() / 2));
    QString reason;
    EXPECT_TRUE(refused(file("cut.dcard"), &reason));
    EXPECT_TRUE(reason.contains("incomplete")) << reason.toStdString();
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
    };
    for (const auto &[name, bytes] : foreign) {
        QString error;
        EXPECT_FALSE(DesignFile::fromXml(bytes, &error).has_value()) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
    QString error;
    DesignFile::fromXml(foreign[0].second, &error);
    EXPECT_TRUE(error.contains("not a Festiloom design")) << error.toStdString();

    // Missing, empty and folder paths.
    QString reason;
    EXPECT_TRUE(refused(file("nothing.dcard"), &reason));
    EXPECT_TRUE(reason.contains("does not exist")) << reason.toStdString();

    TestHelpers::writeFile(file("empty.dcard"), {});
    EXPECT_TRUE(refused(file("empty.dcard"), &reason));
    EXPECT_TRUE(reason.contains("empty")) << reason.toStdString();

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

    QString error;
    // A flag holding text.
    EXPECT_FALSE(DesignFile::fromXml(damaged("<false/>", "<string>no</string>"), &error).has_value());
    EXPECT_TRUE(error.contains("Card_border_chk") && error.contains("front side")) << error.toStdString();
    // An integer beyond the range of the field.
    EXPECT_FALSE(DesignFile::fromXml(damaged("<integer>1</integer>", "<integer>99999999999</integer>"), &error).has_value());
    EXPECT_TRUE(error.contains("Card_bor_Stepper")) << error.toStdString();
    // A colour of three components.
    EXPECT_FALSE(DesignFile::fromXml(damaged("<real>1</real>", "", 0), &error).has_value());
    EXPECT_TRUE(error.contains("colour")) << error.toStdString();
    // A spreadsheet record whose value is not text.
    QByteArray withRecord = DesignFile::toXml([] {
        CardDesign d;
        d.Excel_Records = {{{"Extension", "1"}}};
        return d;
    }());
    withRecord.replace("<string>1</string>", "<integer>1</integer>");
    EXPECT_FALSE(DesignFile::fromXml(withRecord, &error).has_value());
    EXPECT_TRUE(error.contains("spreadsheet records")) << error.toStdString();
    // An element whose field has the wrong type refuses the whole design.
    const qsizetype text = whole.indexOf("<key>text_alignmnet</key>");
    ASSERT_GE(text, 0);
    QByteArray badElement = whole;
    const qsizetype value = badElement.indexOf("<integer>", text);
    badElement.replace(value, badElement.indexOf("</integer>", value) + 10 - value, "<string>left</string>");
    EXPECT_FALSE(DesignFile::fromXml(badElement, &error).has_value());
    EXPECT_TRUE(error.contains("front side's elements")) << error.toStdString();
    // Items missing from the end.
    const qsizetype lastArray = whole.lastIndexOf("<array/>");
    ASSERT_GE(lastArray, 0) << "the back side has no elements";
    QByteArray shorter = whole;
    shorter.remove(lastArray, 8);
    EXPECT_FALSE(DesignFile::fromXml(shorter, &error).has_value());
    EXPECT_TRUE(error.contains("incomplete")) << error.toStdString();
    // Not XML at all in the middle.
    EXPECT_FALSE(DesignFile::fromXml(damaged("<array>", "<array><<"), &error).has_value());
    EXPECT_TRUE(error.contains("damaged")) << error.toStdString();

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

TEST_F(DesignFileRefusal, FailedSaveKeepsThePreviousFileAndSaysWhy)
{
    const QString path = file("Party.dcard");
    ASSERT_TRUE(DesignFile::write(path, smallDesign(QStringLiteral("First")), nullptr));
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

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
    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    const std::optional<CardDesign> still = DesignFile::read(path, &error);
    ASSERT_TRUE(still.has_value()) << error.toStdString();
    EXPECT_EQ(still->Front_card_Prop.Card_Name, "First");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"Party.dcard"}) << "no temporary file is left";

    // A folder that does not exist.
    EXPECT_FALSE(DesignFile::write(file("no/such/folder/x.dcard"), big, &error));
    EXPECT_TRUE(error.contains("could not be saved")) << error.toStdString();
}
