#include "graph_render.h"

#include "graph_host.h"
#include "graph_panel.h"

namespace {

// Stands in for the main window: a fixed view and averaging position, no status bar.
class FixedGraphHost : public IGraphHost {
public:
    FixedGraphHost(int view, int averagingPosition) : m_view(view), m_averagingPosition(averagingPosition) {}
    int CurrentViewMode() const override { return m_view; }
    int AveragingPosition() const override { return m_averagingPosition; }
    void ShowReadout(const QString&) override {}

private:
    int m_view;
    int m_averagingPosition;
};

} // namespace

QImage RenderGraph(const CStampStore& store, const GraphPicture& picture) {
    FixedGraphHost host(picture.view, picture.averagingPosition);
    CGraphPanel panel(host, store);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.resize(picture.size);
    panel.LayOut();
    panel.m_plot.m_xOffset = picture.xOffset;
    panel.m_plot.m_yScale = picture.yScale;
    panel.m_plot.SetCountRule(picture.countRule);

    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    panel.render(&image);
    return image;
}
