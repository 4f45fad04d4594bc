#include "SlotOffers.h"
#include "SlotChange.h"
#include "SlotGrid.h"
#include "SlotTiming.h"

#include "Prompter.h"

#include <QString>

namespace {

// Yes, No, or none for Cancel.
std::optional<bool> ask(const QString& question)
{
    const int answer = MsgBox(question, Msg::YesNoCancel, "Information");
    if (answer == Msg::Yes || answer == Msg::No)
        return answer == Msg::Yes;
    return std::nullopt;
}

// What the user answered about booking a free row into which the slot before it runs, or whose
// next slot starts early: a delay past the previous slot's end, a shorter length before the next
// slot's start. An offer not made counts as declined.
struct SlotOffer {
    bool delayAsked = false;
    bool delayAccepted = false;
    int delay = 0;
    bool shortenAsked = false;
    bool shortenAccepted = false;
    int shortenTo = 60;
};

// Asks the questions of booking row (1 up to rows.size() - 1) on the given rows. A previous slot that
// fills the whole hour is refused with "The time for this slot has been used by previous slot", and
// Cancel (or Esc) on a question ends the asking: both give none. When carriesDelay, the row before is
// one the same command books, so a delay into this row follows it without a question.
std::optional<SlotOffer> AskSlotOffer(const BookRows& rows, int row, bool carriesDelay)
{
    const int last = static_cast<int>(rows.size()) - 1;
    SlotOffer offer;
    if (row < 2)
        return offer;
    const BookRow& previous = rows[static_cast<size_t>(row) - 1];
    const int overrun = previous.IsBooked() ? previous.Overrun() : 0;
    if (overrun >= 60) {
        MsgBox("The time for this slot has been used by previous slot", Msg::OKOnly, "Information");
        return std::nullopt;
    }
    if (overrun > 0) {
        offer.delayAsked = !carriesDelay;
        offer.delay = overrun;
        if (carriesDelay) {
            offer.delayAccepted = true;
        } else {
            const std::optional<bool> yes = ask("The slot already occupied for " + QString::number(overrun) +
                                                " minutes by previous slot.\r\n Do you wish to delay the slot too?");
            if (!yes)
                return std::nullopt;
            offer.delayAccepted = *yes;
        }
    }
    int shortenTo = 60;
    if (row == last)
        shortenTo = 60 - overrun;
    else if (rows[static_cast<size_t>(row) + 1].IsBooked())
        shortenTo = 60 + rows[static_cast<size_t>(row) + 1].delay - overrun;
    if (shortenTo < 60) {
        offer.shortenAsked = true;
        offer.shortenTo = shortenTo;
        const std::optional<bool> yes = ask("Cannot make for complete 1 hour\r\nDo you wish to book for only " +
                                            QString::number(shortenTo) + " minutes?");
        if (!yes)
            return std::nullopt;
        offer.shortenAccepted = *yes;
    }
    return offer;
}

} // namespace

std::optional<std::vector<PlannedRow>> PlanSelectedRows(const SlotGrid& grid, Planning planning)
{
    const bool bookAction = planning == Planning::BookAction;
    const QString date = grid.GridDate();
    // The rows as they will stand once the rows planned so far are booked.
    BookRows planned = grid.Rows();
    std::vector<bool> ours(planned.size());
    std::vector<PlannedRow> result;
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (!grid.IsSelected(row))
            continue;
        const auto r = static_cast<size_t>(row);
        const bool past = IsPastSlot(grid.RowTime(row), date);
        const bool taken = !grid.NameCell(row).isEmpty();
        if (bookAction && (past || taken)) {
            MsgBox(past ? "You cannot book previous entry" : SlotTakenMessage, Msg::Critical);
            return std::nullopt;
        }
        if (past || taken) {
            result.push_back({row});
            continue;
        }
        const std::optional<SlotOffer> offer = AskSlotOffer(planned, row, ours[r - 1]);
        if (!offer)
            return std::nullopt;
        // A declined delay would start in the slot before; a declined shortening would run into the
        // slot after: neither is booked.
        const bool declined = (offer->delayAsked && !offer->delayAccepted) ||
                              (offer->shortenAsked && !offer->shortenAccepted);
        if (declined && bookAction)
            return std::nullopt;
        if (declined)
            continue;
        PlannedRow slot{row, offer->delayAccepted ? offer->delay : 0, offer->shortenAccepted ? offer->shortenTo : 60};
        result.push_back(slot);
        ours[r] = true;
        planned[r].bookerName = QStringLiteral("(booked by this command)");
        planned[r].delay = static_cast<int16_t>(slot.delay);
        planned[r].playLength = static_cast<int16_t>(slot.playLength);
    }
    return result;
}

std::vector<SlotToBook> PlannedHours(const SlotGrid& grid, const QString& date, const std::vector<PlannedRow>& plan)
{
    std::vector<SlotToBook> hours;
    for (const PlannedRow& planned : plan)
        hours.push_back({date, grid.RowTime(planned.row), planned.delay, planned.playLength});
    return hours;
}
