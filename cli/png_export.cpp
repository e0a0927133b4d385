#include "png_export.h"

#include "checked_output.h"
#include "graph_render.h"
#include "report_options.h"
#include "stamp_store.h"

#include <QApplication>
#include <QBuffer>
#include <QImageWriter>
#include <cstring>

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
    picture.countRule = options.countRule;

    // Encoded in memory first: the image writer does not notice a file that fails to take the bytes.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    const std::string path = options.pngFile.value_or("");
    if (!writer.write(RenderGraph(store, picture)))
        return "cannot make the picture for '" + path + "': " + writer.errorString().toStdString();
    if (const int error =
            WriteWholeFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        error != 0)
        return "cannot write '" + path + "': " + std::strerror(error);
    return {};
}
