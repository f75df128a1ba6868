#include "app/PictureBox.h"
#include "app/TAppForm.h"
#include "app/TrackBar.h"
#include "compositing/picture/Bitmap24.h"
#include "compositing/writing/BmpWriter.h"
#include "compositing/picture/Picture.h"
#include "MainWindowFixture.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

using namespace tessaly;

namespace {

// Writes a BMP picture of one colour, with a different bottom-left pixel when
// asked (the watermark's key colour).
QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size, QRgb colour,
                     std::optional<QRgb> bottomLeft = std::nullopt) {
    Bitmap24 b;
    b.resize(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            QRgb c = (bottomLeft && x == 0 && y == size.height() - 1) ? *bottomLeft : colour;
            uint8_t* p = b.scanLine(y) + x * 3;
            p[0] = qBlue(c);
            p[1] = qGreen(c);
            p[2] = qRed(c);
        }
    const QString path = dir.filePath(name);
    saveBmp(b, path);
    return path;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class PictureSlotsTest : public QObject, test::MainWindowFixture {
    Q_OBJECT

    QTemporaryDir dir;

    void load(QPushButton* button, const QString& path) {
        recorder->openAnswers.push_back(path);
        QTest::mouseClick(button, Qt::LeftButton);
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void dialogSettings() {
        const FileDialogState& open = form->OpenPictureDialog1;
        QCOMPARE(int(open.filters.size()), 11);
        QCOMPARE(open.filters[0].description,
                 QStringLiteral("All (*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.tif;*.tiff)"));
        QCOMPARE(open.filters[0].pattern,
                 QStringLiteral("*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.tif;*.tiff"));
        QCOMPARE(open.filters[1].description, QStringLiteral("Portable Network Graphics (*.png)"));
        QCOMPARE(open.filters[10].description, QStringLiteral("TIFF Images (*.tiff)"));
        QCOMPARE(open.filterIndex, 0);
        QCOMPARE(open.defaultSuffix, QStringLiteral("png"));
        const FileDialogState& save = form->SavePictureDialog1;
        QCOMPARE(int(save.filters.size()), 10);
        QVERIFY(std::equal(save.filters.begin(), save.filters.end(), open.filters.begin() + 1));
        QCOMPARE(save.defaultSuffix, QStringLiteral("png"));
        QVERIFY(!save.confirmOverwrite);
    }

    void loadShowsPathHintAndPreview_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("wide") << QSize(2000, 1000) << QSize(177, 88);
        QTest::newRow("tall") << QSize(50, 100) << QSize(88, 177);
        QTest::newRow("small square") << QSize(20, 20) << QSize(177, 177);
    }
    void loadShowsPathHintAndPreview() {
        QFETCH(QSize, size);
        QFETCH(QSize, shown);
        const QString path = writePicture(dir, QStringLiteral("base.BMP"), size, qRgb(10, 20, 30));
        load(form->BitBtn1, path);
        QCOMPARE(form->Label1->text(), path);
        QCOMPARE(form->Label1->toolTip(), path);
        QCOMPARE(form->Label1->width(), form->Label1->sizeHint().width());
        QCOMPARE(form->Image1->shownRect(), QRect(QPoint(0, 0), shown));
        QVERIFY(!form->resultPicture()); // one picture alone makes no result
        QVERIFY(!form->BitBtn3->isVisible());
        // The shared dialog remembers the last name for the next command.
        load(form->BitBtn2, path);
        QCOMPARE(recorder->openDialogs.last().fileName, path);
    }

    // A phone photo stored on its side (EXIF orientation 6) shows and is
    // stamped upright: 48 x 32, not the 32 x 48 it is stored as.
    void photoStandsUprightByItsOrientation() {
        const QString photo = QStringLiteral(TESSALY_FIXTURES "/real/jpeg/orientation-6.jpg");
        load(form->BitBtn1, photo);
        QCOMPARE(form->Image1->shownRect(), QRect(0, 0, 177, 118));
        load(form->BitBtn2, writePicture(dir, QStringLiteral("m.bmp"), {5, 4}, qRgb(9, 9, 9)));
        QVERIFY(form->resultPicture());
        QCOMPARE(form->resultPicture()->naturalSize(), QSize(48, 32));
        QVERIFY(recorder->messages().isEmpty());
    }

    void cancelAndFailedLoadChangeNothing() {
        const QString base = writePicture(dir, QStringLiteral("b.bmp"), {40, 30}, qRgb(0, 0, 255));
        const QString mark =
            writePicture(dir, QStringLiteral("m.bmp"), {4, 3}, qRgb(255, 0, 0), qRgb(1, 1, 1));
        load(form->BitBtn1, base);
        load(form->BitBtn2, mark);
        const Picture* result = form->resultPicture();
        QVERIFY(result);
        recorder->openAnswers.push_back(std::nullopt); // cancelled
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        QFile png(dir.filePath(QStringLiteral("real.png.jpg")));
        QVERIFY(png.open(QIODevice::WriteOnly));
        png.write(QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));
        png.close();
        const QString failures[] = {dir.filePath(QStringLiteral("photo.webp")),
                                    dir.filePath(QStringLiteral("missing.bmp")), png.fileName()};
        for (const QString& bad : failures)
            load(form->BitBtn2, bad);
        QCOMPARE(form->Label2->text(), mark);
        QCOMPARE(form->Label2->toolTip(), mark);
        QCOMPARE(form->resultPicture(), result);
        const QStringList texts = messageTexts();
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts[0], QStringLiteral("Unknown picture file extension (.webp)"));
        QVERIFY(texts[1].startsWith(QStringLiteral("Cannot open file \"") + failures[1]));
        QVERIFY(texts[2].startsWith(QStringLiteral("JPEG error #")));
    }

    void trackBarRebuildsTwicePerKeyPress() {
        load(form->BitBtn1, writePicture(dir, QStringLiteral("b.bmp"), {8, 6}, qRgb(0, 0, 0)));
        QSignalSpy changes(form.get(), &TAppForm::resultChanged);
        form->TrackBar1->setFocus();
        QTest::keyClick(form->TrackBar1, Qt::Key_Right); // one picture: nothing happens
        QCOMPARE(changes.count(), 0);
        load(form->BitBtn2, writePicture(dir, QStringLiteral("m.bmp"), {2, 2}, qRgb(255, 255, 255),
                                          qRgb(9, 9, 9)));
        form->TrackBar1->setValue(125);
        changes.clear();
        QList<int> positions;
        connect(form.get(), &TAppForm::resultChanged, this, [&] {
            if (form->resultPicture())
                positions << form->TrackBar1->value();
        });
        QTest::keyClick(form->TrackBar1, Qt::Key_Right);
        QCOMPARE(positions, QList<int>({130, 130}));
        // The blended pixel follows the weight: 255 over 0 at A = 130 gives 126.
        Bitmap24 out;
        out.resize(8, 6);
        form->resultPicture()->rasterise(out);
        QCOMPARE(int(out.scanLine(0)[0]), (130 * 0 + 126 * 255) >> 8);
    }

    void sizeWarningEmptiesResultButKeepsSave() {
        load(form->BitBtn1, writePicture(dir, QStringLiteral("b.bmp"), {100, 300}, qRgb(0, 0, 0)));
        load(form->BitBtn2, writePicture(dir, QStringLiteral("m.bmp"), {50, 50}, qRgb(9, 9, 9)));
        QVERIFY(form->resultPicture());
        QVERIFY(form->BitBtn3->isVisible());
        load(form->BitBtn2, writePicture(dir, QStringLiteral("m2.bmp"), {100, 50}, qRgb(9, 9, 9)));
        QVERIFY(!form->resultPicture());
        QVERIFY(!form->Image3->picture());
        QVERIFY(form->BitBtn3->isVisible());
        const auto messages = recorder->messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("Watermark image dimensions must be smaller!"));
        QCOMPARE(messages[0].title, QStringLiteral("Warning"));
        QCOMPARE(messages[0].icon, MessageIcon::Warning);
        // Saving an empty result writes nothing.
        const QString out = dir.filePath(QStringLiteral("none.bmp"));
        recorder->saveAnswers.push_back(out);
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        QVERIFY(!QFile::exists(out));
    }

    void saveWritesTheExactBytes() {
        load(form->BitBtn1, writePicture(dir, QStringLiteral("b.bmp"), {3, 2}, qRgb(200, 100, 0)));
        load(form->BitBtn2,
             writePicture(dir, QStringLiteral("m.bmp"), {1, 1}, qRgb(0, 0, 0)));
        const QString out = dir.filePath(QStringLiteral("out.png"));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file that is replaced without a question");
        old.close();
        recorder->saveAnswers.push_back(out);
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        const QByteArray bytes = fileBytes(out);
        QCOMPARE(bytes.size(), 78);
        QVERIFY(bytes.startsWith("BM"));
        // The 1 x 1 watermark is its own key colour: the result is the base.
        QCOMPARE(bytes.mid(54, 3), QByteArray::fromHex("0064c8"));
        QVERIFY(recorder->messages().isEmpty());
    }

    void failedSaveKeepsTheOldFile() {
        load(form->BitBtn1, writePicture(dir, QStringLiteral("b.bmp"), {3, 2}, qRgb(1, 2, 3)));
        load(form->BitBtn2, writePicture(dir, QStringLiteral("m.bmp"), {1, 1}, qRgb(0, 0, 0)));
        recorder->saveAnswers.push_back(dir.filePath(QStringLiteral("no/such/folder/out.bmp")));
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        const auto messages = recorder->messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].text.startsWith(QStringLiteral("Cannot create file \"")));
    }
};

TESSALY_QTEST_MAIN(PictureSlotsTest)
#include "test_picture_slots.moc"
