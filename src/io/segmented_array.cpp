#include "io/segmented_array.h"

#include <array>
#include <cassert>
#include <cstddef>

#include "io/debuggable_exception.h"

namespace {

constexpr uint64_t kLargestShrinkBytes = 2147483647;
constexpr int kNoClearBit = -1;

// For each byte, the index of its highest clear bit (kNoClearBit for 0xFF).
constexpr std::array<int8_t, 256> MakeHighestClearBitTable() {
    std::array<int8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int8_t index = kNoClearBit;
        for (int bit = 7; bit >= 0; --bit) {
            if ((value & (1 << bit)) == 0) {
                index = static_cast<int8_t>(bit);
                break;
            }
        }
        table[value] = index;
    }
    return table;
}

constexpr std::array<int8_t, 256> kHighestClearBit = MakeHighestClearBitTable();

}  // namespace

int FloorLog2(uint32_t m) {
    assert(m != 0);
    // The highest set bit of m is the highest clear bit of its complement, found a byte at a
    // time from the top.
    const uint32_t complement = ~m;
    for (int byte = 3; byte >= 0; --byte) {
        const int index = kHighestClearBit[(complement >> (8 * byte)) & 0xFF];
        if (index != kNoClearBit) return 8 * byte + index;
    }
    return 0;  // m == 0 has no logarithm; never asked for
}

SegmentedArray::SegmentedArray(uint32_t elementSize, void* firstSegmentBegin, void* firstSegmentEnd)
    : elementSize_(elementSize),
      firstSegmentSize_(static_cast<uint32_t>(static_cast<uint8_t*>(firstSegmentEnd) -
                                              static_cast<uint8_t*>(firstSegmentBegin))) {
    assert(elementSize_ != 0 && firstSegmentSize_ != 0 && firstSegmentSize_ % elementSize_ == 0);
    segments_[0] = static_cast<uint8_t*>(firstSegmentBegin);
}

SegmentedArray::~SegmentedArray() {
    for (int k = 1; k < kSegmentCount; ++k) delete[] segments_[k];
}

int SegmentedArray::SegmentOf(uint64_t offset) const {
    const uint64_t firstSegmentsFull = offset / firstSegmentSize_ + 1;
    // Beyond 2^24 - 1 first-segment sizes every segment is full.
    if (firstSegmentsFull >= (uint64_t{1} << kSegmentCount)) return kSegmentCount;
    return FloorLog2(static_cast<uint32_t>(firstSegmentsFull));
}

uint8_t* SegmentedArray::AddressOf(uint64_t offset, int segment) const {
    const uint64_t segmentStart = (uint64_t{firstSegmentSize_} << segment) - firstSegmentSize_;
    return segments_[segment] + static_cast<size_t>(offset - segmentStart);
}

void* SegmentedArray::ElementAt(uint32_t index) const {
    assert(index < count_);
    const uint64_t offset = uint64_t{elementSize_} * index;
    return AddressOf(offset, SegmentOf(offset));
}

void* SegmentedArray::AppendSlot() {
    const uint64_t offset = uint64_t{elementSize_} * count_;
    const int segment = SegmentOf(offset);
    if (segment >= kSegmentCount) throw DataOverflow();
    if (segments_[segment] == nullptr) {
        const uint64_t bytes = uint64_t{firstSegmentSize_} << segment;
        if (bytes > SIZE_MAX) throw DataOverflow();
        segments_[segment] = new uint8_t[static_cast<size_t>(bytes)];
    }
    ++count_;
    return AddressOf(offset, segment);
}

void SegmentedArray::Shrink(uint32_t n) {
    count_ -= n < count_ ? n : count_;
    const uint64_t remainingBytes = uint64_t{elementSize_} * count_;
    if (remainingBytes > kLargestShrinkBytes) return;
    // Keep the segment that would hold twice the remaining data: one segment of slack, so that
    // appends and removals alternating at a boundary do not allocate and free each time.
    const int keep = FloorLog2(static_cast<uint32_t>(2 * remainingBytes / firstSegmentSize_ + 1));
    for (int k = keep + 1; k < kSegmentCount && segments_[k] != nullptr; ++k) {
        delete[] segments_[k];
        segments_[k] = nullptr;
    }
}
