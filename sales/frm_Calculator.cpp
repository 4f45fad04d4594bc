#include "frm_Calculator.h"
#include "SalesFormat.h"

#include "Prompter.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

frm_Calculator::frm_Calculator(QWidget* owner) : QDialog(owner)
{
    setObjectName("frm_Calculator");
    setWindowTitle("Quantity");
    QFont big = font();
    big.setPointSize(18);
    lbl_Number = new QLabel(this);
    lbl_Number->setObjectName("lbl_Number");
    lbl_Number->setFont(big);
    lbl_Number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbl_Number->setFrameShape(QFrame::Panel);
    lbl_Number->setFrameShadow(QFrame::Sunken);
    lbl_Number->setMinimumHeight(44);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lbl_Number, 0, 0, 1, 3);
    for (int i = 0; i < 10; ++i) {
        auto* key = new QPushButton(QString::number(9 - i), this);
        key->setObjectName("lbl_Key" + QString::number(i));
        key->setFont(big);
        key->setMinimumSize(64, 52);
        key->setFocusPolicy(Qt::NoFocus);
        connect(key, &QPushButton::clicked, this, [this, i] { lbl_Key_Click(i); });
        lbl_Key[static_cast<size_t>(i)] = key;
        // 7 8 9 / 4 5 6 / 1 2 3 / 0 OK, as on a till's pad.
        if (i < 9)
            grid->addWidget(key, 1 + i / 3, 2 - i % 3);
        else
            grid->addWidget(key, 4, 0);
    }
    lbl_OK = new QPushButton("OK", this);
    lbl_OK->setObjectName("lbl_OK");
    lbl_OK->setFont(big);
    lbl_OK->setFocusPolicy(Qt::NoFocus);
    lbl_OK->setAutoDefault(false);
    grid->addWidget(lbl_OK, 4, 1, 1, 2);
    connect(lbl_OK, &QPushButton::clicked, this, &frm_Calculator::lbl_OK_Click);
}

void frm_Calculator::lbl_Key_Click(int Index)
{
    lbl_Number->setText(lbl_Number->text() + lbl_Key[static_cast<size_t>(Index)]->text());
}

void frm_Calculator::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii >= '0' && KeyAscii <= '9')
        lbl_Number->setText(lbl_Number->text() + QChar(KeyAscii));
    else if (KeyAscii == 8 && !lbl_Number->text().isEmpty())
        lbl_Number->setText(lbl_Number->text().chopped(1));
    else if (KeyAscii == 13)
        lbl_OK_Click();
}

void frm_Calculator::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        Form_KeyPress(8);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Form_KeyPress(13);
        return;
    case Qt::Key_Escape:
        QDialog::keyPressEvent(event);
        return;
    default:
        if (event->text().size() == 1)
            Form_KeyPress(event->text()[0].unicode());
    }
}

void frm_Calculator::lbl_OK_Click()
{
    if (lbl_Number->text().isEmpty())
        return;
    if (!ParseQuantity(lbl_Number->text())) {
        MsgBox("The quantity cannot be more than 32767", Msg::Critical);
        return;
    }
    accept();
}

QString frm_Calculator::Quantity() const { return lbl_Number->text(); }
