#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Encodings as tag types: each names the code unit it is made of.
struct UTF8 {
    using Unit = uint8_t;
};
struct UTF16 {
    using Unit = uint16_t;  // machine order
};

// Malformed UTF-8 (never repaired or replaced).
class InvalidTextEncoding {};

// A sink of code units of one encoding. A text arrives as Start, any number of Receive calls
// (each a half-open range, possibly empty) and Finish.
template <typename Encoding>
class UTextReceiver {
  public:
    using Unit = typename Encoding::Unit;

    virtual ~UTextReceiver() = default;
    virtual void Start() {}
    virtual void Receive(const Unit* /*first*/, const Unit* /*last*/) {}
    virtual void Finish() {}
};

template <typename To, typename From>
class GenericTranscoder;

// Decodes UTF-8 and pushes UTF-16 downstream in pieces of at most kBlockUnits units, never
// splitting a surrogate pair. A sequence cut by the end of one Receive is continued by the next.
template <>
class GenericTranscoder<UTF16, UTF8> : public UTextReceiver<UTF8> {
  public:
    static constexpr size_t kBlockUnits = 2048;

    // Not owned; must be set before Start.
    void SetDownstream(UTextReceiver<UTF16>* receiver) { downstream_ = receiver; }

    void Start() override;
    void Receive(const uint8_t* first, const uint8_t* last) override;
    void Finish() override;

  private:
    class Block;
    const uint8_t* ContinuePendingSequence(const uint8_t* first, const uint8_t* last, Block& block);
    void HoldOver(const uint8_t* first, const uint8_t* last);

    UTextReceiver<UTF16>* downstream_ = nullptr;
    uint32_t pendingCount_ = 0;  // bytes of an unfinished sequence held over, 0 to 3
    uint8_t pendingBytes_[3] = {};
};

template <typename To, typename From>
class StreamTranscoder;

// The concrete transcoder that Utf8ToUtf16 builds.
template <>
class StreamTranscoder<UTF16, UTF8> final : public GenericTranscoder<UTF16, UTF8> {
  public:
    explicit StreamTranscoder(UTextReceiver<UTF16>* downstream) { SetDownstream(downstream); }
    ~StreamTranscoder() override = default;
};

// An owned UTF-16 text followed by one zero unit; last() points at that zero unit. Even the empty
// text has a buffer, so first() is never null. Move-only.
class Utf16Text {
  public:
    Utf16Text() = default;
    Utf16Text(std::unique_ptr<uint16_t[]> units, size_t size)
        : units_(std::move(units)), size_(size) {}
    Utf16Text(Utf16Text&& other) noexcept : units_(std::move(other.units_)), size_(other.size_) {
        other.size_ = 0;
    }
    Utf16Text& operator=(Utf16Text&& other) noexcept;
    Utf16Text(const Utf16Text&) = delete;
    Utf16Text& operator=(const Utf16Text&) = delete;

    const uint16_t* first() const;
    const uint16_t* last() const { return first() + size_; }
    size_t size() const { return size_; }

  private:
    std::unique_ptr<uint16_t[]> units_;
    size_t size_ = 0;
};

template <typename Encoding>
class UStringBuilder;

// Collects UTF-16 units at the end of a receiver chain.
template <>
class UStringBuilder<UTF16> final : public UTextReceiver<UTF16> {
  public:
    // Units to reserve at Start.
    void SetCapacityHint(uint32_t units) { capacityHint_ = units; }

    void Start() override;
    void Receive(const uint16_t* first, const uint16_t* last) override;
    // Appends the zero unit and hands over the buffer, leaving the builder empty.
    Utf16Text TakeText();

    size_t capacity() const { return capacity_; }

  private:
    void Reserve(size_t units);

    uint32_t capacityHint_ = 0;
    std::unique_ptr<uint16_t[]> units_;
    size_t capacity_ = 0;
    size_t size_ = 0;
};

// Converts one whole UTF-8 text; throws InvalidTextEncoding with no partial result.
Utf16Text Utf8ToUtf16(const char* first, const char* last);
