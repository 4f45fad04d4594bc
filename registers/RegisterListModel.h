#pragma once

#include "RegisterTable.h"

#include <QAbstractTableModel>

// The search result as the register's list shows it: ID, Name, Tel. A model rather than one item
// per row, so that a search over a large register fills the list at once.
class RegisterListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<RegisterTable::ListRow> rows);
    void Clear() { SetRows({}); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RegisterTable::ListRow> m_rows;
};
