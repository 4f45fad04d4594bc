#include "TestGrid.h"
#include "frm_Booker.h"

#include "WaitListHost.h"
#include "WaitListPanel.h"
#include "frm_WaitingList.h"

#include "RegisterForm.h"
#include "RegisterWindow.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

const QString Day = "2026-12-08";

class LookUp : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        UseTestCentre();
        PrivateDatabase::RunClient("CREATE TABLE posdb.tbl_specialgroup3 LIKE posdb.tbl_member; INSERT INTO "
                                   "posdb.tbl_specialgroup3 SET m_idno='G301', m_name='Harbour Police', "
                                   "m_org='Police Sports', m_tel='555-0501'");
        grid.Select({"16:00"});
    }
    void TearDown() override { ResetNow(); }

    // Finds name in the register that opens next, clicks its row and pastes it.
    static void pasteWhenShown(const QString& name)
    {
        WhenModalShown([name](QWidget* dialog) {
            auto* w = static_cast<RegisterWindow*>(dialog);
            QTest::keyClicks(w->txt_SearchMemberName, name);
            QTreeView* list = w->ListView_Member;
            const QModelIndex first = list->model()->index(0, 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
            w->btn_MemberPaste->click();
        });
    }
    static QString booker(const frm_Booker& d)
    {
        return QStringList({d.txt_BookerName->text(), d.txt_BookerOrg->text(), d.txt_BookerTel->text(), d.Tag})
            .join("|");
    }
    static QString booked()
    {
        return scalar("SELECT CONCAT_WS('|', b_bookername, b_specialrate) FROM tbl_booking WHERE b_field=3");
    }

    TempWindowsDir windows;
    ScriptedPrompter prompter;
    TestGrid grid{Day, 3};
};

TEST_F(LookUp, APasteFromEachRegisterFillsTheBookerDialog)
{
    frm_Booker dialog(grid, nullptr);
    pasteWhenShown("O'Br");
    dialog.btn_LookMember[0]->click();
    EXPECT_EQ(dialog.txt_BookerMemberID->text(), "M2026002");
    EXPECT_EQ(booker(dialog), "Sean O'Brien|Harbour Rovers|555-0102|member");

    pasteWhenShown("Mei");
    dialog.btn_LookMember[1]->click();
    EXPECT_EQ(booker(dialog), "Mei Chen|Technical University|555-0202|student");
    EXPECT_TRUE(dialog.txt_BookerMemberID->text().isEmpty());

    ASSERT_NE(dialog.btn_LookSpecialGroup[3], nullptr);
    pasteWhenShown("Police");
    dialog.btn_LookSpecialGroup[3]->click();
    EXPECT_EQ(booker(dialog), "Harbour Police|Police Sports|555-0501|specialgroup3");
    EXPECT_TRUE(dialog.txt_BookerStudentID->text().isEmpty());
    EXPECT_FALSE(frm_Members_Dynamic().isFromBookerForm);

    dialog.cmd_OK_Click();
    EXPECT_EQ(booked(), "Harbour Police|specialgroup3");
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

class WaitListBehind : public WaitListHost {
public:
    QString WaitListDate() const override { return Day; }
    QString WaitListFieldType() const override { return "0"; }
    QWidget* Owner() override { return &window; }
    QWidget window;
};

TEST_F(LookUp, APasteFromEachRegisterFillsTheWaitingListDialog)
{
    Db::Execute("INSERT INTO tbl_member SET m_idno='M2026042', m_name='Ada \\\\Quinn', m_org='Rovers', m_tel='1'");
    Db::Execute("INSERT INTO tbl_student SET st_idno='S2026042', st_name='Ben Ito', st_org='Tech', st_tel='2'");
    Db::Execute("INSERT INTO tbl_specialgroup3 SET m_idno='G302000', m_name='Coast Guard', m_org='CG', m_tel='3'");
    WaitListBehind host;
    WaitListPanel panel(host);
    frm_WaitingList dialog(host, panel);
    auto shown = [&dialog] {
        return QStringList({dialog.txt_BookerName->text(), dialog.txt_BookerOrg->text(),
                            dialog.txt_BookerTel->text(), dialog.Tag})
            .join("|");
    };

    pasteWhenShown("Ada");
    dialog.btn_LookMember[0]->click();
    EXPECT_EQ(dialog.txt_BookerMemberID->text(), "M2026042");
    EXPECT_EQ(shown(), "Ada \\Quinn|Rovers|1|member");
    EXPECT_FALSE(frm_Members().isFromWaitingList);

    pasteWhenShown("Ben");
    dialog.btn_LookMember[1]->click();
    EXPECT_EQ(shown(), "Ben Ito|Tech|2|student");
    EXPECT_TRUE(dialog.txt_BookerMemberID->text().isEmpty());

    ASSERT_NE(dialog.btn_LookSpecialGroup[3], nullptr);
    pasteWhenShown("Coast");
    dialog.btn_LookSpecialGroup[3]->click();
    EXPECT_EQ(shown(), "Coast Guard|CG|3|specialgroup3");
    EXPECT_TRUE(dialog.txt_BookerStudentID->text().isEmpty());
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(LookUp, AnIdNoRegisterHasKeepsTheBookerFoundAndAsksNothing)
{
    frm_Booker dialog(grid, nullptr);
    QTest::keyClicks(dialog.txt_BookerMemberID, "M20260019"); // M2026001 is found, M20260019 no member has
    EXPECT_EQ(booker(dialog), "Anna Lindqvist|Riverside FC|555-0101|member");
    dialog.cmd_OK_Click();
    EXPECT_EQ(booked(), "Anna Lindqvist|member") << "the member found is booked at the member's own rate";
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

} // namespace
