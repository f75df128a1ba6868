#pragma once

#include <cstddef>
#include <cstdint>

namespace tessaly {

class ByteReader;

// The standard icon size of the system the picture is drawn for.
constexpr int kStandardIconSize = 32;

// Where the chosen image of an icon file lies.
struct IconEntry {
    int width = 0; // as the directory says; 256 for a width byte of 0
    int height = 0;
    int bitCount = 0;
    std::size_t offset = 0;
    std::size_t size = 0;
};

// Reads the icon directory at the start of the file and picks the image
// nearest to the standard icon size, the one with more colours among equally
// near ones, the earlier one among equals. Every entry must lie inside the
// file.
IconEntry chooseIconEntry(ByteReader& reader);

} // namespace tessaly
