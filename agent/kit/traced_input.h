#pragma once

// Request bytes in memory, delivered as the C runtime's text mode delivers standard input (CR LF
// as LF, a lone CR kept, 0x1A ends the input), with a record of every read the product's reader
// makes: where in the raw bytes it started and ended, and what it got.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace zemkit {

struct TracedRead {
    bool isLine = false;  // a line read (fgets) rather than a sized read (fread)
    size_t rawStart = 0;
    size_t rawEnd = 0;
    std::string data;  // as text mode delivered it; empty for a read at the end of input
};

class TracedInput final : public platform::RequestInput {
  public:
    explicit TracedInput(std::string_view raw) : raw_(raw) {}

    bool ReadLine(char* buffer, int size) override;
    size_t Read(void* buffer, size_t count) override;

    const std::vector<TracedRead>& reads() const { return reads_; }
    // Where a 0x1A byte ended the input, if one did.
    std::optional<size_t> ctrlZOffset() const { return ctrlZOffset_; }

  private:
    int NextByte();

    std::string_view raw_;
    size_t position_ = 0;
    bool ended_ = false;
    std::optional<size_t> ctrlZOffset_;
    std::vector<TracedRead> reads_;
};

// The number of bytes text mode delivers for raw[start, end): each CR LF counts once.
size_t FoldedLength(std::string_view raw, size_t start, size_t end);

}  // namespace zemkit
