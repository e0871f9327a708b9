#pragma once

// Reads a command's fields in order, turning each framing failure into the reply text of the
// field that was expected. The request readers of the three commands are built on it.

#include <cstdint>
#include <memory>

#include "protocol/request_framing.h"
#include "protocol/text_fields.h"

class FieldReader {
  public:
    explicit FieldReader(platform::RequestInput& input);

    // Reads the next request line into line(); false at end of input.
    bool NextLine();
    const char* line() const { return line_.get(); }

    // Scans the current line as "<key>:%d".
    bool Scan(const char* key, int32_t& value) const { return ScanNumberLine(line(), key, value); }

    // The next line must be "<key>:%d" with a count of at least 1, followed by that many bytes.
    // Returns null on success, else the field's reply: `bad` for a missing line, a failed scan
    // or a count below 1, else its allocation or read failure message.
    const char* ReadText(const TextField& field, ByteText& text);

    // Like ReadText, for the current line (already read).
    const char* ReadTextAtLine(const TextField& field, ByteText& text);

    // The translation path that follows ":XLATE".
    const char* ReadTranslationPath(ByteText& path);

    // The optional, always last image path: any other line, or none, means no image.
    const char* ReadOptionalImagePath(ByteText& path);

  private:
    platform::RequestInput& input_;
    std::unique_ptr<char[]> line_;
};
