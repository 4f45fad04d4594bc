#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QUrl>

// The online portal's schedule page receives the bookings of the centre from the present hour on.
inline const QString PortalHost = QStringLiteral("portal.zentrel-booking.example");
QUrl PortalSchedulePage();

// The business date a moment falls in and the slot hour it is there: the hours after midnight up to
// the closing hour belong to the day before, midnight as 24 and later hours as 25 and on.
struct BusinessHour {
    QDate date;
    int hour;
};
BusinessHour BusinessHourOf(const QDateTime& moment);

// "method=post&" and one form-encoded pair of slot key and play length, each followed by "&", for
// every booking from the business hour of now on, in the order of the keys. Database failures throw.
QByteArray PortalPostBody(const QDateTime& now);
