// Speed of a sale and of its receipt on the generated centre, run by hand:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build && build/bench/sales_bench
//
// A sale of ten lines should take at most five bare connections and queries, and takes some two
// to three and a half on a busy machine. Both open a connection, whose driver sets up its session
// in a few round trips; the sale then runs eight statements of 0.1 to 0.5 ms each: the session and
// the transaction's start, one locked read of its slots, items and last transaction number, the
// journal rows, the paid marks, the hours, the stock, and the commit. It took five to eleven bare
// queries while the settings' compressed protocol deflated and inflated every statement and reply
// (half its time), and while it spent round trips on a read each, on a stock update per item, on
// the lock timeout and on turning autocommit back on before the connection closed.

#include "BenchSupport.h"

#include "Sale.h"
#include "frm_PrintReceipt.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Numbering.h"

#include <QPrinter>
#include <QTemporaryDir>

namespace {

// Ten lines: eight court hours booked for the purpose after the generated years, two shop items.
std::vector<CartLine> tenLines(int& n)
{
    std::vector<CartLine> lines;
    const QString date = QDate(2027, 6, 1).addDays(++n).toString("yyyy-MM-dd");
    for (int court = 0; court < 8; ++court) {
        Db::Execute("INSERT INTO tbl_booking SET b_datetime='" + date + " 19:00:00', b_field=" +
                    QString::number(court) + ", b_bookername='Bench', b_specialrate='member'");
        CartLine slot;
        slot.kind = CartLine::Kind::Slot;
        slot.tag = PitchTag;
        slot.court = court;
        slot.slotDate = date;
        slot.slotTime = "19:00";
        slot.booking = {"Bench", "", 0, 0, "member"};
        slot.text = "Field Number " + QString::number(court + 1) + " " + date + " 19:00";
        slot.unitPrice = slot.amount = Money::FromCents(9000);
        slot.quantity = "1";
        lines.push_back(slot);
    }
    for (int item : {3, 7}) {
        CartLine shop;
        shop.kind = CartLine::Kind::ShopItem;
        shop.text = "Item " + QString::number(item);
        shop.tag = "Drink";
        shop.unitPrice = Money::FromCents(250);
        shop.quantity = "2";
        shop.amount = Money::FromCents(500);
        lines.push_back(shop);
    }
    return lines;
}

void BM_RecordSaleOfTenLines(benchmark::State& state)
{
    int n = 0;
    std::vector<CartLine> lines;
    Measure(state, [&] { lines = tenLines(n); }, [&] {
        if (RecordSale(lines, "counter") == 0)
            state.SkipWithError("the sale was not recorded");
    });
}

void BM_ReceiptOfTenLinesToPdf(benchmark::State& state)
{
    int n = 1000;
    const int32_t transaction = RecordSale(tenLines(n), "counter");
    const int receipt = AssignReceiptNumber(QString::number(transaction));
    QTemporaryDir dir;
    Measure(state, [] {}, [&] {
        frm_PrintReceipt& form = frm_PrintReceipt::Default();
        form.GenerateReceiptContent(receipt);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.path() + "/receipt.pdf");
        if (form.Content().lines.size() != 10 || !form.PrintForm(printer))
            state.SkipWithError("the receipt was not printed");
    });
}

BENCHMARK(BM_BareConnectionAndQuery)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_RecordSaleOfTenLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_ReceiptOfTenLinesToPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace

int main(int argc, char** argv)
{
    BenchRun run(argc, argv);
    run.WriteSettings("[Address]\r\naddress0=Bench Sports Centre\r\n[Contact]\r\ncontact0=Tel 555-0100\r\n");
    CounterNumber = 1;
    SpecialGroupCount = 5;
    StaffLogin = "counter";
    SetNow(QDateTime(QDate(2027, 1, 1), QTime(9, 0)));
    OpenBenchCentre();
    Db::Execute("DELETE FROM tbl_booking WHERE b_datetime >= '2027'");
    Db::Execute("DELETE FROM tbl_counter1 WHERE c_datetime >= '2027'");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
