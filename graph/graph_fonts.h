#pragma once

#include <QFont>

// A bold font asked for by face name and size in tenths of a point, sized in pixels from
// the vertical resolution the way the graph's layout arithmetic expects.
QFont BoldPointFont(const QString& family, QFont::StyleHint hint, int tenthsOfPoint, int dotsPerInchY);
