#pragma once

#include <QString>

class QWidget;
class SlotGrid;

// What the sales panels need of the main window that hosts them.
class SalesHost {
public:
    virtual ~SalesHost() = default;

    // The booking grid: its date and court, the selected hour rows, and its refresh after a sale.
    virtual SlotGrid& Grid() = 0;
    // The name of the grid's court as the floor plan shows it (lbl_FieldInfo).
    virtual QString FieldInfo() const = 0;
    // Brings the payment tab to the front.
    virtual void ShowPaymentTab() = 0;
    // Shows the change given in the last sale beside "Last Change".
    virtual void SetLastChange(const QString& change) = 0;
    // The window the sales dialogs belong to.
    virtual QWidget* Window() = 0;
};
