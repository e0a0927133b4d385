#include "view_bar.h"

#include "analysis_period.h"
#include "dialog_units.h"
#include "graph_panel.h"
#include "main_frame.h"

namespace {

// The bar's template: 105 x 16 dialog units, four 25 x 14 buttons side by side.
constexpr QSize kBarSize(105, 16);
constexpr int kButtonWidth = 25;
constexpr int kButtonHeight = 14;
constexpr int kButtonPitch = 26;

} // namespace

CViewBar::CViewBar(CMainFrame& frame, QWidget* parent)
    : QWidget(parent), m_btnYear(QStringLiteral("Year"), this), m_btnWeek(QStringLiteral("Week"), this),
      m_btnMonth(QStringLiteral("Month"), this), m_btnDay(QStringLiteral("Day"), this), m_frame(frame) {
    setFont(DialogFont());
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogUnitsToPixels(QRect(QPoint(0, 0), kBarSize), base).size());

    QPushButton* const buttons[] = {&m_btnDay, &m_btnWeek, &m_btnMonth, &m_btnYear};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->setAutoDefault(false);
        // The pressed look is the checked state: Qt lets a button held down with setDown come up
        // when it loses the focus or the pointer leaves it, but leaves a checked one as it is.
        buttons[i]->setCheckable(true);
        buttons[i]->setGeometry(
            DialogUnitsToPixels(QRect(i * kButtonPitch, 0, kButtonWidth, kButtonHeight), base));
        if (i > 0)
            setTabOrder(buttons[i - 1], buttons[i]);
    }

    connect(&m_btnDay, &QPushButton::clicked, this, &CViewBar::OnDay);
    connect(&m_btnMonth, &QPushButton::clicked, this, &CViewBar::OnMonth);
    connect(&m_btnWeek, &QPushButton::clicked, this, &CViewBar::OnWeek);
    connect(&m_btnYear, &QPushButton::clicked, this, &CViewBar::OnYear);
}

void CViewBar::SyncButtons() {
    m_frame.m_wndPanel->update();
    m_frame.m_wndPanel->setFocus();
    const int view = m_frame.m_viewMode;
    m_btnDay.setChecked(view == VIEW_DAY);
    m_btnWeek.setChecked(view == VIEW_WEEK);
    m_btnMonth.setChecked(view == VIEW_MONTH);
    m_btnYear.setChecked(view == VIEW_YEAR);
}

void CViewBar::OnDay() {
    m_frame.SetViewMode(VIEW_DAY);
}

void CViewBar::OnWeek() {
    m_frame.SetViewMode(VIEW_WEEK);
}

void CViewBar::OnMonth() {
    m_frame.SetViewMode(VIEW_MONTH);
}

void CViewBar::OnYear() {
    m_frame.SetViewMode(VIEW_YEAR);
}
