#pragma once

#include "analysis_period.h"
#include "graph_host.h"

#include <QString>

// What the main window tells the graph, set by the test: the view and the averaging position;
// the readouts the graph writes are kept.
class CTestGraphHost : public IGraphHost {
public:
    int CurrentViewMode() const override { return view; }
    int AveragingPosition() const override { return averaging; }
    void ShowReadout(const QString& text) override {
        readout = text;
        ++readouts;
    }

    int view = VIEW_DAY;
    int averaging = 50;
    QString readout;
    int readouts = 0;
};
