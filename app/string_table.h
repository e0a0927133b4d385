#pragma once

#include <QString>

// The program's string table, by id. An id that has no string gives an empty text.
QString LoadResString(int id);

// A command's status-bar prompt (the text before the line break) and tool tip (after it).
QString CommandPrompt(int id);
QString CommandTip(int id);
