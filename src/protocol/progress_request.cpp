#include "protocol/progress_request.h"

#include "protocol/field_reader.h"

namespace {

enum ProgressFlag { kXlate, kTaskbar, kProgressFlagCount };
constexpr const char* kProgressFlags[kProgressFlagCount] = {":XLATE", ":TASKBAR"};

}  // namespace

ProgressRequestResult ReadProgressRequest(platform::RequestInput& input, const char* flagText) {
    ProgressRequestResult result;
    ProgressRequest& request = result.request;
    bool flags[kProgressFlagCount] = {};
    if (!ParseFlags(flagText, kProgressFlags, kProgressFlagCount, flags)) {
        result.error = "Error: Bad command";
        return result;
    }
    if (flags[kXlate]) TranslateFlag = true;
    request.taskbar = flags[kTaskbar];

    FieldReader reader(input);
    result.error = reader.ReadText(kTitleField, request.title);
    if (result.error) return result;
    result.error = reader.ReadText(kMessageField, request.message);
    if (result.error) return result;
    if (TranslateFlag) {
        result.error = reader.ReadTranslationPath(request.translationPath);
        if (result.error) return result;
    }
    result.error = reader.ReadOptionalImagePath(request.imagePath);
    return result;
}
