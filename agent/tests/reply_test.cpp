#include "kit/reply.h"

#include <gtest/gtest.h>

namespace {

using namespace zemkit;

TEST(Reply, ParsesEveryReplyOfTheProtocol) {
    struct Row {
        const char* line;
        const char* kind;
        std::optional<int64_t> seconds;
        std::optional<int64_t> actionId;
        std::optional<std::string> error;
    };
    const Row rows[] = {
        {"OK\n", "OK", {}, {}, {}},
        {"OKAUTO\n", "OKAUTO", {}, {}, {}},
        {"CANCEL\n", "CANCEL", {}, {}, {}},
        {"CLOSED\r\n", "CLOSED", {}, {}, {}},
        {"RUNALL", "RUNALL", {}, {}, {}},
        {"REMIND:3600\n", "REMIND", 3600, {}, {}},
        {"REMINDAUTO:0\n", "REMINDAUTO", 0, {}, {}},
        {"RUNACTION:17\n", "RUNACTION", {}, 17, {}},
        {"CANCELACTION:-2147483648\n", "CANCELACTION", {}, -2147483648LL, {}},
        {"Error: Bad title\n", "ERROR", {}, {}, "Error: Bad title"},
        {"bad1\n", "ERROR", {}, {}, "bad1"},
        {"REMIND\n", "UNKNOWN", {}, {}, "REMIND"},
        {"OK:1\n", "UNKNOWN", {}, {}, "OK:1"},
        {"RUNACTION:x\n", "UNKNOWN", {}, {}, "RUNACTION:x"},
        {"RUNACTION:\n", "UNKNOWN", {}, {}, "RUNACTION:"},
        {"REMIND:999999999999999999\n", "REMIND", 999999999999999999LL, {}, {}},
        {"REMIND:1000000000000000000\n", "UNKNOWN", {}, {}, "REMIND:1000000000000000000"},
        {"xError: Bad title\n", "UNKNOWN", {}, {}, "xError: Bad title"},
        {"", "UNKNOWN", {}, {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const Reply reply = ParseReply(row.line);
        EXPECT_EQ(reply.kind, row.kind);
        EXPECT_EQ(reply.seconds, row.seconds);
        EXPECT_EQ(reply.actionId, row.actionId);
        EXPECT_EQ(reply.error, row.error);
    }
}

TEST(Reply, NormalizesTheErrorExitCodeOfEveryPlatform) {
    EXPECT_EQ(NormalizeExitCode(-1), -1);
    EXPECT_EQ(NormalizeExitCode(0xFFFFFFFF), -1);
    EXPECT_EQ(NormalizeExitCode(255), -1);
    EXPECT_EQ(NormalizeExitCode(0), 0);
    EXPECT_EQ(NormalizeExitCode(254), 254);
}

}  // namespace
