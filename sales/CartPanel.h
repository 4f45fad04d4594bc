#pragma once

#include "Cart.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class SalesHost;

// The payment cart of the payment tab: court hours and shop items about to be paid, their total,
// the payment and the drawer buttons.
class CartPanel : public QWidget {
    Q_OBJECT

public:
    explicit CartPanel(SalesHost& host, QWidget* parent = nullptr);

    QTreeWidget* ListView_Cart;
    QLabel* lbl_TotalPrice;
    QPushButton* btn_Pay;
    QPushButton* btn_Delete;
    QPushButton* btn_Reset;
    QPushButton* btn_NoSale;

    const Cart& Contents() const { return m_cart; }
    // Adds a line of the store list (a shop or miscellaneous item).
    void AddLine(const CartLine& line);

public slots:
    // "Sl&ot Payment" of the bookings tab: the selected hours of the grid into the cart.
    void btn_Paid_Click();
    void btn_Delete_Click();
    void btn_Reset_Click();
    void btn_Pay_Click();
    // "Old Receipt" and "Collect Cash" stand on the administration tab.
    void btn_PrintOldReceipt_Click();
    void btn_CollectCash_Click();
    void btn_NoSale_Click();

signals:
    // The cart was emptied: the item panel beside it empties too.
    void cartReset();

private:
    void showCart();

    SalesHost& m_host;
    Cart m_cart;
};
