#include "TimingCommands.h"

#include "SlotAudit.h"
#include "SlotChanges.h"
#include "SlotGrid.h"
#include "SlotTiming.h"

#include "Prompter.h"

namespace {

// verb names the command in the refusal of a row that holds a marker.
void setLength(SlotGrid& grid, int row, int minutes, LengthMethod method, const QString& verb)
{
    if (const auto refusal = SharedRowRefusal(grid.NameCell(row), verb)) {
        MsgBox(*refusal, Msg::Critical);
        return;
    }
    const BookRow& slot = grid.Rows()[static_cast<size_t>(row)];
    if (!slot.IsBooked())
        return;
    if (minutes > slot.playLength && isDelayConflict(grid.Rows(), row, slot.delay + minutes - slot.playLength)) {
        MsgBox("conflicting! cannot delay");
        return;
    }
    SetSlotLength(grid, row, minutes, method, verb);
}

} // namespace

void TimingCommands::ClearExtraTime(SlotGrid& grid)
{
    if (grid.CurrentRow() >= 1)
        setLength(grid, grid.CurrentRow(), 60, LengthMethod::ExtraTime, "clear the extra time of");
}

void TimingCommands::StartAtBeginning(SlotGrid& grid) { doDelay(grid, 0, false); }

void TimingCommands::SetDuration(SlotGrid& grid, int minutes)
{
    if (grid.CurrentRow() >= 1)
        setLength(grid, grid.CurrentRow(), minutes, LengthMethod::Shorten, "set");
}
