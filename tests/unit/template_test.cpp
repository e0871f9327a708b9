#include "format/template.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/scoped_overrides.h"

namespace {

std::string Text(const Utf8Text& text) {
    return std::string(text.first(), text.last());
}

TextRange Range(const char* text) {
    return TextRange::FromCString(text);
}

TEST(MakeTemplate, WithoutTranslationBothFacesAreTheLiteral) {
    static const char kHide[] = "Hide";
    const FormatTemplate hide = MakeTemplate(kHide);
    EXPECT_EQ(hide.source.first, kHide);
    EXPECT_EQ(hide.source.size(), 4u);
    EXPECT_TRUE(hide.source.terminated);
    EXPECT_EQ(hide.effective.first, kHide);
    EXPECT_EQ(hide.effective.last, hide.source.last);
    EXPECT_EQ(Text(Localize(hide)), "Hide");
}

TEST(Localize, LiteralTextAndLoneClosingBracesComeOutUnchanged) {
    EXPECT_EQ(Text(Localize(MakeTemplate("a}b"))), "a}b");
    EXPECT_EQ(Text(Localize(MakeTemplate("}"))), "}");
    EXPECT_EQ(Text(Localize(MakeTemplate(""))), "");
    EXPECT_EQ(Text(Localize(MakeTemplate("}{x}}"), "1")), "}1}");
    // Results up to 256 bytes are assembled on the stack, longer ones on the heap.
    for (size_t size : {256u, 257u, 300u}) {
        const std::string literal = std::string(size - 2, 'x') + "{x}y";
        EXPECT_EQ(Text(Localize(MakeTemplate(literal.c_str()), "1")),
                  literal.substr(0, size - 2) + "1y")
            << size;
    }
}

TEST(Localize, CopiesArgumentBytesAsTheyAre) {
    const char bytes[] = {'\xC3', '\xA9', '\0', '}', '{'};
    const TextRange argument(bytes, bytes + sizeof bytes, false);
    EXPECT_EQ(Text(Localize(MakeTemplate("[{x}]"), argument)),
              "[\xC3\xA9" + std::string(1, '\0') + "}{]");
    EXPECT_EQ(Text(Localize(MakeTemplate("[{x}]"), TextRange())), "[]");
    // A slice of a longer text stops at its end.
    const char* word = "abcdef";
    EXPECT_EQ(Text(Localize(MakeTemplate("{x}"), TextRange(word + 1, word + 3, false))), "bc");
}

TEST(Localize, TakesOwnedTextsAsArguments) {
    const Utf8Text inner = Localize(MakeTemplate("{a}+{b}"), "1", "2");
    EXPECT_EQ(Text(Localize(MakeTemplate("({x})"), inner)), "(1+2)");
    EXPECT_EQ(Text(Localize(MakeTemplate("({x})"), Localize(MakeTemplate("{y}!"), "3"))), "(3!)");
}

TEST(Localize, UnterminatedVariableIsABadFormatString) {
    EXPECT_THROW(Localize(MakeTemplate("abc{x")), BadFormatStringError);
    EXPECT_THROW(Localize(MakeTemplate("{")), BadFormatStringError);
    EXPECT_THROW(Localize(MakeTemplate("{x}{y"), "1", "2"), BadFormatStringError);
    EXPECT_THROW(Localize(MakeTemplate("{x} and {"), "1"), BadFormatStringError);
}

TEST(Localize, NameRulesOfTheSourceText) {
    struct Case {
        const char* source;
        bool improperName;  // else the special name is undefined
    };
    // The last rows: the bytes just outside the letters and digits.
    const Case failures[] = {
        {"{}", true},      {"a{}b", true},     {"{a-b}", true},       {"{a b}", true},
        {"{x{y}", true},   {"{day of}", true}, {"{a\xC3\xA9}", true}, {"{_}", false},
        {"{_foo}", false}, {"{_TAB}", false},  {"{_tabs}", false},    {"{_cr }", false},
        {"{x@}", true},    {"{x[}", true},     {"{x`}", true},        {"{x/}", true},
        {"{x:}", true},
    };
    for (const Case& failure : failures) {
        SCOPED_TRACE(failure.source);
        if (failure.improperName) {
            EXPECT_THROW(Localize(MakeTemplate(failure.source)), ImproperFormatVariableName);
            EXPECT_THROW(Localize(MakeTemplate(failure.source), "1"), ImproperFormatVariableName);
        } else {
            EXPECT_THROW(Localize(MakeTemplate(failure.source)), UndefinedFormatVariable);
            EXPECT_THROW(Localize(MakeTemplate(failure.source), "1"), UndefinedFormatVariable);
        }
    }
    // Only the bytes after the first are examined; names are case-sensitive identifiers.
    EXPECT_EQ(Text(Localize(MakeTemplate("<{-a}>"), "1")), "<1>");
    EXPECT_EQ(Text(Localize(MakeTemplate("<{\xC3}>"), "1")), "<1>");
    EXPECT_EQ(Text(Localize(MakeTemplate("<{@}>"), "1")), "<1>");
    EXPECT_EQ(Text(Localize(MakeTemplate("{0}{day_of_month}{X}{x}"), "1", "2", "3", "4")), "1234");
    EXPECT_EQ(Text(Localize(MakeTemplate("{xAZ}{xaz}{x09}"), "1", "2", "3")), "123");
}

TEST(Localize, SpecialVariablesStandForCharactersATemplateCannotHold) {
    EXPECT_EQ(Text(Localize(MakeTemplate(" There are currently {x} pending actions,{_cr}{_lf} "
                                         "including a RESTART action."),
                            "3")),
              " There are currently 3 pending actions,\r\n including a RESTART action.");
    EXPECT_EQ(Text(Localize(MakeTemplate("{_obrace}x{_cbrace}"))), "{x}");
    EXPECT_EQ(Text(Localize(MakeTemplate("a{_tab}b{_crlf}"))), "a\tb\r\n");
    // They consume no argument.
    EXPECT_EQ(Text(Localize(MakeTemplate("{_tab}{x}{_lf}"), "1")), "\t1\n");
}

TEST(SpecialFormatVariables, SixRowsSortedByName) {
    const FormatBindingTable& specials = SpecialFormatVariables();
    ASSERT_EQ(specials.last - specials.first, 6);
    const char* const names[] = {"_cbrace", "_cr", "_crlf", "_lf", "_obrace", "_tab"};
    const char* const values[] = {"}", "\r", "\r\n", "\n", "{", "\t"};
    for (int row = 0; row < 6; ++row) {
        EXPECT_TRUE(SameText(specials.first[row].name, Range(names[row]))) << names[row];
        EXPECT_TRUE(SameText(specials.first[row].value, Range(values[row]))) << names[row];
    }
}

TEST(Localize, ArgumentCountMustMatchTheSourceVariables) {
    const FormatTemplate action = MakeTemplate(" Action {x} of {y}");
    EXPECT_THROW(Localize(action, "1"), TooManyFormatArguments);
    EXPECT_THROW(Localize(action, "1", "2", "3"), TooFewFormatArguments);
    EXPECT_THROW(Localize(action), TooManyFormatArguments);
    EXPECT_THROW(Localize(MakeTemplate("Hide"), "1"), TooFewFormatArguments);
    EXPECT_EQ(Text(Localize(action, "1", "2")), " Action 1 of 2");
    // A repeated name takes one argument per occurrence.
    EXPECT_THROW(Localize(MakeTemplate("{x}{x}"), "1"), TooManyFormatArguments);
}

TEST(Localize, RepeatedNameTakesTheValueThatSortsFirst) {
    EXPECT_EQ(Text(Localize(MakeTemplate("{x}{x}"), "b", "a")), "aa");
    EXPECT_EQ(Text(Localize(MakeTemplate("{x}{y}{x}"), "ab", "-", "a")), "a-a");
    // Names whose first byte is the last of the 256 (the first byte is not examined), with
    // eight bytes of output between them.
    EXPECT_EQ(Text(Localize(MakeTemplate("{\xFF}1234567{\xFF}"), "b", "a")), "a1234567a");
}

TEST(Localize, SupportsTwentyOneArguments) {
    const char* const digits[] = {"",  "1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
                                  "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    EXPECT_EQ(Text(Localize(MakeTemplate("{s}{j}{i}{h}{g}{f}{e}{d}{c}{b}{a}{9}{8}{7}{6}{5}{4}{3}{2}"
                                         "{1}{0}"),
                            digits[0], digits[1], digits[2], digits[3], digits[4], digits[5],
                            digits[6], digits[7], digits[8], digits[9], digits[10], digits[11],
                            digits[12], digits[13], digits[14], digits[15], digits[16], digits[17],
                            digits[18], digits[19], digits[20])),
              "1234567890abcdefghij");
}

TEST(LocalizeTranslated, BindsByTheSourceAndSubstitutesIntoTheTranslation) {
    const ScopedOverrides overrides{{" Action {x} of {y}", "{y} / {x}{_tab}{y}"}};
    EXPECT_EQ(Text(Localize(MakeTemplate(" Action {x} of {y}"), "1", "2")), "2 / 1\t2");
    // A translation that is the start or the end of its own source is still a translation.
    const TextRange source = Range("<{x}>");
    EXPECT_EQ(Text(Localize(FormatTemplate{source, TextRange(source.first, source.last - 1, false)},
                            "1")),
              "<1");
    EXPECT_EQ(Text(Localize(FormatTemplate{source, TextRange(source.first + 1, source.last, false)},
                            "1")),
              "1>");
}

TEST(LocalizeTranslated, MayLeaveOutVariablesButNotInventThem) {
    {
        const ScopedOverrides overrides{{" Action {x} of {y}", "Aktion"}};
        EXPECT_EQ(Text(Localize(MakeTemplate(" Action {x} of {y}"), "1", "2")), "Aktion");
    }
    {
        const ScopedOverrides overrides{{" Action {x} of {y}", "{x} {z}"}};
        EXPECT_THROW(Localize(MakeTemplate(" Action {x} of {y}"), "1", "2"),
                     UndefinedFormatVariable);
    }
    {
        const ScopedOverrides overrides{{"Hide", "{x}"}, {"{X}", "{x}"}};
        EXPECT_THROW(Localize(MakeTemplate("Hide")), UndefinedFormatVariable);
        EXPECT_THROW(Localize(MakeTemplate("{X}"), "1"), UndefinedFormatVariable);
    }
}

TEST(LocalizeTranslated, RepeatedNamesTakeTheFirstValueInTheTranslationToo) {
    const ScopedOverrides overrides{{"{x}-{x}", "{x}"}};
    EXPECT_EQ(Text(Localize(MakeTemplate("{x}-{x}"), "b", "a")), "a");
}

TEST(LocalizeTranslated, NamesOfTheTranslationNeedOnlyBeFound) {
    const ScopedOverrides overrides{
        {"Hide", "Ver{steck"}, {"Show", "{}"}, {"Stop", "{a-b}"}, {"Go", "{_nope}"}};
    EXPECT_THROW(Localize(MakeTemplate("Hide")), BadFormatStringError);
    EXPECT_THROW(Localize(MakeTemplate("Show")), ImproperFormatVariableName);
    EXPECT_THROW(Localize(MakeTemplate("Stop")), UndefinedFormatVariable);
    EXPECT_THROW(Localize(MakeTemplate("Go")), UndefinedFormatVariable);
}

TEST(LocalizeTranslated, SourceErrorsComeFirst) {
    const ScopedOverrides overrides{{"{x}{", "fine"}, {"{x}", "{"}};
    EXPECT_THROW(Localize(MakeTemplate("{x}{"), "1"), BadFormatStringError);
    EXPECT_THROW(Localize(MakeTemplate("{x}")), TooManyFormatArguments);
    EXPECT_THROW(Localize(MakeTemplate("{x}"), "1"), BadFormatStringError);
}

// Hands out slices of one buffer, as the translation file does: no zero byte after them.
class SliceSource : public FormatOverrideSource {
  public:
    TextRange LookupOverride(TextRange key) const override {
        static const char kBuffer[] = "ok{x}";
        if (SameText(key, Range("Hide"))) return TextRange(kBuffer, kBuffer + 2, false);
        if (SameText(key, Range("{x}"))) return TextRange(kBuffer + 2, kBuffer + 4, false);
        throw FormatOverrideNotFound();
    }
};

TEST(LocalizeTranslated, EffectiveTextEndsAtItsRangeNotAtAZeroByte) {
    const SliceSource slices;
    const FormatOverrideRegistration registration(slices);
    EXPECT_EQ(Text(Localize(MakeTemplate("Hide"))), "ok");
    EXPECT_THROW(Localize(MakeTemplate("{x}"), "1"), BadFormatStringError);  // "{x" in the slice
}

TEST(LocalizeTranslated, TranslationIsLookedUpWhenTheTemplateIsMade) {
    const FormatTemplate before = MakeTemplate("Hide");
    const ScopedOverrides overrides{{"Hide", "Verbergen"}};
    const FormatTemplate after = MakeTemplate("Hide");
    EXPECT_EQ(Text(Localize(before)), "Hide");
    EXPECT_EQ(Text(Localize(after)), "Verbergen");
}

class FailingSource : public FormatOverrideSource {
  public:
    TextRange LookupOverride(TextRange) const override { throw std::runtime_error("broken"); }
};

TEST(LookupOverride, AsksTheNewestSourceFirstAndSkipsFailingOnes) {
    const ScopedOverrides oldest{{"Hide", "old"}, {"Show", "old show"}};
    {
        const ScopedOverrides newest{{"Hide", "new"}};
        EXPECT_EQ(Text(Localize(MakeTemplate("Hide"))), "new");
        EXPECT_EQ(Text(Localize(MakeTemplate("Show"))), "old show");
        const FailingSource failing;
        const FormatOverrideRegistration registration(failing);
        EXPECT_EQ(Text(Localize(MakeTemplate("Hide"))), "new");
        EXPECT_EQ(Text(Localize(MakeTemplate("Stop"))), "Stop");
    }
    EXPECT_EQ(Text(Localize(MakeTemplate("Hide"))), "old");
}

TEST(LookupOverride, FallsBackWhenNoSourceHasTheKey) {
    const TextRange fallback = Range("fallback");
    const TextRange found = LookupOverride(Range("no such key"), fallback);
    EXPECT_EQ(found.first, fallback.first);
    EXPECT_EQ(found.last, fallback.last);
}

}  // namespace
