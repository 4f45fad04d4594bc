#include "StartupFixture.h"

#include "frm_HandOver.h"

#include "Db.h"
#include "Main.h"
#include "ModalDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class HandOverTest : public StartupTest {};

TEST_F(HandOverTest, AHandOverLogsTheRequestAndTheAmountAndStartsAgainAtAFreshLoginWindow)
{
    // The station's drawer port is a device that is not there.
    qputenv("PALLOWIN_SERIAL_DIR", windows.path().toLocal8Bit());
    windows.writeIni(stationSettings());
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

    int stopped = 0;
    QString keptAmount;
    prompter.Answer(Msg::Cancel);
    prompter.Answer(Msg::OK);
    prompter.Answer(Msg::OK);
    WhenModalShown([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "HandOver the Cash Machine");
        auto* amount = Control<QLineEdit>(dialog, "txt_CashRegister");
        amount->setText("abc");
        if (qEnvironmentVariableIsSet("PALLOWIN_SHOT"))
            dialog->grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/hand-over.png");
        Control<QPushButton>(dialog, "btn_OK")->click();
        keptAmount = dialog->isVisible() ? amount->text() : QString();
        Control<QPushButton>(dialog, "btn_OK")->click();
    });
    HandOver({&frm_Main::Default(), [&] { ++stopped; }, [] { frm_Main::Unload(); }, [] { Main(); }});
    EXPECT_EQ(keptAmount, "abc") << "Cancel in the question keeps the window and its amount";
    EXPECT_TRUE(frm_Main::IsLoaded()) << "the main window stays until the handler has returned";
    QCoreApplication::processEvents();

    EXPECT_EQ(stopped, 1);
    EXPECT_FALSE(frm_Main::IsLoaded());
    ASSERT_TRUE(frm_Login::IsLoaded());
    frm_Login& again = frm_Login::Default();
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(Control<QLineEdit>(&again, "txtLogin")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(&again, "txtPassword")->text(), "");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT(log_staffname, ': ', log_do) SEPARATOR '|') FROM tbl_log"),
              "admin: HandOver requested by admin, drawer open|admin: Handover at 0, will change user now");
    EXPECT_EQ(prompter.prompts(), QStringList({"Are you sure that the values is correct?",
                                               "Are you sure that the values is correct?",
                                               "Please close the cash register now!"}));
    // No drawer on the port: told, and the window opened all the same.
    EXPECT_EQ(failures, QStringList{"opening cash drawer"});
    qunsetenv("PALLOWIN_SERIAL_DIR");
}

}
