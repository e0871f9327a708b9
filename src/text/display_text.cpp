#include "text/display_text.h"

#include <climits>

#include "io/debuggable_exception.h"
#include "text/transcoder.h"

namespace {

// A UTF-16 unit never needs more than three bytes in any code page.
constexpr size_t kBytesPerUnit = 3;

}  // namespace

MultiByteText::MultiByteText(MultiByteText&& other) noexcept
    : codePage_(other.codePage_), bytes_(std::move(other.bytes_)), size_(other.size_) {
    other.size_ = 0;
}

MultiByteText& MultiByteText::operator=(MultiByteText&& other) noexcept {
    codePage_ = other.codePage_;
    bytes_ = std::move(other.bytes_);
    size_ = other.size_;
    other.size_ = 0;
    return *this;
}

const char* MultiByteText::first() const {
    return bytes_ ? bytes_.get() : "";
}

MultiByteText WideToMultiByte(uint32_t codePage, const uint16_t* first, const uint16_t* last,
                              WideCharConverter convert) {
    const size_t units = static_cast<size_t>(last - first);
    // The platform rejects a count of 0; a caption a translation blanks must still show.
    if (units == 0) return MultiByteText(codePage, std::unique_ptr<char[]>(new char[1]()), 0);
    // The platform takes the sizes as int.
    if (units > (INT_MAX - 1) / kBytesPerUnit) throw DataOverflow();

    const int bufferSize = static_cast<int>(kBytesPerUnit * units + 1);
    std::unique_ptr<char[]> bytes(new char[bufferSize]);
    const int written = convert(codePage, first, static_cast<int>(units), bytes.get(), bufferSize);
    if (written <= 0) throw WideToMultiByteConvertError();
    if (written >= bufferSize) throw DataOverflow();  // no room left for the terminator
    bytes[written] = '\0';
    return MultiByteText(codePage, std::move(bytes), static_cast<size_t>(written));
}

MultiByteText Utf8ToMultiByte(uint32_t codePage, TextRange text, WideCharConverter convert) {
    const Utf16Text wide = Utf8ToUtf16(text.first, text.last);
    return WideToMultiByte(codePage, wide.first(), wide.last(), convert);
}

MultiByteText ToDisplayText(TextRange text) {
    return Utf8ToMultiByte(kAnsiCodePage, text);
}
