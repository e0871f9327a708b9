#include "protocol/icon/icon_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scoped_temp_dir.h"

namespace {

constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kDirectoryEntrySize = 16;
constexpr uint32_t kInfoHeaderSize = 40;

void Put16(std::string& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

uint32_t Get32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The stored bytes (blue, green, red, alpha) of pixel x of stored row s, all distinct per pixel.
uint8_t StoredByte(uint32_t s, uint32_t x, int channel) {
    return static_cast<uint8_t>(x * 4 + s * 3 + channel * 61);
}

// 40 header bytes, the rows bottom first, then a 1-bit mask that the decoder ignores.
std::string ImageData(uint32_t width, uint32_t height, uint32_t bitsPerPixel = 32) {
    std::string data(kInfoHeaderSize, '\x28');
    const uint32_t bytesPerPixel = bitsPerPixel / 8;
    for (uint32_t s = 0; s < height; ++s) {
        for (uint32_t x = 0; x < width; ++x) {
            for (uint32_t c = 0; c < bytesPerPixel; ++c) {
                data += static_cast<char>(StoredByte(s, x, static_cast<int>(c)));
            }
        }
    }
    data.append(height * ((width + 31) / 32) * 4, '\0');
    return data;
}

struct Entry {
    uint32_t width;
    uint32_t height;
    uint32_t bitsPerPixel;
};

// An icon file with one directory entry per image and the images' data after the directory.
std::string IconFile(const std::vector<Entry>& entries) {
    std::string file(kDirectoryHeaderSize + kDirectoryEntrySize * entries.size(), '\0');
    Put16(file, 2, 1);
    Put16(file, 4, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = kDirectoryHeaderSize + kDirectoryEntrySize * i;
        const std::string data =
            ImageData(entries[i].width, entries[i].height, entries[i].bitsPerPixel);
        file[at] = static_cast<char>(entries[i].width & 0xFF);
        file[at + 1] = static_cast<char>(entries[i].height & 0xFF);
        Put16(file, at + 4, 1);
        Put16(file, at + 6, entries[i].bitsPerPixel);
        Put32(file, at + 8, static_cast<uint32_t>(data.size()));
        Put32(file, at + 12, static_cast<uint32_t>(file.size()));
        file += data;
    }
    return file;
}

IconImage DecodeBytes(const std::string& bytes) {
    ScopedTempDir dir;
    return DecodeIconFile(dir.Write("picture.ico", bytes).c_str());
}

void ExpectPixelsOf(const IconImage& image, uint32_t width, uint32_t height) {
    ASSERT_FALSE(image.empty());
    ASSERT_EQ(image.width(), width);
    ASSERT_EQ(image.height(), height);
    for (uint32_t row = 0; row < height; ++row) {
        const uint32_t stored = height - 1 - row;  // the first stored row is the bottom one
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* pixel = image.pixels() + (row * width + x) * 4;
            ASSERT_EQ(pixel[0], StoredByte(stored, x, 2)) << "red at " << x << "," << row;
            ASSERT_EQ(pixel[1], StoredByte(stored, x, 1)) << "green at " << x << "," << row;
            ASSERT_EQ(pixel[2], StoredByte(stored, x, 0)) << "blue at " << x << "," << row;
            ASSERT_EQ(pixel[3], StoredByte(stored, x, 3)) << "alpha at " << x << "," << row;
        }
    }
}

void ExpectNoImage(const IconImage& image) {
    EXPECT_TRUE(image.empty());
    EXPECT_EQ(image.width(), 0u);
    EXPECT_EQ(image.height(), 0u);
    EXPECT_EQ(image.pixels(), nullptr);
}

TEST(DecodeIconFile, Valid32BitIconsFlipRowsAndSwapChannels) {
    for (uint32_t side : {1u, 32u, 64u}) {
        SCOPED_TRACE(side);
        ExpectPixelsOf(DecodeBytes(IconFile({{side, side, 32}})), side, side);
    }
    ExpectPixelsOf(DecodeBytes(IconFile({{16, 48, 32}})), 16, 48);
}

TEST(DecodeIconFile, OnlyTheFirstEntryCounts) {
    ExpectNoImage(DecodeBytes(IconFile({{48, 48, 8}, {32, 32, 32}})));
    ExpectPixelsOf(DecodeBytes(IconFile({{32, 32, 32}, {16, 16, 32}})), 32, 32);
    std::string mostImages = IconFile({{32, 32, 32}});
    Put16(mostImages, 4, 255);  // the largest count allowed; only the first entry is read
    ExpectPixelsOf(DecodeBytes(mostImages), 32, 32);
}

TEST(DecodeIconFile, ImageDataAreReadAtTheDeclaredOffset) {
    std::string file = IconFile({{8, 8, 32}});
    const size_t dataAt = Get32(file, 18);
    file.insert(dataAt, 100, '\x77');
    Put32(file, 18, static_cast<uint32_t>(dataAt + 100));
    ExpectPixelsOf(DecodeBytes(file), 8, 8);
}

struct FieldChange {
    const char* field;
    size_t offset;
    int width;  // bytes
    uint32_t value;
};

TEST(DecodeIconFile, EachRefusedHeaderFieldMeansNoImage) {
    const FieldChange changes[] = {
        {"reserved", 0, 2, 1},
        {"type cursor", 2, 2, 2},
        {"no images", 4, 2, 0},
        {"256 images", 4, 2, 256},
        {"width 256", 6, 1, 0},
        {"width 65", 6, 1, 65},
        {"height 256", 7, 1, 0},
        {"height 65", 7, 1, 65},
        {"palette", 8, 1, 16},
        {"entry reserved", 9, 1, 1},
        {"no planes", 10, 2, 0},
        {"two planes", 10, 2, 2},
        {"24 bits", 12, 2, 24},
        {"8 bits", 12, 2, 8},
        {"size 0", 14, 4, 0},
        {"size 32897", 14, 4, 32897},
        {"size 4 GiB - 1", 14, 4, 0xFFFFFFFFu},
    };
    const std::string valid = IconFile({{32, 32, 32}});
    ASSERT_FALSE(DecodeBytes(valid).empty());
    // The largest sides and the largest size allowed, with a byte more in the file: there each
    // row is refused for its own field alone, not because the data would not fit.
    std::string largest = IconFile({{64, 64, 32}});
    Put32(largest, 14, 32896);
    largest.resize(kDirectoryHeaderSize + kDirectoryEntrySize + 32897, '\0');
    ExpectPixelsOf(DecodeBytes(largest), 64, 64);
    for (const std::string& base : {valid, largest}) {
        for (const FieldChange& change : changes) {
            std::string file = base;
            if (change.width == 1) file[change.offset] = static_cast<char>(change.value);
            if (change.width == 2) Put16(file, change.offset, change.value);
            if (change.width == 4) Put32(file, change.offset, change.value);
            EXPECT_TRUE(DecodeBytes(file).empty()) << change.field << " of " << base.size();
        }
    }
}

TEST(DecodeIconFile, UnderstatedImageSizesMeanNoImage) {
    std::string file = IconFile({{32, 32, 32}});
    const uint32_t rowsEnd = kInfoHeaderSize + 32 * 32 * 4;
    Put32(file, 14, rowsEnd);  // without the mask, the rows still fit
    ExpectPixelsOf(DecodeBytes(file), 32, 32);
    Put32(file, 14, rowsEnd - 1);
    ExpectNoImage(DecodeBytes(file));
    Put32(file, 14, kInfoHeaderSize);
    ExpectNoImage(DecodeBytes(file));
}

TEST(DecodeIconFile, TruncatedFilesMeanNoImage) {
    const std::string valid = IconFile({{32, 32, 32}});
    const uint32_t rowsEnd = Get32(valid, 18) + kInfoHeaderSize + 32 * 32 * 4;
    ExpectNoImage(DecodeBytes(valid.substr(0, rowsEnd - 1)));       // ends inside the rows
    ExpectNoImage(DecodeBytes(valid.substr(0, valid.size() - 1)));  // ends inside the mask
    ExpectNoImage(DecodeBytes(valid.substr(0, 21)));  // not even the fields that are checked
    ExpectNoImage(DecodeBytes(""));

    std::string dataAtTheEnd = valid;
    Put32(dataAtTheEnd, 18, static_cast<uint32_t>(valid.size()));
    ExpectNoImage(DecodeBytes(dataAtTheEnd));
    std::string dataBeyondTheEnd = valid;
    Put32(dataBeyondTheEnd, 18, static_cast<uint32_t>(valid.size() + 1000));
    ExpectNoImage(DecodeBytes(dataBeyondTheEnd));
}

TEST(DecodeIconFile, MissingOrAbsentFilesMeanNoImage) {
    ScopedTempDir dir;
    ExpectNoImage(DecodeIconFile(dir.PathOf("missing.ico").c_str()));
    ExpectNoImage(DecodeIconFile(nullptr));
    ExpectNoImage(DecodeIconFile(""));
}

TEST(IconImage, PixelsMoveWithTheImage) {
    IconImage image = DecodeBytes(IconFile({{2, 3, 32}}));
    const uint8_t* pixels = image.pixels();
    ASSERT_NE(pixels, nullptr);
    IconImage moved(std::move(image));
    ExpectNoImage(image);
    EXPECT_EQ(moved.pixels(), pixels);
    EXPECT_EQ(moved.width(), 2u);
    std::unique_ptr<uint8_t[]> taken = moved.ReleasePixels();
    EXPECT_EQ(taken.get(), pixels);
    ExpectNoImage(moved);
}

}  // namespace
