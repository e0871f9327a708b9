#include "protocol/icon/icon_decoder.h"

#include <cstddef>
#include <utility>

#include "io/data_receiver.h"
#include "io/file_reading.h"
#include "protocol/icon/pixel_format.h"

namespace {

// The icon directory header and its first entry. Only the first entry is ever looked at.
constexpr size_t kHeaderBufferSize = 38;
// Directory header fields, little-endian.
constexpr size_t kReservedAt = 0;
constexpr size_t kTypeAt = 2;
constexpr size_t kImageCountAt = 4;
constexpr size_t kDirectoryHeaderSize = 6;
// Fields of the first directory entry, which follows the header.
constexpr size_t kEntryAt = kDirectoryHeaderSize;
constexpr size_t kWidthAt = kEntryAt + 0;
constexpr size_t kHeightAt = kEntryAt + 1;
constexpr size_t kColourCountAt = kEntryAt + 2;
constexpr size_t kEntryReservedAt = kEntryAt + 3;
constexpr size_t kPlanesAt = kEntryAt + 4;
constexpr size_t kBitCountAt = kEntryAt + 6;
constexpr size_t kImageSizeAt = kEntryAt + 8;
constexpr size_t kImageOffsetAt = kEntryAt + 12;
constexpr size_t kDirectoryEntrySize = 16;
constexpr size_t kHeaderBytesChecked = kEntryAt + kDirectoryEntrySize;
static_assert(kHeaderBytesChecked <= kHeaderBufferSize);

// The values of the one shape this program shows.
constexpr uint16_t kIconType = 1;
constexpr uint16_t kMaxImageCount = 255;  // the high byte of the count must be 0
constexpr uint32_t kMaxSide = 64;
constexpr uint16_t kPlanes = 1;
constexpr uint16_t kBitsPerPixel = 32;
constexpr uint32_t kMaxImageSize = 32896;

// The image data: a bitmap information header that is skipped, then the rows bottom first.
constexpr uint32_t kBitmapInfoHeaderSize = 40;

struct IconEntry {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t imageSize = 0;
    uint32_t imageOffset = 0;
};

uint16_t Read16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t Read32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
           (uint32_t{bytes[3]} << 24);
}

// Fills [begin, end) with the file's bytes from `offset` on; returns the count that arrived.
size_t ReadFilePrefix(const char* path, uint32_t offset, uint8_t* begin, uint8_t* end) {
    FillTarget target(begin, end);
    BufferFiller filler(target, CopyFilter());
    ReadFileInto(path, filler, offset);
    return static_cast<size_t>(target.cursor - target.begin);
}

// The first entry, if the header describes an icon of the one shape this program shows.
bool ReadIconEntry(const uint8_t* header, size_t headerBytes, IconEntry& entry) {
    if (headerBytes < kHeaderBytesChecked) return false;
    if (Read16(header + kReservedAt) != 0 || Read16(header + kTypeAt) != kIconType) return false;
    const uint16_t imageCount = Read16(header + kImageCountAt);
    if (imageCount < 1 || imageCount > kMaxImageCount) return false;
    entry.width = header[kWidthAt];
    entry.height = header[kHeightAt];
    if (entry.width < 1 || entry.width > kMaxSide) return false;
    if (entry.height < 1 || entry.height > kMaxSide) return false;
    if (header[kColourCountAt] != 0 || header[kEntryReservedAt] != 0) return false;
    if (Read16(header + kPlanesAt) != kPlanes || Read16(header + kBitCountAt) != kBitsPerPixel) {
        return false;
    }
    entry.imageSize = Read32(header + kImageSizeAt);
    entry.imageOffset = Read32(header + kImageOffsetAt);
    if (entry.imageSize < 1 || entry.imageSize > kMaxImageSize) return false;
    // The rows must really fit in the declared data.
    const uint32_t pixelBytes = entry.width * entry.height * kBytesPerPixel;
    return entry.imageSize >= kBitmapInfoHeaderSize + pixelBytes;
}

// Bottom-up blue, green, red, alpha rows to top-down red, green, blue, alpha pixels.
std::unique_ptr<uint8_t[]> ConvertRows(const IconEntry& entry, const uint8_t* image) {
    const size_t rowBytes = size_t{entry.width} * kBytesPerPixel;
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[rowBytes * entry.height]);
    const uint8_t* source = image + kBitmapInfoHeaderSize;
    for (uint32_t storedRow = 0; storedRow < entry.height; ++storedRow) {
        uint8_t* target = pixels.get() + (entry.height - 1 - storedRow) * rowBytes;
        for (uint32_t x = 0; x < entry.width;
             ++x, source += kBytesPerPixel, target += kBytesPerPixel) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = source[3];
        }
    }
    return pixels;
}

IconImage Decode(const char* path) {
    uint8_t header[kHeaderBufferSize] = {};
    const size_t headerBytes = ReadFilePrefix(path, 0, header, header + kHeaderBufferSize);
    IconEntry entry;
    if (!ReadIconEntry(header, headerBytes, entry)) return IconImage();

    std::unique_ptr<uint8_t[]> image(new uint8_t[entry.imageSize]);
    const size_t imageBytes =
        ReadFilePrefix(path, entry.imageOffset, image.get(), image.get() + entry.imageSize);
    if (imageBytes < entry.imageSize) return IconImage();  // the file ends inside the data

    return IconImage(entry.width, entry.height, ConvertRows(entry, image.get()));
}

}  // namespace

IconImage::IconImage(IconImage&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      pixels_(std::move(other.pixels_)) {}

IconImage& IconImage::operator=(IconImage&& other) noexcept {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::move(other.pixels_);
    return *this;
}

std::unique_ptr<uint8_t[]> IconImage::ReleasePixels() {
    width_ = 0;
    height_ = 0;
    return std::move(pixels_);
}

IconImage DecodeIconFile(const char* path) {
    if (path == nullptr) return IconImage();
    try {
        return Decode(path);
    } catch (...) {
        // A missing, unreadable or truncated picture just means the dialog shows none.
        return IconImage();
    }
}
