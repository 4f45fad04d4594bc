#include "RegisterListModel.h"
#include "RegisterSearch.h"

void RegisterListModel::SetRows(std::vector<RegisterTable::ListRow> rows)
{
    m_rows = std::move(rows);
    m_folded.clear();
    m_folded.reserve(m_rows.size());
    for (const RegisterTable::ListRow& row : m_rows)
        m_folded.push_back(RegisterSearch::Fold(row.name));
}

void RegisterListModel::Search(const QString& typed)
{
    const RegisterSearch search(typed);
    beginResetModel();
    m_found.clear();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (search.Matches(m_folded[i]))
            m_found.push_back(static_cast<int>(i));
    endResetModel();
}

const RegisterTable::ListRow& RegisterListModel::Found(int index) const
{
    return m_rows[static_cast<size_t>(m_found[static_cast<size_t>(index)])];
}

int RegisterListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_found.size());
}

int RegisterListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 3; }

QVariant RegisterListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const RegisterTable::ListRow& row = Found(index.row());
    switch (index.column()) {
    case 0:
        return row.idno;
    case 1:
        return row.name;
    default:
        return row.tel;
    }
}

QVariant RegisterListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titles[] = {"ID", "Name", "Tel"};
    return section >= 0 && section < 3 ? QString::fromLatin1(titles[section]) : QVariant();
}
