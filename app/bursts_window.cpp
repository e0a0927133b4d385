#include "bursts_window.h"

#include "analysis_period.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <limits>

namespace {

enum Column { StartColumn, EndColumn, FilesColumn, FolderColumn, ShareColumn };

} // namespace

FilesAtPoint::WrittenSpan BurstWrittenSpan(const BurstEvent& burst, TimeBasis basis) {
    // The last second there is cannot be followed: a burst ending there leaves it out.
    const std::int64_t after =
        burst.end < std::numeric_limits<std::int64_t>::max() ? burst.end + 1 : burst.end;
    return {burst.start, after, "Burst " + FormatBurstSpan(burst, basis)};
}

CBurstsWindow::CBurstsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_header(new QLabel(this)), m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("Bursts"));
    setWindowTitle(QStringLiteral("Bursts"));
    resize(760, 400);

    m_header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_header->setWordWrap(true);
    m_list->setAccessibleName(QStringLiteral("Bursts"));
    m_list->setAccessibleDescription(
        QStringLiteral("The bursts of writing, largest first. Enter lists the files of the burst."));
    m_list->setHeaderLabels({QStringLiteral("Start"), QStringLiteral("End"), QStringLiteral("Files"),
                             QStringLiteral("Folder"), QStringLiteral("Share")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(FolderColumn, QHeaderView::Stretch);
    connect(m_list, &QTreeWidget::activated, this, &CBurstsWindow::ShowCurrentFiles);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CBurstsWindow::UpdateButtons);

    m_showFiles = new QPushButton(QStringLiteral("&Show Files"), this);
    connect(m_showFiles, &QPushButton::clicked, this, &CBurstsWindow::ShowCurrentFiles);
    m_leaveOut = new QPushButton(QStringLiteral("&Leave Out This Folder"), this);
    connect(m_leaveOut, &QPushButton::clicked, this, &CBurstsWindow::LeaveOutCurrentFolder);
    auto* closeButton = new QPushButton(QStringLiteral("&Close"), this);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the window; the main window then has the focus again.
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_showFiles);
    buttons->addWidget(m_leaveOut);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
}

void CBurstsWindow::ShowBursts(const CStampStore& store, bool folderRulesApply) {
    const BurstEvents bursts = FindBurstEvents(store, kListedBursts);
    m_basis = store.Basis();
    m_folderRulesApply = folderRulesApply;
    m_bursts.clear();
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const BurstEvent& burst : bursts.largest) {
        const bool named = burst.mainFolder.files > 0;
        const std::string folder = named ? store.Places().FolderPath(burst.mainFolder.folder) : std::string();
        m_bursts.push_back({burst, QFile::decodeName(folder.c_str())});
        auto* item = new QTreeWidgetItem(
            {QString::fromStdString(FormatRecordTime(burst.start, m_basis)),
             QString::fromStdString(FormatRecordTime(burst.end, m_basis)), QString::number(burst.files),
             named ? TextForWindow(FolderListPath(store.Places(), burst.mainFolder.folder)) : QString(),
             named ? QString::fromStdString(FormatShare(burst.mainFolder.files, burst.files)) : QString()});
        item->setTextAlignment(FilesColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(ShareColumn, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    for (const Column column : {StartColumn, EndColumn, FilesColumn, ShareColumn})
        m_list->resizeColumnToContents(column);

    const std::string listed = static_cast<std::int64_t>(bursts.largest.size()) < bursts.count
                                   ? "The " + std::to_string(bursts.largest.size()) + " largest of " +
                                         CountOf(bursts.count, "burst", "bursts")
                                   : CountOf(bursts.count, "burst", "bursts");
    m_header->setText(TextForWindow(listed + " holding " + std::to_string(bursts.files) + " of " +
                                    FormatFilesTitle(store.m_nFiles, store.GetFolder(), store.Kind()) +
                                    ", largest first. A burst is a run of seconds, each at most " +
                                    std::to_string(kBurstGapSeconds) +
                                    " seconds after the one before, writing into the same folder."));
    if (!items.isEmpty())
        m_list->setCurrentItem(items.front());
    m_leaveOut->setVisible(folderRulesApply);
    UpdateButtons();
    show();
    raise();
    activateWindow();
    m_list->setFocus();
}

QString CBurstsWindow::HeaderText() const {
    return m_header->text();
}

const CBurstsWindow::Listed* CBurstsWindow::CurrentBurst() const {
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    return row < 0 ? nullptr : &m_bursts[static_cast<std::size_t>(row)];
}

void CBurstsWindow::ShowCurrentFiles() {
    if (const Listed* current = CurrentBurst())
        emit FilesRequested(BurstWrittenSpan(current->burst, m_basis));
}

void CBurstsWindow::LeaveOutCurrentFolder() {
    const Listed* current = CurrentBurst();
    if (current && m_folderRulesApply && !current->relativeFolder.isEmpty())
        emit LeaveOutRequested(current->relativeFolder);
}

void CBurstsWindow::UpdateButtons() {
    const Listed* current = CurrentBurst();
    m_showFiles->setEnabled(current != nullptr);
    m_leaveOut->setEnabled(current && !current->relativeFolder.isEmpty());
}
