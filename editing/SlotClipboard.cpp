#include "SlotClipboard.h"

#include "Booking.h"
#include "Courts.h"
#include "SlotAudit.h"
#include "SlotChange.h"
#include "SlotChanges.h"
#include "SlotGrid.h"
#include "SlotOffers.h"

#include "Db.h"
#include "Globals.h"
#include "Prompter.h"
#include "SqlQuote.h"
#include "Verification.h"

#include <QDate>

namespace {

const QString EmptySlot = QStringLiteral("You cannot copy empty slot");

// Thrown to undo a clipboard change whose source row is no longer there.
struct SourceGone {};

// Empties clipboard and copies the given columns of the row that source picks into it, in one
// transaction; tells whether there was such a row (else nothing changes).
bool replaceWith(const QString& clipboard, const QString& columns, const QString& source)
{
    try {
        Db::Transaction([&](Connection& db) {
            db.Execute("DELETE FROM " + clipboard);
            if (db.Execute("INSERT INTO " + clipboard + " (" + columns + ") SELECT " + columns + " FROM " + source) == 0)
                throw SourceGone{};
        });
    } catch (const SourceGone&) {
        return false;
    }
    return true;
}

QString bookingClipboard() { return "tbl_booking_clipboard" + QString::number(CounterNumber); }

bool verified(SlotGrid& grid)
{
    ShowVerifyUser(grid.Owner());
    return IsUserAllowed(false);
}

} // namespace

std::optional<QString> SlotClipboard::CopyRefusal(const QString& nameCell)
{
    if (nameCell.isEmpty())
        return EmptySlot;
    if (nameCell.contains(ExtraTimeMark))
        return QStringLiteral("The slot is an extra time of previous slot, use the previous slot to copy");
    if (HoldsMark(nameCell, SharedBookingMark) || HoldsMark(nameCell, PartiallySharedMark))
        return QStringLiteral("You cannot copy shared booking");
    return std::nullopt;
}

void SlotClipboard::Copy(SlotGrid& grid)
{
    const int row = grid.CurrentRow();
    if (const auto refusal = CopyRefusal(row >= 1 ? grid.NameCell(row) : QString())) {
        MsgBox(*refusal, Msg::Critical);
        return;
    }
    const std::optional<int> court = ChosenCourt(grid.CourtText());
    if (!court)
        return;
    const QString date = grid.GridDate();
    const QString time = grid.RowTime(row);
    // The slot is copied as it stands now; when another station cancelled it meanwhile the clipboard
    // keeps what it held.
    if (!replaceWith(bookingClipboard(),
                     "b_datetime, b_bookertel, b_bookerorg, b_bookername, b_field, b_specialrate, b_person",
                     "tbl_booking" + SlotWhere(date, time, *court))) {
        MsgBox(EmptySlot, Msg::Critical);
        return;
    }
    SlotDate = date;
    SlotTime = time;
    SlotCourt = *court;
}

void SlotClipboard::Cut(const QString& entryId)
{
    if (entryId.isEmpty()) {
        MsgBox(EmptySlot, Msg::Critical);
        return;
    }
    // Paste and block booking read the entry from the waiting list itself, by this station's own
    // WaitListCutId, so a cut at another station never changes whom this one books.
    if (Db::Query("SELECT w_id FROM tbl_waitlist WHERE w_id='" + SqlQuote(entryId) + "'").EOF_()) {
        MsgBox(EmptySlot, Msg::Critical);
        return;
    }
    // Set last, so that a cut that failed leaves the clipboard the next paste books from as it was.
    WaitListCutId = entryId;
    PasteFromWaitList = true;
}

void SlotClipboard::Paste(SlotGrid& grid)
{
    const std::optional<Booker> booker = ClipboardBooker();
    if (!booker)
        return;
    const std::optional<std::vector<PlannedRow>> plan = PlanSelectedRows(grid, Planning::Paste);
    if (!plan)
        return;
    const std::vector<SlotToBook> hours = PlannedHours(grid, grid.GridDate(), *plan);
    if (hours.empty())
        return;
    if (verified(grid))
        BookSlots(grid, hours, *booker, grid.CourtText(),
                  PasteFromWaitList ? CutEntry::TakenWithBooker : CutEntry::Untouched);
    grid.RefreshView();
}

void SlotClipboard::BlockBook(SlotGrid& grid, int furtherWeeks)
{
    const QDate first = QDate::fromString(grid.GridDate(), "yyyy-MM-dd");
    if (first.isValid() && verified(grid)) {
        QStringList dates;
        for (int week = 0; week <= furtherWeeks; ++week)
            dates << first.addDays(7 * week).toString("yyyy-MM-dd");
        Block_Booking(grid, dates);
    }
    grid.RefreshView();
}
