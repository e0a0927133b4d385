#pragma once

#include "files_at_point.h"
#include "folder_tree.h"

#include <QAbstractItemModel>
#include <vector>

class CStampStore;

// The files behind one point of the curve as a tree of folders of any depth: each folder with
// the files of its whole subtree, their share and the newest time among them, its subfolders
// largest first, then its own files with their local time. A chain of folders with one subfolder
// each is one row. Rows are computed from the store on request, so a point of a million files
// costs a few vectors, not a million items; every column sorts, within each folder.
class CFilesModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { NameColumn, FilesColumn, ShareColumn, WrittenColumn, ColumnCount };

    explicit CFilesModel(QObject* parent = nullptr);

    // Shows the files of the store chosen in files, in the order last sorted; the store must
    // keep its names and stay unchanged until the next SetFiles or Clear.
    void SetFiles(const CStampStore& store, const FilesAtPoint& files);
    // Shows nothing (a new analysis is about to replace the store).
    void Clear();

    // The rows to show open at first: the largest branch while it holds more than half.
    QModelIndexList MajorityBranch() const;

    // The folder a row shows (the deepest of a chain), or the folder of the file a row shows,
    // below the analysed folder ("" for the analysed folder itself); and written out in full,
    // byte for byte.
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
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    using Node = CFolderTree::Node;
    // A row's internal id is the node of its parent row (the root for the top rows); below a
    // node come its folder rows, then its files.
    Node ParentNode(const QModelIndex& index) const { return static_cast<Node>(index.internalId()); }
    bool IsFile(const QModelIndex& index) const;
    Node NodeOf(const QModelIndex& index) const; // of a folder row, or of a file row's folder
    CStampStore::Index Record(const QModelIndex& index) const;
    QModelIndex IndexOf(Node node, int column = 0) const;
    // Where each node lies among its siblings, after a sort.
    void NumberRows();

    const CStampStore* m_store = nullptr;
    CFolderTree m_tree;
    std::vector<int> m_rowOf; // by node
    int m_sortColumn = FilesColumn;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};
