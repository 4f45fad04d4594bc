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

// How a change of a slot's timing is judged and written.
struct TimingChange {
    QString job;
    QString pastMessage;
    // What the refusals of a row that holds a marker ask the user to do: "Please <verb> main slots".
    QString verb;
    // Whether the change moves the start (else it sets the length).
    bool movesStart;
    // The new start and length of the slot, from its row as read under its lock and the court's slots
    // as they are now; or a refusal.
    std::function<std::pair<int, int>(const BookRows& court, const SlotRow& own)> change;
    // The refusal of a new start or length that meets another slot (an empty text refuses silently);
    // a text of its own when none.
    std::optional<QString> conflict = {};
    // The audit text of the new start or length.
    std::function<QString(int)> remark = MinutesRemark;
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

// Why the slot of row cannot move from its present start and length to the new ones beside the court's
// other slots as they are now: only what it would newly cover is judged, so that a slot may always
// shrink. None when it can.
std::optional<QString> clashOfChange(const BookRows& court, int row, const SlotRow& own, int delay, int length,
                                     const TimingChange& timing)
{
    const bool startsEarlier = delay < own.delay && isPreviousSlotConflict(court, row, delay);
    const bool endsLater =
        delay + length > own.delay + own.playLength && isNextSlotConflict(court, row, delay, length);
    if (!startsEarlier && !endsLater)
        return std::nullopt;
    if (timing.conflict)
        return *timing.conflict;
    return startsEarlier ? "The slot cannot start earlier: the slot before it runs into its hour."
                         : "The slot cannot run longer: the slot after it starts before it would end.";
}

// Changes the timing of the slot of a grid row in one transaction: its own row, the rows of its
// dependent courts, and its master's "Partially Shared" row, which keeps covering every dependent
// booking from the earliest start to the latest end (a master's own booking is left alone; a master
// with no row at that hour gets only its audit row). Everything is decided on the rows as they are
// now, read while the change holds the court: a slot that holds another booking than shownName, or
// whose new timing would meet another slot, is refused. The grid is redrawn afterwards. Tells whether
// the user was asked (or verification is off), so that the rows after it in one command rely on
// that answer.
bool changeTiming(SlotGrid& grid, int row, const QString& shownName, bool requireAuthorization,
                  const TimingChange& timing)
{
    const std::optional<int> court = ChosenCourt(grid.CourtText());
    if (!court)
        return false;
    const Slot slot{grid.GridDate(), grid.RowTime(row), *court};
    const Checked checked = mayChange(grid, row, slot, timing, requireAuthorization);
    if (checked != Checked::Allowed)
        return checked == Checked::NotAllowed;
    const QString actionTime = grid.ActionTime();
    const int rowCount = grid.RowCount();
    auto set = [&](int delay, int length) {
        return timing.movesStart ? "b_delaytime=" + QString::number(delay) : "b_playlength=" + QString::number(length);
    };
    auto remark = [&](int delay, int length) { return timing.remark(timing.movesStart ? delay : length); };
    RunSlotChange([&](Connection& db) {
        LockCourts(db, slot.court, {slot.date});
        const int master = timing.ownCourtOnly ? -1 : GetSharedMaster(slot.court);
        const std::optional<SlotRow> masterRow =
            master != -1 ? LockSlotRow(db, slot.date, slot.time, master) : std::nullopt;
        const std::optional<SlotRow> own = LockSlotRow(db, slot.date, slot.time, slot.court);
        if (!own) {
            if (!shownName.isEmpty())
                throw ChangedSinceShown({});
            return;
        }
        if (const auto refusal = SharedRowRefusal(own->bookerName, timing.verb))
            throw SlotRefusal{*refusal};
        if (own->bookerName != shownName)
            throw ChangedSinceShown(own->bookerName);
        if (own->paid > Money())
            throw SlotRefusal{"The slot already paid"};
        const BookRows rows = ReadBookRows(db, slot.date, QString::number(slot.court), rowCount);
        const auto [delay, length] = timing.change(rows, *own);
        if (const auto clash = clashOfChange(rows, row, *own, delay, length, timing))
            throw SlotRefusal{*clash, timing.conflict ? Msg::OKOnly : Msg::Critical};

        db.Execute("UPDATE tbl_booking SET " + set(delay, length) + slot.Where(slot.court));
        WriteRemark(db, slot.date, slot.time, slot.court, timing.job, remark(delay, length), actionTime);
        if (timing.ownCourtOnly)
            return;
        for (int shared : DependentCourts(slot.court)) {
            db.Execute("UPDATE tbl_booking SET " + set(delay, length) + slot.Where(shared));
            WriteRemark(db, slot.date, slot.time, shared, timing.job, remark(delay, length), actionTime);
        }
        if (masterRow && HoldsMark(masterRow->bookerName, PartiallySharedMark)) {
            const SlotSpan span = DependentsSpan(db, master, slot.court, slot.date, slot.time, delay, length);
            db.Execute("UPDATE tbl_booking SET b_delaytime=" + QString::number(span.start) +
                       ", b_playlength=" + QString::number(span.end - span.start) + slot.Where(master));
            WriteRemark(db, slot.date, slot.time, master, timing.job, remark(span.start, span.end - span.start),
                        actionTime);
        } else if (master != -1 && !masterRow) {
            // A master without a row of its own at that hour has nothing to change, but its history still
            // tells that the change of its shared space reached it.
            WriteRemark(db, slot.date, slot.time, master, timing.job, remark(delay, length), actionTime);
        }
    });
    grid.RefreshView();
    return true;
}

// conflict: the refusal of a start that clashes with the neighbours as they are now (an empty text
// passes the row over silently); none: only a start that meets another slot is refused.
bool delaySlot(SlotGrid& grid, int row, const QString& shownName, int delay, bool requireAuthorization,
               std::optional<QString> conflict)
{
    TimingChange timing{"delay slot", "You cannot delay previous entry!", "delay", true,
                        [&](const BookRows& court, const SlotRow& own) {
                            if (conflict && isDelayConflict(court, row, delay))
                                throw SlotRefusal{*conflict, Msg::OKOnly};
                            return std::pair{delay, own.playLength};
                        }};
    timing.conflict = conflict;
    return changeTiming(grid, row, shownName, requireAuthorization, timing);
}

// Sets the play length to what newLength makes of the present one. Where a conflict message is given,
// a longer slot must leave room to the slot after it, judged from its own start minute on the rows
// as they are now; verb names the command in the refusals of marker rows.
void changeLength(SlotGrid& grid, int row, int shownLength, const std::function<int(int)>& newLength,
                  LengthMethod method, bool requireAuthorization, const QString& conflict,
                  const QString& verb = "add")
{
    if (row < 1 || !grid.Rows()[row].IsBooked()) {
        MsgBox("There is no booked slot to add " + QString::number(shownLength) + " minutes", Msg::Critical);
        return;
    }
    TimingChange timing{method == LengthMethod::Shorten ? "shorten slot" : "extra time",
                        "You cannot book previous entry!", verb, false,
                        [&](const BookRows& court, const SlotRow& own) {
                            const int length = newLength(own.playLength);
                            if (!conflict.isEmpty() && length > own.playLength &&
                                isDelayConflict(court, row, own.delay + length - own.playLength))
                                throw SlotRefusal{conflict, Msg::OKOnly};
                            return std::pair{own.delay, length};
                        }};
    if (!conflict.isEmpty())
        timing.conflict = conflict;
    changeTiming(grid, row, grid.NameCell(row), requireAuthorization, timing);
}

} // namespace

void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization)
{
    delaySlot(grid, row, grid.NameCell(row), delay, requireAuthorization, std::nullopt);
}

void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization)
{
    changeLength(grid, row, playLength, [&](int) { return playLength; }, method, requireAuthorization, {});
}

void SetSlotLength(SlotGrid& grid, int row, int playLength, LengthMethod method, const QString& verb)
{
    changeLength(grid, row, playLength, [&](int) { return playLength; }, method, true, "conflicting! cannot delay",
                 verb);
}

void SetPlayTime(SlotGrid& grid, int row, int playTime, bool requireAuthorization)
{
    TimingChange timing{"shorten slot", "You cannot book previous entry!", "set", false,
                        [&](const BookRows&, const SlotRow& own) { return std::pair{own.delay, playTime}; }};
    timing.remark = [](int length) { return " to " + QString::number(length) + " minutes"; };
    timing.onFreeRow = "You cannot set empty!";
    timing.ownCourtOnly = true;
    changeTiming(grid, row, grid.NameCell(row), requireAuthorization, timing);
}

std::optional<Booker> ClipboardBooker()
{
    Recordset rs;
    if (PasteFromWaitList) {
        // This station's own entry: the shared clipboard holds whatever any station cut last.
        rs = Db::Query("SELECT w_bookertel AS tel, w_bookerorg AS org, w_bookername AS name, w_specialrate AS rate, "
                       "w_person AS person FROM tbl_waitlist WHERE w_id='" + SqlQuote(WaitListCutId) + "'");
        if (rs.EOF_()) {
            MsgBox(CutEntryGoneMessage(), Msg::Critical);
            ForgetCutEntry();
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
    BookBlock(grid, hours, *booker, grid.CourtText(),
              PasteFromWaitList ? CutEntry::TakenWithBooker : CutEntry::Untouched);
}

void doDelay(SlotGrid& grid, int value, bool sayConflicts)
{
    if (!ChosenCourt(grid.CourtText()))
        return;
    // Each row is delayed for the booking it showed when the command began, though the grid is redrawn
    // after every row.
    std::vector<QString> shown(static_cast<size_t>(grid.RowCount()) + 1);
    for (int row = 1; row <= grid.RowCount(); ++row)
        shown[static_cast<size_t>(row)] = grid.NameCell(row);
    bool requireAuthorization = true;
    for (int row = grid.RowCount(); row >= 1; --row) {
        if (!grid.IsSelected(row))
            continue;
        if (const auto refusal = SharedRowRefusal(shown[static_cast<size_t>(row)], "delay")) {
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
        if (delaySlot(grid, row, shown[static_cast<size_t>(row)], value, requireAuthorization, conflict))
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
    // Added to the length the grid showed, never to whatever the slot has by now: a press repeated after
    // a change that was written unseen (a lost reply, another station) adds nothing twice.
    const int shown = slot.playLength;
    changeLength(
        grid, row, shown + value,
        [&](int present) {
            if (present != shown)
                throw SlotRefusal{"The slot was changed since it was shown: it now plays " + QString::number(present) +
                                  " minutes. Nothing was added: please look at it again."};
            return shown + value;
        },
        LengthMethod::ExtraTime, true, "conflicting! cannot do");
}
