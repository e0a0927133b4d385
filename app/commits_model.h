#pragma once

#include "stamp_store.h"

#include <QAbstractTableModel>
#include <vector>

// The commits behind one point of the curve, one row each: full id, author, the time on the
// author's clock and subject, in the order the history was read.
class CCommitsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { IdColumn, AuthorColumn, WrittenColumn, SubjectColumn, ColumnCount };

    explicit CCommitsModel(QObject* parent = nullptr);

    // Shows the given records of the store, which must keep its names and stay unchanged until
    // the next SetCommits or Clear.
    void SetCommits(const CStampStore& store, std::vector<CStampStore::Index> records);
    void Clear();

    // The full id of the commit a row shows.
    std::string Id(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const CStampStore* m_store = nullptr;
    std::vector<CStampStore::Index> m_records;
};
