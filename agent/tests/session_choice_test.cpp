// The session a prompt goes to: the case the system's own list cannot show under Wine.

#include "kit/session_choice.h"

#include <gtest/gtest.h>

namespace {

using namespace zemkit;
using State = SessionState;

const std::vector<SessionInfo> kDesk = {
    {0, State::kOther, "Services", "", "", false},
    {1, State::kActive, "Console", "alice", "CORP", false},
    {2, State::kActive, "RDP-Tcp#4", "bob", "CORP", true},
    {3, State::kDisconnected, "RDP-Tcp#5", "carol", "CORP", false},
    {4, State::kActive, "RDP-Tcp#6", "alice", "CORP", false},
    {5, State::kConnected, "RDP-Tcp#7", "", "", false},
};

TEST(SessionChoice, PicksTheActiveSessionTheSelectorNamesOrSaysWhyNone) {
    struct Row {
        const char* selector;
        std::vector<SessionInfo> sessions;
        std::optional<uint32_t> chosen;
        const char* note;  // a part of the note
    };
    const std::vector<SessionInfo> locked = {{1, State::kActive, "Console", "alice", "", true}};
    const std::vector<SessionInfo> nobody = {{1, State::kConnected, "Console", "", "", false}};
    const std::vector<SessionInfo> away = {
        {1, State::kDisconnected, "Console", "alice", "", false}};
    const Row rows[] = {
        {"console", kDesk, 1, ""},
        {"user:bob", kDesk, 2, "locked"},
        {"user:CORP\\Alice", kDesk, 1, ""},  // the console among her two
        {"user:OTHER\\alice", kDesk, std::nullopt, "not there"},
        {"user:carol", kDesk, std::nullopt, "disconnected"},
        {"4", kDesk, 4, ""},
        {"5", kDesk, std::nullopt, "nobody signed in"},
        {"9", kDesk, std::nullopt, "session 9 is not there"},
        {"user:x", {{8, State::kActive, "Console", "x", "", false}}, 8, ""},
        {"console", locked, 1, "locked"},
        {"console", nobody, std::nullopt, "nobody signed in"},
        {"console", away, std::nullopt, "disconnected"},
        {"console", {}, std::nullopt, "the console session is not there"},
        {"user:alice",
         {{7, State::kActive, "RDP-Tcp#1", "alice", "", false},
          {6, State::kActive, "RDP-Tcp#2", "alice", "", false}},
         6,
         "several active sessions"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selector);
        const auto selector = ParseSessionSelector(row.selector);
        ASSERT_TRUE(selector);
        const SessionChoice choice = ChooseSession(row.sessions, *selector);
        EXPECT_EQ(choice.sessionId, row.chosen);
        if (*row.note == '\0') {
            EXPECT_EQ(choice.note, "");
        } else {
            EXPECT_NE(choice.note.find(row.note), std::string::npos) << choice.note;
        }
    }
}

TEST(SessionChoice, ReadsEachFormOfSelector) {
    EXPECT_EQ(ParseSessionSelector("123456789")->id, 123456789u);
    EXPECT_EQ(ParseSessionSelector("user:x")->user, "x");
}

TEST(SessionChoice, RefusesASelectorOfNoKnownForm) {
    for (const char* text : {"", "user:", "Console", "-1", "1x", "4294967296"}) {
        EXPECT_FALSE(ParseSessionSelector(text)) << text;
    }
}

}  // namespace
