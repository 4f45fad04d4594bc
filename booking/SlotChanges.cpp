#include "SlotChanges.h"
#include "Booking.h"
#include "Courts.h"
#include "GridRefresh.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "Settings.h"
#include "Verification.h"

#include "Connection.h"
#include "Vb.h"

#include <functional>

namespace {

// The slot of one grid row as the statements address it.
struct Slot {
    QString date;
    QString time;
    int court;

    QString Where(int otherCourt) const { return SlotWhere(date, time, otherCourt); }
};

bool verified(SlotGrid& grid, bool requireAuthorization)
{
    if (requireAuthorization)
        ShowVerifyUser(grid.Owner());
    return IsUserAllowed(false);
}

// A paid or past slot is refused, with the past message of the action; then the user must be allowed.
bool mayChange(SlotGrid& grid, int row, const Slot& slot, const QString& pastMessage, bool requireAuthorization)
{
    if (!grid.PaidCell(row).isEmpty()) {
        MsgBox("The slot already paid", Msg::Critical);
        return false;
    }
    if (IsPastSlot(slot.time, slot.date)) {
        MsgBox(pastMessage, Msg::Critical);
        return false;
    }
    return verified(grid, requireAuthorization);
}

QString minutes(int value) { return " for " + QString::number(value) + " minutes "; }

// The slot of the grid row, judged against its neighbours as they stand now rather than as the grid
// last showed them.
bool conflictsNow(Connection& db, const SlotGrid& grid, const Slot& slot, int row, int delay)
{
    return isDelayConflict(ReadBookRows(db, slot.date, QString::number(slot.court), grid.RowCount()), row, delay);
}

// How a change of a slot's timing is judged and written.
struct TimingChange {
    QString job;
    QString pastMessage;
    // The refusals of a row that holds a marker: "... individual slots", "... main slots".
    QString onPartiallyShared;
    QString onSharedBooking;
    // Whether the change moves the start (else it sets the length).
    bool movesStart;
    // The new start and length of the slot, from its row as read under its lock; or a refusal.
    std::function<std::pair<int, int>(Connection&, const Slot&, const SlotRow& own)> change;
};

// Changes the timing of the slot of a grid row in one transaction: its own row, the rows of its
// dependent courts, and its master's "Partially Shared" row, which keeps covering every dependent
// booking from the earliest start to the latest end. Everything is decided on the rows as they are
// now, read under their locks. The grid is redrawn afterwards.
void changeTiming(SlotGrid& grid, int row, bool requireAuthorization, const TimingChange& timing)
{
    const std::optional<int> court = ChosenCourt(grid.CourtText());
    if (!court)
        return;
    const Slot slot{grid.GridDate(), grid.RowTime(row), *court};
    if (!mayChange(grid, row, slot, timing.pastMessage, requireAuthorization))
        return;
    const QString actionTime = grid.ActionTime();
    auto set = [&](int delay, int length) {
        return timing.movesStart ? "b_delaytime=" + QString::number(delay) : "b_playlength=" + QString::number(length);
    };
    auto remark = [&](int delay, int length) { return minutes(timing.movesStart ? delay : length); };
    RunSlotChange([&](Connection& db) {
        const int master = GetSharedMaster(slot.court);
        const std::optional<SlotRow> masterRow =
            master != -1 ? LockSlotRow(db, slot.date, slot.time, master) : std::nullopt;
        const std::optional<SlotRow> own = LockSlotRow(db, slot.date, slot.time, slot.court);
        if (!own)
            return;
        if (own->bookerName.contains(PartiallySharedMark, Qt::CaseInsensitive))
            throw SlotRefusal{timing.onPartiallyShared};
        if (own->bookerName.contains(SharedBookingMark, Qt::CaseInsensitive))
            throw SlotRefusal{timing.onSharedBooking};
        if (own->paid > Money())
            throw SlotRefusal{"The slot already paid"};
        const auto [delay, length] = timing.change(db, slot, *own);

        db.Execute("UPDATE tbl_booking SET " + set(delay, length) + slot.Where(slot.court));
        WriteRemark(db, slot.date, slot.time, slot.court, timing.job, remark(delay, length), actionTime);
        for (int shared : DependentCourts(slot.court)) {
            db.Execute("UPDATE tbl_booking SET " + set(delay, length) + slot.Where(shared));
            WriteRemark(db, slot.date, slot.time, shared, timing.job, remark(delay, length), actionTime);
        }
        if (masterRow && masterRow->bookerName == PartiallySharedMark) {
            const SlotSpan span = DependentsSpan(db, master, slot.court, slot.date, slot.time, delay, length);
            db.Execute("UPDATE tbl_booking SET b_delaytime=" + QString::number(span.start) +
                       ", b_playlength=" + QString::number(span.end - span.start) + slot.Where(master));
            WriteRemark(db, slot.date, slot.time, master, timing.job, remark(span.start, span.end - span.start),
                        actionTime);
        }
    });
    grid.RefreshView();
}

void delaySlot(SlotGrid& grid, int row, int delay, bool requireAuthorization, bool testConflict)
{
    changeTiming(grid, row, requireAuthorization,
                 {"delay slot", "You cannot delay previous entry!", "Please delay individual slots",
                  "Please delay main slots", true, [&](Connection& db, const Slot& slot, const SlotRow& own) {
                      if (testConflict && conflictsNow(db, grid, slot, row, delay))
                          throw SlotRefusal{"conflicting! cannot delay", Msg::OKOnly};
                      return std::pair{delay, own.playLength};
                  }});
}

// added > 0: the slot plays that many minutes longer than it does now, if its neighbours leave room.
void changeLength(SlotGrid& grid, int row, int playLength, int added, LengthMethod method, bool requireAuthorization)
{
    if (row < 1 || !grid.Rows()[row].IsBooked()) {
        MsgBox("There is no booked slot to add " + QString::number(playLength) + " minutes", Msg::Critical);
        return;
    }
    changeTiming(grid, row, requireAuthorization,
                 {method == LengthMethod::Shorten ? "shorten slot" : "extra time", "You cannot book previous entry!",
                  "Please add individual slots", "Please add main slots", false,
                  [&](Connection& db, const Slot& slot, const SlotRow& own) {
                      if (added == 0)
                          return std::pair{own.delay, playLength};
                      if (conflictsNow(db, grid, slot, row, own.delay + added))
                          throw SlotRefusal{"conflicting! cannot do", Msg::OKOnly};
                      return std::pair{own.delay, own.playLength + added};
                  }});
}

} // namespace

void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization)
{
    delaySlot(grid, row, delay, requireAuthorization, false);
}

void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization)
{
    changeLength(grid, row, playLength, 0, method, requireAuthorization);
}

void Block_Booking(SlotGrid& grid, const QString& date)
{
    QString tel, name, rate, org;
    {
        Recordset rs;
        if (PasteFromWaitList) {
            rs = Db::Query("SELECT * FROM tbl_waitlist_clipboard");
            if (rs.EOF_())
                return;
            tel = rs["w_bookertel"].Value();
            name = rs["w_bookername"].Value();
            rate = rs["w_specialrate"].Value();
            org = rs["w_bookerorg"].Value();
        } else {
            if (SlotDate.isEmpty())
                return;
            rs = Db::Query("SELECT * FROM tbl_booking_clipboard" + QString::number(CounterNumber) +
                           " where b_datetime='" + SlotKey(SlotDate, SlotTime) +
                           "' AND b_field=" + QString::number(SlotCourt));
            if (rs.EOF_())
                return;
            tel = rs["b_bookertel"].Value();
            name = rs["b_bookername"].Value();
            rate = rs["b_specialrate"].Value();
            org = rs["b_bookerorg"].Value();
        }
    }
    // A clipboard row without a name would make a booking that can be neither booked over nor cleared.
    if (name.isEmpty())
        return;
    QStringList times;
    for (int row = 1; row <= grid.RowCount(); ++row)
        if (grid.IsSelected(row))
            times << grid.RowTime(row);
    BookSlots(grid, date, times, {tel, org, name, rate, 0}, grid.CourtText(), PasteFromWaitList, 0, 60);
}

void doDelay(SlotGrid& grid, int value)
{
    if (!ChosenCourt(grid.CourtText()))
        return;
    bool requireAuthorization = true;
    for (int row = grid.RowCount(); row >= 1; --row) {
        if (!grid.IsSelected(row))
            continue;
        const QString name = grid.NameCell(row);
        if (name.contains(PartiallySharedMark, Qt::CaseInsensitive)) {
            MsgBox("Please delay individual slots", Msg::Critical);
            return;
        }
        if (name.contains(SharedBookingMark, Qt::CaseInsensitive)) {
            MsgBox("Please delay main slots", Msg::Critical);
            return;
        }
        if (!grid.Rows()[row].IsBooked())
            continue;
        if (isDelayConflict(grid.Rows(), row, value)) {
            MsgBox("conflicting! cannot delay");
            continue;
        }
        delaySlot(grid, row, value, requireAuthorization, true);
        requireAuthorization = false;
    }
}

void doAddExtraTime(SlotGrid& grid, int value)
{
    const int row = grid.CurrentRow();
    if (row < 1 || !ChosenCourt(grid.CourtText()))
        return;
    const QString name = grid.NameCell(row);
    if (name.contains(PartiallySharedMark, Qt::CaseInsensitive)) {
        MsgBox("Please add individual slots", Msg::Critical);
        return;
    }
    if (name.contains(SharedBookingMark, Qt::CaseInsensitive)) {
        MsgBox("Please add main slots", Msg::Critical);
        return;
    }
    const BookRow& slot = grid.Rows()[row];
    if (!slot.IsBooked())
        return;
    if (isDelayConflict(grid.Rows(), row, slot.delay + value)) {
        MsgBox("conflicting! cannot do");
        return;
    }
    changeLength(grid, row, slot.playLength + value, value, LengthMethod::ExtraTime, true);
}
