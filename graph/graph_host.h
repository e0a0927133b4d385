#pragma once

#include <QString>

// What the graph needs from the window around it: the current view and averaging
// position to read, and a place to show the cursor readout.
class IGraphHost {
public:
    virtual ~IGraphHost() = default;
    virtual int CurrentViewMode() const = 0;
    virtual int AveragingPosition() const = 0;
    virtual void ShowReadout(const QString& text) = 0;
};
