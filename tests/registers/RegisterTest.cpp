#include "RegisterForm.h"
#include "RegisterWindow.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "Verification.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

struct Register {
    RegisterForm& form;
    QString table;
    QString prefix;
};

class Registers : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        SkipVerification = 0;
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
    }
    void TearDown() override { SetErrorDisplayHandler(nullptr); }

    static std::vector<Register> all()
    {
        frm_Members_Dynamic().TableIndex = 1;
        return {{frm_Members(), "tbl_member", "m_"},
                {frm_Students(), "tbl_student", "st_"},
                {frm_Members_Dynamic(), "tbl_specialgroup1", "m_"}};
    }
    static std::unique_ptr<RegisterWindow> open(const Register& r)
    {
        return std::make_unique<RegisterWindow>(r.form, RegisterTable(r.table, r.prefix), nullptr);
    }
    static void type(RegisterWindow& w, const QStringList& boxes)
    {
        for (int i = 1; i <= 5; ++i)
            w.txt_member[static_cast<size_t>(i)]->setText(boxes[i - 1]);
    }
    static QString stored(const Register& r, const QString& key)
    {
        const QString& p = r.prefix;
        return scalar("SELECT CONCAT_WS('|', " + p + "idno, " + p + "name, " + p + "hour, " + p + "org, " + p +
                      "tel) FROM " + r.table + " WHERE " + p + "id=" + key);
    }
    static int listed(RegisterWindow& w) { return w.ListView_Member->model()->rowCount(); }
    static void verifyAs(const QString& login)
    {
        WhenModalShown([login](QWidget* dialog) {
            Control<QLineEdit>(dialog, "txt_user")->setText(login);
            Control<QLineEdit>(dialog, "txt_password")->setText(login);
            Control<QPushButton>(dialog, "btn_Go")->click();
        });
    }

    ScriptedPrompter prompter;
    QStringList errors;
};

TEST_F(Registers, EveryTextIsStoredAsTypedAndFoundAgain)
{
    const QStringList typed = {"ID'\\\"7", "Ann O'Neil \\ \"Jr\"", "7", "Club's \\ Org", "555'\\"};
    for (const Register& r : all()) {
        SCOPED_TRACE(r.table.toStdString());
        auto w = open(r);
        w->btn_Add_Click();
        EXPECT_FALSE(w->btn_Delete->isEnabled());
        type(*w, typed);
        w->btn_Update_Click();
        EXPECT_TRUE(w->btn_Delete->isEnabled());
        const QString key = scalar("SELECT MAX(" + r.prefix + "id) FROM " + r.table);
        EXPECT_EQ(stored(r, key), "ID'\\\"7|Ann O'Neil \\ \"Jr\"|7.00|Club's \\ Org|555'\\");

        // A quote and a backslash in the search are searched for; the user's own % stays a wildcard.
        w->txt_SearchMemberName->setText("O'Neil \\");
        ASSERT_EQ(listed(*w), 1);
        EXPECT_EQ(MemberRecordCount, 1);
        w->txt_SearchMemberName->setText("n%'N");
        EXPECT_EQ(listed(*w), 1);
        w->ListView_Member_Click(0);
        EXPECT_EQ(w->txt_member[2]->text(), typed[1]);
        EXPECT_EQ(w->txt_member[0]->text(), key);

        // A second Update writes the texts as typed, never escaped twice.
        w->txt_member[5]->setText("555-0'9");
        w->btn_Update_Click();
        w->btn_Update_Click();
        EXPECT_EQ(stored(r, key), "ID'\\\"7|Ann O'Neil \\ \"Jr\"|7.00|Club's \\ Org|555-0'9");
        EXPECT_EQ(w->txt_member[2]->text(), typed[1]);

        w->txt_SearchMemberName->setText("nobody here");
        EXPECT_EQ(listed(*w), 0);
        EXPECT_EQ(MemberRecordCount, 0);
        EXPECT_EQ(w->txt_member[2]->text(), typed[1]) << "a search that finds nothing keeps the record shown";
    }
    EXPECT_TRUE(prompter.prompts().isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(Registers, UpdateWritesTheHoursOnlyWhenTheyWereChanged)
{
    const Register members = all()[0];
    auto w = open(members);
    ASSERT_EQ(w->txt_member[1]->text(), "M2026001");
    EXPECT_EQ(w->txt_member[3]->text(), "12");
    // Another station takes payment for an hour while the record is shown here.
    Db::Execute("UPDATE tbl_member SET m_hour=m_hour+1 WHERE m_name='Anna Lindqvist'");
    w->txt_member[5]->setText("555-0111");
    w->btn_Update_Click();
    EXPECT_EQ(stored(members, "1"), "M2026001|Anna Lindqvist|13.00|Riverside FC|555-0111");
    EXPECT_EQ(w->txt_member[3]->text(), "13");

    for (const QString bad : {"1.5", "-3", "ten", "1234567890", "7'"}) {
        w->txt_member[3]->setText(bad);
        w->txt_member[5]->setText("555-0999");
        w->btn_Update_Click();
        EXPECT_EQ(w->txt_member[3]->text(), bad) << "the box keeps what was typed";
    }
    EXPECT_EQ(prompter.prompts().size(), 5);
    EXPECT_EQ(prompter.prompts().value(0), "Please enter the hours played as a whole number.");
    EXPECT_EQ(stored(members, "1"), "M2026001|Anna Lindqvist|13.00|Riverside FC|555-0111");

    w->txt_member[3]->setText(" 20 ");
    w->btn_Update_Click();
    EXPECT_EQ(stored(members, "1"), "M2026001|Anna Lindqvist|20.00|Riverside FC|555-0999");
}

TEST_F(Registers, AnUpdateOfARowDeletedElsewhereIsToldAndCanBeSavedAsNew)
{
    const Register members = all()[0];
    auto w = open(members);
    w->btn_Update_Click();
    EXPECT_TRUE(prompter.prompts().isEmpty()) << "an Update that changes nothing finds its row";

    Db::Execute("DELETE FROM tbl_member WHERE m_name='Anna Lindqvist'");
    w->txt_member[5]->setText("555-0111");
    prompter.Answer(Msg::No);
    w->btn_Update_Click();
    EXPECT_EQ(prompter.prompts(), QStringList{"This record was deleted at another station since it was shown, so "
                                              "your changes were not saved. Save it as a new record?"});
    EXPECT_EQ(count("tbl_member WHERE m_name='Anna Lindqvist'"), 0);
    EXPECT_EQ(w->txt_member[5]->text(), "555-0111") << "the edit stays in the boxes";

    prompter.Answer(Msg::Yes);
    w->btn_Update_Click();
    EXPECT_EQ(scalar("SELECT CONCAT_WS('|', m_idno, m_name, m_hour, m_org, m_tel) FROM tbl_member "
                     "WHERE m_name='Anna Lindqvist'"),
              "M2026001|Anna Lindqvist|12.00|Riverside FC|555-0111");
}

TEST_F(Registers, TheBoxesTakeNoMoreThanTheTablesOwnColumnsHold)
{
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE tbl_specialgroup2 (m_id INT AUTO_INCREMENT PRIMARY KEY, "
                               "m_idno VARCHAR(6), m_name VARCHAR(20), m_hour INT, m_org VARCHAR(10), "
                               "m_tel VARCHAR(12));");
    frm_Members_Dynamic().TableIndex = 2;
    auto group = std::make_unique<RegisterWindow>(frm_Members_Dynamic(), RegisterTable("tbl_specialgroup2", "m_"),
                                                  nullptr);
    group->btn_Add_Click();
    QStringList shown;
    for (int i : {1, 2, 4, 5}) {
        QTest::keyClicks(group->txt_member[static_cast<size_t>(i)], "12345678901234567890-too-long");
        shown << group->txt_member[static_cast<size_t>(i)]->text();
    }
    EXPECT_EQ(shown.join('|'), "123456|12345678901234567890|1234567890|123456789012");
    group->btn_Update_Click();
    EXPECT_EQ(scalar("SELECT CONCAT_WS('|', m_idno, m_name, m_org, m_tel) FROM tbl_specialgroup2"), shown.join('|'));
}

TEST_F(Registers, DeleteTakesAnAdministratorAndOnlyTheRowShown)
{
    Db::Execute("INSERT INTO tbl_member SET m_idno='M2026001', m_name='Anna Second', m_tel='555-0199'");
    auto w = open(all()[0]);
    // Equal ID numbers keep the order of their keys, so row 2 is always the second Anna.
    w->ListView_Member_Click(1);
    ASSERT_EQ(w->txt_member[2]->text(), "Anna Second");

    prompter.Answer(Msg::No);
    w->btn_Delete_Click();
    prompter.Answer(Msg::Yes);
    verifyAs("counter");
    w->btn_Delete_Click();
    EXPECT_EQ(count("tbl_member"), 4) << "staff may not delete";
    EXPECT_EQ(w->txt_member[2]->text(), "Anna Second");

    prompter.Answer(Msg::Yes);
    verifyAs("admin");
    w->btn_Delete_Click();
    EXPECT_EQ(count("tbl_member WHERE m_name='Anna Second'"), 0);
    EXPECT_EQ(count("tbl_member WHERE m_name='Anna Lindqvist'"), 1);
    EXPECT_EQ(prompter.prompts(), QStringList({"Confirm delete ?", "Confirm delete ?", "Confirm delete ?"}));
    EXPECT_TRUE(prompter.asked()[0].style & Msg::DefaultButton2) << "a careless Enter must not delete";
    EXPECT_EQ(prompter.asked()[0].title, "Confirmation");
    EXPECT_TRUE(w->txt_member[0]->text().isEmpty());
    EXPECT_EQ(RecordPosition, 1);

    // With no record shown there is nothing to update: the typed record is kept, not written.
    prompter.clear();
    type(*w, {"M777", "New Member", "", "", ""});
    w->btn_Update_Click();
    EXPECT_EQ(prompter.prompts(), QStringList({"There is no record shown to update. Press Add to enter a new one."}));
    EXPECT_EQ(count("tbl_member"), 3);
    EXPECT_EQ(w->txt_member[2]->text(), "New Member");

    // A member another station deleted since the list was read is not shown; the list loses it.
    Db::Execute("DELETE FROM tbl_member WHERE m_idno='M2026002'");
    w->ListView_Member_Click(1);
    EXPECT_EQ(w->txt_member[2]->text(), "New Member");
    EXPECT_EQ(listed(*w), 2);
}

TEST_F(Registers, ALargeRegisterIsPagedToItsEnd)
{
    PrivateDatabase::RunClient("USE posdb; INSERT INTO tbl_student (st_idno, st_name, st_hour, st_org, st_tel) "
                               "SELECT CONCAT('T', LPAD(seq, 6, '0')), CONCAT('Student ', seq), 0, '', '' "
                               "FROM seq_1_to_100000");
    auto w = open(all()[1]);
    ASSERT_EQ(listed(*w), 100002);
    EXPECT_FALSE(w->btn_Next->isHidden());
    EXPECT_FALSE(w->btn_Next->isEnabled()) << "stepping starts with the first Update";

    w->ListView_Member_Click(100001);
    EXPECT_EQ(w->txt_member[1]->text(), "T100000");
    w->btn_Next_Click();
    EXPECT_EQ(w->txt_member[1]->text(), "T100000");
    EXPECT_EQ(RecordPosition, 100002);
    EXPECT_EQ(MemberRecordCount, 100002);

    // A narrower search leaves the position past its end: the view stays, showing no other student.
    w->txt_SearchMemberName->setText("Tomas");
    w->btn_Refresh_Click();
    EXPECT_EQ(w->txt_member[1]->text(), "T100000");
    w->btn_Previous_Click();
    EXPECT_EQ(w->txt_member[2]->text(), "Tomas Novak");
}

TEST_F(Registers, TheGroupRegisterOpensOnlyOnAGroupThatHasATable)
{
    PrivateDatabase::RunClient("CREATE TABLE posdb.tbl_specialgroup2 LIKE posdb.tbl_member; INSERT INTO "
                               "posdb.tbl_specialgroup2 SET m_idno='G201', m_name='Veterans', m_tel='555-0401'");
    QString seen;
    WhenModalShown([&](QWidget* dialog) {
        auto* w = static_cast<RegisterWindow*>(dialog);
        seen = w->windowTitle() + "|" + w->ListView_Member->model()->index(0, 1).data().toString() + "|" +
               QString::number(w->ListView_Member->model()->rowCount());
        w->btn_Close->click();
    });
    frm_Members_Dynamic().TableIndex = 2;
    frm_Members_Dynamic().Show(nullptr);
    EXPECT_EQ(seen, "Membership|Veterans|1");

    // A group whose table went after the buttons were made opens on the table's error; a number out of
    // range names no table at all.
    WhenModalShown([&](QWidget* dialog) {
        seen = QString::number(static_cast<RegisterWindow*>(dialog)->ListView_Member->model()->rowCount());
        static_cast<RegisterWindow*>(dialog)->btn_Close->click();
    });
    QLineEdit target;
    for (int group : {3, 0, 6, -1}) {
        frm_Members_Dynamic().TableIndex = group;
        frm_Members_Dynamic().LookUp(RegisterForm::Opener::Booker, &target, nullptr);
        EXPECT_FALSE(frm_Members_Dynamic().isFromBookerForm);
    }
    EXPECT_EQ(seen, "0");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("tbl_specialgroup3")) << errors[0].toStdString();
    EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(Registers, EveryCloseEndsTheLookUp)
{
    QLineEdit target;
    bool pasteShown = false;
    WhenModalShown([&](QWidget* dialog) {
        pasteShown = Control<QPushButton>(dialog, "btn_MemberPaste")->isVisible();
        dialog->close();  // the title-bar close
    });
    frm_Students().LookUp(RegisterForm::Opener::WaitingList, &target, nullptr);
    EXPECT_TRUE(pasteShown);
    EXPECT_FALSE(frm_Students().isFromWaitingList);

    WhenModalShown([&](QWidget* dialog) {
        pasteShown = Control<QPushButton>(dialog, "btn_MemberPaste")->isVisible();
        static_cast<RegisterWindow*>(dialog)->btn_MemberPaste_Click();
    });
    frm_Students().Show(nullptr);
    EXPECT_FALSE(pasteShown) << "a plain opening after a closed look-up";
    EXPECT_TRUE(target.text().isEmpty());

    WhenModalShown([](QWidget* dialog) {
        auto* w = static_cast<RegisterWindow*>(dialog);
        w->ListView_Member_Click(1);
        w->btn_MemberPaste->click();
    });
    frm_Students().LookUp(RegisterForm::Opener::WaitingList, &target, nullptr);
    EXPECT_EQ(target.text(), "S2026002");
    EXPECT_FALSE(frm_Students().isFromWaitingList);
    EXPECT_EQ(frm_Students().PasteTarget, nullptr);
}

TEST_F(Registers, ALostDatabaseShowsTheErrorWindowAndKeepsWhatWasTyped)
{
    auto w = open(all()[0]);
    ConnectionString = "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;DATABASE=posdb;UID=x;PWD=y";
    w->txt_member[2]->setText("Anna Changed");
    w->btn_Update_Click();
    w->btn_Refresh_Click();
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(w->txt_member[2]->text(), "Anna Changed");
}

} // namespace
