#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The shop's item register: lists, shows, adds, changes and deletes the items of tbl_item. After a
// change the store list of the payment tab is filled again through refreshStore.
class frm_Item : public QDialog {
    Q_OBJECT

public:
    frm_Item(std::function<void()> refreshStore, QWidget* owner);

    QLineEdit* txt_itemID;
    QLineEdit* txt_itemName;
    QLineEdit* txt_itemType;
    QLineEdit* txt_ItemPrice;
    QComboBox* cmb_ShortCut;
    QCheckBox* chk_Show;
    QTreeWidget* ListView_Item;
    QPushButton* btn_Add;
    QPushButton* btn_Update;
    QPushButton* btn_Delete;
    QPushButton* btn_Refresh;
    QPushButton* btn_Close;
    QLabel* lbl_PressUpdate;

    // From Add until the next Update.
    bool AddMode = false;
    // The 1-based position, in name order, of the item the record view shows.
    int RecordPosition = 1;

    void Form_Load();
    void RefreshitemList();
    void ListView_Item_Click();
    void btn_Add_Click();
    void btn_Update_Click();
    void btn_Delete_Click();
    void btn_Refresh_Click();
    void btn_Close_Click();

private:
    // Shows the item at the position in name order; nothing when there is none there.
    void showItemAt(int position);
    void clearRecord();
    void setAddMode(bool on);

    std::function<void()> m_refreshStore;
};

// The "Items" button of the Administration tab: an administrator is verified, then the item
// register opens over owner.
void OpenItemRegister(QWidget* owner, const std::function<void()>& refreshStore);
