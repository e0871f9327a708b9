#include "protocol/remind_request.h"

#include <cstring>
#include <string>

#include "protocol/field_reader.h"
#include "text/line_breaks.h"

namespace {

// ":AUTOTAKEACTION" comes first, or ":AUTO" would take its first five characters.
enum RemindFlag { kAutoTakeAction, kAuto, kXlate, kTaskbar, kRemindFlagCount };
constexpr const char* kRemindFlags[kRemindFlagCount] = {":AUTOTAKEACTION", ":AUTO", ":XLATE",
                                                        ":TASKBAR"};

enum ItemOption { kItemPreview, kItemCancel, kItemOptionCount };
constexpr const char* kItemOptions[kItemOptionCount] = {":PREVIEW", ":CANCEL"};

struct KindToken {
    const char* token;
    ActionKind kind;
};
constexpr KindToken kKindTokens[] = {{":RESTART", ActionKind::kRestart},
                                     {":SHUTDOWN", ActionKind::kShutdown},
                                     {":NONE", ActionKind::kNone}};

constexpr char kItemKey[] = "ACTIONITEM";
constexpr int32_t kDefaultRemindSeconds = 3600;

constexpr const char kBadRemindTime[] = "Error: Bad remind time error";
constexpr const char kBadActionItem[] = "Error: Bad action item";

// The "ACTIONITEM" line: one kind, then any number of ":PREVIEW" and ":CANCEL".
bool ParseItemLine(const char* line, ActionItem& item) {
    const size_t keyLength = std::strlen(kItemKey);
    if (std::strncmp(line, kItemKey, keyLength) != 0) return false;
    const char* rest = line + keyLength;
    for (const KindToken& kind : kKindTokens) {
        const size_t length = std::strlen(kind.token);
        if (std::strncmp(rest, kind.token, length) != 0) continue;
        bool options[kItemOptionCount] = {};
        if (!ParseFlags(rest + length, kItemOptions, kItemOptionCount, options)) return false;
        item.kind = kind.kind;
        item.previewAvailable = options[kItemPreview];
        item.cancelAllowed = options[kItemCancel];
        return true;
    }
    return false;
}

// One item's three texts, each stored with CR LF line breaks.
const char* ReadItemTexts(FieldReader& reader, ActionItem& item) {
    ByteText text;
    const struct {
        const TextField& field;
        std::string& normalized;
    } texts[] = {
        {kActionMessageField, item.message},
        {kActionBodyField, item.body},
        {kActionTitleField, item.title},
    };
    for (const auto& entry : texts) {
        if (const char* error = reader.ReadText(entry.field, text)) return error;
        NormalizeLineBreaks(text.get(), entry.normalized);
    }
    return nullptr;
}

const char* ReadActionItem(FieldReader& reader, Timestamp startTime, RemindRequest& request) {
    ActionItem item;
    if (!reader.NextLine() || !ParseItemLine(reader.line(), item)) return kBadActionItem;
    if (!reader.NextLine() || !reader.Scan("ACTIONID", item.id) || item.id == 0) {
        return "Error: Bad action id";
    }
    int32_t postpone = 0;
    if (!reader.NextLine() || !reader.Scan("ACTIONPOSTPONE", postpone)) {
        return "Error: Bad action postpone";
    }
    // A negative postponement reads as a very long one: it never shortens the remind list.
    const uint32_t postponeSeconds = static_cast<uint32_t>(postpone);
    if (postponeSeconds < request.shortestPostpone) request.shortestPostpone = postponeSeconds;
    if (const char* error = ReadItemTexts(reader, item)) return error;
    item.deadline = startTime + static_cast<int64_t>(postponeSeconds) * kMicrosecondsPerSecond;
    request.actions.push_back(std::move(item));
    return nullptr;
}

// The first field line is already read: the auto time with the auto flag, else the remind time.
const char* ReadHeaderFields(FieldReader& reader, RemindRequest& request) {
    if (request.autoRequested) {
        if (!reader.Scan("AUTOTIME", request.autoTime) || request.autoTime == 0) {
            return "Error: Bad auto time error";
        }
        if (!reader.NextLine()) return kBadRemindTime;
    }
    if (!reader.Scan("REMINDTIME", request.remindTime)) return kBadRemindTime;
    if (request.remindTime == 0) request.remindTime = kDefaultRemindSeconds;
    return reader.ReadText(kTitleField, request.title);
}

const char* ReadActions(FieldReader& reader, Timestamp startTime, RemindRequest& request) {
    int32_t count = 0;
    if (!reader.NextLine() || !reader.Scan("ACTIONCOUNT", count) || count == 0) {
        return "Error: Bad action count";
    }
    // A negative count reads as a huge one; the items are only stored as they arrive, so such a
    // request ends at its first missing item instead of reserving room for billions.
    const uint32_t actionCount = static_cast<uint32_t>(count);
    for (uint32_t read = 0; read < actionCount; ++read) {
        if (const char* error = ReadActionItem(reader, startTime, request)) return error;
    }
    return nullptr;
}

const char* ReadFields(FieldReader& reader, Timestamp startTime, RemindRequest& request) {
    if (!reader.NextLine()) return "bad1";
    if (const char* error = ReadHeaderFields(reader, request)) return error;
    if (const char* error = ReadActions(reader, startTime, request)) return error;
    if (TranslateFlag) {
        if (const char* error = reader.ReadTranslationPath(request.translationPath)) return error;
    }
    return reader.ReadOptionalImagePath(request.imagePath);
}

}  // namespace

RemindRequestResult ReadRemindRequest(platform::RequestInput& input, const char* flagText,
                                      Timestamp startTime) {
    RemindRequestResult result;
    RemindRequest& request = result.request;
    bool flags[kRemindFlagCount] = {};
    if (!ParseFlags(flagText, kRemindFlags, kRemindFlagCount, flags)) {
        result.error = "Error: Bad command";
        return result;
    }
    if (flags[kXlate]) TranslateFlag = true;
    request.autoRequested = flags[kAuto] || flags[kAutoTakeAction];
    request.autoTakeAll = flags[kAutoTakeAction];
    request.taskbar = flags[kTaskbar];

    FieldReader reader(input);
    result.error = ReadFields(reader, startTime, request);
    return result;
}
