#include "frm_Summary.h"

#include "Globals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

QUrl BookingReportPage(const QString& date)
{
    return QUrl("http://" + WebServerHost + "/report/booking.asp?date=" + date);
}

frm_Summary* frm_Summary::Show(QWidget* owner, const QString& calendarDate)
{
    static QPointer<frm_Summary> window;
    if (!window)
        window = new frm_Summary(owner);
    if (!window->isVisible() || window->m_date != calendarDate)
        window->Form_Load(calendarDate);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frm_Summary::frm_Summary(QWidget* owner) : QWidget(owner, Qt::Window), WebBrowser(MakePageView(this))
{
    setObjectName("frm_Summary");
    setWindowTitle("Booking Summary");
    resize(900, 650);
    lbl_Unreachable = new QLabel(this);
    lbl_Unreachable->setObjectName("lbl_Unreachable");
    lbl_Unreachable->setWordWrap(true);
    lbl_Unreachable->setAlignment(Qt::AlignCenter);
    lbl_Unreachable->hide();
    btn_Close = new QPushButton("Close", this);
    btn_Close->setObjectName("btn_Close");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WebBrowser->Widget(), 1);
    layout->addWidget(lbl_Unreachable, 1);
    layout->addLayout(buttons);
    WebBrowser->onLoaded = [this](bool arrived) { WebBrowser_DocumentEvent(arrived); };
    connect(btn_Close, &QPushButton::clicked, this, &frm_Summary::btn_Close_Click);
}

void frm_Summary::Form_Load(const QString& calendarDate)
{
    m_date = calendarDate;
    setWindowTitle("Booking Summary for " + calendarDate);
    m_page = BookingReportPage(calendarDate);
    WebBrowser->Navigate(m_page);
}

void frm_Summary::WebBrowser_DocumentEvent(bool arrived)
{
    WebBrowser->Widget()->setVisible(arrived);
    lbl_Unreachable->setVisible(!arrived);
    if (arrived) {
        WebBrowser->Widget()->setFocus();
        return;
    }
    lbl_Unreachable->setText("The booking summary cannot be shown: the report page " + m_page.toString() +
                             " cannot be reached.\n\nThe page comes from the centre's report web server, named by "
                             "the setting webserver in [System] of " + IniFile +
                             ". Check that this server is running and that its name is right.");
}

void frm_Summary::btn_Close_Click() { close(); }
