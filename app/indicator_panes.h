#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL panes at the right of the status bar. Each shows its text while
// its lock is on; they are read again whenever a key goes down or up or the program
// becomes active, and stay empty where the lock lights cannot be read.
class CIndicatorPanes : public QObject {
    Q_OBJECT

public:
    explicit CIndicatorPanes(QStatusBar& statusBar);

    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_caps;
    QLabel* m_num;
    QLabel* m_scroll;
};
