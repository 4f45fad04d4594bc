#include "SlotChanges.h"
#include "Booking.h"
#include "SlotAudit.h"
#include "SlotGrid.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "Settings.h"
#include "Verification.h"

#include "Vb.h"

namespace {

// The slot of one grid row as the statements address it.
struct Slot {
    QString date;
    QString time;
    int court;

    QString Where(int otherCourt) const
    {
        return " WHERE b_datetime='" + SlotKey(date, time) + "'AND b_field=" + QString::number(otherCourt);
    }
};

Slot slotOf(const SlotGrid& grid, int row) { return {grid.GridDate(), grid.RowTime(row), Vb::CInt(grid.CourtText())}; }

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

} // namespace

void DelayGameTime(SlotGrid& grid, int row, int delay, bool requireAuthorization)
{
    const Slot slot = slotOf(grid, row);
    if (!mayChange(grid, row, slot, "You cannot delay previous entry!", requireAuthorization))
        return;

    auto db = Db::Open();
    Recordset own = db->Query("SELECT * FROM tbl_booking" + slot.Where(slot.court));
    if (!own.EOF_()) {
        const int playLength = static_cast<int>(own["b_playlength"].Integer());
        const QString setDelay = "UPDATE tbl_booking SET b_delaytime=" + QString::number(delay);
        db->Execute(setDelay + slot.Where(slot.court));
        WriteRemark(*db, slot.date, slot.time, slot.court, "delay slot", minutes(delay), grid.ActionTime());
        for (int shared : DependentCourts(slot.court)) {
            db->Execute(setDelay + slot.Where(shared));
            WriteRemark(*db, slot.date, slot.time, shared, "delay slot", minutes(delay), grid.ActionTime());
        }
        const int master = GetSharedMaster(slot.court);
        if (master != -1) {
            Recordset m = db->Query("SELECT * FROM tbl_booking" + slot.Where(master));
            const int sharedCount = m.EOF_() ? 0 : static_cast<int>(m["b_shared"].Integer());
            int masterDelay = delay;
            QString statement;
            if (sharedCount != 0) {
                masterDelay = std::min(delay, getMinDelayTime(master, slot.court, slot.date, slot.time));
                const int end = std::max(delay + playLength, getMaxPlayTime(master, slot.court, slot.date, slot.time));
                statement = "UPDATE tbl_booking SET b_delaytime=" + QString::number(masterDelay) +
                            ", b_playlength=" + QString::number(end - masterDelay);
            } else {
                statement = "UPDATE tbl_booking SET b_delaytime=" + QString::number(masterDelay);
            }
            db->Execute(statement + slot.Where(master));
            WriteRemark(*db, slot.date, slot.time, master, "delay slot", minutes(masterDelay), grid.ActionTime());
        }
    }
    db.reset();
    grid.RefreshView();
}

void AddExtraTime(SlotGrid& grid, int row, int playLength, LengthMethod method, bool requireAuthorization)
{
    if (row < 1 || !grid.Rows()[row].IsBooked()) {
        MsgBox("There is no booked slot to add " + QString::number(playLength) + " minutes", Msg::Critical);
        return;
    }
    const Slot slot = slotOf(grid, row);
    if (!mayChange(grid, row, slot, "You cannot book previous entry!", requireAuthorization))
        return;

    const QString job = method == LengthMethod::Shorten ? "shorten slot" : "extra time";
    auto db = Db::Open();
    Recordset own = db->Query("SELECT * FROM tbl_booking" + slot.Where(slot.court));
    if (!own.EOF_()) {
        int delay = static_cast<int>(own["b_delaytime"].Integer());
        db->Execute("UPDATE tbl_booking SET b_playlength=" + QString::number(playLength) + slot.Where(slot.court));
        WriteRemark(*db, slot.date, slot.time, slot.court, job, minutes(playLength), grid.ActionTime());
        for (int shared : DependentCourts(slot.court)) {
            db->Execute("UPDATE tbl_booking SET  b_playlength=" + QString::number(playLength) + slot.Where(shared));
            WriteRemark(*db, slot.date, slot.time, shared, job, minutes(playLength), grid.ActionTime());
        }
        const int master = GetSharedMaster(slot.court);
        if (master != -1) {
            int masterLength = playLength;
            if (!db->Query("SELECT * FROM tbl_booking" + slot.Where(master)).EOF_()) {
                const int end = std::max(delay + playLength, getMaxPlayTime(master, slot.court, slot.date, slot.time));
                delay = std::min(delay, getMinDelayTime(master, slot.court, slot.date, slot.time));
                masterLength = end - delay;
            }
            db->Execute("UPDATE tbl_booking SET b_playlength=" + QString::number(masterLength) + slot.Where(master));
            WriteRemark(*db, slot.date, slot.time, master, job, minutes(masterLength), grid.ActionTime());
        }
    }
    db.reset();
    grid.RefreshView();
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
    for (int row = 1; row <= grid.RowCount(); ++row)
        if (grid.IsSelected(row))
            doBooking(grid, date, grid.RowTime(row), tel, org, name, grid.CourtText(), rate, PasteFromWaitList, 0, 60, 0);
}

void doDelay(SlotGrid& grid, int value)
{
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
        DelayGameTime(grid, row, value, requireAuthorization);
        requireAuthorization = false;
    }
}

void doAddExtraTime(SlotGrid& grid, int value)
{
    const int row = grid.CurrentRow();
    if (row < 1)
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
    AddExtraTime(grid, row, slot.playLength + value, LengthMethod::ExtraTime, true);
}
