#pragma once

#include <cstdint>

// A growable array of fixed-size elements that never moves an element once placed: it grows by
// segments of doubling size. Segment 0 is storage supplied by the owner, so a small array needs
// no allocation. The array holds raw storage only; the owner constructs and destroys elements.
class SegmentedArray {
  public:
    static constexpr int kSegmentCount = 24;

    // [firstSegmentBegin, firstSegmentEnd) is the owner's storage: a non-empty multiple of
    // `elementSize` bytes that outlives the array.
    SegmentedArray(uint32_t elementSize, void* firstSegmentBegin, void* firstSegmentEnd);
    ~SegmentedArray();

    // Segment 0 lives inside the owner, so the array cannot follow a move of it.
    SegmentedArray(const SegmentedArray&) = delete;
    SegmentedArray& operator=(const SegmentedArray&) = delete;

    uint32_t count() const { return count_; }
    // Address of element `index` (index < count()).
    void* ElementAt(uint32_t index) const;
    // Raw storage for one more element; DataOverflow when all 24 segments are full.
    void* AppendSlot();
    // Drops the last n elements (at most count()) and releases segments beyond one of slack.
    void Shrink(uint32_t n);
    void RemoveLast() { Shrink(1); }

    // Whether segment k is in place (segment 0 always is). For tests and diagnostics.
    bool HasSegment(int k) const { return segments_[k] != nullptr; }

  private:
    int SegmentOf(uint64_t offset) const;
    uint8_t* AddressOf(uint64_t offset, int segment) const;

    uint32_t elementSize_;
    uint32_t firstSegmentSize_;
    uint32_t count_ = 0;
    uint8_t* segments_[kSegmentCount] = {};
};

// floor(log2(m)) for m >= 1.
int FloorLog2(uint32_t m);
