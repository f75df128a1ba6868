#pragma once

namespace tessaly {

// How a channel of a 16- or 32-bit pixel that is not 8 bits wide becomes
// 8 bits: rounded to the nearest level, or truncated.
enum class DibWidening { Rounded, Truncated };

// What a reader of device-independent bitmaps makes of one it cannot read
// whole. A picture file (bmp, ico) is the whole picture: any damage refuses
// it. A bitmap inside a metafile is one drawing among many, so the player
// draws as much of it as it can, as the system's own playback does:
// - a header of an unknown size or with planes other than 1 is read anyway,
//   and bit-field masks are taken as they are, empty or scattered;
// - a bitmap it cannot draw at all (depth, compression, size) is left out:
//   its caller gets a null image instead of an error;
// - a colour table longer than its span is cut to the span;
// - a colour index beyond the table is black;
// - runs above the bitmap's top are dropped, jumps past its edges stop at
//   them, run data that end early end the bitmap, and a top-down header on
//   run-length data is read bottom-up.
struct DibPolicy {
    bool drawDamaged = false;
    DibWidening widening = DibWidening::Rounded;
};

// The policy of picture files.
inline constexpr DibPolicy kDibFilePolicy{};

} // namespace tessaly
