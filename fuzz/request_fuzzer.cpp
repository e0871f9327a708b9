// A whole standard-input stream: the start of the request, then the reader of its command. Every
// input must end in exactly one error reply or in a complete request.

#include <cstring>
#include <string>
#include <string_view>

#include "capped_allocation.h"
#include "protocol/actionui_request.h"
#include "protocol/progress_request.h"
#include "protocol/remind_request.h"
#include "protocol/request_start.h"
#include "protocol/text_fields.h"
#include "request_memory.h"

namespace {

constexpr Timestamp kStartTime = 1178269507000000;  // any fixed instant
constexpr char kErrorPrefix[] = "Error: ";
std::string_view currentInput;

// Whether a "<key>:<count>" line asked for `size` bytes: a line read starts at any byte after a
// sized field and holds at most kRequestBufferSize - 1 of them.
bool AskedFor(const char* key, size_t size) {
    for (size_t at = currentInput.find(key); at != currentInput.npos;
         at = currentInput.find(key, at + 1)) {
        const std::string line(currentInput.substr(at, kRequestBufferSize - 1));
        int32_t count = 0;
        if (ScanNumberLine(line.c_str(), key, count) && size == static_cast<size_t>(count) + 1)
            return true;
    }
    return false;
}

// A count over the allocation cap is refused, and the first one refused ends the request with its
// field's allocation failure; nothing else gives that reply.
void CheckRefusedAllocation(const char* reply) {
    const size_t refused = TakeRefusedAllocation();
    const TextField* failed = nullptr;
    for (const TextField* field : kTextFields) {
        if (std::strcmp(reply, field->allocationFailure) == 0) failed = field;
    }
    FUZZ_CHECK((refused > kFuzzAllocationCap) == (failed != nullptr));
    if (failed != nullptr) FUZZ_CHECK(AskedFor(failed->key, refused));
}

void CheckReply(const char* reply) {
    FUZZ_CHECK(std::strncmp(reply, kErrorPrefix, sizeof kErrorPrefix - 1) == 0 ||
               std::strcmp(reply, "bad1") == 0);
    CheckRefusedAllocation(reply);
}

// The translation path is carried exactly when the process-wide flag asks for it.
void CheckTranslationPath(const ByteText& path) {
    FUZZ_CHECK((path != nullptr) == TranslateFlag);
}

void CheckProgress(const ProgressRequestResult& result) {
    if (result.error != nullptr) return CheckReply(result.error);
    const ProgressRequest& request = result.request;
    FUZZ_CHECK(request.title != nullptr && request.message != nullptr);
    CheckTranslationPath(request.translationPath);
}

void CheckActionUi(const ActionUiRequestResult& result) {
    if (result.error != nullptr) return CheckReply(result.error);
    const ActionUiRequest& request = result.request;
    FUZZ_CHECK(request.buttonText != nullptr && request.title != nullptr &&
               request.message != nullptr);
    FUZZ_CHECK((request.previewText != nullptr) == request.previewAvailable);
    FUZZ_CHECK((request.autoMessage != nullptr) == request.autoRequested);
    FUZZ_CHECK(request.autoRequested ? request.autoTime >= 1 : request.autoTime == 0);
    if (request.remindOffered) {
        FUZZ_CHECK(request.maxRemindTime >= 1);
        FUZZ_CHECK(request.remindTime >= 1 && request.remindTime <= request.maxRemindTime);
    }
    CheckTranslationPath(request.translationPath);
}

void CheckRemind(const RemindRequestResult& result) {
    if (result.error != nullptr) return CheckReply(result.error);
    const RemindRequest& request = result.request;
    FUZZ_CHECK(request.title != nullptr);
    FUZZ_CHECK(!request.actions.empty());
    FUZZ_CHECK(request.remindTime != 0);
    FUZZ_CHECK(request.autoRequested ? request.autoTime != 0 : request.autoTime == 0);
    FUZZ_CHECK(!request.autoTakeAll || request.autoRequested);
    for (const ActionItem& item : request.actions) {
        FUZZ_CHECK(item.id != 0);
        FUZZ_CHECK(item.deadline >= kStartTime);
        const uint64_t postpone =
            static_cast<uint64_t>(item.deadline - kStartTime) / kMicrosecondsPerSecond;
        FUZZ_CHECK(postpone >= request.shortestPostpone);
    }
    CheckTranslationPath(request.translationPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TranslateFlag = false;  // process-wide: one input must not leak it into the next
    currentInput = std::string_view(reinterpret_cast<const char*>(data), size);
    const auto input = OpenRequestMemory(data, size);
    static char buffer[kRequestBufferSize];
    const RequestStart start = ReadRequestStart(*input, buffer);
    if (start.error != nullptr) {
        CheckReply(start.error);
        return 0;
    }
    FUZZ_CHECK(start.flagText != nullptr);
    switch (start.command) {
        case RequestCommand::kProgress:
            CheckProgress(ReadProgressRequest(*input, start.flagText));
            break;
        case RequestCommand::kActionUi:
            CheckActionUi(ReadActionUiRequest(*input, start.flagText));
            break;
        case RequestCommand::kRemind:
            CheckRemind(ReadRemindRequest(*input, start.flagText, kStartTime));
            break;
    }
    FUZZ_CHECK(TakeRefusedAllocation() == 0);  // a refusal ends the request in a reply
    return 0;
}
