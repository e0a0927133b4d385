#pragma once

#include "defaults.h"

#include <QLabel>
#include <QSlider>
#include <QString>
#include <QWidget>

// The averaging trackbar and the label that states the averaging window in the current
// view's unit. The label is rewritten on every trackbar move and every repaint of the bar;
// the window tells the bar the current view.
class CAveragingBar : public QWidget {
    Q_OBJECT

public:
    explicit CAveragingBar(QWidget* parent);

    // The view whose unit the label states; the label follows at the bar's next paint.
    void SetView(int view);

    // Reads the trackbar, rewrites the label and reports that the graph must be repainted.
    void RefreshAveraging();

    QString m_strAverage;
    int m_nAverage = kDefaultAveragingPosition;

    QLabel m_title;
    QSlider m_slider;
    QLabel m_label;

signals:
    // The trackbar was read: the graph is to be drawn again with its position.
    void AveragingRead();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnHScroll();

    int m_view = 0;
};
