#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// One value of a row; a NULL reads as the empty text.
class Field {
public:
    Field(const QString& name, const std::optional<QString>* value) : m_name(name), m_value(value) {}

    const QString& Name() const { return m_name; }
    bool IsNull() const { return !m_value->has_value(); }
    QString Value() const { return m_value->value_or(QString()); }
    // The leading number of the value, 0 when empty or NULL.
    double Number() const;
    long long Integer() const;

private:
    const QString& m_name;
    const std::optional<QString>* m_value;
};

// The rows of one query, read in full when it ran (a client-side static cursor): moving through
// them asks nothing of the server.
class Recordset {
public:
    Recordset() = default;
    Recordset(QStringList columns, std::vector<std::vector<std::optional<QString>>> rows);

    bool EOF_() const { return m_position >= m_rows.size(); }
    bool BOF() const { return m_rows.empty(); }
    void MoveNext();
    void MoveFirst() { m_position = 0; }
    long RecordCount() const { return static_cast<long>(m_rows.size()); }
    long FieldCount() const { return static_cast<long>(m_columns.size()); }
    void Close();

    // Fields of the current row by name (without regard to case) or by position; asking for a
    // field that is not there, or reading past the end, throws a VbError.
    Field Fields(const QString& name) const;
    Field Fields(int index) const;
    Field operator[](const QString& name) const { return Fields(name); }

    const QStringList& Columns() const { return m_columns; }

private:
    const std::vector<std::optional<QString>>& currentRow() const;

    QStringList m_columns;
    std::vector<std::vector<std::optional<QString>>> m_rows;
    size_t m_position = 0;
};
