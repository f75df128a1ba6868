#include "compositing/writing/BmpBandWriter.h"
#include "compositing/writing/BmpWriter.h"
#include "platform/Error.h"
#include "RandomBitmap.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <QTemporaryDir>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tessaly;
using tessaly::test::randomBitmap;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

uint32_t field(const QByteArray& file, int offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | uint8_t(file[offset + i]);
    return value;
}

using Saver = void (*)(const Bitmap24&, const QString&);

// Rows first to first + rows - 1 of bitmap (counted from the top) as a
// bitmap of their own.
Bitmap24 bandOf(const Bitmap24& bitmap, int first, int rows) {
    Bitmap24 band;
    band.resize(bitmap.width(), rows);
    for (int r = 0; r < rows; ++r)
        std::copy_n(bitmap.scanLine(first + r), bitmap.rowSize(), band.scanLine(r));
    return band;
}

// The bitmap written as tessaly-stamp writes a picture while it decodes: in
// bands of rows of their own, top first, through a BmpBandWriter.
void saveInBands(const Bitmap24& bitmap, const QString& path) {
    BmpBandWriter writer(path, bitmap.width(), bitmap.height());
    for (int y = 0; y < bitmap.height(); y += 7)
        writer.write(bandOf(bitmap, y, std::min(7, bitmap.height() - y)), y);
    writer.commit();
}

QString errorOf(const Bitmap24& bitmap, const QString& path, Saver save = saveBmp) {
    try {
        save(bitmap, path);
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(BmpWriter, WritesHeadersAndRowsAsTheyLieInMemory) {
    QTemporaryDir dir;
    const Bitmap24 bitmap = randomBitmap(3, 2, 21);
    const QString path = dir.filePath("out.png"); // the name does not choose the format
    saveBmp(bitmap, path);
    const QByteArray file = readAll(path);
    ASSERT_EQ(file.size(), 78);
    EXPECT_EQ(file.left(2), "BM");
    const struct {
        int offset, size;
        uint32_t value;
    } fields[] = {{2, 4, 78},  {6, 2, 0},  {8, 2, 0},  {10, 4, 54}, {14, 4, 40},
                  {18, 4, 3},  {22, 4, 2}, {26, 2, 1}, {28, 2, 24}, {30, 4, 0},
                  {34, 4, 24}, {38, 4, 0}, {42, 4, 0}, {46, 4, 0},  {50, 4, 0}};
    for (const auto& f : fields)
        EXPECT_EQ(field(file, f.offset, f.size), f.value) << "offset " << f.offset;
    EXPECT_EQ(file.mid(54), QByteArray(reinterpret_cast<const char*>(bitmap.bits()), 24));
}

TEST(BmpWriter, ImageSizeCountsPaddedRows) {
    QTemporaryDir dir;
    for (QSize size : {QSize(1, 1), QSize(4, 3), QSize(5, 7), QSize(0, 0)}) {
        Bitmap24 bitmap;
        bitmap.resize(size.width(), size.height());
        saveBmp(bitmap, dir.filePath("b.bmp"));
        const QByteArray file = readAll(dir.filePath("b.bmp"));
        const uint32_t rowSize = (uint32_t(size.width()) * 3 + 3) / 4 * 4;
        EXPECT_EQ(field(file, 34, 4), rowSize * uint32_t(size.height()));
        EXPECT_EQ(uint32_t(file.size()), 54 + rowSize * uint32_t(size.height()));
    }
}

TEST(BmpWriter, ReplacesAnExistingFileAndKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bmp");
    writeAll(path, QByteArray(5000, 'x'));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    saveBmp(randomBitmap(3, 2, 22), path);
    EXPECT_EQ(readAll(path).size(), 78);
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                            QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bmp"});
}

TEST(BmpWriter, WritesThroughASymbolicLink) {
    QTemporaryDir dir;
    writeAll(dir.filePath("real.bmp"), "old");
    ASSERT_TRUE(QFile::link(dir.filePath("real.bmp"), dir.filePath("link.bmp")));
    saveBmp(randomBitmap(3, 2, 23), dir.filePath("link.bmp"));
    EXPECT_TRUE(QFileInfo(dir.filePath("link.bmp")).isSymLink());
    EXPECT_EQ(readAll(dir.filePath("real.bmp")).size(), 78);
}

TEST(BmpWriter, ReportsAFileThatCannotBeCreated) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("folder");
    const struct {
        QString path, reason;
    } cases[] = {
        {dir.filePath("missing/out.bmp"), "The system cannot find the file specified."},
        {dir.filePath("folder"), QString::fromLocal8Bit(strerror(EISDIR))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorOf(randomBitmap(3, 2, 24), c.path),
                  QStringLiteral("Cannot create file \"%1\". %2").arg(c.path, c.reason));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"folder"});
}

namespace {

// Ways for a disk to run out part-way through a save.
enum class Cramped { FileSizeLimit, FullDisk };

// Holds the process's file size limit at 64 KiB, with the signal that would
// otherwise end the process ignored, so that writes past it fail with EFBIG.
class FileSizeLimit {
public:
    FileSizeLimit() {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

// A 64 KiB tmpfs mounted over a folder, by default with room for files
// without number; needs the right to mount.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder, const char* options = "size=64k")
        : folder_(QFile::encodeName(folder)) {
        mounted_ = mount("tessaly-test", folder_.constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            umount(folder_.constData());
    }
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

class BmpWriterCramped : public ::testing::TestWithParam<Cramped> {};

} // namespace

// A save that fails part-way leaves the earlier file whole and no temporary
// file behind.
TEST_P(BmpWriterCramped, FailedWriteKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("disk");
    QDir(dir.path()).mkdir("disk");
    SmallDisk disk(folder);
    if (GetParam() == Cramped::FullDisk && !disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << strerror(errno);
    const QString path = folder + "/out.bmp";
    const QByteArray old(3000, 'o');
    writeAll(path, old);
    const Bitmap24 large = randomBitmap(300, 300, 25); // 270 000 bytes
    for (Saver save : {saveBmp, saveInBands}) {
        QString error;
        if (GetParam() == Cramped::FileSizeLimit) {
            FileSizeLimit limit;
            error = errorOf(large, path, save);
        } else {
            error = errorOf(large, path, save);
        }
        EXPECT_EQ(error, "Stream write error");
        EXPECT_EQ(readAll(path), old);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bmp"});
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, BmpWriterCramped,
                         ::testing::Values(Cramped::FileSizeLimit, Cramped::FullDisk),
                         [](const auto& info) {
                             return info.param == Cramped::FileSizeLimit ? "FileSizeLimit"
                                                                         : "FullDisk";
                         });

namespace {

// The superuser may create files in any folder: while this lives it acts as
// the user nobody, so that a folder's permissions hold for it as for anyone.
class AsPlainUser {
public:
    AsPlainUser() : dropped_(geteuid() == 0 && seteuid(65534) == 0) {}
    ~AsPlainUser() {
        if (dropped_)
            (void)seteuid(0);
    }

private:
    bool dropped_;
};

constexpr QFile::Permissions kReadAll =
    QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
constexpr QFile::Permissions kWriteAll =
    QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
constexpr QFile::Permissions kEnterAll =
    QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

} // namespace

// A folder without the right to add a file still lets its files be saved over,
// in place; a new name there is refused with the system's reason.
TEST(BmpWriter, SavesInPlaceWhereTheFolderTakesNoNewFile) {
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), kReadAll | kEnterAll | QFile::WriteOwner);
    const Bitmap24 bitmap = randomBitmap(3, 2, 26);
    saveBmp(bitmap, dir.filePath("expected.bmp"));
    const QString folder = dir.filePath("closed");
    ASSERT_TRUE(QDir(dir.path()).mkdir("closed"));
    const QString path = folder + "/out.bmp";
    writeAll(path, QByteArray(5000, 'x')); // longer than the result: its tail must go
    QFile::setPermissions(path, kReadAll | kWriteAll);
    QFile::setPermissions(folder, kReadAll | kEnterAll);
    QString saved, refused;
    QByteArray abandoned, inBands;
    bool reachable = false, inPlace = false;
    {
        AsPlainUser user;
        // The temporary folder's own parents may be closed to others.
        reachable = faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
        if (reachable) {
            {
                // A picture that may yet fail to decode writes nothing here.
                BmpBandWriter writer(path, bitmap.width(), bitmap.height());
                inPlace = writer.writesInPlace();
            }
            abandoned = readAll(path);
            saveInBands(bitmap, path);
            inBands = readAll(path);
            saved = errorOf(bitmap, path);
            refused = errorOf(bitmap, folder + "/new.bmp");
        }
    }
    QFile::setPermissions(folder, kReadAll | kEnterAll | QFile::WriteOwner);
    if (!reachable)
        GTEST_SKIP() << "the test's folder cannot be reached as another user here";
    EXPECT_TRUE(inPlace);
    EXPECT_EQ(abandoned, QByteArray(5000, 'x')) << "an abandoned writer changed the file";
    EXPECT_EQ(inBands, readAll(dir.filePath("expected.bmp")));
    EXPECT_EQ(saved, QString());
    EXPECT_EQ(readAll(path), readAll(dir.filePath("expected.bmp")));
    EXPECT_EQ(refused,
              QStringLiteral("Cannot create file \"%1/new.bmp\". Access is denied.").arg(folder));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bmp"});
}

// Written in place, the file is overwritten only once the disk is known to
// hold the whole result; a disk without that room keeps the old file whole.
TEST(BmpWriter, SavesInPlaceOnlyWithRoomForTheWholeFile) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("disk");
    QDir(dir.path()).mkdir("disk");
    SmallDisk disk(folder, "size=64k,nr_inodes=2"); // the folder and one file
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a small tmpfs here: " << strerror(errno);
    const QString path = folder + "/out.bmp";
    const QByteArray old(3000, 'o');
    writeAll(path, old);
    EXPECT_EQ(errorOf(randomBitmap(300, 300, 27), path), // 270 000 bytes
              QStringLiteral("Cannot create file \"%1\". %2")
                  .arg(path, QString::fromLocal8Bit(strerror(ENOSPC))));
    EXPECT_EQ(readAll(path), old);
    const Bitmap24 fits = randomBitmap(40, 40, 28);
    saveBmp(fits, path);
    EXPECT_EQ(readAll(path).mid(54),
              QByteArray(reinterpret_cast<const char*>(fits.bits()), qsizetype(fits.byteSize())));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"out.bmp"});
}
