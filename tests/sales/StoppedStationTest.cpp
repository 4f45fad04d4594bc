#include "SalesFixture.h"

#include "Booking.h"
#include "Sale.h"

#include "Clock.h"
#include "DatabaseSetup.h"
#include "DatabaseProxy.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

namespace {

// A station program behind a link of its own that holds back the statement named: the station is
// stopped (SIGSTOP) once it has sent it, as a PC that froze there, and goes on when told or when the
// test ends.
class StoppedStation {
public:
    StoppedStation(const QString& heldStatement, const QStringList& arguments)
    {
        link.HoldNext(heldStatement);
        process.start(STOPPED_STATION, QStringList{link.ConnectionString()} + arguments);
    }
    // Stops the station once its held statement has come.
    bool Stop()
    {
        const QDeadlineTimer deadline(15000);
        while (!link.Holding() && !deadline.hasExpired() && !process.waitForFinished(10))
            ;
        stopped = link.Holding() && ::kill(static_cast<pid_t>(process.processId()), SIGSTOP) == 0;
        return stopped;
    }
    ~StoppedStation()
    {
        GoOn();
        process.waitForFinished(30000);
    }
    void GoOn()
    {
        if (stopped)
            ::kill(static_cast<pid_t>(process.processId()), SIGCONT);
        stopped = false;
    }
    std::string Output() { return (process.readAllStandardOutput() + process.readAllStandardError()).toStdString(); }

    DatabaseProxy link;
    QProcess process;
    bool stopped = false;
};

using StoppedStations = SalesTest;

// One station stops between its booking's rows and their audit rows, another once its sale's COMMIT
// is on a link that never delivers it. The server ends both transactions within seconds, so the
// station at the counter books the shared courts and sells meanwhile; once the stopped stations go
// on, the booking is whole or absent and the sale is recorded once.
TEST_F(StoppedStations, WhatAStoppedStationHoldsIsFreedWithinSecondsAndNothingIsHalfWritten)
{
    ASSERT_TRUE(InitDatabase(2));
    const QDate date = std::max(Now().date(), QDate::currentDate()).addDays(7);
    const QString day = date.toString(Qt::ISODate), weekLater = date.addDays(7).toString(Qt::ISODate);
    StoppedStation booking("INSERT INTO tbl_remark", {"book", day, "19:00"});
    StoppedStation sale("COMMIT", {"sell", "Mineral Water", "2"});
    ASSERT_TRUE(booking.Stop()) << booking.Output();
    QElapsedTimer sinceStop;
    sinceStop.start();
    ASSERT_TRUE(sale.Stop()) << sale.Output();

    // The courts on another date and another item wait for nothing stopped; the court's own date and
    // the same item wait until the server has ended the stopped transactions.
    std::vector<qint64> through;
    const auto book = [&](const QString& on, const QString& time) {
        TestGrid grid(on, 0);
        const bool booked =
            BookSlots(grid, on, {time}, {"555-0100", "", "Counter Booker", "", 0}, "0", false, 0, 60).front();
        through.push_back(sinceStop.elapsed());
        return booked;
    };
    const auto sell = [&](const QString& item, const QString& type, int cents) {
        const int32_t transaction = RecordSale({shopLine(item, type, cents, 1)}, "counter");
        through.push_back(sinceStop.elapsed());
        return transaction;
    };
    EXPECT_TRUE(book(weekLater, "19:00"));
    EXPECT_EQ(sell("Energy Bar", "Food", 220), 1);
    EXPECT_EQ(count("information_schema.INNODB_TRX"), 2) << "both stopped transactions are still there";
    EXPECT_TRUE(book(day, "21:00"));
    EXPECT_EQ(sell("Mineral Water", "Drink", 150), 2);
    EXPECT_LT(through.back(), 30000);
    QStringList measured;
    for (const qint64 ms : through)
        measured << QString::number(ms);
    RecordProperty("ms_after_stop", measured.join(' ').toStdString());
    EXPECT_TRUE(prompter.prompts().isEmpty()) << prompter.prompts().join("\n").toStdString();

    booking.GoOn();
    sale.GoOn();
    ASSERT_TRUE(booking.process.waitForFinished(30000));
    ASSERT_TRUE(sale.process.waitForFinished(30000));
    const std::string told = booking.Output() + sale.Output();
    const long long rows = count("tbl_booking WHERE b_datetime='" + day + " 19:00:00'");
    const long long audit = count("tbl_remark WHERE m_datetime='" + day + " 19:00:00'");
    EXPECT_TRUE(rows == audit && (rows == 0 || rows == 3)) << rows << " rows, " << audit << " audit rows\n" << told;
    EXPECT_EQ(told.find("It was not written: nothing was changed.") != std::string::npos, rows == 0) << told;
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(c_transaction, ' ', c_item, ' ', c_itemquantity) FROM tbl_counter2"),
              "1 Mineral Water 2.00")
        << told;
    EXPECT_EQ(sale.process.exitCode(), 0) << told;
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(i_currentstock ORDER BY i_name) FROM tbl_item WHERE i_name IN ('Energy Bar', "
                     "'Mineral Water')"),
              "59.00,117.00");
}

} // namespace
