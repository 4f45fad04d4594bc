#include "frm_DrawerOpen.h"

#include "ErrorDisplay.h"

#include <QPushButton>
#include <QVBoxLayout>

frm_DrawerOpen::frm_DrawerOpen(QWidget* owner) : DrawerDialog(owner, Variant::TestFirst)
{
    setObjectName("frm_DrawerOpen");
    Command1 = new QPushButton("Drawer Open", this);
    Command1->setObjectName("Command1");
    Command1->setMinimumSize(220, 80);
    QFont big = Command1->font();
    big.setPointSize(16);
    Command1->setFont(big);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &frm_DrawerOpen::Command1_Click);
}

void frm_DrawerOpen::Form_Load()
{
    Guarded("opening cash drawer", [this] { OpenCashDrawer(); });
}

void frm_DrawerOpen::Command1_Click()
{
    MSComm1.SetPortOpen(false);
    accept();
}
