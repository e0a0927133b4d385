#pragma once

#include <QUrl>

// The user guide shipped with the program: the installed copy beside the executable's
// share folder, else the copy in the source tree the program was built from. An empty URL
// when neither exists.
QUrl UserGuideUrl();
