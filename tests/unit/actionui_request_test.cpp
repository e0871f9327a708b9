#include "protocol/actionui_request.h"

#include <gtest/gtest.h>

#include <string>

#include "support/request_file.h"

namespace {

struct ActionUiCase {
    const char* flags;
    std::string fields;
    const char* error;
};

void PrintTo(const ActionUiCase& c, std::ostream* out) {
    *out << c.flags << " -> " << (c.error != nullptr ? c.error : "no error");
}

class ActionUiTest : public ::testing::Test {
  protected:
    void SetUp() override { TranslateFlag = false; }
    void TearDown() override { TranslateFlag = false; }

    ActionUiRequestResult Read(const std::string& fields, const char* flags) {
        RequestFile file(fields);
        return ReadActionUiRequest(file.input(), flags);
    }
};

class ActionUiErrors : public ::testing::WithParamInterface<ActionUiCase>, public ActionUiTest {};

TEST_P(ActionUiErrors, EachFieldFailsWithItsOwnReply) {
    const ActionUiCase& c = GetParam();
    EXPECT_STREQ(Read(c.fields, c.flags).error, c.error) << c.fields;
}

// The texts every case shares up to the field that is broken.
const std::string kAuto = "AUTOTIME:30\nAUTOMESSAGE:2\nam\n";
const std::string kRemind = "REMINDTIME:60\nMAXREMINDTIME:600\n";
const std::string kButton = "BUTTONTEXT:2\nGo";
const std::string kTexts = kButton + "TITLE:1\nT\nMESSAGE:1\nM";

INSTANTIATE_TEST_SUITE_P(
    Flags, ActionUiErrors,
    ::testing::Values(ActionUiCase{":AUTOTAKEACTION", kAuto + kTexts, "Error: Bad command"},
                      ActionUiCase{" :CANCEL", kTexts, "Error: Bad command"},
                      ActionUiCase{":CANCEL:", kTexts, "Error: Bad command"},
                      ActionUiCase{":ACTIONPREVIEW", kTexts, "Error: Bad command"}));

// A missing first line names the first field the flags ask for, never the button text.
INSTANTIATE_TEST_SUITE_P(
    MissingFirstLine, ActionUiErrors,
    ::testing::Values(ActionUiCase{"", "", "Error: Bad title"},
                      ActionUiCase{":CANCEL:PREVIEW", "\n\nx\n", "Error: Bad title"},
                      ActionUiCase{":AUTO", "", "Error: Bad auto time error"},
                      ActionUiCase{":REMIND", "", "Error: Bad remind time error"},
                      ActionUiCase{":REMIND:AUTO", "", "Error: Bad auto time error"}));

INSTANTIATE_TEST_SUITE_P(
    AutoFields, ActionUiErrors,
    ::testing::Values(
        ActionUiCase{":AUTO", "AUTOTIME:0\n" + kTexts, "Error: Bad auto time error"},
        ActionUiCase{":AUTO", "AUTOTIME:-30\n" + kTexts, "Error: Bad auto time error"},
        ActionUiCase{":AUTO", "AUTOTIME:1\nAUTOMESSAGE:2\nam\n" + kTexts, nullptr},  // the least
        ActionUiCase{":AUTO", "AUTOTIME:x\n" + kTexts, "Error: Bad auto time error"},
        ActionUiCase{":AUTO", kTexts, "Error: Bad auto time error"},
        ActionUiCase{":AUTO:REMIND", kRemind + kAuto + kTexts, "Error: Bad auto time error"},
        ActionUiCase{":AUTO:REMIND", "AUTOTIME:30\n", "Error: Bad title"},
        ActionUiCase{":AUTO", "AUTOTIME:30\nAUTOMESSAGE:0\n" + kTexts,
                     "Error: Bad auto message error"},
        ActionUiCase{":AUTO", "AUTOTIME:30\n" + kTexts, "Error: Bad auto message error"},
        ActionUiCase{":AUTO", "AUTOTIME:30\nAUTOMESSAGE:9\nshort",
                     "Error: failed reading autoMessage"},
        ActionUiCase{":AUTO", kAuto, "Error: Bad title"},
        ActionUiCase{":AUTO:REMIND", kAuto, "Error: Bad remind time error"}));

INSTANTIATE_TEST_SUITE_P(
    RemindFields, ActionUiErrors,
    ::testing::Values(
        ActionUiCase{":REMIND", "REMINDTIME:x\n" + kTexts, "Error: Bad remind time error"},
        ActionUiCase{":REMIND", "MAXREMINDTIME:60\n" + kTexts, "Error: Bad remind time error"},
        ActionUiCase{":REMIND", "REMINDTIME:60\n", "Error: Bad max remind time error"},
        ActionUiCase{":REMIND", "REMINDTIME:60\n" + kTexts, "Error: Bad max remind time error"},
        ActionUiCase{":REMIND", "REMINDTIME:60\nMAXREMINDTIME:\n",
                     "Error: Bad max remind time error"},
        ActionUiCase{":REMIND", kRemind, "Error: Bad title"}));

INSTANTIATE_TEST_SUITE_P(
    TextFields, ActionUiErrors,
    ::testing::Values(
        ActionUiCase{"", "BUTTONTEXT:0\n", "Error: Bad button text"},
        ActionUiCase{"", "TITLE:1\nT\nMESSAGE:1\nM", "Error: Bad button text"},
        ActionUiCase{"", "BUTTONTEXT:8\nGo", "Error: failed reading button text"},
        ActionUiCase{"", kButton, "Error: Bad title"},
        ActionUiCase{"", kButton + "TITLE:0\n", "Error: Bad title"},
        ActionUiCase{"", kButton + "MESSAGE:1\nM", "Error: Bad title"},
        ActionUiCase{"", kButton + "TITLE:4\nab", "Error: failed reading title"},
        ActionUiCase{"", kButton + "TITLE:1\nT", "Error: Bad message"},
        ActionUiCase{"", kButton + "TITLE:1\nTMESSAGE:0\n", "Error: Bad message"},
        ActionUiCase{"", kButton + "TITLE:1\nTMESSAGE:3\nM", "Error: failed reading message"},
        ActionUiCase{":PREVIEW", kTexts, "Error: Bad preview"},
        ActionUiCase{":PREVIEW", kTexts + "ACTIONPREVIEW:0\n", "Error: Bad preview"},
        ActionUiCase{":PREVIEW", kTexts + "IMAGEPATH:1\nx", "Error: Bad preview"},
        ActionUiCase{":PREVIEW", kTexts + "ACTIONPREVIEW:5\nab", "Error: failed reading preview"}));

INSTANTIATE_TEST_SUITE_P(
    Paths, ActionUiErrors,
    ::testing::Values(ActionUiCase{":XLATE", kTexts, "Error: missing xlatepath"},
                      ActionUiCase{":XLATE", kTexts + "XLATEPATH:0\n", "Error: missing xlatepath"},
                      ActionUiCase{":XLATE", kTexts + "IMAGEPATH:1\nx", "Error: missing xlatepath"},
                      ActionUiCase{":XLATE", kTexts + "XLATEPATH:9\nfr",
                                   "Error: failed reading translation file path"},
                      ActionUiCase{"", kTexts + "IMAGEPATH:9\nC:\\",
                                   "Error: failed reading image file path"}));

struct RemindClampCase {
    int remindTime;
    int maxRemindTime;
    int expectedRemind;
    int expectedMax;
};

TEST_F(ActionUiTest, RemindTimesTakeTheirDefaultsThenTheMaximum) {
    const RemindClampCase cases[] = {
        {0, 0, 3600, 3600},
        {7200, 600, 600, 600},
        {-5, 1800, 1800, 1800},
        {300, -1, 300, 3600},
        {1800, 3600, 1800, 3600},
        {7200, 0, 3600, 3600},
        {432001, 500000, 432001, 500000},
        {1, 1, 1, 1},  // the least of each is kept
        {1, 3600, 1, 3600},
        {3600, 1, 1, 1},
    };
    for (const RemindClampCase& c : cases) {
        const std::string fields = "REMINDTIME:" + std::to_string(c.remindTime) +
                                   "\nMAXREMINDTIME:" + std::to_string(c.maxRemindTime) + "\n" +
                                   kTexts;
        const ActionUiRequestResult result = Read(fields, ":REMIND");
        ASSERT_EQ(result.error, nullptr) << result.error;
        EXPECT_EQ(result.request.remindTime, c.expectedRemind) << fields;
        EXPECT_EQ(result.request.maxRemindTime, c.expectedMax) << fields;
    }
}

TEST_F(ActionUiTest, ReadsEveryFieldInItsFixedOrder) {
    const std::string fields =
        "AUTOTIME: 45 seconds\nAUTOMESSAGE:4\nauto\nREMINDTIME:+900\n"
        "MAXREMINDTIME:1800\nBUTTONTEXT:7\nInstallTITLE:5\nab\ncd\n"
        "MESSAGE:3\r\nx\r\ny\nACTIONPREVIEW:7\npreview\nXLATEPATH:6\n"
        "fr.txt\nIMAGEPATH:8\nlogo.ico\n";
    const ActionUiRequestResult result =
        Read(fields, ":TASKBAR:XLATE:AUTO:REMIND:CANCEL:PREVIEW:CANCEL");
    ASSERT_EQ(result.error, nullptr) << result.error;
    const ActionUiRequest& request = result.request;
    EXPECT_TRUE(TranslateFlag);
    EXPECT_TRUE(request.taskbar);
    EXPECT_TRUE(request.autoRequested);
    EXPECT_TRUE(request.remindOffered);
    EXPECT_TRUE(request.cancelAllowed);
    EXPECT_TRUE(request.previewAvailable);
    EXPECT_EQ(request.autoTime, 45);
    EXPECT_STREQ(request.autoMessage.get(), "auto");
    EXPECT_EQ(request.remindTime, 900);
    EXPECT_EQ(request.maxRemindTime, 1800);
    EXPECT_STREQ(request.buttonText.get(), "Install");
    EXPECT_STREQ(request.title.get(), "ab\ncd");
    EXPECT_STREQ(request.message.get(), "x\ny");
    EXPECT_STREQ(request.previewText.get(), "preview");
    EXPECT_STREQ(request.translationPath.get(), "fr.txt");
    EXPECT_STREQ(request.imagePath.get(), "logo.ico");
}

TEST_F(ActionUiTest, WithoutOptionsOnlyTheThreeTextsAreRead) {
    const ActionUiRequestResult result = Read(kTexts, "");
    ASSERT_EQ(result.error, nullptr) << result.error;
    const ActionUiRequest& request = result.request;
    EXPECT_FALSE(TranslateFlag);
    EXPECT_FALSE(request.taskbar || request.autoRequested || request.remindOffered ||
                 request.cancelAllowed || request.previewAvailable);
    EXPECT_EQ(request.autoTime, 0);
    EXPECT_EQ(request.remindTime, 0);
    EXPECT_EQ(request.maxRemindTime, 0);
    EXPECT_EQ(request.autoMessage, nullptr);
    EXPECT_STREQ(request.buttonText.get(), "Go");
    EXPECT_STREQ(request.title.get(), "T");
    EXPECT_STREQ(request.message.get(), "M");
    EXPECT_EQ(request.previewText, nullptr);
    EXPECT_EQ(request.translationPath, nullptr);
}

TEST_F(ActionUiTest, TheImagePathIsOptional) {
    for (const char* tail : {"", "\n", "IMAGEPATH:0\n", "IMAGEPATH:-4\n", "XLATEPATH:4\nx.tx"}) {
        const ActionUiRequestResult result = Read(kTexts + tail, ":CANCEL");
        EXPECT_EQ(result.error, nullptr) << tail;
        EXPECT_EQ(result.request.imagePath, nullptr) << tail;
    }
}

TEST_F(ActionUiTest, AnEarlierXlateFlagAsksForThePath) {
    TranslateFlag = true;
    EXPECT_STREQ(Read(kTexts, "").error, "Error: missing xlatepath");
}

}  // namespace
