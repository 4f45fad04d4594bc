#pragma once

#include <QString>

// One tbl_log row for a staff action at this station. The staff login and the action's text are
// the raw texts: WriteLog passes both through SqlQuote itself, so the caller must not quote them.
// A failure is shown in the error window headed "Error while updating log" and the caller goes on;
// afterwards CurrentTask is the caller's again.
void WriteLog(const QString& staffName, const QString& actionText);

class Connection;
// The same row as part of a user action's transaction: it is written or undone with the rest, and a
// failure throws.
void WriteLog(Connection& transaction, const QString& staffName, const QString& actionText);

// A row of this station's staff written at a time the caller keeps, for an action that can be
// done again after its write failed: that write may have reached the database all the same (its
// reply lost), so with lookFirst a row of the same station, staff, time and text already there is
// taken as this one and nothing is written twice. A failure throws.
void WriteLogOnce(const QString& staffName, const QString& time, const QString& actionText, bool lookFirst);

// The same row where no error window may be shown (the program is ending); a row that cannot be
// written is left out.
void TryWriteLog(const QString& staffName, const QString& actionText);
