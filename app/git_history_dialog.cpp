#include "git_history_dialog.h"

#include "stamp_store.h"
#include "wait_cursor.h"
#include "window_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QSet>
#include <QVBoxLayout>

namespace {

// Where an author's "NAME <E-MAIL>" is kept in its item, byte for byte.
constexpr int kIdentRole = Qt::UserRole;

} // namespace

CGitHistoryDialog::CGitHistoryDialog(const std::string& repository, QWidget* parent)
    : QDialog(parent), m_repository(repository) {
    setWindowTitle(QStringLiteral("Analyze Git History"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Authors to keep (none ticked keeps every commit):"), this);
    m_authors = new QListWidget(this);
    m_authors->setAccessibleName(QStringLiteral("Authors to keep"));
    m_authors->setAccessibleDescription(
        QStringLiteral("The authors of the history, most commits first; none ticked keeps every commit"));
    label->setBuddy(m_authors);
    m_problem = new QLabel(this);
    m_problem->setWordWrap(true);
    m_problem->setAccessibleName(QStringLiteral("Problem"));
    m_allRefs = new QCheckBox(QStringLiteral("All &branches and tags"), this);
    m_allRefs->setAccessibleName(QStringLiteral("All branches and tags"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGitHistoryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGitHistoryDialog::reject);
    connect(m_allRefs, &QCheckBox::toggled, this, &CGitHistoryDialog::ListAuthors);
    layout->addWidget(new QLabel(QStringLiteral("Repository: ") + TextForWindow(repository), this));
    layout->addWidget(label);
    layout->addWidget(m_authors);
    layout->addWidget(m_problem);
    layout->addWidget(m_allRefs);
    layout->addWidget(buttons);
    ListAuthors();
}

void CGitHistoryDialog::ListAuthors() {
    QSet<QByteArray> ticked;
    for (int row = 0; row < m_authors->count(); ++row)
        if (m_authors->item(row)->checkState() == Qt::Checked)
            ticked.insert(m_authors->item(row)->data(kIdentRole).toByteArray());
    const CWaitCursor wait;
    const GitAuthorsList list = ListGitAuthors(m_repository, m_allRefs->isChecked());
    m_authors->clear();
    for (const GitAuthor& author : list.authors) {
        const std::string ident = author.Ident();
        auto* item = new QListWidgetItem(
            TextForWindow(ident) +
                QStringLiteral(" (%1 %2)")
                    .arg(author.commits)
                    .arg(QString::fromLatin1(RecordNoun(RecordKind::Commits, author.commits))),
            m_authors);
        const QByteArray bytes = QByteArray::fromStdString(ident);
        item->setData(kIdentRole, bytes);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked.contains(bytes) ? Qt::Checked : Qt::Unchecked);
    }
    m_problem->setText(TextForWindow(list.error));
    m_problem->setVisible(!list.error.empty());
}

GitHistoryOptions CGitHistoryDialog::Options() const {
    GitHistoryOptions options;
    options.allRefs = m_allRefs->isChecked();
    for (int row = 0; row < m_authors->count(); ++row)
        if (m_authors->item(row)->checkState() == Qt::Checked)
            options.authors.push_back(m_authors->item(row)->data(kIdentRole).toByteArray().toStdString());
    return options;
}
