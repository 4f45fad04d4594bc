#pragma once

#include "BookRows.h"

#include <QString>

class QWidget;

// What the booking operations read of the main window's grid and ask of it. The main window is
// the one grid there is; tests put a grid of their own in its place.
class SlotGrid {
public:
    virtual ~SlotGrid() = default;

    // The business date the grid shows, "yyyy-mm-dd".
    virtual QString GridDate() const = 0;
    // The text of the court box, a court number.
    virtual QString CourtText() const = 0;
    // The number of hour rows; rows are counted from 1.
    virtual int RowCount() const = 0;
    // The row's text, "14:00 to 15:00"; its first five characters are the slot time.
    virtual QString RowText(int row) const = 0;
    virtual QString NameCell(int row) const = 0;
    virtual QString PaidCell(int row) const = 0;
    virtual bool IsSelected(int row) const = 0;
    // The focused row, 0 when there is none.
    virtual int CurrentRow() const = 0;
    // The records of the last refresh, element r for row r.
    virtual const BookRows& Rows() const = 0;
    // The clock caption written as the action time of every audit row.
    virtual QString ActionTime() const = 0;
    // The window that verification dialogs and the booker dialog belong to.
    virtual QWidget* Owner() = 0;

    // Redraws the grid from the database; returns 1.
    virtual int RefreshView() = 0;
    // Called after a booked waiting-list entry was removed.
    virtual void RefreshWaitList() {}

    QString RowTime(int row) const { return RowText(row).left(5); }
};
