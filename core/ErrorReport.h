#pragma once

#include "VbError.h"

#include <QString>

// What the error window says about a failure, and what it mails to support.

// The report: description, number (signed decimal) and source, each followed by an empty line.
QString ErrorReport(const VbError& error);

inline const QString NoTip = QStringLiteral("No unknown troubleshooting tips.");

struct ErrorTip {
    QString text;
    // A lost database leaves the station nothing to work with: closing the window ends the program.
    bool endsProgram = false;
};
ErrorTip TipFor(long errorNumber);

// The file in the Windows directory that keeps the error window's reports, the newest last.
inline const QString ErrorReportFile = QStringLiteral("pallowin-errors.txt");
// Appends report, headed by the date and time, to ErrorReportFile: its full path when written,
// "" when it could not be.
QString KeepErrorReport(const QString& report);

// The settings text with the value of every database_password key replaced by asterisks.
QString MaskDatabasePassword(const QString& settingsText);

// What follows the report in the mail to support: the station's settings file, password masked,
// between two lines of hyphens.
QString SupportAppendix();
// The same for the settings text given.
QString SupportAppendix(const QString& settingsText);
