#pragma once

#include "RegisterTable.h"

#include <QAbstractTableModel>

// The register's list: every row of the table as read, and the rows of it that the search finds,
// shown as ID, Name, Tel. The search runs over the rows held here, so that typing in a large
// register fills the list at once; the rows are read afresh whenever the list is refilled.
class RegisterListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(std::vector<RegisterTable::ListRow> rows);
    void Search(const QString& typed);
    // The row found at index, 0-based.
    const RegisterTable::ListRow& Found(int index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RegisterTable::ListRow> m_rows;
    std::vector<QString> m_folded;  // the names as the search compares them
    std::vector<int> m_found;       // indexes into m_rows, in their order
};
