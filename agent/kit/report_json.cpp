#include "kit/report_json.h"

#include "kit/json.h"

namespace zemkit {

namespace {

template <typename Number>
std::string NumberOrNull(const std::optional<Number>& value) {
    return value ? std::to_string(*value) : "null";
}

std::string TextOrNull(const std::optional<std::string>& value) {
    if (!value) return "null";
    std::string out;
    AppendJsonString(out, *value);
    return out;
}

std::string FieldToJson(const CheckedField& field) {
    std::string out = "{\"key\": ";
    AppendJsonString(out, field.key);
    out += ", \"declared\": " + NumberOrNull(field.declared);
    out += ", \"taken\": " + NumberOrNull(field.taken);
    out += ", \"line\": " + std::to_string(field.line);
    out += ", \"offset\": " + std::to_string(field.offset);
    out += ", \"action\": " + std::to_string(field.action) + "}";
    return out;
}

}  // namespace

std::string CheckReportToJson(const CheckReport& report) {
    std::string out = std::string("{\"ok\": ") + (report.ok ? "true" : "false");
    out += ", \"reply\": " + TextOrNull(report.reply);
    out += ", \"problem\": " + TextOrNull(report.problem);
    out += ", \"warnings\": [";
    for (size_t i = 0; i < report.warnings.size(); ++i) {
        if (i > 0) out += ", ";
        AppendJsonString(out, report.warnings[i]);
    }
    out += "], \"fields\": [";
    for (size_t i = 0; i < report.fields.size(); ++i) {
        out += i > 0 ? ",\n  " : "\n  ";
        out += FieldToJson(report.fields[i]);
    }
    out += "]}";
    return out;
}

std::string ReplyToJson(const Reply& reply) {
    std::string out = "{\"kind\": ";
    AppendJsonString(out, reply.kind);
    out += ", \"seconds\": " + NumberOrNull(reply.seconds);
    out += ", \"actionId\": " + NumberOrNull(reply.actionId);
    out += ", \"error\": " + TextOrNull(reply.error) + "}";
    return out;
}

std::string OutcomeToJson(const Outcome& outcome) {
    std::string out = "{\"status\": ";
    AppendJsonString(out, StatusWord(outcome.status));
    out += ", \"reply\": ";
    if (outcome.replyLine) {
        AppendJsonString(out, *outcome.replyLine);
    } else {
        out += "null";
    }
    out += ", \"parsed\": " + (outcome.reply ? ReplyToJson(*outcome.reply) : "null");
    out += ", \"exitCode\": " + (outcome.exitCode ? std::to_string(*outcome.exitCode) : "null");
    out += ", \"error\": " + (outcome.error ? std::to_string(*outcome.error) : "null");
    out += ", \"notes\": [";
    for (size_t i = 0; i < outcome.notes.size(); ++i) {
        if (i > 0) out += ", ";
        AppendJsonString(out, outcome.notes[i]);
    }
    return out + "]}";
}

}  // namespace zemkit
