#include "protocol/progress_request.h"

#include <gtest/gtest.h>

#include <string>

#include "support/request_file.h"

namespace {

struct ProgressCase {
    const char* flags;
    std::string fields;
    const char* error;
};

void PrintTo(const ProgressCase& c, std::ostream* out) {
    *out << c.error;
}

class ProgressRequestErrors : public ::testing::TestWithParam<ProgressCase> {
  protected:
    void SetUp() override { TranslateFlag = false; }
    void TearDown() override { TranslateFlag = false; }
};

TEST_P(ProgressRequestErrors, EachFieldFailsWithItsOwnReply) {
    const ProgressCase& c = GetParam();
    RequestFile file(c.fields);
    const ProgressRequestResult result = ReadProgressRequest(file.input(), c.flags);
    EXPECT_STREQ(result.error, c.error) << c.fields;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ProgressRequestErrors,
    ::testing::Values(ProgressCase{":CANCEL", "TITLE:1\nT", "Error: Bad command"},
                      ProgressCase{" :XLATE", "TITLE:1\nT", "Error: Bad command"},
                      ProgressCase{"", "", "Error: Bad title"},
                      ProgressCase{"", "TITLE:0\n", "Error: Bad title"},
                      ProgressCase{"", "MESSAGE:3\nabc", "Error: Bad title"},
                      ProgressCase{"", "TITLE:5\nabc", "Error: failed reading title"},
                      ProgressCase{"", "TITLE:2\nab", "Error: Bad message"},
                      ProgressCase{"", "TITLE:2\nabMESSAGE:0\n", "Error: Bad message"},
                      ProgressCase{"", "TITLE:2\nab\nMESSAGE:4\nxy",
                                   "Error: failed reading message"},
                      ProgressCase{":XLATE", "TITLE:2\nabMESSAGE:1\nm", "Error: missing xlatepath"},
                      ProgressCase{":XLATE", "TITLE:2\nabMESSAGE:1\nm\nXLATEPATH:0\n",
                                   "Error: missing xlatepath"},
                      ProgressCase{":XLATE", "TITLE:2\nabMESSAGE:1\nm\nXLATEPATH:9\nC:\\",
                                   "Error: failed reading translation file path"},
                      ProgressCase{"", "TITLE:2\nabMESSAGE:1\nm\nIMAGEPATH:9\nC:\\",
                                   "Error: failed reading image file path"}));

TEST(ProgressRequest, ReadsEveryFieldInOrder) {
    TranslateFlag = false;
    RequestFile file(
        "TITLE:5\nab\ncd\nMESSAGE:3\r\nx\r\ny\nXLATEPATH:6\nfr.txtIMAGEPATH:8\nlogo.ico\n");
    const ProgressRequestResult result = ReadProgressRequest(file.input(), ":TASKBAR:XLATE");
    TranslateFlag = false;
    ASSERT_EQ(result.error, nullptr) << result.error;
    EXPECT_TRUE(result.request.taskbar);
    EXPECT_STREQ(result.request.title.get(), "ab\ncd");
    EXPECT_STREQ(result.request.message.get(), "x\ny");
    EXPECT_STREQ(result.request.translationPath.get(), "fr.txt");
    EXPECT_STREQ(result.request.imagePath.get(), "logo.ico");
}

TEST(ProgressRequest, TheImagePathIsOptional) {
    TranslateFlag = false;
    for (const char* tail : {"", "\n", "IMAGEPATH:0\n", "SOMETHING:4\nelse"}) {
        RequestFile file(std::string("TITLE:1\nTMESSAGE:1\nM") + tail);
        const ProgressRequestResult result = ReadProgressRequest(file.input(), "");
        EXPECT_EQ(result.error, nullptr) << tail;
        EXPECT_EQ(result.request.imagePath, nullptr) << tail;
        EXPECT_FALSE(result.request.taskbar);
    }
}

}  // namespace
