// Speed of the slot menu's block booking: three rows of the court with two shared courts for eight
// weeks (24 bookings, each with its shared courts' rows and audit rows), as the user waits for it:
// verification, the one transaction and the redraw of the grid.

#include "BenchSupport.h"
#include "BookingsPage.h"
#include "CalendarPicker.h"
#include "SlotClipboard.h"
#include "frm_Main.h"

#include "Db.h"
#include "Globals.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

void BM_BlockBookingThreeRowsForEightWeeks(benchmark::State& state)
{
    BookingsPage& main = *frm_Main::Default().Bookings;
    // The window read the station's options when it was made; the bench centre verifies no one.
    SkipVerification = 1;
    Db::Execute("DELETE FROM tbl_booking_clipboard1");
    Db::Execute("INSERT INTO tbl_booking_clipboard1 SET b_datetime='2026-06-15 18:00:00', b_field=0, "
                "b_bookername='Regular', b_bookertel='555-0199'");
    SlotDate = "2026-06-15";
    SlotTime = "18:00";
    SlotCourt = 0;
    PasteFromWaitList = false;
    main.txtInfo_FieldSelect->setText("0");
    int n = 0;
    Measure(state, [&] {
        // A weekday of its own eight weeks for every iteration, after the other benchmarks' hours.
        main.DatePicker->SetDate(QDate(2029, 1, 1).addDays(n % 7 + 56 * (n / 7)));
        ++n;
        main.ListView_Book->clearSelection();
        for (int row : {11, 12, 13})
            main.ListView_Book->topLevelItem(row - 1)->setSelected(true);
    }, [&] { SlotClipboard::BlockBook(main, 7); });
    if (Db::Query("SELECT COUNT(*) FROM tbl_booking WHERE b_bookername='Regular'").Fields(0).Integer() !=
        24 * static_cast<long long>(state.iterations()))
        state.SkipWithError("not every hour was booked");
}

BENCHMARK(BM_BlockBookingThreeRowsForEightWeeks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace
