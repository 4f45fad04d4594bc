#pragma once

#include <memory>

class QPrinter;
class QWidget;

// Where a receipt or invoice goes: the printer dialog asks the user, tests print to PDF files.
class PrinterChoice {
public:
    virtual ~PrinterChoice() = default;
    // The chosen printer, or none when the user cancelled: then nothing is printed or numbered.
    virtual std::unique_ptr<QPrinter> Choose(QWidget* owner) = 0;
};

// Installs the choice used from now on; null puts back the printer dialog.
void SetPrinterChoice(PrinterChoice* choice);
PrinterChoice& CurrentPrinterChoice();
