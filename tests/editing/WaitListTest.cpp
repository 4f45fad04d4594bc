#include "WaitListHost.h"
#include "WaitListPanel.h"
#include "frm_WaitingList.h"

#include "DatabaseProxy.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class TestHost : public WaitListHost {
public:
    QString date = "2026-12-08";
    QString type = "0";
    QWidget window;

    QString WaitListDate() const override { return date; }
    QString WaitListFieldType() const override { return type; }
    QWidget* Owner() override { return &window; }
};

class WaitListTest : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        HourStart = 9;
        HourEnd = 2;
        LastCourtTypeIndex = 10;
        SpecialGroupCount = 5;
        StaffLogin = "counter";
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
    }
    void TearDown() override { SetErrorDisplayHandler(nullptr); }

    static void entry(int id, const QString& slot, int type, const QString& name)
    {
        Db::Execute("INSERT INTO tbl_waitlist SET w_id=" + QString::number(id) + ", w_datetime='" + slot +
                    "', w_field=" + QString::number(type) + ", w_bookername='" + name + "', w_bookertel='555'");
    }
    QStringList rows() const
    {
        QStringList shown;
        for (int i = 0; i < panel.ListView_Wait->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* row = panel.ListView_Wait->topLevelItem(i);
            shown << row->text(0) + " " + row->text(1) + " " + row->text(3);
        }
        return shown;
    }

    ScriptedPrompter prompter;
    QStringList errors;
    TestHost host;
    WaitListPanel panel{host};
};

TEST_F(WaitListTest, ListsTheEntriesOfTheDateAndCourtTypeAfterMidnightToo)
{
    entry(1, "2026-12-08 18:00:00", 2, "Anna");
    entry(2, "2026-12-08 24:00:00", 2, "Ben");
    entry(3, "2026-12-08 01:00:00", 2, "Cleo");
    entry(4, "2026-12-08 18:00:00", 10, "Dan");
    entry(5, "2026-12-09 18:00:00", 2, "Eve");
    entry(6, "2026-12-08 18:00:00", 2, "Anna");

    host.type = "2";
    EXPECT_EQ(panel.RefreshWaitList(), 1);
    EXPECT_EQ(rows(), QStringList({"1 Anna 18:00:00", "2 Ben 24:00:00", "3 Cleo 01:00:00", "6 Anna 18:00:00"}));
    EXPECT_EQ(panel.ListView_Wait->currentItem()->text(0), "1");
    host.type = "10";
    panel.RefreshWaitList();
    EXPECT_EQ(rows(), QStringList({"4 Dan 18:00:00"}));
    EXPECT_TRUE(errors.isEmpty());

    for (const char* bad : {"11", "2' OR '1'='1", ""}) {
        host.type = bad;
        panel.RefreshWaitList();
        EXPECT_TRUE(rows().isEmpty()) << bad;
        EXPECT_TRUE(panel.lbl_ReadFailure->text().contains("court type \"" + QString(bad) + "\""))
            << panel.lbl_ReadFailure->text().toStdString();
    }
    EXPECT_TRUE(errors.isEmpty()) << "no error window, whose Close would end the program";
    host.type = "10";
    panel.RefreshWaitList();
    EXPECT_TRUE(panel.lbl_ReadFailure->isHidden());
}

TEST_F(WaitListTest, AddStoresWhatWasTypedUnderTheChosenDateAndCourtType)
{
    Db::Execute("INSERT INTO tbl_specialgroup1 SET m_idno='G000007', m_name='North Schools', m_org='Ed', m_tel='5'");
    host.type = "10";
    bool seen = false;
    WhenModalShown([&](QWidget* shown) {
        auto* dialog = qobject_cast<frm_WaitingList*>(shown);
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog->windowTitle(), "Waiting List");
        EXPECT_FALSE(dialog->cmb_Time->isEditable());
        QStringList hours;
        for (int i = 0; i < dialog->cmb_Time->count(); ++i)
            hours << dialog->cmb_Time->itemText(i);
        EXPECT_EQ(hours.first(), "09:00:00");
        EXPECT_EQ(hours.mid(14), QStringList({"23:00:00", "24:00:00", "01:00:00", "02:00:00"}));
        EXPECT_EQ(dialog->txt_BookerName->maxLength(), 255);
        EXPECT_TRUE(dialog->btn_LookMember[0]->isEnabled());
        ASSERT_NE(dialog->txt_SpecialGroupID[1], nullptr);
        EXPECT_EQ(dialog->txt_SpecialGroupID[2], nullptr);
        EXPECT_EQ(TabOrder(dialog->txt_BookerName),
                  QStringList({"txt_BookerName", "txt_BookerMemberID", "txt_BookerStudentID", "txt_SpecialGroupID_1",
                               "txt_BookerTel", "txt_BookerOrg", "cmb_Time", "cmd_OK", "cmd_Cancel",
                               "btn_LookMember_0", "btn_LookMember_1", "btn_LookSpecialGroup_1"}));

        WhenModalShown([](QWidget* reg) { Control<QPushButton>(reg, "btn_Close")->click(); });
        dialog->btn_LookMember[0]->setFocus();
        dialog->btn_LookMember[0]->click();
        dialog->activateWindow(); // as the window system does when the register closes
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        EXPECT_TRUE(dialog->txt_BookerName->hasFocus()) << "after a look-up the clerk types the name";

        QTest::keyClicks(dialog->txt_BookerStudentID, "S202600");
        EXPECT_TRUE(dialog->txt_BookerName->text().isEmpty()) << "seven characters are no student ID";
        QTest::keyClicks(dialog->txt_BookerStudentID, "1");
        EXPECT_EQ(dialog->txt_BookerName->text(), "Tomas Novak");
        EXPECT_EQ(dialog->Tag, "student");
        dialog->txt_BookerMemberID->setText("M2026001"); // a demo member pasted from the register
        EXPECT_EQ(dialog->txt_BookerName->text(), "Anna Lindqvist");
        QTest::keyClicks(dialog->txt_SpecialGroupID[1], "G000007");
        EXPECT_EQ(dialog->Tag, "specialgroup1");
        EXPECT_TRUE(dialog->txt_BookerMemberID->text().isEmpty());
        dialog->txt_SpecialGroupID[1]->clear();
        Db::Execute("RENAME TABLE tbl_specialgroup1 TO tbl_specialgroup1_away");
        QTest::keyClicks(dialog->txt_SpecialGroupID[1], "G000007");
        Db::Execute("RENAME TABLE tbl_specialgroup1_away TO tbl_specialgroup1");
        EXPECT_EQ(errors.size(), 1) << "a failed look-up shows the error window";
        dialog->txt_SpecialGroupID[1]->clear();

        dialog->txt_BookerName->clear();
        dialog->cmd_OK_Click();
        EXPECT_EQ(prompter.prompts(), QStringList({"Please enter booker's name!"}));
        EXPECT_TRUE(dialog->isVisible());

        dialog->txt_BookerName->setText("Anna \"Lindqvist\" \\ O'Neil");
        dialog->txt_BookerOrg->setText("C:\\club's");
        dialog->cmb_Time->setCurrentText("01:00:00");
        QTest::mouseClick(dialog->cmd_OK, Qt::LeftButton);
    });
    panel.btn_AddEntry_Click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(scalar("SELECT CONCAT_WS('|', w_datetime, w_field, w_bookername, w_bookerorg, w_bookertel, "
                     "w_specialrate, w_staffname) FROM tbl_waitlist"),
              "2026-12-08 01:00:00|10|Anna \"Lindqvist\" \\ O'Neil|C:\\club's|5||counter")
        << "the emptied group ID takes its rate class with it";
    EXPECT_EQ(rows().size(), 1) << "OK reloads the list";
    EXPECT_EQ(errors.size(), 1);
}

// The link breaks while an entry is committed: OK finds out before it stores anything again.
TEST_F(WaitListTest, AnEntryWhoseStoringWasLostIsLookedUpBeforeItIsStoredAgain)
{
    DatabaseProxy proxy;
    ConnectionString = proxy.ConnectionString();
    frm_WaitingList dialog(host, panel);
    dialog.txt_BookerName->setText("Anna");
    dialog.cmb_Time->setCurrentText("18:00:00");
    // The server stores it, its reply is lost, and then it cannot be reached to be asked.
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
    dialog.cmd_OK_Click();
    ASSERT_TRUE(proxy.Lost());
    EXPECT_EQ(prompter.prompts(),
              QStringList{"The connection to the database was lost while the entry was being stored, and whether it "
                          "was stored cannot be told while the database does not answer. What you typed stays: press "
                          "OK again once the database answers, and the entry is looked up before it is stored again."});
    proxy.SetRefusing(false);
    dialog.cmd_OK_Click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rows().size(), 1) << "the list shows the entry found, stored once";
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(WaitListTest, ClearDeletesTheChosenEntryOnlyAfterYes)
{
    panel.btn_ClearEntry_Click();
    EXPECT_TRUE(prompter.asked().empty()) << "an empty list asks nothing";
    QTest::mouseClick(panel.ListView_Wait->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(panel.mnu_WaitList->isVisible()) << "only the right button opens the pop-up menu";
    QTest::mouseClick(panel.ListView_Wait->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(panel.mnu_WaitList->isVisible()) << "the pop-up menu opens on an empty list too";
    panel.mnu_WaitList->hide();

    entry(1, "2026-12-08 18:00:00", 0, "Anna");
    entry(2, "2026-12-08 19:00:00", 0, "Ben");
    panel.RefreshWaitList();
    panel.ListView_Wait->setCurrentItem(panel.ListView_Wait->topLevelItem(1));
    prompter.Answer(Msg::No);
    panel.btn_ClearEntry_Click();
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt, "Confirm delete?");
    EXPECT_EQ(prompter.asked()[0].style, Msg::YesNo);
    EXPECT_EQ(prompter.asked()[0].title, "Important");
    EXPECT_EQ(count("tbl_waitlist"), 2);

    panel.ListView_Wait->setCurrentItem(panel.ListView_Wait->topLevelItem(1));
    prompter.Answer(Msg::Yes);
    panel.btn_ClearEntry_Click();
    EXPECT_EQ(rows(), QStringList({"1 Anna 18:00:00"}));

    // Another station cleared it first: nothing to say, the list shows what is left.
    Db::Execute("DELETE FROM tbl_waitlist");
    prompter.Answer(Msg::Yes);
    panel.btn_ClearEntry_Click();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace
