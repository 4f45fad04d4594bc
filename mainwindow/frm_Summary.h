#pragma once

#include "PageView.h"

#include <QWidget>

class QLabel;
class QPushButton;

// "Booking &Summary": the day's booking report page of the centre's report web server (the
// setting webserver), for the date the booking calendar showed when the window opened.
class frm_Summary : public QWidget {
    Q_OBJECT

public:
    // The one window, modeless over owner (it lives as long as its owner; Close hides it), brought to
    // the front with the page of the calendar's date (yyyy-mm-dd): a press while it is open loads the
    // page anew only when the calendar now shows another date.
    static frm_Summary* Show(QWidget* owner, const QString& calendarDate);

    // Says plainly that the page cannot be reached, in place of what the browser would show.
    QLabel* lbl_Unreachable;
    QPushButton* btn_Close;

    void Form_Load(const QString& calendarDate);
    void WebBrowser_DocumentEvent(bool arrived);
    void btn_Close_Click();

private:
    explicit frm_Summary(QWidget* owner);

    std::unique_ptr<PageView> WebBrowser;
    QString m_date;
    QUrl m_page;
};

// The report page of a date on the report web server.
QUrl BookingReportPage(const QString& date);
