#include "EditingTest.h"
#include "SlotMenu.h"
#include "WaitListHost.h"
#include "WaitListPanel.h"

#include "ModalDialog.h"
#include "TempWindowsDir.h"

#include "SpecialGroups.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class SlotMenuTest : public EditingTest {
protected:
    TempWindowsDir windows;
    QWidget window;
};

// "name|caption" of each item, "-" for a hidden one, submenus' items indented.
QStringList items(const QMenu& menu, const QString& indent = {})
{
    QStringList list;
    for (const QAction* action : menu.actions()) {
        list << indent + (action->isVisible() ? "" : "-") + action->objectName() + "|" + action->text();
        if (action->menu())
            list << items(*action->menu(), indent + "  ");
    }
    return list;
}

TEST_F(SlotMenuTest, ItemsCaptionsAndHiddenItemsInOrder)
{
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE tbl_specialgroup2 (m_idno VARCHAR(8)); "
                               "CREATE TABLE tbl_specialgroup4 (m_idno VARCHAR(8));");
    windows.writeIni("[SpecialGroup]\n 4=Seniors\n");
    TestGrid grid(Day, 3);
    SlotMenu menu(grid, &window);
    menu.LoadItems(SpecialGroupsWithTables());
    EXPECT_EQ(menu.objectName(), "mnu_Mouse");
    EXPECT_EQ(menu.title(), "mousemenu");
    EXPECT_EQ(items(menu), QStringList({"mnu_Copy|Copy Slot",
                                        "-mnu_ChangePlayerCount|Change Player Count",
                                        "mnu_Paste|Paste Slot",
                                        "mnu_Delete|Delete Slot",
                                        "mnu_Pay|Pay Slot",
                                        "mnu_PrintInvoice|Print Invoice",
                                        "mnu_bar1|",
                                        "mnu_setStudent|Set this slot as 'student' slot",
                                        "mnu_SetMember|Set this slot as 'member' slot",
                                        "mnu_SetNormal|Set this slot as 'normal' slot",
                                        "-mnu_SetSpecialGroup|Set this slot as 'special group 1' slot",
                                        "mnu_SetSpecialGroup|Set this slot as 'Special Group  2 ' slot",
                                        "mnu_SetSpecialGroup|Set this slot as 'Seniors ' slot",
                                        "-mnu_ba5|",
                                        "-mnu_Move|Move To",
                                        "mnu_bar2|",
                                        "mnu_ExtraTime|Extra Time",
                                        "  mnu_Add15|Add 15 minutes extra time",
                                        "  mnu_Add30|Add 30 minutes extra time",
                                        "  mnu_Add45|Add 45 minutes extra time",
                                        "  mnu_ClearAddition|Clear extra time",
                                        "mnu_bar4|",
                                        "mnu_Delay|Delay Bookings",
                                        "  mnu_Delay15|Delay for 15 minutes",
                                        "  mnu_Delay30|Delay for 30 minutes",
                                        "  mnu_Delay45|Delay for 45 minutes",
                                        "  mnu_DelayClear|Start at beginning of the slot",
                                        "mnu_bar5|",
                                        "mnu_Duration|Shorten Bookings",
                                        "  mnu_Duration15|Set Duration for 15 minutes",
                                        "  mnu_Duration30|Set Duration for 30 minutes",
                                        "  mnu_Duration45|Set Duration for 45 minutes",
                                        "  mnu_DurationDefault|Clear custom duration",
                                        "mnu_bar3|",
                                        "mnu_BlockBook1|Block Booking for 1 month",
                                        "mnu_BlockBook2|Block Booking for 2 month"}));
    ASSERT_EQ(menu.mnu_SetSpecialGroup.size(), 5u);
    EXPECT_EQ(menu.mnu_SetSpecialGroup[3], nullptr);
    book(3, "15:00", "Anna");
    grid.RefreshView();
    grid.Select({"15:00"});
    QStringList rates;
    for (QAction* item : {menu.mnu_SetSpecialGroup[4], menu.mnu_setStudent, menu.mnu_SetSpecialGroup[2],
                          menu.mnu_SetMember, menu.mnu_SetNormal}) {
        item->trigger();
        rates << row(3, "15:00", "b_specialrate");
    }
    EXPECT_EQ(rates, QStringList({"specialgroup4", "student", "specialgroup2", "member", ""}));
}

TEST_F(SlotMenuTest, EachTimingItemChangesTheFocusedSlotByItsOwnMinutes)
{
    book(3, "15:00", "Anna");
    TestGrid grid(Day, 3);
    grid.RefreshView();
    grid.Select({"15:00"});
    SlotMenu menu(grid, &window);
    const std::pair<QAction*, QString> steps[] = {
        {menu.mnu_Add15, "0|75"},      {menu.mnu_ClearAddition, "0|60"}, {menu.mnu_Add30, "0|90"},
        {menu.mnu_Duration45, "0|45"}, {menu.mnu_DurationDefault, "0|60"}, {menu.mnu_Add45, "0|105"},
        {menu.mnu_Duration15, "0|15"}, {menu.mnu_Duration30, "0|30"},   {menu.mnu_Delay30, "30|30"},
        {menu.mnu_Delay15, "15|30"},   {menu.mnu_Delay45, "45|30"},     {menu.mnu_DelayClear, "0|30"}};
    for (const auto& [action, expected] : steps) {
        action->trigger();
        EXPECT_EQ(row(3, "15:00", "b_delaytime, b_playlength"), expected) << action->objectName().toStdString();
    }
    EXPECT_TRUE(prompter.prompts().isEmpty());

    // Older versions stored 0 for the full hour: such an hour is timed as it is priced.
    book(3, "17:00", "Ben", 0, 0);
    book(3, "18:00", "Cleo");
    book(3, "20:00", "Dan", 0, 0);
    grid.RefreshView();
    grid.Select({"17:00"});
    menu.mnu_Delay45->trigger();
    grid.Select({"20:00"});
    menu.mnu_Add15->trigger();
    EXPECT_EQ(row(3, "17:00", "b_delaytime, b_playlength") + " " + row(3, "20:00", "b_delaytime, b_playlength"),
              "0|0 0|75");
    EXPECT_EQ(prompter.prompts(), QStringList{"conflicting! cannot delay"}) << "17:00 would run 45 minutes into 18:00";
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SlotMenuTest, PasteAsksEachFreeRowItsOwnQuestionsInOrderAndTimesOnlyWhatItBooked)
{
    book(3, "21:00", "Copied");
    book(3, "15:00", "Prev", 20, 60);
    book(3, "17:00", "Next", 10, 60);
    book(3, "20:00", "Other");
    TestGrid grid(Day, 3);
    grid.RefreshView();
    grid.Select({"21:00"});
    SlotMenu menu(grid, &window);
    menu.mnu_Copy_Click();

    grid.Select({"16:00", "18:00", "19:00", "20:00"});
    prompter.Answer(Msg::No);
    prompter.Answer(Msg::Yes);
    prompter.Answer(Msg::Yes);
    prompter.Answer(Msg::Yes);
    prompter.Answer(Msg::OK);
    menu.mnu_Paste->trigger();
    EXPECT_EQ(prompter.prompts(),
              QStringList({"The slot already occupied for 20 minutes by previous slot.\r\n Do you wish to delay the "
                           "slot too?",
                           "Cannot make for complete 1 hour\r\nDo you wish to book for only 50 minutes?",
                           "The slot already occupied for 10 minutes by previous slot.\r\n Do you wish to delay the "
                           "slot too?",
                           "Cannot make for complete 1 hour\r\nDo you wish to book for only 50 minutes?",
                           "The field already being booked"}));
    EXPECT_EQ(prompter.asked()[0].title, "Information");
    EXPECT_EQ(prompter.asked()[0].style, Msg::YesNoCancel);
    EXPECT_EQ(row(3, "16:00", "b_bookername"), "none") << "a row that cannot start on the hour is not pasted";
    EXPECT_EQ(row(3, "18:00", "b_bookername, b_delaytime, b_playlength"), "Copied|10|60");
    EXPECT_EQ(row(3, "19:00", "b_bookername, b_delaytime, b_playlength"), "Copied|10|50")
        << "it starts as late as the pasted slot before it and ends when the next one starts";
    EXPECT_EQ(row(3, "20:00", "b_bookername, b_delaytime, b_playlength"), "Other|0|60");
    EXPECT_EQ(prompter.unexpected(), 0);

    // The slot before fills the whole hour: nothing of the paste is booked.
    prompter.clear();
    book(4, "18:00", "Long", 0, 120);
    TestGrid full(Day, 4);
    full.RefreshView();
    full.Select({"17:00", "19:00"});
    SlotMenu other(full, &window);
    other.mnu_Paste_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"The time for this slot has been used by previous slot"}));
    EXPECT_EQ(row(4, "17:00", "b_bookername"), "none");
}

TEST_F(SlotMenuTest, PlayerCountIsAskedOnlyUnderPerPersonChargingAndRefusesWhatIsNotACount)
{
    book(3, "15:00", "Anna");
    TestGrid grid(Day, 3);
    grid.RefreshView();
    SlotMenu hidden(grid, &window);
    hidden.LoadItems(SpecialGroupsWithTables());
    EXPECT_FALSE(hidden.mnu_ChangePlayerCount->isVisible());

    PerPersonChargingOn = 1;
    SlotMenu menu(grid, &window);
    menu.LoadItems(SpecialGroupsWithTables());
    EXPECT_TRUE(menu.mnu_ChangePlayerCount->isVisible());
    grid.Select({"16:00"});
    menu.mnu_ChangePlayerCount->trigger();
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot copy empty slot"}));

    grid.Select({"15:00"});
    QString caption;
    WhenModalShown([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        auto* box = Control<QLineEdit>(dialog, "txt_NPlayer");
        auto* ok = Control<QPushButton>(dialog, "cmd_AskNPlayer");
        for (const char* typed : {"-3", "40000", "6"}) {
            box->setText(typed);
            ok->click();
        }
    });
    menu.mnu_ChangePlayerCount->trigger();
    EXPECT_EQ(caption, "Enter new player count");
    EXPECT_EQ(prompter.prompts().mid(1), QStringList({"Please enter number of person playing!",
                                                      "Please enter number of person playing!"}));
    EXPECT_EQ(row(3, "15:00", "b_person"), "6");
    EXPECT_EQ(count("tbl_remark WHERE m_job='change' AND m_remark=' number of person playing from 0 to 6'"), 1);
}

class TestWaitHost : public WaitListHost {
public:
    QWidget window;
    QString WaitListDate() const override { return Day; }
    QString WaitListFieldType() const override { return "0"; }
    QWidget* Owner() override { return &window; }
};

TEST_F(SlotMenuTest, CutSlotOfTheWaitingListCutsItsChosenEntry)
{
    LastCourtTypeIndex = 1;
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=5, w_datetime='2026-12-08 16:00:00', w_bookername='First'");
    Db::Execute("INSERT INTO tbl_waitlist SET w_id=6, w_datetime='2026-12-08 17:00:00', w_bookername='Second'");
    TestGrid grid(Day, 3);
    SlotMenu menu(grid, &window);
    TestWaitHost host;
    WaitListPanel panel(host);
    menu.ConnectWaitList(panel);
    panel.mnu_Cut->trigger();
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot copy empty slot"}));
    EXPECT_FALSE(PasteFromWaitList);

    panel.RefreshWaitList();
    // An entry that another station booked since the list was read cannot be cut.
    Db::Execute("DELETE FROM tbl_waitlist WHERE w_id=5");
    panel.mnu_Cut->trigger();
    EXPECT_EQ(prompter.prompts(), QStringList({"You cannot copy empty slot", "You cannot copy empty slot"}));
    EXPECT_FALSE(PasteFromWaitList);
    panel.ListView_Wait->setCurrentItem(panel.ListView_Wait->topLevelItem(1));
    panel.mnu_Cut->trigger();
    EXPECT_TRUE(PasteFromWaitList);
    EXPECT_EQ(WaitListCutId, "6");
}

} // namespace
