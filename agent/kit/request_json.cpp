#include "kit/request_json.h"

#include <cctype>
#include <limits>
#include <set>

namespace zemkit {

namespace {

using Type = JsonValue::Type;

// Reads the members of one JSON object, each at most once, and refuses any member left unread.
class Members {
  public:
    Members(const JsonValue& object, std::string prefix) : prefix_(std::move(prefix)) {
        if (object.type != Type::kObject) throw EncodeError(Name(""), "must be a JSON object");
        object_ = &object;
    }

    const JsonValue* Find(const std::string& key, Type type) {
        read_.insert(key);
        const auto it = object_->members.find(key);
        if (it == object_->members.end() || it->second.type == Type::kNull) return nullptr;
        if (it->second.type != type) throw EncodeError(Name(key), "has the wrong JSON type");
        return &it->second;
    }

    std::string Text(const std::string& key) {
        const JsonValue* value = Find(key, Type::kString);
        if (value == nullptr) throw EncodeError(Name(key), "is required");
        return value->text;
    }
    std::optional<std::string> OptionalText(const std::string& key) {
        const JsonValue* value = Find(key, Type::kString);
        return value ? std::optional<std::string>(value->text) : std::nullopt;
    }
    std::optional<FilePath> OptionalPath(const std::string& key) {
        const std::optional<std::string> text = OptionalText(key);
        return text ? std::optional<FilePath>(FilePath::Ascii(*text)) : std::nullopt;
    }
    bool Flag(const std::string& key) {
        const JsonValue* value = Find(key, Type::kBool);
        return value != nullptr && value->boolean;
    }
    std::optional<int64_t> OptionalNumber(const std::string& key) {
        const JsonValue* value = Find(key, Type::kNumber);
        if (value == nullptr) return std::nullopt;
        return Integer(value->text, key);
    }
    int64_t Number(const std::string& key) {
        const std::optional<int64_t> value = OptionalNumber(key);
        if (!value) throw EncodeError(Name(key), "is required");
        return *value;
    }

    // Every member must have been read: a misspelt option must not vanish silently.
    void Finish() const {
        for (const auto& member : object_->members) {
            if (read_.count(member.first) == 0) throw EncodeError(Name(member.first), "is unknown");
        }
    }

    std::string Name(const std::string& key) const { return prefix_ + key; }

  private:
    // Integers only; one too large for 64 bits still reads as out of range, by its sign.
    int64_t Integer(const std::string& text, const std::string& key) const {
        const bool negative = text[0] == '-';
        int64_t value = 0;
        for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
                throw EncodeError(Name(key), "must be an integer");
            }
            if (value < std::numeric_limits<int64_t>::max() / 10)
                value = value * 10 + (text[i] - '0');
        }
        return negative ? -value : value;
    }

    const JsonValue* object_ = nullptr;
    std::string prefix_;
    std::set<std::string> read_;
};

ActionKind KindFromWord(const std::string& word, const std::string& field) {
    if (word == "RESTART") return ActionKind::kRestart;
    if (word == "SHUTDOWN") return ActionKind::kShutdown;
    if (word == "NONE") return ActionKind::kNone;
    throw EncodeError(field, "must be \"RESTART\", \"SHUTDOWN\" or \"NONE\"");
}

Action ActionFromJson(const JsonValue& object, size_t index) {
    Members members(object, "actions[" + std::to_string(index) + "].");
    Action action;
    action.id = members.Number("id");
    action.kind = KindFromWord(members.Text("kind"), members.Name("kind"));
    action.postponeSeconds = members.Number("postpone_seconds");
    action.message = members.Text("message");
    action.body = members.Text("body");
    action.title = members.Text("title");
    action.preview = members.Flag("preview");
    action.cancel = members.Flag("cancel");
    members.Finish();
    return action;
}

// The options every request has.
template <typename Request>
void ReadCommonOptions(Members& members, Request& request) {
    request.taskbar = members.Flag("taskbar");
    request.translationPath = members.OptionalPath("translation_path");
    request.imagePath = members.OptionalPath("image_path");
}

Progress ProgressFromJson(Members& members) {
    Progress request;
    request.title = members.Text("title");
    request.message = members.Text("message");
    ReadCommonOptions(members, request);
    return request;
}

ActionUi ActionUiFromJson(Members& members) {
    ActionUi request;
    request.title = members.Text("title");
    request.message = members.Text("message");
    request.buttonText = members.Text("button_text");
    request.cancel = members.Flag("cancel");
    request.previewText = members.OptionalText("preview_text");
    request.remindSeconds = members.OptionalNumber("remind_seconds");
    request.maxRemindSeconds = members.OptionalNumber("max_remind_seconds");
    request.autoSeconds = members.OptionalNumber("auto_seconds");
    request.autoMessage = members.OptionalText("auto_message");
    ReadCommonOptions(members, request);
    return request;
}

Remind RemindFromJson(Members& members) {
    Remind request;
    request.title = members.Text("title");
    const JsonValue* actions = members.Find("actions", Type::kArray);
    if (actions == nullptr) throw EncodeError("actions", "is required");
    for (size_t i = 0; i < actions->items.size(); ++i) {
        request.actions.push_back(ActionFromJson(actions->items[i], i));
    }
    request.remindSeconds = members.Number("remind_seconds");
    request.autoSeconds = members.OptionalNumber("auto_seconds");
    request.autoTakeAction = members.Flag("auto_take_action");
    ReadCommonOptions(members, request);
    return request;
}

}  // namespace

Request RequestFromJson(const JsonValue& description) {
    Members members(description, "");
    const std::string command = members.Text("command");
    Request request;
    if (command == "PROGRESS") {
        request = ProgressFromJson(members);
    } else if (command == "ACTIONUI") {
        request = ActionUiFromJson(members);
    } else if (command == "REMIND") {
        request = RemindFromJson(members);
    } else {
        throw EncodeError("command", "must be \"PROGRESS\", \"ACTIONUI\" or \"REMIND\"");
    }
    members.Finish();
    return request;
}

Request RequestFromJsonText(const std::string& text) {
    return RequestFromJson(ParseJson(text));
}

}  // namespace zemkit
