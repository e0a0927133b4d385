#include "string_table.h"

#include <string_view>

namespace {

struct StringEntry {
    int id;
    std::string_view text;
};

constexpr StringEntry kStrings[] = {
#define BUSYSCOPE_STRING(id, text) {id, text},
#include "string_table.inc"
#undef BUSYSCOPE_STRING
};

} // namespace

QString LoadResString(int id) {
    for (const StringEntry& entry : kStrings)
        if (entry.id == id)
            return QString::fromUtf8(entry.text.data(), qsizetype(entry.text.size()));
    return {};
}

QString CommandPrompt(int id) {
    return LoadResString(id).section(QLatin1Char('\n'), 0, 0);
}

QString CommandTip(int id) {
    return LoadResString(id).section(QLatin1Char('\n'), 1, 1);
}
