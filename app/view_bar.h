#pragma once

#include <QPushButton>
#include <QWidget>
#include <array>

// The Day, Week, Month and Year buttons, and Dates after them. A click reports its view (or the
// Dates view); the window then has the current view's button shown pressed.
class CViewBar : public QWidget {
    Q_OBJECT

public:
    explicit CViewBar(QWidget* parent);

    // Presses exactly the button of this view, or Dates.
    void SyncButtons(int view, bool dates = false);

    QPushButton m_btnYear;
    QPushButton m_btnWeek;
    QPushButton m_btnMonth;
    QPushButton m_btnDay;
    QPushButton m_btnDates;

signals:
    void ViewChosen(int view);
    void DatesChosen();

private:
    // The buttons in ViewMode order.
    std::array<QPushButton*, 4> Buttons();
};
