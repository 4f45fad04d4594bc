#include "SalesFixture.h"

#include "Booking.h"
#include "Cart.h"
#include "Invoice.h"
#include "RateClass.h"
#include "Sale.h"
#include "SlotAudit.h"
#include "SlotPayment.h"
#include "ShiftClose.h"
#include "frm_PrintReceipt.h"
#include "frm_ShiftEnd.h"

#include "Clock.h"
#include "Db.h"
#include "EndProgram.h"
#include "Globals.h"
#include "Verification.h"

#include "CountingPrompter.h"
#include "ModalDialog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <atomic>
#include <barrier>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

class CounterDay : public SalesTest {
protected:
    void SetUp() override
    {
        SalesTest::SetUp();
        Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_doclose=0 ON DUPLICATE KEY UPDATE sys_doclose=0");
    }

    static QString lastRemark()
    {
        return scalar("SELECT CONCAT_WS('|', m_datetime, m_remark, m_job, m_field, m_staff, m_actiontime) "
                      "FROM tbl_remark ORDER BY m_id DESC LIMIT 1");
    }
    static QString logTexts() { return scalar("SELECT GROUP_CONCAT(log_do SEPARATOR '|') FROM tbl_log"); }
    static QString shiftRow()
    {
        return scalar("SELECT CONCAT_WS('|', sh_sales, sh_totalmoney, sh_float, sh_datetime, sh_first_transaction, "
                      "sh_lastdatetime, sh_shift, sh_staff) FROM tbl_shift1 ORDER BY sh_datetime DESC LIMIT 1");
    }
    static void sale(const QString& when)
    {
        Db::Execute("INSERT INTO tbl_counter1 SET c_datetime='" + when + "', c_item='Energy Bar', c_itemtotal=2.2");
    }
};

TEST_F(CounterDay, EachRateClassIsWrittenWithItsAuditRowAndTheClipboardIsLeftAlone)
{
    windows.writeIni("[SpecialGroup]\r\n 1=Schools\r\n 2=St Mary's\r\n");
    book("14:00", "b_bookername='Ann', b_bookertel='555'");
    grid.RefreshView();
    grid.Select({"14:00"});
    // The audit row names the booker's telephone as the grid shows it.
    Db::Execute("UPDATE tbl_booking SET b_bookertel='556'");
    SlotDate = "2026-11-30";
    SlotTime = "09:00";
    SlotCourt = 5;
    IsUserAllowed(true);
    const QString key = "2026-12-08 14:00:00|";
    const QString rest = "|change rate|3|counter|8 Dec 02:05:09 PM";
    for (const auto& [rateClass, word] : {std::pair{MemberClass, QString("member")}, {NormalClass, "normal"},
                                          {StudentClass, "student"}, {SpecialGroupClass(2), "St Mary's"}}) {
        SetSlotRateClass(grid, rateClass);
        EXPECT_EQ(scalar("SELECT b_specialrate FROM tbl_booking"), rateClass);
        EXPECT_EQ(lastRemark(), key + " set " + word + " rate for Ann 555" + rest);
    }
    EXPECT_EQ(count("tbl_remark"), 4);
    EXPECT_EQ(SlotDate + SlotTime + QString::number(SlotCourt), "2026-11-3009:005");
    EXPECT_EQ(prompter.unexpected(), 0);
}

TEST_F(CounterDay, ARateClassIsRefusedForAnEmptyExtraTimeOrMeanwhilePaidSlotWithNothingWritten)
{
    book("14:00", "b_bookername='Ann', b_playlength=90");
    book("16:00", "b_bookername='Bo'");
    grid.RefreshView();
    grid.Select({"16:00"});
    Db::Execute("UPDATE tbl_booking SET b_paid=40 WHERE b_bookername='Bo'");
    SetSlotRateClass(grid, MemberClass);
    grid.Select({"17:00"});
    SetSlotRateClass(grid, MemberClass);
    // The hour after 14:00 carries only its extra time: no booking of its own to change.
    EXPECT_FALSE(SetMembershipStatus("2026-12-08", "15:00", 3, "", "", StudentClass, 3, "x"));
    // Booked again at another station since the grid showed Bo.
    Db::Execute("UPDATE tbl_booking SET b_bookername='Cy', b_paid=0 WHERE b_bookername='Bo'");
    grid.Select({"16:00"});
    SetSlotRateClass(grid, MemberClass);
    EXPECT_EQ(prompter.prompts(),
              QStringList({"The slot already paid", "You cannot set empty slot", "You cannot set empty slot",
                           "The slot was changed at another station since it was shown: it now holds Cy. Please "
                           "look at it again."}));
    EXPECT_EQ(count("tbl_remark"), 0);
    EXPECT_EQ(count("tbl_booking WHERE b_specialrate<>''"), 0);
}

TEST_F(CounterDay, AnInvoiceNumbersEverySelectedSlotOnceLogsItAndPrintsTitledInvoice)
{
    PdfPrinter printer;
    book("14:00", "b_bookername='Riverside FC'");
    book("15:00", "b_bookername='Riverside FC', b_invoice=4");
    book("16:00", "b_bookername='Riverside FC'");
    book("10:00", "b_bookername='Other', b_invoice=9", 5);
    grid.RefreshView();
    grid.Select({"14:00", "15:00", "16:00"});
    EXPECT_EQ(GetMaxInvoiceNumber(), 9);
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 10);
    EXPECT_EQ(count("tbl_booking WHERE b_invoice=10"), 3);
    EXPECT_EQ(logTexts(), "Invoice Printed 10");
    EXPECT_EQ(frm_PrintReceipt::Default().Label2, "OFFICIAL RECEIPT");
    const QString text = PdfText(printer.Path(1)).replace(QRegularExpression("\\s+"), " ");
    for (const char* expected : {"INVOICE", "NO A 0010", "$ 120.00", "Court 4 08/12/2026 15:00 40.00 1 40.00"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("OFFICIAL RECEIPT"));
    EXPECT_EQ(prompter.unexpected(), 0);

    // A printer that fails once the slots are numbered: the cashier is told the number given.
    printer.unwritable = true;
    grid.Select({"16:00"});
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 11);
    EXPECT_EQ(prompter.prompts().last(), "Invoice 11 was given to the slots, but it could not be printed: the printer "
                                         "cannot be written to. Print Invoice again gives them a new number.");
    EXPECT_EQ(logTexts(), "Invoice Printed 10|Invoice Printed 11");

    // The slots of the last two numbers are cancelled: their numbers are not given again.
    Db::Execute("DELETE FROM tbl_booking WHERE b_invoice IN (9, 10, 11)");
    book("17:00", "b_bookername='Riverside FC'");
    grid.RefreshView();
    grid.Select({"17:00"});
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 12);
}

TEST_F(CounterDay, AnInvoiceRefusedForAnySelectedRowOrCancelledNumbersAndLogsNothing)
{
    PdfPrinter printer;
    book("14:00", "b_bookername='Riverside FC'");
    book("15:00", "b_bookername='Riverside FC', b_paid=40");
    book("16:00", "b_bookername='Riverside FC'");
    book("14:00", "b_bookername='Shared Booking'", 1);
    grid.RefreshView();
    grid.Select({"14:00", "15:00"});
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    grid.Select({"14:00", "17:00"});
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    // Paid on another station after the grid was drawn.
    grid.Select({"14:00", "16:00"});
    Db::Execute("UPDATE tbl_booking SET b_paid=40 WHERE b_datetime LIKE '%16:00%'");
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    EXPECT_EQ(UpdateBookingWithInvoice("2026-12-08", 1, {"14:00"}, {SharedBookingMark}), 0);
    grid.Select({"14:00"});
    printer.cancel = true;
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    printer.cancel = false;
    // Booked again at another station since the grid showed Riverside FC.
    Db::Execute("UPDATE tbl_booking SET b_bookername='Carl' WHERE b_datetime LIKE '%14:00%' AND b_field=3");
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    Db::Execute("UPDATE tbl_booking SET b_bookername='Riverside FC' WHERE b_bookername='Carl'");
    Db::Execute("UPDATE tbl_booking SET b_invoice=32767 WHERE b_datetime LIKE '%15:00%'");
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    EXPECT_EQ(prompter.prompts(),
              QStringList({"The slot already paid", "You cannot print invoice for empty slot",
                           "16:00: The slot already paid", "14:00: Please print via master slots",
                           "14:00: The slot was changed at another station since it was shown: it now holds Carl. "
                           "Please look at it again.",
                           "Invoice number 32767 has been reached; no further invoice can be numbered."}));
    EXPECT_EQ(count("tbl_booking WHERE b_invoice NOT IN (0, 32767)"), 0);
    EXPECT_EQ(count("tbl_log"), 0);
    for (int n = 1; n <= printer.printed; ++n)
        EXPECT_FALSE(QFile::exists(printer.Path(n))) << "an invoice numbered nothing prints nothing";
}

// A cashier reads an invoice's rate message for a long while. The slots are numbered only once
// every message has been read, so meanwhile another station sells a court hour and cancels
// another as quickly as ever.
TEST_F(CounterDay, AnInvoiceLeftOpenOnAMessageHoldsUpNoOtherStation)
{
    PdfPrinter printer;
    book("14:00", "b_bookername='Riverside FC', b_specialrate='member'");
    book("15:00", "b_bookername='Ann'", 4);
    book("16:00", "b_bookername='Bo'", 5);
    TestGrid sold("2026-12-08", 4), cancelled("2026-12-08", 5);
    sold.RefreshView();
    cancelled.RefreshView();
    sold.Select({"15:00"});
    Cart cart;
    ASSERT_EQ(PaySelectedSlots(sold, "Court 5", cart), 1);
    grid.RefreshView();
    grid.Select({"14:00"});

    struct OtherStationMeanwhile : CountingPrompter {
        std::function<void()> meanwhile;
        int MsgBox(const QString& prompt, int style, const QString& title) override
        {
            if (prompt == "The customer got member rate" && meanwhile)
                std::exchange(meanwhile, nullptr)();
            return CountingPrompter::MsgBox(prompt, style, title);
        }
    } cashier;
    qint64 saleMs = -1, cancelMs = -1;
    bool cancelDone = false;
    cashier.meanwhile = [&] {
        auto other = std::async(std::launch::async, [&] {
            QElapsedTimer t;
            t.start();
            RecordSale(cart.Lines(), "other");
            saleMs = t.restart();
            cancelDone = CancelSlots(cancelled, "2026-12-08", {"16:00"}, {"Bo"}, "5", "rain").front();
            cancelMs = t.elapsed();
        });
        // The message stays open until the other station is done, and at most 15 seconds.
        ASSERT_EQ(other.wait_for(std::chrono::seconds(15)), std::future_status::ready);
        other.get();
    };
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 1);
    EXPECT_TRUE(cancelDone) << cashier.prompts.join('\n').toStdString();
    EXPECT_LT(saleMs, 2000);
    EXPECT_LT(cancelMs, 2000);
    EXPECT_EQ(scalar("SELECT b_paid FROM tbl_booking WHERE b_field=4"), "40.00");
    EXPECT_EQ(count("tbl_booking WHERE b_field=5"), 0);
    EXPECT_EQ(count("tbl_booking WHERE b_invoice=1"), 1);
}

TEST_F(CounterDay, TwoStationsInvoicingAtOnceNeverShareANumber)
{
    constexpr int Hours = 8;
    for (int h = 0; h < Hours; ++h) {
        book(QString("%1:00").arg(10 + h), "b_bookername='A'", 3);
        book(QString("%1:00").arg(10 + h), "b_bookername='B'", 4);
    }
    CountingPrompter quiet;
    std::barrier start(2);
    auto station = [&](int court, std::vector<int>& numbers) {
        start.arrive_and_wait();
        for (int h = 0; h < Hours; ++h)
            numbers.push_back(UpdateBookingWithInvoice("2026-12-08", court, {QString("%1:00").arg(10 + h)},
                                                       {court == 3 ? "A" : "B"}));
    };
    std::vector<int> a, b;
    std::thread first(station, 3, std::ref(a)), second(station, 4, std::ref(b));
    first.join();
    second.join();
    EXPECT_TRUE(quiet.prompts.isEmpty()) << quiet.prompts.join("\n").toStdString();
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT b_invoice) FROM tbl_booking"), QString::number(2 * Hours));
    EXPECT_EQ(GetMaxInvoiceNumber(), 2 * Hours);
    EXPECT_EQ(count("tbl_log WHERE log_do LIKE 'Invoice Printed %'"), 2 * Hours);
}

TEST_F(CounterDay, ShiftsCloseFromThePreviousClosingWithTheFirstSaleAndTheStock)
{
    Db::Execute("DELETE FROM tbl_item WHERE i_id > 2");
    Db::Execute("UPDATE tbl_item SET i_name='Kid''s Cap', i_currentstock=7.5 WHERE i_id=2");
    StaffLogin = "o'neil";
    ShiftName = "morning";
    // The first closing of a station that never sold anything.
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(7, 0, 0)));
    RecordShift({Money::FromCents(20000), Money::FromCents(20000)});
    EXPECT_EQ(shiftRow(), "0.00|200.00|200.00|2026-12-08 07:00:00|2026-12-08 07:00:00||morning|o'neil");
    EXPECT_EQ(scalar("SELECT sh_stocklog FROM tbl_shift1"), "Mineral Water=120|Kid's Cap=7.5|");

    // A sale in the very second of that closing is the first of the next shift.
    sale("2026-12-08 07:00:00");
    sale("2026-12-08 09:30:00");
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 0, 0)));
    const ShiftEntry entry = ReadShiftAmounts("500.5", "100");
    ASSERT_TRUE(entry.amounts);
    RecordShift(*entry.amounts);
    EXPECT_EQ(shiftRow(),
              "400.50|500.50|100.00|2026-12-08 14:00:00|2026-12-08 07:00:00|2026-12-08 07:00:00|morning|o'neil");

    // No sale since: the shift's first sale is its closing time.
    ShiftName = "evening";
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(23, 0, 0)));
    RecordShift({Money::FromCents(10000), Money::FromCents(10000)});
    EXPECT_EQ(shiftRow(), "0.00|100.00|100.00|2026-12-08 23:00:00|2026-12-08 23:00:00|2026-12-08 14:00:00|evening|"
                          "o'neil");
    EXPECT_EQ(logTexts(), "o'neil morning Shift Ended |o'neil morning Shift Ended |o'neil evening Shift Ended ");
    EXPECT_EQ(scalar("SELECT sys_doclose FROM tbl_system WHERE sys_counter=1"), "1");
}

TEST_F(CounterDay, TheFirstClosingOfAStationWithSalesStartsAtItsOldestSale)
{
    sale("2026-12-08 10:15:00");
    sale("2026-12-08 09:05:00");
    ShiftName = "morning";
    RecordShift({Money::FromCents(5000), Money::FromCents(-2000)});
    EXPECT_EQ(shiftRow(),
              "70.00|50.00|-20.00|2026-12-08 14:05:09|2026-12-08 09:05:00|2026-12-08 09:05:00|morning|counter");
}

TEST(ShiftName, TheMorningRunsStrictlyBetweenTheOpeningHourAndSixInTheEvening)
{
    QString shifts;
    for (int hour = 0; hour < 24; ++hour)
        shifts += ShiftNameAt(hour, 8).left(1);
    EXPECT_EQ(shifts, "eeeeeeeee" "mmmmmmmmm" "eeeeee") << "08:xx and 18:xx open the evening shift";
    EXPECT_EQ(ShiftNameAt(1, 0), "morning");
    EXPECT_EQ(ShiftNameAt(0, 0), "evening");
}

TEST_F(CounterDay, EndingAShiftAsksInCapitalsAndNoKeepsTheShiftNamed)
{
    prompter.Answer(Msg::No);
    prompter.Answer(Msg::No);
    EndShift({}, "morning");
    EndShift({}, "evening");
    EXPECT_EQ(prompter.prompts(), QStringList({"Are you REALLY sure that you are closing a MORNING Shift?",
                                               "Are you REALLY sure that you are closing an EVENING Shift?"}));
    EXPECT_EQ(ShiftName, "evening");
    EXPECT_EQ(count("tbl_log"), 0);
}

TEST_F(CounterDay, TheEndOfShiftWindowRefusesAmountsThatAreNoNumbersAndThenRecordsAndCloses)
{
    ShiftName = "evening";
    int stopped = 0, unloaded = 0, ended = 0;
    SetEndProgramHandler([&] { ++ended; });
    frm_ShiftEnd window({nullptr, [&] { ++stopped; }, [&] { ++unloaded; }, [] { FAIL() << "no new start"; }});
    window.txt_MoneyInDrawer->setText("500.5");
    window.txt_CashFloat->setText("100");
    EXPECT_EQ(window.txt_Sales->text(), "400.5");
    window.txt_CashFloat->clear();
    EXPECT_EQ(window.txt_Sales->text(), "400.5");
    window.txt_CashFloat->setText("1OO");
    window.btn_OK->click();
    window.txt_MoneyInDrawer->setText("");
    window.txt_CashFloat->setText("100");
    window.btn_OK->click();
    EXPECT_EQ(prompter.prompts(), QStringList({"Please key in the Cash Float as an amount, for example 200.00",
                                               "Please key in the Total Money in Drawer as an amount, for example "
                                               "1250.50"}));
    EXPECT_EQ(count("tbl_log") + count("tbl_shift1") + count("tbl_system WHERE sys_doclose=1"), 0);

    window.txt_MoneyInDrawer->setText("512.25");
    prompter.Answer(Msg::Cancel);
    window.btn_OK->click();
    EXPECT_EQ(count("tbl_shift1"), 0);
    prompter.Answer(Msg::OK);
    window.btn_OK->click();
    EXPECT_EQ(count("tbl_shift1 WHERE sh_sales=412.25 AND sh_shift='evening'"), 1);
    EXPECT_EQ(window.txt_Sales->text(), "412.25");
    EXPECT_FALSE(window.btn_OK->isEnabled());
    EXPECT_TRUE(window.btn_PrintReport->isEnabled());
    ASSERT_EQ(window.btn_Cancel->text(), "Close");
    if (qEnvironmentVariableIsSet("PALLOWIN_SHOT"))
        window.grab().save(qEnvironmentVariable("PALLOWIN_SHOT") + "/shift-end.png");

    window.btn_Cancel->click();
    EXPECT_EQ(ended, 0) << "the main window is taken down only after the handler has returned";
    QCoreApplication::processEvents();
    EXPECT_EQ(stopped + unloaded + ended, 3);
    EXPECT_EQ(logTexts(), "counter evening Shift Ended |log out");
    SetEndProgramHandler(nullptr);
}

}
