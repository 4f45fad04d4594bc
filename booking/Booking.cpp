#include "Booking.h"
#include "Courts.h"
#include "GridRefresh.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "Globals.h"
#include "Prompter.h"
#include "Settings.h"
#include "SqlQuote.h"

#include "Connection.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {

// One tbl_booking row of a booking: the booker's on its own court, a marker on the courts that share it.
struct NewRow {
    int court;
    int delay;
    int playLength;
    QString name;
    int person;
    QString tel = {};
    QString org = {};
    QString specialRate = {};
    int shared = 0;
};

// The rows of one slot key in one statement.
QString bookingInsert(const QString& date, const QString& time, const std::vector<NewRow>& rows)
{
    const QString slot = SlotKey(date, time);
    QStringList values;
    for (const NewRow& r : rows)
        values << "(" + QString::number(r.delay) + "," + QString::number(r.playLength) + ",'" + slot +
                      "','" + SqlQuote(r.tel) + "','" + SqlQuote(r.org) + "','" + SqlQuote(r.name) + "'," +
                      QString::number(r.court) + ",'" + SqlQuote(r.specialRate) + "'," + QString::number(r.person) +
                      "," + QString::number(r.shared) + ")";
    return "INSERT INTO tbl_booking (b_delaytime, b_playlength, b_datetime, b_bookertel, b_bookerorg, b_bookername, "
           "b_field, b_specialrate, b_person, b_shared) VALUES " +
           values.join(',');
}

// Counts the booking of a dependent court into its master's "Partially Shared" row, which then runs
// from the earliest start to the latest end of all the dependents' bookings. masterRow is the row the
// change locked before it wrote anything. Gives the master's new span.
SlotSpan countIntoMaster(Connection& db, const std::optional<SlotRow>& masterRow, int master, int court,
                         const QString& date, const QString& time, int delay, int playLength, int person)
{
    const SlotSpan span = DependentsSpan(db, master, court, date, time, delay, playLength);
    if (masterRow)
        db.Execute("UPDATE tbl_booking SET b_delaytime=" + QString::number(span.start) +
                   ",b_playlength=" + QString::number(span.end - span.start) + ", b_shared= b_shared + 1" +
                   SlotWhere(date, time, master));
    else
        db.Execute(bookingInsert(
            date, time, {{master, span.start, span.end - span.start, PartiallySharedMark, person, {}, {}, {}, 1}}));
    return span;
}

// The court's slots of one date as they stand inside a change that holds the court: read at the first
// hour of that date, then kept up to date with what the change books.
class CourtDays {
public:
    CourtDays(Connection& db, int court, int rowCount) : m_db(db), m_court(court), m_rowCount(rowCount) {}

    BookRows& Of(const QString& date)
    {
        auto found = m_days.find(date);
        if (found == m_days.end())
            found = m_days.emplace(date, ReadBookRows(m_db, date, QString::number(m_court), m_rowCount)).first;
        return found->second;
    }

private:
    Connection& m_db;
    int m_court;
    int m_rowCount;
    std::map<QString, BookRows> m_days;
};

// Why an hour cannot be booked from its start minute for its length beside the court's slots as they
// are now; empty when it can.
QString clashReason(const BookRows& rows, int row, const SlotToBook& slot)
{
    if (isPreviousSlotConflict(rows, row, slot.delay))
        return QStringLiteral("the slot before it runs into it");
    if (isNextSlotConflict(rows, row, slot.delay, slot.playLength))
        return QStringLiteral("the slot after it starts before it would end");
    return {};
}

// How the refusal of an hour that meets another slot reads, from the reason.
using ClashRefusal = std::function<SlotRefusal(const SlotToBook& slot, const QString& reason)>;

// What became of the waiting-list entry this station cut, once the first hour was booked.
enum class EntryFate { Taken, Left, Gone };

// The last booking of this station whose commit reply was lost and could not be looked up: what a
// later booking finds of it may be its own doing.
struct UntoldBooking {
    int court;
    Booker booker;
    std::vector<SlotToBook> hours;
    // The waiting-list entry it took, empty when none.
    QString cutEntry;
    // The number of its last audit row, there only if it was written.
    long long auditRow;
    // Whether it was written, once a later booking of its hours found out; it is forgotten then.
    std::optional<bool> written = {};

    bool Tried(const SlotToBook& slot) const
    {
        return std::any_of(hours.begin(), hours.end(),
                           [&](const SlotToBook& h) { return h.date == slot.date && h.time == slot.time; });
    }
};
std::optional<UntoldBooking> untoldBooking;

// Finds out, inside a change that holds court on the dates of hours, whether the untold booking was
// written, when it tried one of these hours: it held the court on that date too, so its transaction
// has ended by now, one way or the other.
void findOutUntold(Connection& db, int court, const std::vector<SlotToBook>& hours)
{
    if (!untoldBooking || untoldBooking->written || untoldBooking->court != court ||
        std::none_of(hours.begin(), hours.end(), [](const SlotToBook& h) { return untoldBooking->Tried(h); }))
        return;
    untoldBooking->written =
        !db.Query("SELECT m_id FROM tbl_remark WHERE m_id=" + QString::number(untoldBooking->auditRow) +
                  " LOCK IN SHARE MODE")
             .EOF_();
}

// Why an hour of court that the untold booking would have booked and that holds its booker now is not
// booked again; empty for any other hour, and for every hour once it is known not to have been written.
QString untoldReason(int court, const SlotToBook& slot, const BookRow& now)
{
    if (!untoldBooking || untoldBooking->written == false || untoldBooking->court != court ||
        now.bookerName != untoldBooking->booker.name || now.telephone != untoldBooking->booker.tel ||
        !untoldBooking->Tried(slot))
        return {};
    return "already booked for " + now.bookerName + (untoldBooking->written == true ? " by" : ", perhaps by") +
           " the booking whose reply was lost";
}

// Removes the cut waiting-list entry with the first hour booked, as cut says. The entry's row is
// locked before its customer is compared, so it is taken once even when stations race for it.
EntryFate takeCutEntry(Connection& db, CutEntry cut, const Booker& booker)
{
    const QString entry = " FROM tbl_waitlist WHERE w_id='" + SqlQuote(WaitListCutId) + "'";
    if (cut == CutEntry::TakenBySameBooker) {
        Recordset rs = db.Query("SELECT w_bookername, w_bookertel" + entry + " FOR UPDATE");
        const auto same = [](const QString& a, const QString& b) {
            return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
        };
        if (rs.EOF_() || !same(rs["w_bookername"].Value(), booker.name) ||
            !same(rs["w_bookertel"].Value(), booker.tel))
            return EntryFate::Left;
    }
    return db.Execute("DELETE" + entry) > 0 ? EntryFate::Taken : EntryFate::Gone;
}

// Writes the booking of one slot inside the change's transaction: its own row and the marker rows of
// the courts that share it in one statement, their audit rows in another.
void bookSlot(Connection& db, const QString& date, const QString& time, int court, const Booker& booker, int delay,
              int playLength, const QString& actionTime)
{
    const int master = GetSharedMaster(court);
    std::optional<SlotRow> masterRow;
    if (master != -1) {
        masterRow = LockSlotRow(db, date, time, master);
        // The master court is booked as a whole: this court's space is taken.
        if (masterRow && !HoldsMark(masterRow->bookerName, PartiallySharedMark))
            throw SlotRefusal{SlotTakenMessage};
    }
    const std::vector<int> dependents = DependentCourts(court);
    std::vector<NewRow> rows{
        {court, delay, playLength, booker.name, booker.person, booker.tel, booker.org, booker.specialRate}};
    std::vector<Remark> remarks{{court, "book", " " + booker.name + " " + booker.tel}};
    for (int shared : dependents) {
        rows.push_back({shared, delay, playLength, SharedBookingMark, booker.person});
        remarks.push_back({shared, "book", " shared booking"});
    }
    // The slot key is unique: a slot that is taken fails here.
    db.Execute(bookingInsert(date, time, rows));
    std::optional<SlotSpan> masterSpan;
    if (master != -1) {
        masterSpan = countIntoMaster(db, masterRow, master, court, date, time, delay, playLength, booker.person);
        remarks.push_back({master, "book", " partially booked field " + QString::number(master)});
    }
    // A start after the hour or a length other than the hour, as the Book action's questions give
    // them, is told in every court's history as the slot menu's delay and duration tell theirs.
    const auto timing = [&](const QString& job, int value, int masterValue) {
        remarks.push_back({court, job, MinutesRemark(value)});
        for (int shared : dependents)
            remarks.push_back({shared, job, MinutesRemark(value)});
        if (masterSpan)
            remarks.push_back({master, job, MinutesRemark(masterValue)});
    };
    if (delay != 0)
        timing("delay slot", delay, masterSpan ? masterSpan->start : 0);
    if (playLength != 60)
        timing("shorten slot", playLength, masterSpan ? masterSpan->end - masterSpan->start : 0);
    WriteRemarks(db, date, time, remarks, actionTime);
}

// Deletes the booking of one slot inside the change's transaction, when it still holds the booker
// the grid showed.
void cancelSlot(Connection& db, const QString& date, const QString& time, int court, const QString& shownName,
                const QString& reason, const QString& actionTime)
{
    const int master = GetSharedMaster(court);
    const std::optional<SlotRow> masterRow = master != -1 ? LockSlotRow(db, date, time, master) : std::nullopt;
    const std::optional<SlotRow> own = LockSlotRow(db, date, time, court);
    if (!own)
        throw SlotRefusal{"The field is empty"};
    // What the slot holds now decides, not what a grid showed earlier.
    if (const auto refusal = CancelRefusal(own->bookerName))
        throw *refusal;
    if (own->bookerName != shownName)
        throw ChangedSinceShown(own->bookerName);
    if (own->paid > Money())
        throw SlotRefusal{"You cannot delete paid item", Msg::OKOnly};

    db.Execute("DELETE FROM tbl_booking" + SlotWhere(date, time, court));
    WriteRemark(db, date, time, court, "cancel", reason, actionTime);

    for (int shared : DependentCourts(court)) {
        if (db.Execute("DELETE FROM tbl_booking" + SlotWhere(date, time, shared) + " AND b_bookername='" +
                       SharedBookingMark + "'") > 0)
            WriteRemark(db, date, time, shared, "cancel", " shared booking", actionTime);
    }

    if (masterRow && HoldsMark(masterRow->bookerName, PartiallySharedMark)) {
        // The master's count was read under its lock, so two dependents cancelled at once each see
        // the other's change.
        if (masterRow->shared <= 1)
            db.Execute("DELETE FROM tbl_booking" + SlotWhere(date, time, master));
        else
            db.Execute("UPDATE tbl_booking SET b_shared=b_shared - 1" + SlotWhere(date, time, master));
        WriteRemark(db, date, time, master, "cancel", " partially booked field " + QString::number(master),
                    actionTime);
    }
}

bool allRefused(const std::vector<std::optional<SlotRefusal>>& refusals)
{
    return std::all_of(refusals.begin(), refusals.end(), [](const auto& refusal) { return refusal.has_value(); });
}

} // namespace

std::optional<SlotRefusal> CancelRefusal(const QString& name)
{
    if (HoldsMark(name, PartiallySharedMark))
        return SlotRefusal{"Delete individual slots"};
    if (HoldsMark(name, SharedBookingMark))
        return SlotRefusal{"Please delete main slots"};
    return std::nullopt;
}

QString CutEntryGoneMessage()
{
    if (!untoldBooking || untoldBooking->written == false || untoldBooking->cutEntry.isEmpty() ||
        untoldBooking->cutEntry != WaitListCutId)
        return WaitListEntryGoneMessage;
    return "The waiting-list entry cut at this station is no longer on the waiting list: the booking of it whose "
           "reply was lost may have been written, or another station booked or cleared it. Nothing more was booked: "
           "please look at the grid, then cut or copy the booker again.";
}

void ForgetCutEntry()
{
    PasteFromWaitList = false;
    WaitListCutId.clear();
    SlotDate.clear();
}

namespace {

using Refusals = std::vector<std::optional<SlotRefusal>>;

// Books the hours as BookSlots says. Gives the refusal of each hour, none when the change as a whole
// was refused (and told) or never began.
std::optional<Refusals> bookHours(SlotGrid& grid, const std::vector<SlotToBook>& hours, const Booker& booker,
                                  const QString& court, CutEntry cut, const ClashRefusal& clash)
{
    const std::optional<int> c = ChosenCourt(court);
    if (!c || hours.empty())
        return std::nullopt;
    // A past hour is refused before anything is asked of the database.
    Refusals past(hours.size());
    for (size_t i = 0; i < hours.size(); ++i)
        if (IsPastSlot(hours[i].time, hours[i].date))
            past[i] = SlotRefusal{"You cannot book previous entry"};
    if (allRefused(past))
        return past;
    Refusals refusals = past;
    std::optional<EntryFate> entry;
    QStringList bookedDates;
    for (const SlotToBook& slot : hours)
        bookedDates << slot.date;
    const QString actionTime = grid.ActionTime();
    const int rowCount = grid.RowCount();
    long long auditRow = 0;
    const ChangeOutcome outcome = TrySlotChange(
        [&](Connection& db) {
            refusals = past;
            entry.reset();
            LockCourts(db, *c, bookedDates);
            findOutUntold(db, *c, hours);
            CourtDays days(db, *c, rowCount);
            for (size_t i = 0; i < refusals.size(); ++i) {
                if (refusals[i])
                    continue;
                const SlotToBook& slot = hours[i];
                const int row = GridRowOfHour(slot.time.left(2).toInt(), rowCount);
                BookRows& rows = days.Of(slot.date);
                refusals[i] = RunSlotPart(db, hours.size() > 1, [&] {
                    QString reason = untoldReason(*c, slot, rows[static_cast<size_t>(row)]);
                    if (reason.isEmpty())
                        reason = clashReason(rows, row, slot);
                    if (!reason.isEmpty())
                        throw clash(slot, reason);
                    bookSlot(db, slot.date, slot.time, *c, booker, slot.delay, slot.playLength, actionTime);
                    // The cut waiting-list entry goes with the first hour booked, when this is its
                    // customer; a booker read from an entry that another station booked or cleared since
                    // the cut is not booked a second time.
                    if (cut != CutEntry::Untouched && !entry) {
                        entry = takeCutEntry(db, cut, booker);
                        if (*entry == EntryFate::Gone)
                            throw SlotRefusal{CutEntryGoneMessage(), Msg::Critical, true};
                    }
                });
                if (!refusals[i]) {
                    BookRow& booked = rows[static_cast<size_t>(row)];
                    booked.bookerName = booker.name;
                    booked.delay = static_cast<int16_t>(slot.delay);
                    booked.playLength = static_cast<int16_t>(slot.playLength);
                }
            }
        },
        auditRow);
    if (outcome == ChangeOutcome::Untold) {
        UntoldBooking untold{*c, booker, {}, entry == EntryFate::Taken ? WaitListCutId : QString(), auditRow};
        for (size_t i = 0; i < hours.size(); ++i)
            if (!refusals[i])
                untold.hours.push_back(hours[i]);
        untoldBooking = untold;
    } else if (untoldBooking && untoldBooking->written) {
        untoldBooking.reset();
    }
    if (outcome != ChangeOutcome::Written) {
        if (entry == EntryFate::Gone) {
            ForgetCutEntry();
            grid.RefreshWaitList();
        }
        return std::nullopt;
    }
    if (entry == EntryFate::Taken) {
        PasteFromWaitList = false;
        // The entry is gone; its number must not reach a later paste.
        WaitListCutId.clear();
        grid.RefreshWaitList();
    }
    return refusals;
}

} // namespace

std::vector<bool> BookSlots(SlotGrid& grid, const std::vector<SlotToBook>& hours, const Booker& booker,
                            const QString& court, CutEntry cut)
{
    // An hour of the grid's own date was judged on the grid as it was shown, which is out of date by now.
    const std::optional<Refusals> refusals =
        bookHours(grid, hours, booker, court, cut, [&grid](const SlotToBook& slot, const QString& reason) {
            if (slot.date == grid.GridDate())
                return SlotRefusal{slot.time + " was not booked: " + reason + ". Please look at the grid again."};
            return SlotRefusal{slot.time + " on " + slot.date + " was not booked: " + reason + "."};
        });
    return refusals ? ShowRefusals(*refusals) : std::vector<bool>(hours.size());
}

std::vector<bool> BookBlock(SlotGrid& grid, const std::vector<SlotToBook>& hours, const Booker& booker,
                            const QString& court, CutEntry cut)
{
    const std::optional<Refusals> refusals =
        bookHours(grid, hours, booker, court, cut, [](const SlotToBook&, const QString& reason) {
            return SlotRefusal{reason.left(1).toUpper() + reason.mid(1) + "."};
        });
    std::vector<bool> booked(hours.size());
    if (!refusals)
        return booked;
    // Each week's hour is named with its date, so that a block over several weeks can be read back.
    QStringList leftOut;
    for (size_t i = 0; i < hours.size(); ++i) {
        booked[i] = !(*refusals)[i];
        if ((*refusals)[i])
            leftOut << hours[i].date + " " + hours[i].time + ": " + (*refusals)[i]->message;
    }
    if (!leftOut.isEmpty())
        MsgBox("These hours of the block booking were not booked:\r\n" + leftOut.join("\r\n"), Msg::Critical);
    return booked;
}

std::vector<bool> BookSlots(SlotGrid& grid, const QString& date, const QStringList& times, const Booker& booker,
                            const QString& court, bool fromWaitList, int delay, int playLength)
{
    std::vector<SlotToBook> hours;
    for (const QString& time : times)
        hours.push_back({date, time, delay, playLength});
    return BookSlots(grid, hours, booker, court, fromWaitList ? CutEntry::TakenWithBooker : CutEntry::Untouched);
}

bool doBooking(SlotGrid& grid, const QString& date, const QString& time, const QString& tel, const QString& org,
               const QString& name, const QString& court, const QString& specialRate, bool fromWaitList, int delay,
               int playLength, int person)
{
    return BookSlots(grid, date, {time}, {tel, org, name, specialRate, person}, court, fromWaitList, delay,
                     playLength)
        .front();
}

std::vector<bool> CancelSlots(SlotGrid& grid, const QString& date, const QStringList& times,
                              const QStringList& shownNames, const QString& court, const QString& reason)
{
    const std::optional<int> c = ChosenCourt(court);
    if (!c || reason.isEmpty())
        return std::vector<bool>(times.size());
    // Refused on what the grid shows, before anything is asked of the database.
    std::vector<std::optional<SlotRefusal>> shown(times.size());
    for (qsizetype i = 0; i < times.size(); ++i) {
        auto& refusal = shown[static_cast<size_t>(i)];
        if (IsPastSlot(times[i], date))
            refusal = SlotRefusal{"You cannot delete previous entry!"};
        else
            refusal = CancelRefusal(shownNames[i]);
    }
    std::vector<std::optional<SlotRefusal>> refusals = shown;
    const QString actionTime = grid.ActionTime();
    if (!allRefused(shown) && !RunSlotChange([&](Connection& db) {
            refusals = shown;
            // Holding the court, the master's row and the court's own are read as one moment: no
            // booking can come in between and be cancelled without being counted off its master.
            LockCourts(db, *c, {date});
            for (size_t i = 0; i < refusals.size(); ++i) {
                if (!refusals[i]) {
                    const auto at = static_cast<qsizetype>(i);
                    refusals[i] = RunSlotPart(db, times.size() > 1, [&] {
                        cancelSlot(db, date, times[at], *c, shownNames[at], reason, actionTime);
                    });
                }
            }
        }))
        return std::vector<bool>(times.size());
    return ShowRefusals(refusals);
}

bool doCancel(SlotGrid& grid, const QString& date, const QString& time, const QString& name, const QString& court,
              const QString& reason)
{
    return CancelSlots(grid, date, {time}, {name}, court, reason).front();
}
