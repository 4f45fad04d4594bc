#pragma once

#include <QString>
#include <optional>

class SlotGrid;

// The slot clipboard: a booked slot copied from the grid into this station's tbl_booking_clipboard<n>,
// or a waiting-list entry cut (this station's WaitListCutId), and the paste and block booking that
// book the grid's selected rows for that booker.
class SlotClipboard {
public:
    // Why the slot a row's name column shows cannot be copied (nor its player count changed); none
    // when it can.
    static std::optional<QString> CopyRefusal(const QString& nameCell);

    // Copies the booker of the grid's focused slot; it becomes the slot that paste and block booking
    // book from. A slot that has no booking by now is refused, and the clipboard stays as it was.
    static void Copy(SlotGrid& grid);

    // Cuts the waiting-list entry entryId (empty: none chosen); until it is booked, paste and block
    // booking book this station's entry.
    static void Cut(const QString& entryId);

    // Books the grid's selected rows for the clipboard's booker, each free row after its own questions
    // about the slots before and after it (a row answered No is left out, Cancel ends the paste), in
    // one transaction that judges them again on the court as it is then; then redraws the grid.
    static void Paste(SlotGrid& grid);

    // Books the grid's selected rows for the clipboard's booker on the grid's date and the same weekday
    // of the furtherWeeks weeks after it, in one transaction; then redraws the grid.
    static void BlockBook(SlotGrid& grid, int furtherWeeks);
};
