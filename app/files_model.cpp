#include "files_model.h"

#include "files_at.h"
#include "scan_progress.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QFile>
#include <algorithm>
#include <climits>

namespace {

CFolderTree::Order OrderOfColumn(int column) {
    switch (column) {
    case CFilesModel::NameColumn:
        return CFolderTree::Order::Name;
    case CFilesModel::WrittenColumn:
        return CFolderTree::Order::Written;
    default:
        return CFolderTree::Order::Files;
    }
}

} // namespace

CFilesModel::CFilesModel(QObject* parent) : QAbstractItemModel(parent) {}

void CFilesModel::SetFiles(const CStampStore& store, const FilesAtPoint& files) {
    beginResetModel();
    m_store = &store;
    m_tree = CFolderTree(store, files.records);
    // The tree comes largest first, its files in walk order.
    if ((m_sortColumn != FilesColumn && m_sortColumn != ShareColumn) || m_sortOrder != Qt::DescendingOrder)
        m_tree.Sort(store, OrderOfColumn(m_sortColumn), m_sortOrder == Qt::DescendingOrder);
    NumberRows();
    endResetModel();
}

void CFilesModel::Clear() {
    beginResetModel();
    m_store = nullptr;
    m_tree = {};
    m_rowOf.clear();
    endResetModel();
}

void CFilesModel::NumberRows() {
    m_rowOf.assign(m_tree.NodeCount(), 0);
    for (Node node = 0; node < m_tree.NodeCount(); ++node) {
        const std::span<const Node> children = m_tree.Children(node);
        for (std::size_t row = 0; row < children.size(); ++row)
            m_rowOf[children[row]] = static_cast<int>(row);
    }
}

bool CFilesModel::IsFile(const QModelIndex& index) const {
    return static_cast<std::size_t>(index.row()) >= m_tree.Children(ParentNode(index)).size();
}

CFolderTree::Node CFilesModel::NodeOf(const QModelIndex& index) const {
    return IsFile(index) ? ParentNode(index)
                         : m_tree.Children(ParentNode(index))[static_cast<std::size_t>(index.row())];
}

CStampStore::Index CFilesModel::Record(const QModelIndex& index) const {
    const Node folder = ParentNode(index);
    return m_tree.Files(folder)[static_cast<std::size_t>(index.row()) - m_tree.Children(folder).size()];
}

QModelIndex CFilesModel::IndexOf(Node node, int column) const {
    if (node == CFolderTree::kRoot)
        return {};
    return createIndex(m_rowOf[node], column, static_cast<quintptr>(m_tree.Parent(node)));
}

QModelIndexList CFilesModel::MajorityBranch() const {
    QModelIndexList branch;
    if (m_store != nullptr)
        for (const Node node : m_tree.MajorityBranch())
            branch << IndexOf(node);
    return branch;
}

QString CFilesModel::RelativeFolder(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return QFile::decodeName(m_store->Places().FolderPath(m_tree.Folder(NodeOf(index))).c_str());
}

std::string CFilesModel::FullFolderPath(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return m_store->FullFolderPath(m_tree.Folder(NodeOf(index)));
}

std::string CFilesModel::FullPath(const QModelIndex& index) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    return IsFile(index) ? m_store->FullPath(Record(index)) : FullFolderPath(index);
}

QModelIndex CFilesModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    return createIndex(row, column,
                       static_cast<quintptr>(parent.isValid() ? NodeOf(parent) : CFolderTree::kRoot));
}

QModelIndex CFilesModel::parent(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    return IndexOf(ParentNode(index));
}

int CFilesModel::rowCount(const QModelIndex& parent) const {
    if (m_store == nullptr || (parent.isValid() && (parent.column() != 0 || IsFile(parent))))
        return 0;
    const Node node = parent.isValid() ? NodeOf(parent) : CFolderTree::kRoot;
    const std::size_t rows = m_tree.Children(node).size() + m_tree.Files(node).size();
    return static_cast<int>(std::min<std::size_t>(rows, INT_MAX));
}

int CFilesModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant CFilesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_store == nullptr)
        return {};
    if (role == Qt::TextAlignmentRole && (index.column() == FilesColumn || index.column() == ShareColumn))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    // A name shortened to fit shows whole, and with the path above it, in its tooltip.
    if (role == Qt::ToolTipRole && index.column() == NameColumn) {
        const std::string path = FullPath(index);
        return path.empty() ? QVariant() : QVariant(TextForWindow(path));
    }
    if (role != Qt::DisplayRole)
        return {};
    const CStampPlaces& places = m_store->Places();
    if (IsFile(index)) {
        const CStampStore::Index record = Record(index);
        if (index.column() == NameColumn)
            return TextForWindow(places.NameOf(record));
        if (index.column() == WrittenColumn)
            return QString::fromStdString(FormatRecordTime((*m_store)[record].m_lastWrite, m_store->Basis()));
        return {};
    }
    const Node node = NodeOf(index);
    switch (index.column()) {
    case NameColumn:
        return TextForWindow(m_tree.Name(places, node));
    case FilesColumn:
        return QString::fromStdString(GroupThousands(m_tree.FileCount(node)));
    case ShareColumn:
        return QString::fromStdString(FormatShare(m_tree.FileCount(node), m_tree.TotalFiles()));
    case WrittenColumn:
        return QString::fromStdString(FormatRecordTime(m_tree.Newest(node), m_store->Basis()));
    default:
        return {};
    }
}

QVariant CFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    // A first click sorts names from A, and counts and times from the largest or latest.
    if (role == Qt::InitialSortOrderRole)
        return section == NameColumn ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (role != Qt::DisplayRole)
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

void CFilesModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_store == nullptr)
        return;
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    // What each index kept elsewhere shows: a folder's node, or a file's record in its folder.
    const QModelIndexList before = persistentIndexList();
    struct Shown {
        Node node;
        bool file;
        CStampStore::Index record;
    };
    std::vector<Shown> shown;
    for (const QModelIndex& index : before)
        shown.push_back({NodeOf(index), IsFile(index), IsFile(index) ? Record(index) : 0});
    m_tree.Sort(*m_store, OrderOfColumn(column), order == Qt::DescendingOrder);
    NumberRows();
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (!shown[static_cast<std::size_t>(i)].file) {
            after << IndexOf(shown[static_cast<std::size_t>(i)].node, before[i].column());
            continue;
        }
        const Node folder = shown[static_cast<std::size_t>(i)].node;
        const std::span<const CStampStore::Index> files = m_tree.Files(folder);
        const auto at =
            std::find(files.begin(), files.end(), shown[static_cast<std::size_t>(i)].record) - files.begin();
        after << createIndex(static_cast<int>(m_tree.Children(folder).size() + static_cast<std::size_t>(at)),
                             before[i].column(), static_cast<quintptr>(folder));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, VerticalSortHint);
}
