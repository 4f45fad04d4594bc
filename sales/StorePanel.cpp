#include "StorePanel.h"
#include "CartPanel.h"
#include "SalesFormat.h"
#include "frm_Calculator.h"
#include "frm_MiscItem.h"

#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"

#include <QFormLayout>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColName, ColPrice, ColKey };
constexpr int TypeRole = Qt::UserRole;
constexpr int PriceRole = Qt::UserRole + 1;

QLabel* panelLabel(const QString& name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(160);
    return l;
}

} // namespace

StorePanel::StorePanel(CartPanel& cart, QWidget* parent) : QWidget(parent), m_cart(cart)
{
    setObjectName("frame_Store");
    ListView_Store = new QTreeWidget(this);
    ListView_Store->setObjectName("ListView_Store");
    ListView_Store->setRootIsDecorated(false);
    ListView_Store->setHeaderLabels({"Item", "Price", "Key"});
    ListView_Store->header()->setStretchLastSection(false);
    ListView_Store->header()->setSectionResizeMode(ColName, QHeaderView::Stretch);
    ListView_Store->header()->setSectionResizeMode(ColPrice, QHeaderView::ResizeToContents);
    ListView_Store->header()->setSectionResizeMode(ColKey, QHeaderView::ResizeToContents);
    ListView_Store->headerItem()->setTextAlignment(ColPrice, Qt::AlignRight);
    connect(ListView_Store, &QTreeWidget::itemClicked, this, &StorePanel::ListView_Store_Click);

    frame_PriceTag = new QFrame(this);
    frame_PriceTag->setObjectName("frame_PriceTag");
    frame_PriceTag->setFrameShape(QFrame::StyledPanel);
    txt_ItemInfo = panelLabel("txt_ItemInfo", frame_PriceTag);
    txt_ItemQuantity = panelLabel("txt_ItemQuantity", frame_PriceTag);
    txt_ItemQuantity->setCursor(Qt::PointingHandCursor);
    txt_ItemQuantity->installEventFilter(this);
    lbl_ItemPrice = panelLabel("lbl_ItemPrice", frame_PriceTag);
    lbl_ItemPrice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* tag = new QFormLayout(frame_PriceTag);
    tag->addRow("Item", txt_ItemInfo);
    tag->addRow("Quantity", txt_ItemQuantity);
    tag->addRow("Price", lbl_ItemPrice);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView_Store, 1);
    layout->addWidget(frame_PriceTag);
    connect(&m_cart, &CartPanel::cartReset, this, &StorePanel::ClearItemPanel);
}

int StorePanel::RefreshStore()
{
    ListView_Store->clear();
    try {
        for (Recordset rs = Db::Query("SELECT * from tbl_item WHERE i_show ORDER BY i_type ASC;"); !rs.EOF_();
             rs.MoveNext()) {
            const Money price = Money::Parse(rs["i_price"].Value());
            auto* item = new QTreeWidgetItem(ListView_Store,
                                             {rs["i_name"].Value(), price.Format(), rs["i_key"].Value()});
            item->setTextAlignment(ColPrice, Qt::AlignRight);
            item->setData(ColName, TypeRole, rs["i_type"].Value());
            item->setData(ColName, PriceRole, static_cast<qlonglong>(price.Cents()));
        }
    } catch (const VbError& e) {
        CurrentTask = "refreshing the store list";
        ShowErrorDisplay(e);
        return 0;
    }
    return 1;
}

bool StorePanel::FunctionKey(int number)
{
    const QString key = "F" + QString::number(number);
    for (int i = 0; i < ListView_Store->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListView_Store->topLevelItem(i);
        if (item->text(ColKey) == key) {
            ListView_Store->setCurrentItem(item);
            ListView_Store_Click();
            return true;
        }
    }
    return false;
}

void StorePanel::ListView_Store_Click()
{
    QTreeWidgetItem* item = ListView_Store->currentItem();
    if (ListView_Store->topLevelItemCount() == 0 || !item)
        return;
    const QString name = item->text(ColName);
    txt_ItemInfo->setText(name);
    txt_ItemQuantity->clear();
    lbl_ItemPrice->clear();
    if (name == MiscItemName) {
        // Until a description and price are entered there is nothing to ask a quantity of.
        m_item.reset();
        askMisc();
        return;
    }
    m_item = CartLine{};
    m_item->kind = CartLine::Kind::ShopItem;
    m_item->text = name;
    m_item->tag = item->data(ColName, TypeRole).toString();
    m_item->unitPrice = Money::FromCents(item->data(ColName, PriceRole).toLongLong());
    askQuantity();
}

void StorePanel::txt_ItemQuantity_Click()
{
    if (m_item && !txt_ItemInfo->text().isEmpty())
        askQuantity();
}

void StorePanel::askQuantity()
{
    frm_Calculator pad(window());
    if (pad.exec() == QDialog::Accepted)
        addChosen(pad.Quantity());
}

void StorePanel::askMisc()
{
    frm_MiscItem misc(window());
    if (misc.exec() != QDialog::Accepted)
        return;
    // The quantity label then asks how many more of the same description at the typed price.
    m_item = CartLine{};
    m_item->text = misc.Description();
    m_item->unitPrice = misc.Price();
    txt_ItemInfo->setText(m_item->text);
    addChosen("1");
}

// The chosen item's line for that quantity, shown beside the item and added to the cart.
void StorePanel::addChosen(const QString& quantity)
{
    txt_ItemQuantity->setText(quantity);
    txt_ItemQuantity_Change();
    m_cart.AddLine(*m_item);
}

void StorePanel::txt_ItemQuantity_Change()
{
    const std::optional<int> quantity = ParseQuantity(txt_ItemQuantity->text());
    if (!m_item || !quantity)
        return;
    m_item->quantity = txt_ItemQuantity->text();
    m_item->amount = Money::FromCents(m_item->unitPrice.Cents() * *quantity);
    lbl_ItemPrice->setText(ShownAmount(*m_item));
}

void StorePanel::ClearItemPanel()
{
    txt_ItemInfo->clear();
    txt_ItemQuantity->clear();
    lbl_ItemPrice->clear();
    m_item.reset();
}

bool StorePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txt_ItemQuantity && event->type() == QEvent::MouseButtonRelease) {
        txt_ItemQuantity_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
