#pragma once

#include <QString>

// What tells the member, student and special-group registers apart; everything else they share.
struct RegisterKind {
    QString formName;  // the window's object name
    QString caption;
    QString findLabel;
    QString table;     // the special-group register appends the checked group number
    QString prefix;    // of every column: "m_" or "st_"
    bool grouped;      // one table per special group, chosen by TableIndex
    bool stepping;     // Previous and Next are shown
};
