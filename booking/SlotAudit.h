#pragma once

#include <QString>
#include <optional>
#include <vector>

class Connection;

// One tbl_remark row for a change of a slot, made by the user verified last (Succeeded_User).
void WriteRemark(Connection& db, const QString& date, const QString& time, int court, const QString& job,
                 const QString& remark, const QString& actionTime);

// The audit rows of one change of one slot key on several courts, in one statement and in this order.
struct Remark {
    int court;
    QString job;
    QString remark;
};
void WriteRemarks(Connection& db, const QString& date, const QString& time, const std::vector<Remark>& remarks,
                  const QString& actionTime);

// The audit text of a start minute or a play length: " for <n> minutes ".
QString MinutesRemark(int minutes);

// The markers the booking operations store in place of a booker name on courts that share space.
inline const QString SharedBookingMark = QStringLiteral("Shared Booking");
inline const QString PartiallySharedMark = QStringLiteral("Partially Shared");
// The grid's mark in a row taken only by the extra time of the slot before it.
inline constexpr QChar ExtraTimeMark(0x02C6);

// Whether a name cell or stored booker name holds the marker, wherever and however written: a
// marker is never told apart by its case.
bool HoldsMark(const QString& name, const QString& mark);

// Why a change of a slot's timing refuses a row that holds a marker: "Please <verb> individual slots"
// on a master court's row, "Please <verb> main slots" on a dependent court's; none on a booker's row.
std::optional<QString> SharedRowRefusal(const QString& nameCell, const QString& verb);
