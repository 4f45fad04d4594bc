#include "TempWindowsDir.h"

#include <QFile>

TempWindowsDir::TempWindowsDir() : m_previous(qgetenv("WINDIR")), m_hadPrevious(qEnvironmentVariableIsSet("WINDIR"))
{
    qputenv("WINDIR", m_dir.path().toLocal8Bit());
}

TempWindowsDir::~TempWindowsDir()
{
    if (m_hadPrevious)
        qputenv("WINDIR", m_previous);
    else
        qunsetenv("WINDIR");
}

QString TempWindowsDir::iniText() const { return QString::fromUtf8(iniBytes()).replace("\r\n", "\n"); }

void TempWindowsDir::writeIni(const QString& text) const { writeIniBytes(text.toUtf8()); }

QByteArray TempWindowsDir::iniBytes() const
{
    QFile f(iniPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempWindowsDir::writeIniBytes(const QByteArray& bytes) const
{
    QFile f(iniPath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
