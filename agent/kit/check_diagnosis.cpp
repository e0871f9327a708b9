// Puts what the checker found into words: the first problem, with the reply the product gives,
// and the warnings about what the product takes without complaint.

#include <algorithm>
#include <cstring>
#include <string>

#include "kit/check_trace.h"
#include "kit/count_check.h"

namespace zemkit {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

struct ExpectedField {
    const char* reply;
    const char* key;
};

// The field each rejection is about, as the readers name it.
constexpr ExpectedField kExpectedFields[] = {
    {"Error: Bad title", "TITLE"},
    {"Error: Bad message", "MESSAGE"},
    {"Error: Bad auto message error", "AUTOMESSAGE"},
    {"Error: Bad button text", "BUTTONTEXT"},
    {"Error: Bad preview", "ACTIONPREVIEW"},
    {"Error: Bad action message", "ACTIONITEMMSG"},
    {"Error: Bad action body", "ACTIONITEMBODY"},
    {"Error: Bad action title", "ACTIONITEMTITLE"},
    {"Error: missing xlatepath", "XLATEPATH"},
    {"Error: Bad auto time error", "AUTOTIME"},
    {"Error: Bad remind time error", "REMINDTIME"},
    {"Error: Bad max remind time error", "MAXREMINDTIME"},
    {"Error: Bad action count", "ACTIONCOUNT"},
    {"Error: Bad action item", "ACTIONITEM"},
    {"Error: Bad action id", "ACTIONID"},
    {"Error: Bad action postpone", "ACTIONPOSTPONE"},
    {"bad1", "AUTOTIME or REMINDTIME"},
};

std::string Quoted(const std::string& reply) {
    return "`" + reply + "`";
}

std::string Answers(const CheckTrace& trace) {
    return "the product answers " + Quoted(trace.reply);
}

std::string LineName(const CheckedField& field) {
    return "line " + std::to_string(field.line) + " (byte " + std::to_string(field.offset) + ")";
}

// A line for a message: at most 60 bytes of it.
std::string Shown(const std::string& text) {
    return "\"" + (text.size() > 60 ? text.substr(0, 60) + "..." : text) + "\"";
}

std::string ExpectedKey(const char* reply) {
    for (const ExpectedField& entry : kExpectedFields) {
        if (std::strcmp(entry.reply, reply) == 0) return entry.key;
    }
    return "";
}

std::string CountMismatch(const CheckTrace& trace, const TraceField& value,
                          const CountCheck& check) {
    const int64_t declared = *value.field.declared;
    const int64_t before = static_cast<int64_t>(check.bytesBeforeNextKey);
    std::string text = ActionPrefix(trace, value.field) + value.field.key + " says " +
                       std::to_string(declared) + " bytes, but " + std::to_string(before) +
                       " bytes come before the next key line";
    if (check.countedCrLfTwice) {
        text +=
            " (its CR LF line breaks were counted as two bytes each; text mode delivers "
            "each as one LF)";
    }
    return text;
}

std::string CountProblem(const CheckTrace& trace, const TraceField& value,
                         const CountCheck& check) {
    const int64_t difference =
        static_cast<int64_t>(check.bytesBeforeNextKey) - *value.field.declared;
    std::string text = CountMismatch(trace, value, check) + "; ";
    if (difference > 0) {
        text += "the " + std::to_string(difference) + " left over make the product answer " +
                Quoted(trace.reply);
    } else {
        text += "the count takes " + std::to_string(-difference) + " bytes of the next line, so " +
                Answers(trace);
    }
    return text;
}

std::string InputEndText(const CheckTrace& trace) {
    if (const auto ctrlZ = trace.input->ctrlZOffset()) {
        return "the 0x1A byte at offset " + std::to_string(*ctrlZ) + ", which ends text-mode input";
    }
    return "the end of the input";
}

std::string WhyRejected(const CheckTrace& trace, const TraceField& line) {
    if (!line.field.declared) return "its number is missing or outside the signed 32-bit range";
    const std::string& key = line.field.key;
    if (key == "AUTOTIME") return trace.isRemind ? "it must not be 0" : "it must be at least 1";
    if (key == "ACTIONID" || key == "ACTIONCOUNT") return "it must not be 0";
    return "a sized field needs a count of at least 1";
}

std::string RejectedLineProblem(const CheckTrace& trace, const TraceField& line) {
    const std::string reply = trace.reply;
    const std::string where = LineName(line.field) + " ";
    if (reply == "Error: Incompatible version") {
        return where + Shown(line.text) + " does not start with \"UI 1.2\"; " + Answers(trace);
    }
    if (reply == "Error: Bad command") {
        return where + Shown(line.text) +
               " is not PROGRESS, ACTIONUI or REMIND with flags of that command; " + Answers(trace);
    }
    const std::string expected = ExpectedKey(trace.reply);
    const std::string prefix = ActionPrefix(trace, line.field);
    if (expected == "ACTIONITEM" && line.field.key == expected) {
        return prefix + where + Shown(line.text) +
               " needs :RESTART, :SHUTDOWN or :NONE, then only :PREVIEW and :CANCEL; " +
               Answers(trace);
    }
    if (line.field.key == expected) {
        return prefix + where + Shown(line.text) + ": " + WhyRejected(trace, line) + "; " +
               Answers(trace);
    }
    if (IsProtocolKey(line.field.key)) {
        return prefix + where + "holds " + line.field.key + " where the product expects " +
               expected + ": the fields must come in the product's order; " + Answers(trace);
    }
    return prefix + where + Shown(line.text) + " is not the " + expected +
           " line the product expects here; " + Answers(trace);
}

// `blamed` is set to the sized value the problem names, if it names one.
std::string Problem(const CheckTrace& trace, const TraceField*& blamed) {
    const std::string reply = trace.reply;
    if (trace.raw.substr(0, 3) == kByteOrderMark && reply == "Error: Incompatible version") {
        return "the request starts with a UTF-8 byte-order mark (EF BB BF), so its first line is "
               "not \"UI 1.2\"; " +
               Answers(trace) + ". Write UTF-8 without a byte-order mark";
    }
    if (trace.fields.empty()) return "the request is empty; " + Answers(trace);
    const TraceField& last = trace.fields.back();
    const std::string name = ActionPrefix(trace, last.field) + last.field.key;
    if (reply.rfind("Error: failed allocating", 0) == 0) {
        return name + " says " + std::to_string(last.field.declared.value_or(0)) +
               " bytes, more than the product could allocate; " + Answers(trace);
    }
    if (reply.rfind("Error: failed reading", 0) == 0) {
        blamed = &last;
        return name + " says " + std::to_string(last.field.declared.value_or(0)) +
               " bytes, but only " + std::to_string(last.field.taken.value_or(0)) +
               " come before " + InputEndText(trace) + "; " + Answers(trace);
    }
    const bool metTheEnd = trace.input->reads().back().data.empty();
    // A count that is off shows only at the line after its value: name the count, not that line.
    const size_t valueIndex = trace.fields.size() - (metTheEnd ? 1 : 2);
    if (valueIndex < trace.fields.size() && trace.fields[valueIndex].isValue) {
        const TraceField& value = trace.fields[valueIndex];
        const CountCheck check = CheckCount(trace, value);
        if (!check.consistent &&
            check.bytesBeforeNextKey != static_cast<size_t>(*value.field.declared)) {
            blamed = &value;
            return CountProblem(trace, value, check);
        }
    }
    if (metTheEnd) {
        const std::string expected = ExpectedKey(trace.reply);
        return "the request ends after " + LineName(last.field) + ", at " + InputEndText(trace) +
               (expected.empty() ? "" : ", where " + expected + " should follow") + "; " +
               Answers(trace);
    }
    return RejectedLineProblem(trace, last);
}

// What a count that is off but not fatal does to the value.
std::string WhatTheProductTakes(const CheckTrace& trace, const TraceField& value,
                                const CountCheck& check) {
    const std::string taken = std::to_string(*value.field.declared);
    if (check.bytesBeforeNextKey < static_cast<size_t>(*value.field.declared)) {
        return "the value takes the start of the next line with it";
    }
    const size_t end = value.read->rawEnd;
    std::string leftOver(trace.raw.substr(end, std::max(check.spanEnd, end) - end));
    if (leftOver.size() < 2) {
        return "the product takes " + taken + " and skips the left-over " + Shown(leftOver) +
               " as a short line";
    }
    return "the product takes " + taken + " and reads the left-over " + Shown(leftOver) +
           " as the next line";
}

void ValueWarnings(const CheckTrace& trace, const TraceField& value, bool named,
                   std::vector<std::string>& warnings) {
    const std::string name = ActionPrefix(trace, value.field) + value.field.key;
    const CountCheck check = CheckCount(trace, value);
    if (!named && !check.consistent && value.field.declared) {
        warnings.push_back(CountMismatch(trace, value, check) + ": " +
                           WhatTheProductTakes(trace, value, check));
    }
    const std::string_view rawValue =
        trace.raw.substr(value.read->rawStart, value.read->rawEnd - value.read->rawStart);
    if (rawValue.find("\r\n") != std::string_view::npos) {
        warnings.push_back(name +
                           " holds CR LF line breaks: text mode delivers each as one LF, "
                           "so the count must count each as one byte");
    }
    if (value.read->data.find('\r') != std::string::npos) {
        warnings.push_back(name + " holds a CR without LF, which shows as a stray character");
    }
    if (value.read->data.rfind(kByteOrderMark, 0) == 0) {
        warnings.push_back(name +
                           " starts with a UTF-8 byte-order mark, which becomes part of "
                           "the text");
    }
    const bool isPath = value.field.key == "XLATEPATH" || value.field.key == "IMAGEPATH";
    for (const char c : value.read->data) {
        if (isPath && static_cast<unsigned char>(c) >= 0x80) {
            warnings.push_back(name +
                               " holds non-ASCII bytes: the product opens the path with "
                               "the system's ANSI code page, so they must be in that code "
                               "page, not UTF-8");
            break;
        }
    }
}

}  // namespace

void DescribeTrace(const CheckTrace& trace, CheckReport& report) {
    const TraceField* blamed = nullptr;
    if (trace.reply != nullptr) report.problem = Problem(trace, blamed);
    for (const TraceField& entry : trace.fields) {
        if (entry.isValue) ValueWarnings(trace, entry, &entry == blamed, report.warnings);
    }
    if (trace.endedLookingForLine) {
        report.warnings.push_back(
            "nothing follows the last field: the product waits for an optional IMAGEPATH line "
            "until standard input is closed, so close it after writing the request");
    }
}

}  // namespace zemkit
