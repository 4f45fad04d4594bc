#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace Profile {

namespace {

// Bytes 0x80 to 0x9F of the Windows-1252 code page; the five it leaves unassigned stand for the
// control characters of the same number, so that every byte reads and writes back unchanged.
constexpr char16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

// False when the text holds a character the code page has no byte for.
bool toWindows1252(const QString& text, QByteArray& bytes)
{
    bytes.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            bytes[i] = static_cast<char>(c);
            continue;
        }
        const auto* found = std::find(std::begin(Windows1252High), std::end(Windows1252High), c);
        if (found == std::end(Windows1252High))
            return false;
        bytes[i] = static_cast<char>(0x80 + (found - std::begin(Windows1252High)));
    }
    return true;
}

// A settings file as read, with what it takes to write it back in its own form: the encoding
// (UTF-8 when the bytes are valid UTF-8, else the Windows code page of files brought from a
// Windows counter), a byte-order mark, the line ending and a last line without one.
struct Lines {
    QStringList lines;
    bool exists = false;
    // Why a file that exists could not be read; empty when it was read or does not exist.
    QString failure;
    bool windows1252 = false;
    bool byteOrderMark = false;
    QString newline = QStringLiteral("\r\n");
    bool finalNewline = true;
};

const QByteArray Utf8Mark("\xEF\xBB\xBF");

Lines readLines(const QString& path)
{
    Lines result;
    QFile f(path);
    result.exists = f.exists();
    if (!result.exists)
        return result;
    QByteArray bytes;
    if (f.open(QIODevice::ReadOnly))
        bytes = f.readAll();
    if (!f.isOpen() || f.error() != QFileDevice::NoError) {
        result.failure = f.errorString();
        return result;
    }
    result.byteOrderMark = bytes.startsWith(Utf8Mark);
    if (result.byteOrderMark)
        bytes.remove(0, Utf8Mark.size());
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        result.windows1252 = true;
        text = fromWindows1252(bytes);
    }
    if (!text.contains("\r\n") && text.contains('\n'))
        result.newline = QStringLiteral("\n");
    result.finalNewline = text.isEmpty() || text.endsWith('\n');
    text.replace("\r\n", "\n");
    result.lines = text.split('\n');
    if (!result.lines.isEmpty() && result.lines.last().isEmpty())
        result.lines.removeLast();
    return result;
}

// The file's bytes in the form it was read in; false when its encoding cannot hold the text.
bool encodeLines(const Lines& content, QByteArray& bytes)
{
    QString text = content.lines.join(content.newline);
    if (content.finalNewline)
        text += content.newline;
    if (content.windows1252)
        return toWindows1252(text, bytes);
    bytes = (content.byteOrderMark ? Utf8Mark : QByteArray()) + text.toUtf8();
    return true;
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

QString UnreadableReason(const QString& file) { return readLines(PathOf(file)).failure; }

QString Text(const QString& file)
{
    const Lines content = readLines(PathOf(file));
    if (content.lines.isEmpty())
        return {};
    return content.lines.join(content.newline) + (content.finalNewline ? content.newline : QString());
}

QByteArray Encoded(const QString& text, const QString& file)
{
    QByteArray bytes;
    // A text the code page has no bytes for was not read from the file; it goes as UTF-8.
    if (readLines(PathOf(file)).windows1252 && toWindows1252(text, bytes))
        return bytes;
    return text.toUtf8();
}

namespace {

// The value of the key's first line in the section, unquoted; none when the file has no such line.
std::optional<QString> valueOf(const QString& section, const QString& key, const QString& file)
{
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
        if (!k.isNull() && sameName(k, key))
            return unquote(line.mid(line.indexOf('=') + 1));
    }
    return std::nullopt;
}

} // namespace

int GetString(const QString& section, const QString& key, const QString& defaultValue,
              QString& value, int size, const QString& file)
{
    const int room = size > 0 ? size - 1 : 0;
    value = defaultValue.left(room);
    const QString found = valueOf(section, key, file).value_or(QString()).left(room);
    if (found.isEmpty())
        return 0;
    value = found;
    return static_cast<int>(found.size());
}

bool HasKey(const QString& section, const QString& key, const QString& file)
{
    return valueOf(section, key, file).has_value();
}

bool WriteString(const QString& section, const QString& key, const QString& value, const QString& file)
{
    const QString path = PathOf(file);
    Lines content = readLines(path);
    // Rewritten from nothing, a file that exists but could not be read would lose every other key.
    if (!content.failure.isEmpty())
        return false;
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

    QByteArray bytes;
    if (!encodeLines(content, bytes))
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(bytes);
    return out.commit();
}

}
