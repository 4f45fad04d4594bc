#include "Profile.h"
#include "TempWindowsDir.h"
#include "UnreadableFile.h"

#include <gtest/gtest.h>

namespace {

QString get(const QString& section, const QString& key, int size = 255)
{
    QString value;
    Profile::GetString(section, key, QString(), value, size, "pallowin.ini");
    return value;
}

TEST(Profile, ReadsFromTheWindowsDirectoryWithoutRegardToCaseOrBlanks)
{
    TempWindowsDir dir;
    dir.writeIni("[System]\r\n  Hour_Start =  8  \r\n[Other]\nhour_start=9\n");
    EXPECT_EQ(get("system", "HOUR_START"), "8");
    EXPECT_EQ(get(" SYSTEM ", " hour_start"), "8");
    EXPECT_EQ(get("Other", "hour_start"), "9");
}

TEST(Profile, MissingFileSectionKeyOrEmptyValueReadsZeroWithTheDefault)
{
    TempWindowsDir dir;
    QString value;
    EXPECT_EQ(Profile::GetString("System", "pitch0", "dflt", value, 255, "pallowin.ini"), 0);
    EXPECT_EQ(value, "dflt");
    dir.writeIni("[System]\nempty=\nquoted=\"\"\n");
    EXPECT_EQ(Profile::GetString("System", "empty", "", value, 255, "pallowin.ini"), 0);
    EXPECT_EQ(Profile::GetString("System", "quoted", "", value, 255, "pallowin.ini"), 0);
    EXPECT_EQ(Profile::GetString("Nowhere", "empty", "", value, 255, "pallowin.ini"), 0);
}

TEST(Profile, StripsOnePairOfQuotesAndCutsLongValues)
{
    TempWindowsDir dir;
    const QString longValue(300, 'x');
    dir.writeIni("[A]\nq=\"  spaced \"\ns='single'\nhalf=\"open\nlong=" + longValue + "\n");
    EXPECT_EQ(get("A", "q"), "  spaced ");
    EXPECT_EQ(get("A", "s"), "single");
    EXPECT_EQ(get("A", "half"), "\"open");
    QString value;
    EXPECT_EQ(Profile::GetString("A", "long", "", value, 255, "pallowin.ini"), 254);
    EXPECT_EQ(value, longValue.left(254));
}

TEST(Profile, WritesInPlaceAppendsToTheSectionAndCreatesWhatIsMissing)
{
    TempWindowsDir dir;
    ASSERT_TRUE(Profile::WriteString("System", "hour_start", "8", "pallowin.ini"));
    ASSERT_TRUE(Profile::WriteString("Shared", "Shared0", "0&1", "pallowin.ini"));
    ASSERT_TRUE(Profile::WriteString("system", "hour_end", "2", "pallowin.ini"));
    ASSERT_TRUE(Profile::WriteString("SYSTEM", "HOUR_START", "9", "pallowin.ini"));
    EXPECT_EQ(dir.iniText(), "[System]\nhour_start=9\nhour_end=2\n[Shared]\nShared0=0&1\n");
}

TEST(Profile, AKeyOnlyMatchesInsideItsOwnSection)
{
    TempWindowsDir dir;
    dir.writeIni("[A]\nk=1\n\n[B]\nother=2\n");
    ASSERT_TRUE(Profile::WriteString("B", "k", "3", "pallowin.ini"));
    EXPECT_EQ(get("A", "k"), "1");
    EXPECT_EQ(get("B", "k"), "3");
    EXPECT_EQ(dir.iniText(), "[A]\nk=1\n\n[B]\nother=2\nk=3\n");
}

TEST(Profile, AnUnwritableFileIsReportedAsAFailedWrite)
{
    EXPECT_FALSE(Profile::WriteString("A", "k", "v", "/proc/no-such-folder/pallowin.ini"));
}

TEST(Profile, AFileInTheWindowsCodePageIsReadAsSuchAndWrittenBackInItsOwnBytes)
{
    TempWindowsDir dir;
    const QByteArray original("[System]\r\npitch0=Caf\xE9 Court\r\ndisplay0=\x80 5\x81\r\n");
    dir.writeIniBytes(original);
    EXPECT_EQ(get("System", "pitch0"), QString::fromUtf8("Café Court"));
    EXPECT_EQ(get("System", "display0"), QString::fromUtf8("€ 5") + QChar(0x81));
    ASSERT_TRUE(Profile::WriteString("System", "hour_start", "8", "pallowin.ini"));
    EXPECT_EQ(dir.iniBytes(), original + "hour_start=8\r\n");
    ASSERT_TRUE(Profile::WriteString("System", "pitch0", QString::fromUtf8("Caf\u00e9 Nord"), "pallowin.ini"));
    const QByteArray renamed = QByteArray(original).replace("Court\r\n", "Nord\r\n") + "hour_start=8\r\n";
    EXPECT_EQ(dir.iniBytes(), renamed);
    EXPECT_FALSE(Profile::WriteString("System", "pitch1", QString::fromUtf8("\u26BD"), "pallowin.ini"))
        << "the code page has no byte for it";
    EXPECT_EQ(dir.iniBytes(), renamed);

    // UTF-8 keeps its byte-order mark, its bare line feeds and a last line without one.
    dir.writeIniBytes("\xEF\xBB\xBF[System]\npitch0=Zo\xC3\xAB");
    EXPECT_EQ(get("System", "pitch0"), QString::fromUtf8("Zoë"));
    ASSERT_TRUE(Profile::WriteString("System", "hour_start", "8", "pallowin.ini"));
    EXPECT_EQ(dir.iniBytes(), "\xEF\xBB\xBF[System]\npitch0=Zo\xC3\xAB\nhour_start=8");
}

TEST(Profile, AFileThatExistsButCannotBeReadIsNeverWritten)
{
    TempWindowsDir dir;
    dir.writeIni("[System]\r\nhour_start=8\r\nhour_end=2\r\ndatabase_server=db\r\n");
    const QByteArray before = dir.iniBytes();
    {
        UnreadableFile locked(dir.iniPath());
        EXPECT_FALSE(Profile::UnreadableReason("pallowin.ini").isEmpty());
        EXPECT_FALSE(Profile::WriteString("System", "CourtType", "1", "pallowin.ini"));
    }
    EXPECT_EQ(dir.iniBytes(), before);
    EXPECT_TRUE(Profile::UnreadableReason("pallowin.ini").isEmpty());
    EXPECT_TRUE(Profile::UnreadableReason("no-such-file.ini").isEmpty()) << "a missing file is made when written";
}

}
