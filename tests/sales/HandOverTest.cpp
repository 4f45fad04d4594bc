#include "StartupFixture.h"

#include "frm_HandOver.h"

#include "Clock.h"
#include "DatabaseProxy.h"
#include "Db.h"
#include "Main.h"
#include "ModalDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class HandOverTest : public StartupTest {};

// The database stops while the amount is logged and again while the station starts over: the window
// stays open for another OK, the amount is logged once, and the start-up tries again instead of ending.
TEST_F(HandOverTest, AHandOverLogsTheRequestAndTheAmountAndStartsAgainAtAFreshLoginWindow)
{
    // The station's drawer port is a device that is not there; its server is reached through a link
    // that can be cut.
    qputenv("PALLOWIN_SERIAL_DIR", windows.path().toLocal8Bit());
    DatabaseProxy proxy;
    windows.writeIni(stationSettings().replace("database_port=" + qEnvironmentVariable("PALLOWIN_DB_PORT", "3417"),
                                               "database_port=" + QString::number(proxy.Port())));
    Main();
    frm_Login& login = frm_Login::Default();
    Control<QLineEdit>(&login, "txtLogin")->setText("admin");
    Control<QLineEdit>(&login, "txtPassword")->setText("admin");
    Control<QPushButton>(&login, "btn_Go")->click();
    ASSERT_TRUE(frm_Main::IsLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(frm_Login::IsLoaded());
    SkipVerification = 1;
    Db::Execute("DELETE FROM tbl_log");
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(18, 30)));
    QList<bool> lossEnds;
    SetErrorDisplayHandler([&](const VbError&) {
        failures << CurrentTask;
        lossEnds << DatabaseLossEndsProgram();
        // The server answers again by the second Close of the restart's check.
        if (failures.count("checking database") == 2)
            proxy.SetRefusing(false);
    });

    int stopped = 0;
    QString keptAmount;
    bool openAfterFailure = false;
    for (const auto answer : {Msg::OK, Msg::Cancel, Msg::OK, Msg::OK, Msg::OK, Msg::OK})
        prompter.Answer(answer);
    WhenModalShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "HandOver the Cash Machine");
        auto* amount = Control<QLineEdit>(dialog, "txt_CashRegister");
        amount->setText("1,000.50");
        if (qEnvironmentVariableIsSet("PALLOWIN_SHOT"))
            dialog->grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/hand-over.png");
        Control<QPushButton>(dialog, "btn_OK")->click();
        amount->setText("1000.50");
        Control<QPushButton>(dialog, "btn_OK")->click();
        keptAmount = dialog->isVisible() ? amount->text() : QString();
        proxy.SetRefusing(true);
        Control<QPushButton>(dialog, "btn_OK")->click();
        openAfterFailure = dialog->isVisible();
        // That write reached the database after all, its reply lost on the way back.
        proxy.SetRefusing(false);
        Db::Execute("INSERT INTO tbl_log SET log_counter=1, log_staffname='admin', "
                    "log_datetime='2026-12-08 18:30:00', log_do='Handover at 1000.5, will change user now'");
        Control<QPushButton>(dialog, "btn_OK")->click();
    });
    HandOver({&frm_Main::Default(), [&] { ++stopped; }, [] { frm_Main::Unload(); }, [] { frm_Main::StartOver(); }});
    EXPECT_EQ(keptAmount, "1000.50") << "Cancel in the question keeps the window and its amount";
    EXPECT_TRUE(openAfterFailure) << "an amount that could not be logged leaves the window open";
    EXPECT_TRUE(frm_Main::IsLoaded()) << "the main window stays until the handler has returned";
    proxy.SetRefusing(true);
    QCoreApplication::processEvents();

    EXPECT_EQ(stopped, 1);
    EXPECT_FALSE(frm_Main::IsLoaded());
    EXPECT_FALSE(ProgramEnding());
    ASSERT_TRUE(frm_Login::IsLoaded());
    frm_Login& again = frm_Login::Default();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(Control<QLineEdit>(&again, "txtLogin")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(&again, "txtPassword")->text(), "");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT(log_staffname, ': ', log_do) SEPARATOR '|') FROM tbl_log"),
              "admin: HandOver requested by admin, drawer open|admin: Handover at 1000.5, will change user now");
    EXPECT_EQ(prompter.prompts(),
              QStringList({"Please key in the cash as an amount, for example 1250.50",
                           "Are you sure that the values is correct?", "Are you sure that the values is correct?",
                           "Please close the cash register now!", "Are you sure that the values is correct?",
                           "Please close the cash register now!"}));
    // No drawer on the port: told, and the window opened all the same.
    EXPECT_EQ(failures, QStringList({"opening cash drawer", "handing over", "checking database", "checking database"}));
    EXPECT_EQ(lossEnds, QList<bool>({false, false, false, false}));
    ResetNow();
    qunsetenv("PALLOWIN_SERIAL_DIR");
}

}
