// The agent kit's request checker against the product's own reading of the same bytes: both
// must accept the same requests and give the same reply, the allocation failures included. The
// product reads through the text-mode stand-in of standard input, the checker through its own
// traced copy of it.

#include <cstring>
#include <string>

#include "kit/request_checker.h"
#include "request_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* product = zemkit::ReadLikeTheProduct(*OpenRequestMemory(data, size));
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const zemkit::CheckReport report = zemkit::CheckRequest(bytes);
    const char* checker = report.reply ? report.reply->c_str() : nullptr;
    // The fuzz build refuses every sized field over its cap, in both readers alike, so the
    // allocation-failure replies are compared too.
    FUZZ_CHECK(report.ok == (product == nullptr));
    FUZZ_CHECK(report.ok || std::strcmp(checker, product) == 0);
    FUZZ_CHECK(report.ok != report.problem.has_value());
    size_t previousOffset = 0;
    for (const zemkit::CheckedField& field : report.fields) {
        FUZZ_CHECK(field.offset >= previousOffset && field.offset <= size);
        FUZZ_CHECK(field.line >= 1);
        previousOffset = field.offset;
    }
    return 0;
}
