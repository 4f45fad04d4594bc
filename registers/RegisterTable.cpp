#include "RegisterTable.h"

#include "Db.h"
#include "SqlQuote.h"

#include <algorithm>

RegisterTable::RegisterTable(QString table, QString prefix) : m_table(std::move(table)), m_prefix(std::move(prefix)) {}

std::vector<RegisterTable::ListRow> RegisterTable::List() const
{
    const QString& p = m_prefix;
    Recordset rs = Db::Query("SELECT " + p + "id, " + p + "idno, " + p + "name, " + p + "tel FROM " + m_table +
                             " ORDER BY " + p + "idno ASC, " + p + "id ASC");
    std::vector<ListRow> rows;
    rows.reserve(static_cast<size_t>(rs.RecordCount()));
    for (; !rs.EOF_(); rs.MoveNext())
        rows.push_back({rs.Fields(0).Integer(), rs.Fields(1).Value(), rs.Fields(2).Value(), rs.Fields(3).Value()});
    return rows;
}

std::optional<RegisterTable::Record> RegisterTable::RecordOf(long long key) const
{
    Recordset rs = Db::Query("SELECT * FROM " + m_table + " WHERE " + m_prefix + "id=" + QString::number(key));
    if (rs.EOF_())
        return std::nullopt;
    Record record;
    for (int i = 0; i < 6; ++i)
        record[static_cast<size_t>(i)] = rs.Fields(i).Value();
    return record;
}

QString RegisterTable::texts(const Record& record) const
{
    const QString& p = m_prefix;
    return p + "idno='" + SqlQuote(record[1]) + "', " + p + "name='" + SqlQuote(record[2]) + "', " + p + "org='" +
           SqlQuote(record[4]) + "', " + p + "tel='" + SqlQuote(record[5]) + "'";
}

void RegisterTable::Insert(const Record& record, long long hours) const
{
    Db::Execute("INSERT INTO " + m_table + " SET " + texts(record) + ", " + m_prefix + "hour=" + QString::number(hours));
}

RegisterTable::Updated RegisterTable::Update(const Record& record, std::optional<long long> hours) const
{
    const std::optional<long long> key = Key(record[0]);
    if (!key)
        return Updated::NoKey;
    QString set = texts(record);
    if (hours)
        set += ", " + m_prefix + "hour=" + QString::number(*hours);
    // The connection counts the rows found, changed or not: none means the row is gone.
    if (Db::Execute("UPDATE " + m_table + " SET " + set + " WHERE " + m_prefix + "id=" + QString::number(*key)) == 0)
        return Updated::Gone;
    return Updated::Written;
}

std::array<int, 6> RegisterTable::TextWidths() const
{
    const QStringList columns = {"id", "idno", "name", "hour", "org", "tel"};
    std::array<int, 6> widths{};
    for (Recordset rs = Db::Query("SELECT COLUMN_NAME, CHARACTER_MAXIMUM_LENGTH FROM information_schema.COLUMNS "
                                  "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='" + m_table + "'");
         !rs.EOF_(); rs.MoveNext()) {
        const qsizetype position = columns.indexOf(rs.Fields(0).Value().mid(m_prefix.size()));
        if (position > 0 && position != 3 && rs.Fields(0).Value().startsWith(m_prefix))
            widths[static_cast<size_t>(position)] = static_cast<int>(std::min<long long>(rs.Fields(1).Integer(), 32767));
    }
    return widths;
}

void RegisterTable::Delete(long long key) const
{
    Db::Execute("DELETE FROM " + m_table + " WHERE " + m_prefix + "id=" + QString::number(key));
}

std::optional<long long> RegisterTable::Hours(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return 0;
    // Nine digits are more hours than anyone plays, and fewer than the column holds.
    if (text.size() > 9)
        return std::nullopt;
    for (QChar c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    return text.toLongLong();
}

QString RegisterTable::HoursText(const QString& stored)
{
    QString text = stored;
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
    }
    return text;
}

std::optional<long long> RegisterTable::Key(const QString& box)
{
    bool ok = false;
    const long long key = box.trimmed().toLongLong(&ok);
    return ok && key > 0 ? std::optional<long long>(key) : std::nullopt;
}
