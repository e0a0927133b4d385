// Dialog-unit arithmetic and the dialog font's base units.
#include "dialog_units.h"

#include <gtest/gtest.h>

TEST(DialogUnits, ScaleByAQuarterOfTheWidthAndAnEighthOfTheHeight) {
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(DialogUnitsToPixels(QRect(236, 160, 27, 14), base), QRect(354, 260, 41, 23));
    // Rounded to the nearest pixel: 43 * 6 / 4 = 64.5 -> 65, 17 * 13 / 8 = 27.625 -> 28.
    EXPECT_EQ(DialogUnitsToPixels(QRect(43, 0, 1, 17), base), QRect(65, 0, 2, 28));
    EXPECT_EQ(DialogUnitsToPixels(QRect(0, 0, 0, 0), base), QRect(0, 0, 0, 0));
}

TEST(DialogUnits, BaseUnitsComeFromTheDialogFont) {
    const DialogBaseUnits base = BaseUnitsOf(DialogFont());
    EXPECT_GT(base.avgCharWidth, 3);
    EXPECT_LT(base.avgCharWidth, 10);
    EXPECT_GT(base.charHeight, base.avgCharWidth);
}
