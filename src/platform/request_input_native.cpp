#include <cstdio>

#include "platform/platform.h"

namespace platform {
namespace {

constexpr int kCtrlZ = 0x1A;

// Stands in for the Windows C runtime's text mode over a byte stream: CR LF folds to LF, a lone
// CR is kept, and 0x1A ends the input for good.
class TextModeInput final : public RequestInput {
  public:
    TextModeInput(FILE* file, bool owned) : file_(file), owned_(owned) {}
    ~TextModeInput() override {
        if (owned_) std::fclose(file_);
    }

    bool ReadLine(char* buffer, int size) override {
        if (size <= 0) return false;
        int used = 0;
        while (used < size - 1) {
            const int c = NextByte();
            if (c == EOF) break;
            buffer[used++] = static_cast<char>(c);
            if (c == '\n') break;
        }
        buffer[used] = '\0';
        return used > 0;
    }

    size_t Read(void* buffer, size_t count) override {
        auto* bytes = static_cast<unsigned char*>(buffer);
        size_t used = 0;
        while (used < count) {
            const int c = NextByte();
            if (c == EOF) break;
            bytes[used++] = static_cast<unsigned char>(c);
        }
        return used;
    }

  private:
    int NextByte() {
        if (ended_) return EOF;
        int c = std::getc(file_);
        if (c == EOF || c == kCtrlZ) {
            ended_ = true;
            return EOF;
        }
        if (c == '\r') {
            const int next = std::getc(file_);
            if (next == '\n') return '\n';
            if (next != EOF) std::ungetc(next, file_);
        }
        return c;
    }

    FILE* file_;
    bool owned_;
    bool ended_ = false;
};

}  // namespace

RequestInput& StandardInput() {
    static TextModeInput input(stdin, false);
    return input;
}

std::unique_ptr<RequestInput> OpenRequestFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return nullptr;
    return std::make_unique<TextModeInput>(file, true);
}

// Not in platform.h: only the native fuzzers feed requests from memory streams.
std::unique_ptr<RequestInput> AdoptRequestStream(FILE* file) {
    return std::make_unique<TextModeInput>(file, true);
}

}  // namespace platform
