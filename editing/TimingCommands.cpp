#include "TimingCommands.h"

#include "SlotAudit.h"
#include "SlotChanges.h"
#include "SlotGrid.h"
#include "SlotTiming.h"

#include "Prompter.h"

namespace {

void setLength(SlotGrid& grid, int row, int minutes, LengthMethod method)
{
    const BookRow& slot = grid.Rows()[static_cast<size_t>(row)];
    if (!slot.IsBooked())
        return;
    if (minutes > slot.playLength && isDelayConflict(grid.Rows(), row, slot.delay + minutes - slot.playLength)) {
        MsgBox("conflicting! cannot delay");
        return;
    }
    SetSlotLength(grid, row, minutes, method);
}

} // namespace

void TimingCommands::ClearExtraTime(SlotGrid& grid)
{
    if (grid.CurrentRow() >= 1)
        setLength(grid, grid.CurrentRow(), 60, LengthMethod::ExtraTime);
}

void TimingCommands::StartAtBeginning(SlotGrid& grid) { doDelay(grid, 0, false); }

void TimingCommands::SetDuration(SlotGrid& grid, int minutes)
{
    const int row = grid.CurrentRow();
    if (row < 1)
        return;
    if (const auto refusal = SharedRowRefusal(grid.NameCell(row), "set")) {
        MsgBox(*refusal, Msg::Critical);
        return;
    }
    setLength(grid, row, minutes, LengthMethod::Shorten);
}
