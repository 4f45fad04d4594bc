#include "Booking.h"
#include "SlotAudit.h"
#include "SlotGrid.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "Settings.h"
#include "SqlQuote.h"

#include "Vb.h"
#include "VbError.h"

namespace {

QString where(const QString& date, const QString& time, int court)
{
    return " WHERE b_datetime='" + SlotKey(date, time) + "' AND b_field=" + QString::number(court);
}

QString bookingInsert(const QString& date, const QString& time, int court, int delay, int playLength,
                      const QString& tel, const QString& org, const QString& name, const QString& specialRate,
                      int person, const QString& sharedCount = {})
{
    return "INSERT INTO tbl_booking SET b_delaytime=" + QString::number(delay) +
           ",b_playlength=" + QString::number(playLength) + ", b_datetime='" + SlotKey(date, time) +
           "', b_bookertel='" + SqlQuote(tel) + "', b_bookerorg='" + SqlQuote(org) + "', b_bookername='" +
           SqlQuote(name) + "'" + sharedCount + ", b_field=" + QString::number(court) + ", b_specialrate='" + SqlQuote(specialRate) +
           "', b_person=" + QString::number(person);
}

void refuse(const QString& text) { MsgBox(text, Msg::Critical); }

// The master's "Partially Shared" row covers every dependent booking at the slot: from the earliest
// start to the latest end, this booking's own span included.
void keepMasterInStep(Connection& db, SlotGrid& grid, int master, int court, const QString& date,
                      const QString& time, int delay, int playLength, int person)
{
    Recordset rs = db.Query("SELECT * FROM tbl_booking" + where(date, time, master));
    const bool exists = !rs.EOF_();
    if (exists && rs["b_bookername"].Value() != PartiallySharedMark)
        return;
    const int start = std::min(delay, getMinDelayTime(master, court, date, time));
    const int end = std::max(delay + playLength, getMaxPlayTime(master, court, date, time));
    const QString update = "UPDATE tbl_booking SET b_delaytime=" + QString::number(start) +
                           ",b_playlength=" + QString::number(end - start) + ", b_shared= b_shared + 1" +
                           where(date, time, master);
    if (exists) {
        db.Execute(update);
    } else {
        try {
            db.Execute(bookingInsert(date, time, master, start, end - start, {}, {}, PartiallySharedMark, {}, person,
                                     ", b_shared= b_shared + 1"));
        } catch (const VbError& e) {
            // Another station's dependent booking made the row first: count this one in.
            if (!IsDuplicateSlot(e))
                throw;
            db.Execute(update);
        }
    }
    WriteRemark(db, date, time, master, "book", " partially booked field " + QString::number(master),
                grid.ActionTime());
}

} // namespace

bool IsDuplicateSlot(const VbError& error)
{
    return error.number() == VbErrors::Database && error.description().contains("Duplicate entry");
}

bool doBooking(SlotGrid& grid, const QString& date, const QString& time, const QString& tel, const QString& org,
               const QString& name, const QString& court, const QString& specialRate, bool fromWaitList, int delay,
               int playLength, int person)
{
    const int c = Vb::CInt(court);
    if (IsPastSlot(time, date)) {
        refuse("You cannot book previous entry");
        return false;
    }
    auto db = Db::Open();
    if (!db->Query("SELECT * FROM tbl_booking" + where(date, time, c)).EOF_()) {
        refuse("The field already being booked");
        return false;
    }
    try {
        db->Execute(bookingInsert(date, time, c, delay, playLength, tel, org, name, specialRate, person));
    } catch (const VbError& e) {
        if (!IsDuplicateSlot(e))
            throw;
        refuse("The field already being booked");
        return false;
    }

    if (fromWaitList) {
        db->Execute("DELETE FROM tbl_waitlist where w_id='" + SqlQuote(WaitListCutId) + "'");
        PasteFromWaitList = false;
        // The entry is gone; its number must not reach a later paste.
        WaitListCutId.clear();
        grid.RefreshWaitList();
    }
    WriteRemark(*db, date, time, c, "book", " " + name + " " + tel, grid.ActionTime());

    for (int shared : DependentCourts(c)) {
        db->Execute(bookingInsert(date, time, shared, delay, playLength, {}, {}, SharedBookingMark, {}, person));
        WriteRemark(*db, date, time, shared, "book", " shared booking", grid.ActionTime());
    }

    const int master = GetSharedMaster(c);
    if (master != -1)
        keepMasterInStep(*db, grid, master, c, date, time, delay, playLength, person);
    return true;
}

bool doCancel(SlotGrid& grid, const QString& date, const QString& time, const QString& name, const QString& court,
              const QString& reason)
{
    const int c = Vb::CInt(court);
    if (IsPastSlot(time, date)) {
        refuse("You cannot delete previous entry!");
        return false;
    }
    if (name.contains(PartiallySharedMark)) {
        refuse("Delete individual slots");
        return false;
    }
    if (name.contains(SharedBookingMark)) {
        refuse("Please delete main slots");
        return false;
    }
    if (reason.isEmpty())
        return false;

    auto db = Db::Open();
    Recordset rs = db->Query("SELECT * FROM tbl_booking" + where(date, time, c));
    if (rs.EOF_()) {
        refuse("The field is empty");
        return false;
    }
    if (rs["b_paid"].Number() > 0) {
        MsgBox("You cannot delete paid item");
        return false;
    }
    db->Execute("DELETE FROM tbl_booking" + where(date, time, c));
    WriteRemark(*db, date, time, c, "cancel", reason, grid.ActionTime());

    for (int shared : DependentCourts(c)) {
        if (db->Execute("DELETE FROM tbl_booking" + where(date, time, shared) + " AND b_bookername='" +
                        SharedBookingMark + "'") > 0)
            WriteRemark(*db, date, time, shared, "cancel", " shared booking", grid.ActionTime());
    }

    const int master = GetSharedMaster(c);
    if (master != -1) {
        const QString masterRow = where(date, time, master) + " AND b_bookername='" + PartiallySharedMark + "'";
        Recordset m = db->Query("SELECT * FROM tbl_booking" + masterRow);
        if (!m.EOF_()) {
            if (m["b_shared"].Integer() <= 1)
                db->Execute("DELETE FROM tbl_booking" + masterRow);
            else
                db->Execute("UPDATE tbl_booking SET b_shared=b_shared - 1" + masterRow);
            WriteRemark(*db, date, time, master, "cancel", " partially booked field " + QString::number(master),
                        grid.ActionTime());
        }
    }
    return true;
}
