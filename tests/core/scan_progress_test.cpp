#include "scan_progress.h"
#include "test_locale.h"

#include <gtest/gtest.h>

TEST(ScanProgress, CountsWithCommasBetweenThousandsWhateverTheLocale) {
    std::string problem;
    const std::string folder = TestLocaleFolder(kTestLocales[0], problem);
    if (folder.empty())
        GTEST_SKIP() << problem;
    const CScopedProcessLocale german(kTestLocales[0], folder); // groups thousands with dots
    ASSERT_TRUE(german.Active());
    EXPECT_EQ(FormatScanProgress(123456, 7890), "Scanning: 123,456 files in 7,890 folders...");
    EXPECT_EQ(FormatScanProgress(0, 0), "Scanning: 0 files in 0 folders...");
    EXPECT_EQ(FormatScanProgress(999, 1000), "Scanning: 999 files in 1,000 folders...");
    EXPECT_EQ(FormatReadProgress(8192, "commits"), "Reading: 8,192 commits...");
    EXPECT_EQ(FormatScanProgress(100000, 1), "Scanning: 100,000 files in 1 folders...");
    EXPECT_EQ(FormatScanProgress(9223372036854775807, 1000000),
              "Scanning: 9,223,372,036,854,775,807 files in 1,000,000 folders...");
    EXPECT_EQ(FormatScanProgress(-1234, 12), "Scanning: -1,234 files in 12 folders...");
}
