#pragma once

#include <cstdint>

// A byte range whose first end moves as bytes are taken from it.
struct ConstByteRange {
    const uint8_t* first = nullptr;
    const uint8_t* last = nullptr;
};

// A byte range whose first end moves as bytes are put into it.
struct ByteRange {
    uint8_t* first = nullptr;
    uint8_t* last = nullptr;
};

// The consumer end of a byte stream: Start once, Receive per chunk in order, Finish once.
class DataReceiver {
  public:
    virtual ~DataReceiver() = default;
    virtual void Start() {}
    virtual void Receive(const uint8_t* /*first*/, const uint8_t* /*last*/) {}
    virtual void Finish() {}
};

// Moves bytes from a source range into a destination range. The plain filter copies them
// unchanged; both ranges' first ends advance by the bytes moved.
class DataFilter {
  public:
    virtual ~DataFilter() = default;
    virtual void Transform(ConstByteRange& source, ByteRange& destination) const;
};

// The process-wide plain filter that every BufferFiller uses.
const DataFilter& CopyFilter();

// The caller-owned range a BufferFiller fills; after a stream the data are [begin, cursor).
struct FillTarget {
    uint8_t* cursor = nullptr;
    uint8_t* end = nullptr;
    uint8_t* begin = nullptr;

    FillTarget() = default;
    FillTarget(uint8_t* bufferBegin, uint8_t* bufferEnd)
        : cursor(bufferBegin), end(bufferEnd), begin(bufferBegin) {}
};

// Fills a fixed range with the first bytes of a stream and silently drops what does not fit.
class BufferFiller : public DataReceiver {
  public:
    BufferFiller() = default;
    BufferFiller(FillTarget& target, const DataFilter& filter) { Attach(target, filter); }

    // Sets the range and filter for the next stream (Finish detaches both).
    void Attach(FillTarget& target, const DataFilter& filter) {
        target_ = &target;
        filter_ = &filter;
    }

    void Start() override;
    void Receive(const uint8_t* first, const uint8_t* last) override;
    void Finish() override;

  private:
    FillTarget* target_ = nullptr;
    const DataFilter* filter_ = nullptr;
};
