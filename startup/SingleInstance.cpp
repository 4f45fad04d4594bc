#include "SingleInstance.h"

#include "Profile.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace {

QString keyOfWindowsDirectory()
{
    const QByteArray folder = QDir(Profile::WindowsDirectory()).absolutePath().toUtf8();
    return "pallowin-" + QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16);
}

} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent), m_key(keyOfWindowsDirectory()), m_lock(QDir::temp().filePath(m_key + ".lock"))
{
    // Only a lock whose process has ended is stale, however long the station has been running.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::Claim()
{
    if (!m_lock.tryLock(0))
        return false;
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* request = m_server->nextPendingConnection()) {
            connect(request, &QLocalSocket::disconnected, request, &QObject::deleteLater);
            BringWindowsToFront();
            emit activated();
        }
    });
    m_server->listen(m_key);
    return true;
}

bool SingleInstance::ActivateEarlier()
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(2000))
        return false;
    socket.disconnectFromServer();
    return true;
}

void BringWindowsToFront()
{
    QWidget* inUse = QApplication::activeModalWidget();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::ToolTip || window->windowType() == Qt::Popup)
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        if (!inUse)
            inUse = window;
    }
    if (inUse)
        inUse->activateWindow();
}
