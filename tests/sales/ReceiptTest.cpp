#include "SalesFixture.h"

#include "Sale.h"
#include "frm_PrintReceipt.h"

#include "Db.h"
#include "Globals.h"
#include "Numbering.h"

#include <QPrinter>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class Receipt : public SalesTest {
protected:
    // Journal lines of transaction 5, and an earlier receipt 6, so that the next receipt is 7.
    void journal(int lines)
    {
        Db::Execute("INSERT INTO tbl_counter1 SET c_item='Old sale', c_itemtotal=1, c_transaction=4, c_receipt=6");
        for (int i = 1; i <= lines; ++i)
            Db::Execute("INSERT INTO tbl_counter1 SET c_item='Line " + QString::number(i) +
                        "', c_itemprice=2.5, c_itemquantity=1.5, c_itemtotal=3.75, c_transaction=5, c_receipt=0");
    }

    QString print(int receipt)
    {
        PrintStationReceipt(*printer.Choose(nullptr), receipt);
        return printer.Path(printer.printed);
    }

    static QString squeezed(const QString& text) { return QString(text).replace(QRegularExpression("\\s+"), " "); }

    PdfPrinter printer;
};

TEST_F(Receipt, AReceiptPrintsTheCentreItsNumberLinesAndTotal)
{
    journal(3);
    const int receipt = AssignReceiptNumber("5");
    EXPECT_EQ(receipt, 7);
    const QString pdf = print(receipt);
    const QString text = squeezed(PdfText(pdf));
    for (const char* expected : {"Riverside Sports Centre", "12 Quay Road", "Harbour Town", "Tel 555-0100",
                                 "OFFICIAL RECEIPT", "NO A 0007", "TOTAL AMOUNT", "$ 11.25", "Issued By: counter",
                                 "Date: 08/12/2026", "1 Line 1 2.50 1.5 3.75", "3 Line 3 2.50 1.5 3.75"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("Old sale"));
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_EQ(ReceiptNumberLine(2, 12), "NO B 0012");
}

TEST_F(Receipt, MoreThanElevenLinesGoOnANextPageWithTheTotalOnTheLast)
{
    journal(15);
    const QString pdf = print(AssignReceiptNumber("5"));
    ASSERT_EQ(PdfPages(pdf), 2);
    const QString first = squeezed(PdfText(pdf, 1));
    const QString second = squeezed(PdfText(pdf, 2));
    EXPECT_TRUE(first.contains("11 Line 11")) << first.toStdString();
    EXPECT_FALSE(first.contains("Line 12"));
    EXPECT_FALSE(first.contains("$ 56.25"));
    EXPECT_TRUE(second.contains("15 Line 15")) << second.toStdString();
    EXPECT_TRUE(second.contains("$ 56.25"));
    EXPECT_TRUE(second.contains("NO A 0007"));
}

TEST_F(Receipt, AnInvoicePricesTheSelectedHoursWithTheirExtraTime)
{
    book("16:00", "b_bookername='Riverside FC'");
    book("17:00", "b_bookername='Riverside FC', b_extratime=30");
    grid.RefreshView();
    grid.Select({"16:00", "17:00"});
    frm_PrintReceipt& form = frm_PrintReceipt::Default();
    form.Label2 = "INVOICE";
    form.GenerateInvoiceContent(grid, host.FieldInfo());
    form.SetNumber(3);
    form.Label2 = "OFFICIAL RECEIPT";
    ASSERT_EQ(form.Content().lines.size(), 2u);
    const ReceiptLine& second = form.Content().lines[1];
    EXPECT_EQ(QStringList({second.item, second.description, second.unitPrice, second.quantity, second.price}),
              QStringList({"2", "Court 4 08/12/2026 17:00", "40.00", "1.5", "60.00"}));

    auto pdf = printer.Choose(nullptr);
    ASSERT_TRUE(form.PrintForm(*pdf));
    const QString text = squeezed(PdfText(printer.Path(1)));
    for (const char* expected : {"INVOICE", "NO A 0003", "$ 100.00", "1 Court 4 08/12/2026 16:00 40.00 1 40.00"})
        EXPECT_TRUE(text.contains(expected)) << expected << "\n" << text.toStdString();
}

TEST_F(Receipt, APrinterThatCannotBeWrittenToIsTold)
{
    journal(1);
    QPrinter unwritable(QPrinter::HighResolution);
    unwritable.setOutputFormat(QPrinter::PdfFormat);
    unwritable.setOutputFileName("/nonexistent-folder/receipt.pdf");
    PrintStationReceipt(unwritable, 6);
    EXPECT_EQ(prompter.prompts(), QStringList{"The receipt could not be printed: the printer cannot be written to."});
}

}
