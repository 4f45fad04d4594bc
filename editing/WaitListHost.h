#pragma once

#include <QString>

class QWidget;

// What the waiting list reads of the window it lives in: the date and court type chosen on the
// waiting-list tab, and the window its dialogs belong to.
class WaitListHost {
public:
    virtual ~WaitListHost() = default;

    // The waiting-list calendar's date, "yyyy-mm-dd".
    virtual QString WaitListDate() const = 0;
    // The court type picked on the waiting-list plan, as decimal text.
    virtual QString WaitListFieldType() const = 0;
    virtual QWidget* Owner() = 0;
};
