#include "request_memory.h"

#include <cstdlib>

std::unique_ptr<platform::RequestInput> OpenRequestMemory(const void* bytes, size_t size) {
    // fmemopen refuses an empty buffer, and /dev/null is the empty stream anyway.
    std::FILE* file =
        size == 0 ? std::fopen("/dev/null", "rb") : fmemopen(const_cast<void*>(bytes), size, "rb");
    if (file == nullptr) FuzzCheckFailed("the request stream opens", __FILE__, __LINE__);
    return platform::AdoptRequestStream(file);
}

void FuzzCheckFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}
