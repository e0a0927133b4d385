#pragma once

#include <QFont>
#include <QRect>

// Dialog templates are laid out in dialog units: a quarter of the dialog font's average
// character width horizontally and an eighth of its character height vertically.
struct DialogBaseUnits {
    int avgCharWidth = 0;
    int charHeight = 0;
};

// The dialog font of every template: a small sans-serif face.
QFont DialogFont();

DialogBaseUnits BaseUnitsOf(const QFont& font);

// A rectangle in dialog units to pixels, each coordinate rounded as the platform's
// MapDialogRect does.
QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits base);
