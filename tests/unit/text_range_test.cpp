#include "format/text_range.h"

#include <gtest/gtest.h>

namespace {

TextRange Range(const char* text) {
    return TextRange::FromCString(text);
}

TEST(TextOrder, UnsignedBytesAndPrefixFirst) {
    EXPECT_LT(CompareTexts(Range("a"), Range("b")), 0);
    EXPECT_LT(CompareTexts(Range("ab"), Range("abc")), 0);
    EXPECT_GT(CompareTexts(Range("\xC3"), Range("z")), 0);  // bytes compare unsigned
    EXPECT_EQ(CompareTexts(Range(""), Range("")), 0);
    EXPECT_TRUE(SameText(Range("Cancel"), Range("Cancel")));
    EXPECT_FALSE(SameText(Range("Cancel"), Range("cancel")));
    EXPECT_TRUE(SameText(TextRange(), TextRange()));  // no bytes to compare
}

TEST(Utf8Text, OwnsACopyWithATerminator) {
    const char bytes[] = {'a', '\0', 'b'};
    Utf8Text text(bytes, bytes + 3);
    ASSERT_EQ(text.size(), 3u);
    EXPECT_EQ(text.first()[1], '\0');
    EXPECT_EQ(*text.last(), '\0');
    Utf8Text moved(std::move(text));
    EXPECT_EQ(moved.size(), 3u);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_STREQ(text.c_str(), "");
}

}  // namespace
