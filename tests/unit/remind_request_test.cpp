#include "protocol/remind_request.h"

#include <gtest/gtest.h>

#include <string>

#include "support/request_file.h"

namespace {

constexpr Timestamp kStart = 1178269507000000;  // any fixed instant

// One item block with the given "ACTIONITEM" line ending, id and postponement.
std::string Item(const std::string& kind, const std::string& id = "7",
                 const std::string& postpone = "60") {
    return "ACTIONITEM" + kind + "\nACTIONID:" + id + "\nACTIONPOSTPONE:" + postpone +
           "\nACTIONITEMMSG:3\nmsgACTIONITEMBODY:4\nbodyACTIONITEMTITLE:5\ntitle";
}

const std::string kHead = "REMINDTIME:600\nTITLE:2\nRT";
const std::string kOneItem = kHead + "ACTIONCOUNT:1\n" + Item(":NONE");

struct RemindCase {
    const char* flags;
    std::string fields;
    const char* error;
};

void PrintTo(const RemindCase& c, std::ostream* out) {
    *out << c.flags << " -> " << c.error;
}

class RemindTest : public ::testing::Test {
  protected:
    void SetUp() override { TranslateFlag = false; }
    void TearDown() override { TranslateFlag = false; }

    RemindRequestResult Read(const std::string& fields, const char* flags) {
        RequestFile file(fields);
        return ReadRemindRequest(file.input(), flags, kStart);
    }
};

class RemindErrors : public ::testing::WithParamInterface<RemindCase>, public RemindTest {};

TEST_P(RemindErrors, EachFieldFailsWithItsOwnReply) {
    const RemindCase& c = GetParam();
    EXPECT_STREQ(Read(c.fields, c.flags).error, c.error) << c.fields;
}

INSTANTIATE_TEST_SUITE_P(
    Header, RemindErrors,
    ::testing::Values(
        RemindCase{" :AUTO", kOneItem, "Error: Bad command"},
        RemindCase{":AUTOTAKE", kOneItem, "Error: Bad command"},
        RemindCase{":CANCEL", kOneItem, "Error: Bad command"}, RemindCase{"", "", "bad1"},
        RemindCase{":AUTO", "\n \nx\n", "bad1"},
        RemindCase{":AUTO", "AUTOTIME:0\n" + kOneItem, "Error: Bad auto time error"},
        RemindCase{":AUTOTAKEACTION", "AUTOTIME:x\n" + kOneItem, "Error: Bad auto time error"},
        RemindCase{":AUTO", kOneItem, "Error: Bad auto time error"},
        RemindCase{":AUTO", "AUTOTIME:30\n", "Error: Bad remind time error"},
        RemindCase{"", "AUTOTIME:30\n" + kOneItem, "Error: Bad remind time error"},
        RemindCase{"", "REMINDTIME:\n", "Error: Bad remind time error"},
        RemindCase{"", "REMINDTIME:600\n", "Error: Bad title"},
        RemindCase{"", "REMINDTIME:600\nTITLE:0\n", "Error: Bad title"},
        RemindCase{"", "REMINDTIME:600\nACTIONCOUNT:1\n", "Error: Bad title"},
        RemindCase{"", "REMINDTIME:600\nTITLE:5\nab", "Error: failed reading title"},
        RemindCase{"", kHead, "Error: Bad action count"},
        RemindCase{"", kHead + "ACTIONCOUNT:0\n" + Item(":NONE"), "Error: Bad action count"},
        RemindCase{"", kHead + Item(":NONE"), "Error: Bad action count"}));

INSTANTIATE_TEST_SUITE_P(
    ItemLine, RemindErrors,
    ::testing::Values(
        RemindCase{"", kHead + "ACTIONCOUNT:1\n", "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(""), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":CANCEL:NONE"), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":NONE:RESTART"), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":NONE:"), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(" :NONE"), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item("S:NONE"), "Error: Bad action item"},
        // The key one letter off, the rest of the item intact.
        RemindCase{"", kHead + "ACTIONCOUNT:1\nACTIONITEN" + Item(":NONE").substr(10),
                   "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:2\n" + Item(":NONE"), "Error: Bad action item"},
        RemindCase{"", kHead + "ACTIONCOUNT:-1\n" + Item(":NONE"), "Error: Bad action item"}));

// One item whose fields are read up to the one under test.
const std::string kItemStart = kHead + "ACTIONCOUNT:1\nACTIONITEM:NONE\n";
const std::string kItemTexts = kItemStart + "ACTIONID:7\nACTIONPOSTPONE:0\n";
const std::string kItemBody = kItemTexts + "ACTIONITEMMSG:2\nms";
const std::string kItemTitle = kItemBody + "ACTIONITEMBODY:2\nbo";

INSTANTIATE_TEST_SUITE_P(
    ItemFields, RemindErrors,
    ::testing::Values(
        RemindCase{"", kItemStart, "Error: Bad action id"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":NONE", "0"), "Error: Bad action id"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":NONE", "x"), "Error: Bad action id"},
        RemindCase{"", kItemStart + "ACTIONID:7\n", "Error: Bad action postpone"},
        RemindCase{"", kHead + "ACTIONCOUNT:1\n" + Item(":NONE", "7", "soon"),
                   "Error: Bad action postpone"},
        RemindCase{"", kItemTexts, "Error: Bad action message"},
        RemindCase{"", kItemTexts + "ACTIONITEMMSG:0\n", "Error: Bad action message"},
        RemindCase{"", kItemTexts + "ACTIONITEMMSG:9\nms", "Error: failed reading message"},
        RemindCase{"", kItemBody, "Error: Bad action body"},
        RemindCase{"", kItemBody + "ACTIONITEMTITLE:1\nt", "Error: Bad action body"},
        RemindCase{"", kItemBody + "ACTIONITEMBODY:9\nbo", "Error: failed reading body"},
        RemindCase{"", kItemTitle, "Error: Bad action title"},
        RemindCase{"", kItemTitle + "ACTIONITEMTITLE:0\n", "Error: Bad action title"},
        RemindCase{"", kItemTitle + "ACTIONITEMTITLE:9\nti", "Error: failed reading title"}));

INSTANTIATE_TEST_SUITE_P(
    Paths, RemindErrors,
    ::testing::Values(RemindCase{":XLATE", kOneItem, "Error: missing xlatepath"},
                      RemindCase{":XLATE", kOneItem + "XLATEPATH:0\n", "Error: missing xlatepath"},
                      RemindCase{":XLATE", kOneItem + "XLATEPATH:9\nfr",
                                 "Error: failed reading translation file path"},
                      RemindCase{"", kOneItem + "IMAGEPATH:9\nC:\\",
                                 "Error: failed reading image file path"}));

TEST_F(RemindTest, RemindTimeZeroMeansAnHourAndOtherValuesStay) {
    const struct {
        const char* line;
        int32_t remindTime;
    } cases[] = {{"REMINDTIME:0", 3600}, {"REMINDTIME:-1", -1}, {"REMINDTIME: 90", 90}};
    for (const auto& c : cases) {
        const RemindRequestResult result =
            Read(std::string(c.line) + "\nTITLE:1\nTACTIONCOUNT:1\n" + Item(":NONE"), "");
        ASSERT_EQ(result.error, nullptr) << c.line << ": " << result.error;
        EXPECT_EQ(result.request.remindTime, c.remindTime) << c.line;
    }
}

TEST_F(RemindTest, AutoFlagsAndAnyNonZeroAutoTime) {
    const std::string fields = "AUTOTIME:-30\n" + kOneItem;
    RemindRequestResult result = Read(fields, ":AUTO");
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_EQ(result.request.autoTime, -30);
    EXPECT_TRUE(result.request.autoRequested);
    EXPECT_FALSE(result.request.autoTakeAll);

    result = Read(fields, ":TASKBAR:AUTOTAKEACTION");
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_TRUE(result.request.autoRequested);
    EXPECT_TRUE(result.request.autoTakeAll);
    EXPECT_TRUE(result.request.taskbar);

    result = Read(kOneItem, "");
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_EQ(result.request.autoTime, 0);
    EXPECT_FALSE(result.request.autoRequested || result.request.autoTakeAll ||
                 result.request.taskbar);
}

TEST_F(RemindTest, ItemLinesGiveKindAndOptions) {
    const RemindRequestResult result = Read(
        kHead + "ACTIONCOUNT:4\n" + Item(":NONE:CANCEL:PREVIEW:CANCEL", "1") +
            Item(":RESTART", "2") + Item(":SHUTDOWN:PREVIEW", "3") + Item(":NONE:CANCEL", "-4"),
        "");
    ASSERT_EQ(result.error, nullptr) << result.error;
    const std::vector<ActionItem>& actions = result.request.actions;
    ASSERT_EQ(actions.size(), 4u);
    const struct {
        int32_t id;
        ActionKind kind;
        bool cancel;
        bool preview;
    } expected[] = {{1, ActionKind::kNone, true, true},
                    {2, ActionKind::kRestart, false, false},
                    {3, ActionKind::kShutdown, false, true},
                    {-4, ActionKind::kNone, true, false}};
    for (size_t i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i].id, expected[i].id) << i;
        EXPECT_EQ(actions[i].kind, expected[i].kind) << i;
        EXPECT_EQ(actions[i].cancelAllowed, expected[i].cancel) << i;
        EXPECT_EQ(actions[i].previewAvailable, expected[i].preview) << i;
    }
    EXPECT_EQ(static_cast<int32_t>(ActionKind::kRestart), 31);
    EXPECT_EQ(static_cast<int32_t>(ActionKind::kShutdown), 32);
}

TEST_F(RemindTest, TheShortestPostponeIsAnUnsignedMinimum) {
    const struct {
        const char* first;
        const char* second;
        uint32_t shortest;
    } cases[] = {{"600", "300", 300},       {"300", "600", 300},       {"-1", "600", 600},
                 {"-1", "-1", 4294967295u}, {"-2", "-1", 4294967294u}, {"0", "-1", 0}};
    for (const auto& c : cases) {
        const RemindRequestResult result = Read(
            kHead + "ACTIONCOUNT:2\n" + Item(":NONE", "1", c.first) + Item(":NONE", "2", c.second),
            "");
        ASSERT_EQ(result.error, nullptr) << result.error;
        EXPECT_EQ(result.request.shortestPostpone, c.shortest) << c.first << " " << c.second;
    }
}

TEST_F(RemindTest, DeadlinesCountFromTheStartTime) {
    const RemindRequestResult result = Read(kHead + "ACTIONCOUNT:3\n" + Item(":NONE", "1", "60") +
                                                Item(":NONE", "2", "0") + Item(":NONE", "3", "-1"),
                                            "");
    ASSERT_EQ(result.error, nullptr) << result.error;
    const std::vector<ActionItem>& actions = result.request.actions;
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_EQ(actions[0].deadline, kStart + 60000000);
    EXPECT_EQ(actions[1].deadline, kStart);
    EXPECT_EQ(actions[2].deadline, kStart + int64_t{4294967295} * 1000000);
}

TEST_F(RemindTest, ReadsEveryFieldInOrderWithNormalizedItemTexts) {
    const std::string fields =
        "AUTOTIME:120\nREMINDTIME:1800\nTITLE:5\nT1\rT2ACTIONCOUNT:1\nACTIONITEM:SHUTDOWN\n"
        "ACTIONID:42\nACTIONPOSTPONE:3600\nACTIONITEMMSG:3\na\rbACTIONITEMBODY:"
        "3\nc\ndACTIONITEMTITLE:"
        "4\r\ne\r\rf\nXLATEPATH:6\nde.txtIMAGEPATH:7\npic.ico";
    const RemindRequestResult result = Read(fields, ":XLATE:AUTO");
    ASSERT_EQ(result.error, nullptr) << result.error;
    const RemindRequest& request = result.request;
    EXPECT_TRUE(TranslateFlag);
    EXPECT_EQ(request.autoTime, 120);
    EXPECT_EQ(request.remindTime, 1800);
    EXPECT_STREQ(request.title.get(), "T1\rT2");  // the dialog normalizes its own title
    EXPECT_EQ(request.shortestPostpone, 3600u);
    ASSERT_EQ(request.actions.size(), 1u);
    const ActionItem& item = request.actions[0];
    EXPECT_EQ(item.id, 42);
    EXPECT_EQ(item.kind, ActionKind::kShutdown);
    EXPECT_EQ(item.message, "a\r\nb");
    EXPECT_EQ(item.body, "c\r\nd");
    EXPECT_EQ(item.title, "e\r\n\r\nf");
    EXPECT_EQ(item.deadline, kStart + int64_t{3600} * 1000000);
    EXPECT_STREQ(request.translationPath.get(), "de.txt");
    EXPECT_STREQ(request.imagePath.get(), "pic.ico");
}

TEST_F(RemindTest, TheImagePathIsOptional) {
    for (const char* tail : {"", "\n", "IMAGEPATH:0\n", "ACTIONITEM:NONE\n"}) {
        const RemindRequestResult result = Read(kOneItem + tail, "");
        EXPECT_EQ(result.error, nullptr) << tail;
        EXPECT_EQ(result.request.imagePath, nullptr) << tail;
        EXPECT_EQ(result.request.actions.size(), 1u) << tail;
    }
}

}  // namespace
