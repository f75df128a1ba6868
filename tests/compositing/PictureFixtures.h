#pragma once

// Small picture files made in the tests with the libraries' own writers, or
// byte by byte where the format is a simple container (BMP, ICO).

#include <cstdint>
#include <cstring>
#include <gif_lib.h>
#include <initializer_list>
#include <png.h>
#include <QByteArray>
#include <QRgb>
#include <tiffio.h>
#include <vector>

namespace fixtures {

// Little-endian byte building.
struct Bytes {
    QByteArray data;
    Bytes& u8(unsigned v) {
        data.append(char(v & 0xFF));
        return *this;
    }
    Bytes& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Bytes& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Bytes& raw(const QByteArray& more) {
        data.append(more);
        return *this;
    }
    Bytes& raw(std::initializer_list<uint8_t> more) {
        for (uint8_t b : more)
            u8(b);
        return *this;
    }
    Bytes& padTo4(int rowStart) {
        while ((data.size() - rowStart) % 4)
            u8(0);
        return *this;
    }
};

// A 40-byte BITMAPINFOHEADER.
inline QByteArray infoHeader(int width, int height, int bits, uint32_t compression = 0,
                             uint32_t coloursUsed = 0) {
    Bytes b;
    b.u32(40).u32(uint32_t(width)).u32(uint32_t(height)).u16(1).u16(bits).u32(compression);
    b.u32(0).u32(2835).u32(2835).u32(coloursUsed).u32(0);
    return b.data;
}

inline QByteArray palette(std::initializer_list<QRgb> colours) {
    Bytes b;
    for (QRgb c : colours)
        b.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c)).u8(0);
    return b.data;
}

// A BMP file: header, palette or masks, then the pixel data as given.
inline QByteArray bmpFile(const QByteArray& dib, const QByteArray& paletteOrMasks,
                          const QByteArray& pixels) {
    Bytes b;
    const uint32_t offset = uint32_t(14 + dib.size() + paletteOrMasks.size());
    b.u8('B').u8('M').u32(offset + uint32_t(pixels.size())).u32(0).u32(offset);
    return b.raw(dib).raw(paletteOrMasks).raw(pixels).data;
}

// A run-length coded BMP (RLE8 for 8 bits, RLE4 for 4) of the given codes.
inline QByteArray rleBmpFile(int width, int height, int bits, std::initializer_list<QRgb> colours,
                             std::initializer_list<uint8_t> codes) {
    return bmpFile(infoHeader(width, height, bits, bits == 8 ? 1 : 2, uint32_t(colours.size())),
                   palette(colours), Bytes().raw(codes).data);
}

// Sets the file size field of a BMP file.
inline QByteArray withFileSize(QByteArray bmp, uint32_t size) {
    for (int i = 0; i < 4; ++i)
        bmp[2 + i] = char((size >> (8 * i)) & 0xFF);
    return bmp;
}

// An icon file of the given images, each described in the directory.
struct IconImage {
    int size, bits;
    QByteArray data;
};

inline QByteArray icoFile(const std::vector<IconImage>& images) {
    Bytes b;
    b.u16(0).u16(1).u16(unsigned(images.size()));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (const IconImage& i : images) {
        b.u8(i.size & 0xFF).u8(i.size & 0xFF).u8(0).u8(0).u16(1).u16(i.bits);
        b.u32(uint32_t(i.data.size())).u32(offset);
        offset += uint32_t(i.data.size());
    }
    for (const IconImage& i : images)
        b.raw(i.data);
    return b.data;
}

// PNG written by libpng. rows hold the samples as the colour type needs.
struct PngSpec {
    int width = 0, height = 0, colourType = PNG_COLOR_TYPE_RGB, bitDepth = 8;
    std::vector<std::vector<uint8_t>> rows;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;
    bool colourKey = false;
    png_color_16 key{};
};

inline void appendToArray(png_structp png, png_bytep data, png_size_t size) {
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<char*>(data), qsizetype(size));
}

inline QByteArray pngFile(const PngSpec& s) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToArray, nullptr);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.bitDepth, s.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty())
        png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
    if (!s.paletteAlpha.empty())
        png_set_tRNS(png, info, s.paletteAlpha.data(), int(s.paletteAlpha.size()), nullptr);
    if (s.colourKey)
        png_set_tRNS(png, info, nullptr, 0, &s.key);
    png_write_info(png, info);
    for (const auto& row : s.rows)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// GIF written by giflib: one frame inside a logical screen.
struct GifSpec {
    int screenWidth = 0, screenHeight = 0, background = 0;
    std::vector<GifColorType> colours; // the global table, a power of 2 long
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<GifPixelType> pixels; // width x height indices
    int transparent = -1;             // a graphic control block when >= 0
};

inline int appendGif(GifFileType* gif, const GifByteType* data, int size) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size);
    return size;
}

inline QByteArray gifFile(const GifSpec& s) {
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGif, &error);
    ColorMapObject* map = GifMakeMapObject(int(s.colours.size()), s.colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, s.screenWidth, s.screenHeight, 8, s.background, map);
    if (s.transparent >= 0) {
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = s.transparent;
        GifByteType block[4];
        EGifGCBToExtension(&gcb, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
    }
    EGifPutImageDesc(gif, s.left, s.top, s.width, s.height, false, nullptr);
    std::vector<GifPixelType> pixels = s.pixels;
    for (int y = 0; y < s.height; ++y)
        EGifPutLine(gif, pixels.data() + std::size_t(y) * std::size_t(s.width), s.width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// An 8-bit RGBA TIFF with unassociated alpha, written by libtiff to path.
inline void writeRgbaTiff(const char* path, int width, int height,
                          const std::vector<uint8_t>& rgba) {
    TIFF* tif = TIFFOpen(path, "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(height));
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> row(rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
        TIFFWriteScanline(tif, row.data(), uint32_t(y), 0);
    }
    TIFFClose(tif);
}

} // namespace fixtures
