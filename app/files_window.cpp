#include "files_window.h"

#include "text_escape.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
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
    m_tree->setAccessibleDescription(QStringLiteral(
        "The folders behind the point of the curve, each counting its subfolders' files, largest "
        "first, and their files."));
    m_tree->setModel(&m_model);
    m_tree->setTextElideMode(Qt::ElideMiddle); // a long path keeps both its ends; its tooltip holds it whole
    m_tree->header()->setSortIndicator(CFilesModel::FilesColumn, Qt::DescendingOrder);
    m_tree->setSortingEnabled(true);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFilesWindow::UpdateActions);
    m_tree->setUniformRowHeights(true); // a folder of a million files scrolls without measuring each row
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(CFilesModel::NameColumn, QHeaderView::Stretch);
    connect(m_tree, &QWidget::customContextMenuRequested, this, &CFilesWindow::ShowContextMenu);

    m_copy = new QAction(QStringLiteral("&Copy Paths"), this);
    m_copy->setShortcut(QKeySequence::Copy);
    m_copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_copy, &QAction::triggered, this, &CFilesWindow::CopySelection);
    addAction(m_copy);
    m_openFolder = new QAction(QStringLiteral("&Open Folder"), this);
    m_openFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_openFolder, &QAction::triggered, this, &CFilesWindow::OpenFolder);
    m_leaveOut = new QAction(QStringLiteral("Leave Out This Folder"), this);
    m_leaveOut->setShortcut(QKeySequence::Delete);
    connect(m_leaveOut, &QAction::triggered, this, [this] {
        if (const QModelIndex current = m_tree->currentIndex(); current.isValid())
            emit LeaveOutRequested(m_model.RelativeFolder(current));
    });
    // Escape closes the window; the main window, and its graph, then have the focus again.
    auto* close = new QAction(QStringLiteral("C&lose"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);

    auto* menuBar = new QMenuBar(this);
    QMenu* menu = menuBar->addMenu(QStringLiteral("&Files"));
    menu->addAction(m_copy);
    menu->addAction(m_openFolder);
    menu->addSeparator();
    menu->addAction(m_leaveOut);
    menu->addSeparator();
    menu->addAction(close);

    auto* copyButton = new QPushButton(m_copy->text(), this);
    connect(copyButton, &QPushButton::clicked, m_copy, &QAction::trigger);
    connect(m_copy, &QAction::changed, copyButton,
            [this, copyButton] { copyButton->setText(m_copy->text()); });
    m_openButton = new QPushButton(m_openFolder->text(), this);
    connect(m_openButton, &QPushButton::clicked, m_openFolder, &QAction::trigger);
    connect(m_openFolder, &QAction::changed, m_openButton, [this] {
        m_openButton->setVisible(m_openFolder->isVisible());
        m_openButton->setEnabled(m_openFolder->isEnabled());
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton);
    buttons->addWidget(m_openButton);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_header);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
}

bool CFilesWindow::ListsCommits() const {
    return m_tree->model() == &m_commits;
}

void CFilesWindow::ShowFiles(const CStampStore& store, FilesAtPoint files, bool folderRulesApply) {
    m_header->setText(QString::fromStdString(FilesAtPointTitle(files)));
    m_folderRulesApply = folderRulesApply;
    const bool commits = store.Kind() == RecordKind::Commits;
    m_shown = std::move(files);
    if (commits) {
        m_model.Clear();
        m_commits.SetCommits(store, m_shown->records);
    } else {
        m_commits.Clear();
        m_model.SetFiles(store, *m_shown);
    }
    if (commits != ListsCommits()) {
        m_tree->setModel(commits ? static_cast<QAbstractItemModel*>(&m_commits) : &m_model);
        connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &CFilesWindow::UpdateActions);
        m_tree->setRootIsDecorated(!commits);
        m_tree->setSortingEnabled(!commits); // commits stay in the order of their history
        m_tree->header()->setSectionResizeMode(QHeaderView::Interactive);
        m_tree->header()->setSectionResizeMode(
            commits ? int{CCommitsModel::SubjectColumn} : int{CFilesModel::NameColumn}, QHeaderView::Stretch);
    }
    m_copy->setText(commits ? QStringLiteral("&Copy Commit Ids") : QStringLiteral("&Copy Paths"));
    m_tree->setAccessibleName(commits ? QStringLiteral("Commits") : QStringLiteral("Folders and files"));
    // Wide enough for a whole time, whichever rows are open.
    const QString widest = QStringLiteral("0000-00-00 00:00:00");
    m_tree->header()->resizeSection(commits ? int{CCommitsModel::WrittenColumn}
                                            : int{CFilesModel::WrittenColumn},
                                    m_tree->fontMetrics().horizontalAdvance(widest) +
                                        4 * m_tree->style()->pixelMetric(QStyle::PM_HeaderMargin));
    // The folder holding most of the point is the current row, so that Delete leaves it out.
    const QModelIndexList branch = m_model.MajorityBranch();
    for (const QModelIndex& index : branch)
        m_tree->expand(index);
    if (!branch.isEmpty()) {
        m_tree->setCurrentIndex(branch.back());
        m_tree->scrollTo(branch.back());
    }
    UpdateActions();
    show();
    raise();
    activateWindow();
}

void CFilesWindow::Clear() {
    m_header->clear();
    m_shown.reset();
    m_model.Clear();
    m_commits.Clear();
}

const FilesAtPoint* CFilesWindow::ShownPoint() const {
    return m_shown ? &*m_shown : nullptr;
}

void CFilesWindow::UpdateActions() {
    const QModelIndex current = m_tree->currentIndex();
    const bool commits = ListsCommits();
    m_openFolder->setVisible(!commits);
    m_openFolder->setEnabled(!commits && current.isValid() &&
                             QFileInfo(QFile::decodeName(m_model.FullFolderPath(current).c_str())).isDir());
    m_leaveOut->setVisible(!commits && m_folderRulesApply);
}

QString CFilesWindow::HeaderText() const {
    return m_header->text();
}

std::unique_ptr<QMimeData> PathsForClipboard(const std::vector<std::string>& paths) {
    QList<QUrl> urls;
    QStringList lines;
    const std::string here = QFile::encodeName(QDir::currentPath()).toStdString();
    for (const std::string& path : paths) {
        const std::string absolute = path.starts_with('/') ? path : JoinPath(here, path);
        urls << QUrl(QStringLiteral("file://") +
                     QString::fromLatin1(QByteArray::fromStdString(absolute).toPercentEncoding("/")));
        lines << QString::fromStdString(DisplayText(path));
    }
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(lines.join(QLatin1Char('\n')));
    return data;
}

void CFilesWindow::CopySelection() {
    std::vector<std::string> items;
    if (ListsCommits()) {
        for (const QModelIndex& index : m_tree->selectionModel()->selectedRows(CCommitsModel::IdColumn))
            items.push_back(m_commits.Id(index.row()));
        if (!items.empty()) {
            QStringList ids;
            for (const std::string& id : items)
                ids << QString::fromStdString(id);
            QApplication::clipboard()->setText(ids.join(QLatin1Char('\n')));
        }
        return;
    }
    for (const QModelIndex& index : m_tree->selectionModel()->selectedRows(CFilesModel::NameColumn))
        if (std::string path = m_model.FullPath(index); !path.empty())
            items.push_back(std::move(path));
    if (!items.empty())
        QApplication::clipboard()->setMimeData(PathsForClipboard(items).release());
}

void CFilesWindow::OpenFolder() {
    const QModelIndex current = m_tree->currentIndex();
    if (current.isValid() && m_openFolder->isEnabled() && m_openUrl)
        m_openUrl(QUrl::fromLocalFile(QFile::decodeName(m_model.FullFolderPath(current).c_str())));
}

void CFilesWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (QWidget* owner = parentWidget())
        owner->activateWindow();
}

void CFilesWindow::ShowContextMenu(const QPoint& at) {
    if (!m_tree->indexAt(at).isValid())
        return;
    UpdateActions();
    QMenu menu(this);
    menu.addAction(m_copy);
    menu.addAction(m_openFolder);
    menu.addSeparator();
    menu.addAction(m_leaveOut);
    menu.exec(m_tree->viewport()->mapToGlobal(at));
}
