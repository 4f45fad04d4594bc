#pragma once

#include <QByteArray>
#include <QString>
#include <array>

// The station's module globals: set at start-up and login, read by every part of the program.

constexpr int MaxCourts = 16;
constexpr int SpecialGroupLimit = 5;

// Station values.
extern int CounterNumber;
extern int ShownCounter;
extern int CounterCount;
extern int LastCourtIndex;
extern int LastCourtTypeIndex;

// Settings read by LoadSettings.
extern QString FrontPictureFile;
extern QString LogoPictureFile;
extern int HourStart;
extern int HourEnd;
extern int SpecialGroupCount;
extern QString DatabaseServer;
extern QString DatabasePort;
extern QString DatabaseUser;
extern QString DatabasePassword;
extern QString WebServerHost;
extern int DrawerCommPort;
// The drawer's command as the settings file holds it, byte for byte, in the file's own encoding.
extern QByteArray DrawerCommand;
extern QString DrawerCommSettings;
extern QString ConnectionString;
extern std::array<QString, MaxCourts> CourtNames;
extern std::array<QString, MaxCourts> SharedCourtPairs;
extern std::array<QString, MaxCourts> CourtDisplayNames;
extern int PerPersonChargingOn;
extern int SkipVerification;

// Staff and the task under way.
extern QString StaffLogin;
extern QString CurrentTask;
extern QString ShiftName;

// Clipboard of slots and waiting-list entries.
extern bool PasteFromWaitList;
extern QString WaitListCutId;
extern QString SlotDate;
extern QString SlotTime;
extern int SlotCourt;

// The record shown by the register or item window that is open: its 1-based position in the
// search result, and the number of rows of that result.
extern int RecordPosition;
extern int MemberRecordCount;

// What the floor plans have highlighted.
extern int SelectedCourt;
extern int SelectedLightCourt;
extern int SelectedWaitCourt;
extern bool AlertRefreshDone;

// The settings file every station reads.
inline const QString IniFile = QStringLiteral("pallowin.ini");
