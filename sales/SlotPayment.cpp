#include "SlotPayment.h"
#include "Cart.h"
#include "Rates.h"
#include "Sale.h"

#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotGrid.h"
#include "SlotInfo.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"

#include "Vb.h"

#include <QDate>

namespace {

// The cart refuses a row with the first of these that applies.
QString refusalOf(const SlotGrid& grid, int row)
{
    const QString name = grid.NameCell(row);
    if (name.isEmpty())
        return "You cannot pay empty slot";
    if (!grid.PaidCell(row).isEmpty())
        return "The slot already paid";
    if (name.contains(ExtraTimeMark))
        return "The slot is an extra time of previous slot, use the previous slot to pay for it";
    if (HoldsMark(name, PartiallySharedMark))
        return "The slot is booked by one or more individual slots";
    if (HoldsMark(name, SharedBookingMark))
        return "Please pay via master slots";
    return {};
}

QString printed(double quantity) { return QString::number(quantity, 'g', 15); }

std::optional<SlotBooking> readBooking(const QString& date, const QString& time, int court)
{
    Recordset rs = Db::Query("SELECT " + SlotBookingColumns + " FROM tbl_booking" + SlotWhere(date, time, court));
    if (rs.EOF_())
        return std::nullopt;
    return ReadSlotBooking(rs, 0);
}

} // namespace

Money PerMinutes(Money rate, int minutes)
{
    const int64_t scaled = rate.Cents() * minutes;
    return Money::FromCents((scaled >= 0 ? scaled + 30 : scaled - 30) / 60);
}

SlotPrice PriceWithExtraTime(Money rate, int extraMinutes)
{
    if (extraMinutes <= 0)
        return {rate, "1"};
    return {rate + PerMinutes(rate, extraMinutes), printed(1 + extraMinutes / 60.0)};
}

int PaySelectedSlots(SlotGrid& grid, const QString& courtName, Cart& cart)
{
    int added = 0;
    const QString date = grid.GridDate();
    const QDate day = QDate::fromString(date, "yyyy-MM-dd");
    const int court = Vb::CInt(grid.CourtText());
    for (int row = 1; row <= grid.RowCount(); ++row) {
        if (!grid.IsSelected(row))
            continue;
        const QString refusal = refusalOf(grid, row);
        if (!refusal.isEmpty()) {
            MsgBox(refusal, Msg::Critical);
            return added;
        }
        const QString time = grid.RowTime(row);
        // The hour is sold for the booking the cashier saw, and later only while the slot still holds it.
        const std::optional<SlotBooking> booking = readBooking(date, time, court);
        if (!booking || booking->name != grid.NameCell(row)) {
            MsgBox(ChangedSinceShown(booking ? booking->name : QString()).message, Msg::Critical);
            return added;
        }
        const QString rateClass = ShowSpecialRateInfo(grid, date, time);
        int16_t hour = Vb::CInt(time.left(2));
        const Money rate = CalcFieldRate(static_cast<int16_t>(court), hour, WeekdayName(day), rateClass).value_or(Money());
        const int extra = ShowExtraTimeInfo(grid, date, time);
        const int length = ShowPlayLengthInfo(grid, date, time);

        CartLine line;
        line.kind = CartLine::Kind::Slot;
        line.tag = PitchTag;
        line.court = court;
        line.slotDate = date;
        line.slotTime = time;
        // The line is sold later only for the booking as it was priced, read by the steps above.
        line.booking = *booking;
        line.booking.rateClass = rateClass;
        line.booking.customLength = length;
        line.booking.extraTime = extra;
        line.unitPrice = rate;
        line.text = courtName + " " + day.toString("dd/MM/yyyy") + " " + time;
        // The quantity of the line, as the number prints; each rule below overwrites the one before.
        const SlotPrice price = PriceWithExtraTime(rate, extra);
        line.amount = price.amount;
        QString QuantityHour = price.quantity;
        if (length > 0) {
            line.amount = PerMinutes(rate, length);
            QuantityHour = printed(length / 60.0);
        }
        if (PerPersonChargingOn == 1) {
            const int players = GetSlotPlayers(grid, date, time);
            // A slot sold for nobody would be recorded at 0.00 and still read as unpaid.
            if (players <= 0) {
                MsgBox("The slot has no players: set its player count before paying for it", Msg::Critical);
                return added;
            }
            line.amount = Money::FromCents(rate.Cents() * players);
            QuantityHour = QString::number(players);
            line.booking.person = players;
        }
        line.quantity = QuantityHour;
        if (cart.HoldsSlot(line)) {
            MsgBox("Already in the payment list");
            return added;
        }
        cart.Add(line);
        ++added;
    }
    return added;
}
