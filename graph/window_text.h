#pragma once

#include <QString>
#include <string_view>

// Text made of a file name's bytes, or of a message naming one, fit to show on one line of the
// window: the bytes are read as UTF-8 and shown as the report command shows them (DisplayText),
// control characters and bytes that are not part of valid UTF-8 as \xNN and a backslash as \\.
QString TextForWindow(std::string_view bytes);
