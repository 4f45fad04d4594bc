#include "PortalSchedule.h"

#include "Db.h"
#include "Globals.h"

namespace {

// Where a stored slot hour ("08" to "24", then "01" up to the closing hour) stands in its business day.
int orderInDay(int storedHour) { return storedHour >= 1 && storedHour <= HourEnd ? storedHour + 24 : storedHour; }

QByteArray formEncoded(const QString& text) { return QUrl::toPercentEncoding(text, " ").replace(' ', '+'); }

} // namespace

QUrl PortalSchedulePage() { return QUrl("http://" + PortalHost + ":81/test.php"); }

BusinessHour BusinessHourOf(const QDateTime& moment)
{
    const int hour = moment.time().hour();
    if (hour <= HourEnd)
        return {moment.date().addDays(-1), hour + 24};
    return {moment.date(), hour};
}

QByteArray PortalPostBody(const QDateTime& now)
{
    const BusinessHour current = BusinessHourOf(now);
    const QString day = current.date.toString("yyyy-MM-dd");
    QByteArray body = "method=post&";
    Recordset rs = Db::Query("SELECT b_datetime, b_playlength FROM tbl_booking WHERE b_datetime >= '" + day +
                             "' ORDER BY b_datetime");
    for (; !rs.EOF_(); rs.MoveNext()) {
        const QString key = rs["b_datetime"].Value();
        if (key.left(10) == day && orderInDay(key.mid(11, 2).toInt()) < current.hour)
            continue;
        body += formEncoded(key) + "=" + formEncoded(rs["b_playlength"].Value()) + "&";
    }
    return body;
}
