#include "frm_MiscItem.h"
#include "SalesFormat.h"

#include "Prompter.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

frm_MiscItem::frm_MiscItem(QWidget* owner) : QDialog(owner)
{
    setObjectName("frm_MiscItem");
    setWindowTitle("Misc Item");
    txt_TextItem = new QLineEdit("additional ", this);
    txt_TextItem->setObjectName("txt_TextItem");
    txt_TextItem->setMaxLength(255);
    txt_ItemPrice = new QLineEdit(this);
    txt_ItemPrice->setObjectName("txt_ItemPrice");
    txt_OK = new QPushButton("OK", this);
    txt_OK->setObjectName("txt_OK");
    txt_OK->setDefault(true);
    txt_Cancel = new QPushButton("Cancel", this);
    txt_Cancel->setObjectName("txt_Cancel");
    connect(txt_OK, &QPushButton::clicked, this, &frm_MiscItem::txt_OK_Click);
    connect(txt_Cancel, &QPushButton::clicked, this, &frm_MiscItem::txt_Cancel_Click);

    auto* form = new QFormLayout(this);
    form->addRow("Item", txt_TextItem);
    form->addRow("Price", txt_ItemPrice);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(txt_OK);
    buttons->addWidget(txt_Cancel);
    form->addRow(buttons);
    txt_TextItem->installEventFilter(this);
    txt_TextItem->setFocus();
}

bool frm_MiscItem::eventFilter(QObject* watched, QEvent* event)
{
    // The caret waits after the preset text, so the description is typed on; the box's own
    // focus handling, which selects the whole text, runs first.
    if (watched == txt_TextItem && event->type() == QEvent::FocusIn)
        QMetaObject::invokeMethod(
            this,
            [this] {
                txt_TextItem->deselect();
                txt_TextItem->setCursorPosition(txt_TextItem->text().size());
            },
            Qt::QueuedConnection);
    return QDialog::eventFilter(watched, event);
}

void frm_MiscItem::txt_OK_Click()
{
    if (txt_TextItem->text().isEmpty() || txt_ItemPrice->text().isEmpty())
        return;
    const auto price = ParsePrice(txt_ItemPrice->text());
    if (!price) {
        MsgBox("The price must be a number, for example 12.50", Msg::Critical);
        return;
    }
    m_price = *price;
    accept();
}

void frm_MiscItem::txt_Cancel_Click() { reject(); }

QString frm_MiscItem::Description() const { return txt_TextItem->text(); }
