#include "leave_out_dialog.h"

#include "analysis_period.h"
#include "leave_out_rules.h"
#include "window_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// "3 rules of other folders: in force only when their folder is analysed.", with the rules one a line
// ("/home/ann: /build") as its tooltip.
void ShowOtherFolderRules(QLabel& label, const std::vector<FolderRule>& rules) {
    QStringList lines;
    for (const FolderRule& rule : rules)
        lines << TextForWindow(rule.folder) + QStringLiteral(": ") + QString::fromStdString(rule.pattern);
    label.setText(QString::fromStdString(CountOf(static_cast<std::int64_t>(rules.size()), "rule", "rules")) +
                  QStringLiteral(" of other folders: in force only when their folder is analysed."));
    label.setToolTip(lines.join(QLatin1Char('\n')));
    label.setAccessibleDescription(label.toolTip());
    label.setVisible(!rules.empty());
}

} // namespace

CLeaveOutDialog::CLeaveOutDialog(const EntryFilter& rules, const std::string& folder, QWidget* parent)
    : QDialog(parent), m_complain([](QWidget* owner, const QString& text) {
          QMessageBox::warning(owner, QStringLiteral("Leave Out"), text);
      }),
      m_rules(rules), m_folder(folder) {
    setWindowTitle(QStringLiteral("Leave Out"));
    const LeaveOutFields fields = FieldsFromRules(rules, folder);
    m_otherFolderRules = fields.otherFolders;
    m_patterns = new QPlainTextEdit(fields.patterns.join(QLatin1Char('\n')), this);
    m_folderPatterns = new QPlainTextEdit(fields.folderPatterns.join(QLatin1Char('\n')), this);
    m_otherFolders = new QLabel(this);
    m_otherFolders->setTextFormat(Qt::PlainText);
    m_otherFolders->setWordWrap(true);
    ShowOtherFolderRules(*m_otherFolders, m_otherFolderRules);
    m_versionControl = new QCheckBox(QStringLiteral("&Version-control folders (.git, .hg, .svn, .bzr)"), this);
    m_versionControl->setChecked(fields.versionControl);
    m_oneFileSystem = new QCheckBox(QStringLiteral("Other &file systems (stay on the chosen folder's)"), this);
    m_oneFileSystem->setChecked(fields.oneFileSystem);
    m_since = new QLineEdit(fields.since, this);
    m_until = new QLineEdit(fields.until, this);
    m_patterns->setAccessibleName(QStringLiteral("Names or paths to leave out everywhere"));
    m_folderPatterns->setAccessibleName(
        QStringLiteral("Names or paths to leave out below %1").arg(TextForWindow(folder)));
    m_since->setAccessibleName(QStringLiteral("Keep files written from"));
    m_until->setAccessibleName(QStringLiteral("Keep files written before"));
    m_since->setPlaceholderText(QStringLiteral("2024-01-01"));
    m_until->setPlaceholderText(QStringLiteral("2024-07-01T12:00"));

    auto* layout = new QVBoxLayout(this);
    auto* everywhere =
        new QLabel(QStringLiteral("&Names or paths to leave out below any folder, one shell "
                                  "pattern a line (a pattern with a '/' matches the path, such "
                                  "as build/*.o):"),
                   this);
    everywhere->setWordWrap(true);
    everywhere->setBuddy(m_patterns);
    layout->addWidget(everywhere);
    layout->addWidget(m_patterns);
    auto* below = new QLabel(QStringLiteral("Only below %1, the folder analysed (Leave Out This Folder adds "
                                            "its rules &here):")
                                 .arg(TextForWindow(folder).replace(QLatin1Char('&'), QStringLiteral("&&"))),
                             this);
    below->setTextFormat(Qt::PlainText);
    below->setWordWrap(true);
    below->setBuddy(m_folderPatterns);
    below->setVisible(!folder.empty());
    m_folderPatterns->setVisible(!folder.empty());
    layout->addWidget(below);
    layout->addWidget(m_folderPatterns);
    layout->addWidget(m_otherFolders);
    layout->addWidget(m_versionControl);
    layout->addWidget(m_oneFileSystem);
    auto* range = new QFormLayout;
    range->addRow(QStringLiteral("Keep files written f&rom:"), m_since);
    range->addRow(QStringLiteral("&Before:"), m_until);
    layout->addLayout(range);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLeaveOutDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLeaveOutDialog::reject);
    layout->addWidget(buttons);
}

void CLeaveOutDialog::accept() {
    LeaveOutFields fields;
    fields.patterns = m_patterns->toPlainText().split(QLatin1Char('\n'));
    fields.versionControl = m_versionControl->isChecked();
    fields.oneFileSystem = m_oneFileSystem->isChecked();
    fields.since = m_since->text();
    fields.until = m_until->text();
    fields.folder = m_folder;
    if (!m_folder.empty())
        fields.folderPatterns = m_folderPatterns->toPlainText().split(QLatin1Char('\n'));
    fields.otherFolders = m_otherFolderRules;
    auto rules = RulesFromFields(fields);
    if (const QString* problem = std::get_if<QString>(&rules)) {
        if (m_complain)
            m_complain(this, *problem);
        return;
    }
    m_rules = std::get<EntryFilter>(std::move(rules));
    QDialog::accept();
}
