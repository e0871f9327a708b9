// The icon decoder over fuzzed files: whatever the file holds, the result is the empty image or a
// picture of the promised shape whose every pixel byte is readable.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "protocol/icon/icon_decoder.h"
#include "request_memory.h"

namespace {

constexpr uint32_t kMaxSide = 64;
constexpr uint32_t kBytesPerPixel = 4;

// Memory-backed when possible: the file is rewritten for every input.
std::string ScratchDirectory() {
    if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr ? directory : "/tmp";
}

// One scratch file per process, removed at exit.
const std::string& ScratchPath() {
    static const std::string path = [] {
        std::string pattern = ScratchDirectory() + "/zem-icon-XXXXXX";
        const int descriptor = mkstemp(pattern.data());
        if (descriptor < 0) FuzzCheckFailed("the scratch file opens", __FILE__, __LINE__);
        close(descriptor);
        std::atexit([] { std::remove(ScratchPath().c_str()); });
        return pattern;
    }();
    return path;
}

void WriteScratch(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratch(data, size);
    const IconImage image = DecodeIconFile(ScratchPath().c_str());
    if (image.empty()) {
        FUZZ_CHECK(image.width() == 0 && image.height() == 0);
        return 0;
    }
    FUZZ_CHECK(image.width() >= 1 && image.width() <= kMaxSide);
    FUZZ_CHECK(image.height() >= 1 && image.height() <= kMaxSide);
    // Touch every byte: ASan reports a pixel buffer shorter than the shape it claims.
    const size_t bytes = size_t{image.width()} * image.height() * kBytesPerPixel;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) sum += image.pixels()[i];
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
