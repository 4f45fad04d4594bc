#pragma once

#include <QString>

// The station's row in tbl_system: who is signed in, and whether the shift is closed.

// The station's sys_counterstaff, empty when the station has no row.
QString GetCounterStaff(int counter);
void SetCounterStaff(int counter, const QString& staffName);
// 0 while the shift is open, 1 after it was closed.
void SetCounterStaffShiftStatus(int counter, int shiftStatus);
class Connection;
// The same as part of a user action's transaction.
void SetCounterStaffShiftStatus(Connection& transaction, int counter, int shiftStatus);
