#pragma once

#include "CartLine.h"
#include "PrinterChoice.h"
#include "SalesHost.h"

#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "TempWindowsDir.h"
#include "TestGrid.h"

#include <QTemporaryDir>
#include <QWidget>

// The payment tab's window: the test grid, the court's name and what the sales write back.
class TestHost : public SalesHost {
public:
    explicit TestHost(TestGrid& grid) : grid(grid) {}
    SlotGrid& Grid() override { return grid; }
    QString FieldInfo() const override { return "Court " + QString::number(grid.court.toInt() + 1); }
    void ShowPaymentTab() override { ++paymentTabShown; }
    void SetLastChange(const QString& change) override { lastChange = change; }
    QWidget* Window() override { return &window; }

    TestGrid& grid;
    QWidget window;
    int paymentTabShown = 0;
    QString lastChange;
};

// Prints into numbered PDF files of a folder of its own, or cancels like a user in the dialog.
class PdfPrinter : public PrinterChoice {
public:
    PdfPrinter();
    ~PdfPrinter() override;
    std::unique_ptr<QPrinter> Choose(QWidget* owner) override;

    bool cancel = false;
    // Printing then fails: the file's folder does not exist.
    bool unwritable = false;
    int printed = 0;
    QString Path(int n) const;

private:
    QTemporaryDir m_dir;
};

// pdftotext's reading of one page (0: all pages), and the page count.
QString PdfText(const QString& pdf, int page = 0);
int PdfPages(const QString& pdf);

// The centre of the sales tests: the test centre at 8 Dec 2026 14:05, a rate of 40.00 on every
// court and hour for every class but special group 1 (20.00), the demo's shop items.
class SalesTest : public DatabaseTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Books court 3 at the hour of the grid's day with the given columns.
    static void book(const QString& time, const QString& columns, int court = 3);
    // A cart line of quantity shop items of the type at the unit price.
    static CartLine shopLine(const QString& name, const QString& type, int cents, int quantity);

    TempWindowsDir windows;
    ScriptedPrompter prompter;
    TestGrid grid{"2026-12-08", 3};
    TestHost host{grid};
};
