#include "ui/picture_layout.h"

#include "protocol/icon/pixel_format.h"

namespace {
constexpr unsigned kOpaque = 255;
constexpr int kColourBytes = 3;
}  // namespace

void BlendOverColor(uint8_t* pixels, uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                    uint8_t blue) {
    if (pixels == nullptr) return;
    const unsigned background[kColourBytes] = {red, green, blue};
    const uint64_t count = static_cast<uint64_t>(width) * height;
    for (uint64_t i = 0; i < count; ++i) {
        uint8_t* pixel = pixels + i * kBytesPerPixel;
        const unsigned alpha = pixel[3];
        for (int c = 0; c < kColourBytes; ++c) {
            pixel[c] = static_cast<uint8_t>(pixel[c] * alpha / kOpaque +
                                            background[c] * (kOpaque - alpha) / kOpaque);
        }
    }
}

PictureRoom MakeRoomForPicture(ControlBox control, uint32_t imageWidth, uint32_t imageHeight) {
    const int32_t margin = control.x;
    const int32_t width = static_cast<int32_t>(imageWidth);
    PictureRoom room;
    room.control = {margin + width + margin, control.y, control.width - width - margin,
                    control.height};
    room.pictureX = margin;
    // Compared unsigned, as a negative height can never be taller than the picture.
    const bool shorter = imageHeight < static_cast<uint32_t>(control.height);
    room.pictureY = shorter
                        ? control.y + static_cast<int32_t>(
                                          (static_cast<uint32_t>(control.height) - imageHeight) / 2)
                        : control.y;
    return room;
}
