#include "PrinterChoice.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

class PrinterDialog : public PrinterChoice {
public:
    std::unique_ptr<QPrinter> Choose(QWidget* owner) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        QPrintDialog dialog(printer.get(), owner);
        if (dialog.exec() != QDialog::Accepted)
            return nullptr;
        return printer;
    }
};

PrinterDialog dialogChoice;
PrinterChoice* current = nullptr;

} // namespace

void SetPrinterChoice(PrinterChoice* choice) { current = choice; }

PrinterChoice& CurrentPrinterChoice() { return current ? *current : dialogChoice; }
