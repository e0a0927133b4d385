// Draws the program icon and the two toolbar images into PNG files.
// Usage: make_icons OUTPUT_DIR   (run by the `busyscope_icons` target; the results are checked in)
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// The density curve of the program icon: two humps over a dark ground, in unit coordinates.
double IconCurve(double x) {
    const double morning = std::exp(-std::pow((x - 0.33) / 0.13, 2.0));
    const double evening = 0.7 * std::exp(-std::pow((x - 0.74) / 0.11, 2.0));
    return 0.12 + 0.72 * (morning + evening);
}

QImage ProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, size > 16);

    const double s = size;
    QPainterPath area;
    area.moveTo(0, s);
    const int steps = 4 * size;
    for (int i = 0; i <= steps; ++i) {
        const double x = double(i) / steps;
        area.lineTo(x * s, s - IconCurve(x) * s * 0.85);
    }
    area.lineTo(s, s);
    area.closeSubpath();
    p.fillPath(area, QColor(0, 0, 255));

    // The dotted white upper edge.
    const double dotStep = std::max(2.0, s / 12.0);
    const double dot = std::max(1.0, s / 28.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (double x = dotStep / 2; x < s; x += dotStep) {
        const double y = s - IconCurve(x / s) * s * 0.85;
        if (size <= 16)
            p.fillRect(QRectF(std::floor(x), std::floor(y), 1, 1), Qt::white);
        else
            p.drawEllipse(QPointF(x, y), dot, dot);
    }
    return image;
}

// An opened yellow folder under a curved arrow, drawn on a 16-unit grid at 16 x scale pixels.
QImage NewFolderImage(int scale) {
    QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(scale, scale);
    const QColor outline(0, 0, 0);
    const QColor yellow(255, 255, 0);
    const QColor darkYellow(128, 128, 0);

    // Back of the folder with its tab.
    p.setPen(outline);
    p.setBrush(darkYellow);
    p.drawPolygon(QPolygon({{0, 6}, {2, 6}, {3, 5}, {6, 5}, {7, 6}, {10, 6}, {10, 15}, {0, 15}}));
    // The opened front flap.
    p.setBrush(yellow);
    p.drawPolygon(QPolygon({{0, 15}, {3, 9}, {14, 9}, {11, 15}}));
    // The curved arrow above it, pointing down into the folder.
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRect(8, 1, 7, 8), 0 * 16, 180 * 16);
    p.drawLine(8, 5, 8, 5);
    p.setBrush(outline);
    p.drawPolygon(QPolygon({{13, 5}, {15, 5}, {14, 7}}));
    return image;
}

// A yellow question mark with a black outline, on a 16-unit grid at 16 x scale pixels.
QImage AboutImage(int scale) {
    QImage image(16 * scale, 16 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.scale(scale, scale);

    QPainterPath mark;
    mark.moveTo(4, 5);
    mark.cubicTo(4, 0.5, 12, 0.5, 12, 4.5);
    mark.cubicTo(12, 7, 8.5, 7, 8.5, 10);
    QPen outline(Qt::black, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.strokePath(mark, outline);
    QPen fill(QColor(255, 255, 0), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.strokePath(mark, fill);
    p.fillRect(QRect(6, 12, 5, 4), Qt::black);
    p.fillRect(QRect(7, 13, 3, 2), QColor(255, 255, 0));
    return image;
}

bool Save(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons OUTPUT_DIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int size : {16, 32, 48, 64, 128, 256})
        ok &=
            Save(ProgramIcon(size), QStringLiteral("%1/hicolor/%2x%2/apps/busyscope.png").arg(out).arg(size));
    // The @2x images are what Qt shows on screens with twice the pixels, instead of blowing
    // the 16-pixel ones up.
    for (const auto& [scale, suffix] : {std::pair{1, ""}, std::pair{2, "@2x"}}) {
        ok &= Save(NewFolderImage(scale), out + QStringLiteral("/toolbar/new-folder%1.png").arg(suffix));
        ok &= Save(AboutImage(scale), out + QStringLiteral("/toolbar/about%1.png").arg(suffix));
    }
    return ok ? 0 : 1;
}
