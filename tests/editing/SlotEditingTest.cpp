#include "EditingTest.h"
#include "PlayerCountChange.h"
#include "SlotClipboard.h"
#include "TimingCommands.h"

#include "PlayerCount.h"
#include "SlotChanges.h"

#include "CountingPrompter.h"
#include "DatabaseProxy.h"
#include "ModalDialog.h"
#include "SlotOffers.h"

#include <QProcess>

#include <barrier>
#include <thread>

namespace {

class SlotEditing : public EditingTest {
protected:
    // "court job:remark by staff", in the order written, of the remark rows after the bookings.
    static QStringList changes()
    {
        QStringList list;
        for (Recordset rs = Db::Query("SELECT m_field, m_job, m_remark, m_staff FROM tbl_remark WHERE m_job<>'book' "
                                      "ORDER BY m_id");
             !rs.EOF_(); rs.MoveNext())
            list << rs.Fields(0).Value() + " " + rs.Fields(1).Value() + ":" + rs.Fields(2).Value() + " by " +
                        rs.Fields(3).Value();
        return list;
    }
};

TEST_F(SlotEditing, TimingCommandsOnASingleCourtAndOnACourtWithDependents)
{
    book(3, "15:00", "Anna", 15, 75);
    Db::Execute("DELETE FROM tbl_remark");
    TestGrid single = gridAt(3, "15:00");
    TimingCommands::ClearExtraTime(single);
    EXPECT_EQ(row(3, "15:00", "b_delaytime, b_playlength"), "15|60");
    TimingCommands::SetDuration(single, 30);
    TimingCommands::StartAtBeginning(single);
    EXPECT_EQ(row(3, "15:00", "b_delaytime, b_playlength"), "0|30");
    TimingCommands::SetDuration(single, 60);
    EXPECT_EQ(row(3, "15:00", "b_delaytime, b_playlength"), "0|60");
    EXPECT_EQ(changes(), QStringList({"3 extra time: for 60 minutes  by counter",
                                      "3 shorten slot: for 30 minutes  by counter",
                                      "3 delay slot: for 0 minutes  by counter",
                                      "3 shorten slot: for 60 minutes  by counter"}));

    book(0, "17:00", "Club", 30, 60);
    Db::Execute("DELETE FROM tbl_remark");
    TestGrid master = gridAt(0, "17:00");
    TimingCommands::SetDuration(master, 45);
    TimingCommands::StartAtBeginning(master);
    EXPECT_EQ(count("tbl_booking WHERE b_datetime='2026-12-08 17:00:00' AND b_delaytime=0 AND b_playlength=45"), 3);
    EXPECT_EQ(changes(), QStringList({"0 shorten slot: for 45 minutes  by counter",
                                      "1 shorten slot: for 45 minutes  by counter",
                                      "2 shorten slot: for 45 minutes  by counter",
                                      "0 delay slot: for 0 minutes  by counter",
                                      "1 delay slot: for 0 minutes  by counter",
                                      "2 delay slot: for 0 minutes  by counter"}));
    EXPECT_TRUE(prompter.prompts().isEmpty());

    Db::Execute("DELETE FROM tbl_remark");
    TestGrid dependent = gridAt(1, "17:00");
    for (int minutes : {15, 60})
        TimingCommands::SetDuration(dependent, minutes);
    TimingCommands::ClearExtraTime(dependent);
    EXPECT_EQ(prompter.prompts(), QStringList({"Please set main slots", "Please set main slots",
                                               "Please clear the extra time of main slots"}));
    EXPECT_TRUE(changes().isEmpty());
}

TEST_F(SlotEditing, ALongerSlotIsTestedFromItsOwnStartAgainstTheNextSlotAsItIsNow)
{
    book(3, "15:00", "Anna", 15, 30);
    book(3, "16:00", "Ben");
    TestGrid grid = gridAt(3, "15:00");
    TimingCommands::SetDuration(grid, 60);
    EXPECT_EQ(prompter.prompts(), QStringList({"conflicting! cannot delay"})) << "15 + 60 runs into 16:00";
    EXPECT_EQ(row(3, "15:00", "b_playlength"), "30");

    prompter.clear();
    Db::Execute("UPDATE tbl_booking SET b_delaytime=15 WHERE b_field=3 AND b_datetime LIKE '% 16:00:00'");
    grid.RefreshView();
    TimingCommands::SetDuration(grid, 60);
    EXPECT_EQ(row(3, "15:00", "b_playlength"), "60") << "it ends as the next slot starts";

    // A stale grid: the hour after was booked at another station after the grid was drawn.
    prompter.clear();
    book(4, "18:00", "Cleo", 15, 30);
    TestGrid stale = gridAt(4, "18:00");
    book(4, "19:00", "Dan", 10);
    TimingCommands::ClearExtraTime(stale);
    EXPECT_EQ(prompter.prompts(), QStringList({"conflicting! cannot delay"}));
    EXPECT_EQ(row(4, "18:00", "b_playlength"), "30");

    // The last row of the day: extra time that runs past closing can be taken back.
    prompter.clear();
    book(5, "02:00", "Eve", 0, 75);
    TestGrid last = gridAt(5, "02:00");
    TimingCommands::ClearExtraTime(last);
    EXPECT_EQ(row(5, "02:00", "b_playlength"), "60");
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

// The link breaks while slot changes are committed: each is looked up by its audit row, told as it is,
// and never done twice.
TEST_F(SlotEditing, AChangeWhoseCommitWasLostIsFoundOutAndNeverDoneTwice)
{
    book(3, "15:00", "Anna");
    TestGrid grid = gridAt(3, "15:00");
    DatabaseProxy proxy;
    ConnectionString = proxy.ConnectionString();
    // Written, but the server can then be neither asked nor read: the grid still shows 60 minutes.
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
    Guarded("adding extra time", [&] { doAddExtraTime(grid, 15); });
    proxy.SetRefusing(false);
    Guarded("adding extra time", [&] { doAddExtraTime(grid, 15); });
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply);
    EXPECT_TRUE(doBooking(grid, Day, "17:00", "", "", "Ben", "3", "", false, 0, 60, 0));
    proxy.LoseNext(DatabaseProxy::Loss::Commit);
    EXPECT_FALSE(doCancel(grid, Day, "17:00", "Ben", "3", "rain"));
    EXPECT_EQ(changes(), QStringList{"3 extra time: for 75 minutes  by counter"}) << "and no cancel";
    EXPECT_EQ(row(3, "17:00", "b_bookername") + row(3, "15:00", "b_playlength"), "Ben75");
    const QString lost = "The connection to the database was lost while the change was being written. It ";
    EXPECT_EQ(prompter.prompts(),
              QStringList({lost + "may or may not have been written: the database does not answer. Look at the slot "
                                  "again once it does, before you repeat the change.",
                           "The slot was changed since it was shown: it now plays 75 minutes. Nothing was added: "
                           "please look at it again.",
                           "The database did not confirm the change, but it was written.",
                           lost + "was not written: nothing was changed. Please try again."}));

    // A paste of a cut entry and a block booking that cannot be told: the next attempt says what it
    // finds, not that another station did it, and books nothing twice.
    prompter.clear();
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=9, w_bookername='Wait', w_bookertel='9'");
    SlotClipboard::Cut("9");
    grid.Select({"20:00"});
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
    Guarded("pasting the slot", [&] { SlotClipboard::Paste(grid); });
    proxy.SetRefusing(false);
    SlotClipboard::Paste(grid);
    grid.RefreshView();
    grid.Select({"17:00"});
    SlotClipboard::Copy(grid);
    grid.Select({"21:00", "22:00"});
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
    Guarded("block booking", [&] { SlotClipboard::BlockBook(grid, 1); });
    proxy.SetRefusing(false);
    SlotClipboard::BlockBook(grid, 1);
    EXPECT_EQ(row(3, "20:00", "b_bookername"), "Wait");
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Ben'"), 5);
    const QString unknown = lost + "may or may not have been written: the database does not answer. Look at the slot "
                                  "again once it does, before you repeat the change.";
    const QString ours = ": Already booked for Ben by the booking whose reply was lost.";
    EXPECT_EQ(prompter.prompts(),
              QStringList({unknown,
                           "The waiting-list entry cut at this station is no longer on the waiting list: the booking "
                           "of it whose reply was lost may have been written, or another station booked or cleared "
                           "it. Nothing more was booked: please look at the grid, then cut or copy the booker again.",
                           unknown,
                           "These hours of the block booking were not booked:\r\n2026-12-08 21:00" + ours +
                               "\r\n2026-12-08 22:00" + ours + "\r\n2026-12-15 21:00" + ours +
                               "\r\n2026-12-15 22:00" + ours}));

    // A booking that was not written, which could not be told then: once a press has booked its hour,
    // a refusal of the hour no longer blames it.
    prompter.clear();
    proxy.LoseNext(DatabaseProxy::Loss::Commit, true);
    Guarded("booking the slot", [&] { doBooking(grid, Day, "23:00", "", "", "Cleo", "3", "", false, 0, 60, 0); });
    proxy.SetRefusing(false);
    EXPECT_TRUE(doBooking(grid, Day, "23:00", "", "", "Cleo", "3", "", false, 0, 60, 0));
    EXPECT_FALSE(doBooking(grid, Day, "23:00", "", "", "Cleo", "3", "", false, 0, 60, 0));
    EXPECT_EQ(prompter.prompts(), QStringList({unknown, "The field already being booked"}));
}

TEST_F(SlotEditing, ADelayOverSeveralRowsAsksAgainAfterARowRefusedBeforeTheQuestion)
{
    book(3, "15:00");
    book(3, "17:00");
    Db::Execute("UPDATE tbl_booking SET b_paid=10 WHERE b_datetime LIKE '% 17:00:00'");
    // What an earlier command's verification left behind.
    SkipVerification = 0;
    Succeeded_Login = true;
    Succeeded_User = "earlier";
    Succeeded_Status = "staff";
    TestGrid grid(Day, 3);
    grid.RefreshView();
    grid.Select({"15:00", "17:00"});
    int dialogs = 0;
    WhenModalShown([&](QWidget* dialog) {
        ++dialogs;
        dialog->close();
    });
    doDelay(grid, 15);
    EXPECT_EQ(dialogs, 1) << "15:00 is the first row that reaches the question";
    EXPECT_EQ(prompter.prompts(), QStringList({"The slot already paid"}));
    EXPECT_EQ(row(3, "15:00", "b_delaytime"), "0");
    EXPECT_TRUE(changes().isEmpty());
}

TEST_F(SlotEditing, SetPlayTimeChangesItsOwnCourtOnlyAndRefusesAFreeRow)
{
    book(0, "15:00");
    TestGrid grid = gridAt(0, "15:00");
    SetPlayTime(grid, grid.RowOf("15:00"), 75, false);
    SetPlayTime(grid, grid.RowOf("16:00"), 30, false);
    EXPECT_EQ(row(0, "15:00", "b_playlength"), "75");
    EXPECT_EQ(count("tbl_booking WHERE b_playlength=60"), 2);
    EXPECT_EQ(changes(), QStringList({"0 shorten slot: to 75 minutes by counter"}));
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot set empty!"}));
}

TEST_F(SlotEditing, ThePlayerCountTakesWholeNumbersInRangeAndLeavesTheCopiedSlotAlone)
{
    EXPECT_EQ(PlayerCount("4"), 4);
    EXPECT_EQ(PlayerCount(" 2.5"), 2);
    EXPECT_EQ(PlayerCount("3.5"), 4);
    EXPECT_EQ(PlayerCount("0"), 0);
    EXPECT_EQ(PlayerCount("32767"), 32767);
    for (const QString& bad : {"", "  ", "-1", "32768", "32767.5", "99999999999"})
        EXPECT_FALSE(PlayerCount(bad)) << bad.toStdString();

    book(3, "15:00", "Anna");
    book(3, "16:00", "Ben");
    TestGrid grid = gridAt(3, "15:00");
    SlotClipboard::Copy(grid);
    PlayerCountChange::Write(Day, "16:00", 3, "Ben", 4, grid.ActionTime());
    EXPECT_EQ(row(3, "16:00", "b_person"), "4");
    EXPECT_EQ(changes(), QStringList({"3 change: number of person playing from 0 to 4 by counter"}));
    EXPECT_EQ(SlotTime, "15:00");

    grid.Select({"18:00"});
    SlotClipboard::Paste(grid);
    EXPECT_EQ(row(3, "18:00", "b_bookername"), "Anna") << "the copy is still what a paste books";

    // Another station gives the hour to someone else, then clears it.
    Db::Execute("UPDATE tbl_booking SET b_bookername='Carl' WHERE b_datetime LIKE '% 16:00:00'");
    PlayerCountChange::Write(Day, "16:00", 3, "Ben", 5, grid.ActionTime());
    Db::Execute("DELETE FROM tbl_booking WHERE b_datetime LIKE '% 16:00:00'");
    PlayerCountChange::Write(Day, "16:00", 3, "Ben", 5, grid.ActionTime());
    EXPECT_EQ(prompter.prompts(), QStringList({"The slot was changed at another station since it was shown: it now "
                                               "holds Carl. Please look at it again.",
                                               "The field is empty"}));
    EXPECT_EQ(changes().size(), 1);
}

TEST_F(SlotEditing, ACopyWithQuotesAndBackslashesPastesTwiceAndACancelledSlotLeavesTheClipboard)
{
    const QString name = "O'Neil \\\"Big\\\" \\'";
    TestGrid copied(Day, 3);
    ASSERT_TRUE(doBooking(copied, Day, "15:00", "555\\'1", "Club's", name, "3", "member", false, 0, 60, 3));
    copied = gridAt(3, "15:00");
    SlotClipboard::Copy(copied);
    TestGrid target = gridAt(4, "16:00");
    SlotClipboard::Paste(target);
    target.Select({"18:00"});
    SlotClipboard::Paste(target);
    for (const QString& time : {"16:00", "18:00"})
        EXPECT_EQ(row(4, time, "b_bookername, b_bookertel, b_bookerorg, b_specialrate, b_person"),
                  name + "|555\\'1|Club's|member|3");
    EXPECT_EQ(count("tbl_booking_clipboard1"), 1);

    // Another station cancels the slot after this grid showed it: nothing is copied.
    book(5, "20:00", "Other");
    TestGrid stale = gridAt(5, "20:00");
    Db::Execute("DELETE FROM tbl_booking WHERE b_field=5");
    SlotClipboard::Copy(stale);
    target.Select({"15:00"});
    target.Select({"17:00"});
    SlotClipboard::Paste(target);
    EXPECT_EQ(row(4, "17:00", "b_bookername"), name);
    TestGrid free = gridAt(5, "21:00");
    SlotClipboard::Copy(free);
    EXPECT_EQ(prompter.prompts(),
              QStringList({"You cannot copy empty slot", "You cannot copy empty slot"}));
    EXPECT_EQ(SlotCourt, 3);
}

TEST_F(SlotEditing, APasteAfterACutDeletesExactlyThisStationsCutEntry)
{
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=7, w_datetime='2026-12-08 16:00', w_bookername='Wait \\'A',"
                " w_bookertel='7', w_person=2");
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=8, w_datetime='2026-12-08 17:00', w_bookername='Wait B'");
    book(3, "15:00", "Copied");
    TestGrid grid = gridAt(3, "15:00");
    SlotClipboard::Copy(grid);
    SlotClipboard::Cut("7");
    EXPECT_TRUE(PasteFromWaitList);
    // A station of an older version cuts entry 8 into the clipboard all stations once shared.
    Db::Execute("DELETE FROM tbl_waitlist_clipboard WHERE w_id>0");
    Db::Execute("INSERT INTO tbl_waitlist_clipboard SET w_bookername='Wait B'");

    grid.Select({"16:00", "17:00"});
    SlotClipboard::Paste(grid);
    EXPECT_EQ(row(3, "16:00", "b_bookername, b_bookertel, b_person"), "Wait 'A|7|2");
    EXPECT_EQ(row(3, "17:00", "b_bookername"), "Wait 'A");
    EXPECT_EQ(count("tbl_waitlist"), 1);
    EXPECT_EQ(count("tbl_waitlist WHERE w_id=8"), 1);
    EXPECT_FALSE(PasteFromWaitList);
    EXPECT_EQ(grid.waitListRefreshes, 1);

    // An entry booked at another station after this one cut it books nothing, says so, and leaves
    // no earlier customer for the next paste to book unasked.
    SlotClipboard::Cut("8");
    Db::Execute("DELETE FROM tbl_waitlist WHERE w_id=8");
    grid.Select({"19:00"});
    SlotClipboard::Paste(grid);
    SlotClipboard::Paste(grid);
    EXPECT_EQ(row(3, "19:00", "b_bookername"), "none");
    EXPECT_FALSE(PasteFromWaitList);

    SlotClipboard::Cut("");
    SlotClipboard::Cut("99");
    EXPECT_EQ(prompter.prompts(), QStringList({WaitListEntryGoneMessage, "You cannot copy empty slot",
                                               "You cannot copy empty slot"}));
}

TEST_F(SlotEditing, BlockBookingTwoRowsOverFourAndEightWeeksAcrossTheYearsEnd)
{
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=7, w_bookername='Waiting'");
    book(3, "21:00", "Copied");
    TestGrid source = gridAt(3, "21:00");
    SlotClipboard::Copy(source);
    SlotClipboard::Cut("7");
    book(4, "19:00", "Taken", 0, 60, "2027-01-11");

    TestGrid grid("2026-12-28", 4);
    grid.Select({"18:00", "19:00"});
    SlotClipboard::BlockBook(grid, 3);
    EXPECT_EQ(prompter.prompts(), QStringList({"These hours of the block booking were not booked:\r\n"
                                               "2027-01-11 19:00: The field already being booked"}));
    EXPECT_EQ(count("tbl_booking WHERE b_field=4 AND b_bookername='Waiting'"), 7)
        << "the booker is read once for every date";
    for (const QString& date : {"2026-12-28", "2027-01-04", "2027-01-18"})
        EXPECT_EQ(count("tbl_booking WHERE b_field=4 AND b_datetime LIKE '" + date + " %'"), 2) << date.toStdString();
    EXPECT_EQ(count("tbl_waitlist"), 0);
    EXPECT_EQ(grid.refreshes, 1);

    prompter.clear();
    TestGrid eight("2026-12-28", 0);
    eight.Select({"18:00", "19:00"});
    book(0, "18:00", "Taken", 0, 60, "2027-02-08");
    SlotClipboard::BlockBook(eight, 7);
    EXPECT_EQ(prompter.prompts(), QStringList({"These hours of the block booking were not booked:\r\n"
                                               "2027-02-08 18:00: The field already being booked"}));
    EXPECT_EQ(count("tbl_booking WHERE b_field=0 AND b_bookername='Copied'"), 15);
    EXPECT_EQ(row(0, "19:00", "b_bookername, b_person", "2027-02-08"), "Copied|0");
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Shared Booking'"), 2 * 16);
}

// Two stations book the same hours of a court with shared courts at the same moment: the hours a
// paste books (delayed and shortened as asked) and a block booking of four weeks.
TEST_F(SlotEditing, APasteAndABlockBookingRacingAnotherStationBookEachHourOnce)
{
    book(5, "21:00", "Copied");
    TestGrid source = gridAt(5, "21:00");
    SlotClipboard::Copy(source);
    const Booker booker = *ClipboardBooker();
    CountingPrompter counting;
    std::atomic<int> failures = 0;
    const QStringList hours = {"15:00", "16:00", "17:00", "18:00", "19:00", "20:00"};
    for (int round = 0; round < 4; ++round) {
        const QDate day = QDate(2026, 12, 9).addDays(7 * round);
        const QString date = day.toString("yyyy-MM-dd");
        const QString later = day.addDays(3).toString("yyyy-MM-dd");
        std::barrier start(2);
        auto station = [&](bool paste) {
            TestGrid grid(date, 0);
            for (const QString& hour : hours)
                grid.selected.insert(grid.RowOf(hour));
            start.arrive_and_wait();
            try {
                if (paste) {
                    std::vector<SlotToBook> pasted;
                    for (const QString& hour : hours)
                        pasted.push_back({date, hour, 10, 45});
                    BookSlots(grid, pasted, booker, "0", CutEntry::Untouched);
                } else {
                    // and three days later, where no one else books
                    Block_Booking(grid, QStringList{date, later});
                }
            } catch (const VbError&) {
                ++failures;
            }
        };
        std::thread a(station, true), b(station, false);
        a.join();
        b.join();
        for (const QString& hour : hours) {
            const QString slot = "b_datetime='" + date + " " + hour + ":00'";
            EXPECT_EQ(count("tbl_booking WHERE b_field=0 AND " + slot), 1);
            const QString timing = row(0, hour, "b_delaytime, b_playlength", date);
            EXPECT_EQ(count("tbl_booking WHERE " + slot), 3) << "a booking comes with both its shared courts";
            EXPECT_EQ(count("tbl_booking WHERE " + slot + " AND CONCAT(b_delaytime, '|', b_playlength)='" + timing +
                            "'"),
                      3)
                << "and all three have one timing";
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(count("tbl_booking WHERE b_field=0 AND b_bookername='Copied'"), 4 * 6 * 2);
    EXPECT_EQ(counting.prompts.filter("The field already being booked").size(), counting.prompts.size());
    EXPECT_EQ(counting.prompts.join('\n').count("The field already being booked"), 4 * 6);
    EXPECT_EQ(count("tbl_remark WHERE m_job='book'"), count("tbl_booking"));
}

// A paste and a Book action decide on the court as it is when they book, not as their grid was drawn:
// another station books the hour before theirs for 90 minutes, before or at the same moment.
TEST_F(SlotEditing, APasteAndABookActionNeverBookIntoAnHourBookedMeanwhile)
{
    book(5, "21:00", "Copied");
    TestGrid source = gridAt(5, "21:00");
    SlotClipboard::Copy(source);
    TestGrid stale = gridAt(3, "19:00");
    book(3, "18:00", "Long", 0, 90);
    SlotClipboard::Paste(stale);
    EXPECT_EQ(row(3, "19:00", "b_bookername"), "none");
    EXPECT_EQ(prompter.prompts(), QStringList({"19:00 was not booked: the slot before it runs into it. Please look at "
                                               "the grid again."}));

    const Booker booker = *ClipboardBooker();
    CountingPrompter counting;
    std::atomic<int> failures = 0;
    int round = 0;
    for (const QString date : {"2026-12-09", "2026-12-10", "2026-12-11"}) {
        const QStringList hours = {"15:00", "16:00", "17:00", "18:00", "19:00", "20:00", "21:00", "22:00",
                                   "23:00", "24:00", "01:00", "02:00"};
        for (qsizetype i = 0; i + 1 < hours.size(); i += 2, ++round) {
            TestGrid grid(date, 3);
            grid.RefreshView();
            grid.Select({hours[i + 1]});
            std::barrier start(2);
            std::atomic<bool> longBooked = false;
            std::thread a([&] {
                start.arrive_and_wait();
                try {
                    const auto plan = PlanSelectedRows(grid, round % 2 ? Planning::Paste : Planning::BookAction);
                    std::vector<SlotToBook> planned;
                    for (const PlannedRow& p : *plan)
                        planned.push_back({date, grid.RowTime(p.row), p.delay, p.playLength});
                    BookSlots(grid, planned, booker, "3", CutEntry::Untouched);
                } catch (const VbError&) {
                    ++failures;
                }
            });
            std::thread b([&] {
                TestGrid other(date, 3);
                start.arrive_and_wait();
                try {
                    longBooked = doBooking(other, date, hours[i], "", "", "Long", "3", "", false, 0, 90, 0);
                } catch (const VbError&) {
                    ++failures;
                }
            });
            a.join();
            b.join();
            const bool copied = row(3, hours[i + 1], "b_bookername", date) == "Copied";
            EXPECT_NE(copied, longBooked) << date.toStdString() << " " << hours[i].toStdString();
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(counting.prompts.size(), round) << "each loser is told";
}

// Two stations that cut the same waiting-list entry paste it onto different hours at the same moment,
// each a program of its own that read the entry before either books: the customer is booked once, and
// the other station is told.
TEST_F(SlotEditing, TwoStationsPastingTheSameCutEntryBookItOnce)
{
    for (int round = 0; round < 24; ++round) {
        const QString date = QDate(2026, 12, 9).addDays(round).toString("yyyy-MM-dd");
        const QString name = "Wait " + QString::number(round);
        Db::Execute("INSERT INTO tbl_waitlist SET w_id=" + QString::number(100 + round) + ", w_bookername='" + name +
                    "'");
        QProcess first, second;
        for (auto [station, time] : {std::pair{&first, "15:00"}, std::pair{&second, "17:00"}}) {
            station->start(PASTE_STATION,
                           {PrivateDatabase::ConnectionString(), date, time, QString::number(100 + round),
                            Now().toString(Qt::ISODate)});
            ASSERT_TRUE(station->waitForReadyRead(10000));
            ASSERT_EQ(station->readLine().trimmed(), "ready");
        }
        first.write("\n");
        second.write("\n");
        QString told;
        for (QProcess* station : {&first, &second}) {
            ASSERT_TRUE(station->waitForFinished(30000));
            EXPECT_EQ(station->exitCode(), 0) << station->readAllStandardError().toStdString();
            told += station->readAllStandardOutput();
        }
        EXPECT_EQ(count("tbl_booking WHERE b_bookername='" + name + "'"), 1) << round;
        EXPECT_EQ(told.trimmed(), WaitListEntryGoneMessage) << round;
        EXPECT_EQ(count("tbl_waitlist"), 0);
    }
}

} // namespace
