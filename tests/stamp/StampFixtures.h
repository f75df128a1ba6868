#pragma once

// Pictures written to disk for the tests of tessaly-stamp, and a way to run
// the program itself.

#include "compositing/picture/Bitmap24.h"
#include "compositing/PictureFixtures.h"
#include "compositing/writing/BmpWriter.h"
#include "stamp/JpegWriter.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <random>
#include <unistd.h>

namespace tessaly::test {

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + path.toStdString());
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A photo-like bitmap: smooth gradients with a little noise, and a few
// pixels of pure white so that a white-keyed watermark shows both rules.
inline Bitmap24 photoBitmap(int width, int height, unsigned seed) {
    Bitmap24 b;
    b.resize(width, height);
    std::mt19937 gen(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = b.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = uint8_t(x * 255 / std::max(1, width - 1));
            p[1] = uint8_t(y * 255 / std::max(1, height - 1));
            p[2] = uint8_t(128 + int(gen() % 32) - 16);
        }
    }
    return b;
}

// A PNG of random pixels; with alpha, random transparency too.
inline QByteArray randomPng(int width, int height, bool alpha, unsigned seed) {
    fixtures::PngSpec s;
    s.width = width;
    s.height = height;
    s.colourType = alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    std::mt19937 gen(seed);
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> row(std::size_t(width * channels));
        for (uint8_t& v : row)
            v = uint8_t(gen() % 3 == 0 ? 255 : gen()); // white often: the key colour
        s.rows.push_back(std::move(row));
    }
    return fixtures::pngFile(s);
}

// A GIF of four colours, one of them transparent.
inline QByteArray randomGif(int width, int height, unsigned seed) {
    fixtures::GifSpec s;
    s.screenWidth = s.width = width;
    s.screenHeight = s.height = height;
    s.colours = {{0, 0, 0}, {250, 10, 10}, {10, 250, 10}, {255, 255, 255}};
    s.transparent = 0;
    std::mt19937 gen(seed);
    for (int i = 0; i < width * height; ++i)
        s.pixels.push_back(GifPixelType(gen() % 4));
    return fixtures::gifFile(s);
}

inline QByteArray bmpBytes(const Bitmap24& b) {
    const auto headers = bmpHeaders(b);
    return QByteArray(reinterpret_cast<const char*>(headers.data()), qsizetype(headers.size())) +
           QByteArray(reinterpret_cast<const char*>(b.bits()), qsizetype(b.byteSize()));
}

// A picture file of the kind its extension names (bmp, png, jpg, gif).
inline void writePicture(const QString& path, int width, int height, unsigned seed) {
    if (path.endsWith(QLatin1String(".png")))
        writeFile(path, randomPng(width, height, seed % 2 == 1, seed));
    else if (path.endsWith(QLatin1String(".gif")))
        writeFile(path, randomGif(width, height, seed));
    else if (path.endsWith(QLatin1String(".jpg")))
        writeFile(path, encodeJpeg(photoBitmap(width, height, seed), {90}, {}));
    else
        writeFile(path, bmpBytes(photoBitmap(width, height, seed)));
}

struct StampRun {
    int exitCode = -1;
    QString out, err;
};

// Runs a program in folder with the arguments, the input on its standard
// input, and waits for it.
inline StampRun runProgram(const QString& folder, const QString& program,
                           const QStringList& arguments, const QByteArray& input = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, arguments);
    p.waitForStarted();
    p.write(input);
    p.closeWriteChannel();
    StampRun run;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = p.exitCode();
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

// Runs tessaly-stamp in folder with the arguments and waits for it.
inline StampRun runStamp(const QString& folder, const QStringList& arguments,
                         const QByteArray& input = {}) {
    return runProgram(folder, QStringLiteral(TESSALY_STAMP_EXE), arguments, input);
}

// The program, or another one, bound by file permissions even when run as
// root (as CI is): without the capabilities that let root read any folder.
inline StampRun runUnprivileged(const QString& folder, const QString& program,
                                const QStringList& arguments) {
    if (geteuid() != 0)
        return runProgram(folder, program, arguments);
    return runProgram(folder, QStringLiteral("setpriv"),
                      QStringList{"--bounding-set=-dac_override,-dac_read_search", program} +
                          arguments);
}

inline StampRun runStampUnprivileged(const QString& folder, const QStringList& arguments) {
    return runUnprivileged(folder, QStringLiteral(TESSALY_STAMP_EXE), arguments);
}

// The files of a folder, hidden ones included, sorted by name.
inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A temporary folder with a watermark, logo.png, in which tests run the
// program as a user would.
class StampFolder : public ::testing::Test {
protected:
    explicit StampFolder(QSize logo) : logo_(logo) {}
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        writePicture(path("logo.png"), logo_.width(), logo_.height(), 3);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // Runs the program here with the watermark and the arguments.
    StampRun stamp(const QStringList& arguments, const QByteArray& input = {}) const {
        return runStamp(dir_.path(), QStringList{"-w", "logo.png"} + arguments, input);
    }
    // Every file below the folder, by its path there, sorted.
    QStringList tree(const QString& folder) const {
        const QString root = path(folder) + QLatin1Char('/');
        QStringList files;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(root.size());
        files.sort();
        return files;
    }
    // Writes pictures of the kinds their names say, making their folders.
    void writePictures(std::initializer_list<const char*> names, int width, int height) const {
        for (const char* name : names) {
            QDir(dir_.path()).mkpath(QFileInfo(path(name)).path());
            writePicture(path(name), width, height, 4);
        }
    }

    QTemporaryDir dir_;

private:
    QSize logo_;
};

} // namespace tessaly::test
