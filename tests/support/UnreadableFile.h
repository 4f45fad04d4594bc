#pragma once

#include <QFile>
#include <QString>

// Makes a file that exists unreadable to this thread while the object lives, as a file of another
// user or one met with no file handles left would be; the directory stays writable. For root the
// permission bits alone would not do, so the capabilities that read past them are set aside too.
class UnreadableFile {
public:
    explicit UnreadableFile(const QString& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

private:
    QString m_path;
    QFile::Permissions m_permissions;
    unsigned m_effective = 0;
};
