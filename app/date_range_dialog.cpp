#include "date_range_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

CDateRangeDialog::CDateRangeDialog(const QString& title, const QString& prompt, const DateRange& initial,
                                   QWidget* parent)
    : QDialog(parent), m_range(initial) {
    setWindowTitle(title);
    m_since = new QLineEdit(QString::fromStdString(RangeEndText(initial.since)), this);
    m_until = new QLineEdit(QString::fromStdString(RangeEndText(initial.until)), this);
    m_since->setAccessibleName(QStringLiteral("Files written from"));
    m_until->setAccessibleName(QStringLiteral("Files written before"));
    m_since->setPlaceholderText(QStringLiteral("2024-01-01"));
    m_until->setPlaceholderText(QStringLiteral("2024-07-01T12:00"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));
    auto* ends = new QFormLayout;
    ends->addRow(QStringLiteral("Files written f&rom:"), m_since);
    ends->addRow(QStringLiteral("&Before:"), m_until);
    layout->addLayout(ends);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDateRangeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDateRangeDialog::reject);
    layout->addWidget(buttons);
}

void CDateRangeDialog::accept() {
    std::optional<DateRange> range;
    const std::string problem =
        ReadDateRange(m_since->text().toStdString(), m_until->text().toStdString(), range);
    if (!problem.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(problem));
        return;
    }
    m_range = *range;
    QDialog::accept();
}
