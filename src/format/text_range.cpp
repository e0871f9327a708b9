#include "format/text_range.h"

#include <algorithm>

int CompareTexts(TextRange a, TextRange b) {
    const size_t common = std::min(a.size(), b.size());
    const int bytes = common == 0 ? 0 : std::memcmp(a.first, b.first, common);
    if (bytes != 0) return bytes < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(TextRange a, TextRange b) {
    return a.size() == b.size() && (a.size() == 0 || std::memcmp(a.first, b.first, a.size()) == 0);
}

Utf8Text::Utf8Text(const char* first, const char* last) {
    size_ = static_cast<size_t>(last - first);
    buffer_ = new char[size_ + 1];
    if (size_ != 0) std::memcpy(buffer_, first, size_);
    buffer_[size_] = '\0';
}

Utf8Text& Utf8Text::operator=(Utf8Text&& other) noexcept {
    if (this != &other) {
        delete[] buffer_;
        buffer_ = other.buffer_;
        size_ = other.size_;
        other.buffer_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}
