// A station as a program of its own, so that a test can stop it (SIGSTOP) in the middle of a change:
//   stopped_station <connection string> book <date> <time>
//     books court 0, the big pitch that holds courts 1 and 2, at time of date, as the booker dialog does;
//   stopped_station <connection string> sell <item> <quantity>
//     sells the shop item as station 2 in the payment window, and presses OK again while the window
//     waits for it, as the cashier would (at most five times, a second apart).
// Prints every message and error window it shows, one a line, and ends with 0 once the booking or
// the sale is done, 1 when it is not.

#include "SalesFixture.h"

#include "Booking.h"

#include "CartPanel.h"
#include "frm_Change.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"
#include "SqlQuote.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <fcntl.h>
#include <stdlib.h>

namespace {

class PrintingPrompter : public Prompter {
public:
    int MsgBox(const QString& prompt, int, const QString&) override
    {
        QTextStream(stdout) << QString(prompt).replace('\n', ' ') << Qt::endl;
        return Msg::OK;
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
};

int book(const QString& date, const QString& time)
{
    TestGrid grid(date, 0);
    const std::vector<bool> booked =
        BookSlots(grid, date, {time}, {"555-0999", "", "Stopped Booker", "", 0}, "0", false, 0, 60);
    return booked.front() ? 0 : 1;
}

int sell(const QString& item, int quantity)
{
    CounterNumber = 2;
    StaffLogin = "station2";
    // The cash drawer on port 1: a pty of the station's own.
    QTemporaryDir serial;
    const int drawer = posix_openpt(O_RDWR | O_NOCTTY);
    if (drawer < 0 || grantpt(drawer) != 0 || unlockpt(drawer) != 0 ||
        !QFile::link(ptsname(drawer), serial.filePath("ttyS0")))
        return 2;
    qputenv("PALLOWIN_SERIAL_DIR", serial.path().toLocal8Bit());
    DrawerCommPort = 1;

    Recordset rs = Db::Query("SELECT i_type, i_price FROM tbl_item WHERE i_name='" + SqlQuote(item) + "'");
    CartLine line;
    line.kind = CartLine::Kind::ShopItem;
    line.text = item;
    line.tag = rs["i_type"].Value();
    line.unitPrice = Money::Parse(rs["i_price"].Value());
    line.quantity = QString::number(quantity);
    line.amount = Money::FromCents(line.unitPrice.Cents() * quantity);
    TestGrid grid(QDate::currentDate().toString(Qt::ISODate), 3);
    TestHost host(grid);
    CartPanel cart(host);
    cart.AddLine(line);
    frm_Change change(cart, host);
    for (const char digit : QByteArray("10000"))
        change.Form_KeyPress(digit);
    change.btn_OK_Click();
    for (int press = 1; press < 5 && change.btn_OK->isEnabled(); ++press) {
        QThread::sleep(1);
        change.btn_OK_Click();
    }
    return change.btn_OK->isEnabled() ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    ConnectionString = args[1];
    PrintingPrompter prompter;
    SetPrompter(&prompter);
    SetErrorDisplayHandler([](const VbError& e) {
        QTextStream(stdout) << "error window: " << ErrorHeading(e) << " " << e.description() << Qt::endl;
    });
    try {
        UseTestCentre();
        return args[2] == "book" ? book(args[3], args[4]) : sell(args[3], args[4].toInt());
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return 1;
    }
}
