#include "app_icons.h"

#include "command_ids.h"

#include <QString>

// The resource file is compiled into this static library; register it before its first use.
static void InitAppResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(busyscope);
        return true;
    }();
    (void)done;
}

QIcon ProgramIcon() {
    InitAppResources();
    QIcon bundled;
    for (int size : {16, 32, 48, 64, 128, 256})
        bundled.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/busyscope.png").arg(size),
                        QSize(size, size));
    return QIcon::fromTheme(QStringLiteral(BUSYSCOPE_APP_ID), bundled);
}

QIcon CommandIcon(int id) {
    InitAppResources();
    switch (id) {
    case ID_FILE_NEWFOLDER:
        return QIcon(QStringLiteral(":/icons/toolbar/new-folder.png"));
    case ID_APP_ABOUT:
        return QIcon(QStringLiteral(":/icons/toolbar/about.png"));
    default:
        return {};
    }
}
