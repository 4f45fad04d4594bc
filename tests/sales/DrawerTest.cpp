#include "SalesFixture.h"

#include "CartPanel.h"
#include "frm_Change.h"
#include "frm_CollectCash.h"
#include "frm_DrawerOpen.h"

#include "Db.h"
#include "Globals.h"
#include "ModalDialog.h"
#include "Settings.h"
#include "Verification.h"

#include "CommPort.h"
#include "VbError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSerialPort>
#include <QTest>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// A cash drawer on port 1: a pty pair from socat, one end linked as ttyS0 in the serial folder,
// the other read by the test as the drawer.
class Drawer : public SalesTest {
protected:
    void SetUp() override
    {
        SalesTest::SetUp();
        qputenv("PALLOWIN_SERIAL_DIR", serialDir.path().toLocal8Bit());
        socat.start("socat", {"pty,raw,echo=0,link=" + serialDir.path() + "/ttyS0",
                              "pty,raw,echo=0,link=" + serialDir.path() + "/drawer"});
        QElapsedTimer waited;
        waited.start();
        while (!(QFile::exists(serialDir.path() + "/ttyS0") && QFile::exists(serialDir.path() + "/drawer")) &&
               waited.elapsed() < 5000)
            QTest::qWait(20);
        drawer.setPortName(serialDir.path() + "/drawer");
        ASSERT_TRUE(drawer.open(QIODevice::ReadOnly)) << drawer.errorString().toStdString();
        DrawerCommPort = 1;
        DrawerCommSettings = "9600,n,8,1";
        DrawerCommand = "OPEN";
    }
    void TearDown() override
    {
        drawer.close();
        socat.terminate();
        socat.waitForFinished(3000);
        qunsetenv("PALLOWIN_SERIAL_DIR");
        SalesTest::TearDown();
    }

    // What reached the drawer within a second.
    QByteArray received()
    {
        // An event loop that ran meanwhile may have read some already.
        QByteArray bytes = drawer.readAll();
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 1000 && bytes.size() < DrawerCommand.size())
            if (drawer.waitForReadyRead(100))
                bytes += drawer.readAll();
        return bytes;
    }

    // Sells a towel paid exactly; what reached the drawer.
    QByteArray sellAMiscItem(CartPanel& cart)
    {
        CartLine misc;
        misc.text = "Towel";
        misc.unitPrice = misc.amount = Money::FromCents(500);
        misc.quantity = "1";
        cart.AddLine(misc);
        frm_Change change(cart, host);
        for (char digit : {'5', '0', '0'})
            change.Form_KeyPress(digit);
        change.btn_OK_Click();
        EXPECT_FALSE(change.btn_OK->isEnabled());
        return received();
    }

    QTemporaryDir serialDir;
    QProcess socat;
    QSerialPort drawer;
};

TEST_F(Drawer, ASaleAndNoSaleOpenTheDrawer)
{
    CartPanel cart(host);
    EXPECT_EQ(sellAMiscItem(cart), "OPEN");
    EXPECT_EQ(host.lastChange, ".00");

    auto noSale = [&] {
        QByteArray bytes;
        WhenModalShown([&](QWidget* dialog) {
            bytes = received();
            Control<QPushButton>(dialog, "Command1")->click();
        });
        cart.btn_NoSale_Click();
        return bytes;
    };
    EXPECT_EQ(noSale(), "OPEN");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(log_do ORDER BY log_do) FROM tbl_log"),
              "No Sale button pressed, drawer open,Sales made, drawer open");
    EXPECT_EQ(prompter.prompts(), QStringList());

    // The command goes as the settings file holds it: one brought from a Windows counter
    // (Windows-1252) and a UTF-8 one.
    for (const QByteArray command : {QByteArray("\x1bp0\x96\xfa"), QByteArray("\x1bp0\xe2\x80\x93\xc3\xba")}) {
        windows.writeIniBytes("[System]\r\nhour_start=8\r\nhour_end=2\r\ncashdrawercommport=1\r\n"
                              "cashdrawercomm=9600,n,8,1\r\ncashdrawercommand=" + command + "\r\n");
        const QString database = ConnectionString;
        LoadSettings();
        ConnectionString = database;
        EXPECT_EQ(noSale().toHex(' '), command.toHex(' '));
    }
}

TEST_F(Drawer, APortHeldOpenIsToldAndTheTextStillSent)
{
    auto first = std::make_unique<frm_DrawerOpen>(nullptr);
    CommPort& port = first->MSComm1;
    port.SetPort(1);
    port.SetSettings("19200,N,8,1");
    for (const char* bad : {"9600,x,8,1", "fast,n,8,1", "9600,n,8", ""}) {
        try {
            port.SetSettings(bad);
            ADD_FAILURE() << bad;
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), CommErrors::InvalidPropertyValue);
        }
    }
    EXPECT_EQ(port.Settings(), "19200,N,8,1");
    port.SetPortOpen(true);
    first->Form_Load();
    EXPECT_EQ(prompter.prompts(), QStringList{"Cannot found drawer"});
    EXPECT_EQ(received(), "OPEN");

    // A second window cannot take the port while the first holds it.
    frm_DrawerOpen second(nullptr);
    second.Form_Load();
    EXPECT_TRUE(prompter.prompts().last().contains("Error Number: 8005")) << prompter.prompts().last().toStdString();
    EXPECT_TRUE(second.Tag.isEmpty());

    // A port this user may not open is told so, not as held. Root's capabilities to pass over file
    // permissions are laid down meanwhile, on this thread only.
    first.reset();
    ASSERT_TRUE(QFile::setPermissions(serialDir.path() + "/ttyS0", {}));
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2];
    ASSERT_EQ(syscall(SYS_capget, &header, caps), 0);
    const auto held = caps[0].effective;
    caps[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ASSERT_EQ(syscall(SYS_capset, &header, caps), 0);
    frm_DrawerOpen denied(nullptr);
    denied.Form_Load();
    caps[0].effective = held;
    syscall(SYS_capset, &header, caps);
    EXPECT_TRUE(prompter.prompts().last().contains("Error Number: 70\nError Source: MSComm\nError Description: "
                                                   "Permission denied: the user "))
        << prompter.prompts().last().toStdString();
}

TEST_F(Drawer, AMissingPortShowsTheErrorWindowAndTheSaleStaysRecorded)
{
    DrawerCommPort = 5;
    CartPanel cart(host);
    EXPECT_EQ(sellAMiscItem(cart), "");
    ASSERT_EQ(prompter.prompts().size(), 1);
    EXPECT_TRUE(prompter.prompts()[0].startsWith("Error while opening cash drawer"));
    EXPECT_TRUE(prompter.prompts()[0].contains("Error Number: 8002"));
    EXPECT_EQ(count("tbl_counter1"), 1);
    EXPECT_EQ(host.lastChange, ".00");
}

TEST_F(Drawer, CollectingCashLogsTheAmountItsCashierConfirmed)
{
    Succeeded_User = "admin";
    frm_CollectCash& collect = frm_CollectCash::ShowModeless();
    EXPECT_EQ(received(), "OPEN");
    EXPECT_EQ(&frm_CollectCash::ShowModeless(), &collect) << "a second click only brings it forward";
    collect.txt_CashRegister->setText("1,000.50");
    collect.btn_OK_Click();
    EXPECT_EQ(prompter.prompts(), QStringList{"Please key in the cash as an amount, for example 1250.50"});
    collect.txt_CashRegister->setText("1000.50");
    prompter.Answer(Msg::Cancel);
    collect.btn_OK_Click();
    EXPECT_EQ(count("tbl_log"), 0);
    collect.txt_CashRegister->setText("12.50");
    prompter.Answer(Msg::OK);
    prompter.Answer(Msg::OK);
    collect.btn_OK_Click();
    QTest::qWait(10);
    EXPECT_EQ(scalar("SELECT CONCAT(log_staffname, ': ', log_do) FROM tbl_log"), "admin: Cash Collected 12.5");
    EXPECT_EQ(frm_CollectCash::Current(), nullptr);
}

}
