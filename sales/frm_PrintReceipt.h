#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

class QPrinter;
class SlotGrid;

// One row of a printed receipt or invoice, as it prints.
struct ReceiptLine {
    QString item;
    QString description;
    QString unitPrice;
    QString quantity;
    QString price;
};

// What a receipt or invoice prints, filled before it is printed; tests read it.
struct ReceiptContent {
    QString title;
    QString numberLine;        // "NO A 0007"
    QString amount;            // "$ 7.50"
    QStringList address;       // five lines, empty ones included
    QStringList contact;       // four lines
    QString issued;            // "Issued By: counter"
    QString time;
    QString date;              // "Date: 08/12/2026"
    std::vector<ReceiptLine> lines;

    // Eleven lines to a page, the total on the last page.
    static constexpr int LinesPerPage = 11;
    int PageCount() const;
};

// Fills the form with the station's receipt and prints it; a printer that cannot be written to
// is told to the user.
void PrintStationReceipt(QPrinter& printer, int receipt);

// "NO ", the station letter (A for station 1), a blank and the number with at least four digits.
QString ReceiptNumberLine(int counter, int number);

// The printed receipt and invoice of the station: the centre's logo, address and contact lines
// (read once, at the first use), a title, a number, the lines and the total.
class frm_PrintReceipt {
public:
    static frm_PrintReceipt& Default();

    // The title: "OFFICIAL RECEIPT", or "INVOICE" while an invoice is filled and printed.
    QString Label2 = QStringLiteral("OFFICIAL RECEIPT");

    // Fills the form with the station's journal lines of the receipt.
    void GenerateReceiptContent(int ReceiptNumber);
    // Fills the form with the selected hours of the grid, priced as the cart prices them without
    // play length or players; courtName is the grid's court as the lines show it. The invoice's
    // number is set once it is given.
    void GenerateInvoiceContent(SlotGrid& grid, const QString& courtName);
    void SetNumber(int number);

    const ReceiptContent& Content() const { return m_content; }
    // Prints the filled form on the printer; false when the printer cannot be written to.
    bool PrintForm(QPrinter& printer) const;

private:
    frm_PrintReceipt();
    void fillHeader(int number);

    QImage m_logo;
    QStringList m_address;
    QStringList m_contact;
    ReceiptContent m_content;
};
