#include "io/data_receiver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

namespace {

std::vector<uint8_t> Stream(size_t length) {
    std::vector<uint8_t> bytes(length);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

// Feeds `stream` to the filler as chunks of the given lengths, framed by Start and Finish.
void Deliver(BufferFiller& filler, const std::vector<uint8_t>& stream,
             const std::vector<size_t>& chunks) {
    filler.Start();
    const uint8_t* next = stream.data();
    for (size_t length : chunks) {
        filler.Receive(next, next + length);
        next += length;
    }
    filler.Finish();
}

TEST(BufferFiller, KeepsTheFirstBytesAndDropsTheRest) {
    const std::vector<uint8_t> stream = Stream(100);
    uint8_t buffer[38] = {};
    FillTarget target(buffer, buffer + sizeof buffer);
    BufferFiller filler(target, CopyFilter());
    Deliver(filler, stream, {30, 30, 40});
    EXPECT_EQ(target.cursor, target.end);
    EXPECT_EQ(target.begin, buffer);
    EXPECT_EQ(std::memcmp(buffer, stream.data(), sizeof buffer), 0);
}

TEST(BufferFiller, ShortStreamStopsTheCursorAndLeavesTheRestUntouched) {
    const std::vector<uint8_t> stream = Stream(10);
    std::vector<uint8_t> buffer(16, 0xEE);
    FillTarget target(buffer.data(), buffer.data() + buffer.size());
    BufferFiller filler(target, CopyFilter());
    Deliver(filler, stream, {4, 0, 6});
    ASSERT_EQ(target.cursor - target.begin, 10);
    EXPECT_TRUE(std::equal(stream.begin(), stream.end(), buffer.begin()));
    for (size_t i = 10; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xEE) << i;
}

TEST(BufferFiller, StartRewindsForASecondStream) {
    uint8_t buffer[8] = {};
    FillTarget target(buffer, buffer + sizeof buffer);
    BufferFiller filler(target, CopyFilter());
    const std::vector<uint8_t> first(8, 0x11);
    Deliver(filler, first, {8});
    const std::vector<uint8_t> second(3, 0x22);
    filler.Attach(target, CopyFilter());
    Deliver(filler, second, {3});
    EXPECT_EQ(target.cursor, buffer + 3);
    const uint8_t expected[8] = {0x22, 0x22, 0x22, 0x11, 0x11, 0x11, 0x11, 0x11};
    EXPECT_EQ(std::memcmp(buffer, expected, sizeof buffer), 0);
}

TEST(BufferFiller, EmptyChunksAndDetachedFillersChangeNothing) {
    uint8_t buffer[4] = {1, 2, 3, 4};
    FillTarget target(buffer, buffer + sizeof buffer);
    BufferFiller filler(target, CopyFilter());
    filler.Start();
    const uint8_t data[2] = {9, 9};
    filler.Receive(data, data);
    EXPECT_EQ(target.cursor, buffer);
    filler.Finish();
    filler.Receive(data, data + 2);  // Finish detached the target
    EXPECT_EQ(target.cursor, buffer);
    EXPECT_EQ(buffer[0], 1);
}

TEST(CopyFilter, MovesTheSmallerLengthAndAdvancesBothRanges) {
    const std::vector<uint8_t> source = Stream(10);
    uint8_t room[6] = {};
    ConstByteRange from{source.data(), source.data() + source.size()};
    ByteRange to{room, room + sizeof room};
    CopyFilter().Transform(from, to);
    EXPECT_EQ(from.first, source.data() + 6);
    EXPECT_EQ(to.first, to.last);
    EXPECT_EQ(std::memcmp(room, source.data(), 6), 0);

    ConstByteRange rest{from.first, from.first + 2};
    uint8_t big[5] = {};
    ByteRange more{big, big + sizeof big};
    CopyFilter().Transform(rest, more);
    EXPECT_EQ(rest.first, rest.last);
    EXPECT_EQ(more.first, big + 2);
    EXPECT_EQ(big[0], 6);
    EXPECT_EQ(big[1], 7);

    ConstByteRange last{source.data() + 9, source.data() + 10};  // one byte, the least copied
    CopyFilter().Transform(last, more);
    EXPECT_EQ(last.first, last.last);
    EXPECT_EQ(more.first, big + 3);
    EXPECT_EQ(big[2], 9);
}

TEST(CopyFilter, OverlappingRangesCopyAsIfThroughATemporary) {
    for (int shift : {-3, -1, 1, 3}) {
        std::vector<uint8_t> bytes = Stream(16);
        const std::vector<uint8_t> original = bytes;
        const size_t sourceAt = 4;
        const size_t targetAt = static_cast<size_t>(static_cast<int>(sourceAt) + shift);
        ConstByteRange from{bytes.data() + sourceAt, bytes.data() + sourceAt + 8};
        ByteRange to{bytes.data() + targetAt, bytes.data() + targetAt + 8};
        CopyFilter().Transform(from, to);
        for (size_t i = 0; i < 8; ++i) {
            EXPECT_EQ(bytes[targetAt + i], original[sourceAt + i]) << "shift " << shift;
        }
    }
}

}  // namespace
