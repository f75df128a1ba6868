#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace tessaly {

// Little-endian reads from a block of file data that never step outside it:
// any read past the end raises the decoder's own "not valid" error, so a
// damaged length or offset in a file can never reach memory it does not own.
class ByteReader {
public:
    // Raises the decoder's own "not valid" error; it never returns.
    using Invalid = void (*)();

    ByteReader(const uint8_t* data, std::size_t size, Invalid invalid)
        : data_(data), size_(size), invalid_(invalid) {}

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

    // A reader of its own over the bytes not read yet.
    ByteReader rest() const { return ByteReader(data_ + pos_, size_ - pos_, invalid_); }

    [[noreturn]] void fail() const {
        invalid_();
        std::abort(); // an Invalid that returned would read past the end
    }

private:
    std::size_t need(std::size_t count) const {
        if (count > size_ - pos_)
            fail();
        return count;
    }

    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    Invalid invalid_;
};

} // namespace tessaly
