#include "unreadable_folders_window.h"

#include "scan_problems.h"
#include "stamp_places.h"
#include "window_text.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstring>

CUnreadableFoldersWindow::CUnreadableFoldersWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("Unreadable Folders"));
    setWindowTitle(QStringLiteral("Unreadable Folders"));
    resize(640, 320);
    m_list->setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("Error")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
}

void CUnreadableFoldersWindow::ShowProblems(const std::string& folder, const ScanProblems& problems) {
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const UnreadableFolder& unreadable : problems.unreadable)
        items.append(new QTreeWidgetItem(
            {TextForWindow(JoinPath(folder, unreadable.path)), QString::fromLocal8Bit(std::strerror(unreadable.error))}));
    m_list->addTopLevelItems(items);
    m_list->resizeColumnToContents(1);
    show();
    raise();
    activateWindow();
}
