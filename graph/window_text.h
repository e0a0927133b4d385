#pragma once

#include <QString>
#include <string_view>

// Text made of a file name's bytes, fit to show on one line of the window: the bytes are read
// as UTF-8, and each byte that is not part of valid UTF-8 and each control character
// (newlines, tabs, escapes, line and paragraph separators) becomes U+FFFD. Messages meant for a
// terminal are escaped as \xNN instead (DisplayText in the report command).
QString TextForWindow(std::string_view bytes);
