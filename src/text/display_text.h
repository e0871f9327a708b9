#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "format/text_range.h"
#include "platform/platform.h"

// WideCharToMultiByte failed.
class WideToMultiByteConvertError {};

// Code page 0: the system's ANSI code page, the only one the dialogs use.
constexpr uint32_t kAnsiCodePage = 0;

// A converted text: its bytes in `codePage()` followed by one zero byte at last(). Move-only.
class MultiByteText {
  public:
    MultiByteText() = default;
    MultiByteText(uint32_t codePage, std::unique_ptr<char[]> bytes, size_t size)
        : codePage_(codePage), bytes_(std::move(bytes)), size_(size) {}
    MultiByteText(MultiByteText&& other) noexcept;
    MultiByteText& operator=(MultiByteText&& other) noexcept;
    MultiByteText(const MultiByteText&) = delete;
    MultiByteText& operator=(const MultiByteText&) = delete;

    uint32_t codePage() const { return codePage_; }
    const char* first() const;
    const char* last() const { return first() + size_; }
    const char* c_str() const { return first(); }
    size_t size() const { return size_; }

  private:
    uint32_t codePage_ = kAnsiCodePage;
    std::unique_ptr<char[]> bytes_;
    size_t size_ = 0;
};

// The platform's WideCharToMultiByte; tests pass their own to watch or fail the call.
using WideCharConverter = int (*)(uint32_t codePage, const uint16_t* units, int count, char* out,
                                  int outSize);

// UTF-16 units [first, last) in `codePage`, converted with one platform call into a buffer of
// three bytes per unit; unmappable characters become the code page's default character. The empty
// text converts to the empty string without a call.
MultiByteText WideToMultiByte(uint32_t codePage, const uint16_t* first, const uint16_t* last,
                              WideCharConverter convert = platform::WideCharToMultiByte);

// The UTF-8 bytes [text.first, text.last) in `codePage`; InvalidTextEncoding for malformed UTF-8,
// before anything reaches the platform.
MultiByteText Utf8ToMultiByte(uint32_t codePage, TextRange text,
                              WideCharConverter convert = platform::WideCharToMultiByte);

// A UTF-8 text as a window call takes it, in the ANSI code page.
MultiByteText ToDisplayText(TextRange text);
