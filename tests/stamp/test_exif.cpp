// The base picture's EXIF block goes into JPEG and PNG results; damaged
// containers give no block and never a read outside the file.

#include "stamp/Exif.h"
#include "StampFixtures.h"

#include <csetjmp>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <QTemporaryDir>
#include <zlib.h>

using namespace tessaly;
using namespace tessaly::test;

namespace {

const QByteArray kExif = QByteArray("II*\0\x08\0\0\0", 8) +
                         QByteArray("\x01\0\x0F\x01\x02\0\x08\0\0\0", 10) +
                         QByteArray("QUARNEL\0", 8);

QByteArray be16(int v) {
    return QByteArray(1, char(v >> 8)) + char(v & 0xFF);
}

QByteArray segment(int marker, const QByteArray& payload) {
    return QByteArray("\xFF") + char(marker) + be16(int(payload.size()) + 2) + payload;
}

// A JPEG's head: SOI, APP0, then the given segments, then the scan start.
QByteArray jpegHead(const QByteArray& segments) {
    return QByteArray("\xFF\xD8", 2) + segment(0xE0, QByteArray("JFIF\0", 5) + QByteArray(9, 0)) +
           segments + QByteArray("\xFF\xDA\0\x02", 4);
}

// The EXIF block of a JPEG as libjpeg reads its APP1 segment.
QByteArray exifByLibjpeg(const QByteArray& file) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    QByteArray block;
    for (auto* m = cinfo.marker_list; m; m = m->next) {
        const QByteArray data(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
        if (m->marker == JPEG_APP0 + 1 && data.startsWith(QByteArray("Exif\0\0", 6)))
            block = data.mid(6);
    }
    jpeg_destroy_decompress(&cinfo);
    return block;
}

QByteArray exifByLibpng(const QByteArray& file) {
    struct Reader {
        const QByteArray& file;
        qsizetype at = 0;
    } reader{file};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
        auto* r = static_cast<Reader*>(png_get_io_ptr(p));
        if (qsizetype(n) > r->file.size() - r->at)
            png_error(p, "cut");
        std::memcpy(out, r->file.constData() + r->at, n);
        r->at += qsizetype(n);
    });
    png_read_info(png, info);
    png_uint_32 size = 0;
    png_bytep data = nullptr;
    QByteArray block;
    if (png_get_eXIf_1(png, info, &size, &data))
        block = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    png_destroy_read_struct(&png, &info, nullptr);
    return block;
}

// A PNG with an eXIf chunk placed before IDAT.
QByteArray pngWithExif(const QByteArray& pngFile, const QByteArray& exif) {
    const QByteArray type("eXIf");
    QByteArray chunk = be16(0) + be16(int(exif.size())) + type + exif;
    const uint32_t crc = uint32_t(crc32(crc32(0, nullptr, 0),
                                        reinterpret_cast<const Bytef*>((type + exif).constData()),
                                        uInt(exif.size() + 4)));
    chunk += be16(int(crc >> 16)) + be16(int(crc & 0xFFFF));
    return pngFile.left(33) + chunk + pngFile.mid(33); // after the signature and IHDR
}

} // namespace

TEST(Exif, IsFoundInJpegAndPngAndNotInDamagedFiles) {
    QTemporaryDir dir;
    const QByteArray app1 = segment(0xE1, QByteArray("Exif\0\0", 6) + kExif);
    const QByteArray png = pngWithExif(randomPng(4, 4, false, 1), kExif);
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray expected;
    };
    const QList<Case> cases = {
        {"plain.jpg", jpegHead(app1), kExif},
        {"xmp-first.jpg", jpegHead(segment(0xE1, "http://ns.adobe.com/xap/1.0/\0x") + app1), kExif},
        {"none.jpg", jpegHead({}), {}},
        {"after-scan.jpg", jpegHead({}) + app1, {}},
        {"cut.jpg", jpegHead(app1).left(30), {}},
        {"long.jpg", QByteArray("\xFF\xD8\xFF\xE1\xFF\xFF", 6) + "Exif", {}},
        {"short-length.jpg", QByteArray("\xFF\xD8\xFF\xE1\0\x01", 6) + app1, {}},
        {"not-tiff.jpg", jpegHead(segment(0xE1, QByteArray("Exif\0\0", 6) + "XX*\0")), {}},
        {"plain.png", png, kExif},
        {"none.png", randomPng(4, 4, false, 1), {}},
        {"cut.png", png.left(45), {}},
        {"huge-chunk.png",
         png.left(33) + QByteArray("\x7F\xFF\xFF\xF0"
                                   "eXIf",
                                   8),
         {}},
        {"bmp-named.jpg", bmpBytes(photoBitmap(2, 2, 1)), {}},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        writeFile(path, c.bytes);
        EXPECT_EQ(readExifBlock(path), c.expected) << c.name;
    }
    EXPECT_TRUE(readExifBlock(dir.filePath("missing.jpg")).isEmpty());
}

TEST(Exif, IsCarriedIntoJpegAndPngResults) {
    QTemporaryDir dir;
    writePicture(dir.filePath("logo.png"), 8, 6, 2);
    const QByteArray photo = encodeJpeg(photoBitmap(64, 48, 3), 90, kExif);
    ASSERT_EQ(exifByLibjpeg(photo), kExif);
    writeFile(dir.filePath("photo.jpg"), photo);
    writeFile(dir.filePath("photo.png"), pngWithExif(randomPng(64, 48, false, 4), kExif));
    for (const char* input : {"photo.jpg", "photo.png"}) {
        const StampRun run = runStamp(
            dir.path(), {"-w", "logo.png", "-d", "out", "--format", "jpeg", input, "-j", "1"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const StampRun png =
            runStamp(dir.path(), {"-w", "logo.png", "-d", "png", "--format", "png", input});
        ASSERT_EQ(png.exitCode, 0) << png.err.toStdString();
        const QString stem = QString::fromLatin1(input).section('.', 0, 0);
        EXPECT_EQ(exifByLibjpeg(readFile(dir.filePath("out/" + stem + ".jpg"))), kExif) << input;
        EXPECT_EQ(exifByLibpng(readFile(dir.filePath("png/" + stem + ".png"))), kExif) << input;
    }
}
