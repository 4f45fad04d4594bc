#include "RateClass.h"

#include "Courts.h"
#include "Connection.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"

#include "Prompter.h"
#include "SpecialGroups.h"
#include "SqlQuote.h"
#include "Verification.h"

namespace {

const QString GroupPrefix = QStringLiteral("specialgroup");

// The grid's refusal of the focused row, before anyone is asked to verify.
QString refusalOf(const SlotGrid& grid, int row)
{
    if (row < 1 || grid.NameCell(row).isEmpty() || grid.NameCell(row).contains(ExtraTimeMark))
        return "You cannot set empty slot";
    if (!grid.PaidCell(row).isEmpty())
        return "The slot already paid";
    return {};
}

} // namespace

QString SpecialGroupClass(int group) { return GroupPrefix + QString::number(group); }

QString RateClassWord(const QString& rateClass)
{
    if (rateClass.isEmpty())
        return "normal";
    if (rateClass.startsWith(GroupPrefix))
        return GetSpecialGroupName(rateClass.mid(GroupPrefix.size()).toInt());
    return rateClass;
}

bool SetMembershipStatus(const QString& date, const QString& time, int court, const QString& shownName,
                         const QString& shownTelephone, const QString& rateClass, int gridCourt,
                         const QString& actionTime)
{
    const QString word = RateClassWord(rateClass);
    return RunSlotChange([&](Connection& db) {
        const std::optional<SlotRow> own = LockSlotRow(db, date, time, court);
        const QString now = own ? own->bookerName : QString();
        if (now != shownName)
            throw ChangedSinceShown(now);
        // A row carrying only the extra time of the slot before it has no booking of its own.
        if (now.isEmpty() || now.contains(ExtraTimeMark))
            throw SlotRefusal{"You cannot set empty slot"};
        if (own->paid > Money())
            throw SlotRefusal{"The slot already paid"};
        db.Execute("UPDATE tbl_booking SET b_specialrate='" + SqlQuote(rateClass) + "'" + SlotWhere(date, time, court));
        WriteRemark(db, date, time, gridCourt, "change rate",
                    " set " + word + " rate for " + own->bookerName + " " + shownTelephone, actionTime);
    });
}

void SetSlotRateClass(SlotGrid& grid, const QString& rateClass)
{
    const int row = grid.CurrentRow();
    if (const QString refusal = refusalOf(grid, row); !refusal.isEmpty()) {
        MsgBox(refusal, Msg::Critical);
        return;
    }
    ShowVerifyUser(grid.Owner());
    if (!IsUserAllowed(true))
        return;
    if (const std::optional<int> court = ChosenCourt(grid.CourtText()))
        SetMembershipStatus(grid.GridDate(), grid.RowTime(row), *court, grid.NameCell(row),
                            grid.Rows()[static_cast<size_t>(row)].telephone, rateClass, *court, grid.ActionTime());
}
