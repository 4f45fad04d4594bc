#include "CartPanel.h"
#include "ErrorDisplay.h"
#include "PrinterChoice.h"
#include "Sale.h"
#include "SalesFormat.h"
#include "SalesHost.h"
#include "SlotPayment.h"
#include "frm_Change.h"
#include "frm_CollectCash.h"
#include "frm_DrawerOpen.h"
#include "frm_PrintReceipt.h"

#include "Globals.h"
#include "Named.h"
#include "Prompter.h"
#include "StaffLog.h"
#include "Verification.h"

#include "Vb.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <limits>

CartPanel::CartPanel(SalesHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    setObjectName("frame_Cart");
    ListView_Cart = new QTreeWidget(this);
    ListView_Cart->setObjectName("ListView_Cart");
    ListView_Cart->setRootIsDecorated(false);
    ListView_Cart->setHeaderLabels({"Item", "Price / Unit", "Quantity", "Price"});
    ListView_Cart->header()->setStretchLastSection(false);
    ListView_Cart->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c <= 3; ++c) {
        ListView_Cart->headerItem()->setTextAlignment(c, Qt::AlignRight);
        ListView_Cart->header()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }

    auto* frame = new QFrame(this);
    frame->setObjectName("frame_TotalPrice");
    frame->setFrameShape(QFrame::Box);
    auto* totalHeading = new QLabel("TOTAL", frame);
    lbl_TotalPrice = new QLabel(frame);
    lbl_TotalPrice->setObjectName("lbl_TotalPrice");
    lbl_TotalPrice->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont big = font();
    big.setPointSize(22);
    big.setBold(true);
    lbl_TotalPrice->setFont(big);
    lbl_TotalPrice->setMinimumWidth(180);
    auto* totalLayout = new QVBoxLayout(frame);
    totalLayout->addWidget(totalHeading);
    totalLayout->addWidget(lbl_TotalPrice);

    btn_Pay = Named<QPushButton>("btn_Pay", "Pa&y", this);
    btn_Delete = Named<QPushButton>("btn_Delete", "&Delete", this);
    btn_Reset = Named<QPushButton>("btn_Reset", "&Reset", this);
    btn_NoSale = Named<QPushButton>("btn_NoSale", "No Sale", this);
    connect(btn_Pay, &QPushButton::clicked, this, &CartPanel::btn_Pay_Click);
    connect(btn_Delete, &QPushButton::clicked, this, &CartPanel::btn_Delete_Click);
    connect(btn_Reset, &QPushButton::clicked, this, &CartPanel::btn_Reset_Click);
    connect(btn_NoSale, &QPushButton::clicked, this, &CartPanel::btn_NoSale_Click);

    auto* side = new QVBoxLayout;
    side->addWidget(frame);
    for (QPushButton* b : {btn_Pay, btn_Delete, btn_Reset})
        side->addWidget(b);
    side->addSpacing(16);
    side->addWidget(btn_NoSale);
    side->addStretch();
    auto* all = new QHBoxLayout(this);
    all->addWidget(ListView_Cart, 1);
    all->addLayout(side);
}

void CartPanel::showCart()
{
    ListView_Cart->clear();
    for (const CartLine& line : m_cart.Lines()) {
        auto* item =
            new QTreeWidgetItem(ListView_Cart, {line.text, line.unitPrice.Format(), line.quantity, ShownAmount(line)});
        for (int c = 1; c <= 3; ++c)
            item->setTextAlignment(c, Qt::AlignRight);
    }
    lbl_TotalPrice->setText(m_cart.TotalText());
}

void CartPanel::AddLine(const CartLine& line)
{
    m_cart.Add(line);
    showCart();
}

void CartPanel::btn_Paid_Click()
{
    const size_t before = m_cart.Lines().size();
    Guarded("paying for the slot", [this] { PaySelectedSlots(m_host.Grid(), m_host.FieldInfo(), m_cart); });
    // Lines added before a failure stay in the cart, so the window shows them too.
    showCart();
    if (m_cart.Lines().size() > before)
        m_host.ShowPaymentTab();
}

void CartPanel::btn_Delete_Click()
{
    QTreeWidgetItem* selected = ListView_Cart->currentItem();
    if (m_cart.IsEmpty() || !selected || !selected->isSelected())
        return;
    m_cart.Remove(static_cast<size_t>(ListView_Cart->indexOfTopLevelItem(selected)));
    showCart();
}

void CartPanel::btn_Reset_Click()
{
    m_cart.Reset();
    showCart();
    emit cartReset();
}

void CartPanel::btn_Pay_Click()
{
    if (lbl_TotalPrice->text().isEmpty())
        return;
    frm_Change change(*this, m_host);
    change.exec();
}

void CartPanel::btn_PrintOldReceipt_Click()
{
    Guarded("printing the receipt", [this] {
        const QString answer = InputBox("Enter Transaction Number", "Print Receipt");
        if (answer.isEmpty())
            return;
        const double number = Vb::Val(answer);
        if (number < 0 || number > std::numeric_limits<int32_t>::max() || number != static_cast<int32_t>(number) ||
            !HasTransaction(static_cast<int32_t>(number))) {
            MsgBox("No transaction by that number");
            return;
        }
        const auto printer = CurrentPrinterChoice().Choose(m_host.Window());
        if (!printer)
            return;
        if (!NumberCurrentReceipt(static_cast<int32_t>(number)))
            return;
        WriteLog(StaffLogin, "Receipt Printed " + QString::number(CurrentReceipt));
        PrintStationReceipt(*printer, CurrentReceipt);
    });
}

void CartPanel::btn_CollectCash_Click()
{
    Guarded("collecting cash", [this] {
        ShowVerifyUser(m_host.Window());
        if (!IsUserAllowed(true))
            return;
        frm_CollectCash::ShowModeless();
    });
}

void CartPanel::btn_NoSale_Click()
{
    WriteLog(StaffLogin, "No Sale button pressed, drawer open");
    frm_DrawerOpen drawer(m_host.Window());
    drawer.Form_Load();
    drawer.exec();
}
