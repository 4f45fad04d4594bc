#include "SlotChange.h"
#include "SlotInfo.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "DatabaseSetup.h"
#include "Db.h"
#include "Settings.h"
#include "SqlQuote.h"

#include "Connection.h"
#include "VbError.h"

#include <QStringList>
#include <algorithm>

namespace {

// Whether a statement failed on a unique key: another station stored the slot first.
bool IsDuplicateSlot(const VbError& error) { return error.nativeError() == ServerErrors::DuplicateKey; }

// The number of the last audit row the change wrote and kept (a part of it undone takes its rows
// along), 0 when none. Audit rows are the only rows of a slot change that the server numbers, and it
// never gives a number twice, not even one whose transaction was undone: a row under it is there only
// if its change was written.
long long lastAuditRow(Connection& db)
{
    Recordset rs = db.Query("SELECT m_id FROM tbl_remark WHERE m_id=LAST_INSERT_ID()");
    return rs.EOF_() ? 0 : rs.Fields(0).Integer();
}

// Tells the user what became of a change whose commit was not confirmed, from its audit row.
ChangeOutcome settleLostCommit(long long auditRow)
{
    const Db::Written written = Db::FindOut([&](Connection& db) {
        return !db.Query("SELECT m_id FROM tbl_remark WHERE m_id=" + QString::number(auditRow) + " FOR UPDATE")
                    .EOF_();
    });
    if (written == Db::Written::Yes) {
        MsgBox("The database did not confirm the change, but it was written.", Msg::Information);
        return ChangeOutcome::Written;
    }
    const QString lost = "The connection to the database was lost while the change was being written. ";
    if (written == Db::Written::No) {
        MsgBox(lost + "It was not written: nothing was changed. Please try again.", Msg::Critical);
        return ChangeOutcome::NotWritten;
    }
    MsgBox(lost + "It may or may not have been written: " +
               (written == Db::Written::Unknown
                    ? "the database does not answer. Look at the slot again once it does"
                    : "another transaction still holds its rows. Look at the slot again in a moment") +
               ", before you repeat the change.",
           Msg::Critical);
    return ChangeOutcome::Untold;
}

// The statement that takes the courts' turns on the days: each court's dateless row held shared and
// its dated rows written, in one round trip and in the order of the table's key (a court's dateless
// row comes before its dates), the order in which every station of either version takes them. Each
// dated row is made from its court's dateless row, so that a missing one gives a null court, which
// strict mode refuses rather than storing.
QString turnStatement(const std::vector<int>& courts, const QStringList& days)
{
    QStringList turns;
    for (int c : courts)
        for (const QString& day : days)
            turns << "SELECT " + QString::number(c) + " AS court, '" + SqlQuote(day) + "' AS day";
    return "SET STATEMENT sql_mode='STRICT_ALL_TABLES,NO_ENGINE_SUBSTITUTION' FOR "
           "INSERT INTO tbl_courtlock (cl_field, cl_date) SELECT dateless.cl_field, turn.day FROM (" +
           turns.join(" UNION ALL ") +
           ") turn LEFT JOIN tbl_courtlock dateless ON dateless.cl_field=turn.court AND dateless.cl_date='' "
           "ORDER BY turn.court, turn.day LOCK IN SHARE MODE "
           "ON DUPLICATE KEY UPDATE cl_changes=tbl_courtlock.cl_changes+1";
}

} // namespace

bool RunSlotChange(const std::function<void(Connection&)>& change)
{
    long long auditRow = 0;
    return TrySlotChange(change, auditRow) == ChangeOutcome::Written;
}

ChangeOutcome TrySlotChange(const std::function<void(Connection&)>& change, long long& auditRow)
{
    auditRow = 0;
    try {
        // What a change decides on is what other stations committed up to its reads, behind the lock
        // rows of its courts; absent slots lock nothing, so it never waits on a neighbour's gap.
        Db::Transaction(
            [&](Connection& db) {
                try {
                    change(db);
                } catch (const VbError& e) {
                    if (IsDuplicateSlot(e))
                        throw SlotRefusal{SlotTakenMessage};
                    throw;
                }
                auditRow = lastAuditRow(db);
            },
            true);
        return ChangeOutcome::Written;
    } catch (const Db::CommitUnconfirmed&) {
        if (auditRow == 0)
            throw;
        return settleLostCommit(auditRow);
    } catch (const SlotRefusal& refusal) {
        if (!refusal.message.isEmpty())
            MsgBox(refusal.message, refusal.style);
    } catch (const VbError& e) {
        if (!Db::IsLockConflict(e))
            throw;
        MsgBox(SlotBusyMessage, Msg::Critical);
    }
    return ChangeOutcome::NotWritten;
}

std::optional<SlotRefusal> RunSlotPart(Connection& db, bool oneOfSeveral, const std::function<void()>& part)
{
    if (!oneOfSeveral) {
        part();
        return std::nullopt;
    }
    db.Execute("SAVEPOINT slot");
    try {
        part();
        return std::nullopt;
    } catch (const SlotRefusal& refusal) {
        if (refusal.endsChange)
            throw;
        db.Execute("ROLLBACK TO SAVEPOINT slot");
        return refusal;
    } catch (const VbError& e) {
        if (!IsDuplicateSlot(e))
            throw;
        db.Execute("ROLLBACK TO SAVEPOINT slot");
        return SlotRefusal{SlotTakenMessage};
    }
}

std::vector<bool> ShowRefusals(const std::vector<std::optional<SlotRefusal>>& refusals)
{
    std::vector<bool> changed(refusals.size());
    for (size_t i = 0; i < refusals.size(); ++i) {
        changed[i] = !refusals[i];
        if (refusals[i])
            MsgBox(refusals[i]->message, refusals[i]->style);
    }
    return changed;
}

SlotRefusal ChangedSinceShown(const QString& holder)
{
    return {"The slot was changed at another station since it was shown: " +
            (holder.isEmpty() ? QString("it is now free") : "it now holds " + holder) + ". Please look at it again."};
}

void LockCourts(Connection& db, int court, const QStringList& dates)
{
    std::vector<int> courts = DependentCourts(court);
    courts.push_back(court);
    if (const int master = GetSharedMaster(court); master != -1)
        courts.push_back(master);
    std::sort(courts.begin(), courts.end());
    QStringList days = dates;
    days.sort();
    days.removeDuplicates();
    const QString statement = turnStatement(courts, days);
    for (bool rowsMade = false;; rowsMade = true) {
        try {
            db.Execute(statement);
            return;
        } catch (const VbError& e) {
            if (e.nativeError() != ServerErrors::NullColumn)
                throw;
        }
        // A dateless row is missing. Made inside the change, it would be made while the change holds the
        // rows of its other courts, and taken away again when the change is undone: the change, which has
        // done nothing else yet, lets go of what it holds, the rows are made on their own, and it starts
        // again. Rows that are missing again after that, or that another station kept from being made
        // longer than a change waits, leave the change to a later try.
        db.RollbackTrans();
        if (rowsMade || !AddDatelessCourtRows(db, courts))
            throw SlotRefusal{SlotBusyMessage, Msg::Critical, true};
        db.BeginTrans();
    }
}

QString SlotWhere(const QString& date, const QString& time, int court)
{
    return " WHERE b_datetime='" + SlotKey(date, time) + "' AND b_field=" + QString::number(court);
}

std::optional<SlotRow> LockSlotRow(Connection& db, const QString& date, const QString& time, int court)
{
    Recordset rs = db.Query("SELECT b_bookername, b_delaytime, b_playlength, b_shared, b_paid, b_invoice "
                            "FROM tbl_booking" + SlotWhere(date, time, court) + " FOR UPDATE");
    if (rs.EOF_())
        return std::nullopt;
    return SlotRow{rs["b_bookername"].Value(), static_cast<int>(rs["b_delaytime"].Integer()),
                   PlayLengthMinutes(rs["b_playlength"].Value()), static_cast<int>(rs["b_shared"].Integer()),
                   Money::Parse(rs["b_paid"].Value()), static_cast<int>(rs["b_invoice"].Integer())};
}

SlotSpan DependentsSpan(Connection& db, int master, int court, const QString& date, const QString& time, int start,
                        int length)
{
    return {std::min(start, getMinDelayTime(db, master, court, date, time)),
            std::max(start + length, getMaxPlayTime(db, master, court, date, time))};
}
