#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

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

    // The first n items in name order, each row its columns by position (0 i_id, 1 i_name, 3 i_type,
    // 4 i_show, 5 i_price, 6 i_key); none when there are none to give.
    using ItemRows = std::vector<QStringList>;
    static std::optional<ItemRows> GetRecord(int n);
    // Shows row k - 1 of rows in the record view, or an empty record where rows end before it.
    void DisplayRecord(const ItemRows& rows, int k);

    void Form_Load();
    void RefreshitemList();
    void ListView_Item_Click();
    void btn_Add_Click();
    void btn_Update_Click();
    void btn_Delete_Click();
    void btn_Refresh_Click();
    void btn_Close_Click();

private:
    // Shows the item at the position in name order (RecordPosition, which the registers share).
    void showItemAt(int position);
    void clearRecord();
    void showShortcut(const QString& key);
    void setAddMode(bool on);

    std::function<void()> m_refreshStore;
};
