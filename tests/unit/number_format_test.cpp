#include "format/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "format/template.h"
#include "support/scoped_overrides.h"

namespace {

std::string Text(const Utf8Text& text) {
    return std::string(text.first(), text.last());
}

constexpr const char kNumberTemplate[] =
    "{sign}{j}{i}{h}{g}{f}{e}{d}{c}{b}{a}{9}{8}{7}{6}{5}{4}{3}{2}{1}{0}";

TEST(FormatUnsigned, AllDecimalDigitsWithoutSeparators) {
    const uint64_t values[] = {0,
                               7,
                               9,
                               10,
                               100,
                               1234567,
                               4294967295u,
                               4294967296u,
                               999999999999999999u,
                               1000000000000000000u,
                               9999999999999999999u,
                               10000000000000000000u,
                               std::numeric_limits<uint64_t>::max()};
    for (uint64_t value : values) {
        EXPECT_EQ(Text(FormatUnsigned(value)), std::to_string(value));
    }
    EXPECT_EQ(Text(FormatUnsigned(std::numeric_limits<uint64_t>::max())), "18446744073709551615");
}

TEST(FormatSigned, MinusSignBeforeTheMagnitude) {
    const int64_t values[] = {0,
                              -1,
                              -42,
                              42,
                              -1000000,
                              std::numeric_limits<int64_t>::max(),
                              std::numeric_limits<int64_t>::min() + 1,
                              std::numeric_limits<int64_t>::min()};
    for (int64_t value : values) {
        EXPECT_EQ(Text(FormatSigned(value)), std::to_string(value));
    }
    EXPECT_EQ(Text(FormatSigned(std::numeric_limits<int64_t>::min())), "-9223372036854775808");
    EXPECT_EQ(Text(FormatNumber(true, 0)), "-0");
}

TEST(FormatNumberTranslated, SignAndDigitsAreLookedUpOneByOne) {
    const ScopedOverrides overrides{{"-", "\xE2\x88\x92"}, {"7", "\xD9\xA7"}, {"0", "zero"}};
    EXPECT_EQ(Text(FormatSigned(-42)),
              "\xE2\x88\x92"
              "42");
    EXPECT_EQ(Text(FormatSigned(42)), "42");
    EXPECT_EQ(Text(FormatUnsigned(7077)), "\xD9\xA7zero\xD9\xA7\xD9\xA7");
    EXPECT_EQ(Text(FormatUnsigned(0)), "zero");
}

TEST(FormatNumberTranslated, TemplateArrangesTheDigits) {
    const ScopedOverrides overrides{
        {kNumberTemplate, "{sign}{j}{i}{h}{g}{f}{e}{d}{c}{b}{a}{9}{8}{7}{6}{5}{4}{3},{2}{1}{0}"}};
    EXPECT_EQ(Text(FormatUnsigned(1234)), "1,234");
    EXPECT_EQ(Text(FormatSigned(-1234567)), "-1234,567");
    // The empty high digits still surround the separator.
    EXPECT_EQ(Text(FormatUnsigned(5)), ",5");
}

TEST(FormatNumberTranslated, TemplateWithoutSignDropsIt) {
    const ScopedOverrides overrides{{kNumberTemplate, "{0}{1}{2}"}};
    EXPECT_EQ(Text(FormatSigned(-123)), "321");
}

TEST(FormatNumberTranslated, BrokenTemplateFailsLikeAnyTemplate) {
    {
        const ScopedOverrides overrides{{kNumberTemplate, "{sign}{k}{0}"}};
        EXPECT_THROW(FormatUnsigned(1), UndefinedFormatVariable);
    }
    {
        const ScopedOverrides overrides{{kNumberTemplate, "{sign}{0"}};
        EXPECT_THROW(FormatSigned(-1), BadFormatStringError);
    }
}

}  // namespace
