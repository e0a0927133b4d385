#include "png_export.h"

#include "graph_render.h"
#include "report_options.h"
#include "runtime_dir_notice.h"
#include "stamp_store.h"

#include <QApplication>

std::string SaveGraphPng(const CStampStore& store, const ReportOptions& options) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    SilenceRuntimeDirNotice();
    int argc = 1;
    char name[] = "busyscope-report";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    if (options.dates)
        return SavePicture(RenderCalendar(store, {QSize(options.width, options.height), options.countRule}),
                           options.pngFile.value_or(""));

    GraphPicture picture;
    picture.size = QSize(options.width, options.height);
    picture.view = FirstView(options);
    picture.averagingPosition = options.averagingPosition;
    picture.xOffset = options.xOffset;
    picture.yScale = options.yScale;
    picture.countRule = options.countRule;
    // With a comparison the store holds both ranges' files: each curve counts its own.
    if (options.compared) {
        picture.chosenRange = DateRange::Between(options.filter.since, options.filter.until);
        picture.comparedRange = options.compared;
    }

    return SaveGraphPicture(store, picture, options.pngFile.value_or(""));
}
