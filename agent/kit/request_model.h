#pragma once

// The three requests an agent sends, as typed values. Texts are UTF-8; numbers are kept wide so
// that a value outside the protocol's signed 32-bit range is refused by name instead of wrapping.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace zemkit {

// A translation or image path. The product opens it with the ANSI file calls, so a path given as
// text must be ASCII; any other path must come as bytes already in the target's ANSI code page.
struct FilePath {
    std::string bytes;
    bool preEncoded = false;

    static FilePath Ascii(std::string text) { return FilePath{std::move(text), false}; }
    static FilePath Encoded(std::string ansiBytes) { return FilePath{std::move(ansiBytes), true}; }
};

struct Progress {
    std::string title;
    std::string message;
    bool taskbar = false;
    std::optional<FilePath> translationPath;
    std::optional<FilePath> imagePath;
};

struct ActionUi {
    std::string title;
    std::string message;
    std::string buttonText;
    bool cancel = false;
    std::optional<std::string> previewText;  // offers "Preview Action..."
    std::optional<int64_t> remindSeconds;    // offers "Remind Again", with the maximum
    std::optional<int64_t> maxRemindSeconds;
    std::optional<int64_t> autoSeconds;  // a countdown to the action, with its message
    std::optional<std::string> autoMessage;
    bool taskbar = false;
    std::optional<FilePath> translationPath;
    std::optional<FilePath> imagePath;
};

enum class ActionKind { kRestart, kShutdown, kNone };

struct Action {
    int64_t id = 0;
    ActionKind kind = ActionKind::kNone;
    int64_t postponeSeconds = 0;
    std::string message;  // shown in the reminder's action panel
    std::string body;     // shown by the preview window
    std::string title;    // the action's name in the panel
    bool preview = false;
    bool cancel = false;
};

struct Remind {
    std::string title;
    std::vector<Action> actions;
    int64_t remindSeconds = 0;
    std::optional<int64_t> autoSeconds;
    bool autoTakeAction = false;  // the countdown takes every action instead of reminding
    bool taskbar = false;
    std::optional<FilePath> translationPath;
    std::optional<FilePath> imagePath;
};

using Request = std::variant<Progress, ActionUi, Remind>;

// The caller asked for a request the product would reject or show mangled. `field` names the
// offending field as the model does ("title", "actions[1].body").
class EncodeError : public std::invalid_argument {
  public:
    EncodeError(std::string field, const std::string& why)
        : std::invalid_argument(field + ": " + why), field_(std::move(field)) {}
    const std::string& field() const { return field_; }

  private:
    std::string field_;
};

}  // namespace zemkit
