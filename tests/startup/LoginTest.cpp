#include "Clock.h"
#include "Db.h"
#include "ModalDialog.h"
#include "StartupFixture.h"
#include "Verification.h"
#include "frm_AdminPass.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Login : public StartupTest {
protected:
    void SetUp() override
    {
        StartupTest::SetUp();
        windows.writeIni(stationSettings());
        PrivateDatabase::RunClient("USE posdb; INSERT INTO tbl_system SET sys_counter=1; "
                                   "INSERT INTO tbl_system SET sys_counter=2, sys_counterstaff='counter';");
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(21, 4, 5)));
    }
    void TearDown() override
    {
        ResetNow();
        StartupTest::TearDown();
    }

    frm_Login& typeIn(const QString& login, const QString& password)
    {
        frm_Login& window = frm_Login::Default();
        window.show();
        Control<QLineEdit>(&window, "txtLogin")->setText(login);
        Control<QLineEdit>(&window, "txtPassword")->setText(password);
        return window;
    }

    // Everything the login may write, row by row.
    static QStringList written()
    {
        QStringList rows;
        for (const QString query : {"SELECT * FROM tbl_system ORDER BY sys_counter", "SELECT * FROM tbl_log",
                                    "SELECT st_login, st_lastlogin FROM tbl_staff ORDER BY st_login"}) {
            for (Recordset rs = Db::Query(query); !rs.EOF_(); rs.MoveNext()) {
                QStringList values;
                for (int i = 0; i < rs.FieldCount(); ++i)
                    values << rs.Fields(i).Value();
                rows << values.join("|");
            }
        }
        return rows;
    }
};

// Keeps every text the status line was painted with, in order.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* line) : m_line(line) { line->installEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != m_line->text()))
            texts << m_line->text();
        return false;
    }

private:
    QLabel* m_line;
};

TEST_F(Login, TheStatusLineIsPaintedWithEachStepAsItStarts)
{
    frm_Login& window = typeIn("admin", "admin");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    PaintedTexts painted(Control<QLabel>(&window, "lbl_Task"));
    Control<QPushButton>(&window, "btn_Go")->click();
    EXPECT_EQ(painted.texts.mid(0, 3),
              (QStringList{"Connecting to database server...", "Query database server...", "Logging in..."}));
}

TEST_F(Login, SignsTheFilteredLoginInAtThisStationAndOpensTheMainWindow)
{
    CounterNumber = 1;
    frm_Login& window = typeIn("ad min'-", "a-d!m in");
    EXPECT_EQ(Control<QLabel>(&window, "lbl_Version")->text(),
              "Rurava Vuvade Davevod ero Daviduduza Riveri Version " PALLOWIN_VERSION);
    Control<QPushButton>(&window, "btn_Go")->click();

    EXPECT_EQ(written(), (QStringList{"1|1|0|admin", "2|1|0|counter", "1|admin|2026-12-08 21:04:05|logging in",
                                      "admin|2026-12-08 21:04:05", "counter|"}));
    EXPECT_EQ(StaffLogin, "admin");
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_FALSE(frm_Login::IsLoaded());
    ASSERT_TRUE(frm_Main::IsLoaded());
    EXPECT_TRUE(frm_Main::Default().isVisible());
}

TEST_F(Login, AWrongPasswordWritesNothingAndLeavesTheWindowForAnotherTry)
{
    const QStringList before = written();
    frm_Login& window = typeIn("admin", "ad'min!x");
    Control<QPushButton>(&window, "btn_Go")->click();

    EXPECT_EQ(written(), before);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt, "Login/Password not correct");
    EXPECT_EQ(prompter.asked()[0].style, Msg::Critical);
    EXPECT_EQ(prompter.asked()[0].title, AppTitle);
    EXPECT_EQ(Control<QLineEdit>(&window, "txtPassword")->text(), "adminx");
    EXPECT_EQ(Control<QLabel>(&window, "lbl_Task")->text(), "Query database server...");
    EXPECT_TRUE(frm_Login::IsLoaded());
    EXPECT_FALSE(frm_Main::IsLoaded());
}

TEST_F(Login, LoginAndPasswordMatchOnlyAsStoredLetterForLetter)
{
    const QStringList before = written();
    for (const auto& [login, password] : {std::pair{"ADMIN", "admin"}, std::pair{"admin", "ADMIN"}}) {
        frm_Login& window = typeIn(login, password);
        Control<QPushButton>(&window, "btn_Go")->click();
    }
    EXPECT_EQ(prompter.prompts(), QStringList(2, "Login/Password not correct"));
    EXPECT_EQ(written(), before);
    EXPECT_FALSE(frm_Main::IsLoaded());
}

TEST_F(Login, EveryLoginAndPasswordBoxStopsAtItsColumnsWidth)
{
    const QString typed(80, 'a');
    QStringList checked;
    auto expectCut = [&](QWidget* window, const char* login, const char* password) {
        checked << window->objectName();
        for (const char* name : {login, password}) {
            auto* box = Control<QLineEdit>(window, name);
            QTest::keyClicks(box, typed);
            EXPECT_EQ(box->text(), typed.left(64)) << window->objectName().toStdString() << " " << name;
        }
    };
    SkipVerification = 0;
    expectCut(&frm_Login::Default(), "txtLogin", "txtPassword");
    WhenModalShown([&](QWidget* dialog) {
        expectCut(dialog, "txt_user", "txt_password");
        Control<QPushButton>(dialog, "btn_Go")->click();
    });
    ShowVerifyUser(nullptr);
    WhenModalShown([&](QWidget* dialog) {
        expectCut(dialog, "txtLogin", "txtPassword");
        Control<QPushButton>(dialog, "btn_Go")->click();
    });
    frm_AdminPass::GetAdminPass(nullptr);
    EXPECT_EQ(checked, (QStringList{"frm_Login", "frm_VerifyUser", "frm_AdminPass"}));
}

TEST_F(Login, ALostDatabaseShowsTheErrorWindowAndKeepsTheLoginWindow)
{
    ::ConnectionString.replace("PWD=pallowin", "PWD=wrong");
    frm_Login& window = typeIn("admin", "admin");
    Control<QPushButton>(&window, "btn_Go")->click();
    EXPECT_EQ(numbers, std::vector<long>{VbErrors::Database});
    EXPECT_EQ(failures, QStringList{"logging in"}) << "not the loading of the window before";
    EXPECT_EQ(Control<QLabel>(&window, "lbl_Task")->text(), "Connecting to database server...");
    EXPECT_TRUE(frm_Login::IsLoaded());
    EXPECT_FALSE(frm_Main::IsLoaded());
}

TEST_F(Login, AMissingPictureIsShownAndTheWindowStillOpens)
{
    FrontPictureFile = "no-such-picture";
    frm_Login::Default().show();
    EXPECT_EQ(numbers, std::vector<long>{VbErrors::FileNotFound});
    EXPECT_TRUE(frm_Login::Default().isVisible());
}

TEST_F(Login, OnlyAnAdministratorPassesTheAdministratorDialog)
{
    auto attempt = [](const QString& login, const QString& password) {
        WhenModalShown([login, password](QWidget* dialog) {
            Control<QLineEdit>(dialog, "txtLogin")->setText(login);
            Control<QLineEdit>(dialog, "txtPassword")->setText(password);
            Control<QPushButton>(dialog, "btn_Go")->click();
        });
        return frm_AdminPass::GetAdminPass(nullptr);
    };
    EXPECT_TRUE(attempt("ad'min", "admin"));
    EXPECT_FALSE(attempt("counter", "counter"));
    EXPECT_FALSE(attempt("ADMIN", "admin"));
    EXPECT_FALSE(attempt("admin", "Admin"));
    EXPECT_EQ(prompter.prompts(), QStringList(3, "Login/Password not correct"));
}

} // namespace
