#include "view_bar.h"

#include "analysis_period.h"
#include "dialog_units.h"

namespace {

// The bar's template: 131 x 16 dialog units, five 25 x 14 buttons side by side.
constexpr QSize kBarSize(131, 16);
constexpr int kButtonWidth = 25;
constexpr int kButtonHeight = 14;
constexpr int kButtonPitch = 26;

} // namespace

CViewBar::CViewBar(QWidget* parent)
    : QWidget(parent), m_btnYear(this), m_btnWeek(this), m_btnMonth(this), m_btnDay(this), m_btnDates(this) {
    setFont(DialogFont());
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogUnitsToPixels(QRect(QPoint(0, 0), kBarSize), base).size());
    setAccessibleName(QStringLiteral("Period"));

    const std::array<QPushButton*, 4> buttons = Buttons();
    for (int view = VIEW_DAY; view <= VIEW_YEAR; ++view) {
        QPushButton* const button = buttons[static_cast<std::size_t>(view)];
        button->setText(QString::fromUtf8(kViews[static_cast<std::size_t>(view)].label));
        button->setAutoDefault(false);
        // The pressed look is the checked state: Qt lets a button held down with setDown come up
        // when it loses the focus or the pointer leaves it, but leaves a checked one as it is.
        button->setCheckable(true);
        // Only one can be chosen: a screen reader is told they are radio buttons, one of them checked.
        button->setAutoExclusive(true);
        button->setAccessibleDescription(
            QStringLiteral("Show the files by time of %1")
                .arg(QString::fromUtf8(kViews[static_cast<std::size_t>(view)].label).toLower()));
        button->setGeometry(
            DialogUnitsToPixels(QRect(view * kButtonPitch, 0, kButtonWidth, kButtonHeight), base));
        if (view > VIEW_DAY)
            setTabOrder(buttons[static_cast<std::size_t>(view - 1)], button);
        connect(button, &QPushButton::clicked, this, [this, view] { emit ViewChosen(view); });
    }
    m_btnDates.setText(QStringLiteral("Dates"));
    m_btnDates.setAutoDefault(false);
    m_btnDates.setCheckable(true);
    m_btnDates.setAutoExclusive(true);
    m_btnDates.setAccessibleDescription(QStringLiteral("Show the days the files were written on"));
    m_btnDates.setGeometry(DialogUnitsToPixels(
        QRect(static_cast<int>(buttons.size()) * kButtonPitch, 0, kButtonWidth, kButtonHeight), base));
    setTabOrder(&m_btnYear, &m_btnDates);
    connect(&m_btnDates, &QPushButton::clicked, this, &CViewBar::DatesChosen);
}

std::array<QPushButton*, 4> CViewBar::Buttons() {
    return {&m_btnDay, &m_btnWeek, &m_btnMonth, &m_btnYear};
}

void CViewBar::SyncButtons(int view, bool dates) {
    const std::array<QPushButton*, 4> buttons = Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(!dates && static_cast<int>(i) == view);
    m_btnDates.setChecked(dates);
}
