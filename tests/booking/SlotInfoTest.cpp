#include "Booking.h"
#include "SlotInfo.h"
#include "TestGrid.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"
#include "Verification.h"

#include <gtest/gtest.h>

namespace {

const QString Day = "2026-12-08";

class SlotInformation : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        UseTestCentre();
        windows.writeIni("[SpecialGroup]\r\n 3=Veterans\r\n");
        grid.Select({"16:00"});
    }
    void TearDown() override { ResetNow(); }

    void slot(const QString& columns)
    {
        Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 16:00:00', b_field=3, b_bookername='X', " +
                    columns);
    }

    TempWindowsDir windows;
    ScriptedPrompter prompter;
    TestGrid grid{Day, 3};
};

TEST_F(SlotInformation, HistoryListsTheNewestActionFirst)
{
    IsUserAllowed(false);
    ASSERT_TRUE(doBooking(grid, Day, "16:00", "555-1", "", "Anna", "3", "", false, 0, 60, 0));
    ASSERT_TRUE(doCancel(grid, Day, "16:00", "Anna", "3", "it's raining"));
    Succeeded_User = "admin";
    // The delay and the shorter length that the Book action's questions gave the hour.
    ASSERT_TRUE(doBooking(grid, Day, "16:00", "555-2", "", "Ben", "3", "", false, 20, 40, 0));
    EXPECT_EQ(BuildSlotHistory(grid), "8 Dec 02:05:09 PM: admin shorten slot for 40 minutes \r\n"
                                      "8 Dec 02:05:09 PM: admin delay slot for 20 minutes \r\n"
                                      "8 Dec 02:05:09 PM: admin book Ben 555-2\r\n"
                                      "8 Dec 02:05:09 PM: counter cancel because booker said 'it's raining'\r\n"
                                      "8 Dec 02:05:09 PM: counter book Anna 555-1\r\n");
}

TEST_F(SlotInformation, AnAuditRowWithoutStaffIsSkipped)
{
    Db::Execute("INSERT INTO tbl_remark SET m_datetime='2026-12-08 16:00:00', m_field=3, m_staff='counter', "
                "m_job='book', m_remark=' Anna', m_actiontime='t1'");
    Db::Execute("INSERT INTO tbl_remark SET m_datetime='2026-12-08 16:00:00', m_field=3, m_staff='', "
                "m_job='cancel', m_remark='x', m_actiontime='t2'");
    Db::Execute("INSERT INTO tbl_remark SET m_datetime='2026-12-08 16:00:00', m_field=3, m_staff='counter', "
                "m_job='extra time', m_remark=' for 75 minutes ', m_actiontime='t3'");
    Db::Execute("INSERT INTO tbl_remark SET m_datetime='2026-12-08 16:00:00', m_field=3, m_staff='counter', "
                "m_job='unknown', m_remark='', m_actiontime='t4'");
    EXPECT_EQ(BuildSlotHistory(grid), "t3: counter add extra time for 75 minutes \r\nt1: counter book Anna\r\n");
}

TEST_F(SlotInformation, HistoryEndsWithTheSlotsTerms)
{
    PerPersonChargingOn = 1;
    slot("b_staffname='olduser', b_specialrate='specialgroup3', b_person=4");
    EXPECT_EQ(BuildSlotHistory(grid), "old record : olduser book\r\nSpecial Rate Package = Veterans\r\n"
                                      "Number of Player = 4\r\n");
    grid.Select({"17:00"});
    EXPECT_EQ(BuildSlotHistory(grid), "") << "an empty slot has no player line";
}

TEST_F(SlotInformation, LookUpsTellTheCashierAboutSpecialTerms)
{
    slot("b_specialrate='specialgroup3', b_extratime=15, b_playlength=45, b_person=6");
    EXPECT_EQ(ShowSpecialRateInfo(grid, Day, "16:00"), "specialgroup3");
    EXPECT_EQ(ShowExtraTimeInfo(grid, Day, "16:00"), 15);
    EXPECT_EQ(ShowPlayLengthInfo(grid, Day, "16:00"), 45);
    EXPECT_EQ(GetSlotPlayers(grid, Day, "16:00"), 6);
    EXPECT_EQ(prompter.prompts(), QStringList({"The customer got Veterans rate", "The customer got extra time",
                                               "The customer got custom playtime"}));
    EXPECT_EQ(prompter.asked()[0].title, "Information");
    EXPECT_EQ(prompter.asked()[0].style, Msg::Information);

    prompter.clear();
    EXPECT_EQ(ShowSpecialRateInfo(grid, Day, "17:00"), "");
    EXPECT_EQ(ShowExtraTimeInfo(grid, Day, "17:00"), 0);
    EXPECT_EQ(ShowPlayLengthInfo(grid, Day, "17:00"), 0);
    EXPECT_EQ(GetSlotPlayers(grid, Day, "17:00"), 0);
    EXPECT_TRUE(prompter.prompts().isEmpty());

    Db::Execute("UPDATE tbl_booking SET b_playlength=60, b_specialrate='member'");
    EXPECT_EQ(ShowPlayLengthInfo(grid, Day, "16:00"), 0);
    EXPECT_EQ(ShowSpecialRateInfo(grid, Day, "16:00"), "member");
    EXPECT_EQ(prompter.prompts(), QStringList({"The customer got member rate"}));
}

TEST_F(SlotInformation, ARateOfNoGroupNumberWritesNoSettingsKey)
{
    slot("b_specialrate='specialgroup'");
    const QString before = windows.iniText();
    EXPECT_EQ(ShowSpecialRateInfo(grid, Day, "16:00"), "specialgroup");
    EXPECT_EQ(prompter.prompts(), QStringList({"The customer got specialgroup rate"}));
    EXPECT_EQ(RateClassName("specialgroup9"), "specialgroup9");
    EXPECT_EQ(windows.iniText(), before);
}

} // namespace
