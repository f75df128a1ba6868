#pragma once

#include <cstdint>

// A photo-like test image: smooth gradients with some fine texture, so that
// neither coder finds it unusually easy. row(y) gives the y-th row of
// width 3-byte pixels to paint.
template <typename Row> void paintPhotoLike(int width, int height, Row row) {
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        uint8_t* p = row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 29);
            p[0] = uint8_t((x * 255 / width + grain) & 0xFF);
            p[1] = uint8_t((y * 255 / height + grain) & 0xFF);
            p[2] = uint8_t(((x + y) / 40 + grain) & 0xFF);
        }
    }
}
