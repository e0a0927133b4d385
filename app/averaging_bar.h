#pragma once

#include <QLabel>
#include <QSlider>
#include <QString>
#include <QWidget>

class CMainFrame;

// The averaging trackbar and the label that states the averaging window in the current
// view's unit. The label is rewritten on every trackbar move and every repaint of the bar.
class CAveragingBar : public QWidget {
    Q_OBJECT

public:
    CAveragingBar(CMainFrame& frame, QWidget* parent);

    // Reads the trackbar, rewrites the label and has the graph repainted.
    void RefreshAveraging();

    QString m_strAverage;
    int m_nAverage = 50;

    QLabel m_title;
    QSlider m_slider;
    QLabel m_label;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnHScroll();

    CMainFrame& m_frame;
};
