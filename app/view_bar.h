#pragma once

#include <QPushButton>
#include <QWidget>

class CMainFrame;

// The Day, Week, Month and Year buttons. The current view's button is shown pressed.
class CViewBar : public QWidget {
    Q_OBJECT

public:
    CViewBar(CMainFrame& frame, QWidget* parent);

    // Repaints the graph, gives it the focus and presses exactly the current view's button.
    void SyncButtons();

    void OnDay();
    void OnWeek();
    void OnMonth();
    void OnYear();

    QPushButton m_btnYear;
    QPushButton m_btnWeek;
    QPushButton m_btnMonth;
    QPushButton m_btnDay;

private:
    CMainFrame& m_frame;
};
