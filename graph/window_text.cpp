#include "window_text.h"

#include "display_text.h"

QString TextForWindow(std::string_view bytes) {
    return QString::fromStdString(DisplayText(bytes));
}
