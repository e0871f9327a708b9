#include "text/transcoder.h"

#include <algorithm>
#include <cstring>

namespace {

// A four-byte form yields a surrogate pair, every shorter form one unit.
constexpr size_t kMaxUnitsPerSequence = 2;
constexpr uint8_t kFirstNonAscii = 0x80;
constexpr uint64_t kHighBitOfEachByte = 0x8080808080808080ull;
constexpr size_t kMaxSequenceBytes = 4;

constexpr uint32_t kFirstSupplementary = 0x10000;
constexpr uint32_t kLastCodePoint = 0x10FFFF;
constexpr uint16_t kHighSurrogateBase = 0xD800;
constexpr uint16_t kLowSurrogateBase = 0xDC00;
constexpr uint8_t kSurrogateLead = 0xED;  // ED A0..BF encodes U+D800..U+DFFF
constexpr uint8_t kFirstSurrogateSecondByte = 0xA0;

bool IsContinuation(uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

// One decoded sequence: its length in bytes (0 while more bytes are needed) and its units.
struct Sequence {
    size_t length = 0;
    size_t unitCount = 0;
    uint16_t units[kMaxUnitsPerSequence] = {};
};

Sequence OneUnit(size_t length, uint32_t unit) {
    Sequence sequence;
    sequence.length = length;
    sequence.unitCount = 1;
    sequence.units[0] = static_cast<uint16_t>(unit);
    return sequence;
}

Sequence SurrogatePair(uint32_t codePoint) {
    // Values outside the supplementary planes would make a pair that means another character.
    if (codePoint < kFirstSupplementary || codePoint > kLastCodePoint) throw InvalidTextEncoding();
    const uint32_t offset = codePoint - kFirstSupplementary;
    Sequence sequence;
    sequence.length = 4;
    sequence.unitCount = 2;
    sequence.units[0] = static_cast<uint16_t>(kHighSurrogateBase + (offset >> 10));
    sequence.units[1] = static_cast<uint16_t>(kLowSurrogateBase | (codePoint & 0x3FF));
    return sequence;
}

// Decodes the sequence at `bytes`. The forms are tried from the shortest up and a byte is looked
// at only once the shorter forms have failed, so a text split anywhere decodes and fails alike.
Sequence DecodeSequence(const uint8_t* bytes, size_t available) {
    const uint32_t b0 = bytes[0];
    if (b0 < 0x80) return OneUnit(1, b0);

    if (available < 2) return Sequence();
    const uint32_t b1 = bytes[1];
    if ((b0 & 0xE0) == 0xC0 && IsContinuation(b1))
        return OneUnit(2, (b0 & 0x1F) << 6 | (b1 & 0x3F));

    if (available < 3) return Sequence();
    const uint32_t b2 = bytes[2];
    if ((b0 & 0xF0) == 0xE0 && IsContinuation(b1) && IsContinuation(b2)) {
        if (b0 == kSurrogateLead && b1 >= kFirstSurrogateSecondByte) throw InvalidTextEncoding();
        return OneUnit(3, (b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
    }

    if (available < 4) return Sequence();
    const uint32_t b3 = bytes[3];
    if ((b0 & 0xF8) == 0xF0 && IsContinuation(b1) && IsContinuation(b2) && IsContinuation(b3)) {
        return SurrogatePair((b0 & 0x07) << 18 | (b1 & 0x3F) << 12 | (b2 & 0x3F) << 6 |
                             (b3 & 0x3F));
    }
    throw InvalidTextEncoding();
}

}  // namespace

// The decoded units of one Receive call, passed downstream a block at a time.
class GenericTranscoder<UTF16, UTF8>::Block {
  public:
    explicit Block(UTextReceiver<UTF16>& downstream) : downstream_(downstream) {}

    // Called before each sequence, so that a surrogate pair always lands in one block.
    void MakeRoom() {
        if (kBlockUnits - count_ < kMaxUnitsPerSequence) PassOn();
    }
    void Append(const Sequence& sequence) {
        for (size_t i = 0; i < sequence.unitCount; ++i) units_[count_++] = sequence.units[i];
    }
    // Widens a run of ASCII bytes straight into the block: the same units in the same blocks as
    // one sequence at a time, without the per-sequence dispatch. Returns where the run ended.
    const uint8_t* AppendAscii(const uint8_t* next, const uint8_t* last) {
        while (next != last && *next < kFirstNonAscii) {
            MakeRoom();
            // Single units may fill the block up to its last unit, kept free for a pair.
            const size_t room = kBlockUnits - (kMaxUnitsPerSequence - 1) - count_;
            const size_t limit = std::min(room, static_cast<size_t>(last - next));
            size_t taken = 0;
            // Eight bytes at a time while none has its high bit set.
            while (taken + sizeof(uint64_t) <= limit) {
                uint64_t word;
                std::memcpy(&word, next + taken, sizeof word);
                if ((word & kHighBitOfEachByte) != 0) break;
                for (size_t i = 0; i < sizeof word; ++i)
                    units_[count_ + taken + i] = next[taken + i];
                taken += sizeof word;
            }
            while (taken < limit && next[taken] < kFirstNonAscii) {
                units_[count_ + taken] = next[taken];
                ++taken;
            }
            count_ += taken;
            next += taken;
        }
        return next;
    }
    void PassOn() {
        if (count_ == 0) return;
        downstream_.Receive(units_, units_ + count_);
        count_ = 0;
    }

  private:
    UTextReceiver<UTF16>& downstream_;
    uint16_t units_[kBlockUnits];
    size_t count_ = 0;
};

void GenericTranscoder<UTF16, UTF8>::Start() {
    pendingCount_ = 0;
    downstream_->Start();
}

void GenericTranscoder<UTF16, UTF8>::Receive(const uint8_t* first, const uint8_t* last) {
    Block block(*downstream_);
    const uint8_t* next = first;
    if (pendingCount_ != 0) next = ContinuePendingSequence(first, last, block);
    while (next != last) {
        next = block.AppendAscii(next, last);
        if (next == last) break;
        block.MakeRoom();
        const Sequence sequence = DecodeSequence(next, static_cast<size_t>(last - next));
        if (sequence.length == 0) {
            HoldOver(next, last);
            break;
        }
        block.Append(sequence);
        next += sequence.length;
    }
    block.PassOn();
}

// Completes the sequence begun in an earlier call with the first bytes of this one; returns
// where decoding goes on.
const uint8_t* GenericTranscoder<UTF16, UTF8>::ContinuePendingSequence(const uint8_t* first,
                                                                       const uint8_t* last,
                                                                       Block& block) {
    uint8_t bytes[kMaxSequenceBytes];
    const size_t held = pendingCount_;
    std::memcpy(bytes, pendingBytes_, held);
    const size_t taken = std::min(kMaxSequenceBytes - held, static_cast<size_t>(last - first));
    std::memcpy(bytes + held, first, taken);
    pendingCount_ = 0;

    const Sequence sequence = DecodeSequence(bytes, held + taken);
    if (sequence.length == 0) {
        HoldOver(bytes, bytes + held + taken);
        return last;  // fewer than four bytes in all: this call's input is used up
    }
    block.Append(sequence);
    return first + (sequence.length - held);  // held bytes alone were undecided: length > held
}

void GenericTranscoder<UTF16, UTF8>::HoldOver(const uint8_t* first, const uint8_t* last) {
    pendingCount_ = static_cast<uint32_t>(last - first);
    std::memcpy(pendingBytes_, first, pendingCount_);
}

void GenericTranscoder<UTF16, UTF8>::Finish() {
    if (pendingCount_ != 0) throw InvalidTextEncoding();  // the text ended inside a sequence
    downstream_->Finish();
}

Utf16Text& Utf16Text::operator=(Utf16Text&& other) noexcept {
    units_ = std::move(other.units_);
    size_ = other.size_;
    other.size_ = 0;
    return *this;
}

const uint16_t* Utf16Text::first() const {
    static const uint16_t kEmpty[1] = {0};
    return units_ ? units_.get() : kEmpty;
}

void UStringBuilder<UTF16>::Start() {
    units_.reset();
    capacity_ = 0;
    size_ = 0;
    Reserve(capacityHint_);
}

void UStringBuilder<UTF16>::Receive(const uint16_t* first, const uint16_t* last) {
    const size_t count = static_cast<size_t>(last - first);
    if (count == 0) return;
    const size_t needed = size_ + count;
    if (needed > capacity_) Reserve(std::max(needed, 2 * capacity_));
    std::memcpy(units_.get() + size_, first, count * sizeof(uint16_t));
    size_ = needed;
}

void UStringBuilder<UTF16>::Reserve(size_t units) {
    if (units <= capacity_) return;
    std::unique_ptr<uint16_t[]> grown(new uint16_t[units]);
    if (size_ != 0) std::memcpy(grown.get(), units_.get(), size_ * sizeof(uint16_t));
    units_ = std::move(grown);
    capacity_ = units;
}

Utf16Text UStringBuilder<UTF16>::TakeText() {
    const uint16_t terminator = 0;
    Receive(&terminator, &terminator + 1);
    Utf16Text text(std::move(units_), size_ - 1);
    capacity_ = 0;
    size_ = 0;
    return text;
}

Utf16Text Utf8ToUtf16(const char* first, const char* last) {
    const size_t bytes = static_cast<size_t>(last - first);
    UStringBuilder<UTF16> builder;
    // Never more units than bytes, so the buffer does not grow while decoding.
    builder.SetCapacityHint(static_cast<uint32_t>(std::min<size_t>(2 * bytes, UINT32_MAX)));
    StreamTranscoder<UTF16, UTF8> transcoder(&builder);
    transcoder.Start();
    const auto* units = reinterpret_cast<const uint8_t*>(first);
    transcoder.Receive(units, units + bytes);
    transcoder.Finish();
    return builder.TakeText();
}
