#pragma once

#include "Sale.h"

#include "DrawerDialog.h"
#include <cstdint>
#include <optional>

class CartPanel;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class SalesHost;

// The payment of the cart: the amount handed over is typed till-style (the last two digits are the
// cents), the change is shown, OK records the sale and opens the drawer, "Print Receipt?" numbers
// and prints the receipt, Close ends the sale and empties the cart.
class frm_Change : public DrawerDialog {
    Q_OBJECT

public:
    frm_Change(CartPanel& cart, SalesHost& host);

    QLineEdit* txt_Total;
    QLineEdit* txt_AmountPaid;
    QLineEdit* txt_Change;
    QLabel* Label3;
    QLineEdit* txt_e;
    QPushButton* btn_OK;
    QPushButton* btn_PrintReceipt;
    QPushButton* btn_Cancel;
    QPushButton* btn_Close;
    QFrame* Shape_Change;
    QLabel* lbl_SmileAndThankYou;

    // Whether this sale has been given its receipt number.
    bool ReceiptPrinted = false;

    void Form_KeyPress(int KeyAscii);
    void txt_e_Change();
    void btn_OK_Click();
    void btn_PrintReceipt_Click();
    void btn_Cancel_Click();
    void btn_Close_Click();

    // Esc and the window's close control: a recorded sale ends as Close does, so that its lines
    // cannot be paid a second time; before that the cart is kept. While a lost sale cannot be looked
    // up, the payment stays open.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Looks up the sale whose recording was lost; a recorded one goes on as recorded.
    Db::Written settleUnconfirmed();
    void saleRecorded();

    CartPanel& m_cart;
    SalesHost& m_host;
    int32_t m_transaction = 0;
    bool m_recorded = false;
    // The transaction number of a sale whose commit was never confirmed.
    std::optional<int32_t> m_unconfirmed;
};
