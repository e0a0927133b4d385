#include "leave_out_dialog.h"

#include "analysis_period.h"
#include "leave_out_rules.h"
#include "local_time.h"
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

// A range end as the field shows it: the local date and time ("2024-03-31T00:00:00"), or nothing.
QString LocalDateText(const std::optional<std::int64_t>& t) {
    const std::optional<LocalBreakdown> local = t ? BreakDownLocal(*t) : std::nullopt;
    return local ? QString::fromStdString(IsoDateTimeText(*local, 'T')) : QString();
}

// "3 rules of other folders: in force only when their folder is analysed.", with the rules one a line
// ("/home/ann: /build") as its tooltip.
void ShowOtherFolderRules(QLabel& label, const std::vector<FolderRule>& rules) {
    QStringList lines;
    for (const FolderRule& rule : rules)
        lines << TextForWindow(rule.folder) + QStringLiteral(": ") + QString::fromStdString(rule.pattern);
    label.setText(QString::fromStdString(CountOf(std::ssize(rules), "rule", "rules")) +
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
    std::vector<std::string> folderPatterns;
    for (const FolderRule& rule : rules.folderRules) {
        if (!folder.empty() && rule.folder == folder)
            folderPatterns.push_back(rule.pattern);
        else
            m_otherFolderRules.push_back(rule);
    }
    m_patterns = new QPlainTextEdit(PatternList(rules.excludedNames).join(QLatin1Char('\n')), this);
    m_folderPatterns = new QPlainTextEdit(PatternList(folderPatterns).join(QLatin1Char('\n')), this);
    m_otherFolders = new QLabel(this);
    m_otherFolders->setTextFormat(Qt::PlainText);
    m_otherFolders->setWordWrap(true);
    ShowOtherFolderRules(*m_otherFolders, m_otherFolderRules);
    m_versionControl =
        new QCheckBox(QStringLiteral("&Version-control folders (.git, .hg, .svn, .bzr)"), this);
    m_versionControl->setChecked(rules.excludeVersionControl);
    m_oneFileSystem =
        new QCheckBox(QStringLiteral("Other &file systems (stay on the chosen folder's)"), this);
    m_oneFileSystem->setChecked(rules.oneFileSystem);
    m_since = new QLineEdit(LocalDateText(rules.since), this);
    m_until = new QLineEdit(LocalDateText(rules.until), this);
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

// The first field refused is named as the report names it: a pattern that names nothing ("/") or
// has an unclosed '[', a date that is not one, an empty time range. Blank lines are passed over.
void CLeaveOutDialog::accept() {
    EntryFilter rules;
    std::string problem;
    const auto addLines = [&](const QPlainTextEdit& box, const std::string& folder) {
        for (const QString& line : box.toPlainText().split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty() && problem.empty())
                problem = AddPattern(rules, line.toStdString(), folder);
    };
    addLines(*m_patterns, {});
    if (!m_folder.empty())
        addLines(*m_folderPatterns, m_folder);
    rules.folderRules.insert(rules.folderRules.end(), m_otherFolderRules.begin(), m_otherFolderRules.end());
    rules.excludeVersionControl = m_versionControl->isChecked();
    rules.oneFileSystem = m_oneFileSystem->isChecked();
    for (const auto& [end, field] : {std::pair{&rules.since, m_since}, {&rules.until, m_until}})
        if (!field->text().trimmed().isEmpty() && problem.empty())
            problem = SetRangeEnd(*end, field->text().toStdString());
    if (problem.empty())
        problem = RulesProblem(rules);
    if (!problem.empty()) {
        if (m_complain)
            m_complain(this, QString::fromStdString(problem));
        return;
    }
    m_rules = std::move(rules);
    QDialog::accept();
}
