#include "PlayerCountChange.h"
#include "SlotClipboard.h"

#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"

#include "Prompter.h"
#include "Verification.h"

#include "Connection.h"

bool PlayerCountChange::MayChange(SlotGrid& grid)
{
    const int row = grid.CurrentRow();
    if (const auto refusal = SlotClipboard::CopyRefusal(row >= 1 ? grid.NameCell(row) : QString())) {
        MsgBox(*refusal, Msg::Critical);
        return false;
    }
    ShowVerifyUser(grid.Owner());
    return IsUserAllowed(false);
}

void PlayerCountChange::Write(const QString& date, const QString& time, int court, const QString& shownName,
                              int players, const QString& actionTime)
{
    RunSlotChange([&](Connection& db) {
        Recordset rs = db.Query("SELECT b_person, b_bookername FROM tbl_booking" + SlotWhere(date, time, court) +
                                " FOR UPDATE");
        if (rs.EOF_())
            throw SlotRefusal{"The field is empty"};
        if (rs["b_bookername"].Value() != shownName)
            throw ChangedSinceShown(rs["b_bookername"].Value());
        const QString previous = rs["b_person"].Value();
        db.Execute("UPDATE tbl_booking SET b_person=" + QString::number(players) + SlotWhere(date, time, court));
        WriteRemark(db, date, time, court, "change",
                    " number of person playing from " + previous + " to " + QString::number(players), actionTime);
    });
}
