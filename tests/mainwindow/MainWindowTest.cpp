#include "AdministrationPage.h"
#include "BookingsPage.h"
#include "SlotMenu.h"
#include "CalendarPicker.h"
#include "ClickLabel.h"
#include "FloorPlan.h"
#include "KeyTable.h"
#include "LightingPage.h"
#include "SupportPage.h"
#include "WaitingListPage.h"
#include "WaitListPanel.h"
#include "frm_WaitingList.h"
#include "SlotInfo.h"
#include "ModalDialog.h"
#include "clsToolTip.h"
#include "frm_Main.h"

#include "CartPanel.h"
#include "StorePanel.h"

#include "ComingHourAlerts.h"

#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"

#include "Clock.h"
#include "Db.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Verification.h"

#include "CalendarControl.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

// A station of three courts and two court types whose settings file places the plans at Left 600,
// Top 900 twips; court 2 has no outline in it.
class MainWindow : public DatabaseTest {
protected:
    TempWindowsDir windows;
    ScriptedPrompter prompter;
    // What the error window would show: the failures and the tasks they head.
    QStringList errors;
    QStringList tasks;
    frm_Main* main = nullptr;

    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2006, 3, 5), QTime(14, 7, 9)));
        HourStart = 8;
        HourEnd = 2;
        LastCourtIndex = 2;
        LastCourtTypeIndex = 1;
        CounterCount = 3;
        ShownCounter = 1;
        SharedCourtPairs.fill(QString());
        for (int i = 0; i < MaxCourts; ++i)
            CourtNames[static_cast<size_t>(i)] = CourtDisplayNames[static_cast<size_t>(i)] = "Court " + QString::number(i);
        const QString plan = windows.path() + "/plan.png";
        QImage(300, 200, QImage::Format_RGB32).save(plan);
        const QString file = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(plan);
        windows.writeIni("[System]\nNoVerification=1\nPerPersonCharging=1\ndatabase_password=s3cret\n"
                         "[SpecialGroup]\n 3=VIP\n[Layout]\nImage=" + file +
                         "\nTop=900\nLeft=600\nHeight=3000\nWidth=4500\n[TopHeader]\nImage=" + file +
                         "\n[WaitingList]\nImage=" + file + "\nTop=0\nLeft=0\n[HotSpot]\nCoord0=10, 20, 110, 80\n"
                         "Coord1=100, 20, 200, 80\n[HotSpot2]\nCoord0=0, 0, 100, 100\nCoord1=100, 0, 200, 100\n");
        Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_counterstaff='admin', sys_doclose=1");
        Db::Execute("INSERT INTO tbl_system SET sys_counter=2, sys_counterstaff='counter'");
        Db::Execute("CREATE TABLE tbl_specialgroup3 LIKE tbl_member");
        SetErrorDisplayHandler([this](const VbError& e) {
            errors << e.description();
            tasks << CurrentTask;
        });
        main = &frm_Main::Default();
    }
    void TearDown() override
    {
        frm_Main::Unload();
        SetErrorDisplayHandler(nullptr);
        SetEndProgramHandler(nullptr);
        ResetNow();
        LastCourtIndex = MaxCourts - 1;
    }
    FloorPlan* plan1() const { return main->Bookings->LayoutPlan1; }
    // Shows the window active with the focus on the grid; keys then go where the window system sends
    // them, to the window.
    QWindow* activeWindow() const
    {
        main->show();
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main));
        main->ListView_Book->setFocus();
        return main->windowHandle();
    }
    static std::vector<int> rect(const Outline& o) { return {o.Left, o.Top, o.Width, o.Height}; }
};

TEST_F(MainWindow, StartUpLaysOutThePagesFromTheSettingsAndGoesOnPastAMissingOutline)
{
    ASSERT_EQ(errors.size(), 1) << "one error window for everything left out";
    EXPECT_TRUE(errors[0].contains("[HotSpot] Coord2")) << errors[0].toStdString();
    EXPECT_EQ(rect(plan1()->Shape(0)), (std::vector<int>{750, 1200, 1500, 900}));
    EXPECT_EQ(rect(plan1()->Marker(0)), (std::vector<int>{720, 1170, 1560, 960}));
    EXPECT_EQ(plan1()->Shape(0).Tag, "10, 20, 110, 80");
    EXPECT_TRUE(plan1()->Shape(0).Visible && plan1()->Shape(0).BorderStyle == 1);
    EXPECT_EQ(rect(plan1()->Shape(2)), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(rect(main->Lighting->LayoutPlan2->Shape(0)), (std::vector<int>{750, 1200, 1500, 900}));
    EXPECT_EQ(rect(main->WaitingList->LayoutPlan3->Shape(1)), (std::vector<int>{1500, 0, 1500, 1500}));

    // Every later step still ran: the shift is open again, the grid, labels and boxes are set.
    EXPECT_EQ(scalar("SELECT sys_doclose FROM tbl_system WHERE sys_counter=1"), "0");
    EXPECT_EQ(ShiftName, "morning");
    EXPECT_EQ(main->ListView_Book->topLevelItemCount(), 19);
    EXPECT_EQ(main->lbl_FieldInfo->text(), "Court 0");
    EXPECT_EQ(main->lbl_Counter->text(), "Counter  1\r\nadmin");
    EXPECT_EQ(main->txtInfo_FieldSelect->text(), "0");
    EXPECT_EQ(main->WaitingList->txtInfo_WaitSelect->text(), "0");
    EXPECT_EQ(main->txt_WaitingListFieldType->text(), "0");

    for (CalendarPicker* picker : {main->Bookings->DatePicker, main->WaitingList->DatePicker}) {
        EXPECT_EQ(picker->MonthList->currentIndex(), 2);
        EXPECT_EQ(picker->YearList->currentIndex(), 106);
        EXPECT_EQ(picker->DateLabel->text(), "March 2006");
        EXPECT_EQ(picker->Calendar->Tag(), "2006-03-05");
    }

    AdministrationPage* admin = main->Administration;
    EXPECT_EQ(admin->btn_MemberDynamic[1], nullptr);
    ASSERT_NE(admin->btn_MemberDynamic[3], nullptr);
    const QPushButton* first = admin->btn_MemberDynamic[0];
    const int gap = first->y() - admin->btn_Membership->y() - admin->btn_Membership->height();
    EXPECT_EQ(admin->btn_MemberDynamic[3]->y(), first->y() + 2 * (first->height() + gap));
    EXPECT_EQ(admin->btn_MemberDynamic[3]->text(), "VIP");
    ASSERT_NE(main->Bookings->mnu_Mouse->mnu_SetSpecialGroup[3], nullptr);
    EXPECT_EQ(main->Bookings->mnu_Mouse->mnu_SetSpecialGroup[3]->text(), "Set this slot as 'VIP ' slot");
    EXPECT_TRUE(main->Bookings->mnu_Mouse->mnu_ChangePlayerCount->isVisible());
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2006-03-05 18:00:00', b_field=0, b_bookername='Anna', "
                "b_person=4");
    main->RefreshView();
    main->ListView_Book->setCurrentItem(main->ListView_Book->topLevelItem(10), 0, QItemSelectionModel::ClearAndSelect);
    main->Bookings->mnu_Mouse->mnu_Pay->trigger();
    EXPECT_EQ(main->Cart->ListView_Cart->topLevelItemCount(), 1) << "Pay Slot is the bookings tab's Slot Payment";

    const QString settings = main->Support->txt_ProductBuildInformation->toPlainText();
    EXPECT_TRUE(settings.contains("database_password=********"));
    EXPECT_FALSE(settings.contains("s3cret"));
    QStringList captions;
    for (int t = 0; t < main->SSTab1->count(); ++t)
        captions << main->SSTab1->tabText(t);
    EXPECT_EQ(captions, QStringList({"Field &Bookings", "&Payment", "&Lighting", "&Administration", "&Waiting List",
                                     "CCTV", "Support"}));
}

TEST_F(MainWindow, AfterMidnightTheWindowOpensOnTheNightsBusinessDate)
{
    frm_Main::Unload();
    SetNow(QDateTime(QDate(2026, 12, 9), QTime(0, 20)));
    main = &frm_Main::Default();
    EXPECT_EQ(main->Calendar->Tag(), "2026-12-08");
    EXPECT_EQ(main->Calendar2->Tag(), "2026-12-08");
    EXPECT_EQ(BusinessDate(QDateTime(QDate(2026, 12, 9), QTime(2, 59))), QDate(2026, 12, 8));
    EXPECT_EQ(BusinessDate(QDateTime(QDate(2026, 12, 9), QTime(3, 0))), QDate(2026, 12, 9));
}

TEST_F(MainWindow, KeyTableFiresOnlyOnItsShiftStateAndTab)
{
    auto actions = [](bool up, int key, int shift, int tab) {
        std::vector<std::pair<KeyAction, int>> found;
        for (const KeyMatch& m : MatchKeys(up, key, shift, tab))
            found.emplace_back(m.action, m.argument);
        return found;
    };
    using V = std::vector<std::pair<KeyAction, int>>;
    EXPECT_EQ(actions(false, 'C', 2, 0), (V{{KeyAction::CopySlot, 0}}));
    EXPECT_EQ(actions(false, 'C', 3, 0), V{}) << "Ctrl+Shift+C";
    EXPECT_EQ(actions(false, 'V', 2, 2), V{});
    EXPECT_EQ(actions(true, 'F', 4, 5), (V{{KeyAction::Exit, 0}}));
    EXPECT_EQ(actions(true, 'P', 1, 1), (V{{KeyAction::Pay, 0}})) << "P pays with Shift held";
    EXPECT_EQ(actions(true, 'P', 0, 0), (V{{KeyAction::PickCourt, 0}}));
    EXPECT_EQ(actions(true, 'W', 0, 0), (V{{KeyAction::PickCourt, 8}}));
    EXPECT_EQ(actions(true, 'W', 1, 0), V{});
    EXPECT_EQ(actions(true, 118, 6, 3), (V{{KeyAction::StoreItem, 118}}));

    QKeyEvent plus(QEvent::KeyRelease, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(VirtualKeyOf(plus), 107);
    QKeyEvent f16(QEvent::KeyRelease, Qt::Key_F16, Qt::NoModifier);
    EXPECT_EQ(VirtualKeyOf(f16), 127);
    EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::AltModifier), 6);
}

TEST_F(MainWindow, KeysPickCourtsSwitchTabsAndAltFLogsOut)
{
    QWindow* window = activeWindow();
    ASSERT_EQ(QApplication::focusWidget(), main->ListView_Book);
    QTest::keyRelease(window, Qt::Key_I);
    EXPECT_EQ(main->Bookings->txt_CurrentSelected->text(), "2");
    EXPECT_EQ(main->txtInfo_FieldSelect->text(), "2") << "court 2 exists but has no outline";
    QTest::keyRelease(window, Qt::Key_U);
    EXPECT_EQ(main->Bookings->txt_CurrentSelected->text(), "3");
    EXPECT_EQ(main->txtInfo_FieldSelect->text(), "2") << "court 3 lies beyond the last court";
    QTest::keyRelease(window, Qt::Key_O);
    EXPECT_EQ(main->lbl_FieldInfo->text(), "Court 1");
    EXPECT_EQ(SelectedCourt, 1);
    EXPECT_TRUE(plan1()->Shape(1).Visible);
    EXPECT_FALSE(plan1()->Shape(0).Visible);
    main->Bookings->cmd_CalendarMonth->setFocus();
    QTest::keyClick(window, Qt::Key_P);
    EXPECT_EQ(SelectedCourt, 1) << "a letter typed into the month list picks no court";

    QTest::keyRelease(window, Qt::Key_F5);
    EXPECT_EQ(main->SSTab1->currentIndex(), frm_Main::PaymentTab);
    EXPECT_EQ(main->Text1->text(), "Text1") << "no item carries F5";
    main->Cart->btn_Pay->setFocus();
    QTest::keyRelease(window, Qt::Key_F5);
    EXPECT_EQ(QApplication::focusWidget(), main->Store->ListView_Store) << "the tab chosen again runs its steps";

    int ended = 0;
    SetEndProgramHandler([&] { ++ended; });
    StaffLogin = "admin";
    QTest::keyRelease(window, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(count("tbl_log WHERE log_do='log out' AND log_staffname='admin'"), 1);
}

TEST_F(MainWindow, CtrlCAndCtrlVCopyAndPasteASlotOnlyOnTheBookingsTab)
{
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2006-03-05 18:00:00', b_field=0, b_bookername='O\\'Brien', "
                "b_bookertel='555-0102', b_delaytime=0, b_playlength=60");
    QWindow* window = activeWindow();
    main->RefreshView();
    QTreeWidget* grid = main->ListView_Book;
    grid->setCurrentItem(grid->topLevelItem(10));
    QTest::keyPress(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(scalar("SELECT b_bookername FROM tbl_booking_clipboard1"), "O'Brien");

    grid->clearSelection();
    grid->topLevelItem(12)->setSelected(true);
    main->SSTab1->setCurrentIndex(frm_Main::PaymentTab);
    QTest::keyPress(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(count("tbl_booking WHERE b_field=0"), 1) << "the payment tab has no paste";

    main->SSTab1->setCurrentIndex(frm_Main::BookingsTab);
    grid->clearSelection();
    grid->topLevelItem(12)->setSelected(true);
    QTest::keyPress(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(scalar("SELECT b_bookername FROM tbl_booking WHERE b_datetime='2006-03-05 20:00:00' AND b_field=0"),
              "O'Brien");
}

TEST_F(MainWindow, EachKeyRunsItsCommandOnceWhateverDialogsItOpens)
{
    // Verification on and every message a real box, as at the counter.
    Db::Execute("INSERT INTO tbl_staff SET st_login='admin', st_password='admin', st_access=1");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2006-03-05 18:00:00', b_field=0, b_bookername='Anna', "
                "b_delaytime=0, b_playlength=60");
    Db::Execute("INSERT INTO tbl_item SET i_name='Towel', i_type='Gear', i_price=2.50, i_key='F5'");
    SkipVerification = 0;
    SetPrompter(nullptr);
    main->Store->RefreshStore();
    main->RefreshView();
    QWindow* window = activeWindow();
    QTreeWidget* grid = main->ListView_Book;
    const auto focusRow = [grid](int row) {
        grid->setCurrentItem(grid->topLevelItem(row), 0, QItemSelectionModel::ClearAndSelect);
    };
    ModalDialogs dialogs;
    const auto escape = [](QDialog* dialog) { QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape); };
    const auto asAdmin = [](QDialog* dialog) {
        Control<QLineEdit>(dialog, "txt_user")->setText("admin");
        Control<QLineEdit>(dialog, "txt_password")->setText("admin");
        Control<QPushButton>(dialog, "btn_Go")->click();
    };

    focusRow(11);
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dialogs.shown, QStringList{"You cannot copy empty slot"});
    focusRow(10);
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);

    focusRow(12);
    dialogs.Then(escape);
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(count("tbl_booking"), 1) << "Esc on the verification ends the paste";
    dialogs.Then(asAdmin);
    QTest::keyClick(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(scalar("SELECT b_bookername FROM tbl_booking WHERE b_datetime='2006-03-05 20:00:00' AND b_field=0"),
              "Anna");

    dialogs.Then([](QDialog* pad) { QTest::keyClicks(pad, "3\r"); });
    QTest::keyClick(window, Qt::Key_F5);
    ASSERT_EQ(main->Cart->ListView_Cart->topLevelItemCount(), 1);
    EXPECT_EQ(main->Cart->ListView_Cart->topLevelItem(0)->text(2), "3");
    EXPECT_EQ(main->Text1->text(), "116");

    int ended = 0;
    SetEndProgramHandler([&] { ++ended; });
    StaffLogin = "admin";
    QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(count("tbl_log WHERE log_do='log out'"), 1);

    EXPECT_EQ(dialogs.shown, QStringList({"You cannot copy empty slot", "frm_VerifyUser", "frm_VerifyUser",
                                          "frm_Calculator"}))
        << "one dialog for each key: " << dialogs.shown.join(" | ").toStdString();
    // A box taken away unanswered, as the system's end of the program takes it, is not an OK.
    EXPECT_EQ(MsgBox("Are you sure that the values is correct?", Msg::OKCancel), Msg::Cancel);
    SetPrompter(&prompter);
}

TEST_F(MainWindow, TabsShowTheSelectedOutlineOfTheirOwnPlanOnly)
{
    main->Lighting->txtInfo_LightSelect->setText("1");
    main->SSTab1->setCurrentIndex(frm_Main::LightingTab);
    EXPECT_TRUE(main->Lighting->LayoutPlan2->isVisibleTo(main->Lighting));
    EXPECT_TRUE(main->Lighting->LayoutPlan2->Shape(1).Visible);
    EXPECT_FALSE(plan1()->Shape(0).Visible);
    main->SSTab1->setCurrentIndex(frm_Main::CctvTab);
    EXPECT_TRUE(main->Lighting->LayoutPlan2->Shape(1).Visible) << "the CCTV tab changes no plan";
    main->SSTab1->setCurrentIndex(frm_Main::WaitingListTab);
    EXPECT_TRUE(main->WaitingList->LayoutPlan3->Shape(0).Visible);
    EXPECT_FALSE(main->Lighting->LayoutPlan2->Shape(1).Visible);
    main->SSTab1->setCurrentIndex(frm_Main::BookingsTab);
    EXPECT_TRUE(plan1()->Shape(0).Visible);
    EXPECT_FALSE(main->WaitingList->LayoutPlan3->Shape(0).Visible);
}

TEST_F(MainWindow, PlansHitTestStrictlyInsideAndTheLowerCourtWins)
{
    // Court 0 spans x 150..1650 and court 1 1500..3000 twips relative to the plan; they overlap.
    FloorPlan* plan = plan1();
    EXPECT_EQ(plan->HitTest(150, 600, 2), -1) << "the left edge is outside";
    EXPECT_EQ(plan->HitTest(151, 600, 2), 0);
    EXPECT_EQ(plan->HitTest(1600, 600, 2), 0) << "overlap: the lower index";
    EXPECT_EQ(plan->HitTest(1700, 600, 2), 1);
    EXPECT_EQ(plan->HitTest(1700, 600, 0), -1);

    main->Bookings->LayoutPlan1_MouseMove(3300, 600);
    EXPECT_EQ(main->Bookings->txt_CurrentSelected->text(), "X=3300");
    emit plan->Click();
    EXPECT_EQ(main->txtInfo_FieldSelect->text(), "0") << "a click over no court changes nothing";
    QTest::mouseClick(plan, Qt::LeftButton, {}, QPoint(1700 / 15, 600 / 15));
    EXPECT_EQ(main->txtInfo_FieldSelect->text(), "1");
    EXPECT_EQ(main->lbl_FieldInfo->text(), "Court 1");

    WaitingListPage* wait = main->WaitingList;
    wait->LayoutPlan3_MouseMove(1600, 700);
    emit wait->LayoutPlan3->Click();
    EXPECT_EQ(wait->txt_WaitingListFieldType->text(), "1");
    EXPECT_TRUE(wait->LayoutPlan3->Shape(1).Visible);
    wait->txtInfo_WaitCursor->setText("10");
    wait->LayoutPlan3_Click();
    EXPECT_EQ(wait->txtInfo_WaitSelect->text(), "10");
    EXPECT_EQ(wait->txt_WaitingListFieldType->text(), "1") << "type 10 lies beyond the last type, as a number";
}

TEST_F(MainWindow, CalendarsSetTagListsAndCaption)
{
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2007-03-05 14:00:00', b_field=0, b_bookername='Anna'");
    BookingsPage* bookings = main->Bookings;
    CalendarPicker* picker = bookings->DatePicker;
    picker->Calendar->setSelectedDate(QDate(2007, 3, 5));
    emit picker->Calendar->DateSelected();
    EXPECT_EQ(picker->Calendar->Tag(), "2007-03-05");
    EXPECT_EQ(bookings->cmd_CalendarMonth->currentText(), "March");
    EXPECT_EQ(bookings->cmd_CalendarYear->currentText(), "2007");
    EXPECT_EQ(bookings->lbl_DateLabel->text(), "March 2007");
    EXPECT_EQ(main->ListView_Book->topLevelItem(14 - HourStart)->text(2), "Anna");

    // One pick reloads the grid once, be it a double-click on the next day or Enter on it.
    int reloads = 0;
    picker->Reload = [&reloads, reload = picker->Reload] { ++reloads; reload(); };
    main->show();
    auto* days = picker->Calendar->findChild<QAbstractItemView*>();
    const QPoint next = days->visualRect(days->currentIndex().siblingAtColumn(days->currentIndex().column() + 1)).center();
    for (auto step : {QTest::MousePress, QTest::MouseRelease, QTest::MousePress, QTest::MouseDClick, QTest::MouseRelease})
        QTest::mouseEvent(step, days->viewport(), Qt::LeftButton, {}, next);
    EXPECT_EQ(picker->Calendar->Tag(), "2007-03-06");
    EXPECT_EQ(reloads, 1);
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(reloads, 2);
    QLineEdit* typed = bookings->cmd_CalendarMonth->lineEdit();
    typed->clear();
    QTest::keyClicks(typed, "ap");
    EXPECT_EQ(reloads, 2) << "a month half typed changes nothing";
    QTest::keyClicks(typed, "ril");
    EXPECT_EQ(picker->Calendar->Tag(), "2007-04-06");
    EXPECT_EQ(bookings->lbl_DateLabel->text(), "April 2007");
    EXPECT_EQ(reloads, 3);

    WaitingListPage* wait = main->WaitingList;
    wait->Calendar2->SetValue(QDate(2006, 3, 31));
    wait->cmd_CalendarMonthWaitList->setCurrentIndex(5);
    wait->cmd_CalendarMonthWaitList_Click();
    EXPECT_EQ(wait->Calendar2->Tag(), "2006-06-30") << "June has no 31st: the calendar's own day";
    wait->cmd_CalendarYearWaitList->setCurrentIndex(110);
    wait->cmd_CalendarYearWaitList_Click();
    EXPECT_EQ(wait->lbl_DateLabelWaitList->text(), "Jun 2010");
    EXPECT_EQ(wait->Calendar2->Tag(), "2006-06-30") << "a year alone keeps the date until a day is picked";
}

TEST_F(MainWindow, TheClockMarksAlertsAtMinute55BlinksThemAndClearsThemAtMinute2)
{
    auto book = [](const QString& key, int court, const QString& name) {
        Db::Execute("INSERT INTO tbl_booking SET b_datetime='" + key + "', b_field=" + QString::number(court) +
                    ", b_bookername='" + name + "'");
    };
    book("2006-03-05 10:00:00", 0, "Anna");
    book("2006-03-05 11:00:00", 0, "Ben");
    book("2006-03-05 10:00:00", 1, "Cleo");
    book("2006-03-05 11:00:00", 1, "Cleo");
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(10, 55, 0)));
    main->Clock_Timer();
    EXPECT_EQ(plan1()->Marker(0).Tag, "Alert");
    EXPECT_TRUE(plan1()->Marker(0).Visible);
    EXPECT_EQ(plan1()->Marker(1).Tag, "");
    book("2006-03-05 10:00:00", 2, "Dan");
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(10, 55, 1)));
    main->Clock_Timer();
    EXPECT_FALSE(plan1()->Marker(0).Visible) << "odd second";
    EXPECT_EQ(plan1()->Marker(2).Tag, "") << "computed once an hour";
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(11, 0, 0)));
    main->Clock_Timer();
    EXPECT_EQ(plan1()->Marker(0).Tag, "Alert") << "the markers blink until minute 2";
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(11, 2, 0)));
    main->Clock_Timer();
    EXPECT_EQ(plan1()->Marker(0).Tag, "");
    EXPECT_FALSE(plan1()->Marker(0).Visible);
    EXPECT_EQ(main->Bookings->txt_Time->text(), "5 Mar 11:02:00 AM");

    // A database that went away is told once, and the clock goes on.
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(11, 30, 0)));
    main->Clock_Timer();
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(11, 55, 0)));
    ConnectionString = "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;UID=x;PWD=y;";
    main->Clock_Timer();
    SetNow(QDateTime(QDate(2006, 3, 5), QTime(11, 55, 1)));
    main->Clock_Timer();
    EXPECT_TRUE(prompter.asked().empty()) << "no box that holds the clock and the blinking";
    EXPECT_TRUE(errors.size() == 1) << "no error window that would end the program";
    EXPECT_EQ(main->Bookings->txt_Time->text(), "5 Mar 11:55:01 AM");
    EXPECT_FALSE(main->Bookings->lbl_RefreshFailure->isHidden());
    EXPECT_TRUE(main->Bookings->lbl_RefreshFailure->text().startsWith(
        "The courts whose players change at the coming hour cannot be read now; they are read again at the next hour."));
}

TEST_F(MainWindow, AlertsAroundMidnightReadTheNightOfTheBusinessDate)
{
    auto book = [](const QString& key, int court, const QString& name) {
        Db::Execute("INSERT INTO tbl_booking SET b_datetime='" + key + "', b_field=" + QString::number(court) +
                    ", b_bookername='" + name + "'");
    };
    auto marks = [](int y, int m, int d, int h) {
        return ComingHourAlerts(*Db::Open(), QDateTime(QDate(y, m, d), QTime(h, 55)), 3);
    };
    HourStart = 18;
    book("2026-12-08 18:00:00", 0, "Opening");
    EXPECT_EQ(marks(2026, 12, 8, 17), (std::vector<bool>{false, false, false, false}));

    book("2026-12-08 23:00:00", 0, "Anna");
    book("2026-12-08 24:00:00", 0, "Ben");
    book("2026-12-08 23:00:00", 1, "Cleo");
    book("2026-12-08 24:00:00", 1, "Cleo");
    book("2026-12-08 23:00:00", 2, "Dan");
    book("2026-12-08 24:00:00", 3, "Eve");
    EXPECT_EQ(marks(2026, 12, 8, 23), (std::vector<bool>{true, false, true, false}));

    book("2026-12-08 01:00:00", 1, "Cleo");
    book("2026-12-09 24:00:00", 0, "Wrong night");
    EXPECT_EQ(marks(2026, 12, 9, 0), (std::vector<bool>{true, false, false, true}))
        << "at 00:55 the current hour is midnight of the 8th, the coming one its 01:00";

    book("2026-12-08 02:00:00", 2, "Fay");
    book("2026-12-09 02:00:00", 3, "Next night");
    EXPECT_EQ(marks(2026, 12, 9, 2), (std::vector<bool>{false, false, true, false}))
        << "at 02:55 with closing hour 2 the courts playing the night's last hour end at 03:00";
}

TEST_F(MainWindow, TheLightsAreCommittedAsOneRowOfTheCourtShown)
{
    LightingPage* lights = main->Lighting;
    lights->LayoutPlan2_MouseMove(1700, 600);
    emit lights->LayoutPlan2->Click();
    EXPECT_EQ(lights->txtInfo_LightSelect->text(), "1");
    lights->LightSwitch_Click(0);
    lights->LightSwitch_Click(3);
    lights->LightSwitch_Click(1);
    lights->LightSwitch_Click(1);
    prompter.Answer(Msg::No);
    lights->btn_LightCommit_Click();
    EXPECT_EQ(count("tbl_light"), 0);
    prompter.Answer(Msg::Yes);
    lights->btn_LightCommit_Click();
    EXPECT_EQ(prompter.asked()[0].prompt, "Confirm Light Status?");
    EXPECT_EQ(prompter.asked()[0].title, "Important");
    EXPECT_EQ(scalar("SELECT CONCAT_WS('|', l_field, l_staff, l_datetime, l_row0, l_row1, l_row2, l_row3, l_row4) "
                     "FROM tbl_light"),
              "1|admin|2006-03-05 14:07:09|on|off|off|on|off");
    lights->LayoutPlan2_MouseMove(200, 600);
    emit lights->LayoutPlan2->Click();
    EXPECT_FALSE(lights->IsOn(0)) << "another court starts with every switch off";
}

TEST_F(MainWindow, TheStationLabelStepsThroughTheStations)
{
    main->lbl_Counter_Click();
    EXPECT_EQ(main->lbl_Counter->text(), "Counter 2\r\ncounter");
    EXPECT_EQ(main->lbl_Counter->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    main->lbl_Counter_Click();
    main->lbl_Counter_Click();
    EXPECT_EQ(main->lbl_Counter->text(), "Counter 1\r\nadmin");
    EXPECT_EQ(main->lbl_Counter->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    // A click whose staff cannot be read is told and leaves the label where it was.
    const QString reachable = ConnectionString;
    ConnectionString = "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;UID=x;PWD=y;";
    main->lbl_Counter_Click();
    ConnectionString = reachable;
    main->lbl_Counter_Click();
    EXPECT_EQ(main->lbl_Counter->text(), "Counter 2\r\ncounter");
    EXPECT_EQ(tasks.last(), "reading the staff of the counter");
}

TEST_F(MainWindow, TabsAndDatesPutTheFocusOnTheListOrButtonStaffUseThere)
{
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    main->SSTab1->setCurrentIndex(frm_Main::AdministrationTab);
    EXPECT_EQ(QApplication::focusWidget(), main->Administration->btn_EndMorningShift);
    main->SSTab1->setCurrentIndex(frm_Main::WaitingListTab);
    EXPECT_EQ(QApplication::focusWidget(), main->WaitList->btn_AddEntry);
    main->Calendar2->setSelectedDate(QDate(2006, 3, 7));
    emit main->Calendar2->DateSelected();
    EXPECT_EQ(QApplication::focusWidget(), main->WaitList->ListView_Wait);
}

// The server stops answering (SIGSTOP) in the middle of the counter's work: every action below tells
// its own failure, the program goes on, and nothing is half written. (The start-up's own error
// window, for the court without an outline, is left behind first.)

TEST_F(MainWindow, AStoppedServerLeavesEveryWaitingListActionToldAndNothingTypedLost)
{
    errors.clear();
    tasks.clear();
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=1, w_datetime='2006-03-05 18:00:00', w_field=0, w_bookername='Anna'");
    main->show();
    main->SSTab1->setCurrentIndex(frm_Main::WaitingListTab);
    main->RefreshWaitList();
    WaitListPanel* panel = main->WaitList;
    ASSERT_EQ(panel->ListView_Wait->topLevelItemCount(), 1);

    std::optional<PrivateDatabase::Frozen> frozen;
    bool seen = false;
    WhenModalShown([&](QWidget* shown) {
        auto* dialog = qobject_cast<frm_WaitingList*>(shown);
        ASSERT_NE(dialog, nullptr);
        seen = true;
        dialog->txt_BookerName->setText("Ben O'Hara");
        dialog->cmb_Time->setCurrentText("19:00:00");
        frozen.emplace();
        dialog->cmd_OK->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->txt_BookerName->text(), "Ben O'Hara");
        frozen.reset();
        dialog->cmd_OK->click();
    });
    panel->btn_AddEntry->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(count("tbl_waitlist WHERE w_bookername='Ben O\\'Hara' AND w_datetime='2006-03-05 19:00:00'"), 1)
        << "OK again, once the server answers, stores what was typed";
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].prompt.startsWith("The entry could not be stored: "));
    EXPECT_TRUE(prompter.asked()[0].prompt.endsWith(
        "What you typed stays in the dialog; press OK again once the database answers."));
    prompter.clear();

    panel->ListView_Wait->setCurrentItem(panel->ListView_Wait->topLevelItem(0));
    frozen.emplace();
    prompter.Answer(Msg::Yes);
    panel->btn_ClearEntry->click();
    panel->btn_AddEntry->click();
    EXPECT_EQ(panel->ListView_Wait->topLevelItemCount(), 2) << "a failed delete leaves the list as it was";
    main->Calendar2->setSelectedDate(QDate(2006, 3, 7));
    emit main->Calendar2->DateSelected();
    EXPECT_EQ(panel->ListView_Wait->topLevelItemCount(), 0) << "the entries of the 5th are not those of the 7th";
    EXPECT_TRUE(panel->lbl_ReadFailure->text().startsWith("The waiting list could not be read: "));
    if (qEnvironmentVariableIsSet("PALLOWIN_SHOT"))
        main->grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/waiting-list-hiccup.png");
    WaitingListPage* page = main->WaitingList;
    page->LayoutPlan3_MouseMove(2250, 750);
    emit page->LayoutPlan3->Click();
    EXPECT_EQ(main->txt_WaitingListFieldType->text(), "1");
    EXPECT_TRUE(panel->lbl_ReadFailure->isVisible());
    frozen.reset();

    const QStringList told = prompter.prompts();
    ASSERT_EQ(told.size(), 3);
    EXPECT_EQ(told[0], "Confirm delete?");
    EXPECT_TRUE(told[1].startsWith("Entry 1 could not be deleted: ")) << told[1].toStdString();
    EXPECT_TRUE(told[2].startsWith("The waiting-list dialog cannot be opened: ")) << told[2].toStdString();
    EXPECT_TRUE(errors.isEmpty()) << "told in the tab itself, not in the error window";
    EXPECT_EQ(count("tbl_waitlist"), 2);

    main->Calendar2->setSelectedDate(QDate(2006, 3, 5));
    emit main->Calendar2->DateSelected();
    EXPECT_TRUE(panel->lbl_ReadFailure->isHidden()) << "the next reading that works says nothing more";
}

TEST_F(MainWindow, AStoppedServerHeadsHandOverAndAVerifiedCancelWithTheirOwnNames)
{
    errors.clear();
    tasks.clear();
    ASSERT_EQ(SkipVerification, 1);
    {
        PrivateDatabase::Frozen frozen;
        main->Administration->btn_HandOver->click();
    }
    EXPECT_EQ(tasks, QStringList{"handing over"});
    EXPECT_EQ(count("tbl_log"), 0);
    EXPECT_TRUE(frm_Main::IsLoaded());

    SkipVerification = 0;
    Db::Execute("INSERT INTO tbl_staff SET st_login='ali', st_password='pw', st_access=2");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2006-03-05 18:00:00', b_field=0, b_bookername='Anna', "
                "b_delaytime=0, b_playlength=60");
    main->RefreshView();
    main->ListView_Book->clearSelection();
    main->ListView_Book->topLevelItem(18 - HourStart)->setSelected(true);
    std::optional<PrivateDatabase::Frozen> frozen;
    WhenModalShown([&](QWidget* dialog) {
        Control<QLineEdit>(dialog, "txt_user")->setText("ali");
        Control<QLineEdit>(dialog, "txt_password")->setText("pw");
        Control<QPushButton>(dialog, "btn_Go")->click();
        // Verified while the server answered; it stops before the cancel itself.
        frozen.emplace();
    });
    prompter.Type("rain");
    main->Bookings->btn_Clear->click();
    frozen.reset();
    EXPECT_EQ(tasks, QStringList({"handing over", "cancelling the slot"}));
    EXPECT_EQ(count("tbl_booking WHERE b_bookername='Anna'"), 1);
    EXPECT_EQ(count("tbl_remark"), 0);
}

TEST_F(MainWindow, AGridRowClickedWhileTheServerIsStoppedSaysSoInItsTipAtOnce)
{
    errors.clear();
    tasks.clear();
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2006-03-05 18:00:00', b_field=0, b_bookername='Anna'");
    Db::Execute("INSERT INTO tbl_remark SET m_datetime='2006-03-05 18:00:00', m_field=0, m_staff='admin', "
                "m_job='book', m_remark=' Anna', m_actiontime='5 Mar 10:00:00 AM'");
    main->show();
    main->RefreshView();
    QTreeWidget* grid = main->ListView_Book;
    auto click = [this, grid](int hour) {
        QTreeWidgetItem* row = grid->topLevelItem(hour - HourStart);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(row).center());
        return main->ToolTip->ToolText(grid);
    };
    QElapsedTimer waited;
    {
        PrivateDatabase::Frozen frozen;
        waited.start();
        EXPECT_EQ(click(18), SlotHistoryTip::CannotRead);
        EXPECT_LT(waited.elapsed(), 4500) << "the history is not worth the whole wait of an action";
        waited.restart();
        EXPECT_EQ(click(19), SlotHistoryTip::CannotRead);
        EXPECT_LT(waited.elapsed(), 500) << "a server known away is not asked again at once";
    }
    EXPECT_TRUE(errors.isEmpty());
    SetNow(Now().addSecs(SlotHistoryTip::QuietSeconds));
    EXPECT_EQ(click(18), "5 Mar 10:00:00 AM: admin book Anna\r\nNumber of Player = 0\r\n");

    // Another session holds the audit table for writing: the tip waits for it no longer.
    auto writer = Db::Open();
    writer->Execute("LOCK TABLES tbl_remark WRITE");
    waited.restart();
    EXPECT_EQ(click(18), SlotHistoryTip::CannotRead);
    EXPECT_LT(waited.elapsed(), 2700) << waited.elapsed();
    writer->Execute("UNLOCK TABLES");

    // Only the right button pops up the slot menu.
    EXPECT_FALSE(main->Bookings->mnu_Mouse->isVisible());
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->visualItemRect(grid->topLevelItem(0)).center());
    EXPECT_TRUE(main->Bookings->mnu_Mouse->isVisible());
    main->Bookings->mnu_Mouse->hide();
}

TEST(ToolTipClass, DoesNothingBeforeCreateAndKeepsEachToolOnce)
{
    QWidget owner, grid;
    clsToolTip tip;
    EXPECT_FALSE(tip.AddTool(&grid));
    tip.SetMaxTipWidth(100);
    tip.SetBackColor(0xFF);
    EXPECT_EQ(tip.MaxTipWidth() + tip.BackColor(), 0);
    ASSERT_TRUE(tip.Create(&owner));
    EXPECT_TRUE(tip.AddTool(&grid, "first"));
    EXPECT_FALSE(tip.AddTool(&grid, "second"));
    EXPECT_EQ(tip.ToolCount(), 1);
    EXPECT_EQ(tip.ToolText(&grid), "first");
    EXPECT_EQ(tip.ToolText(&owner), "");
    tip.SetToolText(&owner, "ignored");
    EXPECT_EQ(tip.ToolCount(), 1);
    const QString longText(300, 'x');
    tip.SetToolText(&grid, longText);
    EXPECT_EQ(tip.ToolText(&grid), longText);
    tip.SetMaxTipWidth(0);
    EXPECT_EQ(tip.MaxTipWidth(), -1);
    tip.SetDelayTime(6, 20000);
    EXPECT_EQ(tip.DelayTime(clsToolTip::AutoPop), 20000);

    // Colours and margins dress the tip shown, also once it shows; the handle is its window's.
    tip.SetBackColor(0x8000FF);
    tip.SetMargin(1, 7);
    tip.SetMargin(4, 9);
    EXPECT_EQ(tip.Margin(4) + tip.Margin(0) + tip.Margin(2) + tip.Margin(3), 0) << "side 4 sets nothing";
    EXPECT_EQ(tip.hWnd(), 0u);
    grid.show();
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), grid.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&grid, &hover);
    QWidget* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        shown = window->inherits("QTipLabel") && window->isVisible() ? window : shown;
    ASSERT_TRUE(shown);
    EXPECT_EQ(tip.ToolTipHandle(), shown->winId());
    EXPECT_EQ(shown->palette().color(QPalette::ToolTipBase), QColor(0xFF, 0, 0x80));
    const int heightBefore = shown->height();
    tip.SetForeColor(0x00FF00);
    tip.SetMargin(3, 10);
    EXPECT_EQ(shown->palette().color(QPalette::ToolTipText), QColor(0, 0xFF, 0));
    EXPECT_EQ(shown->contentsMargins(), QMargins(0, 7, 0, 10));
    EXPECT_EQ(shown->height(), heightBefore + 10);
    tip.SetToolText(&grid, "second");
    EXPECT_TRUE(shown->isVisible() && QToolTip::text() == "second") << "a tip that shows takes its new text";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&grid, &leave);
    EXPECT_EQ(tip.hWnd(), 0u) << "the tip goes when the mouse leaves the control";

    // The mouse resting on the tool shows its tip while another window is active.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseMove(&grid, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return tip.hWnd() != 0u; }, 3000));
    tip.SetToolText(&grid, "");
    EXPECT_EQ(tip.hWnd(), 0u) << "an empty text hides the tip that shows";
    EXPECT_TRUE(tip.RemoveTool(&grid));
    EXPECT_FALSE(tip.RemoveTool(&grid));
}

TEST(SupportText, ReadFilePutsALineBreakBeforeEveryLine)
{
    QTemporaryDir dir;
    QFile file(dir.path() + "/two.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a\r\n\r\nb\r\n");
    file.close();
    EXPECT_EQ(ReadFile(file.fileName()), "\r\na\r\n\r\nb");
    EXPECT_EQ(ReadFile(dir.path() + "/missing.txt"), "");

    // A settings file brought from a Windows counter is shown, and mailed, as the program reads it.
    QFile windows(dir.path() + "/pallowin.ini");
    ASSERT_TRUE(windows.open(QIODevice::WriteOnly));
    windows.write("[System]\r\npitch0=Caf\xe9 \x80 5\r\ndatabase_password=s3cret\r\n");
    windows.close();
    SupportPage page(nullptr);
    page.Fill(windows.fileName());
    const QString shown = page.txt_ProductBuildInformation->toPlainText();
    EXPECT_TRUE(shown.contains(QString::fromUtf8("pitch0=Caf\u00e9 \u20ac 5"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains("database_password=********"));
    if (qEnvironmentVariableIsSet("PALLOWIN_SHOT")) {
        page.resize(1100, 600);
        page.grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/support-1252.png");
    }
}

} // namespace
