// Speed of the grid, of a booking and of the slot menu on a realistic centre, run by hand:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build && build/bench/booking_bench
// The centre is generated once into its own database, posdb_bench, so the tests' posdb is untouched.

#include "BenchCentre.h"
#include "Booking.h"
#include "frm_Main.h"

#include "Db.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void BM_BareConnectionAndQuery(benchmark::State& state)
{
    Measure(state, [] {}, [] {
        Db::Open()->Query("SELECT * FROM tbl_booking WHERE b_datetime='2026-06-15 14:00:00' AND b_field=3");
    });
}

void BM_RefreshView(benchmark::State& state)
{
    frm_Main& main = frm_Main::Default();
    main.Calendar->setDate(QDate(2026, 6, 15));
    main.txtInfo_FieldSelect->setText("3");
    Measure(state, [] {}, [&] { main.RefreshView(); });
    if (main.Rows()[7].bookerName.isEmpty())
        state.SkipWithError("the grid shows no booking");
}

// Free slots after the generated years, one per iteration.
QString nextFreeHour(int& n)
{
    ++n;
    return QString::number(8 + n % 16).rightJustified(2, '0') + ":00";
}
QString nextFreeDate(int n) { return QDate(2027, 6, 1).addDays(n / 16).toString("yyyy-MM-dd"); }

void BM_doBookingOnASharedCourt(benchmark::State& state)
{
    frm_Main& main = frm_Main::Default();
    int n = 0;
    QString date, time;
    Measure(state, [&] {
        time = nextFreeHour(n);
        date = nextFreeDate(n);
    }, [&] {
        if (!doBooking(main, date, time, "555-0101", "Riverside FC", "Bench", "0", "", false, 0, 60, 0))
            state.SkipWithError("the booking was refused");
    });
}

void BM_doCancel(benchmark::State& state)
{
    frm_Main& main = frm_Main::Default();
    int n = 1000;
    QString date, time;
    Measure(state, [&] {
        time = nextFreeHour(n);
        date = nextFreeDate(n);
        doBooking(main, date, time, "", "", "Bench", "0", "", false, 0, 60, 0);
    }, [&] {
        if (!doCancel(main, date, time, "Bench", "0", "bench"))
            state.SkipWithError("the cancel was refused");
    });
}

BENCHMARK(BM_BareConnectionAndQuery)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_RefreshView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_doBookingOnASharedCourt)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_doCancel)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(300);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    OpenBenchCentre();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frm_Main::Unload();
    return 0;
}
