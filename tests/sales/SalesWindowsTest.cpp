#include "SalesFixture.h"

#include "CartPanel.h"
#include "Invoice.h"
#include "StorePanel.h"
#include "frm_Calculator.h"
#include "Sale.h"
#include "frm_Change.h"
#include "frm_Item.h"
#include "frm_MiscItem.h"

#include "Db.h"
#include "Globals.h"
#include "CountingPrompter.h"
#include "DatabaseProxy.h"
#include "ModalDialog.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

class SalesWindows : public SalesTest {
protected:
    void SetUp() override
    {
        SalesTest::SetUp();
        DrawerCommPort = 9;
    }

    static QStringList cartRows(const CartPanel& cart)
    {
        QStringList rows;
        for (int i = 0; i < cart.ListView_Cart->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = cart.ListView_Cart->topLevelItem(i);
            rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join('|');
        }
        return rows;
    }
};

TEST_F(SalesWindows, ThePadTakesDigitsBackspaceAndEnterAndRefusesTooLargeAQuantity)
{
    frm_Calculator pad(nullptr);
    pad.lbl_Key[9]->click();
    pad.lbl_Key[2]->click();
    QTest::keyClicks(&pad, "7x");
    EXPECT_EQ(pad.lbl_Number->text(), "077");
    QTest::keyClick(&pad, Qt::Key_Backspace);
    QTest::keyClicks(&pad, "7000");
    QTest::keyClick(&pad, Qt::Key_Return);
    EXPECT_EQ(prompter.prompts(), QStringList{"The quantity cannot be more than 32767"});
    EXPECT_EQ(pad.result(), QDialog::Rejected);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&pad, Qt::Key_Backspace);
    QTest::keyClick(&pad, Qt::Key_Return);
    EXPECT_EQ(pad.result(), QDialog::Rejected) << "Enter with no number does nothing";
    QTest::keyClicks(&pad, "007");
    pad.lbl_OK->click();
    EXPECT_EQ(pad.result(), QDialog::Accepted);
    EXPECT_EQ(pad.Quantity(), "007");
}

TEST_F(SalesWindows, TheStoreListsShownItemsByTypeAndKeepsTheChosenItemsPrice)
{
    Db::Execute("UPDATE tbl_item SET i_show=0 WHERE i_name='Grip Tape'");
    CartPanel cart(host);
    StorePanel store(cart);
    EXPECT_EQ(store.RefreshStore(), 1);
    EXPECT_EQ(store.ListView_Store->topLevelItemCount(), 5);
    EXPECT_EQ(store.ListView_Store->topLevelItem(0)->text(1) + " " + store.ListView_Store->topLevelItem(4)->text(2),
              "1.50 F6") << "drinks first, then food, gear and misc";

    WhenModalShown([](QWidget* pad) { QTest::keyClicks(pad, "500\r"); });
    EXPECT_TRUE(store.FunctionKey(5));
    EXPECT_EQ(store.lbl_ItemPrice->text(), "2,500.00");
    EXPECT_FALSE(store.FunctionKey(16));
    // Another row selected meanwhile does not change what the panel's item costs.
    store.ListView_Store->setCurrentItem(store.ListView_Store->topLevelItem(0));
    WhenModalShown([](QWidget* pad) { QTest::keyClicks(pad, "3\r"); });
    QTest::mouseClick(store.txt_ItemQuantity, Qt::LeftButton);
    EXPECT_EQ(cartRows(cart), (QStringList{"Futsal Ball Rental|5.00|500|2,500.00", "Futsal Ball Rental|5.00|3|15.00"}));
    EXPECT_EQ(cart.lbl_TotalPrice->text(), "2515.00");

    WhenModalShown([this](QWidget* dialog) {
        auto* misc = static_cast<frm_MiscItem*>(dialog);
        QTest::keyClicks(misc->txt_TextItem, "towel");
        misc->txt_ItemPrice->setText("1e308");
        misc->txt_OK->click();
        EXPECT_TRUE(misc->isVisible()) << "a price that is no number keeps the dialog open";
        misc->txt_ItemPrice->setText("12.5");
        misc->txt_OK->click();
    });
    EXPECT_TRUE(store.FunctionKey(6));
    EXPECT_EQ(cartRows(cart).last(), "additional towel|12.50|1|12.50");
    EXPECT_EQ(prompter.prompts(), QStringList{"The price must be a number, for example 12.50"});
    // The quantity label asks again for the misc line just entered, at its typed price.
    WhenModalShown([](QWidget* pad) { QTest::keyClicks(pad, "3\r"); });
    QTest::mouseClick(store.txt_ItemQuantity, Qt::LeftButton);
    EXPECT_EQ(cartRows(cart).last(), "additional towel|12.50|3|37.50");

    cart.ListView_Cart->setCurrentItem(cart.ListView_Cart->topLevelItem(0));
    cart.btn_Delete_Click();
    EXPECT_EQ(cart.lbl_TotalPrice->text(), "65.00");
    cart.btn_Reset_Click();
    EXPECT_EQ(cart.lbl_TotalPrice->text(), "");
    EXPECT_EQ(store.txt_ItemInfo->text() + store.txt_ItemQuantity->text() + store.lbl_ItemPrice->text(), "");
}

TEST_F(SalesWindows, ThePaymentTakesTillDigitsRecordsOnceAndPrintsOnlyWhenAsked)
{
    CartPanel oversize(host);
    oversize.AddLine(shopLine("Futsal Ball Rental", "Gear", 50000000, 32767));
    // Told as the line the journal cannot hold, though no amount the till takes would pay it.
    frm_Change(oversize, host).btn_OK_Click();
    EXPECT_TRUE(prompter.prompts().value(0).startsWith("The line Futsal Ball Rental (price 500000.00, quantity 32767"));
    prompter.clear();

    CartPanel cart(host);
    cart.AddLine(shopLine("Futsal Ball Rental", "Gear", 4500, 1));
    PdfPrinter printer;
    frm_Change change(cart, host);
    EXPECT_EQ(change.txt_Total->text(), "45.00");
    EXPECT_FALSE(change.btn_PrintReceipt->isEnabled()) << "nothing to number before the sale is recorded";

    change.btn_OK_Click();
    QTest::keyClicks(change.btn_OK, "1250");
    EXPECT_EQ(change.txt_AmountPaid->text(), "12.50");
    QTest::keyClick(change.btn_Cancel, Qt::Key_Backspace);
    EXPECT_EQ(change.txt_AmountPaid->text() + " " + change.txt_Change->text(), "1.25 -43.75");
    change.btn_OK_Click();
    EXPECT_EQ(prompter.prompts(), (QStringList{"Incorrect amount given!", "Incorrect amount given!"}));
    for (int i = 0; i < 3; ++i)
        change.Form_KeyPress(8);
    QTest::keyClicks(&change, "5000");
    EXPECT_EQ(change.txt_AmountPaid->text() + " " + change.txt_Change->text(), "50.00 5.00");

    prompter.clear();
    change.btn_OK_Click();
    EXPECT_EQ(count("tbl_counter1"), 1);
    EXPECT_FALSE(change.btn_OK->isEnabled());
    EXPECT_FALSE(change.btn_Cancel->isEnabled());
    EXPECT_TRUE(change.btn_PrintReceipt->isEnabled());
    EXPECT_EQ(host.lastChange, "5.00");

    printer.cancel = true;
    change.btn_PrintReceipt_Click();
    EXPECT_EQ(scalar("SELECT MAX(c_receipt) FROM tbl_counter1"), "0") << "a cancelled printer numbers nothing";
    printer.cancel = false;
    change.btn_PrintReceipt_Click();
    change.btn_PrintReceipt_Click();
    EXPECT_EQ(printer.printed, 2);
    EXPECT_TRUE(PdfText(printer.Path(2)).contains("NO A 0001"));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(log_do ORDER BY log_datetime) FROM tbl_log WHERE log_do LIKE 'Receipt%'"),
              "Receipt Printed 1,Receipt Printed 1");
    QTest::keyClick(&change, Qt::Key_Escape);
    EXPECT_TRUE(cart.Contents().IsEmpty()) << "a recorded sale leaves nothing to pay twice";
    EXPECT_EQ(scalar("SELECT i_currentstock FROM tbl_item WHERE i_name='Futsal Ball Rental'"), "9.00");
}

TEST_F(SalesWindows, ACartLineAddedBeforeASlotPaymentFailedIsShown)
{
    book("16:00", "b_bookername='Ann'");
    book("17:00", "b_bookername='Bo', b_specialrate='member'");
    grid.RefreshView();
    grid.Select({"16:00", "17:00"});
    // The database loses the rate table while the cashier reads the second hour's rate class.
    struct RatesGoMeanwhile : CountingPrompter {
        int MsgBox(const QString& prompt, int style, const QString& title) override
        {
            if (prompt == "The customer got member rate")
                Db::Execute("RENAME TABLE tbl_rate TO tbl_rate_gone");
            return CountingPrompter::MsgBox(prompt, style, title);
        }
    } failing;
    CartPanel cart(host);
    cart.btn_Paid_Click();
    EXPECT_TRUE(failing.prompts.last().contains("tbl_rate")) << failing.prompts.join('\n').toStdString();
    EXPECT_EQ(cartRows(cart), QStringList{"Court 4 08/12/2026 16:00|40.00|1|40.00"});
    EXPECT_EQ(cart.lbl_TotalPrice->text(), "40.00");
    EXPECT_EQ(host.paymentTabShown, 1);
}

// The link to the server breaks while a sale, its receipt's number or an invoice is committed. The
// station finds out what the server did before it does anything again and tells it: the court hour
// and the items are sold once, and each receipt and invoice gets one number.
TEST_F(SalesWindows, ASaleReceiptOrInvoiceWhoseCommitWasLostIsLookedUpBeforeItIsDoneAgain)
{
    PdfPrinter printer;
    book("19:00", "b_bookername='Anna Lindqvist', b_specialrate='member'");
    grid.RefreshView();
    grid.Select({"19:00"});
    CartPanel cart(host);
    cart.btn_Paid_Click();
    const CartLine water = shopLine("Mineral Water", "Drink", 150, 2);
    cart.AddLine(water);
    DatabaseProxy proxy;
    ::ConnectionString = proxy.ConnectionString();
    const QString unknown = "The connection to the database was lost while the sale was being recorded, and whether "
                            "it was recorded cannot be told while the database does not answer. The payment stays "
                            "open: press OK once the database is back, and the sale is looked up before anything is "
                            "recorded again.";
    {
        frm_Change change(cart, host);
        QTest::keyClicks(&change, "5000");
        // The server commits, its reply is lost, and then it cannot be reached to be asked.
        proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
        prompter.clear();
        change.btn_OK_Click();
        ASSERT_TRUE(proxy.Lost());
        QTest::keyClick(&change, Qt::Key_Escape);
        EXPECT_EQ(prompter.prompts(), (QStringList{unknown, unknown})) << "Esc cannot leave with the cart kept";
        EXPECT_TRUE(change.btn_OK->isEnabled());

        proxy.SetRefusing(false);
        prompter.clear();
        change.btn_OK_Click();
        EXPECT_EQ(prompter.prompts().first(),
                  "The database did not confirm the sale, but it was recorded as transaction 1.");
        EXPECT_FALSE(change.btn_OK->isEnabled());
        EXPECT_TRUE(change.btn_PrintReceipt->isEnabled());

        proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
        prompter.clear();
        change.btn_PrintReceipt_Click();
        ASSERT_TRUE(proxy.Lost());
        proxy.SetRefusing(false);
        change.btn_PrintReceipt_Click();
        EXPECT_EQ(prompter.prompts(),
                  QStringList{"The connection to the database was lost while the receipt was being numbered, and "
                              "whether it was numbered cannot be told while the database does not answer. Nothing "
                              "was printed: print it again once the database can tell, and a receipt numbered "
                              "already prints with its own number."});
        EXPECT_TRUE(PdfText(printer.Path(2)).contains("NO A 0001"));
        change.btn_Close_Click();
    }
    EXPECT_EQ(count("tbl_counter1 WHERE c_transaction=1"), 2);
    EXPECT_EQ(scalar("SELECT b_paid FROM tbl_booking"), "40.00");
    EXPECT_EQ(scalar("SELECT m_hour FROM tbl_member WHERE m_name='Anna Lindqvist'"), "13.00");
    EXPECT_EQ(scalar("SELECT i_currentstock FROM tbl_item WHERE i_name='Mineral Water'"), "118.00");
    EXPECT_EQ(count("tbl_log WHERE log_do='Sales made, drawer open'"), 1);
    EXPECT_TRUE(cart.Contents().IsEmpty());

    // The COMMIT itself is lost: the server undoes the sale, and the next OK records it once.
    cart.AddLine(water);
    frm_Change change(cart, host);
    QTest::keyClicks(&change, "300");
    proxy.LoseNext(DatabaseProxy::Loss::Commit);
    prompter.clear();
    change.btn_OK_Click();
    EXPECT_EQ(prompter.prompts(), QStringList{"The connection to the database was lost while the sale was being "
                                              "recorded. It was not recorded: nothing was written. Press OK to "
                                              "record it again."});
    EXPECT_EQ(count("tbl_counter1"), 2);
    change.btn_OK_Click();
    EXPECT_FALSE(change.btn_OK->isEnabled());
    EXPECT_EQ(count("tbl_counter1 WHERE c_transaction=2"), 1);
    EXPECT_EQ(scalar("SELECT i_currentstock FROM tbl_item WHERE i_name='Mineral Water'"), "116.00");
    // A lost reply the server can be asked about: the receipt prints at once, with the next number.
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply);
    change.btn_PrintReceipt_Click();
    ASSERT_TRUE(proxy.Lost());
    EXPECT_TRUE(PdfText(printer.Path(3)).contains("NO A 0002"));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(DISTINCT c_receipt ORDER BY c_receipt) FROM tbl_counter1"), "1,2");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(log_do ORDER BY log_do) FROM tbl_log WHERE log_do LIKE 'Receipt%'"),
              "Receipt Printed 1,Receipt Printed 2");

    // An invoice: not written, then written but not to be asked about; pressed again, it prints the
    // number its slot was given.
    book("21:00", "b_bookername='Riverside FC'");
    grid.RefreshView();
    grid.Select({"21:00"});
    const QString lost = "The connection to the database was lost while the slots were given invoice number 1";
    prompter.clear();
    proxy.LoseNext(DatabaseProxy::Loss::Commit);
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    proxy.LoseNext(DatabaseProxy::Loss::CommitReply, true);
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 0);
    proxy.SetRefusing(false);
    EXPECT_EQ(PrintInvoice(grid, "Court 4"), 1);
    EXPECT_EQ(prompter.prompts(),
              (QStringList{lost + ". They were not given it: nothing was written or printed. Please print the invoice "
                                  "again.",
                           lost + ", and whether they were given it cannot be told while the database does not "
                                  "answer. Nothing was printed: print the invoice of the same slots again once the "
                                  "database can tell; if they hold number 1, it is printed and not given again."}));
    EXPECT_EQ(scalar("SELECT b_invoice FROM tbl_booking WHERE b_datetime LIKE '%21:00%'"), "1");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(log_do) FROM tbl_log WHERE log_do LIKE 'Invoice%'"), "Invoice Printed 1");
    EXPECT_TRUE(PdfText(printer.Path(6)).contains("NO A 0001"));
}

// A sale stopped before its commit at another station holds the items it sells and no others.
TEST_F(SalesWindows, AnItemHeldByAnotherTransactionIsToldAndOtherItemsSellMeanwhile)
{
    auto holder = Db::Open({5, 10, 10, 60});
    holder->BeginTrans();
    holder->Query("SELECT i_name FROM tbl_item WHERE i_name IN ('Mineral Water') FOR UPDATE");
    QElapsedTimer waited;
    waited.start();
    EXPECT_EQ(RecordSale({shopLine("Energy Bar", "Food", 220, 1)}, "counter"), 1);
    EXPECT_LT(waited.elapsed(), LockWaitSeconds * 1000);
    CartPanel cart(host);
    cart.AddLine(shopLine("Mineral Water", "Drink", 150, 2));
    frm_Change change(cart, host);
    QTest::keyClicks(&change, "500");
    change.btn_OK_Click();
    EXPECT_EQ(prompter.prompts(),
              QStringList{"Another station's transaction, or one this station lost, still holds rows of this sale (a "
                          "court hour, a shop item or the station's journal) and kept them longer than the sale can "
                          "wait. Nothing was recorded: press OK to try again."});
    EXPECT_TRUE(change.btn_OK->isEnabled());
    EXPECT_EQ(count("tbl_counter1"), 1);
}

TEST_F(SalesWindows, TheItemWindowStoresTypedTextAsTypedAndRefusesAPriceThatIsNoNumber)
{
    int storeRefreshes = 0;
    frm_Item items([&] { ++storeRefreshes; }, nullptr);
    EXPECT_EQ(items.txt_itemName->text(), "Energy Bar") << "the first item in name order";
    EXPECT_EQ(items.ListView_Item->topLevelItemCount(), 6);

    items.btn_Add_Click();
    EXPECT_FALSE(items.btn_Delete->isEnabled());
    items.txt_itemName->setText("O'Neill's \\ \"Cap\"");
    items.txt_itemType->setText("Gear");
    items.txt_ItemPrice->setText("four");
    items.cmb_ShortCut->setCurrentText("F15");
    items.btn_Update_Click();
    EXPECT_EQ(prompter.prompts(), QStringList{"The item price must be a number, for example 2.50"});
    EXPECT_TRUE(items.AddMode);
    EXPECT_EQ(count("tbl_item"), 6);

    items.txt_ItemPrice->setText("4.5");
    items.btn_Update_Click();
    EXPECT_FALSE(items.AddMode);
    EXPECT_EQ(scalar("SELECT CONCAT(i_name, '|', i_price, '|', i_key) FROM tbl_item WHERE i_type='Gear' AND i_id > 6"),
              "O'Neill's \\ \"Cap\"|4.50|F15");
    EXPECT_EQ(storeRefreshes, 2);

    Db::Execute("UPDATE tbl_item SET i_key='f5' WHERE i_name='Grip Tape'");
    items.ListView_Item->setCurrentItem(items.ListView_Item->topLevelItem(2));
    items.ListView_Item_Click();
    EXPECT_EQ(items.cmb_ShortCut->currentText(), "f5");
    items.btn_Update_Click();
    EXPECT_EQ(scalar("SELECT i_key FROM tbl_item WHERE i_name='Grip Tape'"), "f5") << "a shortcut the list lacks";

    items.ListView_Item->setCurrentItem(items.ListView_Item->topLevelItem(6));
    items.ListView_Item_Click();
    EXPECT_EQ(RecordPosition, 7) << "the position the registers share";
    ASSERT_EQ(items.txt_itemName->text(), "O'Neill's \\ \"Cap\"");
    items.chk_Show->setChecked(false);
    items.btn_Update_Click();
    items.btn_Update_Click();
    EXPECT_EQ(scalar("SELECT CONCAT(i_name, '|', i_show, '|', i_key) FROM tbl_item WHERE i_id > 6"),
              "O'Neill's \\ \"Cap\"|0|F15") << "a shortcut the store answers survives an Update";
    EXPECT_EQ(items.cmb_ShortCut->count(), 17) << "the stored shortcut is offered only while its item is shown";
    EXPECT_EQ(items.txt_itemName->text(), "O'Neill's \\ \"Cap\"") << "the record view shows the same item again";

    prompter.clear();
    prompter.Answer(Msg::No);
    items.btn_Delete_Click();
    EXPECT_EQ(count("tbl_item"), 7);
    prompter.Answer(Msg::Yes);
    items.btn_Delete_Click();
    EXPECT_EQ(count("tbl_item"), 6);
    EXPECT_EQ(items.txt_itemID->text(), "");
    EXPECT_EQ(prompter.asked().back().title, "Confirmation");
}

}
