#include "commits_model.h"

#include "commit_record.h"
#include "files_at.h"
#include "window_text.h"

CCommitsModel::CCommitsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CCommitsModel::SetCommits(const CStampStore& store, std::vector<CStampStore::Index> records) {
    beginResetModel();
    m_store = &store;
    m_records = std::move(records);
    endResetModel();
}

void CCommitsModel::Clear() {
    beginResetModel();
    m_store = nullptr;
    m_records.clear();
    endResetModel();
}

std::string CCommitsModel::Id(int row) const {
    if (m_store == nullptr || row < 0 || static_cast<std::size_t>(row) >= m_records.size())
        return {};
    return std::string(CommitFactsOf(m_store->Places().NameOf(m_records[static_cast<std::size_t>(row)])).id);
}

int CCommitsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || m_store == nullptr ? 0 : static_cast<int>(m_records.size());
}

int CCommitsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CCommitsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_store == nullptr || role != Qt::DisplayRole)
        return {};
    const CStampStore::Index record = m_records[static_cast<std::size_t>(index.row())];
    const CommitFacts commit = CommitFactsOf(m_store->Places().NameOf(record));
    switch (index.column()) {
    case IdColumn:
        return TextForWindow(commit.id);
    case AuthorColumn:
        return TextForWindow(commit.author);
    case WrittenColumn:
        return QString::fromStdString(FormatRecordTime((*m_store)[record].m_lastWrite, m_store->Basis()));
    case SubjectColumn:
        return TextForWindow(commit.subject);
    default:
        return {};
    }
}

QVariant CCommitsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case IdColumn:
        return QStringLiteral("Commit");
    case AuthorColumn:
        return QStringLiteral("Author");
    case WrittenColumn:
        return QStringLiteral("Written");
    case SubjectColumn:
        return QStringLiteral("Subject");
    default:
        return {};
    }
}
