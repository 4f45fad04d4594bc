#include "frm_quorrinUpdate.h"
#include "PortalSchedule.h"

#include "Clock.h"
#include "ErrorDisplay.h"

#include <QPushButton>
#include <QVBoxLayout>

frm_quorrinUpdate::frm_quorrinUpdate(QWidget* owner) : QWidget(owner, Qt::Window), WebBrowser(MakePageView(this))
{
    setObjectName("frm_quorrinUpdate");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Form1");
    cmd_OK = new QPushButton("OK", this);
    cmd_OK->setObjectName("cmd_OK");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser->Widget(), 1);
    layout->addWidget(cmd_OK, 0, Qt::AlignRight);
    connect(cmd_OK, &QPushButton::clicked, this, &frm_quorrinUpdate::cmd_OK_Click);
}

void frm_quorrinUpdate::Form_Load()
{
    Guarded("reading the bookings for the portal",
            [this] { WebBrowser->Post(PortalSchedulePage(), PortalPostBody(Now())); });
}

void frm_quorrinUpdate::cmd_OK_Click() { close(); }
