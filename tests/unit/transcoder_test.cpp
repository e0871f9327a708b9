#include "text/transcoder.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/reference_utf8.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Units = std::vector<uint16_t>;

const char* AsChars(const Bytes& bytes) {
    return reinterpret_cast<const char*>(bytes.data());
}

// The units of a whole-text conversion, or nothing when it fails with InvalidTextEncoding.
std::optional<Units> Convert(const Bytes& bytes) {
    try {
        const Utf16Text text = Utf8ToUtf16(AsChars(bytes), AsChars(bytes) + bytes.size());
        EXPECT_EQ(*text.last(), 0);
        return Units(text.first(), text.last());
    } catch (const InvalidTextEncoding&) {
        return std::nullopt;
    }
}

// A downstream receiver that keeps every piece it is given, in order.
class RecordingReceiver final : public UTextReceiver<UTF16> {
  public:
    void Start() override { ++starts; }
    void Receive(const uint16_t* first, const uint16_t* last) override {
        pieces.emplace_back(first, last);
    }
    void Finish() override { ++finishes; }

    Units Joined() const {
        Units all;
        for (const Units& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
        return all;
    }

    std::vector<Units> pieces;
    int starts = 0;
    int finishes = 0;
};

// Feeds `bytes` cut at the ascending positions `cuts`; nothing when the conversion fails.
std::optional<Units> ConvertInPieces(const Bytes& bytes, const std::vector<size_t>& cuts) {
    RecordingReceiver recorder;
    StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
    try {
        transcoder.Start();
        size_t from = 0;
        for (size_t cut : cuts) {
            transcoder.Receive(bytes.data() + from, bytes.data() + cut);
            from = cut;
        }
        transcoder.Receive(bytes.data() + from, bytes.data() + bytes.size());
        transcoder.Finish();
    } catch (const InvalidTextEncoding&) {
        return std::nullopt;
    }
    EXPECT_EQ(recorder.finishes, 1);
    return recorder.Joined();
}

std::optional<Units> ReferenceDecode(const Bytes& bytes) {
    return ReferenceDecodeUtf8(bytes.data(), bytes.size());
}

void AppendUtf8(Bytes& bytes, uint32_t codePoint) {
    if (codePoint < 0x80) {
        bytes.push_back(static_cast<uint8_t>(codePoint));
    } else if (codePoint < 0x800) {
        bytes.push_back(static_cast<uint8_t>(0xC0 | codePoint >> 6));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        bytes.push_back(static_cast<uint8_t>(0xE0 | codePoint >> 12));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint >> 6 & 0x3F)));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
    } else {
        bytes.push_back(static_cast<uint8_t>(0xF0 | codePoint >> 18));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint >> 12 & 0x3F)));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint >> 6 & 0x3F)));
        bytes.push_back(static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
    }
}

// A valid text of `count` characters drawn from every sequence length.
Bytes RandomValidText(std::mt19937& random, size_t count) {
    std::uniform_int_distribution<int> kind(0, 3);
    Bytes bytes;
    for (size_t i = 0; i < count; ++i) {
        uint32_t codePoint = 0;
        switch (kind(random)) {
            case 0:
                codePoint = std::uniform_int_distribution<uint32_t>(0, 0x7F)(random);
                break;
            case 1:
                codePoint = std::uniform_int_distribution<uint32_t>(0x80, 0x7FF)(random);
                break;
            case 2:
                codePoint = std::uniform_int_distribution<uint32_t>(0x800, 0xFFFF - 0x800)(random);
                if (codePoint >= 0xD800) codePoint += 0x800;  // skip the surrogates
                break;
            default:
                codePoint = std::uniform_int_distribution<uint32_t>(0x10000, 0x10FFFF)(random);
        }
        AppendUtf8(bytes, codePoint);
    }
    return bytes;
}

// Every form, at both ends of its range where it is valid.
const Bytes kMixedText = {'A',  0xC2, 0x80, 0xDF, 0xBF, 0xE0, 0xA0, 0x80, 0xED, 0x9F,
                          0xBF, 0xEE, 0x80, 0x80, 0xEF, 0xBF, 0xBF, 0xF0, 0x90, 0x80,
                          0x80, 0xF4, 0x8F, 0xBF, 0xBF, 0xF0, 0x9F, 0x98, 0x80, 'z'};

struct ValidCase {
    const char* name;
    Bytes bytes;
    Units units;
};

TEST(Utf8ToUtf16, DecodesEveryForm) {
    const ValidCase cases[] = {
        {"ascii and euro sign", {'A', 0xE2, 0x82, 0xAC}, {0x0041, 0x20AC}},
        {"four-byte form as a pair", {0xF0, 0x9F, 0x98, 0x80}, {0xD83D, 0xDE00}},
        {"last unit before the surrogates", {0xED, 0x9F, 0xBF}, {0xD7FF}},
        {"overlong zero accepted", {0xC0, 0x80}, {0x0000}},
        {"overlong three-byte zero", {0xE0, 0x80, 0x80}, {0x0000}},
        {"overlong DEL", {0xC1, 0xBF}, {0x007F}},
        {"first and last code point",
         {0xF0, 0x90, 0x80, 0x80, 0xF4, 0x8F, 0xBF, 0xBF},
         {0xD800, 0xDC00, 0xDBFF, 0xDFFF}},
        {"two-byte range", {0xC2, 0x80, 0xDF, 0xBF}, {0x0080, 0x07FF}},
        {"embedded zero byte", {'a', 0x00, 'b'}, {'a', 0, 'b'}},
        // Read eight at a time: the last word ends with the buffer.
        {"eight ASCII bytes",
         {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'},
         {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}},
    };
    for (const ValidCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Convert(c.bytes), std::optional<Units>(c.units));
    }
}

TEST(Utf8ToUtf16, EmptyTextHasABufferWithTheTerminator) {
    const Utf16Text text = Utf8ToUtf16(nullptr, nullptr);
    ASSERT_NE(text.first(), nullptr);
    EXPECT_EQ(text.first(), text.last());
    EXPECT_EQ(*text.first(), 0);
    EXPECT_EQ(text.size(), 0u);
}

TEST(Utf8ToUtf16, RejectsMalformedText) {
    const Bytes cases[] = {
        {0xED, 0xA0, 0x80},        // encoded high surrogate
        {0xED, 0xBF, 0xBF},        // encoded low surrogate
        {'A', 0xE2, 0x82},         // ends inside a sequence
        {0x80},                    // lone continuation byte
        {0xC3, 0x41, 0x42, 0x43},  // missing continuation byte
        {0xC3},                    // lead byte alone
        {0xF8, 0x88, 0x80, 0x80},  // five-byte lead
        {0xFF},                    // never a lead
        {0xF0, 0x8F, 0xBF, 0xBF},  // four-byte form below U+10000
        {0xF4, 0x90, 0x80, 0x80},  // past U+10FFFF
        {0xF7, 0xBF, 0xBF, 0xBF},  // lead F7
        {0xE2, 0x82, 0x41},        // third byte not a continuation
    };
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        EXPECT_THROW(Utf8ToUtf16(AsChars(bytes), AsChars(bytes) + bytes.size()),
                     InvalidTextEncoding);
    }
}

// Where a malformed sequence is caught: in Receive once enough bytes are read, else in Finish.
TEST(GenericTranscoder, DetectsMalformedFormsInOrderOfLength) {
    struct Case {
        Bytes bytes;
        bool failsInReceive;
    };
    const Case cases[] = {
        {{0xED, 0xA0}, false},       {{0xED, 0xA0, 0x80}, true},        // surrogate: third byte
        {{0xC3, 0x41, 0x42}, false}, {{0xC3, 0x41, 0x42, 0x43}, true},  // only after the fourth
        {{0x80, 'a', 'b'}, false},   {{0x80, 'a', 'b', 'c'}, true},     // lone continuation
        {{0xF4, 0x90, 0x80}, false}, {{0xF4, 0x90, 0x80, 0x80}, true},  // out of range
        {{0xF5, 0x80, 0x80}, false}, {{0xF5, 0x80, 0x80, 0x80}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        RecordingReceiver recorder;
        StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
        transcoder.Start();
        if (c.failsInReceive) {
            EXPECT_THROW(transcoder.Receive(c.bytes.data(), c.bytes.data() + c.bytes.size()),
                         InvalidTextEncoding);
        } else {
            transcoder.Receive(c.bytes.data(), c.bytes.data() + c.bytes.size());
            EXPECT_THROW(transcoder.Finish(), InvalidTextEncoding);
        }
        EXPECT_TRUE(recorder.pieces.empty());
        EXPECT_EQ(recorder.finishes, 0);
    }
}

TEST(GenericTranscoder, FailureKeepsTheUnitsOfTheCallFromDownstream) {
    const Bytes bytes = {'A', 'B', 0xED, 0xA0, 0x80};
    RecordingReceiver recorder;
    StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
    transcoder.Start();
    EXPECT_THROW(transcoder.Receive(bytes.data(), bytes.data() + bytes.size()),
                 InvalidTextEncoding);
    EXPECT_TRUE(recorder.pieces.empty());
}

TEST(GenericTranscoder, ContinuesASequenceAcrossCalls) {
    const Bytes bytes = {0xE2, 0x82, 0xAC};
    EXPECT_EQ(ConvertInPieces(bytes, {1}), std::optional<Units>(Units{0x20AC}));
    EXPECT_EQ(ConvertInPieces(bytes, {1, 1, 2, 2}), std::optional<Units>(Units{0x20AC}));
    const Bytes pair = {'x', 0xF0, 0x9F, 0x98, 0x80, 'y'};
    EXPECT_EQ(ConvertInPieces(pair, {2, 3, 4}),
              std::optional<Units>(Units{'x', 0xD83D, 0xDE00, 'y'}));
}

// Any two cuts of a text give the same outcome as the whole text in one call.
TEST(GenericTranscoder, SplitPointsDoNotChangeTheOutcome) {
    const Bytes texts[] = {
        kMixedText,
        {0xC3, 0x41, 0x42, 0x43},
        {'a', 0xED, 0xA0, 0x80, 'b'},
        {0xF4, 0x90, 0x80, 0x80},
        {'a', 0xE2, 0x82},
        {0x80, 'a', 'b', 'c', 'd'},
    };
    for (const Bytes& text : texts) {
        SCOPED_TRACE(testing::PrintToString(text));
        const std::optional<Units> whole = Convert(text);
        for (size_t i = 0; i <= text.size(); ++i) {
            for (size_t j = i; j <= text.size(); ++j) {
                ASSERT_EQ(ConvertInPieces(text, {i, j}), whole) << "cuts " << i << ", " << j;
            }
        }
    }
}

TEST(GenericTranscoder, PassesSingleUnitsOnInBlocksOf2047) {
    const Bytes ascii(5000, 'a');
    RecordingReceiver recorder;
    StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
    transcoder.Start();
    transcoder.Receive(ascii.data(), ascii.data() + ascii.size());
    transcoder.Finish();
    ASSERT_EQ(recorder.pieces.size(), 3u);
    EXPECT_EQ(recorder.pieces[0].size(), 2047u);
    EXPECT_EQ(recorder.pieces[1].size(), 2047u);
    EXPECT_EQ(recorder.pieces[2].size(), 906u);
    EXPECT_EQ(recorder.Joined(), Units(5000, 'a'));
    EXPECT_EQ(recorder.starts, 1);
    EXPECT_EQ(recorder.finishes, 1);
}

TEST(GenericTranscoder, NeverSplitsASurrogatePairBetweenBlocks) {
    const Bytes smile = {0xF0, 0x9F, 0x98, 0x80};
    struct Case {
        size_t asciiBefore;
        std::vector<size_t> pieceSizes;
    };
    const Case cases[] = {{2046, {2048}}, {2047, {2047, 2}}};
    for (const Case& c : cases) {
        Bytes bytes(c.asciiBefore, 'a');
        bytes.insert(bytes.end(), smile.begin(), smile.end());
        RecordingReceiver recorder;
        StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
        transcoder.Start();
        transcoder.Receive(bytes.data(), bytes.data() + bytes.size());
        transcoder.Finish();
        std::vector<size_t> sizes;
        for (const Units& piece : recorder.pieces) sizes.push_back(piece.size());
        EXPECT_EQ(sizes, c.pieceSizes) << c.asciiBefore << " ASCII bytes first";
        EXPECT_EQ(recorder.pieces.back().back(), 0xDE00);
        EXPECT_EQ(recorder.pieces.back().end()[-2], 0xD83D);
    }
}

TEST(GenericTranscoder, EmptyCallsPassNothingOn) {
    RecordingReceiver recorder;
    StreamTranscoder<UTF16, UTF8> transcoder(&recorder);
    transcoder.Start();
    const uint8_t byte = 'a';
    transcoder.Receive(&byte, &byte);
    transcoder.Finish();
    EXPECT_TRUE(recorder.pieces.empty());
    EXPECT_EQ(recorder.finishes, 1);
}

// Each byte of a valid text replaced by every other value, or the text cut short after it.
TEST(Utf8ToUtf16, CorruptedBytesAgreeWithTheReferenceDecoder) {
    for (size_t position = 0; position < kMixedText.size(); ++position) {
        for (int value = 0; value < 256; ++value) {
            Bytes corrupted = kMixedText;
            corrupted[position] = static_cast<uint8_t>(value);
            ASSERT_EQ(Convert(corrupted), ReferenceDecode(corrupted))
                << "byte " << position << " set to " << value;
        }
        const Bytes truncated(kMixedText.begin(), kMixedText.begin() + position);
        ASSERT_EQ(Convert(truncated), ReferenceDecode(truncated)) << "cut at " << position;
    }
}

TEST(Utf8ToUtf16, GeneratedTextsAgreeWithTheReferenceDecoder) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 300; ++round) {
        const Bytes text = RandomValidText(random, 1 + round * 7);
        const std::optional<Units> expected = ReferenceDecode(text);
        ASSERT_TRUE(expected.has_value());
        ASSERT_EQ(Convert(text), expected);
        std::uniform_int_distribution<size_t> position(0, text.size());
        size_t first = position(random), second = position(random);
        if (first > second) std::swap(first, second);
        ASSERT_EQ(ConvertInPieces(text, {first, second}), expected);
    }
}

TEST(UStringBuilder, GrowsToTheLargerOfNeedAndDoubleCapacity) {
    UStringBuilder<UTF16> builder;
    builder.SetCapacityHint(2);
    builder.Start();
    EXPECT_EQ(builder.capacity(), 2u);
    const Units units = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    builder.Receive(units.data(), units.data() + 3);  // needs 3, double is 4
    EXPECT_EQ(builder.capacity(), 4u);
    builder.Receive(units.data() + 3, units.data() + 9);  // needs 9, double is 8
    EXPECT_EQ(builder.capacity(), 9u);
    const Utf16Text text = builder.TakeText();  // the terminator needs room too
    EXPECT_EQ(Units(text.first(), text.last()), units);
    EXPECT_EQ(*text.last(), 0);
    EXPECT_EQ(builder.capacity(), 0u);

    UStringBuilder<UTF16> full;
    full.SetCapacityHint(2);
    full.Start();
    full.Receive(units.data(), units.data() + 2);  // needs exactly what it has
    EXPECT_EQ(full.capacity(), 2u);
}

TEST(UStringBuilder, StartDiscardsWhatWasCollected) {
    UStringBuilder<UTF16> builder;
    const Units units = {'o', 'l', 'd'};
    builder.Start();
    builder.Receive(units.data(), units.data() + units.size());
    builder.Start();
    builder.Receive(units.data() + 2, units.data() + 3);
    const Utf16Text text = builder.TakeText();
    EXPECT_EQ(Units(text.first(), text.last()), Units{'d'});
}

TEST(Utf16Text, MovesOwnership) {
    const Bytes bytes = {'h', 'i'};
    Utf16Text text = Utf8ToUtf16(AsChars(bytes), AsChars(bytes) + 2);
    const uint16_t* buffer = text.first();
    Utf16Text moved(std::move(text));
    EXPECT_EQ(moved.first(), buffer);
    EXPECT_EQ(moved.size(), 2u);
    EXPECT_EQ(text.size(), 0u);
    EXPECT_EQ(*text.first(), 0);
    Utf16Text assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.first(), buffer);
    EXPECT_EQ(moved.size(), 0u);
}

}  // namespace
