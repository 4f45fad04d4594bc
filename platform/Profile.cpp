#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QStringList>

namespace Profile {

namespace {

struct Lines {
    QStringList lines;
    bool exists = false;
};

Lines readLines(const QString& path)
{
    Lines result;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return result;
    result.exists = true;
    QString text = QString::fromUtf8(f.readAll());
    text.replace("\r\n", "\n");
    result.lines = text.split('\n');
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    return result;
}

bool isSectionLine(const QString& line, QString* name)
{
    QString t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    int close = t.indexOf(']');
    if (close < 0)
        return false;
    if (name)
        *name = t.mid(1, close - 1).trimmed();
    return true;
}

// The key of a "key=value" line, or a null string for anything else.
QString keyOf(const QString& line)
{
    int eq = line.indexOf('=');
    if (eq < 0)
        return {};
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

QString unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString WindowsDirectory()
{
    QString windir = qEnvironmentVariable("WINDIR");
    if (!windir.isEmpty())
        return windir;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + "/.config";
    return config + "/pallowin";
}

QString PathOf(const QString& file)
{
    if (file.contains('/') || file.contains('\\'))
        return QString(file).replace('\\', '/');
    return WindowsDirectory() + "/" + file;
}

int GetString(const QString& section, const QString& key, const QString& defaultValue,
              QString& value, int size, const QString& file)
{
    const int room = size > 0 ? size - 1 : 0;
    value = defaultValue.left(room);
    const Lines content = readLines(PathOf(file));
    bool inSection = false;
    for (const QString& line : content.lines) {
        QString name;
        if (isSectionLine(line, &name)) {
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection)
            continue;
        QString k = keyOf(line);
        if (k.isNull() || !sameName(k, key))
            continue;
        QString v = unquote(line.mid(line.indexOf('=') + 1)).left(room);
        if (v.isEmpty())
            return 0;
        value = v;
        return static_cast<int>(v.size());
    }
    return 0;
}

bool WriteString(const QString& section, const QString& key, const QString& value, const QString& file)
{
    const QString path = PathOf(file);
    Lines content = readLines(path);
    QStringList& lines = content.lines;
    const QString entry = key.trimmed() + "=" + value;

    int sectionStart = -1;
    int lastKeyLine = -1;
    int keyLine = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionLine(lines[i], &name)) {
            if (sectionStart >= 0)
                break;
            if (sameName(name, section)) {
                sectionStart = i;
                lastKeyLine = i;
            }
            continue;
        }
        if (sectionStart < 0)
            continue;
        if (!lines[i].trimmed().isEmpty())
            lastKeyLine = i;
        QString k = keyOf(lines[i]);
        if (!k.isNull() && sameName(k, key)) {
            keyLine = i;
            break;
        }
    }
    if (keyLine >= 0)
        lines[keyLine] = keyOf(lines[keyLine]) + "=" + value;
    else if (sectionStart >= 0)
        lines.insert(lastKeyLine + 1, entry);
    else
        lines << "[" + section + "]" << entry;

    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write((lines.join("\r\n") + "\r\n").toUtf8());
    return out.commit();
}

}
