#pragma once

#include <QPushButton>
#include <QWidget>
#include <array>

// The Day, Week, Month and Year buttons. A click reports its view; the window then has the
// current view's button shown pressed.
class CViewBar : public QWidget {
    Q_OBJECT

public:
    explicit CViewBar(QWidget* parent);

    // Presses exactly the button of this view.
    void SyncButtons(int view);

    QPushButton m_btnYear;
    QPushButton m_btnWeek;
    QPushButton m_btnMonth;
    QPushButton m_btnDay;

signals:
    void ViewChosen(int view);

private:
    // The buttons in ViewMode order.
    std::array<QPushButton*, 4> Buttons();
};
