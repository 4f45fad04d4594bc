#include "GridRefresh.h"
#include "frm_Booker.h"
#include "BookingsPage.h"
#include "CalendarPicker.h"
#include "clsToolTip.h"
#include "frm_Main.h"

#include "ModalDialog.h"
#include "TempWindowsDir.h"

#include "Clock.h"
#include "Db.h"
#include "DurationBars.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"

#include <QDir>
#include <QImage>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QHelpEvent>
#include <QToolTip>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

const QString Day = "2026-12-08";

class MainWindowGrid : public DatabaseTest {
protected:
    TempWindowsDir windows;

    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        HourStart = 8;
        HourEnd = 2;
        SharedCourtPairs.fill(QString());
        SharedCourtPairs[0] = "0&1";
        for (int i = 0; i < MaxCourts; ++i)
            CourtDisplayNames[static_cast<size_t>(i)] = "Court " + QString::number(i + 1);
        const QString plan = windows.path() + "/plan.png";
        QImage(200, 120, QImage::Format_RGB32).save(plan);
        const QString file = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(plan);
        windows.writeIni("[System]\nNoVerification=1\n[Layout]\nImage=" + file + "\n[TopHeader]\nImage=" + file +
                         "\n[WaitingList]\nImage=" + file + "\n[HotSpot]\nCoord0=1, 1, 10, 10\n[HotSpot2]\nCoord0=1, 1, 10, 10\n");
        LastCourtIndex = 0;
        LastCourtTypeIndex = 0;
        Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_counterstaff='counter'");
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
        main = frm_Main::Default().Bookings;
        LastCourtIndex = MaxCourts - 1;
        show(3);
    }
    void TearDown() override
    {
        frm_Main::Unload();
        SetErrorDisplayHandler(nullptr);
        ResetNow();
    }

    void show(int court)
    {
        main->DatePicker->SetDate(QDate(2026, 12, 8));
        main->txtInfo_FieldSelect->setText(QString::number(court));
        main->RefreshView();
    }
    void slot(int court, const QString& time, const QString& columns = "b_bookername='Anna'")
    {
        Db::Execute("INSERT INTO tbl_booking SET b_datetime='" + Day + " " + time + ":00', b_field=" +
                    QString::number(court) + ", " + columns);
    }
    QTreeWidgetItem* item(const QString& time) const { return main->ListView_Book->topLevelItem(rowOf(time) - 1); }
    int rowOf(const QString& time) const
    {
        for (int r = 1; r <= main->RowCount(); ++r)
            if (main->RowTime(r) == time)
                return r;
        return 0;
    }
    void select(std::initializer_list<QString> times)
    {
        main->ListView_Book->clearSelection();
        for (const QString& t : times)
            item(t)->setSelected(true);
        main->ListView_Book->setCurrentItem(item(*times.begin()), 0, QItemSelectionModel::NoUpdate);
    }
    static QString booked(int court, const QString& time)
    {
        Recordset rs = Db::Query("SELECT b_bookername, b_delaytime, b_playlength FROM tbl_booking WHERE b_field=" +
                                 QString::number(court) + " AND b_datetime='" + Day + " " + time + ":00'");
        return rs.EOF_() ? "none"
                         : rs.Fields(0).Value() + "|" + rs.Fields(1).Value() + "|" + rs.Fields(2).Value();
    }
    // Types the booker into the dialog when it opens and presses OK, or Cancel.
    static void answerBooker(const QString& name, bool ok = true)
    {
        WhenModalShown([name, ok](QWidget* w) {
            auto* booker = qobject_cast<frm_Booker*>(w);
            ASSERT_NE(booker, nullptr);
            booker->txt_BookerName->setText(name);
            (ok ? booker->cmd_OK : booker->cmd_Cancel)->click();
        });
    }

    BookingsPage* main = nullptr;
    ScriptedPrompter prompter;
    QStringList errors;
};

TEST_F(MainWindowGrid, RefreshShowsTheSlotsOfTheCourtAndDate)
{
    slot(3, "14:00", "b_bookername='Anna', b_bookertel='555', b_paid=50");
    slot(3, "15:00", "b_bookername='Ben', b_playlength=90");
    slot(3, "24:00", "b_bookername='Late'");
    slot(3, "03:00", "b_bookername='After closing'");
    slot(4, "14:00", "b_bookername='Other court'");
    slot(0, "13:00", "b_bookername='Early'");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-09 14:00:00', b_field=3, b_bookername='Tomorrow'");
    select({"10:00", "14:00"});
    show(3);

    ASSERT_EQ(main->RowCount(), 19);
    EXPECT_EQ(item("14:00")->text(2), "Anna");
    EXPECT_EQ(item("14:00")->text(3), "555");
    EXPECT_EQ(item("14:00")->text(4), "50");
    EXPECT_EQ(item("14:00")->foreground(4).color(), QColor(255, 15, 0));
    EXPECT_EQ(item("24:00")->text(2), "Late");
    EXPECT_EQ(item("02:00")->text(2), "");
    EXPECT_EQ(main->Rows()[static_cast<size_t>(rowOf("15:00"))].playLength, 90);
    EXPECT_FALSE(item("16:00")->icon(5).isNull()) << "the extra time shows in the next row";
    EXPECT_TRUE(item("17:00")->icon(5).isNull());
    EXPECT_EQ(item("14:00")->foreground(1).color(), QColor(0, 192, 0));
    EXPECT_EQ(item("13:00")->foreground(1).color(), QColor(255, 0, 0));
    EXPECT_EQ(item("15:00")->foreground(1).color(), QColor(192, 192, 0));
    EXPECT_EQ(main->CurrentPlayList->text(), "Court 4 - Anna\r\nCourt 5 - Other court\r\n");
    EXPECT_EQ(main->NextPlayList->text(), "Court 4 - Ben\r\n");
    EXPECT_EQ(main->PreviousPlayList->text(), "Court 1 - Early\r\n");
    EXPECT_TRUE(item("10:00")->isSelected() && item("14:00")->isSelected());

    // The list step on its own follows the clock and what other stations booked meanwhile.
    slot(0, "16:00", "b_bookername='Cy'");
    SetNow(Now().addSecs(3600));
    main->RefreshList();
    EXPECT_EQ(main->NextPlayList->text(), "Court 1 - Cy\r\n");
    EXPECT_EQ(item("15:00")->foreground(1).color(), QColor(0, 192, 0));

    show(5);
    EXPECT_EQ(item("14:00")->text(2), "");
    EXPECT_EQ(item("14:00")->text(4), "");
    main->txtInfo_FieldSelect->setText("");
    main->RefreshView();
    EXPECT_EQ(item("14:00")->text(2), "") << "an empty court shows every row free";
    EXPECT_FALSE(main->CurrentPlayList->text().isEmpty());
}

TEST_F(MainWindowGrid, EveryRowIsAsHighAsABarAndEveryColumnFits)
{
    const QString tel = "+44 20 7946 0958";
    slot(3, "15:00", "b_bookername='Ben', b_bookertel='" + tel + "'");
    show(3);
    main->window()->resize(1400, 900);
    main->window()->show();
    QTreeWidget* grid = main->ListView_Book;
    const int height = grid->visualItemRect(item("15:00")).height();
    EXPECT_GE(height, DurationBars::Height);
    for (const char* t : {"08:00", "14:00", "16:00", "24:00", "02:00"})
        EXPECT_EQ(grid->visualItemRect(item(t)).height(), height) << t << " lines up with the rows that have a bar";
    EXPECT_EQ(grid->columnWidth(3), 700 / 15) << "the telephone column as designed; staff widen it at its header";
    const int shown = grid->header()->sectionPosition(5) + grid->columnWidth(5);
    EXPECT_LE(shown, grid->viewport()->width()) << "every column fits the window without scrolling";
}

TEST_F(MainWindowGrid, BookAsksToDelayAndShortenTheLastRow)
{
    slot(3, "01:00", "b_bookername='Night', b_delaytime=30, b_playlength=50");
    show(3);
    select({"02:00"});
    prompter.Answer(Msg::Yes);
    prompter.Answer(Msg::Yes);
    answerBooker("Owl's \\ club");
    main->btn_Book_Click();

    EXPECT_EQ(prompter.prompts(),
              QStringList({"The slot already occupied for 20 minutes by previous slot.\r\n Do you wish to delay the "
                           "slot too?",
                           "Cannot make for complete 1 hour\r\nDo you wish to book for only 40 minutes?"}));
    EXPECT_EQ(prompter.asked()[0].title, "Information");
    EXPECT_EQ(prompter.asked()[0].style, Msg::YesNoCancel);
    EXPECT_EQ(booked(3, "02:00"), "Owl's \\ club|20|40");
    EXPECT_EQ(item("02:00")->text(2), "Owl's \\ club");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(m_job, m_remark ORDER BY m_id) FROM tbl_remark WHERE m_job<>'book'"),
              "delay slot for 20 minutes ,shorten slot for 40 minutes ")
        << "the hour is booked delayed and short at once, and its history says so";
    EXPECT_EQ(prompter.unexpected(), 0);
}

TEST_F(MainWindowGrid, EachDelayedRowGetsItsOwnValuesOnlyWhenBooked)
{
    slot(3, "15:00", "b_bookername='Ben', b_delaytime=30");
    slot(3, "18:00", "b_bookername='Cleo', b_delaytime=15");
    slot(3, "19:00", "b_bookername='Dan', b_delaytime=10");
    show(3);
    select({"16:00", "17:00", "20:00"});
    prompter.Answer(Msg::Yes); // 16:00: delay by 30, and 17:00 follows it
    prompter.Answer(Msg::Yes); // 17:00: so it ends when Cleo starts, after 45 minutes
    prompter.Answer(Msg::Yes); // 20:00: delay by 10
    answerBooker("Eve");
    main->btn_Book_Click();
    EXPECT_EQ(prompter.prompts().at(1), "Cannot make for complete 1 hour\r\nDo you wish to book for only 45 minutes?");
    EXPECT_EQ(prompter.prompts().size(), 3);
    EXPECT_EQ(booked(3, "16:00"), "Eve|30|60");
    EXPECT_EQ(booked(3, "17:00"), "Eve|30|45");
    EXPECT_EQ(booked(3, "20:00"), "Eve|10|60");
    EXPECT_EQ(booked(3, "18:00"), "Cleo|15|60") << "a row the dialog did not book is left as it was";

    prompter.clear();
    slot(3, "22:00", "b_bookername='Gil', b_delaytime=30");
    show(3);
    select({"23:00"});
    prompter.Answer(Msg::Yes);
    answerBooker("Fay", false);
    main->btn_Book_Click();
    EXPECT_EQ(prompter.prompts().size(), 1);
    EXPECT_EQ(booked(3, "23:00"), "none") << "a delay accepted before Cancel in the dialog is not applied";
    EXPECT_EQ(prompter.unexpected(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowGrid, BookRefusesInOrder)
{
    slot(3, "16:00", "b_bookername='Ben'");
    slot(3, "17:00", "b_bookername='Long', b_playlength=120");
    slot(3, "20:00", "b_bookername='Cleo', b_delaytime=30");
    show(3);
    for (int i = 0; i < 3; ++i)
        prompter.Answer(Msg::OK);

    select({"13:00"});
    main->btn_Book_Click();
    select({"15:00", "16:00"});
    main->btn_Book_Click();
    select({"18:00"});
    main->btn_Book_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot book previous entry", "The field already being booked",
                                               "The time for this slot has been used by previous slot"}));

    prompter.clear();
    slot(3, "01:00", "b_bookername='Night', b_delaytime=30, b_playlength=50");
    show(3);
    select({"02:00"});
    prompter.Answer(Msg::No);
    prompter.Answer(Msg::Yes);
    main->btn_Book_Click();
    EXPECT_EQ(prompter.prompts().size(), 2) << "the shorten question still comes after a refused delay";
    EXPECT_EQ(booked(3, "02:00"), "none");
    EXPECT_EQ(prompter.unexpected(), 0);
}

TEST_F(MainWindowGrid, ClearChecksEverySelectedRowThenAsksAReason)
{
    slot(3, "15:00", "b_bookername='Ben', b_playlength=90");
    slot(3, "17:00", "b_bookername='Cleo', b_paid=0.20");
    slot(3, "18:00", "b_bookername='Dan'");
    slot(3, "19:00", "b_bookername='Eve'");
    show(3);
    for (const char* t : {"17:00", "16:00", "20:00"}) {
        select({"18:00", t});
        main->btn_Clear_Click();
    }
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot delete paid slot", "Use previous slot to delete extra time.",
                                               "You cannot delete an empty slot"}));
    EXPECT_EQ(item("17:00")->text(4), "0.20");

    prompter.clear();
    select({"18:00", "19:00"});
    prompter.Type("");
    main->mnu_Delete_Click();
    EXPECT_EQ(count("tbl_booking"), 4);
    prompter.Type("booker's \"cold\" \\ feet");
    main->btn_Clear_Click();
    EXPECT_EQ(prompter.asked()[0].prompt, "Enter reason why the entry need to be cleared");
    EXPECT_EQ(count("tbl_booking"), 2);
    EXPECT_EQ(count("tbl_remark WHERE m_job='cancel' AND m_remark='booker\\'s \"cold\" \\\\ feet'"), 2);
    EXPECT_EQ(item("18:00")->text(2), "");
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(MainWindowGrid, SharedRowsAreClearedFromTheirMainSlot)
{
    show(0);
    select({"16:00"});
    answerBooker("Team");
    main->btn_Book_Click();
    show(1);
    EXPECT_EQ(item("16:00")->text(2), "Shared Booking");
    select({"16:00"});
    main->btn_Clear_Click();
    main->ListView_Book_Click();
    EXPECT_EQ(main->ToolTip->ToolText(main->ListView_Book), "8 Dec 02:05:09 PM: counter book shared booking\r\n");
    main->window()->show();
    QWidget* viewport = main->ListView_Book->viewport();
    auto hover = [&](const QString& time) {
        const QPoint at = main->ListView_Book->visualItemRect(item(time)).center();
        QHelpEvent event(QEvent::ToolTip, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &event);
        return main->ToolTip->ToolText(main->ListView_Book);
    };
    EXPECT_EQ(hover("17:00"), "8 Dec 02:05:09 PM: counter book shared booking\r\n")
        << "the tip is the history of the row clicked; the mouse resting on a row reads nothing";
    EXPECT_TRUE(QToolTip::text().contains("8 Dec 02:05:09 PM: counter book shared booking"));
    main->RefreshView();
    EXPECT_EQ(hover("16:00"), "") << "a refresh empties the tip";
    EXPECT_EQ(prompter.prompts(), QStringList({"Please delete main slots"}));
    EXPECT_EQ(count("tbl_booking"), 2);
}

TEST_F(MainWindowGrid, ALostDatabaseLeavesNoBookedSlotLookingFree)
{
    slot(3, "15:00", "b_bookername='Anna', b_paid=20");
    show(3);
    const QString reachable = ConnectionString;
    ConnectionString = "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;DATABASE=posdb;UID=x;PWD=y";
    main->RefreshView();
    EXPECT_EQ(main->RefreshView(), 1) << "what could not be read is told over the grid, not to the caller";
    EXPECT_EQ(item("15:00")->text(2), "Anna") << "the rows keep what was read last";
    EXPECT_EQ(item("15:00")->text(4), "20");
    EXPECT_TRUE(main->Rows()[static_cast<size_t>(rowOf("15:00"))].IsBooked());
    EXPECT_FALSE(main->lbl_RefreshFailure->isHidden());
    EXPECT_TRUE(main->lbl_RefreshFailure->text().startsWith("The bookings could not be read: "));
    EXPECT_TRUE(main->lbl_RefreshFailure->text().endsWith("The grid shows them as read at 14:05:09."));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(prompter.prompts().isEmpty()) << "the failure is shown over the grid, not once per refresh";

    show(4);
    for (int row = 1; row <= main->RowCount(); ++row)
        EXPECT_EQ(main->ListView_Book->topLevelItem(row - 1)->text(2), "(not read)");
    EXPECT_EQ(item("24:00")->text(0), "24:00 to 01:00") << "every row keeps its time";
    select({"16:00"});
    main->btn_Book_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"The field already being booked"}));

    ConnectionString = reachable;
    show(3);
    EXPECT_TRUE(main->lbl_RefreshFailure->isHidden());
    EXPECT_EQ(item("16:00")->text(2), "");

    prompter.clear();
    main->txtInfo_FieldSelect->clear();
    main->btn_Book_Click();
    main->btn_Clear_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"Please choose a court first.", "Please choose a court first."}));
}

} // namespace
