#include "protocol/actionui_request.h"

#include "protocol/field_reader.h"

namespace {

enum ActionUiFlag { kPreview, kCancel, kRemind, kAuto, kXlate, kTaskbar, kActionUiFlagCount };
constexpr const char* kActionUiFlags[kActionUiFlagCount] = {":PREVIEW", ":CANCEL", ":REMIND",
                                                            ":AUTO",    ":XLATE",  ":TASKBAR"};

constexpr int32_t kDefaultRemindSeconds = 3600;

constexpr const char kBadAutoTime[] = "Error: Bad auto time error";
constexpr const char kBadRemindTime[] = "Error: Bad remind time error";
constexpr const char kBadMaxRemindTime[] = "Error: Bad max remind time error";
constexpr const char* kBadTitle = kTitleField.bad;

// A missing line after the countdown fields names the remind time when it comes next, else the
// title: the button text is never named for a missing line.
const char* MissingAfterAuto(const ActionUiRequest& request) {
    return request.remindOffered ? kBadRemindTime : kBadTitle;
}

// The first field line is already read. On success the line after the countdown fields is.
const char* ReadAutoFields(FieldReader& reader, ActionUiRequest& request) {
    if (!reader.Scan("AUTOTIME", request.autoTime) || request.autoTime < 1) return kBadAutoTime;
    if (!reader.NextLine()) return kBadTitle;  // the reply agents know here, not the auto message's
    if (const char* error = reader.ReadTextAtLine(kAutoMessageField, request.autoMessage)) {
        return error;
    }
    if (!reader.NextLine()) return MissingAfterAuto(request);
    return nullptr;
}

// The current line holds the remind time. On success the line after the maximum is read.
const char* ReadRemindFields(FieldReader& reader, ActionUiRequest& request) {
    if (!reader.Scan("REMINDTIME", request.remindTime)) return kBadRemindTime;
    if (request.remindTime < 1) request.remindTime = kDefaultRemindSeconds;
    if (!reader.NextLine() || !reader.Scan("MAXREMINDTIME", request.maxRemindTime)) {
        return kBadMaxRemindTime;
    }
    if (request.maxRemindTime < 1) request.maxRemindTime = kDefaultRemindSeconds;
    if (request.remindTime > request.maxRemindTime) request.remindTime = request.maxRemindTime;
    if (!reader.NextLine()) return kBadTitle;
    return nullptr;
}

// A missing first field line names the first field the flags ask for; the button text is never
// named for it.
const char* MissingFirstField(const ActionUiRequest& request) {
    if (request.autoRequested) return kBadAutoTime;
    if (request.remindOffered) return kBadRemindTime;
    return kBadTitle;
}

// The button text's line is current; reads it through the optional preview text.
const char* ReadTextFields(FieldReader& reader, ActionUiRequest& request) {
    const char* error = reader.ReadTextAtLine(kButtonTextField, request.buttonText);
    if (error != nullptr) return error;
    error = reader.ReadText(kTitleField, request.title);
    if (error != nullptr) return error;
    error = reader.ReadText(kMessageField, request.message);
    if (error != nullptr || !request.previewAvailable) return error;
    return reader.ReadText(kPreviewField, request.previewText);
}

const char* ReadFields(FieldReader& reader, ActionUiRequest& request) {
    if (!reader.NextLine()) return MissingFirstField(request);
    if (request.autoRequested) {
        if (const char* error = ReadAutoFields(reader, request)) return error;
    }
    if (request.remindOffered) {
        if (const char* error = ReadRemindFields(reader, request)) return error;
    }
    if (const char* error = ReadTextFields(reader, request)) return error;
    if (TranslateFlag) {
        if (const char* error = reader.ReadTranslationPath(request.translationPath)) return error;
    }
    return reader.ReadOptionalImagePath(request.imagePath);
}

}  // namespace

ActionUiRequestResult ReadActionUiRequest(platform::RequestInput& input, const char* flagText) {
    ActionUiRequestResult result;
    ActionUiRequest& request = result.request;
    bool flags[kActionUiFlagCount] = {};
    if (!ParseFlags(flagText, kActionUiFlags, kActionUiFlagCount, flags)) {
        result.error = "Error: Bad command";
        return result;
    }
    if (flags[kXlate]) TranslateFlag = true;
    request.previewAvailable = flags[kPreview];
    request.cancelAllowed = flags[kCancel];
    request.remindOffered = flags[kRemind];
    request.autoRequested = flags[kAuto];
    request.taskbar = flags[kTaskbar];

    FieldReader reader(input);
    result.error = ReadFields(reader, request);
    return result;
}
