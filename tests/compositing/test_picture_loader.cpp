// The loader chooses the decoder by the file name's extension alone and
// reports every failure with the program's own texts.
#include "compositing/decoding/PictureLoader.h"
#include "PictureFixtures.h"
#include "platform/Error.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

using namespace fixtures;

QByteArray smallPng() {
    PngSpec s;
    s.width = 2;
    s.height = 1;
    s.rows = {{1, 2, 3, 4, 5, 6}};
    return pngFile(s);
}

// A bitmap header that claims 20000 x 20000 pixels, over the program's limit.
QByteArray hugeBmp() {
    return bmpFile(infoHeader(20000, 20000, 24), {}, QByteArray(16, '\0'));
}

struct LoaderCase {
    const char* name;
    const char* fileName; // created in a fresh folder unless content is null
    std::function<QByteArray()> content;
    const char* expected; // the error, %s standing for the full path; null: loads
};

const LoaderCase kLoaderCases[] = {
    {"UnknownExtension", "photo.webp", smallPng, "Unknown picture file extension (.webp)"},
    {"NoExtension", "photo", smallPng, "Unknown picture file extension (.)"},
    {"DotOnlyInFolderName", "folder.png/photo", smallPng, "Unknown picture file extension (.)"},
    {"ExtensionSpelledAsInName", "photo.WebP", smallPng, "Unknown picture file extension (.WebP)"},
    {"UpperCaseExtensionLoads", "photo.PNG", smallPng, nullptr},
    {"PngNamedJpgFailsAsJpeg", "photo.jpg", smallPng, "JPEG error #53"},
    {"MissingFile", "missing.png", nullptr,
     "Cannot open file \"%s\". The system cannot find the file specified."},
    {"OverTheSizeLimit", "huge.bmp", hugeBmp,
     "Picture is too large (20000 x 20000 pixels); the limit is 256 megapixels"},
    {"DamagedPngInIcon", "damaged.ico",
     [] {
         return icoFile({{2, 32, smallPng().left(40)}});
     },
     "Icon image is not valid"},
    {"DamagedBitmap", "short.bmp", [] { return hugeBmp().left(30); }, "Bitmap image is not valid"},
    // Runs may pass a row's end, but not the bitmap's top: two red pixels on
    // a second row of a one-row bitmap.
    {"RleRunAboveTheTop", "above.bmp",
     [] {
         return rleBmpFile(2, 1, 8, {0xFFFF0000}, {2, 0, 0, 0, 2, 0, 0, 1});
     },
     "Bitmap image is not valid"},
    // A file may claim to be longer than it is only while its pixels are all
    // there.
    {"LargerFileSizeWithPixelsCut", "cut.bmp",
     [] { return withFileSize(bmpFile(infoHeader(2, 2, 24), {}, QByteArray(12, '\0')), 70); },
     "Bitmap image is not valid"},
    // A count of colours is clamped to the depth only when the colours are
    // in the file.
    {"ColoursUsedBeyondTheFile", "colours.bmp",
     [] {
         return bmpFile(infoHeader(1, 1, 8, 0, 0x10000000), palette({0xFFFF0000, 0xFF00FF00}),
                        QByteArray(4, '\0'));
     },
     "Bitmap image is not valid"},
};

class PictureLoader : public ::testing::TestWithParam<LoaderCase> {};

TEST_P(PictureLoader, ReportsByExtensionAndContent) {
    static_assert(JERR_NO_SOI == 53, "the message code of a file without a JPEG start");
    const LoaderCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.path() + QLatin1Char('/') + QLatin1String(c.fileName);
    if (c.content) {
        QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content());
    }
    if (!c.expected) {
        EXPECT_EQ(tessaly::loadPicture(path)->naturalSize(), QSize(2, 1));
        return;
    }
    try {
        tessaly::loadPicture(path);
        ADD_FAILURE() << "loaded without an error";
    } catch (const tessaly::Error& e) {
        EXPECT_EQ(e.message(), tessaly::format(c.expected, {path}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureLoader, ::testing::ValuesIn(kLoaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLoaderExtension, IsTheTextAfterTheLastDotOfTheName) {
    EXPECT_EQ(tessaly::pictureExtension(QStringLiteral("/a/b.c/photo.tar.GZ")),
              QStringLiteral("GZ"));
    EXPECT_EQ(tessaly::pictureExtension(QStringLiteral("/a/b.c/photo")), QString());
    EXPECT_EQ(tessaly::pictureExtension(QStringLiteral("/a/photo.")), QString());
    EXPECT_EQ(tessaly::pictureExtension(QStringLiteral(".png")), QStringLiteral("png"));
}

// A file too big for any picture is refused before it is read (the file is
// sparse: it takes no disk space).
TEST(PictureLoaderLimits, RefusesFilesLargerThanAnyPicture) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/big.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(tessaly::kMaxPictureFileBytes + 1));
    file.close();
    try {
        tessaly::loadPicture(path);
        ADD_FAILURE() << "loaded without an error";
    } catch (const tessaly::Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot load file \"") + path))
            << e.what();
    }
}

TEST(PictureLoaderLimits, AFolderCannotBeOpened) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/folder.png");
    ASSERT_TRUE(QDir().mkpath(path));
    try {
        tessaly::loadPicture(path);
        ADD_FAILURE() << "loaded without an error";
    } catch (const tessaly::Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open file \"") + path + "\". "))
            << e.what();
    }
}

} // namespace
