#include "kit/traced_input.h"

namespace zemkit {

namespace {
constexpr int kEnd = -1;
constexpr char kCtrlZ = 0x1A;
}  // namespace

int TracedInput::NextByte() {
    if (ended_ || position_ >= raw_.size()) {
        ended_ = true;
        return kEnd;
    }
    const char c = raw_[position_++];
    if (c == kCtrlZ) {
        ctrlZOffset_ = position_ - 1;
        ended_ = true;
        return kEnd;
    }
    if (c == '\r' && position_ < raw_.size() && raw_[position_] == '\n') {
        ++position_;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

bool TracedInput::ReadLine(char* buffer, int size) {
    if (size <= 0) return false;
    TracedRead read;
    read.isLine = true;
    read.rawStart = position_;
    while (read.data.size() < static_cast<size_t>(size - 1)) {
        const int c = NextByte();
        if (c == kEnd) break;
        read.data += static_cast<char>(c);
        if (c == '\n') break;
    }
    read.rawEnd = position_;
    read.data.copy(buffer, read.data.size());
    buffer[read.data.size()] = '\0';
    const bool gotSomething = !read.data.empty();
    reads_.push_back(std::move(read));
    return gotSomething;
}

size_t TracedInput::Read(void* buffer, size_t count) {
    TracedRead read;
    read.rawStart = position_;
    auto* bytes = static_cast<char*>(buffer);
    size_t used = 0;
    while (used < count) {
        const int c = NextByte();
        if (c == kEnd) break;
        bytes[used++] = static_cast<char>(c);
    }
    read.rawEnd = position_;
    read.data.assign(bytes, used);
    reads_.push_back(std::move(read));
    return used;
}

size_t FoldedLength(std::string_view raw, size_t start, size_t end) {
    size_t length = 0;
    for (size_t i = start; i < end; ++i) {
        if (raw[i] == '\r' && i + 1 < end && raw[i + 1] == '\n') continue;
        ++length;
    }
    return length;
}

}  // namespace zemkit
