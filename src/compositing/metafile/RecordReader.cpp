#include "compositing/metafile/RecordReader.h"

#include "platform/Error.h"

#include <cstring>

namespace tessaly::metafile {

void throwInvalid() {
    throw Error(QStringLiteral("Metafile is not valid"));
}

void RecordReader::seek(std::size_t offset) {
    if (offset > size_)
        throwInvalid();
    pos_ = offset;
}

void RecordReader::skip(std::size_t bytes) {
    take(bytes);
}

RecordReader RecordReader::sub(std::size_t offset, std::size_t length) const {
    if (offset > size_ || length > size_ - offset)
        throwInvalid();
    return RecordReader(data_ + offset, length);
}

const char* RecordReader::take(std::size_t bytes) {
    if (bytes > remaining())
        throwInvalid();
    const char* p = data_ + pos_;
    pos_ += bytes;
    return p;
}

uint8_t RecordReader::u8() {
    return uint8_t(*take(1));
}

uint16_t RecordReader::u16() {
    const auto* p = reinterpret_cast<const uint8_t*>(take(2));
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t RecordReader::u32() {
    const auto* p = reinterpret_cast<const uint8_t*>(take(4));
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

float RecordReader::f32() {
    const uint32_t bits = u32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray RecordReader::bytes(std::size_t count) {
    const char* p = take(count);
    return QByteArray(p, qsizetype(count));
}

QPointF RecordReader::pointS() {
    const double x = i16();
    return QPointF(x, i16());
}

QPointF RecordReader::pointL() {
    const double x = i32();
    return QPointF(x, i32());
}

QRectF RecordReader::rectL() {
    const double left = i32(), top = i32(), right = i32();
    return edgesRect(left, top, right, i32());
}

QRectF RecordReader::rectSReversed() {
    const double bottom = i16(), right = i16(), top = i16();
    return edgesRect(i16(), top, right, bottom);
}

QRectF edgesRect(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

} // namespace tessaly::metafile
