#include "Booking.h"
#include "SlotChange.h"
#include "SlotChanges.h"
#include "TestGrid.h"

#include "Clock.h"
#include "CountingPrompter.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "CountingPrompter.h"
#include "ScriptedPrompter.h"
#include "SqlQuote.h"
#include "Verification.h"

#include <QDate>
#include <QElapsedTimer>
#include <QMutex>
#include <barrier>
#include <future>
#include <thread>

#include <gtest/gtest.h>

namespace {

const QString Day = "2026-12-08";

class Booking : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        UseTestCentre();
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        ResetNow();
    }

    static bool book(int court, const QString& time, const QString& name = "Anna", int delay = 0, int length = 60,
                     const QString& date = Day)
    {
        TestGrid grid(date, court);
        return doBooking(grid, date, time, "555-0101", "Riverside FC", name, QString::number(court), "", false, delay,
                         length, 0);
    }
    bool cancel(int court, const QString& time, const QString& reason = "rain")
    {
        TestGrid grid(Day, court);
        grid.RefreshView();
        return doCancel(grid, Day, time, grid.NameCell(grid.RowOf(time)), QString::number(court), reason);
    }
    static QString row(int court, const QString& time, const QString& columns, const QString& date = Day)
    {
        Recordset rs = Db::Query("SELECT " + columns + " FROM tbl_booking WHERE b_datetime='" + date + " " + time +
                                 ":00' AND b_field=" + QString::number(court));
        if (rs.EOF_())
            return "none";
        QStringList values;
        for (int i = 0; i < rs.FieldCount(); ++i)
            values << rs.Fields(i).Value();
        return values.join("|");
    }
    static QStringList remarks(const QString& condition = "1")
    {
        QStringList list;
        for (Recordset rs = Db::Query("SELECT m_field, m_job, m_remark, m_staff FROM tbl_remark WHERE " + condition +
                                      " ORDER BY m_id");
             !rs.EOF_(); rs.MoveNext())
            list << rs.Fields(0).Value() + " " + rs.Fields(1).Value() + ":" + rs.Fields(2).Value() + " by " +
                        rs.Fields(3).Value();
        return list;
    }

    ScriptedPrompter prompter;
    QStringList errors;
};

TEST_F(Booking, AMasterCourtBooksItsDependentsAndCancelsThem)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(0, "15:00"));
    EXPECT_EQ(row(0, "15:00", "b_bookername, b_delaytime, b_playlength"), "Anna|0|60");
    EXPECT_EQ(row(1, "15:00", "b_bookername, b_bookertel"), "Shared Booking|");
    EXPECT_EQ(row(2, "15:00", "b_bookername"), "Shared Booking");
    EXPECT_EQ(remarks(), QStringList({"0 book: Anna 555-0101 by counter", "1 book: shared booking by counter",
                                      "2 book: shared booking by counter"}));

    ASSERT_TRUE(cancel(0, "15:00", "rain"));
    EXPECT_EQ(count("tbl_booking"), 0);
    EXPECT_EQ(remarks("m_job='cancel'"), QStringList({"0 cancel:rain by counter", "1 cancel: shared booking by counter",
                                                      "2 cancel: shared booking by counter"}));
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(Booking, DependentBookingsCountUpAndDownOnTheMaster)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(1, "15:00", "Anna", 15, 45));
    EXPECT_EQ(row(0, "15:00", "b_bookername, b_shared, b_delaytime, b_playlength"), "Partially Shared|1|15|45")
        << "the first dependent booking gives the master its own span";
    ASSERT_TRUE(book(2, "15:00", "Ben", 0, 75));
    EXPECT_EQ(row(0, "15:00", "b_shared, b_delaytime, b_playlength"), "2|0|75")
        << "the master covers both dependents from the earliest start to the latest end";
    EXPECT_EQ(remarks("m_field=0"), QStringList({"0 book: partially booked field 0 by counter",
                                                 "0 delay slot: for 15 minutes  by counter",
                                                 "0 shorten slot: for 45 minutes  by counter",
                                                 "0 book: partially booked field 0 by counter",
                                                 "0 shorten slot: for 75 minutes  by counter"}))
        << "the master's history tells the span each booking gave it";

    ASSERT_TRUE(cancel(1, "15:00"));
    EXPECT_EQ(row(0, "15:00", "b_shared"), "1");
    ASSERT_TRUE(cancel(2, "15:00"));
    EXPECT_EQ(row(0, "15:00", "b_shared"), "none");
    EXPECT_EQ(count("tbl_booking"), 0);

    // The demo's evening, whose half pitch at 17:00 stands on the big pitch, counts the same.
    PrivateDatabase::Reload(true);
    PrivateDatabase::LoadDemoBookings();
    UseTestCentre();
    Db::Execute("UPDATE tbl_booking SET b_datetime=CONCAT('" + Day + "', SUBSTRING(b_datetime, 11))");
    ASSERT_TRUE(book(2, "17:00", "Ben"));
    ASSERT_TRUE(cancel(2, "17:00"));
    EXPECT_EQ(row(0, "17:00", "b_bookername, b_shared"), "Partially Shared|1") << "the demo's half still plays";
}

TEST_F(Booking, CancellingADependentLeavesAnOrdinaryMasterBookingAlone)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(1, "15:00"));
    Db::Execute("UPDATE tbl_booking SET b_bookername='Club night', b_shared=0 WHERE b_field=0");
    ASSERT_TRUE(cancel(1, "15:00"));
    EXPECT_EQ(row(0, "15:00", "b_bookername, b_shared"), "Club night|0");
}

TEST_F(Booking, CancellingAMasterDeletesOnlyItsSharedRows)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(0, "15:00"));
    Db::Execute("UPDATE tbl_booking SET b_bookername='Someone else' WHERE b_field=2");
    ASSERT_TRUE(cancel(0, "15:00"));
    EXPECT_EQ(row(1, "15:00", "b_bookername"), "none");
    EXPECT_EQ(row(2, "15:00", "b_bookername"), "Someone else");
    EXPECT_EQ(remarks("m_job='cancel'").size(), 2);
}

TEST_F(Booking, RefusalsWriteNothing)
{
    IsUserAllowed(false);
    EXPECT_FALSE(book(3, "13:00"));
    ASSERT_TRUE(book(3, "14:00"));
    EXPECT_FALSE(book(3, "14:00"));
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot book previous entry", "The field already being booked"}));
    EXPECT_EQ(prompter.asked()[0].style, Msg::Critical);
    EXPECT_EQ(count("tbl_booking"), 1);
    EXPECT_EQ(count("tbl_remark"), 1);

    prompter.clear();
    TestGrid grid(Day, 3);
    EXPECT_FALSE(doCancel(grid, Day, "14:00", "Anna", "3", "")) << "an empty reason cancels nothing";
    EXPECT_FALSE(doCancel(grid, Day, "15:00", "", "3", "rain"));
    Db::Execute("UPDATE tbl_booking SET b_paid=0.30");
    EXPECT_FALSE(doCancel(grid, Day, "14:00", "Anna", "3", "rain"));
    EXPECT_FALSE(doCancel(grid, Day, "14:00", "Partially Shared", "3", "rain"));
    EXPECT_EQ(prompter.prompts(),
              QStringList({"The field is empty", "You cannot delete paid item", "Delete individual slots"}));
    EXPECT_EQ(count("tbl_booking"), 1);

    grid.RefreshView();
    EXPECT_FALSE(grid.PaidCell(grid.RowOf("14:00")).isEmpty()) << "a paid amount under one half is still paid";
}

TEST_F(Booking, MidnightAndAfterAreStoredUnderTheBusinessDate)
{
    SetNow(QDateTime(QDate(2026, 12, 9), QTime(0, 20)));
    IsUserAllowed(false);
    EXPECT_TRUE(book(3, "24:00"));
    EXPECT_TRUE(book(3, "01:00"));
    EXPECT_FALSE(book(3, "23:00"));
    EXPECT_EQ(row(3, "24:00", "b_datetime"), "2026-12-08 24:00:00");
    TestGrid grid(Day, 3);
    grid.RefreshView();
    EXPECT_TRUE(grid.Rows()[17].IsBooked());
    EXPECT_TRUE(grid.Rows()[18].IsBooked());
}

TEST_F(Booking, QuotesAndBackslashesAreStoredIntactOnEveryRow)
{
    const QString name = "O'Brien \\ \"the\" Rovers\\";
    const QString tel = "555 \\' 01";
    Db::Execute("INSERT INTO tbl_booking_clipboard1 SET b_datetime='2026-12-01 10:00:00', b_field=4, b_bookername='" +
                SqlQuote(name) + "', b_bookertel='" + SqlQuote(tel) + "', b_bookerorg='Club\\'s', b_specialrate='member'");
    SlotDate = "2026-12-01";
    SlotTime = "10:00";
    SlotCourt = 4;
    IsUserAllowed(false);
    TestGrid grid(Day, 0);
    grid.Select({"16:00", "17:00", "19:00"});
    Block_Booking(grid, Day);

    EXPECT_EQ(count("tbl_booking WHERE b_field=0"), 3);
    EXPECT_EQ(count("tbl_booking WHERE b_field=0 AND b_bookername='" + SqlQuote(name) + "' AND b_bookertel='" +
                    SqlQuote(tel) + "' AND b_bookerorg='Club\\'s' AND b_specialrate='member' AND b_delaytime=0 "
                    "AND b_playlength=60"),
              3);
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Shared Booking'"), 6);
    EXPECT_EQ(count("tbl_remark WHERE m_remark='" + SqlQuote(" " + name + " " + tel) + "'"), 3);
    EXPECT_EQ(grid.refreshes, 0) << "block booking leaves the redraw to its caller";

    TestGrid other(Day, 3);
    other.Select({"20:00"});
    EXPECT_TRUE(doBooking(other, Day, "20:00", tel, "Org'", name, "3", "", false, 0, 60, 2));
    EXPECT_EQ(row(3, "20:00", "b_bookername, b_bookertel, b_bookerorg, b_person"),
              name + "|" + tel + "|Org'|2");
}

TEST_F(Booking, BlockBookingWithNothingCopiedBooksNothing)
{
    IsUserAllowed(false);
    TestGrid grid(Day, 3);
    grid.Select({"16:00"});
    Block_Booking(grid, Day);
    SlotDate = "2026-12-01";
    SlotTime = "10:00";
    SlotCourt = 4;
    Block_Booking(grid, Day);
    PasteFromWaitList = true;
    Block_Booking(grid, Day);
    EXPECT_EQ(count("tbl_booking"), 0);
    EXPECT_EQ(prompter.prompts(), QStringList({WaitListEntryGoneMessage}));
}

TEST_F(Booking, ABookedWaitingListEntryLeavesTheList)
{
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=7, w_datetime='2026-12-08 16:00', w_bookername='Wait'");
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=8, w_datetime='2026-12-08 17:00', w_bookername='Next'");
    WaitListCutId = "7";
    PasteFromWaitList = true;
    IsUserAllowed(false);
    TestGrid grid(Day, 3);
    grid.Select({"16:00", "17:00"});
    Block_Booking(grid, Day);
    EXPECT_EQ(count("tbl_waitlist"), 1) << "only the entry that was cut leaves the list";
    EXPECT_FALSE(PasteFromWaitList);
    EXPECT_TRUE(WaitListCutId.isEmpty());
    EXPECT_EQ(grid.waitListRefreshes, 1);
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Wait'"), 2);
}

TEST_F(Booking, EveryAuditRowNamesItsSlotTimeStaffAndClock)
{
    SkipVerification = 0;
    Succeeded_Login = true;
    Succeeded_User = "O'Hara";
    Succeeded_Status = "staff";
    ASSERT_TRUE(book(1, "24:00"));
    ASSERT_TRUE(book(0, "01:00"));
    TestGrid grid(Day, 1);
    grid.RefreshView();
    grid.current = grid.RowOf("24:00");
    AddExtraTime(grid, grid.current, 30, LengthMethod::Shorten, false);
    DelayGameTime(grid, grid.RowOf("24:00"), 15, false);
    ASSERT_TRUE(cancel(1, "24:00"));
    ASSERT_TRUE(cancel(0, "01:00"));

    const QStringList expected = {
        "1 2026-12-08 24:00:00 book", "0 2026-12-08 24:00:00 book",
        "0 2026-12-08 01:00:00 book", "1 2026-12-08 01:00:00 book", "2 2026-12-08 01:00:00 book",
        "1 2026-12-08 24:00:00 shorten slot", "0 2026-12-08 24:00:00 shorten slot",
        "1 2026-12-08 24:00:00 delay slot", "0 2026-12-08 24:00:00 delay slot",
        "1 2026-12-08 24:00:00 cancel", "0 2026-12-08 24:00:00 cancel",
        "0 2026-12-08 01:00:00 cancel", "1 2026-12-08 01:00:00 cancel", "2 2026-12-08 01:00:00 cancel"};
    QStringList written;
    for (Recordset rs = Db::Query("SELECT m_field, m_datetime, m_job, m_dotime, m_staff, m_actiontime FROM tbl_remark "
                                  "ORDER BY m_id");
         !rs.EOF_(); rs.MoveNext()) {
        written << rs["m_field"].Value() + " " + rs["m_datetime"].Value() + " " + rs["m_job"].Value();
        EXPECT_EQ(rs["m_dotime"].Value(), "2026-12-08 14:05:09");
        EXPECT_EQ(rs["m_staff"].Value(), "O'Hara");
        EXPECT_EQ(rs["m_actiontime"].Value(), "8 Dec 02:05:09 PM");
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(count("tbl_booking"), 0);
}

TEST_F(Booking, TwoStationsBookingOneSlotAtOnceGiveOneBooking)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    const QStringList hours = {"15:00", "16:00", "17:00", "18:00", "19:00", "20:00", "21:00", "22:00", "23:00"};
    std::atomic<int> booked = 0, failed = 0;
    for (int court : {0, 3, 4}) {
        for (const QString& hour : hours) {
            std::barrier start(2);
            auto station = [&](const QString& name) {
                TestGrid grid(Day, court);
                start.arrive_and_wait();
                try {
                    if (doBooking(grid, Day, hour, "", "", name, QString::number(court), "", false, 0, 60, 0))
                        ++booked;
                } catch (const VbError&) {
                    ++failed;
                }
            };
            std::thread a(station, "Station A"), b(station, "Station B");
            a.join();
            b.join();
            EXPECT_EQ(count("tbl_booking WHERE b_field=" + QString::number(court) + " AND b_datetime='" + Day + " " +
                            hour + ":00'"),
                      1);
        }
    }
    EXPECT_EQ(booked, 27);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(counting.prompts.size(), 27);
    EXPECT_EQ(counting.prompts.filter("The field already being booked").size(), 27);
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Shared Booking'"), 18);
    EXPECT_EQ(count("tbl_remark"), 27 + 18);
}

TEST_F(Booking, ExtraTimeAndShorteningKeepSharedCourtsInStep)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(0, "15:00"));
    TestGrid grid(Day, 0);
    grid.RefreshView();
    grid.Select({"15:00"});
    AddExtraTime(grid, grid.RowOf("15:00"), 30, LengthMethod::Shorten, false);
    EXPECT_EQ(count("tbl_booking WHERE b_playlength=30"), 3);
    EXPECT_EQ(remarks("m_job='shorten slot'"),
              QStringList({"0 shorten slot: for 30 minutes  by counter", "1 shorten slot: for 30 minutes  by counter",
                           "2 shorten slot: for 30 minutes  by counter"}));
    EXPECT_EQ(grid.refreshes, 2);

    doAddExtraTime(grid, 15);
    EXPECT_EQ(row(0, "15:00", "b_playlength"), "45");
    EXPECT_EQ(remarks("m_job='extra time'").first(), "0 extra time: for 45 minutes  by counter");
}

TEST_F(Booking, AFreeOrPaidRowGetsNoExtraTime)
{
    IsUserAllowed(false);
    TestGrid grid(Day, 3);
    AddExtraTime(grid, grid.RowOf("16:00"), 30, LengthMethod::ExtraTime, false);
    ASSERT_TRUE(book(3, "16:00"));
    Db::Execute("UPDATE tbl_booking SET b_paid=5");
    grid.RefreshView();
    AddExtraTime(grid, grid.RowOf("16:00"), 75, LengthMethod::ExtraTime, false);
    EXPECT_EQ(prompter.prompts(), QStringList({"There is no booked slot to add 30 minutes", "The slot already paid"}));
    EXPECT_EQ(row(3, "16:00", "b_playlength"), "60");
}

TEST_F(Booking, DelayingADependentStretchesItsMaster)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(1, "15:00"));
    ASSERT_TRUE(book(2, "15:00"));
    TestGrid grid(Day, 2);
    grid.RefreshView();
    DelayGameTime(grid, grid.RowOf("15:00"), 15, false);
    EXPECT_EQ(row(2, "15:00", "b_delaytime, b_playlength"), "15|60");
    EXPECT_EQ(row(0, "15:00", "b_delaytime, b_playlength, b_shared"), "0|75|2");
    EXPECT_EQ(remarks("m_job='delay slot'"),
              QStringList({"2 delay slot: for 15 minutes  by counter", "0 delay slot: for 0 minutes  by counter"}));
    EXPECT_EQ(grid.Rows()[grid.RowOf("15:00")].delay, 15) << "the grid is current when it returns";

    // A master with no row at that hour (the pair was set up after the booking): only its history is told.
    ASSERT_TRUE(book(2, "17:00"));
    Db::Execute("DELETE FROM tbl_booking WHERE b_field=0 AND b_datetime LIKE '% 17:00:00'");
    grid.RefreshView();
    DelayGameTime(grid, grid.RowOf("17:00"), 30, false);
    AddExtraTime(grid, grid.RowOf("17:00"), 30, LengthMethod::Shorten, false);
    EXPECT_EQ(row(2, "17:00", "b_delaytime, b_playlength") + " " + row(0, "17:00", "b_delaytime"), "30|30 none");
    EXPECT_EQ(remarks("m_field=0 AND m_datetime LIKE '% 17:00:00' AND m_job<>'book'"),
              QStringList({"0 delay slot: for 30 minutes  by counter", "0 shorten slot: for 30 minutes  by counter"}));
}

TEST_F(Booking, DelayStopsAtASharedRowAndSkipsConflicts)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(0, "14:00"));
    ASSERT_TRUE(book(1, "15:00"));
    ASSERT_TRUE(book(0, "16:00"));
    TestGrid grid(Day, 0);
    grid.RefreshView();
    grid.Select({"14:00", "15:00", "16:00", "18:00"});
    doDelay(grid, 15);
    EXPECT_EQ(prompter.prompts(), QStringList({"Please delay individual slots"}));
    EXPECT_EQ(row(0, "16:00", "b_delaytime"), "15");
    EXPECT_EQ(row(1, "16:00", "b_delaytime"), "15") << "the dependents follow their master";
    EXPECT_EQ(row(0, "14:00", "b_delaytime"), "0");

    prompter.clear();
    ASSERT_TRUE(book(3, "17:00"));
    ASSERT_TRUE(book(3, "18:00"));
    TestGrid third(Day, 3);
    third.RefreshView();
    third.Select({"17:00"});
    doDelay(third, 30);
    EXPECT_EQ(prompter.prompts(), QStringList({"conflicting! cannot delay"}));
    EXPECT_EQ(row(3, "17:00", "b_delaytime"), "0");
}

// The slots the races run on: every hour left of the day and the business days after it.
std::vector<std::pair<QString, QString>> raceSlots()
{
    std::vector<std::pair<QString, QString>> result;
    for (const QString& date : QStringList{"2026-12-08", "2026-12-09", "2026-12-10"})
        for (const QString& time : QStringList{"15:00", "16:00", "17:00", "18:00", "19:00", "20:00", "21:00", "22:00",
                                               "23:00", "24:00", "01:00", "02:00"})
            result.emplace_back(date, time);
    return result;
}

// Two stations act at the same moment, each on a thread and connection of its own; a failure that
// reaches either is counted.
class SharedCourtRaces : public Booking {
protected:
    template <class... Stations>
    void atOnce(Stations... stations)
    {
        std::barrier start(sizeof...(Stations));
        auto run = [&](auto& action) {
            start.arrive_and_wait();
            try {
                action();
            } catch (const VbError& e) {
                QMutexLocker lock(&mutex);
                failures << e.description();
            }
        };
        std::vector<std::thread> threads;
        (threads.emplace_back([&] { run(stations); }), ...);
        for (std::thread& thread : threads)
            thread.join();
    }
    static bool cancelAs(int court, const QString& date, const QString& time, const QString& shownName)
    {
        TestGrid grid(date, court);
        return doCancel(grid, date, time, shownName, QString::number(court), "moved");
    }
    static void stretch(int court, const QString& date, const QString& time, int length)
    {
        TestGrid grid(date, court);
        grid.RefreshView();
        AddExtraTime(grid, grid.RowOf(time), length, LengthMethod::ExtraTime, false);
    }
    static long long slotRows(const QString& date, const QString& time)
    {
        return count("tbl_booking WHERE b_datetime='" + date + " " + time + ":00'");
    }

    QMutex mutex;
    QStringList failures;
};

TEST_F(SharedCourtRaces, AMasterAndItsDependentBookedAtOnceAreNeverBothBooked)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    for (const auto& [date, time] : raceSlots()) {
        std::atomic<bool> masterBooked = false, dependentBooked = false;
        atOnce([&] { masterBooked = book(0, time, "Hall", 0, 60, date); },
               [&] { dependentBooked = book(1, time, "Half", 0, 60, date); });
        ASSERT_NE(masterBooked, dependentBooked) << date.toStdString() << " " << time.toStdString();
        if (masterBooked) {
            EXPECT_EQ(row(1, time, "b_bookername", date), "Shared Booking");
            EXPECT_EQ(row(2, time, "b_bookername", date), "Shared Booking");
            EXPECT_EQ(slotRows(date, time), 3);
        } else {
            EXPECT_EQ(row(0, time, "b_bookername, b_shared", date), "Partially Shared|1");
            EXPECT_EQ(slotRows(date, time), 2);
        }
        EXPECT_EQ(count("tbl_remark WHERE m_datetime='" + date + " " + time + ":00'"), masterBooked ? 3 : 2)
            << "the loser wrote no audit row";
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_EQ(counting.prompts, QStringList(QList<QString>(raceSlots().size(), "The field already being booked")));
}

TEST_F(SharedCourtRaces, TwoDependentsCancelledAtOnceLeaveNoMasterRow)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    for (const auto& [date, time] : raceSlots()) {
        ASSERT_TRUE(book(1, time, "Anna", 0, 60, date));
        ASSERT_TRUE(book(2, time, "Ben", 15, 60, date));
        ASSERT_EQ(row(0, time, "b_shared", date), "2");
        std::atomic<int> cancelled = 0;
        atOnce([&] { cancelled += cancelAs(1, date, time, "Anna"); },
               [&] { cancelled += cancelAs(2, date, time, "Ben"); });
        EXPECT_EQ(cancelled, 2);
        EXPECT_EQ(slotRows(date, time), 0) << date.toStdString() << " " << time.toStdString();
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_TRUE(counting.prompts.isEmpty()) << counting.prompts.join("\n").toStdString();
}

TEST_F(SharedCourtRaces, AStaleGridsCancelDeletesNothingItDoesNotOwn)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    // Station A still shows Anna on court 1; station B clears her and books the whole hall.
    for (const auto& [date, time] : raceSlots()) {
        ASSERT_TRUE(book(1, time, "Anna", 0, 60, date));
        atOnce([&] { cancelAs(1, date, time, "Anna"); },
               [&] {
                   cancelAs(1, date, time, "Anna");
                   book(0, time, "Hall", 0, 60, date);
               });
        EXPECT_EQ(row(0, time, "b_bookername", date), "Hall") << date.toStdString() << " " << time.toStdString();
        EXPECT_EQ(row(1, time, "b_bookername", date), "Shared Booking");
        EXPECT_EQ(row(2, time, "b_bookername", date), "Shared Booking");
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();

    // What the slot holds now decides, not the name the grid showed.
    counting.prompts.clear();
    EXPECT_FALSE(cancelAs(1, Day, "15:00", "Anna"));
    ASSERT_TRUE(book(3, "15:00", "Carl"));
    ASSERT_TRUE(book(3, "16:00", "Dora"));
    TestGrid grid(Day, 3);
    EXPECT_EQ(CancelSlots(grid, Day, {"15:00", "16:00"}, {"Anna", "Dora"}, "3", "moved"),
              std::vector<bool>({false, true}));
    EXPECT_EQ(row(3, "15:00", "b_bookername"), "Carl");
    EXPECT_EQ(row(3, "16:00", "b_bookername"), "none");
    EXPECT_EQ(counting.prompts,
              QStringList({"Please delete main slots",
                           "The slot was changed at another station since it was shown: it now holds Carl. "
                           "Please look at it again."}));
}

TEST_F(SharedCourtRaces, ExtraTimeOnDependentsKeepsTheMasterCoveringThem)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    // The master keeps its span when an earlier dependent goes; stretching the later one past it
    // must stretch the master too, from the start it has.
    ASSERT_TRUE(book(1, "15:00", "Anna", 0, 60));
    ASSERT_TRUE(book(2, "15:00", "Ben", 15, 60));
    ASSERT_TRUE(cancelAs(1, Day, "15:00", "Anna"));
    stretch(2, Day, "15:00", 75);
    EXPECT_EQ(row(0, "15:00", "b_delaytime + b_playlength >= 90 AND b_delaytime <= 15, b_shared"), "1|1");

    // Every other hour, so that one round's stretched slots leave the next round's hour free.
    const auto hours = raceSlots();
    for (size_t i = 2; i < hours.size(); i += 2) {
        const auto& [date, time] = hours[i];
        ASSERT_TRUE(book(1, time, "Anna", 0, 60, date));
        ASSERT_TRUE(book(2, time, "Ben", 15, 60, date));
        atOnce([&] { stretch(1, date, time, 90); }, [&] { stretch(2, date, time, 75); });
        EXPECT_EQ(row(0, time, "b_delaytime, b_playlength", date), "0|90") << date.toStdString() << " "
                                                                            << time.toStdString();
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_TRUE(counting.prompts.isEmpty()) << counting.prompts.join("\n").toStdString();
}

// Consecutive hours of the races' days, each pair apart from the others: (15:00, 16:00), (17:00, 18:00)...
std::vector<std::tuple<QString, QString, QString>> hourPairs()
{
    const auto hours = raceSlots();
    std::vector<std::tuple<QString, QString, QString>> pairs;
    for (size_t i = 0; i + 1 < hours.size(); i += 2)
        pairs.emplace_back(hours[i].first, hours[i].second, hours[i + 1].second);
    return pairs;
}

TEST_F(SharedCourtRaces, TwoDependentsBookedAtOnceAreBothCountedIntoTheirMaster)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    for (const auto& [date, time] : raceSlots()) {
        std::atomic<int> booked = 0;
        atOnce([&] { booked += book(1, time, "Anna", 0, 60, date); },
               [&] { booked += book(2, time, "Ben", 15, 60, date); });
        EXPECT_EQ(booked, 2) << date.toStdString() << " " << time.toStdString();
        EXPECT_EQ(row(0, time, "b_bookername, b_shared, b_delaytime, b_playlength", date),
                  "Partially Shared|2|0|75");
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_TRUE(counting.prompts.isEmpty()) << counting.prompts.join("\n").toStdString();
}

// Extra time on one hour and a booking of the next at two stations: exactly one of them goes through,
// on a plain court and where the master's extra time would run into a dependent's next hour.
TEST_F(SharedCourtRaces, ExtraTimeAndABookingOfTheNextHourNeverOverlap)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    for (const int court : {3, 0}) {
        const int nextCourt = court == 0 ? 1 : court;
        for (const auto& [date, time, next] : hourPairs()) {
            ASSERT_TRUE(book(court, time, "Anna", 0, 60, date));
            std::atomic<bool> nextBooked = false;
            atOnce([&] { stretch(court, date, time, 90); },
                   [&] { nextBooked = book(nextCourt, next, "Ben", 0, 60, date); });
            const bool stretched = row(court, time, "b_playlength", date) == "90";
            EXPECT_NE(stretched, nextBooked) << court << " " << date.toStdString() << " " << time.toStdString();
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_EQ(counting.prompts.size(), 2 * hourPairs().size()) << "each loser is told";
}

TEST_F(SharedCourtRaces, ExtraTimeAndADelayOfTheNextHourNeverOverlap)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    for (const auto& [date, time, next] : hourPairs()) {
        ASSERT_TRUE(book(3, time, "Anna", 0, 60, date));
        ASSERT_TRUE(book(3, next, "Ben", 30, 30, date));
        // Either fits by itself: Anna until half past, or Ben from a quarter past.
        atOnce([&] { stretch(3, date, time, 90); },
               [&] {
                   TestGrid grid(date, 3);
                   grid.RefreshView();
                   DelayGameTime(grid, grid.RowOf(next), 15, false);
               });
        const bool stretched = row(3, time, "b_playlength", date) == "90";
        const bool delayed = row(3, next, "b_delaytime", date) == "15";
        EXPECT_NE(stretched, delayed) << date.toStdString() << " " << time.toStdString();
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_EQ(counting.prompts.size(), hourPairs().size());
}

TEST_F(SharedCourtRaces, ASlotCommandActsOnlyOnTheBookingTheGridShowed)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(3, "15:00", "Anna"));
    ASSERT_TRUE(book(3, "18:00", "Cleo"));
    TestGrid stale(Day, 3);
    stale.RefreshView();
    // Another station clears Anna and books Ben, and clears Cleo.
    ASSERT_TRUE(cancelAs(3, Day, "15:00", "Anna"));
    ASSERT_TRUE(book(3, "15:00", "Ben", 0, 60));
    ASSERT_TRUE(cancelAs(3, Day, "18:00", "Cleo"));

    stale.Select({"15:00", "18:00"});
    doDelay(stale, 30);
    stale.RefreshView();
    stale.rows[static_cast<size_t>(stale.RowOf("15:00"))].bookerName = "Anna";
    AddExtraTime(stale, stale.RowOf("15:00"), 75, LengthMethod::ExtraTime, false);
    EXPECT_EQ(row(3, "15:00", "b_bookername, b_delaytime, b_playlength"), "Ben|0|60");
    const QString changed =
        "The slot was changed at another station since it was shown: it now holds Ben. Please look at it again.";
    EXPECT_EQ(prompter.prompts(),
              QStringList({"The slot was changed at another station since it was shown: it is now free. "
                           "Please look at it again.",
                           changed, changed}));
    EXPECT_EQ(count("tbl_remark WHERE m_job NOT IN ('book', 'cancel')"), 0);
}

// A court's turn covers its own date and the courts that share its space, and nothing more.
TEST_F(SharedCourtRaces, AChangeThatCannotGetItsCourtInTimeSaysAnotherStationIsChangingIt)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    // Another station holds the pitch half 1 on the day longer than a change waits (twice): one whose
    // server waits longer than the stations' own for an idle transaction.
    auto holder = Db::Open({5, 10, 10, 60});
    holder->BeginTrans();
    LockCourts(*holder, 1, {Day});
    QElapsedTimer waited;
    waited.start();
    EXPECT_TRUE(book(0, "15:00", "Hall", 0, 60, "2026-12-15"));
    EXPECT_TRUE(book(3, "15:00", "Anna"));
    EXPECT_LT(waited.elapsed(), LockWaitSeconds * 1000) << "other dates and courts do not wait";
    EXPECT_FALSE(book(0, "15:00", "Hall"));
    holder->RollbackTrans();
    EXPECT_EQ(counting.prompts, QStringList({SlotBusyMessage}));
    EXPECT_EQ(row(0, "15:00", "b_bookername"), "none");
}

// A station of the version before the turns by date takes a court's turn on its dateless row: a change
// here waits for it and it for a change here, whether or not the court had that row before.
TEST_F(SharedCourtRaces, AStationOfThePreviousVersionAndThisOneTakeTurnsOnACourt)
{
    CountingPrompter counting;
    IsUserAllowed(false);
    ASSERT_TRUE(book(3, "15:00", "Anna"));
    const QString olderTurn = "INSERT INTO tbl_courtlock SET cl_field=%1 ON DUPLICATE KEY UPDATE cl_changes=1";
    auto older = Db::Open({5, 10, 10, 60});
    older->BeginTrans();
    older->Execute(olderTurn.arg(3));
    auto booking = std::async(std::launch::async, [] { return book(3, "16:00", "Ben"); });
    EXPECT_EQ(booking.wait_for(std::chrono::milliseconds(700)), std::future_status::timeout) << "waits for it";
    older->Execute("UPDATE tbl_booking SET b_playlength=120" + SlotWhere(Day, "15:00", 3));
    older->CommitTrans();
    EXPECT_FALSE(booking.get());
    EXPECT_EQ(row(3, "16:00", "b_bookername"), "none") << "the court is not sold twice";
    EXPECT_EQ(counting.prompts.size(), 1);

    Db::Execute("DELETE FROM tbl_courtlock WHERE cl_field=4");
    for (const int court : {3, 4}) {
        auto current = Db::Open({5, 10, 10, 60});
        current->BeginTrans();
        LockCourts(*current, court, {"2026-12-20"});
        EXPECT_THROW(older->Execute("SET STATEMENT innodb_lock_wait_timeout=1 FOR " + olderTurn.arg(court)), VbError)
            << court << " is held off, with a dateless row or without";
        current->RollbackTrans();
        EXPECT_NO_THROW(older->Execute(olderTurn.arg(court)));
    }

    // The hall's and a half's dateless rows missing: an older station takes the hall's turn (and makes
    // them) while two stations here book the halves; its change is refused every other time, which
    // takes the rows it made away again. Nobody deadlocks.
    const auto deadlocks = [] {
        return scalar("SELECT variable_value FROM information_schema.global_status "
                      "WHERE variable_name='INNODB_DEADLOCKS'").toLongLong();
    };
    const long long before = deadlocks();
    bool refused = false;
    for (const auto& [date, time] : raceSlots()) {
        refused = !refused;
        Db::Execute("DELETE FROM tbl_courtlock WHERE cl_field IN (0, 2) AND cl_date=''");
        atOnce(
            [&] {
                auto station = Db::Open({5, 10, 10, 60});
                station->BeginTrans();
                station->Execute("INSERT INTO tbl_courtlock (cl_field) VALUES (0),(1),(2) "
                                 "ON DUPLICATE KEY UPDATE cl_changes=cl_changes+1");
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (refused)
                    station->RollbackTrans();
                else
                    station->CommitTrans();
            },
            [&] { book(1, time, "Anna", 0, 60, date); }, [&] { book(2, time, "Ben", 0, 60, date); });
        EXPECT_EQ(row(0, time, "b_shared", date), "2") << date.toStdString() << " " << time.toStdString();
    }
    EXPECT_EQ(deadlocks() - before, 0);
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    EXPECT_EQ(counting.prompts.size(), 1) << counting.prompts.join("\n").toStdString();
}

// The big pitch and its half booked at once on dates a week apart: each takes its own days' turns.
TEST_F(SharedCourtRaces, TheSharedCourtsAreBookedSideBySideOnDifferentDates)
{
    IsUserAllowed(false);
    std::atomic<int> booked = 0;
    for (const auto& [date, time] : raceSlots()) {
        const QString weekLater = QDate::fromString(date, Qt::ISODate).addDays(7).toString(Qt::ISODate);
        atOnce([&] { booked += book(0, time, "Hall", 0, 60, date); },
               [&] { booked += book(1, time, "Half", 0, 60, weekLater); });
    }
    EXPECT_EQ(booked, 2 * static_cast<int>(raceSlots().size())) << failures.join("\n").toStdString();
}

TEST_F(Booking, ABlockBookingNamesEveryWeekItLeavesOutWithItsReason)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(3, "20:00", "Copied"));
    ASSERT_TRUE(book(3, "18:00", "Late", 0, 70));
    ASSERT_TRUE(book(3, "18:00", "Long", 0, 80, "2026-12-15"));
    ASSERT_TRUE(book(3, "19:00", "Taken", 0, 60, "2026-12-22"));
    SlotDate = Day;
    SlotTime = "20:00";
    SlotCourt = 3;
    Db::Execute("INSERT INTO tbl_booking_clipboard1 SET b_datetime='2026-12-08 20:00:00', b_field=3, "
                "b_bookername='Copied'");
    TestGrid grid(Day, 3);
    grid.Select({"13:00", "19:00"});
    Block_Booking(grid, QStringList{"2026-12-08", "2026-12-15", "2026-12-22", "2026-12-29"});
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Copied'"), 1 + 3 + 1) << "13:00 of three weeks, 19:00 of one";
    EXPECT_EQ(prompter.prompts(), QStringList({"These hours of the block booking were not booked:\r\n"
                                               "2026-12-08 13:00: You cannot book previous entry\r\n"
                                               "2026-12-08 19:00: The slot before it runs into it.\r\n"
                                               "2026-12-15 19:00: The slot before it runs into it.\r\n"
                                               "2026-12-22 19:00: The field already being booked"}));
}

TEST_F(Booking, AFailureInTheMiddleOfASharedCourtChangeWritesNothing)
{
    IsUserAllowed(false);
    ASSERT_TRUE(book(1, "16:00"));
    PrivateDatabase::RunClient(
        "USE posdb;\nDELIMITER //\n"
        "CREATE TRIGGER lost_disk BEFORE INSERT ON tbl_remark FOR EACH ROW "
        "IF NEW.m_field=2 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='disk full'; END IF//\n"
        "CREATE TRIGGER lost_master BEFORE UPDATE ON tbl_booking FOR EACH ROW "
        "IF NEW.b_field=0 THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='disk full'; END IF//\n"
        "CREATE TRIGGER lost_late BEFORE INSERT ON tbl_booking FOR EACH ROW "
        "IF NEW.b_datetime='2026-12-08 21:00:00' THEN SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='disk full'; "
        "END IF//\n");
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=7, w_datetime='2026-12-08 15:00', w_bookername='Wait'");
    WaitListCutId = "7";
    PasteFromWaitList = true;
    const long long remarksBefore = count("tbl_remark");

    TestGrid grid(Day, 0);
    EXPECT_THROW(doBooking(grid, Day, "15:00", "1", "", "Wait", "0", "", true, 0, 60, 0), VbError);
    EXPECT_EQ(count("tbl_booking WHERE b_datetime LIKE '2026-12-08 15%'"), 0);
    EXPECT_EQ(count("tbl_waitlist"), 1);
    EXPECT_TRUE(PasteFromWaitList);

    TestGrid dependent(Day, 1);
    dependent.RefreshView();
    EXPECT_THROW(DelayGameTime(dependent, dependent.RowOf("16:00"), 30, false), VbError);
    EXPECT_EQ(row(1, "16:00", "b_delaytime"), "0");

    TestGrid third(Day, 3);
    EXPECT_THROW(
        BookSlots(third, Day, {"19:00", "20:00", "21:00"}, {"1", "", "Block", "", 0}, "3", false, 0, 60), VbError);
    EXPECT_EQ(count("tbl_booking WHERE b_field=3"), 0) << "the hours before the failing one are undone as well";
    EXPECT_EQ(count("tbl_remark"), remarksBefore);
}

TEST_F(Booking, EveryOperationRefusesACourtThatIsNotThere)
{
    IsUserAllowed(false);
    LastCourtIndex = 5;
    ASSERT_TRUE(book(5, "15:00"));
    prompter.clear();
    SlotDate = "2026-12-01";
    Db::Execute("INSERT INTO tbl_booking_clipboard1 SET b_datetime='2026-12-01 10:00:00', b_field=0, b_bookername='B'");
    SlotTime = "10:00";
    SlotCourt = 0;
    for (const QString& court : QStringList{"", "6", "99", "-1", "1.5", "x"}) {
        TestGrid grid(Day, 5);
        grid.RefreshView();
        grid.court = court;
        grid.Select({"15:00"});
        EXPECT_FALSE(doBooking(grid, Day, "16:00", "", "", "Anna", court, "", false, 0, 60, 0));
        EXPECT_FALSE(doCancel(grid, Day, "15:00", "Anna", court, "rain"));
        Block_Booking(grid, Day);
        doDelay(grid, 15);
        doAddExtraTime(grid, 15);
        DelayGameTime(grid, grid.RowOf("15:00"), 30, false);
        AddExtraTime(grid, grid.RowOf("15:00"), 30, LengthMethod::Shorten, false);
        const QString refusal = court.isEmpty() ? "Please choose a court first."
                                                : "There is no court " + court + ": the courts are numbered 0 to 5.";
        EXPECT_EQ(prompter.prompts(), QStringList(QList<QString>(7, refusal)));
        prompter.clear();
    }
    EXPECT_EQ(count("tbl_booking"), 1);
    EXPECT_EQ(row(5, "15:00", "b_delaytime, b_playlength"), "0|60");
    EXPECT_EQ(count("tbl_remark"), 1);
    LastCourtIndex = MaxCourts - 1;
}

} // namespace
