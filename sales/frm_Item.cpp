#include "frm_Item.h"
#include "ErrorDisplay.h"
#include "SalesFormat.h"

#include "Db.h"
#include "Globals.h"
#include "Named.h"
#include "Prompter.h"
#include "SqlQuote.h"

#include "Vb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString ItemTask = QStringLiteral("changing the shop items");
const QString ItemOrder = QStringLiteral("SELECT * from tbl_item ORDER BY i_name ASC");
// The empty entry and F1 to F16.
constexpr int OfferedShortcuts = 17;

QPushButton* button(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

frm_Item::frm_Item(std::function<void()> refreshStore, QWidget* owner)
    : QDialog(owner), m_refreshStore(std::move(refreshStore))
{
    setObjectName("frm_Item");
    setWindowTitle("Item");
    txt_itemID = Named<QLineEdit>("txt_itemID", this);
    txt_itemID->setReadOnly(true);
    txt_itemID->setEnabled(false);
    txt_itemName = Named<QLineEdit>("txt_itemName", this);
    txt_itemName->setMaxLength(128);
    txt_itemType = Named<QLineEdit>("txt_itemType", this);
    txt_itemType->setMaxLength(64);
    txt_ItemPrice = Named<QLineEdit>("txt_ItemPrice", this);
    cmb_ShortCut = new QComboBox(this);
    cmb_ShortCut->setObjectName("cmb_ShortCut");
    cmb_ShortCut->addItem(QString());
    // The store answers F1 to F16: a shortcut beyond F12 must survive an Update.
    for (int k = 1; k < OfferedShortcuts; ++k)
        cmb_ShortCut->addItem("F" + QString::number(k));
    chk_Show = new QCheckBox("Show Item?", this);
    chk_Show->setObjectName("chk_Show");

    ListView_Item = new QTreeWidget(this);
    ListView_Item->setObjectName("ListView_Item");
    ListView_Item->setRootIsDecorated(false);
    ListView_Item->setHeaderLabels({"Name", "Price", "Type", "Active", "ShortCut"});
    ListView_Item->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(ListView_Item, &QTreeWidget::itemClicked, this, &frm_Item::ListView_Item_Click);

    btn_Add = button("btn_Add", "&Add", this);
    btn_Update = button("btn_Update", "&Update", this);
    btn_Delete = button("btn_Delete", "&Delete", this);
    btn_Refresh = button("btn_Refresh", "&Refresh", this);
    btn_Close = button("btn_Close", "&Close", this);
    connect(btn_Add, &QPushButton::clicked, this, &frm_Item::btn_Add_Click);
    connect(btn_Update, &QPushButton::clicked, this, &frm_Item::btn_Update_Click);
    connect(btn_Delete, &QPushButton::clicked, this, &frm_Item::btn_Delete_Click);
    connect(btn_Refresh, &QPushButton::clicked, this, &frm_Item::btn_Refresh_Click);
    connect(btn_Close, &QPushButton::clicked, this, &frm_Item::btn_Close_Click);
    lbl_PressUpdate = new QLabel("Press 'Update' when finished !", this);
    lbl_PressUpdate->setObjectName("lbl_PressUpdate");
    lbl_PressUpdate->setStyleSheet("color: red; font-weight: bold");
    lbl_PressUpdate->setVisible(false);

    auto* record = new QGridLayout;
    const std::pair<QString, QWidget*> fields[] = {{"Item ID", txt_itemID},       {"Item Name", txt_itemName},
                                                   {"Item Type", txt_itemType},   {"Item Price", txt_ItemPrice},
                                                   {"Item Shortcut", cmb_ShortCut}};
    int row = 0;
    for (const auto& [caption, field] : fields) {
        record->addWidget(new QLabel(caption, this), row++, 0);
        record->addWidget(field, row++, 0);
    }
    record->addWidget(chk_Show, row++, 0);
    record->addWidget(lbl_PressUpdate, row++, 0);
    record->setRowStretch(row, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btn_Add, btn_Update, btn_Delete, btn_Refresh, btn_Close})
        buttons->addWidget(b);
    auto* top = new QHBoxLayout;
    top->addLayout(record);
    top->addWidget(ListView_Item, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    resize(760, 420);
    Form_Load();
}

void frm_Item::Form_Load()
{
    AddMode = false;
    RecordPosition = 1;
    Guarded(ItemTask, [this] {
        showItemAt(RecordPosition);
        RefreshitemList();
    });
}

void frm_Item::clearRecord()
{
    for (QLineEdit* b : {txt_itemID, txt_itemName, txt_ItemPrice, txt_itemType})
        b->clear();
    showShortcut(QString());
    chk_Show->setChecked(false);
}

void frm_Item::showShortcut(const QString& key)
{
    // A shortcut the list does not offer (written by other means) is shown as an entry of its own
    // while its item is shown, so that an Update writes it back unchanged.
    while (cmb_ShortCut->count() > OfferedShortcuts)
        cmb_ShortCut->removeItem(OfferedShortcuts);
    if (cmb_ShortCut->findText(key) < 0)
        cmb_ShortCut->addItem(key);
    cmb_ShortCut->setCurrentIndex(cmb_ShortCut->findText(key));
}

std::optional<frm_Item::ItemRows> frm_Item::GetRecord(int n)
{
    ItemRows rows;
    for (Recordset rs = Db::Query(ItemOrder + " LIMIT " + QString::number(std::max(n, 0))); !rs.EOF_();
         rs.MoveNext()) {
        QStringList columns;
        for (int c = 0; c < rs.Columns().size(); ++c)
            columns << rs.Fields(c).Value();
        rows.push_back(columns);
    }
    if (rows.empty())
        return std::nullopt;
    return rows;
}

void frm_Item::DisplayRecord(const ItemRows& rows, int k)
{
    // Another station may have removed items since the list was read.
    if (k < 1 || static_cast<size_t>(k) > rows.size()) {
        clearRecord();
        return;
    }
    const QStringList& row = rows[static_cast<size_t>(k) - 1];
    txt_itemID->setText(row.value(0));
    txt_itemType->setText(row.value(3));
    txt_itemName->setText(row.value(1));
    txt_ItemPrice->setText(Money::Parse(row.value(5)).Format());
    showShortcut(row.value(6));
    chk_Show->setChecked(Vb::Val(row.value(4)) != 0);
}

void frm_Item::showItemAt(int position)
{
    if (const std::optional<ItemRows> rows = GetRecord(position))
        DisplayRecord(*rows, position);
    else
        clearRecord();
}

void frm_Item::RefreshitemList()
{
    ListView_Item->clear();
    for (Recordset rs = Db::Query(ItemOrder + " ;"); !rs.EOF_(); rs.MoveNext())
        new QTreeWidgetItem(ListView_Item, {rs["i_name"].Value(), Money::Parse(rs["i_price"].Value()).Format(),
                                            rs["i_type"].Value(), rs["i_show"].Value(), rs["i_key"].Value()});
}

void frm_Item::ListView_Item_Click()
{
    QTreeWidgetItem* item = ListView_Item->currentItem();
    if (ListView_Item->topLevelItemCount() == 0 || !item)
        return;
    RecordPosition = std::max(1, ListView_Item->indexOfTopLevelItem(item) + 1);
    Guarded(ItemTask, [this] { showItemAt(RecordPosition); });
}

void frm_Item::setAddMode(bool on)
{
    AddMode = on;
    btn_Update->setDefault(on);
    btn_Delete->setEnabled(!on);
    btn_Refresh->setEnabled(!on);
    lbl_PressUpdate->setVisible(on);
}

void frm_Item::btn_Add_Click()
{
    clearRecord();
    setAddMode(true);
}

void frm_Item::btn_Update_Click()
{
    const QString id = txt_itemID->text();
    if (AddMode || !id.isEmpty()) {
        if (txt_itemName->text().trimmed().isEmpty()) {
            MsgBox("Please enter the item name", Msg::Critical);
            return;
        }
        const auto price = ParsePrice(txt_ItemPrice->text());
        if (!price) {
            MsgBox("The item price must be a number, for example 2.50", Msg::Critical);
            return;
        }
        // Quoted copies go into the statement; the boxes keep what was typed.
        const QString fields = "i_name='" + SqlQuote(txt_itemName->text()) + "', i_type='" +
                               SqlQuote(txt_itemType->text()) + "', i_price='" + price->Sql() + "', i_key='" +
                               SqlQuote(cmb_ShortCut->currentText()) + "'";
        bool written = false;
        Guarded(ItemTask, [&] {
            if (AddMode)
                Db::Execute("INSERT INTO tbl_item SET " + fields);
            else
                Db::Execute("UPDATE tbl_item SET " + fields + ", i_show=" + (chk_Show->isChecked() ? "1" : "0") +
                            " WHERE i_id=" + QString::number(id.toLongLong()));
            written = true;
        });
        if (!written)
            return;
    }
    setAddMode(false);
    m_refreshStore();
    btn_Refresh_Click();
}

void frm_Item::btn_Delete_Click()
{
    if (MsgBox("Confirm delete ?", Msg::YesNo | Msg::Critical | Msg::DefaultButton2, "Confirmation") != Msg::Yes)
        return;
    Guarded(ItemTask, [this] {
        if (!txt_itemID->text().isEmpty())
            Db::Execute("DELETE FROM tbl_item WHERE i_id=" + QString::number(txt_itemID->text().toLongLong()));
        RecordPosition = 1;
        RefreshitemList();
        clearRecord();
    });
}

void frm_Item::btn_Refresh_Click()
{
    if (RecordPosition < 1)
        RecordPosition = 1;
    Guarded(ItemTask, [this] {
        showItemAt(RecordPosition);
        RefreshitemList();
    });
    m_refreshStore();
}

void frm_Item::btn_Close_Click() { reject(); }
