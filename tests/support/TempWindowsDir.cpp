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

QString TempWindowsDir::iniText() const
{
    QFile f(iniPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).replace("\r\n", "\n");
}

void TempWindowsDir::writeIni(const QString& text) const
{
    QFile f(iniPath());
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}
