// zemuictl check: how the product will read a request, field by field, and what it will answer.

#include <cstdio>

#include "kit/report_json.h"
#include "kit/request_checker.h"
#include "zemuictl/binary_output.h"
#include "zemuictl/commands.h"

namespace {

void PrintField(const zemkit::CheckedField& field) {
    std::printf("  line %-4zu byte %-6zu %s", field.line, field.offset, field.key.c_str());
    if (field.taken) {
        std::printf(" value: %zu bytes taken", *field.taken);
    } else if (field.declared) {
        std::printf(":%lld", static_cast<long long>(*field.declared));
    }
    if (field.action != 0) std::printf("  (action %u)", field.action);
    std::printf("\n");
}

void PrintReport(const std::string& path, const zemkit::CheckReport& report) {
    if (report.ok) {
        std::printf("%s: the product accepts this request\n", path.c_str());
    } else {
        std::printf("%s: the product answers \"%s\"\n", path.c_str(), report.reply->c_str());
    }
    std::printf("fields as the product reads them:\n");
    for (const zemkit::CheckedField& field : report.fields) PrintField(field);
    if (report.problem) std::printf("problem: %s\n", report.problem->c_str());
    for (const std::string& warning : report.warnings)
        std::printf("warning: %s\n", warning.c_str());
}

}  // namespace

int RunCheckCommand(const CommandArguments& arguments) {
    bool json = false;
    std::string path;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else if (path.empty()) {
            path = argument;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::fputs("usage: zemuictl check [--json] FILE   (- reads standard input)\n", stderr);
        return 2;
    }
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "zemuictl check: cannot read %s\n", path.c_str());
        return 2;
    }
    const zemkit::CheckReport report = zemkit::CheckRequest(bytes);
    if (json) {
        std::printf("%s\n", zemkit::CheckReportToJson(report).c_str());
    } else {
        PrintReport(path, report);
    }
    return report.ok ? 0 : 1;
}
