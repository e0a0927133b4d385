// Texts made in the "C" locale, whatever the process's, at every length around the formatters'
// buffers.
#include "c_locale_format.h"
#include "test_locale.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(CLocaleFormat, EveryLengthAroundTheBuffersComesOutWholeInAGermanProcess) {
    std::string problem;
    const std::string folder = TestLocaleFolder(kTestLocales[0], problem);
    if (folder.empty())
        GTEST_SKIP() << problem;
    const CScopedProcessLocale german(kTestLocales[0], folder); // a decimal comma, German names
    ASSERT_TRUE(german.Active());

    for (const std::size_t length : {0u, 1u, 123u, 124u, 125u, 126u, 127u, 128u, 129u, 5000u}) {
        const std::string text(length, 'x');
        EXPECT_EQ(FormatInCLocale("%s", text.c_str()), text) << length;
        EXPECT_EQ(FormatInCLocale("%s%0.1f", text.c_str(), 0.25), text + "0.2") << length;
    }
    std::tm fields{};
    fields.tm_mday = 5;
    fields.tm_wday = 1;
    for (const std::size_t length : {0u, 1u, 245u, 246u}) { // up to 255 characters, the most it makes
        const std::string format = std::string(length, 'y') + "%A %d";
        EXPECT_EQ(FormatTimeInCLocale(format.c_str(), fields), std::string(length, 'y') + "Monday 05")
            << length;
    }
}

} // namespace
