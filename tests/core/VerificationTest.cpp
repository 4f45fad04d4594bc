#include "ErrorDisplay.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "Verification.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Verification : public DemoDatabaseTest {
protected:
    void SetUp() override
    {
        DemoDatabaseTest::SetUp();
        SkipVerification = 0;
        PrivateDatabase::RunClient("USE posdb; INSERT INTO tbl_staff (st_login, st_password, st_access) VALUES "
                                   "('coach', 'c0ach', 2), ('o''neil', 'pw''1', 0);");
        SetErrorDisplayHandler([this](const VbError& e) {
            errors.push_back(e.number());
            headings << CurrentTask;
        });
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        SkipVerification = 0;
    }

    // Shows the dialog the way a guarded action does and signs in with login and password.
    void verify(const QString& login, const QString& password)
    {
        WhenModalShown([login, password](QWidget* dialog) {
            Control<QLineEdit>(dialog, "txt_user")->setText(login);
            Control<QLineEdit>(dialog, "txt_password")->setText(password);
            Control<QPushButton>(dialog, "btn_Go")->click();
        });
        ShowVerifyUser(nullptr);
    }

    ScriptedPrompter prompter;
    std::vector<long> errors;
    QStringList headings;
};

TEST_F(Verification, TheRoleDecidesWhichActionsAreAllowed)
{
    struct Case {
        const char* login;
        const char* password;
        const char* status;
        bool staffAction;
        bool adminAction;
    };
    const Case cases[] = {
        {"admin", "admin", "admin", true, true},
        {"counter", "counter", "staff", true, false},
        {"coach", "c0ach", "staff", true, false},
        {"admin", "wrong", "", false, false},
        {"ADMIN", "admin", "", false, false},
        {"admin  ", "admin", "", false, false},
        {"admin", "Admin", "", false, false},
        {"admin", "admin ", "", false, false},
        {"nobody", "admin", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.login + std::string("/") + c.password);
        prompter.clear();
        verify(c.login, c.password);
        EXPECT_EQ(Succeeded_Status, c.status);
        EXPECT_EQ(Succeeded_User, c.staffAction ? QString(c.login) : QString());
        EXPECT_EQ(IsUserAllowed(false), c.staffAction);
        EXPECT_EQ(IsUserAllowed(true), c.adminAction);
        EXPECT_EQ(prompter.prompts(), c.staffAction ? QStringList() : QStringList{"Invalid Password, try again!"});
    }
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].title, "Error");
    EXPECT_EQ(prompter.asked()[0].style, Msg::Critical);
}

TEST_F(Verification, QuotesInTheLoginAreMatchedAsTypedAndCannotWidenTheQuery)
{
    verify("o'neil", "pw'1");
    EXPECT_TRUE(IsUserAllowed(false));
    EXPECT_EQ(Succeeded_User, "o'neil") << "the login is kept as typed and quoted only in statements";

    for (const QString& attack : {QString("x\\' OR 1=1 #"), QString("' OR '1'='1"), QString("admin'#")}) {
        SCOPED_TRACE(attack.toStdString());
        verify(attack, "anything");
        EXPECT_FALSE(Succeeded_Login);
        EXPECT_FALSE(IsUserAllowed(false));
    }
    EXPECT_TRUE(errors.empty()) << "every attempt ran as a valid statement";
}

TEST_F(Verification, ARefusalIsNotCarriedIntoTheNextShowing)
{
    verify("admin", "admin");
    ASSERT_TRUE(IsUserAllowed(true));

    bool boxesWereEmpty = false;
    WhenModalShown([&](QWidget* dialog) {
        boxesWereEmpty = Control<QLineEdit>(dialog, "txt_user")->text().isEmpty() &&
                         Control<QLineEdit>(dialog, "txt_password")->text().isEmpty();
        dialog->close();
    });
    ShowVerifyUser(nullptr);
    EXPECT_TRUE(boxesWereEmpty);
    EXPECT_FALSE(IsUserAllowed(false)) << "closing the dialog refuses, whoever was verified before";
}

TEST_F(Verification, SwitchedOffEveryActionPassesAsTheStationsStaff)
{
    PrivateDatabase::RunClient("USE posdb; INSERT INTO tbl_system SET sys_counter=1, sys_counterstaff='counter';");
    SkipVerification = 1;
    bool dialogShown = false;
    WhenModalShown([&](QWidget* dialog) {
        dialogShown = true;
        dialog->close();
    }, 0);
    ShowVerifyUser(nullptr);
    QTest::qWait(30);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(IsUserAllowed(true));
    EXPECT_TRUE(IsUserAllowed(false));
    EXPECT_EQ(Succeeded_User, "counter");

    for (int other : {0, 2}) {
        SkipVerification = other;
        verify("counter", "counter");
        EXPECT_FALSE(IsUserAllowed(true)) << "NoVerification " << other << " still asks";
    }
}

TEST_F(Verification, ADatabaseThatWentAwayShowsTheErrorWindowAndRefuses)
{
    ::ConnectionString = PrivateDatabase::ConnectionString().replace("PWD=pallowin", "PWD=wrong");
    CurrentTask = "cancelling the slot";
    verify("admin", "admin");
    EXPECT_EQ(errors, std::vector<long>{VbErrors::Database});
    EXPECT_EQ(headings, QStringList{"verifying user"});
    EXPECT_EQ(CurrentTask, "cancelling the slot") << "the action's own failures keep the action's name";
    EXPECT_FALSE(IsUserAllowed(false));
    EXPECT_TRUE(prompter.prompts().isEmpty()) << "a failed connection is no wrong password";
}

} // namespace
