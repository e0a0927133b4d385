#include "files_model.h"

#include "scan_progress.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QFile>

CFilesModel::CFilesModel(QObject* parent) : QAbstractItemModel(parent) {}

void CFilesModel::SetFiles(const CStampStore& store, FilesAtPoint files) {
    beginResetModel();
    m_store = &store;
    m_files = std::move(files);
    m_folders = CountByFolder(store.Places(), m_files.records);
    m_grouped = GroupByFolder(store.Places(), m_files.records, m_folders);
    m_firstOfFolder.clear();
    std::size_t first = 0;
    for (const FolderCount& folder : m_folders) {
        m_firstOfFolder.push_back(first);
        first += static_cast<std::size_t>(folder.files);
    }
    endResetModel();
}

void CFilesModel::Clear() {
    beginResetModel();
    m_store = nullptr;
    m_files = {};
    m_folders.clear();
    m_firstOfFolder.clear();
    m_grouped.clear();
    endResetModel();
}

std::size_t CFilesModel::FolderRow(const QModelIndex& index) const {
    return IsFile(index) ? static_cast<std::size_t>(index.internalId() - 1) : static_cast<std::size_t>(index.row());
}

CStampStore::Index CFilesModel::Record(const QModelIndex& index) const {
    return m_grouped[m_firstOfFolder[FolderRow(index)] + static_cast<std::size_t>(index.row())];
}

QString CFilesModel::RelativeFolder(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return QFile::decodeName(m_store->Places().FolderPath(m_folders[FolderRow(index)].folder).c_str());
}

std::string CFilesModel::FullFolderPath(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return m_store->FullFolderPath(m_folders[FolderRow(index)].folder);
}

std::string CFilesModel::FullPath(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return IsFile(index) ? m_store->FullPath(Record(index)) : FullFolderPath(index);
}

QModelIndex CFilesModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kFolderRow);
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex CFilesModel::parent(const QModelIndex& index) const {
    if (!index.isValid() || !IsFile(index))
        return {};
    return createIndex(static_cast<int>(index.internalId() - 1), 0, kFolderRow);
}

int CFilesModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(m_folders.size());
    if (IsFile(parent) || parent.column() != 0)
        return 0;
    return static_cast<int>(m_folders[static_cast<std::size_t>(parent.row())].files);
}

int CFilesModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant CFilesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    if (role == Qt::TextAlignmentRole && (index.column() == FilesColumn || index.column() == ShareColumn))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const CStampPlaces& places = m_store->Places();
    if (IsFile(index)) {
        const CStampStore::Index record = Record(index);
        if (index.column() == NameColumn)
            return TextForWindow(std::string(places.NameOf(record)));
        if (index.column() == WrittenColumn)
            return QString::fromStdString(FormatRecordTime((*m_store)[record].m_lastWrite, m_store->Basis()));
        return {};
    }
    const FolderCount& folder = m_folders[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case NameColumn:
        // A list may give times without their paths: they gather under one row of their own.
        if (folder.folder == CStampPlaces::kNoFolder)
            return QStringLiteral("(times without a path)");
        return TextForWindow(FolderListPath(places, folder.folder));
    case FilesColumn:
        return QString::fromStdString(GroupThousands(folder.files));
    case ShareColumn:
        return QString::fromStdString(FormatShare(folder.files, static_cast<std::int64_t>(m_files.records.size())));
    default:
        return {};
    }
}

QVariant CFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn:
        return QStringLiteral("Folder or File");
    case FilesColumn:
        return QStringLiteral("Files");
    case ShareColumn:
        return QStringLiteral("Share");
    case WrittenColumn:
        return QStringLiteral("Last Written");
    default:
        return {};
    }
}
