#include "kit/request_checker.h"

#include <algorithm>
#include <cstring>

#include "kit/check_trace.h"
#include "protocol/actionui_request.h"
#include "protocol/progress_request.h"
#include "protocol/remind_request.h"
#include "protocol/request_start.h"

namespace zemkit {

namespace {

constexpr size_t kLinesPerAction = 6;  // item, id, postponement and the three texts' count lines

}  // namespace

const char* ReadLikeTheProduct(platform::RequestInput& input, bool* isRemind) {
    TranslateFlag = false;  // process-wide in the product: one check must not leak into the next
    char buffer[kRequestBufferSize];
    const RequestStart start = ReadRequestStart(input, buffer);
    if (start.error != nullptr) return start.error;
    switch (start.command) {
        case RequestCommand::kProgress:
            return ReadProgressRequest(input, start.flagText).error;
        case RequestCommand::kActionUi:
            return ReadActionUiRequest(input, start.flagText).error;
        case RequestCommand::kRemind:
            if (isRemind != nullptr) *isRemind = true;
            return ReadRemindRequest(input, start.flagText, 0).error;
    }
    return nullptr;
}

namespace {

// The line as ReadRequestLine leaves it: up to its first NUL, trailing blanks, tabs and LFs cut.
std::string ReaderLineText(const std::string& data) {
    std::string text = data.substr(0, std::min(data.size(), std::strlen(data.c_str())));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

std::optional<int64_t> LineNumber(const std::string& text, const std::string& key) {
    int32_t value = 0;
    if (!ScanNumberLine(text.c_str(), key.c_str(), value)) return std::nullopt;
    return value;
}

class LineIndex {
  public:
    explicit LineIndex(std::string_view raw) {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '\n') lineFeeds_.push_back(i);
        }
    }
    size_t LineAt(size_t offset) const {
        return 1 +
               static_cast<size_t>(std::lower_bound(lineFeeds_.begin(), lineFeeds_.end(), offset) -
                                   lineFeeds_.begin());
    }

  private:
    std::vector<size_t> lineFeeds_;
};

// In REMIND the first kept line after the title's value is the action count; the kept lines
// after it belong to the actions, six each, as the reader takes them.
void NumberActions(CheckTrace& trace) {
    if (!trace.isRemind) return;
    auto it = std::find_if(trace.fields.begin(), trace.fields.end(),
                           [](const TraceField& f) { return f.isValue; });
    if (it == trace.fields.end() || ++it == trace.fields.end()) return;
    trace.actionCount = it->field.declared;
    if (!trace.actionCount) return;
    const uint64_t actions = static_cast<uint32_t>(*trace.actionCount);  // as the reader counts
    uint64_t keptLine = 0;
    uint32_t action = 0;
    for (++it; it != trace.fields.end(); ++it) {
        if (!it->isValue) {
            if (keptLine >= actions * kLinesPerAction) break;
            action = static_cast<uint32_t>(keptLine / kLinesPerAction + 1);
            ++keptLine;
        }
        it->field.action = action;
    }
}

void CollectFields(std::string_view raw, CheckTrace& trace) {
    const LineIndex lines(raw);
    const std::vector<TracedRead>& reads = trace.input->reads();
    std::optional<CheckedField> keyLine;  // the latest kept line: a sized value's count line
    for (const TracedRead& read : reads) {
        TraceField entry;
        entry.read = &read;
        entry.field.offset = read.rawStart;
        entry.field.line = lines.LineAt(read.rawStart);
        if (read.isLine) {
            entry.text = ReaderLineText(read.data);
            if (entry.text.size() < 2) continue;  // skipped by the reader
            entry.field.key = entry.text.substr(0, entry.text.find(':'));
            entry.field.declared = LineNumber(entry.text, entry.field.key);
            keyLine = entry.field;
        } else {
            entry.isValue = true;
            if (keyLine) {
                entry.field.key = keyLine->key;
                entry.field.declared = keyLine->declared;
            }
            entry.field.taken = read.data.size();
        }
        trace.fields.push_back(std::move(entry));
    }
    // The optional image path is the reader's last wish: with nothing after the last field it
    // meets the end of input only once the sender closes the pipe. A 0x1A ends it at once.
    const bool lastReadMetTheEnd =
        !reads.empty() && reads.back().isLine && reads.back().data.empty();
    trace.endedLookingForLine =
        trace.reply == nullptr && lastReadMetTheEnd && !trace.input->ctrlZOffset();
    NumberActions(trace);
}

}  // namespace

std::string ActionPrefix(const CheckTrace& trace, const CheckedField& field) {
    if (field.action == 0) return "";
    std::string prefix = "action " + std::to_string(field.action);
    if (trace.actionCount) prefix += " of " + std::to_string(*trace.actionCount);
    return prefix + ": ";
}

CheckReport CheckRequest(std::string_view bytes) {
    TracedInput input(bytes);
    CheckTrace trace;
    trace.raw = bytes;
    trace.input = &input;
    trace.reply = ReadLikeTheProduct(input, &trace.isRemind);
    CollectFields(bytes, trace);

    CheckReport report;
    report.ok = trace.reply == nullptr;
    if (trace.reply != nullptr) report.reply = trace.reply;
    for (const TraceField& entry : trace.fields) report.fields.push_back(entry.field);
    DescribeTrace(trace, report);
    return report;
}

}  // namespace zemkit
