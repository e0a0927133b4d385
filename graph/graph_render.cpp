#include "graph_render.h"

#include "calendar_panel.h"
#include "checked_output.h"
#include "graph_host.h"
#include "graph_panel.h"

#include <QBuffer>
#include <QImageWriter>
#include <algorithm>
#include <cstring>
#include <unistd.h>

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
    if (picture.chosenRange || picture.comparedRange)
        panel.m_plot.SetDateRanges(picture.chosenRange, picture.comparedRange);
    panel.m_plot.SetCountRule(picture.countRule);

    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    panel.render(&image);
    return image;
}

QImage RenderCalendar(const CStampStore& store, const CalendarPicture& picture) {
    CCalendarPanel panel(store);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.SetCountRule(picture.countRule);
    panel.resize(picture.size);
    panel.show(); // lays the viewport out at once, so that the calendar's height is known
    // The picture is as tall as the calendar, however many years it holds.
    const int frame = panel.height() - panel.viewport()->height();
    panel.resize(picture.size.width(), std::max(picture.size.height(), panel.Layout().height + frame));

    QImage image(panel.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    panel.render(&image);
    return image;
}

std::string SavePicture(const QImage& image, const std::string& path) {
    const bool toStandardOutput = path == "-";
    const std::string target = toStandardOutput ? std::string("standard output") : "'" + path + "'";
    // Encoded in memory first: the image writer does not notice a file that fails to take the bytes.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return "cannot make the picture for " + target + ": " + writer.errorString().toStdString();
    const std::string_view png(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (const int error = toStandardOutput ? WriteAll(STDOUT_FILENO, png) : WriteWholeFile(path, png);
        error != 0)
        return "cannot write " + target + ": " + std::strerror(error);
    return {};
}

std::string SaveGraphPicture(const CStampStore& store, const GraphPicture& picture, const std::string& path) {
    return SavePicture(RenderGraph(store, picture), path);
}
