#include "io/segmented_array.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "io/debuggable_exception.h"
#include "io/segmented_list.h"

namespace {

constexpr uint32_t kItemSize = 44;  // the reminder's action items

// An owner with room for `firstSegmentItems` items inside itself, as the reminder dialog has.
struct Owner {
    explicit Owner(uint32_t firstSegmentItems = 1, uint32_t itemSize = kItemSize)
        : storage(size_t{firstSegmentItems} * itemSize),
          array(itemSize, storage.data(), storage.data() + storage.size()) {}
    std::vector<uint8_t> storage;
    SegmentedArray array;
};

std::vector<bool> SegmentsInPlace(const SegmentedArray& array) {
    std::vector<bool> present;
    for (int k = 0; k < SegmentedArray::kSegmentCount; ++k) present.push_back(array.HasSegment(k));
    return present;
}

int HighestSegment(const SegmentedArray& array) {
    int highest = 0;
    for (int k = 1; k < SegmentedArray::kSegmentCount; ++k) {
        if (array.HasSegment(k)) highest = k;
    }
    return highest;
}

int ReferenceFloorLog2(uint32_t m) {
    int log = 0;
    while (m >>= 1) ++log;
    return log;
}

TEST(SegmentedArray, AllocatesDoublingSegmentsAtPowersOfTwo) {
    Owner owner;
    // Highest segment in place after appending the n-th element (n = 1 ... 16).
    const int expected[] = {0, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4};
    for (int n = 1; n <= 16; ++n) {
        owner.array.AppendSlot();
        EXPECT_EQ(HighestSegment(owner.array), expected[n - 1]) << "after element " << n;
        for (int k = 1; k <= expected[n - 1]; ++k) EXPECT_TRUE(owner.array.HasSegment(k));
    }
    EXPECT_EQ(owner.array.count(), 16u);
}

TEST(SegmentedArray, FirstElementsLiveInTheOwnersStorage) {
    Owner owner(3);
    for (int i = 0; i < 4; ++i) owner.array.AppendSlot();
    EXPECT_EQ(owner.array.ElementAt(0), owner.storage.data());
    EXPECT_EQ(owner.array.ElementAt(2), owner.storage.data() + 2 * kItemSize);
    EXPECT_FALSE(owner.array.HasSegment(2));
    ASSERT_TRUE(owner.array.HasSegment(1));
    EXPECT_NE(owner.array.ElementAt(3), owner.storage.data() + 3 * kItemSize);
}

TEST(SegmentedArray, AddressesStayValidAndElementsDoNotOverlap) {
    Owner owner;
    std::vector<void*> slots;
    for (uint32_t i = 0; i < 300; ++i) {
        void* slot = owner.array.AppendSlot();
        std::memset(slot, static_cast<int>(i & 0xFF), kItemSize);
        slots.push_back(slot);
    }
    for (uint32_t i = 0; i < 300; ++i) {
        ASSERT_EQ(owner.array.ElementAt(i), slots[i]) << i;
        const auto* bytes = static_cast<const uint8_t*>(slots[i]);
        EXPECT_EQ(bytes[0], i & 0xFF) << i;
        EXPECT_EQ(bytes[kItemSize - 1], i & 0xFF) << i;
    }
}

TEST(SegmentedArray, ShrinkKeepsOneSegmentOfSlack) {
    Owner owner;
    for (int i = 0; i < 8; ++i) owner.array.AppendSlot();
    ASSERT_EQ(HighestSegment(owner.array), 3);
    void* const fourth = owner.array.ElementAt(3);
    owner.array.RemoveLast();  // 7 left: twice that reaches into segment 3
    EXPECT_EQ(owner.array.count(), 7u);
    EXPECT_EQ(HighestSegment(owner.array), 3);
    owner.array.Shrink(4);  // 3 left: twice that ends in segment 2
    EXPECT_EQ(HighestSegment(owner.array), 2);
    EXPECT_EQ(owner.array.AppendSlot(), fourth);  // segment 2 was kept, not allocated anew
    owner.array.Shrink(4);
    EXPECT_EQ(owner.array.count(), 0u);
    std::vector<bool> onlyTheFirst(SegmentedArray::kSegmentCount, false);
    onlyTheFirst[0] = true;
    EXPECT_EQ(SegmentsInPlace(owner.array), onlyTheFirst);
}

TEST(SegmentedArray, ShrinkingByMoreThanTheCountEmptiesIt) {
    Owner owner;
    for (int i = 0; i < 5; ++i) owner.array.AppendSlot();
    owner.array.Shrink(9);
    EXPECT_EQ(owner.array.count(), 0u);
    EXPECT_EQ(HighestSegment(owner.array), 0);
    EXPECT_EQ(owner.array.AppendSlot(), owner.storage.data());
}

TEST(SegmentedArray, TearDownLeavesTheOwnersStorageAlone) {
    // Under AddressSanitizer, releasing segment 0 (not heap memory of the array's own) would be
    // reported; the storage must also still be usable afterwards.
    uint8_t storage[2 * kItemSize];
    {
        SegmentedArray array(kItemSize, storage, storage + sizeof storage);
        for (int i = 0; i < 10; ++i) std::memset(array.AppendSlot(), 0x5A, kItemSize);
    }
    EXPECT_EQ(storage[0], 0x5A);
    EXPECT_EQ(storage[sizeof storage - 1], 0x5A);
}

TEST(SegmentedArray, RefusesToGrowBeyondItsLastSegment) {
    // One-byte elements and a one-byte first segment: 2^24 - 1 elements fill all 24 segments.
    uint8_t first[1];
    SegmentedArray array(1, first, first + 1);
    const uint32_t capacity = (1u << SegmentedArray::kSegmentCount) - 1;
    for (uint32_t i = 0; i < capacity; ++i) array.AppendSlot();
    EXPECT_TRUE(array.HasSegment(SegmentedArray::kSegmentCount - 1));
    EXPECT_THROW(array.AppendSlot(), DataOverflow);
    EXPECT_EQ(array.count(), capacity);
    EXPECT_EQ(static_cast<uint8_t*>(array.ElementAt(capacity - 1)) -
                  static_cast<uint8_t*>(array.ElementAt(capacity - 2)),
              1);
}

// Logs its constructions and destructions by value; the constructor throws for kRefused.
struct Logged {
    static constexpr int kRefused = -1;
    Logged(std::vector<int>& log, int value) : log_(log), value_(value) {
        if (value == kRefused) throw DataOverflow();
        log_.push_back(value);
    }
    ~Logged() { log_.push_back(-value_ - 100); }
    std::vector<int>& log_;
    int value_;
};

TEST(SegmentedList, RollsBackAFailedConstructionAndDestroysInReverse) {
    std::vector<int> log;
    {
        SegmentedList<Logged> list;
        for (int value : {1, 2, 3}) list.Emplace(log, value);
        EXPECT_THROW(list.Emplace(log, Logged::kRefused), DataOverflow);
        EXPECT_EQ(list.count(), 3u);
        EXPECT_EQ(list.at(2).value_, 3);
        EXPECT_EQ(&list.at(0), list.storage().ElementAt(0));
    }
    // The refused element was never constructed, so it is never destroyed.
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, -103, -102, -101}));
}

TEST(FloorLog2, MatchesShiftingAtEveryByteBoundary) {
    std::vector<uint32_t> values;
    for (uint32_t m = 1; m < 1100; ++m) values.push_back(m);
    for (int bit = 8; bit < 32; ++bit) {
        const uint32_t power = 1u << bit;
        values.insert(values.end(), {power - 1, power, power + 1});
    }
    values.push_back(0xFFFFFFFFu);
    for (uint32_t m : values) EXPECT_EQ(FloorLog2(m), ReferenceFloorLog2(m)) << m;
}

}  // namespace
