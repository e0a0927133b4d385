#include "files_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

CFilesWindow::CFilesWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      m_model(this), m_header(new QLabel(this)), m_tree(new QTreeView(this)) {
    setObjectName(QStringLiteral("Files"));
    setWindowTitle(QStringLiteral("Files"));
    resize(720, 480);

    m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tree->setAccessibleName(QStringLiteral("Folders and files"));
    m_tree->setAccessibleDescription(
        QStringLiteral("The folders behind the point of the curve, largest first, and their files."));
    m_tree->setModel(&m_model);
    m_tree->setUniformRowHeights(true); // a folder of a million files scrolls without measuring each row
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(CFilesModel::NameColumn, QHeaderView::Stretch);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CFilesWindow::ShowContextMenu);

    m_copy = new QAction(QStringLiteral("&Copy Paths"), this);
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_copy, &QAction::triggered, this, &CFilesWindow::CopySelectedPaths);
    addAction(m_copy);
    m_openFolder = new QAction(QStringLiteral("&Open Folder"), this);
    m_openFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_openFolder, &QAction::triggered, this, &CFilesWindow::OpenFolder);
    // Escape closes the window; the main window, and its graph, then have the focus again.
    auto* close = new QAction(QStringLiteral("C&lose"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto* menuBar = new QMenuBar(this);
    m_menu = menuBar->addMenu(QStringLiteral("&Files"));
    m_menu->addAction(m_copy);
    m_menu->addAction(m_openFolder);
    m_menu->addSeparator();
    m_folderActionsEnd = m_menu->addSeparator();
    m_menu->addAction(close);

    auto* copyButton = new QPushButton(m_copy->text(), this);
    connect(copyButton, &QPushButton::clicked, m_copy, &QAction::trigger);
    auto* openButton = new QPushButton(m_openFolder->text(), this);
    connect(openButton, &QPushButton::clicked, m_openFolder, &QAction::trigger);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(openButton);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_header);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
}

void CFilesWindow::ShowFiles(const CStampStore& store, FilesAtPoint files) {
    m_header->setText(QString::fromStdString(FilesAtPointTitle(files)));
    m_model.SetFiles(store, std::move(files));
    // Wide enough for a whole time before any folder is opened to show one (folder rows have none).
    const QString widest = QStringLiteral("0000-00-00 00:00:00");
    m_tree->header()->resizeSection(CFilesModel::WrittenColumn,
                                    m_tree->fontMetrics().horizontalAdvance(widest) +
                                        4 * m_tree->style()->pixelMetric(QStyle::PM_HeaderMargin));
    show();
    raise();
    activateWindow();
}

void CFilesWindow::Clear() {
    m_header->clear();
    m_model.Clear();
}

QString CFilesWindow::HeaderText() const {
    return m_header->text();
}

QAction* CFilesWindow::AddFolderAction(const QString& text, const QKeySequence& shortcut) {
    auto* action = new QAction(text, this);
    action->setShortcut(shortcut);
    m_menu->insertAction(m_folderActionsEnd, action);
    connect(action, &QAction::triggered, this, [this, action] {
        const QModelIndex current = m_tree->currentIndex();
        if (current.isValid())
            emit FolderActionTriggered(action, m_model.RelativeFolder(current));
    });
    m_folderActions.append(action);
    return action;
}

void CFilesWindow::CopySelectedPaths() {
    QStringList paths;
    for (const QModelIndex& index : m_tree->selectionModel()->selectedRows(CFilesModel::NameColumn))
        paths.append(m_model.FullPath(index));
    if (!paths.isEmpty())
        QApplication::clipboard()->setText(paths.join(QLatin1Char('\n')));
}

void CFilesWindow::OpenFolder() {
    const QModelIndex current = m_tree->currentIndex();
    if (current.isValid() && m_openUrl)
        m_openUrl(QUrl::fromLocalFile(m_model.FullFolderPath(current)));
}

void CFilesWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (QWidget* owner = parentWidget())
        owner->activateWindow();
}

void CFilesWindow::ShowContextMenu(const QPoint& at) {
    if (!m_tree->indexAt(at).isValid())
        return;
    QMenu menu(this);
    menu.addAction(m_copy);
    menu.addAction(m_openFolder);
    if (!m_folderActions.isEmpty()) {
        menu.addSeparator();
        menu.addActions(m_folderActions);
    }
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}
