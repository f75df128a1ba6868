#pragma once

// Builds small wmf and emf files from records, for tests that know exactly
// what GDI would paint.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <QByteArray>
#include <QRect>
#include <QString>

namespace tessaly::test {

// Little-endian parameters of one record.
class Params {
public:
    Params& u8(uint8_t v) { return raw(&v, 1); }
    Params& u16(uint16_t v) { return le(v, 2); }
    Params& i16(int16_t v) { return le(uint16_t(v), 2); }
    Params& u32(uint32_t v) { return le(v, 4); }
    Params& i32(int32_t v) { return le(uint32_t(v), 4); }
    Params& f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        return u32(bits);
    }
    Params& words(std::initializer_list<int> values) {
        for (int v : values)
            i16(int16_t(v));
        return *this;
    }
    Params& longs(std::initializer_list<int> values) {
        for (int v : values)
            i32(v);
        return *this;
    }
    Params& colour(uint8_t r, uint8_t g, uint8_t b) { return u8(r).u8(g).u8(b).u8(0); }
    Params& bytes(const QByteArray& b) { return raw(b.constData(), std::size_t(b.size())); }
    Params& pad(std::size_t multiple) {
        while (data.size() % qsizetype(multiple))
            u8(0);
        return *this;
    }
    QByteArray data;

private:
    Params& le(uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            data.append(char((v >> (8 * i)) & 0xFF));
        return *this;
    }
    Params& raw(const void* p, std::size_t n) {
        data.append(static_cast<const char*>(p), qsizetype(n));
        return *this;
    }
};

// A wmf; placeable when given a bounding box and units per inch.
class WmfBuilder {
public:
    explicit WmfBuilder(int objects = 8) : objects_(objects) {}
    WmfBuilder(QRect box, int unitsPerInch, int objects = 8) : objects_(objects) {
        Params h;
        h.u32(0x9AC6CDD7)
            .u16(0)
            .words({box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
        h.u16(uint16_t(unitsPerInch)).u32(0).u16(0);
        placeable_ = h.data;
    }
    WmfBuilder& record(uint16_t function, const Params& p = Params()) {
        Params r;
        r.u32(uint32_t(3 + (p.data.size() + 1) / 2)).u16(function).bytes(p.data).pad(2);
        records_ += r.data;
        return *this;
    }
    QByteArray finish() const {
        Params eof;
        eof.u32(3).u16(0);
        const QByteArray records = records_ + eof.data;
        Params h;
        h.u16(1).u16(9).u16(0x0300).u32(uint32_t(9 + records.size() / 2));
        h.u16(uint16_t(objects_)).u32(0).u16(0);
        return placeable_ + h.data + records;
    }

private:
    int objects_;
    QByteArray placeable_;
    QByteArray records_;
};

// An emf with its frame in 0.01 mm on a reference device of the given
// pixels and millimetres.
class EmfBuilder {
public:
    EmfBuilder(QRect frame, QSize devicePixels, QSize deviceMm, int handles = 8)
        : frame_(frame), pixels_(devicePixels), mm_(deviceMm), handles_(handles) {}
    EmfBuilder& record(uint32_t type, const Params& p = Params()) {
        Params r;
        r.u32(type).u32(uint32_t(8 + p.data.size())).bytes(p.data);
        records_ += r.data;
        ++count_;
        return *this;
    }
    QByteArray finish() const {
        Params eof;
        eof.u32(14).u32(20).u32(0).u32(0).u32(20);
        Params h;
        h.u32(1).u32(88).longs({0, 0, 0, 0});
        h.longs({frame_.left(), frame_.top(), frame_.left() + frame_.width(),
                 frame_.top() + frame_.height()});
        h.u32(0x464D4520).u32(0x10000);
        h.u32(uint32_t(88 + records_.size() + 20)).u32(uint32_t(count_ + 2));
        h.u16(uint16_t(handles_)).u16(0).u32(0).u32(0).u32(0);
        h.longs({pixels_.width(), pixels_.height(), mm_.width(), mm_.height()});
        return h.data + records_ + eof.data;
    }

private:
    QRect frame_;
    QSize pixels_, mm_;
    int handles_;
    int count_ = 0;
    QByteArray records_;
};

} // namespace tessaly::test
