#include "SlotChange.h"
#include "SlotKey.h"
#include "SlotTiming.h"

#include "Db.h"

#include "Connection.h"
#include "VbError.h"

bool IsDuplicateSlot(const VbError& error) { return error.nativeError() == ServerErrors::DuplicateKey; }

bool RunSlotChange(const std::function<void(Connection&)>& change)
{
    try {
        Db::Transaction([&](Connection& db) {
            // Every read sees what other stations committed up to that moment, and a row that is not
            // there locks nothing, so two stations booking neighbouring slots never wait for each other.
            db.Execute("SET TRANSACTION ISOLATION LEVEL READ COMMITTED");
            try {
                change(db);
            } catch (const VbError& e) {
                if (IsDuplicateSlot(e))
                    throw SlotRefusal{SlotTakenMessage};
                throw;
            }
        });
        return true;
    } catch (const SlotRefusal& refusal) {
        if (!refusal.message.isEmpty())
            MsgBox(refusal.message, refusal.style);
    } catch (const VbError& e) {
        if (!Db::IsLockConflict(e))
            throw;
        MsgBox(SlotTakenMessage, Msg::Critical);
    }
    return false;
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

QString SlotWhere(const QString& date, const QString& time, int court)
{
    return " WHERE b_datetime='" + SlotKey(date, time) + "' AND b_field=" + QString::number(court);
}

std::optional<SlotRow> LockSlotRow(Connection& db, const QString& date, const QString& time, int court)
{
    Recordset rs = db.Query("SELECT b_bookername, b_delaytime, b_playlength, b_shared, b_paid FROM tbl_booking" +
                            SlotWhere(date, time, court) + " FOR UPDATE");
    if (rs.EOF_())
        return std::nullopt;
    return SlotRow{rs["b_bookername"].Value(), static_cast<int>(rs["b_delaytime"].Integer()),
                   static_cast<int>(rs["b_playlength"].Integer()), static_cast<int>(rs["b_shared"].Integer()),
                   Money::Parse(rs["b_paid"].Value())};
}

SlotSpan DependentsSpan(Connection& db, int master, int court, const QString& date, const QString& time, int start,
                        int length)
{
    return {std::min(start, getMinDelayTime(db, master, court, date, time)),
            std::max(start + length, getMaxPlayTime(db, master, court, date, time))};
}
