#include "kit/translation_check.h"

#include <gtest/gtest.h>

namespace {

const std::string kCatalogue =
    "Cancel\tnote\tCancel\n"
    "Hide\tnote\tHide\n"
    " Action {x} of {y}\tnote\t Action {x} of {y}\n"
    "default:LTR\tnote\tdefault:LTR\n";

TEST(TranslationCheck, AFileWithEveryKeyRightPasses) {
    const TranslationCheckReport report = CheckTranslation(
        "Deutsch: a comment\n\nCancel\tAbbrechen\r\nHide\tAusblenden\n"
        " Action {x} of {y}\t Aktion {x} von {y}\ndefault:LTR\tdefault:LTR",
        kCatalogue);
    EXPECT_FALSE(report.Failed());
    EXPECT_TRUE(report.missingKeys.empty());
    EXPECT_FALSE(report.rightToLeft);
}

TEST(TranslationCheck, EachSeededFaultIsFlagged) {
    const TranslationCheckReport report = CheckTranslation(
        "\xEF\xBB\xBF"
        "Cancel\tAbbrechen\n"
        "Hide  Ausblenden\n"
        " Action {x} of {y}\t Aktion {x} von {z}\n"
        "Cancel\tAbbrechen {\n"
        "Unknown\tx\n"
        "default:LTR\tdefault:RTL\n",
        kCatalogue);
    EXPECT_TRUE(report.byteOrderMark);
    EXPECT_EQ(report.untabbedEntries, std::vector<std::string>{"line 2: Hide  Ausblenden"});
    EXPECT_EQ(report.unknownKeys, (std::vector<std::string>{"Unknown",
                                                            "\xEF\xBB\xBF"
                                                            "Cancel"}));
    EXPECT_EQ(report.missingKeys, std::vector<std::string>{"Hide"});
    ASSERT_EQ(report.variableMismatches.size(), 1u);
    EXPECT_EQ(report.variableMismatches[0].dropped, std::vector<std::string>{"y"});
    EXPECT_EQ(report.variableMismatches[0].invented, std::vector<std::string>{"z"});
    ASSERT_EQ(report.formatFailures.size(), 2u);
    EXPECT_EQ(report.formatFailures[0].failure, "unknown variable");  // " Action": {z}
    EXPECT_EQ(report.formatFailures[1].failure, "unclosed brace");    // "Cancel"
    EXPECT_TRUE(report.rightToLeft);
    EXPECT_TRUE(report.Failed());
}

TEST(TranslationCheck, OnlyMissingKeysStillPasses) {
    const TranslationCheckReport report = CheckTranslation("Cancel\tAbbrechen\n", kCatalogue);
    EXPECT_EQ(report.missingKeys.size(), 3u);
    EXPECT_FALSE(report.Failed());
}

}  // namespace
