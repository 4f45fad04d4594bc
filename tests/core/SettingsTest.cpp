#include "Globals.h"
#include "Settings.h"
#include "TempWindowsDir.h"
#include "VbError.h"

#include <gtest/gtest.h>

namespace {

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { LastCourtIndex = 15; }
    TempWindowsDir dir;

    static const char* complete()
    {
        return "[System]\nhour_start=8\nhour_end=2\ndatabase_server=db.local\ndatabase_port=3307\n"
               "database_user=counter\ndatabase_password=pw\ncashdrawercommport=3\n";
    }
};

TEST_F(SettingsTest, ReadIniWritesBackOnlyDefaultsThatAreNotEmpty)
{
    EXPECT_EQ(ReadIni("System", "CourtType", "1", "pallowin.ini"), "1");
    EXPECT_EQ(ReadIni("System", "database_user", "", "pallowin.ini"), "");
    EXPECT_EQ(dir.iniText(), "[System]\nCourtType=1\n");
    dir.writeIni("[System]\ndatabase_port=\n");
    EXPECT_EQ(ReadIni("system", "DATABASE_PORT", "3306", "pallowin.ini"), "3306");
    EXPECT_EQ(dir.iniText(), "[System]\ndatabase_port=3306\n") << "the key keeps the name it was written with";
}

TEST_F(SettingsTest, AFirstStartStopsAtTheOpeningHourWithItsDefaultWrittenBack)
{
    try {
        LoadSettings();
        FAIL() << "the text default of hour_start was taken as a number";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::TypeMismatch);
        EXPECT_TRUE(e.description().startsWith("The opening hour (hour_start=StartOfWorkingHour) in [System] of "
                                               "pallowin.ini is not an hour. The opening hour (hour_start) and the "
                                               "closing hour (hour_end)"));
    }
    EXPECT_EQ(dir.iniText(), "[System]\npicture_front=picture_front\npicture_logo=picture_logo\n"
                             "hour_start=StartOfWorkingHour\n");
    dir.writeIni(dir.iniText().replace("StartOfWorkingHour", "8"));
    EXPECT_THROW(LoadSettings(), VbError);
    EXPECT_TRUE(dir.iniText().endsWith("hour_start=8\nhour_end=EndOfWorkingHour\n"));
}

TEST_F(SettingsTest, OnceTheHoursAreNumbersEveryDefaultIsWrittenBack)
{
    dir.writeIni("[System]\nhour_start=7.5\nhour_end=1\npitch0=Court A\npitch1=Court B\n");
    LoadSettings();
    EXPECT_EQ(HourStart, 8);
    EXPECT_EQ(HourEnd, 1);
    EXPECT_EQ(DrawerCommPort, 2);
    EXPECT_EQ(LastCourtIndex, 1);
    EXPECT_EQ(SpecialGroupCount, 5);
    EXPECT_EQ(dir.iniText(), "[System]\nhour_start=7.5\nhour_end=1\npitch0=Court A\npitch1=Court B\n"
                             "picture_front=picture_front\npicture_logo=picture_logo\n"
                             "database_server=localhost\ndatabase_port=3306\nwebserver=localhost\n"
                             "cashdrawercommport=2\ndisplay0=pitch0\ndisplay1=pitch1\n");
}

TEST_F(SettingsTest, OnlyHoursThatMakeABusinessDayOfAtMost24RowsAreTaken)
{
    const std::pair<int, int> days[] = {{8, 2}, {24, 23}, {1, 0}, {12, -1}};
    for (const auto& [opening, closing] : days) {
        SCOPED_TRACE(opening * 100 + closing);
        dir.writeIni(QString("[System]\nhour_start=%1\nhour_end=%2\n").arg(opening).arg(closing));
        EXPECT_NO_THROW(LoadSettings());
    }
    const std::pair<int, int> impossible[] = {{8, 8}, {8, 9}, {2, 23}, {0, -1}, {25, 2}, {-3, -5}};
    for (const auto& [opening, closing] : impossible) {
        SCOPED_TRACE(opening * 100 + closing);
        dir.writeIni(QString("[System]\nhour_start=%1\nhour_end=%2\n").arg(opening).arg(closing));
        try {
            LoadSettings();
            ADD_FAILURE() << "taken";
        } catch (const VbError& e) {
            EXPECT_TRUE(e.description().startsWith(QString("The opening hour (hour_start=%1) and the closing hour "
                                                           "(hour_end=%2) in [System] of pallowin.ini")
                                                       .arg(opening)
                                                       .arg(closing)))
                << e.description().toStdString();
        }
    }
}

TEST_F(SettingsTest, TheConnectionStringIsBuiltExactlyAndBracesValuesThatWouldEndIt)
{
    dir.writeIni(complete());
    LoadSettings();
    EXPECT_EQ(ConnectionString, "DRIVER={MySQL ODBC 3.51 Driver};SERVER=db.local;DATABASE=posdb;PORT=3307;"
                                "UID=counter;PWD=pw;OPTION=18475");
    EXPECT_EQ(BuildConnectionString("h", "1", "u", "a;b}c"),
              "DRIVER={MySQL ODBC 3.51 Driver};SERVER=h;DATABASE=posdb;PORT=1;UID=u;PWD={a;b}}c};OPTION=18475");
}

TEST_F(SettingsTest, TheCourtListEndsAtTheFirstEmptyOrSelfNamedCourt)
{
    dir.writeIni(QString(complete()) +
                 "pitch0=A\npitch1=B\npitch2=C\npitch3=D\npitch4=E\npitch5=F\npitch6=\npitch7=H\ndisplay1=Big B\n");
    LoadSettings();
    EXPECT_EQ(LastCourtIndex, 5);
    EXPECT_EQ(CourtNames[5], "F");
    EXPECT_EQ(CourtDisplayNames[1], "Big B");
    EXPECT_EQ(CourtDisplayNames[5], "pitch5");
    EXPECT_TRUE(dir.iniText().contains("display5=pitch5\n"));
    EXPECT_FALSE(dir.iniText().contains("display6"));

    LastCourtIndex = 15;
    dir.writeIni(QString(complete()) + "pitch0=A\npitch1=B\npitch2=pitch2\npitch3=D\n");
    LoadSettings();
    EXPECT_EQ(LastCourtIndex, 1);
    EXPECT_TRUE(CourtNames[2].isEmpty());

    LastCourtIndex = 15;
    dir.writeIni(complete());
    LoadSettings();
    EXPECT_EQ(LastCourtIndex, -1);
}

TEST_F(SettingsTest, ASecondLoadLeavesNothingOfTheFirst)
{
    dir.writeIni(QString(complete()) + "pitch0=A\npitch1=B\npitch2=C\n[Shared]\nShared0=0&1\nShared1=0&2\n");
    LoadSettings();
    EXPECT_EQ(GetSharedCourts(0)[1], 2);
    LastCourtIndex = 15;
    dir.writeIni(QString(complete()) + "pitch0=A\n[Shared]\nShared0=0&1\n");
    LoadSettings();
    EXPECT_TRUE(CourtNames[1].isEmpty());
    EXPECT_TRUE(CourtDisplayNames[1].isEmpty());
    EXPECT_EQ(GetSharedCourts(0)[0], 1);
    EXPECT_EQ(GetSharedCourts(0)[1], -1);
}

TEST_F(SettingsTest, SharedCourtsAndTheirMasters)
{
    dir.writeIni(QString(complete()) + "pitch0=A\npitch1=B\npitch2=C\npitch3=D\npitch4=E\n"
                                       "[Shared]\nShared0=0&1\nShared1=0&2\nShared2=3&4\nShared3=bad\n");
    LoadSettings();
    const auto of0 = GetSharedCourts(0);
    EXPECT_EQ(of0[0], 1);
    EXPECT_EQ(of0[1], 2);
    for (size_t i = 2; i < of0.size(); ++i)
        EXPECT_EQ(of0[i], -1);
    EXPECT_EQ(GetSharedCourts(3)[0], 4);
    EXPECT_EQ(GetSharedCourts(3)[1], -1);
    EXPECT_EQ(GetSharedCourts(1)[0], -1);
    EXPECT_EQ(DependentCourts(0), (std::vector<int>{1, 2}));
    EXPECT_TRUE(DependentCourts(1).empty());
    EXPECT_EQ(GetSharedMaster(2), 0);
    EXPECT_EQ(GetSharedMaster(4), 3);
    EXPECT_EQ(GetSharedMaster(0), -1);
}

TEST_F(SettingsTest, PairsBeyondTheLastCourtAreNeverRead)
{
    dir.writeIni(QString(complete()) + "pitch0=A\npitch1=B\npitch2=C\n"
                                       "[Shared]\nShared0=0&1\nShared1=0&2\nShared2=1&2\nShared3=2&0\n");
    LoadSettings();
    EXPECT_EQ(SharedCourtPairs[2], "1&2");
    EXPECT_TRUE(SharedCourtPairs[3].isEmpty());
    EXPECT_EQ(GetSharedMaster(0), -1);
}

TEST_F(SettingsTest, AValueOf300CharactersComesBackAsItsFirst254)
{
    const QString value(300, 'q');
    dir.writeIni("[System]\nlong=" + value + "\n");
    EXPECT_EQ(ReadIni("System", "long", "", "pallowin.ini"), value.left(254));
}

}
