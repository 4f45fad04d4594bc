#pragma once

#include <QLockFile>
#include <QObject>

class QLocalServer;

// One instance of the program per settings file (per station): the first holds a lock file and
// listens on a local socket; a later one asks it, through the socket, to come to the front.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // The guard of the settings file in the Windows directory.
    explicit SingleInstance(QObject* parent = nullptr);

    // True when this process holds the guard now; false when an earlier instance holds it.
    bool Claim();
    // Asks the earlier instance to bring its windows to the front; false when it cannot be reached.
    bool ActivateEarlier();

signals:
    // An earlier-instance request arrived and the windows were brought to the front.
    void activated();

private:
    QString m_key;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};

// Restores the program's minimised windows, raises them and activates the one in use.
void BringWindowsToFront();
