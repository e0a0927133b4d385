#include "user_guide.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QUrl UserGuideUrl() {
    const QString candidates[] = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(BUSYSCOPE_HELP_FROM_BINDIR)),
        QStringLiteral(BUSYSCOPE_HELP_SOURCE_DIR),
    };
    for (const QString& dir : candidates) {
        const QFileInfo guide(QDir(dir), QStringLiteral("index.html"));
        if (guide.isFile())
            return QUrl::fromLocalFile(guide.canonicalFilePath());
    }
    return {};
}
