#include "leave_out_dialog.h"

#include "leave_out_rules.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CLeaveOutDialog::CLeaveOutDialog(const EntryFilter& rules, QWidget* parent)
    : QDialog(parent), m_complain([](QWidget* owner, const QString& text) {
          QMessageBox::warning(owner, QStringLiteral("Leave Out"), text);
      }),
      m_rules(rules) {
    setWindowTitle(QStringLiteral("Leave Out"));
    const LeaveOutFields fields = FieldsFromRules(rules);
    m_patterns = new QPlainTextEdit(fields.patterns.join(QLatin1Char('\n')), this);
    m_versionControl = new QCheckBox(QStringLiteral("&Version-control folders (.git, .hg, .svn, .bzr)"), this);
    m_versionControl->setChecked(fields.versionControl);
    m_oneFileSystem = new QCheckBox(QStringLiteral("Other &file systems (stay on the chosen folder's)"), this);
    m_oneFileSystem->setChecked(fields.oneFileSystem);
    m_since = new QLineEdit(fields.since, this);
    m_until = new QLineEdit(fields.until, this);
    m_patterns->setAccessibleName(QStringLiteral("Names or paths to leave out"));
    m_since->setAccessibleName(QStringLiteral("Keep files written from"));
    m_until->setAccessibleName(QStringLiteral("Keep files written before"));
    m_since->setPlaceholderText(QStringLiteral("2024-01-01"));
    m_until->setPlaceholderText(QStringLiteral("2024-07-01T12:00"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("&Names or paths below the folder, one shell pattern a line "
                                                "(a pattern with a '/' matches the path, such as build/*.o):"),
                                 this));
    static_cast<QLabel*>(layout->itemAt(0)->widget())->setBuddy(m_patterns);
    layout->addWidget(m_patterns);
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
    auto rules = RulesFromFields(fields);
    if (const QString* problem = std::get_if<QString>(&rules)) {
        if (m_complain)
            m_complain(this, *problem);
        return;
    }
    m_rules = std::get<EntryFilter>(std::move(rules));
    QDialog::accept();
}
