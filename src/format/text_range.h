#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// A borrowed run of bytes. It never owns them; `terminated` tells that a zero byte is known to
// follow `last` (literals, owned texts), and is carried along without being read.
struct TextRange {
    const char* first = nullptr;
    const char* last = nullptr;
    bool terminated = false;

    TextRange() = default;
    TextRange(const char* begin, const char* end, bool zeroFollows)
        : first(begin), last(end), terminated(zeroFollows) {}

    // A zero-terminated text; null reads as the empty text.
    static TextRange FromCString(const char* text) {
        static const char kEmpty[] = "";
        if (text == nullptr) text = kEmpty;
        return TextRange(text, text + std::strlen(text), true);
    }

    size_t size() const { return static_cast<size_t>(last - first); }
    bool empty() const { return first == last; }
};

// Byte order of texts: unsigned lexicographic, a prefix before the longer text.
int CompareTexts(TextRange a, TextRange b);
bool SameText(TextRange a, TextRange b);

// The owned UTF-8 result of formatting: the bytes followed by one zero byte. Move-only.
class Utf8Text {
  public:
    Utf8Text() = default;
    // Copies [first, last) and appends the zero byte.
    Utf8Text(const char* first, const char* last);
    Utf8Text(Utf8Text&& other) noexcept : buffer_(other.buffer_), size_(other.size_) {
        other.buffer_ = nullptr;
        other.size_ = 0;
    }
    Utf8Text& operator=(Utf8Text&& other) noexcept;
    Utf8Text(const Utf8Text&) = delete;
    Utf8Text& operator=(const Utf8Text&) = delete;
    ~Utf8Text() { delete[] buffer_; }

    const char* first() const { return buffer_ ? buffer_ : ""; }
    const char* last() const { return first() + size_; }
    const char* c_str() const { return first(); }
    size_t size() const { return size_; }
    TextRange range() const { return TextRange(first(), last(), true); }

  private:
    char* buffer_ = nullptr;
    size_t size_ = 0;
};
