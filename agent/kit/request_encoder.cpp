#include "kit/request_encoder.h"

#include "kit/request_writer.h"

namespace zemkit {

namespace {

// Both halves of a pair or neither: names the missing one.
template <typename First, typename Second>
void RequirePair(const std::optional<First>& first, const char* firstName,
                 const std::optional<Second>& second, const char* secondName) {
    if (first && !second)
        throw EncodeError(secondName, std::string("is required with ") + firstName);
    if (second && !first)
        throw EncodeError(firstName, std::string("is required with ") + secondName);
}

void WriteTail(RequestWriter& writer, const std::optional<FilePath>& translationPath,
               const std::optional<FilePath>& imagePath) {
    if (translationPath) writer.Path("XLATEPATH", *translationPath, "translation_path");
    if (imagePath) writer.Path("IMAGEPATH", *imagePath, "image_path");
}

std::string TailFlags(const std::optional<FilePath>& translationPath, bool taskbar) {
    std::string flags;
    if (translationPath) flags += ":XLATE";
    if (taskbar) flags += ":TASKBAR";
    return flags;
}

const char* KindToken(ActionKind kind) {
    switch (kind) {
        case ActionKind::kRestart:
            return ":RESTART";
        case ActionKind::kShutdown:
            return ":SHUTDOWN";
        case ActionKind::kNone:
            break;
    }
    return ":NONE";
}

void WriteAction(RequestWriter& writer, const Action& action, size_t index) {
    const std::string name = "actions[" + std::to_string(index) + "].";
    if (action.id == 0) throw EncodeError(name + "id", "must not be 0");
    std::string itemLine = std::string("ACTIONITEM") + KindToken(action.kind);
    if (action.preview) itemLine += ":PREVIEW";
    if (action.cancel) itemLine += ":CANCEL";
    writer.Line(itemLine);
    writer.Number("ACTIONID", action.id, name + "id");
    writer.Number("ACTIONPOSTPONE", action.postponeSeconds, name + "postpone_seconds");
    writer.Text("ACTIONITEMMSG", action.message, name + "message");
    writer.Text("ACTIONITEMBODY", action.body, name + "body");
    writer.Text("ACTIONITEMTITLE", action.title, name + "title");
}

}  // namespace

std::string Encode(const Progress& request) {
    RequestWriter writer("PROGRESS" + TailFlags(request.translationPath, request.taskbar));
    writer.Text("TITLE", request.title, "title");
    writer.Text("MESSAGE", request.message, "message");
    WriteTail(writer, request.translationPath, request.imagePath);
    return writer.Finish();
}

std::string Encode(const ActionUi& request) {
    RequirePair(request.autoSeconds, "auto_seconds", request.autoMessage, "auto_message");
    RequirePair(request.remindSeconds, "remind_seconds", request.maxRemindSeconds,
                "max_remind_seconds");
    if (request.autoSeconds && *request.autoSeconds < 1) {
        throw EncodeError("auto_seconds", "must be at least 1");
    }
    std::string command = "ACTIONUI";
    if (request.previewText) command += ":PREVIEW";
    if (request.cancel) command += ":CANCEL";
    if (request.remindSeconds) command += ":REMIND";
    if (request.autoSeconds) command += ":AUTO";
    RequestWriter writer(command + TailFlags(request.translationPath, request.taskbar));
    if (request.autoSeconds) {
        writer.Number("AUTOTIME", *request.autoSeconds, "auto_seconds");
        writer.Text("AUTOMESSAGE", *request.autoMessage, "auto_message");
    }
    if (request.remindSeconds) {
        writer.Number("REMINDTIME", *request.remindSeconds, "remind_seconds");
        writer.Number("MAXREMINDTIME", *request.maxRemindSeconds, "max_remind_seconds");
    }
    writer.Text("BUTTONTEXT", request.buttonText, "button_text");
    writer.Text("TITLE", request.title, "title");
    writer.Text("MESSAGE", request.message, "message");
    if (request.previewText) writer.Text("ACTIONPREVIEW", *request.previewText, "preview_text");
    WriteTail(writer, request.translationPath, request.imagePath);
    return writer.Finish();
}

std::string Encode(const Remind& request) {
    if (request.autoTakeAction && !request.autoSeconds) {
        throw EncodeError("auto_seconds", "is required with auto_take_action");
    }
    if (request.autoSeconds && *request.autoSeconds == 0) {
        throw EncodeError("auto_seconds", "must not be 0");
    }
    if (request.actions.empty()) throw EncodeError("actions", "must hold at least one action");
    std::string command = "REMIND";
    if (request.autoSeconds) command += request.autoTakeAction ? ":AUTOTAKEACTION" : ":AUTO";
    RequestWriter writer(command + TailFlags(request.translationPath, request.taskbar));
    if (request.autoSeconds) writer.Number("AUTOTIME", *request.autoSeconds, "auto_seconds");
    writer.Number("REMINDTIME", request.remindSeconds, "remind_seconds");
    writer.Text("TITLE", request.title, "title");
    writer.Number("ACTIONCOUNT", static_cast<int64_t>(request.actions.size()), "actions");
    for (size_t i = 0; i < request.actions.size(); ++i) {
        WriteAction(writer, request.actions[i], i);
    }
    WriteTail(writer, request.translationPath, request.imagePath);
    return writer.Finish();
}

std::string Encode(const Request& request) {
    return std::visit([](const auto& typed) { return Encode(typed); }, request);
}

}  // namespace zemkit
