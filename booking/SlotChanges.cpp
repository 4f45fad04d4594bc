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
#include "SqlQuote.h"
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
    // What the refusals of a row that holds a marker ask the user to do: "Please <verb> main slots".
    QString verb;
    // Whether the change moves the start (else it sets the length).
    bool movesStart;
    // The new start and length of the slot, from its row as read under its lock; or a refusal.
    std::function<std::pair<int, int>(Connection&, const Slot&, const SlotRow& own)> change;
    // The audit text of the new start or length.
    std::function<QString(int)> remark = minutes;
    // Refuses a row the grid shows free, before the user is asked; none when empty.
    QString onFreeRow = {};
    // Leaves the courts that share space as they are.
    bool ownCourtOnly = false;
};

// What became of a change before anything was written.
enum class Checked { Refused, NotAllowed, Allowed };

// A paid or past slot (or a free one, where the change says so) is refused; then the user must be allowed.
Checked mayChange(SlotGrid& grid, int row, const Slot& slot, const TimingChange& timing, bool requireAuthorization)
{
    QString refusal;
    if (!grid.PaidCell(row).isEmpty())
        refusal = "The slot already paid";
    else if (IsPastSlot(slot.time, slot.date))
        refusal = timing.pastMessage;
    else if (!timing.onFreeRow.isEmpty() && grid.NameCell(row).isEmpty())
        refusal = timing.onFreeRow;
    if (!refusal.isEmpty()) {
        MsgBox(refusal, Msg::Critical);
        return Checked::Refused;
    }
    return verified(grid, requireAuthorization) ? Checked::Allowed : Checked::NotAllowed;
}

// Changes the timing of the slot of a grid row in one transaction: its own row, the rows of its
// dependent courts, and its master's "Partially Shared" row, which keeps covering every dependent
// booking from the earliest start to the latest end. Everything is decided on the rows as they are
// now, read under their locks. The grid is redrawn afterwards. Tells whether the user was asked (or
// verification is off), so that the rows after it in one command rely on that answer.
bool changeTiming(SlotGrid& grid, int row, bool requireAuthorization, const TimingChange& timing)
{
    const std::optional<int> court = ChosenCourt(grid.CourtText());
    if (!court)
        return false;
    const Slot slot{grid.GridDate(), grid.RowTime(row), *court};
    const Checked checked = mayChange(grid, row, slot, timing, requireAuthorization);
    if (checked != Checked::Allowed)
        return checked == Checked::NotAllowed;
    const QString actionTime = grid.ActionTime();
    auto set = [&](int delay, int length) {
        return timing.movesStart ? "b_delaytime=" + QString::number(delay) : "b_playlength=" + QString::number(length);
    };
    auto remark = [&](int delay, int length) { return timing.remark(timing.movesStart ? delay : length); };
    RunSlotChange([&](Connection& db) {
        const int master = timing.ownCourtOnly ? -1 : GetSharedMaster(slot.court);
        const std::optional<SlotRow> masterRow =
            master != -1 ? LockSlotRow(db, slot.date, slot.time, master) : std::nullopt;
        const std::optional<SlotRow> own = LockSlotRow(db, slot.date, slot.time, slot.court);
        if (!own)
            return;
        if (const auto refusal = SharedRowRefusal(own->bookerName, timing.verb))
            throw SlotRefusal{*refusal};
        if (own->paid > Money())
            throw SlotRefusal{"The slot already paid"};
        const auto [delay, length] = timing.change(db, slot, *own);

        db.Execute("UPDATE tbl_booking SET " + set(delay, length) + slot.Where(slot.court));
        WriteRemark(db, slot.date, slot.time, slot.court, timing.job, remark(delay, length), actionTime);
        if (timing.ownCourtOnly)
            return;
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
    return true;
}

// conflict: the refusal of a start that clashes with the neighbours as they are now (an empty text
// passes the row over silently); none: no such test.
bool delaySlot(SlotGrid& grid, int row, int delay, bool requireAuthorization, std::optional<QString> conflict)
{
    return changeTiming(grid, row, requireAuthorization,
                        {"delay slot", "You cannot delay previous entry!", "delay", true,
                         [&](Connection& db, const Slot& slot, const SlotRow& own) {
                             if (conflict && conflictsNow(db, grid, slot, row, delay))
                                 throw SlotRefusal{*conflict, Msg::OKOnly};
                             return std::pair{delay, own.playLength};
                         }});
}

// Sets the play length to what newLength makes of the present one. Where a conflict message is given,
// a longer slot must leave room to the slot after it, judged from its own start minute on the rows
// as they are now.
void changeLength(SlotGrid& grid, int row, int shownLength, const std::function<int(int)>& newLength,
                  LengthMethod method, bool requireAuthorization, const QString& conflict)
{
    if (row < 1 || !grid.Rows()[row].IsBooked()) {
        MsgBox("There is no booked slot to add " + QString::number(shownLength) + " minutes", Msg::Critical);
        return;
    }
    changeTiming(grid, row, requireAuthorization,
                 {method == LengthMethod::Shorten ? "shorten slot" : "extra time", "You cannot book previous entry!",
                  "add", false,
                  [&](Connection& db, const Slot& slot, const SlotRow& own) {
                      const int length = newLength(own.playLength);
                      if (!conflict.isEmpty() && length > own.playLength &&
                          conflictsNow(db, grid, slot, row, own.delay + length - own.playLength))
                          throw SlotRefusal{conflict, Msg::OKOnly};
                      return std::pair{own.delay, length};
                  }});
}

} // namespace

void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization)
{
    delaySlot(grid, row, delay, requireAuthorization, std::nullopt);
}

void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization)
{
    changeLength(grid, row, playLength, [&](int) { return playLength; }, method, requireAuthorization, {});
}

void SetSlotLength(SlotGrid& grid, int row, int playLength, LengthMethod method)
{
    changeLength(grid, row, playLength, [&](int) { return playLength; }, method, true, "conflicting! cannot delay");
}

void SetPlayTime(SlotGrid& grid, int row, int playTime, bool requireAuthorization)
{
    TimingChange timing{"shorten slot", "You cannot book previous entry!", "set", false,
                        [&](Connection&, const Slot&, const SlotRow& own) { return std::pair{own.delay, playTime}; },
                        [](int length) { return " to " + QString::number(length) + " minutes"; }};
    timing.onFreeRow = "You cannot set empty!";
    timing.ownCourtOnly = true;
    changeTiming(grid, row, requireAuthorization, timing);
}

std::optional<Booker> ClipboardBooker()
{
    Recordset rs;
    if (PasteFromWaitList) {
        // This station's own entry: the shared clipboard holds whatever any station cut last.
        rs = Db::Query("SELECT w_bookertel AS tel, w_bookerorg AS org, w_bookername AS name, w_specialrate AS rate, "
                       "w_person AS person FROM tbl_waitlist WHERE w_id='" + SqlQuote(WaitListCutId) + "'");
        if (rs.EOF_()) {
            // Booked or cleared meanwhile: the booking clipboard serves the next paste again.
            PasteFromWaitList = false;
            WaitListCutId.clear();
            return std::nullopt;
        }
    } else {
        if (SlotDate.isEmpty())
            return std::nullopt;
        rs = Db::Query("SELECT b_bookertel AS tel, b_bookerorg AS org, b_bookername AS name, b_specialrate AS rate, "
                       "b_person AS person FROM tbl_booking_clipboard" + QString::number(CounterNumber) +
                       " where b_datetime='" + SlotKey(SlotDate, SlotTime) +
                       "' AND b_field=" + QString::number(SlotCourt));
        if (rs.EOF_())
            return std::nullopt;
    }
    // A clipboard row without a name would make a booking that can be neither booked over nor cleared.
    if (rs["name"].Value().isEmpty())
        return std::nullopt;
    return Booker{rs["tel"].Value(), rs["org"].Value(), rs["name"].Value(), rs["rate"].Value(),
                  static_cast<int>(rs["person"].Integer())};
}

void Block_Booking(SlotGrid& grid, const QString& date) { Block_Booking(grid, QStringList{date}); }

void Block_Booking(SlotGrid& grid, const QStringList& dates)
{
    std::optional<Booker> booker = ClipboardBooker();
    if (!booker)
        return;
    booker->person = 0;
    std::vector<SlotToBook> hours;
    for (const QString& date : dates)
        for (int row = 1; row <= grid.RowCount(); ++row)
            if (grid.IsSelected(row))
                hours.push_back({date, grid.RowTime(row)});
    BookSlots(grid, hours, *booker, grid.CourtText(), PasteFromWaitList);
}

void doDelay(SlotGrid& grid, int value, bool sayConflicts)
{
    if (!ChosenCourt(grid.CourtText()))
        return;
    bool requireAuthorization = true;
    for (int row = grid.RowCount(); row >= 1; --row) {
        if (!grid.IsSelected(row))
            continue;
        if (const auto refusal = SharedRowRefusal(grid.NameCell(row), "delay")) {
            MsgBox(*refusal, Msg::Critical);
            return;
        }
        if (!grid.Rows()[row].IsBooked())
            continue;
        const QString conflict = sayConflicts ? "conflicting! cannot delay" : "";
        if (isDelayConflict(grid.Rows(), row, value)) {
            if (sayConflicts)
                MsgBox(conflict);
            continue;
        }
        // Only a row that reached the question answers it for the rows after it: a row refused as
        // paid or past must not let them through on a verification left by an earlier command.
        if (delaySlot(grid, row, value, requireAuthorization, conflict))
            requireAuthorization = false;
    }
}

void doAddExtraTime(SlotGrid& grid, int value)
{
    const int row = grid.CurrentRow();
    if (row < 1 || !ChosenCourt(grid.CourtText()))
        return;
    if (const auto refusal = SharedRowRefusal(grid.NameCell(row), "add")) {
        MsgBox(*refusal, Msg::Critical);
        return;
    }
    const BookRow& slot = grid.Rows()[row];
    if (!slot.IsBooked())
        return;
    if (isDelayConflict(grid.Rows(), row, slot.delay + value)) {
        MsgBox("conflicting! cannot do");
        return;
    }
    changeLength(
        grid, row, slot.playLength + value, [&](int present) { return present + value; }, LengthMethod::ExtraTime,
        true, "conflicting! cannot do");
}
