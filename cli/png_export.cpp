#include "png_export.h"

#include "graph_render.h"
#include "report_options.h"
#include "stamp_store.h"

#include <QApplication>
#include <QFile>
#include <QImageWriter>

std::string SaveGraphPng(const CStampStore& store, const ReportOptions& options) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "busyscope-report";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    GraphPicture picture;
    picture.size = QSize(options.width, options.height);
    picture.view = options.views.empty() ? 0 : options.views.front();
    picture.averagingPosition = options.averagingPosition;
    picture.xOffset = options.xOffset;
    picture.yScale = options.yScale;

    QImageWriter writer(QFile::decodeName(QByteArray::fromStdString(options.pngFile.value_or(""))), "png");
    if (!writer.write(RenderGraph(store, picture)))
        return "cannot write '" + options.pngFile.value_or("") + "': " + writer.errorString().toStdString();
    return {};
}
