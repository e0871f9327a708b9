#include "protocol/request_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "protocol/request_start.h"
#include "support/request_file.h"

namespace {

std::vector<std::string> ReadAllLines(const std::string& bytes) {
    RequestFile file(bytes);
    std::vector<std::string> lines;
    char buffer[kRequestBufferSize];
    while (ReadRequestLine(file.input(), buffer, kRequestBufferSize)) lines.emplace_back(buffer);
    return lines;
}

// Read before any test runs: the flag as the process starts.
const bool kTranslateFlagAtStart = TranslateFlag;

TEST(TranslateFlag, IsOffWhenTheProcessStarts) {
    EXPECT_FALSE(kTranslateFlagAtStart);
}

TEST(ReadRequestLine, StripsBlanksTabsAndLineFeedsButKeepsCarriageReturns) {
    EXPECT_EQ(ReadAllLines("UI 1.2  \t\nAB\r\r\n"), (std::vector<std::string>{"UI 1.2", "AB\r"}));
}

TEST(ReadRequestLine, FoldsCrLfAsTheRuntimeTextModeDoes) {
    EXPECT_EQ(ReadAllLines("UI 1.2\r\nPROGRESS\r\n"),
              (std::vector<std::string>{"UI 1.2", "PROGRESS"}));
    // A lone CR is no line end: it stays inside the line.
    EXPECT_EQ(ReadAllLines("ab\rcd\n"), (std::vector<std::string>{"ab\rcd"}));
}

TEST(ReadRequestLine, SkipsLinesOfFewerThanTwoCharacters) {
    EXPECT_EQ(ReadAllLines("\n   \nx\n\t\ny  \nok\n"), (std::vector<std::string>{"ok"}));
    EXPECT_TRUE(ReadAllLines("x").empty());
}

TEST(ReadRequestLine, CtrlZEndsTheInput) {
    EXPECT_EQ(ReadAllLines("first\nsec\x1Aond\nthird\n"),
              (std::vector<std::string>{"first", "sec"}));
}

TEST(ReadRequestLine, ALineLongerThanTheBufferArrivesInPieces) {
    const std::string longLine(15999 + 5, 'a');
    const auto lines = ReadAllLines(longLine + "\nnext\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 15999u);
    EXPECT_EQ(lines[1], "aaaaa");
    EXPECT_EQ(lines[2], "next");
}

TEST(ReadRequestLine, AnEmbeddedNulCutsTheLineShort) {
    EXPECT_EQ(ReadAllLines(std::string("ab\0cd\nef\n", 9)), (std::vector<std::string>{"ab", "ef"}));
}

struct ScanCase {
    const char* line;
    const char* key;
    bool scans;
    int32_t value;
};

void PrintTo(const ScanCase& c, std::ostream* out) {
    *out << c.line;
}

class ScanNumberLineTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanNumberLineTest, ScansLikeTheKeyFormat) {
    const ScanCase& c = GetParam();
    int32_t value = 12345;
    EXPECT_EQ(ScanNumberLine(c.line, c.key, value), c.scans) << c.line;
    if (c.scans) {
        EXPECT_EQ(value, c.value) << c.line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanNumberLineTest,
    ::testing::Values(
        ScanCase{"TITLE:5", "TITLE", true, 5}, ScanCase{"TITLE:  -7", "TITLE", true, -7},
        ScanCase{"TITLE:+12", "TITLE", true, 12}, ScanCase{"TITLE:\t3", "TITLE", true, 3},
        ScanCase{"TITLE:42 trailing text", "TITLE", true, 42},
        ScanCase{"TITLE:17abc", "TITLE", true, 17},
        ScanCase{"TITLE:2147483647", "TITLE", true, 2147483647},
        ScanCase{"TITLE:-2147483648", "TITLE", true, INT32_MIN},
        ScanCase{"TITLE:2147483648", "TITLE", false, 0},
        ScanCase{"TITLE:99999999999999999999", "TITLE", false, 0},
        ScanCase{"TITLE:", "TITLE", false, 0}, ScanCase{"TITLE:-", "TITLE", false, 0},
        ScanCase{"TITLE:x5", "TITLE", false, 0}, ScanCase{"TITLE 5", "TITLE", false, 0},
        ScanCase{"title:5", "TITLE", false, 0}, ScanCase{" TITLE:5", "TITLE", false, 0},
        ScanCase{"MESSAGE:5", "TITLE", false, 0}, ScanCase{"AUTOTIME:5", "REMINDTIME", false, 0}));

TEST(ReadSizedField, ReadsExactlyTheCountIncludingLineFeedsAndNul) {
    RequestFile file(std::string("ab\ncd\0ef\nNEXT:1\n", 16));
    SizedField field = ReadSizedField(file.input(), 8, "alloc", "read");
    ASSERT_EQ(field.error, nullptr);
    EXPECT_EQ(std::string(field.bytes.get(), 8), std::string("ab\ncd\0ef", 8));
    EXPECT_EQ(field.bytes[8], '\0');
    char line[kRequestBufferSize];
    ASSERT_TRUE(ReadRequestLine(file.input(), line, kRequestBufferSize));
    EXPECT_STREQ(line, "NEXT:1");  // the blank line after the field is skipped
}

TEST(ReadSizedField, CountsBytesAfterCrLfFolding) {
    RequestFile file("a\r\nb!rest\n");
    SizedField field = ReadSizedField(file.input(), 3, "alloc", "read");
    ASSERT_EQ(field.error, nullptr);
    EXPECT_STREQ(field.bytes.get(), "a\nb");
}

TEST(ReadSizedField, AShortInputGivesTheReadFailure) {
    RequestFile file("abc");
    SizedField field = ReadSizedField(file.input(), 5, "alloc", "read");
    EXPECT_STREQ(field.error, "read");
    EXPECT_EQ(field.bytes, nullptr);
}

TEST(ReadSizedField, CtrlZInsideTheFieldEndsTheInput) {
    RequestFile file(
        "ab\x1A"
        "cde");
    EXPECT_STREQ(ReadSizedField(file.input(), 5, "alloc", "read").error, "read");
}

TEST(ParseFlags, MatchesByPrefixInFixedOrderAtEachPosition) {
    const char* const flags[] = {":PREVIEW", ":CANCEL", ":REMIND", ":AUTO", ":XLATE", ":TASKBAR"};
    bool set[6] = {};
    EXPECT_TRUE(ParseFlags(":TASKBAR:CANCEL:CANCEL", flags, 6, set));
    EXPECT_TRUE(set[1]);
    EXPECT_TRUE(set[5]);
    EXPECT_FALSE(set[0] || set[2] || set[3] || set[4]);

    bool none[6] = {};
    EXPECT_TRUE(ParseFlags("", flags, 6, none));
    bool blank[6] = {};
    EXPECT_FALSE(ParseFlags(" :CANCEL", flags, 6, blank));
    // ":AUTO" takes the first five characters of ":AUTOTAKEACTION"; the rest matches nothing.
    bool longer[6] = {};
    EXPECT_FALSE(ParseFlags(":AUTOTAKEACTION", flags, 6, longer));
}

TEST(ParseFlags, ALongerFlagListedFirstIsRecognised) {
    const char* const flags[] = {":AUTOTAKEACTION", ":AUTO", ":XLATE", ":TASKBAR"};
    bool set[4] = {};
    EXPECT_TRUE(ParseFlags(":AUTOTAKEACTION:AUTO", flags, 4, set));
    EXPECT_TRUE(set[0]);
    EXPECT_TRUE(set[1]);
}

struct StartCase {
    const char* bytes;
    const char* error;
    RequestCommand command;
    const char* flags;
};

void PrintTo(const StartCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.bytes);
}

class ReadRequestStartTest : public ::testing::TestWithParam<StartCase> {};

TEST_P(ReadRequestStartTest, HandshakeAndDispatch) {
    const StartCase& c = GetParam();
    RequestFile file(c.bytes);
    char buffer[kRequestBufferSize];
    const RequestStart start = ReadRequestStart(file.input(), buffer);
    if (c.error != nullptr) {
        EXPECT_STREQ(start.error, c.error) << c.bytes;
        return;
    }
    ASSERT_EQ(start.error, nullptr) << c.bytes << " -> " << start.error;
    EXPECT_EQ(start.command, c.command);
    EXPECT_STREQ(start.flagText, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ReadRequestStartTest,
    ::testing::Values(StartCase{"", "Error: No version", {}, nullptr},
                      StartCase{"\n\nx\n", "Error: No version", {}, nullptr},
                      StartCase{"UI 1.1\nPROGRESS\n", "Error: Incompatible version", {}, nullptr},
                      StartCase{"UI 1.2\n", "Error: Bad command", {}, nullptr},
                      StartCase{"UI 1.2\nPROGRES\n", "Error: Bad command", {}, nullptr},
                      StartCase{"UI 1.2\nprogress\n", "Error: Bad command", {}, nullptr},
                      StartCase{"UI 1.25\nREMIND\n", nullptr, RequestCommand::kRemind, ""},
                      StartCase{"\n  \nq\nUI 1.2\r\nACTIONUI:CANCEL:TASKBAR\r\n", nullptr,
                                RequestCommand::kActionUi, ":CANCEL:TASKBAR"},
                      StartCase{"UI 1.2\nPROGRESS:XLATE\n", nullptr, RequestCommand::kProgress,
                                ":XLATE"},
                      StartCase{"UI 1.2\nREMINDER\n", nullptr, RequestCommand::kRemind, "ER"}));

}  // namespace
