#pragma once

// The picture beside a dialog's message: composing it over the button face and making room for it.

#include <cstdint>

// Composites RGBA pixels in place over an opaque background colour: each colour byte becomes
// floor(V * A / 255) + floor(K * (255 - A) / 255); alpha is left as it is.
void BlendOverColor(uint8_t* pixels, uint32_t width, uint32_t height, uint8_t red, uint8_t green,
                    uint8_t blue);

struct ControlBox {  // a control's position in client coordinates and its size
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

struct PictureRoom {
    ControlBox control;  // the text control, moved right of the picture
    int32_t pictureX = 0;
    int32_t pictureY = 0;
};

// Puts the picture where the control's left part was and moves the control's left edge right by
// the picture's width plus the control's own left margin (its x), keeping its right edge. The
// picture is centred on the control's height when it is shorter, else aligned with its top.
PictureRoom MakeRoomForPicture(ControlBox control, uint32_t imageWidth, uint32_t imageHeight);
