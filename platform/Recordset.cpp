#include "Recordset.h"
#include "Vb.h"
#include "VbError.h"

double Field::Number() const { return Vb::Val(Value()); }
long long Field::Integer() const { return static_cast<long long>(Vb::Val(Value())); }

Recordset::Recordset(QStringList columns, std::vector<std::vector<std::optional<QString>>> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

void Recordset::MoveNext()
{
    if (EOF_())
        throw VbError(3021, "ADODB.Recordset", "Either BOF or EOF is True, or the current record has been deleted.");
    ++m_position;
}

void Recordset::Close()
{
    m_rows.clear();
    m_position = 0;
}

const std::vector<std::optional<QString>>& Recordset::currentRow() const
{
    if (EOF_())
        throw VbError(3021, "ADODB.Recordset", "Either BOF or EOF is True, or the current record has been deleted.");
    return m_rows[m_position];
}

Field Recordset::Fields(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return Fields(i);
    throw VbError(VbErrors::ItemNotFound, "ADODB.Fields",
                  "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

Field Recordset::Fields(int index) const
{
    if (index < 0 || index >= m_columns.size())
        throw VbError(VbErrors::ItemNotFound, "ADODB.Fields",
                      "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return Field(m_columns[index], &currentRow()[static_cast<size_t>(index)]);
}
