#include "Globals.h"

int CounterNumber = 1;
int ShownCounter = 1;
int CounterCount = 1;
int LastCourtIndex = MaxCourts - 1;
int LastCourtTypeIndex = 0;

QString FrontPictureFile;
QString LogoPictureFile;
int HourStart = 0;
int HourEnd = 0;
int SpecialGroupCount = SpecialGroupLimit;
QString DatabaseServer;
QString DatabasePort;
QString DatabaseUser;
QString DatabasePassword;
QString WebServerHost;
int DrawerCommPort = 0;
QByteArray DrawerCommand;
QString DrawerCommSettings;
QString ConnectionString;
std::array<QString, MaxCourts> CourtNames;
std::array<QString, MaxCourts> SharedCourtPairs;
std::array<QString, MaxCourts> CourtDisplayNames;
int PerPersonChargingOn = 0;
int SkipVerification = 0;

QString StaffLogin;
QString CurrentTask;
QString ShiftName;

bool PasteFromWaitList = false;
QString WaitListCutId;
QString SlotDate;
QString SlotTime;
int SlotCourt = 0;

int RecordPosition = 1;
int MemberRecordCount = 0;

int SelectedCourt = 0;
int SelectedLightCourt = 0;
int SelectedWaitCourt = 0;
bool AlertRefreshDone = false;
