#pragma once

#include "date_range.h"
#include "defaults.h"
#include "period_histograms.h"

#include <QImage>
#include <QSize>
#include <string>

class CStampStore;

// What a picture of the graph shows, besides the store.
struct GraphPicture {
    QSize size{kDefaultPictureWidth, kDefaultPictureHeight};
    int view = 0;
    int averagingPosition = kDefaultAveragingPosition;
    double xOffset = 0.0;
    double yScale = kDefaultFullScale;
    CountRule countRule = CountRule::Files;
    // Only the records written in the chosen range, and a second curve of those of the compared one.
    std::optional<DateRange> chosenRange;
    std::optional<DateRange> comparedRange;
};

// Paints the graph panel of the store exactly as the window would at that size, off screen.
// Needs a QApplication; works on the offscreen platform.
QImage RenderGraph(const CStampStore& store, const GraphPicture& picture);

// What a picture of the calendar of the Dates view shows, besides the store.
struct CalendarPicture {
    QSize size{kDefaultPictureWidth,
               kDefaultPictureHeight}; // the least size: it grows as tall as the years need
    CountRule countRule = CountRule::Files;
};

// Paints the calendar of the store exactly as the Dates view would, off screen, at the width of
// the picture and as tall as its years need.
QImage RenderCalendar(const CStampStore& store, const CalendarPicture& picture);

// Saves an image as a PNG file, or on standard output when path is "-". Returns an error text
// naming the file, or "".
std::string SavePicture(const QImage& image, const std::string& path);

// Saves RenderGraph as a PNG file, or on standard output when path is "-": what busyscope-report
// --png writes and File > Save Picture... saves. Returns an error text naming the file, or "".
std::string SaveGraphPicture(const CStampStore& store, const GraphPicture& picture, const std::string& path);
