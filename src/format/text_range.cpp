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

Utf8Text::Utf8Text(const char* first, const char* last)
    : buffer_(std::make_unique<char[]>(static_cast<size_t>(last - first) + 1)),
      size_(static_cast<size_t>(last - first)) {
    // The zero byte after the copy comes from make_unique's zeroed array.
    if (size_ != 0) std::memcpy(buffer_.get(), first, size_);
}
