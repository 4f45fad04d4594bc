#pragma once

#include "CartLine.h"

#include <QWidget>
#include <optional>

class CartPanel;
class QFrame;
class QLabel;
class QTreeWidget;

// The shop's items beside the cart: a click (or the item's function key) asks for the quantity,
// or for a description and price for the item named "Misc", and puts a line into the cart. The
// item panel shows the chosen item until the next choice or until the cart is emptied.
class StorePanel : public QWidget {
    Q_OBJECT

public:
    StorePanel(CartPanel& cart, QWidget* parent = nullptr);

    QTreeWidget* ListView_Store;
    QFrame* frame_PriceTag;
    QLabel* txt_ItemInfo;
    QLabel* txt_ItemQuantity;
    QLabel* lbl_ItemPrice;

    // Fills the list with the items to show, grouped by type; 1 when filled, 0 after a failure,
    // which is shown in the error window.
    int RefreshStore();
    // The key table's F1..F16: chooses the first item whose key reads "F" and the number; false
    // when no item carries the key.
    bool FunctionKey(int number);

public slots:
    void ListView_Store_Click();
    // Asks again for the quantity of the item in the panel.
    void txt_ItemQuantity_Click();
    // The line amount of the chosen item for the quantity in the panel; the label raises no change of
    // its own, so whoever sets the quantity calls it.
    void txt_ItemQuantity_Change();
    void ClearItemPanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askQuantity();
    void askMisc();
    void addChosen(const QString& quantity);

    CartPanel& m_cart;
    // The chosen item, kept here so that a later selection in the list cannot change its price; after
    // a misc line, its description and typed price. None until an item is chosen.
    std::optional<CartLine> m_item;
};

// The item the store asks a description and price for.
inline const QString MiscItemName = QStringLiteral("Misc");
