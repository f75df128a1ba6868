#pragma once

// TIFF files of any sample layout, written in the tests by libtiff's own
// writer: the layouts that no picture program writes, with samples chosen
// to show each conversion.

#include <bit>
#include <cstdint>
#include <cstring>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <tiffio.h>
#include <vector>

namespace fixtures {

struct TiffSpec {
    uint32_t width = 1, height = 1;
    uint16_t photometric = PHOTOMETRIC_RGB;
    uint16_t samplesPerPixel = 3;
    uint16_t bitsPerSample = 8;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    std::vector<uint16_t> extraSamples; // the ExtraSamples tag, when not empty
    bool planar = false;
    uint32_t tileSize = 0; // square tiles of this size, or strips of rowsPerStrip
    uint32_t rowsPerStrip = 1;
    bool bigEndian = false;
    uint16_t compression = COMPRESSION_NONE;
    // Every pixel's samples in turn, as stored: integers, floating-point
    // values, or the bit patterns of half floats.
    std::vector<double> samples;
};

// Appends samples to a row: packed most significant bit first below 8 bits
// or between byte sizes, else in the machine's byte order (libtiff turns
// them into the file's).
class SampleRow {
public:
    SampleRow(const TiffSpec& spec) : spec_(spec) {}

    void add(double v) {
        const int bits = spec_.bitsPerSample;
        const bool real = spec_.sampleFormat == SAMPLEFORMAT_IEEEFP;
        if (real && bits == 32)
            addBytes(float(v));
        else if (real && bits == 64)
            addBytes(v);
        else if (bits == 16)
            addBytes(uint16_t(v));
        else if (bits == 32)
            addBytes(uint32_t(v));
        else if (bits == 24)
            addBytes24(uint32_t(v));
        else
            addBits(uint32_t(v), bits);
    }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    template <typename T> void addBytes(T v) {
        uint8_t b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        bytes_.insert(bytes_.end(), b, b + sizeof v);
    }
    void addBytes24(uint32_t v) {
        const uint8_t lo = v & 0xFF, mid = (v >> 8) & 0xFF, hi = (v >> 16) & 0xFF;
        if constexpr (std::endian::native == std::endian::little)
            bytes_.insert(bytes_.end(), {lo, mid, hi});
        else
            bytes_.insert(bytes_.end(), {hi, mid, lo});
    }
    void addBits(uint32_t v, int bits) {
        for (int b = bits - 1; b >= 0; --b, ++bit_) {
            if (bit_ % 8 == 0)
                bytes_.push_back(0);
            bytes_.back() |= uint8_t(((v >> b) & 1) << (7 - bit_ % 8));
        }
    }

    const TiffSpec& spec_;
    std::vector<uint8_t> bytes_;
    int bit_ = 0;
};

// The bytes of the chunk (strip or tile) at (x0, y0), w x h pixels, of one
// plane (or all samples when interleaved); pixels beyond the picture are 0.
inline std::vector<uint8_t> chunkBytes(const TiffSpec& s, uint32_t x0, uint32_t y0, uint32_t w,
                                       uint32_t h, int plane) {
    std::vector<uint8_t> out;
    const int first = s.planar ? plane : 0;
    const int last = s.planar ? plane : s.samplesPerPixel - 1;
    for (uint32_t y = y0; y < y0 + h; ++y) {
        SampleRow row(s);
        for (uint32_t x = x0; x < x0 + w; ++x)
            for (int c = first; c <= last; ++c)
                row.add(x < s.width && y < s.height
                            ? s.samples[(std::size_t(y) * s.width + x) * s.samplesPerPixel + c]
                            : 0);
        const std::vector<uint8_t> bytes = row.take();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

inline void writeTags(TIFF* tif, const TiffSpec& s) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, s.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, s.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, s.samplesPerPixel);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, s.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, s.sampleFormat);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, s.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, s.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, s.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    if (!s.extraSamples.empty())
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(s.extraSamples.size()),
                     s.extraSamples.data());
    if (s.tileSize) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, s.tileSize);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, s.tileSize);
    } else {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, s.rowsPerStrip);
    }
}

inline void writeChunks(TIFF* tif, const TiffSpec& s) {
    const int planes = s.planar ? s.samplesPerPixel : 1;
    const uint32_t w = s.tileSize ? s.tileSize : s.width;
    const uint32_t h = s.tileSize ? s.tileSize : s.rowsPerStrip;
    for (int p = 0; p < planes; ++p) {
        for (uint32_t y = 0; y < s.height; y += h) {
            for (uint32_t x = 0; x < s.width; x += w) {
                const uint32_t rows = s.tileSize ? h : std::min(h, s.height - y);
                std::vector<uint8_t> bytes = chunkBytes(s, x, y, w, rows, p);
                if (s.tileSize)
                    TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, x, y, 0, uint16_t(p)),
                                         bytes.data(), tmsize_t(bytes.size()));
                else
                    TIFFWriteEncodedStrip(tif, TIFFComputeStrip(tif, y, uint16_t(p)), bytes.data(),
                                          tmsize_t(bytes.size()));
            }
        }
    }
}

// The file libtiff writes for the spec.
inline QByteArray tiffFile(const TiffSpec& s) {
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("built.tif")));
    TIFF* tif = TIFFOpen(path.constData(), s.bigEndian ? "wb" : "wl");
    if (!tif)
        return {};
    writeTags(tif, s);
    writeChunks(tif, s);
    TIFFClose(tif);
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace fixtures
