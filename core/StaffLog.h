#pragma once

#include <QString>

// One tbl_log row for a staff action at this station. A failure is shown in the error window
// headed "Error while updating log" and the caller goes on.
void WriteLog(const QString& staffName, const QString& actionText);
