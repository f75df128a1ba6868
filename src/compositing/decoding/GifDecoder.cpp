#include "compositing/decoding/GifDecoder.h"

#include "compositing/picture/Bitmap24.h"
#include "compositing/picture/RasterPicture.h"
#include "platform/Error.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <vector>

namespace tessaly {

namespace {

// The system's window colour, shown where a GIF without a global colour
// table has no background colour of its own.
constexpr QRgb kWindowColour = 0xFFFFFFFF;

struct GifSource {
    const uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

int readInput(GifFileType* gif, GifByteType* out, int count) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    const std::size_t n = std::min(std::size_t(std::max(count, 0)), src->size - src->pos);
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
    return int(n);
}

[[noreturn]] void fail(const char* reason) {
    throw Error(QStringLiteral("GIF image is not valid: %1").arg(QString::fromLatin1(reason)));
}

[[noreturn]] void failWith(int code) {
    const char* text = GifErrorString(code);
    fail(text ? text : "unknown error");
}

struct GifHandle {
    GifFileType* gif = nullptr;
    ~GifHandle() {
        int ignored = 0;
        if (gif)
            DGifCloseFile(gif, &ignored);
    }
    void check(int result) const {
        if (result == GIF_ERROR)
            failWith(gif->Error);
    }
};

// Reads one extension; a graphic control block sets the transparent index
// that applies to the next image.
void readExtension(GifHandle& h, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    h.check(DGifGetExtension(h.gif, &code, &block));
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            transparent = gcb.TransparentColor;
    }
    while (block)
        h.check(DGifGetExtensionNext(h.gif, &block));
}

QRgb backgroundColour(const GifFileType* gif) {
    const ColorMapObject* map = gif->SColorMap;
    if (!map)
        return kWindowColour;
    if (gif->SBackGroundColor < 0 || gif->SBackGroundColor >= map->ColorCount)
        return kWindowColour;
    const GifColorType& c = map->Colors[gif->SBackGroundColor];
    return qRgb(c.Red, c.Green, c.Blue);
}

void fill(QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x, p += 3) {
            p[0] = uint8_t(qBlue(colour));
            p[1] = uint8_t(qGreen(colour));
            p[2] = uint8_t(qRed(colour));
        }
    }
}

// The frame's row that the n-th stored line fills.
int frameRow(int n, int height, bool interlaced) {
    if (!interlaced)
        return n;
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int lines = (height - kStart[pass] + kStep[pass] - 1) / kStep[pass];
        if (n < lines)
            return kStart[pass] + n * kStep[pass];
        n -= std::max(lines, 0);
    }
    return -1;
}

void storeLine(QImage& image, const GifImageDesc& d, int row, const GifPixelType* line,
               const ColorMapObject* map) {
    const int y = d.Top + row;
    if (y < 0 || y >= image.height())
        return; // outside the logical screen
    uint8_t* out = image.scanLine(y);
    const int end = std::min(d.Width, image.width() - d.Left);
    for (int x = std::max(0, -d.Left); x < end; ++x) {
        const int index = line[x];
        if (index >= map->ColorCount)
            fail("a pixel uses a colour the colour table does not have");
        const GifColorType& c = map->Colors[index];
        uint8_t* p = out + std::size_t(d.Left + x) * 3;
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
    }
}

// The logical screen with the first frame drawn on it. The screen is made
// only once the frame has proved drawable, so that a damaged file claiming a
// huge screen costs nothing.
QImage readFirstFrame(GifHandle& h, int transparent) {
    h.check(DGifGetImageDesc(h.gif));
    const GifImageDesc& d = h.gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : h.gif->SColorMap;
    if (!map)
        fail("the image has no colour table");
    QImage image = RasterPicture::newOpaque(h.gif->SWidth, h.gif->SHeight);
    if (transparent >= 0)
        fill(image, backgroundColour(h.gif));
    if (d.Width <= 0 || d.Height <= 0)
        return image;
    std::vector<GifPixelType> line(std::size_t(d.Width));
    for (int n = 0; n < d.Height; ++n) {
        h.check(DGifGetLine(h.gif, line.data(), d.Width));
        storeLine(image, d, frameRow(n, d.Height, d.Interlace), line.data(), map);
    }
    return image;
}

} // namespace

std::unique_ptr<Picture> decodeGif(const QByteArray& bytes) {
    GifSource src{reinterpret_cast<const uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
    GifHandle h;
    int error = 0;
    h.gif = DGifOpen(&src, readInput, &error);
    if (!h.gif)
        failWith(error);
    if (h.gif->SWidth <= 0 || h.gif->SHeight <= 0)
        fail("the logical screen has no pixels");
    checkPictureSize(h.gif->SWidth, h.gif->SHeight);
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        h.check(DGifGetRecordType(h.gif, &type));
        if (type == IMAGE_DESC_RECORD_TYPE)
            return std::make_unique<RasterPicture>(readFirstFrame(h, transparent));
        if (type == EXTENSION_RECORD_TYPE)
            readExtension(h, transparent);
        else if (type == TERMINATE_RECORD_TYPE)
            fail("the file holds no image");
    }
}

} // namespace tessaly
