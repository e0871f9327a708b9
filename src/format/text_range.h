#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

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
    Utf8Text(Utf8Text&&) noexcept = default;
    Utf8Text& operator=(Utf8Text&&) noexcept = default;

    const char* first() const { return buffer_ ? buffer_.get() : ""; }
    const char* last() const { return first() + size(); }
    const char* c_str() const { return first(); }
    // A moved-from text has no buffer and reads as empty, whatever size_ still says.
    size_t size() const { return buffer_ ? size_ : 0; }
    TextRange range() const { return TextRange(first(), last(), true); }

  private:
    std::unique_ptr<char[]> buffer_;
    size_t size_ = 0;
};
