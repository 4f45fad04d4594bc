// Speed of the grid, of a booking and of the slot menu on a realistic centre, run by hand:
//   cmake -B build -DPALLOWIN_BENCH=ON && cmake --build build && LD_LIBRARY_PATH=$PWD/build build/bench/booking_bench
// (the main window it opens loads the capture library, which lies in build/)

#include "BenchSupport.h"

#include "Booking.h"
#include "SlotTiming.h"
#include "BookingsPage.h"
#include "CalendarPicker.h"
#include "frm_Main.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Verification.h"

#include <QDateEdit>
#include <QLineEdit>

namespace {

void BM_RefreshView(benchmark::State& state)
{
    BookingsPage& main = *frm_Main::Default().Bookings;
    main.DatePicker->SetDate(QDate(2026, 6, 15));
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
    SlotGrid& main = frm_Main::Default().Grid();
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
    SlotGrid& main = frm_Main::Default().Grid();
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
    BenchRun run(argc, argv);
    run.WriteSettings(CentreSettings());
    HourStart = 8;
    HourEnd = 2;
    SharedCourtPairs[0] = "0&1";
    SharedCourtPairs[1] = "0&2";
    SkipVerification = 1;
    SetNow(QDateTime(QDate(2027, 1, 1), QTime(9, 0)));
    OpenBenchCentre();
    Db::Execute("DELETE FROM tbl_booking WHERE b_datetime >= '2027'");
    IsUserAllowed(false);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    frm_Main::Unload();
    return 0;
}
