#pragma once

#include "platform/Error.h"

#include <cstddef>
#include <cstdint>

namespace tessaly {

// Little-endian reads from a block of file data that never step outside it:
// any read past the end raises the decoder's own "not valid" error, so a
// damaged length or offset in a file can never reach memory it does not own.
class ByteReader {
public:
    ByteReader(const uint8_t* data, std::size_t size, const char* invalidMessage)
        : data_(data), size_(size), invalid_(invalidMessage) {}

    std::size_t size() const { return size_; }
    std::size_t pos() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }

    void seek(std::size_t pos) {
        if (pos > size_)
            fail();
        pos_ = pos;
    }
    void skip(std::size_t count) { take(count); }

    uint8_t u8() { return *take(1); }
    uint16_t u16() {
        const uint8_t* p = take(2);
        return uint16_t(p[0] | (p[1] << 8));
    }
    uint32_t u32() {
        const uint8_t* p = take(4);
        return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
               (uint32_t(p[3]) << 24);
    }
    int32_t i32() { return int32_t(u32()); }

    // A pointer to the next count bytes, which then count as read.
    const uint8_t* take(std::size_t count) {
        need(count);
        const uint8_t* p = data_ + pos_;
        pos_ += count;
        return p;
    }

    [[noreturn]] void fail() const { throw Error(QString::fromLatin1(invalid_)); }

private:
    std::size_t need(std::size_t count) const {
        if (count > size_ - pos_)
            fail();
        return count;
    }

    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    const char* invalid_;
};

} // namespace tessaly
