#include "document/DocumentGlobals.h"
#include "document/FileUtilities.h"
#include "document/MessageLog.h"

#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>


namespace {

using TestHelpers::LogCapture;
using TestHelpers::writeFile;

// Keeps the process-wide resource paths of one test apart from the next.
class ResourceFolders : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Resource_Path = m_dir.filePath(QStringLiteral("Resources"));
        Data_Folder_Path = QDir(Resource_Path).filePath(QStringLiteral("DataSet"));
    }
    void TearDown() override
    {
        Resource_Path.clear();
        Data_Folder_Path.clear();
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST(Delete_File, RemovesFilesAndWholeFolders)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Guests.txt"));
    writeFile(file);
    Delete_File(file);
    EXPECT_FALSE(QFileInfo::exists(file));

    const QString folder = dir.filePath(QStringLiteral("ziptmp"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/xl/worksheets")));
    writeFile(folder + QStringLiteral("/xl/worksheets/sheet1.xml"));
    Delete_File(folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(Delete_File, MissingPathsAndLinksAreHandledSafely)
{
    QTemporaryDir dir;
    {
        LogCapture log;
        Delete_File(dir.filePath(QStringLiteral("nothing-here.txt")));
        Delete_File(QString());
        EXPECT_TRUE(log.lines().isEmpty());
    }

    // A link to a folder goes; the folder it points at and its files stay.
    const QString target = dir.filePath(QStringLiteral("Keep"));
    ASSERT_TRUE(QDir().mkpath(target));
    writeFile(target + QStringLiteral("/precious.txt"));
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(target, link));
    Delete_File(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("/precious.txt")));

    // A dangling link is removed too.
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), link));
    Delete_File(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(Delete_File, AFileThatCannotGoIsLoggedNotThrown)
{
    // The kernel refuses to unlink its process files to every user, root included.
    const QString refused = QStringLiteral("/proc/self/status");
    ASSERT_TRUE(QFileInfo::exists(refused));
    LogCapture log;
    Delete_File(refused);
    EXPECT_TRUE(QFileInfo::exists(refused));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains(refused));
}

TEST_F(ResourceFolders, CreatesEveryMissingFolderAndLeavesExistingOnesAndTheirFilesAlone)
{
    const QString series = QDir(Data_Folder_Path).filePath(QStringLiteral("Guests.txt"));
    ASSERT_TRUE(QDir().mkpath(Data_Folder_Path));
    writeFile(series, "Anna\nBerg\n");
    Check_Path_And_Create_Files();
    Check_Path_And_Create_Files();
    for (const char *name : {"DataSet", "Background", "Fill_Style_Image", "LibraryImage", "Templates", "Templates/User"})
        EXPECT_TRUE(QFileInfo(QDir(Resource_Path).filePath(QLatin1String(name))).isDir()) << name;
    EXPECT_EQ(TestHelpers::readFile(series), QByteArray("Anna\nBerg\n"));
}

TEST_F(ResourceFolders, DoesNothingWithoutAResourceFolder)
{
    Resource_Path.clear();
    Data_Folder_Path.clear();
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    Check_Path_And_Create_Files();
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QDir::setCurrent(before);
}

TEST_F(ResourceFolders, AFolderBlockedByAFileIsLogged)
{
    ASSERT_TRUE(QDir().mkpath(Resource_Path));
    writeFile(QDir(Resource_Path).filePath(QStringLiteral("Background")));
    LogCapture log;
    Check_Path_And_Create_Files();
    EXPECT_TRUE(QFileInfo(QDir(Resource_Path).filePath(QStringLiteral("LibraryImage"))).isDir());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().contains(QStringLiteral("Background")));
}

TEST(Show_NSLog_Message, WritesNonEmptyTextsOnly)
{
    LogCapture log;
    Show_NSLog_Message(QString());
    Show_NSLog_Message(QStringLiteral(""));
    Show_NSLog_Message(QStringLiteral("std::bad_alloc while exporting card 3"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines().first(), QStringLiteral("festiloom: std::bad_alloc while exporting card 3"));
}
