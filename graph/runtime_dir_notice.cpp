#include "runtime_dir_notice.h"

#include <QString>
#include <QtGlobal>

namespace {

QtMessageHandler thePreviousHandler = nullptr;

void DropRuntimeDirNotice(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    thePreviousHandler(type, context, message);
}

} // namespace

void SilenceRuntimeDirNotice() {
    if (thePreviousHandler == nullptr)
        thePreviousHandler = qInstallMessageHandler(DropRuntimeDirNotice);
}
