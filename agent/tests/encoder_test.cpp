// The C++ kit writes the same bytes as the golden fixtures the Python kit reads too, and refuses
// by name what the product would reject or mangle.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "kit/request_encoder.h"
#include "kit/request_json.h"
#include "requests.h"

namespace {

namespace fs = std::filesystem;
using namespace zemkit;

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Each model beside its bytes: fixtures/NAME.json with NAME.req, examples/NAME.json with
// NAME.txt.
TEST(Encoder, WritesTheGoldenBytesOfEveryFixtureAndExample) {
    int compared = 0;
    for (const auto& [directory, extension] :
         {std::pair{ZEM_KIT_FIXTURES, ".req"}, std::pair{ZEM_EXAMPLES, ".txt"}}) {
        for (const auto& entry : fs::directory_iterator(directory)) {
            if (entry.path().extension() != ".json") continue;
            fs::path bytesPath = entry.path();
            bytesPath.replace_extension(extension);
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(Encode(RequestFromJsonText(ReadFile(entry.path()))), ReadFile(bytesPath));
            ++compared;
        }
    }
    EXPECT_GE(compared, 10);
}

ActionUi ValidActionUi() {
    ActionUi request;
    request.title = "t";
    request.message = "m";
    request.buttonText = "b";
    return request;
}

Remind ValidRemind() {
    Remind request;
    request.title = "t";
    request.remindSeconds = 60;
    request.actions.push_back(Action{1, ActionKind::kRestart, 0, "m", "b", "t"});
    return request;
}

struct RefusalRow {
    const char* expectedField;
    std::function<Request()> make;
};

TEST(Encoder, RefusesByNameWhatTheProductWouldRejectOrMangle) {
    const RefusalRow rows[] = {
        {"title", [] { return ProgressOf("", "m"); }},
        {"message", [] { return ProgressOf("t", std::string("a\0b", 3)); }},
        {"message", [] { return ProgressOf("t", "a\x1A"); }},
        {"message", [] { return ProgressOf("t", "lone\rcr"); }},
        {"title", [] { return ProgressOf("\xC3(", "m"); }},
        {"title", [] { return ProgressOf("\xED\xA0\x80", "m"); }},  // an encoded surrogate
        {"translation_path",
         [] { return ProgressOf("t", "m", FilePath::Ascii("C:\\\xC3\xA9.txt")); }},
        {"image_path", [] { return ProgressOf("t", "m", {}, FilePath::Ascii("")); }},
        {"auto_seconds",
         [] {
             ActionUi r = ValidActionUi();
             r.autoSeconds = 0;
             r.autoMessage = "a";
             return r;
         }},
        {"auto_message",
         [] {
             ActionUi r = ValidActionUi();
             r.autoSeconds = 5;
             return r;
         }},
        {"auto_seconds",
         [] {
             ActionUi r = ValidActionUi();
             r.autoMessage = "a";
             return r;
         }},
        {"max_remind_seconds",
         [] {
             ActionUi r = ValidActionUi();
             r.remindSeconds = 60;
             return r;
         }},
        {"remind_seconds",
         [] {
             ActionUi r = ValidActionUi();
             r.remindSeconds = 2147483648LL;
             r.maxRemindSeconds = 60;
             return r;
         }},
        {"preview_text",
         [] {
             ActionUi r = ValidActionUi();
             r.previewText = "";
             return r;
         }},
        {"button_text",
         [] {
             ActionUi r = ValidActionUi();
             r.buttonText.clear();
             return r;
         }},
        {"auto_seconds",
         [] {
             Remind r = ValidRemind();
             r.autoSeconds = 0;
             return r;
         }},
        {"auto_seconds",
         [] {
             Remind r = ValidRemind();
             r.autoTakeAction = true;
             return r;
         }},
        {"actions",
         [] {
             Remind r = ValidRemind();
             r.actions.clear();
             return r;
         }},
        {"actions[1].id",
         [] {
             Remind r = ValidRemind();
             r.actions.push_back(r.actions[0]);
             r.actions[1].id = 0;
             return r;
         }},
        {"actions[0].postpone_seconds",
         [] {
             Remind r = ValidRemind();
             r.actions[0].postponeSeconds = -2147483649LL;
             return r;
         }},
        {"actions[0].body",
         [] {
             Remind r = ValidRemind();
             r.actions[0].body = "";
             return r;
         }},
    };
    for (const RefusalRow& row : rows) {
        SCOPED_TRACE(row.expectedField);
        try {
            Encode(row.make());
            ADD_FAILURE() << "encoded";
        } catch (const EncodeError& error) {
            EXPECT_EQ(error.field(), row.expectedField) << error.what();
        }
    }
}

TEST(Encoder, AcceptsTheBoundaryValuesAndFoldsCrLf) {
    Remind remind = ValidRemind();
    remind.autoSeconds = -1;  // the reader refuses only 0
    remind.remindSeconds = 2147483647;
    remind.actions[0].postponeSeconds = -2147483648LL;
    EXPECT_NE(Encode(remind).find("AUTOTIME:-1\nREMINDTIME:2147483647\n"), std::string::npos);

    ActionUi actionUi = ValidActionUi();
    actionUi.autoSeconds = 1;
    actionUi.autoMessage = "a\r\nb";
    EXPECT_NE(Encode(actionUi).find("AUTOMESSAGE:3\na\nb\n"), std::string::npos);

    const Progress encoded = ProgressOf("t", "m", FilePath::Encoded("C:\\\xE9.txt"));
    EXPECT_NE(Encode(encoded).find("XLATEPATH:8\nC:\\\xE9.txt\n"), std::string::npos);
}

TEST(RequestJson, NamesTheMemberThatCannotBeRead) {
    const std::pair<const char*, const char*> rows[] = {
        {R"({"command": "PROGRESS", "title": "t", "message": "m", "tilte": "x"})", "tilte"},
        {R"({"command": "PROGRESS", "title": 5, "message": "m"})", "title"},
        {R"({"command": "ACTIONUI", "title": "t", "message": "m"})", "button_text"},
        {R"({"command": "REMIND", "title": "t", "remind_seconds": 1.5, "actions": []})",
         "remind_seconds"},
        {R"({"command": "REMIND", "title": "t", "remind_seconds": 1, "actions": [{"id": 1,
            "kind": "REBOOT", "postpone_seconds": 0, "message": "m", "body": "b",
            "title": "t"}]})",
         "actions[0].kind"},
        {R"({"command": "STATUS"})", "command"},
    };
    for (const auto& [json, field] : rows) {
        try {
            RequestFromJsonText(json);
            ADD_FAILURE() << json;
        } catch (const EncodeError& error) {
            EXPECT_EQ(error.field(), field) << error.what();
        }
    }
    EXPECT_THROW(RequestFromJsonText(R"({"command": "PROGRESS",)"), JsonError);
}

}  // namespace
