#pragma once

#include "files_at.h"
#include "files_at_point.h"

#include <QAbstractItemModel>
#include <vector>

class CStampStore;

// The files behind one point of the curve as a two-level tree: the folders that hold them,
// largest first, each with its file count and share, and below each folder its files in walk
// order with their local time. Rows are computed from the store on request, so a point of a
// million files costs a few vectors, not a million items.
class CFilesModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { NameColumn, FilesColumn, ShareColumn, WrittenColumn, ColumnCount };

    explicit CFilesModel(QObject* parent = nullptr);

    // Shows the files of the store chosen in files; the store must keep its names and stay
    // unchanged until the next SetFiles or Clear.
    void SetFiles(const CStampStore& store, FilesAtPoint files);
    // Shows nothing (a new analysis is about to replace the store).
    void Clear();

    const FilesAtPoint& Files() const { return m_files; }

    // The folder a row shows, or the folder of the file a row shows, below the analysed folder
    // ("" for the analysed folder itself); and written out in full, byte for byte.
    QString RelativeFolder(const QModelIndex& index) const;
    std::string FullFolderPath(const QModelIndex& index) const;
    // The full path of the file or folder a row shows, byte for byte.
    std::string FullPath(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // A file row's internal id is its folder's row + 1; a folder row's is 0.
    static constexpr quintptr kFolderRow = 0;
    bool IsFile(const QModelIndex& index) const { return index.internalId() != kFolderRow; }
    std::size_t FolderRow(const QModelIndex& index) const;
    CStampStore::Index Record(const QModelIndex& index) const;

    const CStampStore* m_store = nullptr;
    FilesAtPoint m_files;
    std::vector<FolderCount> m_folders;
    std::vector<std::size_t> m_firstOfFolder; // where each folder's files begin in m_grouped
    std::vector<CStampStore::Index> m_grouped;
};
