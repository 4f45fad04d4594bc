#pragma once

#include <QString>

class Connection;

// One tbl_remark row for a change of a slot, made by the user verified last (Succeeded_User).
void WriteRemark(Connection& db, const QString& date, const QString& time, int court, const QString& job,
                 const QString& remark, const QString& actionTime);

// The markers the booking operations store in place of a booker name on courts that share space.
inline const QString SharedBookingMark = QStringLiteral("Shared Booking");
inline const QString PartiallySharedMark = QStringLiteral("Partially Shared");
