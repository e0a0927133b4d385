#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the valid UTF-8 sequence at the start of text (1 for an ASCII byte), or 0 when it
// does not start with one: a stray or missing continuation byte, an overlong form, a surrogate.
std::size_t Utf8SequenceLength(std::string_view text);

// A file name, path or message made fit for one line of a terminal or of the window: valid UTF-8
// in which each byte of a control character (C0, DEL, C1, the line and paragraph separators) and
// each byte that is not part of valid UTF-8 is shown as \xNN, and a backslash as \\, so that two
// different names never look alike ("x\x09y" and a name with a tab in it).
std::string DisplayText(std::string_view text);
