#include "SlotOffers.h"

#include "Prompter.h"

#include <QString>

namespace {

bool yes(const QString& question) { return MsgBox(question, Msg::YesNoCancel, "Information") == Msg::Yes; }

} // namespace

std::optional<SlotOffer> AskSlotOffer(const BookRows& rows, int row)
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
        offer.delayAsked = true;
        offer.delay = overrun;
        offer.delayAccepted = yes("The slot already occupied for " + QString::number(overrun) +
                                  " minutes by previous slot.\r\n Do you wish to delay the slot too?");
    }
    int shortenTo = 60;
    if (row == last)
        shortenTo = 60 - overrun;
    else if (rows[static_cast<size_t>(row) + 1].IsBooked())
        shortenTo = 60 + rows[static_cast<size_t>(row) + 1].delay - overrun;
    if (shortenTo < 60) {
        offer.shortenAsked = true;
        offer.shortenTo = shortenTo;
        offer.shortenAccepted =
            yes("Cannot make for complete 1 hour\r\nDo you wish to book for only " + QString::number(shortenTo) +
                " minutes?");
    }
    return offer;
}
