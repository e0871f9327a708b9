#pragma once

#include <cstdint>
#include <memory>

// A decoded picture: width x height pixels of red, green, blue, alpha, top row first. The empty
// image (0 x 0, no pixels) stands for "no picture". Move-only.
class IconImage {
  public:
    IconImage() = default;
    IconImage(uint32_t width, uint32_t height, std::unique_ptr<uint8_t[]> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}
    IconImage(IconImage&& other) noexcept;
    IconImage& operator=(IconImage&& other) noexcept;
    IconImage(const IconImage&) = delete;
    IconImage& operator=(const IconImage&) = delete;

    bool empty() const { return pixels_ == nullptr; }
    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }
    const uint8_t* pixels() const { return pixels_.get(); }
    uint8_t* pixels() { return pixels_.get(); }
    // Hands the pixels over (to the dialog that keeps them) and leaves the empty image.
    std::unique_ptr<uint8_t[]> ReleasePixels();

  private:
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    std::unique_ptr<uint8_t[]> pixels_;
};

// Decodes the first image of a Windows icon file when it is a 32-bit image with alpha of at
// most 64 x 64 pixels. Every other file, and every failure, yields the empty image.
IconImage DecodeIconFile(const char* path);
