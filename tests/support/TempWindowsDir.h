#pragma once

#include <QString>
#include <QTemporaryDir>

// A Windows directory of its own for one test: $WINDIR points at it while the object lives.
class TempWindowsDir {
public:
    TempWindowsDir();
    ~TempWindowsDir();

    QString path() const { return m_dir.path(); }
    QString iniPath() const { return m_dir.path() + "/pallowin.ini"; }
    // The settings file's text, "" when it does not exist.
    QString iniText() const;
    void writeIni(const QString& text) const;
    // The file as bytes, for encodings and line endings.
    QByteArray iniBytes() const;
    void writeIniBytes(const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};
