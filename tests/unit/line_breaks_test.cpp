#include "text/line_breaks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LineBreakCase {
    const char* text;
    const char* normalized;
};

TEST(NormalizeLineBreaks, EveryBreakBecomesCarriageReturnLineFeed) {
    const LineBreakCase cases[] = {
        {"", ""},
        {"no breaks", "no breaks"},
        {"a\nb", "a\r\nb"},
        {"a\rb", "a\r\nb"},
        {"a\r\nb", "a\r\nb"},
        {"a\r\rb", "a\r\n\r\nb"},
        {"a\n\nb", "a\r\n\r\nb"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"\r\n\r\n", "\r\n\r\n"},
        {"\n", "\r\n"},
        {"end\r", "end\r\n"},
        {"\xC3\xA9t\xC3\xA9\n", "\xC3\xA9t\xC3\xA9\r\n"},
    };
    for (const LineBreakCase& c : cases) {
        std::string target = "old";
        NormalizeLineBreaks(c.text, target);
        EXPECT_EQ(target, c.normalized) << testing::PrintToString(std::string(c.text));
    }
}

TEST(NormalizeLineBreaks, NullLeavesTheTargetAsItWas) {
    std::string target = "kept\r\n";
    NormalizeLineBreaks(nullptr, target);
    EXPECT_EQ(target, "kept\r\n");
}

TEST(NormalizeLineBreaks, OnlyBreaksDoubleTheText) {
    const std::string breaks(1000, '\n');
    std::string target;
    NormalizeLineBreaks(breaks.c_str(), target);
    ASSERT_EQ(target.size(), 2 * breaks.size());
    EXPECT_EQ(target.find_first_not_of("\r\n"), std::string::npos);
    EXPECT_EQ(target.substr(0, 4), "\r\n\r\n");
}

}  // namespace
