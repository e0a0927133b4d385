#pragma once

#include "date_range.h"

#include <QDialog>
#include <functional>

class QLineEdit;

// Asks for a date range by its two ends, typed as the Leave Out date range is and refused with
// the same messages; the dialog stays open until the range is good or cancelled.
class CDateRangeDialog : public QDialog {
    Q_OBJECT

public:
    CDateRangeDialog(const QString& title, const QString& prompt, const DateRange& initial,
                     QWidget* parent = nullptr);

    const DateRange& Range() const { return m_range; }

    void accept() override;

private:
    QLineEdit* m_since;
    QLineEdit* m_until;
    DateRange m_range;
};
