#include "text_escape.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

TEST(TextEscape, JsonKeepsUtf8AndEscapesTheRest) {
    EXPECT_EQ(JsonQuote("plain"), "\"plain\"");
    EXPECT_EQ(JsonQuote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonQuote("line\nnext\ttab\x01"), "\"line\\nnext\\ttab\\u0001\"");
    EXPECT_EQ(JsonQuote("Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x93\x81"),
              "\"Gr\xc3\xbc\xc3\x9f \xe2\x82\xac \xf0\x9f\x93\x81\"");
    // Bytes that are not UTF-8: a stray continuation, a cut sequence, an overlong form, a surrogate.
    EXPECT_EQ(JsonQuote("a\x80z"), "\"a\\ufffdz\"");
    EXPECT_EQ(JsonQuote("\xe2\x82"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuote("\xc0\xaf"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuote("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonQuote(std::string("nul\0byte", 8)), "\"nul\\u0000byte\"");
}

TEST(TextEscape, CsvDoublesQuotes) {
    EXPECT_EQ(CsvQuote("Day 01, 12:00 AM"), "\"Day 01, 12:00 AM\"");
    EXPECT_EQ(CsvQuote("say \"hi\""), "\"say \"\"hi\"\"\"");
}

// Shown text is valid UTF-8 on one line, and different names never look alike.
TEST(TextEscape, DisplayTextKeepsOneLineAndTellsEveryNameApart) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/user/Projekte \xc3\xa4 \xe2\x82\xac", "/home/user/Projekte \xc3\xa4 \xe2\x82\xac"},
        {"a\nb\x1b[31m\x7f", "a\\x0ab\\x1b[31m\\x7f"},
        {"x\ty", "x\\x09y"},
        {"x\\x09y", "x\\\\x09y"},
        {"bad\xff\xfe\xc3(", "bad\\xff\\xfe\\xc3("},
        {"c1\xc2\x85 sep\xe2\x80\xa8", "c1\\xc2\\x85 sep\\xe2\\x80\\xa8"},
        {std::string("nul\0", 4), "nul\\x00"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(DisplayText(text), shown);
}

} // namespace
