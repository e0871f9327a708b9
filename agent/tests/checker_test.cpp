// The checker names the field at fault, with its action, and what the product will answer.

#include <gtest/gtest.h>

#include "kit/request_checker.h"
#include "kit/request_encoder.h"
#include "requests.h"

namespace {

using namespace zemkit;

std::string ThreeActions() {
    Remind request;
    request.title = "Pending";
    request.remindSeconds = 3600;
    for (int id = 1; id <= 3; ++id) {
        request.actions.push_back(Action{id, ActionKind::kRestart, 60,
                                         "message " + std::to_string(id),
                                         "the body of action " + std::to_string(id), "title"});
    }
    return Encode(request);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The request as a sender that ends every line with CR LF writes it.
std::string WithCrLfLineEnds(std::string text) {
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.insert(at, "\r");
    }
    return text;
}

struct Row {
    const char* name;
    std::string bytes;
    const char* reply;    // null: accepted
    const char* problem;  // a part of the problem, or of a warning when accepted
};

TEST(Checker, NamesTheFieldAtFaultAndTheReply) {
    const std::string progress = Encode(ProgressOf("Mise \xC3\xA0 jour", "m"));
    const std::string actionUi =
        "UI 1.2\nACTIONUI:REMIND:AUTO\nREMINDTIME:60\nMAXREMINDTIME:60\n"
        "AUTOTIME:5\nAUTOMESSAGE:1\na\n";
    const Row rows[] = {
        {"count one short leaves a skipped line", Replace(progress, "TITLE:12", "TITLE:11"),
         nullptr, "TITLE says 11 bytes, but 12 bytes come before the next key line"},
        {"count one short, CR LF line ends",
         Replace(WithCrLfLineEnds(progress), "TITLE:12", "TITLE:11"), nullptr,
         "TITLE says 11 bytes, but 12 bytes come before the next key line"},
        {"count two short",
         Replace(progress, "TITLE:12\nMise \xC3\xA0 jour", "TITLE:12\nMise \xC3\xA0 jour!!"),
         "Error: Bad message", "TITLE says 12 bytes, but 14"},
        {"body two bytes short",
         Replace(ThreeActions(), "ACTIONITEMBODY:20\nthe body of action 2",
                 "ACTIONITEMBODY:18\nthe body of action 2"),
         "Error: Bad action title",
         "action 2 of 3: ACTIONITEMBODY says 18 bytes, but 20 bytes come before the next key "
         "line; the 2 left over make the product answer `Error: Bad action title`"},
        {"count two long",
         Replace(ThreeActions(), "ACTIONITEMMSG:9\nmessage 3", "ACTIONITEMMSG:11\nmessage 3"),
         "Error: Bad action body",
         "action 3 of 3: ACTIONITEMMSG says 11 bytes, but 9 bytes come "
         "before the next key line; the count takes 2 bytes"},
        {"byte-order mark", "\xEF\xBB\xBF" + progress, "Error: Incompatible version",
         "byte-order mark"},
        {"remind time before auto time", actionUi, "Error: Bad auto time error",
         "holds REMINDTIME where the product expects AUTOTIME"},
        {"CR LF counted twice", "UI 1.2\nPROGRESS\nTITLE:7\na\r\nb\r\nc\nMESSAGE:1\nm\n",
         "Error: Bad message",
         "TITLE says 7 bytes, but 5 bytes come before the next key line "
         "(its CR LF line breaks were counted as two bytes each"},
        {"CR LF counted once", "UI 1.2\nPROGRESS\nTITLE:3\na\r\nb\nMESSAGE:1\nm\nIMAGEPATH:1\nx\n",
         nullptr, "TITLE holds CR LF line breaks"},
        {"waits for the image path", progress, nullptr, "waits for an optional IMAGEPATH line"},
        {"zero auto time",
         Replace(Replace(actionUi, "REMINDTIME:60\nMAXREMINDTIME:60\n", ""), "AUTOTIME:5",
                 "AUTOTIME:0"),
         "Error: Bad auto time error", "\"AUTOTIME:0\": it must be at least 1"},
        {"count past the end", "UI 1.2\nPROGRESS\nTITLE:50\nshort", "Error: failed reading title",
         "TITLE says 50 bytes, but only 5 come before the end of the input"},
        {"ends early", "UI 1.2\nPROGRESS\nTITLE:1\nt\n", "Error: Bad message",
         "the request ends after line 4"},
        {"non-ASCII path", Encode(ProgressOf("t", "m", {}, FilePath::Encoded("\xE9.ico"))), nullptr,
         "IMAGEPATH holds non-ASCII bytes"},
        {"bad command", "UI 1.2\nPROGRESS:CANCEL\n", "Error: Bad command", "is not PROGRESS"},
        {"unknown line", "UI 1.2\nPROGRESS\nHELLO:3\n", "Error: Bad title",
         "\"HELLO:3\" is not the TITLE line the product expects here"},
        {"last count one short",
         Replace(Encode(ProgressOf("t", "m", {}, FilePath::Ascii("a.ico"))), "IMAGEPATH:5",
                 "IMAGEPATH:4"),
         nullptr, "IMAGEPATH says 4 bytes, but 5 bytes come before the next key line"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CheckReport report = CheckRequest(row.bytes);
        EXPECT_EQ(report.ok, row.reply == nullptr);
        EXPECT_EQ(report.reply.value_or("(accepted)"), row.reply ? row.reply : "(accepted)");
        std::string said = report.problem.value_or("");
        for (const std::string& warning : report.warnings) said += "\n" + warning;
        EXPECT_NE(said.find(row.problem), std::string::npos) << said;
    }
}

// Line ends written as CR LF, or no line end at all after a value, are read as the sender meant.
TEST(Checker, RightCountsDrawNoCountWarningWhateverEndsTheirLines) {
    const std::string crLf =
        WithCrLfLineEnds(Encode(ProgressOf("t", "m", {}, FilePath::Ascii("a.ico"))));
    const std::string unbroken = "UI 1.2\nPROGRESS\nTITLE:1\ntMESSAGE:1\nmIMAGEPATH:1\nx";
    for (const std::string& bytes : {crLf, unbroken}) {
        const CheckReport report = CheckRequest(bytes);
        EXPECT_TRUE(report.ok) << bytes;
        EXPECT_EQ(report.warnings, std::vector<std::string>()) << bytes;
    }
}

TEST(Checker, ListsEachFieldWhereTheRawBytesHoldIt) {
    const CheckReport report = CheckRequest(ThreeActions());
    ASSERT_TRUE(report.ok);
    ASSERT_GE(report.fields.size(), 9u);
    const CheckedField& title = report.fields[3];  // UI, REMIND, REMINDTIME, TITLE:7
    EXPECT_EQ(title.key, "TITLE");
    EXPECT_EQ(title.declared, 7);
    EXPECT_EQ(title.line, 4u);
    EXPECT_EQ(title.offset, std::string("UI 1.2\nREMIND\nREMINDTIME:3600\n").size());
    EXPECT_EQ(report.fields[4].taken, 7u);
    EXPECT_EQ(report.fields[4].line, 5u);
    EXPECT_EQ(report.fields[6].key, "ACTIONITEM");
    EXPECT_EQ(report.fields[6].action, 1u);
    EXPECT_EQ(report.fields.back().action, 3u);
}

}  // namespace
