#include <cstdio>

#include "platform/platform.h"

namespace platform {
namespace {

// The C runtime's own text mode does the CR LF folding and stops at Ctrl-Z.
class CrtTextInput final : public RequestInput {
  public:
    CrtTextInput(FILE* file, bool owned) : file_(file), owned_(owned) {}
    ~CrtTextInput() override {
        if (owned_) std::fclose(file_);
    }
    bool ReadLine(char* buffer, int size) override {
        return std::fgets(buffer, size, file_) != nullptr;
    }
    size_t Read(void* buffer, size_t count) override {
        return count == 0 ? 0 : std::fread(buffer, 1, count, file_);
    }

  private:
    FILE* file_;
    bool owned_;
};

}  // namespace

RequestInput& StandardInput() {
    static CrtTextInput input(stdin, false);
    return input;
}

std::unique_ptr<RequestInput> OpenRequestFile(const char* path) {
    FILE* file = std::fopen(path, "r");
    if (file == nullptr) return nullptr;
    return std::make_unique<CrtTextInput>(file, true);
}

}  // namespace platform
