#include "format/reading_direction.h"

#include <gtest/gtest.h>

#include "support/scoped_overrides.h"

namespace {

TEST(ReadingDirection, OnlyTheExactRightToLeftValueMirrors) {
    EXPECT_FALSE(IsRightToLeftTranslation());  // no translation: the key itself
    const struct {
        const char* value;
        bool mirrored;
    } cases[] = {
        {"default:RTL", true},   {"default:LTR", false}, {"default:rtl", false},
        {"default:RTL ", false}, {"{unknown}", false},  // a value that fails to localize keeps left
                                                        // to right
    };
    for (const auto& c : cases) {
        const ScopedOverrides translation{{"default:LTR", c.value}};
        EXPECT_EQ(IsRightToLeftTranslation(), c.mirrored) << c.value;
    }
}

}  // namespace
