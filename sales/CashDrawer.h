#pragma once

#include <QString>

class CommPort;

// Opens the cash drawer by writing the drawer text (DrawerCommand) to the drawer's port on the
// serial control of the window that opens it; the window's marker (its Tag) records that the port
// is open. A failure throws the serial control's VbError, reported as "opening cash drawer".

// Variant A, when a drawer window loads: nothing when the marker is set; a port that already reads
// open is told as "Cannot found drawer", and the text is written all the same.
void OpenCashDrawerA(CommPort& port, QString& marker);
// Variant B, after a sale: the first time opens the port; later times send the settings and the
// text again on the port already held.
void OpenCashDrawerB(CommPort& port, QString& marker);

inline const QString DrawerOpenedMarker = QStringLiteral("FirstDone");
