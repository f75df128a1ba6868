#pragma once

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QPointF>
#include <QRectF>

namespace tessaly::metafile {

// Raises "Metafile is not valid".
[[noreturn]] void throwInvalid();

// A little-endian cursor over one span of a metafile. Every read is checked
// against the end of the span: a field that would lie past it raises instead
// of reading outside the file.
class RecordReader {
public:
    RecordReader() = default;
    RecordReader(const char* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return size_ - pos_; }
    const char* data() const { return data_; }

    void seek(std::size_t offset);
    void skip(std::size_t bytes);
    // The span [offset, offset + length) of this one as a reader of its own.
    RecordReader sub(std::size_t offset, std::size_t length) const;
    bool has(std::size_t bytes) const { return bytes <= remaining(); }

    uint8_t u8();
    uint16_t u16();
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32();
    int32_t i32() { return int32_t(u32()); }
    float f32();
    QByteArray bytes(std::size_t count);

    // Points and rectangles as the two formats store them.
    QPointF pointS();       // x, y as 16-bit
    QPointF pointL();       // x, y as 32-bit
    QRectF rectL();         // left, top, right, bottom as 32-bit
    QRectF rectSReversed(); // bottom, right, top, left as 16-bit (WMF order)

private:
    const char* take(std::size_t bytes);

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// A rectangle from its four edges, in the order GDI records name them.
QRectF edgesRect(double left, double top, double right, double bottom);

} // namespace tessaly::metafile
