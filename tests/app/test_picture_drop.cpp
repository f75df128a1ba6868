#include "app/PictureBox.h"
#include "app/TAppForm.h"
#include "MainWindowFixture.h"
#include "support/TestMain.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>

using namespace tessaly;

namespace {

QString writePicture(const QString& path, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(40, 90, 200));
    return image.save(path, "BMP") ? path : QString();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QList<QUrl> fileUrls(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    return urls;
}

// What the window answered to a drag: whether the pointer showed that it
// would take the drop, with which action, and whether it took it.
struct DragAnswer {
    bool offered = false;
    Qt::DropAction action = Qt::IgnoreAction;
    bool taken = false;
};

} // namespace

class PictureDropTest : public QObject, test::MainWindowFixture {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    QString path(const QString& name) const { return dir->filePath(name); }
    QString picture(const QString& name, QSize size = {40, 30}) {
        return writePicture(path(name), size);
    }
    QPoint centreOf(QWidget* w) const { return w->mapTo(form.get(), w->rect().center()); }
    QPoint place(const QString& name) const {
        if (name == QLatin1String("Image1"))
            return centreOf(form->Image1);
        if (name == QLatin1String("Image2"))
            return centreOf(form->Image2);
        if (name == QLatin1String("Image3"))
            return centreOf(form->Image3);
        if (name == QLatin1String("Label4"))
            return centreOf(form->Label4);
        return centreOf(form->Panel1);
    }

    // Drags the data over the window to a point and, when the window shows it
    // would take it, drops it there, as the desktop delivers a drag: to the
    // window, which passes it to the widget under the pointer. Then lets the
    // window finish what the drop started.
    DragAnswer dragAndDrop(QPoint at, QMimeData* data,
                           Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QWindow* window = form->windowHandle();
        DragAnswer answer;
        QDragEnterEvent enter(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        answer.offered = move.isAccepted();
        answer.action = move.dropAction();
        if (!answer.offered) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return answer;
        }
        QDropEvent drop(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        answer.taken = drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
        QCoreApplication::processEvents();
        return answer;
    }
    DragAnswer dropFiles(const QString& where, const QStringList& paths) {
        QMimeData data;
        data.setUrls(fileUrls(paths));
        return dragAndDrop(place(where), &data);
    }

private Q_SLOTS:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(openWindow());
    }
    void cleanup() {
        closeWindow();
        dir.reset();
    }

    // Two drops in a row: where each lands and what the window then shows.
    void dropsLandByPlace_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("secondSlot"); // where the second picture lands
        const auto row = [](const char* name, const char* first, const char* second,
                            const char* slot) {
            QTest::newRow(name) << QString(first) << QString(second) << QString(slot);
        };
        row("base box, then watermark box", "Image1", "Image2", "watermark");
        row("watermark box first, then base box", "Image2", "Image1", "base");
        row("elsewhere twice: base, then watermark", "Image3", "Panel1", "watermark");
        row("base box, then elsewhere: watermark", "Image1", "Label4", "watermark");
        row("base box twice: the base is replaced", "Image1", "Image1", "base");
    }
    void dropsLandByPlace() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, secondSlot);
        // The watermark is the smaller picture, so that the blend can run.
        const bool firstIsWatermark = first == QLatin1String("Image2");
        const QSize large(200, 100), small(20, 10);
        const QString one = picture(QStringLiteral("one.bmp"), firstIsWatermark ? small : large);
        const QString two = picture(QStringLiteral("two.BMP"), firstIsWatermark ? large : small);
        const DragAnswer answer = dropFiles(first, {one});
        QVERIFY(answer.offered);
        QCOMPARE(answer.action, Qt::CopyAction);
        QVERIFY(answer.taken);
        QLabel* firstLabel = firstIsWatermark ? form->Label2 : form->Label1;
        QCOMPARE(firstLabel->text(), one);
        QCOMPARE(firstLabel->toolTip(), one);
        QVERIFY(firstIsWatermark ? form->watermarkPicture() : form->basePicture());

        QVERIFY(dropFiles(second, {two}).taken);
        const bool secondIsWatermark = secondSlot == QLatin1String("watermark");
        QLabel* secondLabel = secondIsWatermark ? form->Label2 : form->Label1;
        PictureBox* secondBox = secondIsWatermark ? form->Image2 : form->Image1;
        QCOMPARE(secondLabel->text(), two);
        QCOMPARE(secondLabel->toolTip(), two);
        QCOMPARE(secondBox->picture(),
                 secondIsWatermark ? form->watermarkPicture() : form->basePicture());
        QCOMPARE(secondBox->shownRect(), QRect(0, 0, 177, 88));
        // Both slots filled: the blend ran as after two load commands.
        const bool both = firstIsWatermark != secondIsWatermark;
        QCOMPARE(form->resultPicture() != nullptr, both);
        QCOMPARE(form->BitBtn3->isVisible(), both);
        QVERIFY(recorder->messages().isEmpty());
    }

    // The pointer goes from box to box and across the window before it lets go.
    void dragAcrossTheWindowStaysWanted() {
        const QString mark = picture(QStringLiteral("mark.bmp"));
        QMimeData data;
        data.setUrls(fileUrls({mark}));
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QWindow* window = form->windowHandle();
        QDragEnterEvent enter(place(QStringLiteral("Image1")), actions, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        for (const char* over : {"Image1", "Label4", "Image3", "Image2"}) {
            QDragMoveEvent move(place(QLatin1String(over)), actions, &data, Qt::LeftButton,
                                Qt::NoModifier);
            QCoreApplication::sendEvent(window, &move);
            QVERIFY2(move.isAccepted(), over);
            QCOMPARE(move.dropAction(), Qt::CopyAction);
        }
        QDropEvent drop(place(QStringLiteral("Image2")), actions, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        QVERIFY(drop.isAccepted());
        QCoreApplication::processEvents();
        QCOMPARE(form->Label2->text(), mark);
        QCOMPARE(form->Label1->text(), QStringLiteral("[None]"));
    }

    // A file the decoder rejects: the error of the load command, nothing changed.
    void damagedFileReportsTheLoadError_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("base box") << "Image1";
        QTest::newRow("watermark box") << "Image2";
        QTest::newRow("elsewhere, a base loaded") << "Image3";
    }
    void damagedFileReportsTheLoadError() {
        QFETCH(QString, where);
        const QString base = picture(QStringLiteral("base.bmp"), {300, 200});
        const QString mark = picture(QStringLiteral("mark.bmp"), {30, 20});
        QVERIFY(dropFiles(QStringLiteral("Image1"), {base}).taken);
        QVERIFY(dropFiles(QStringLiteral("Image2"), {mark}).taken);
        const Picture* basePicture = form->basePicture();
        const Picture* markPicture = form->watermarkPicture();
        const Picture* result = form->resultPicture();
        const QString broken = path(QStringLiteral("broken.png"));
        writeBytes(broken, QByteArray::fromHex("89504e470d0a1a0a0000000d49484452"));

        QVERIFY(dropFiles(where, {broken}).taken);
        const QStringList dropped = messageTexts();
        QCOMPARE(dropped.size(), 1);
        QCOMPARE(recorder->messages()[0].title, QStringLiteral("Tessaly"));
        QCOMPARE(recorder->messages()[0].icon, MessageIcon::Error);
        QCOMPARE(form->basePicture(), basePicture);
        QCOMPARE(form->watermarkPicture(), markPicture);
        QCOMPARE(form->resultPicture(), result);
        QCOMPARE(form->Label1->text(), base);
        QCOMPARE(form->Label2->text(), mark);
        QCOMPARE(form->Image1->picture(), basePicture);
        QCOMPARE(form->Image2->picture(), markPicture);

        // The load command reports the same file in the same words.
        recorder->clearMessages();
        recorder->openAnswers.push_back(broken);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QCOMPARE(messageTexts(), dropped);
    }

    // What a drop of several things hands over: the first file.
    void severalTakeTheFirstFile_data() {
        QTest::addColumn<QStringList>("dropped"); // names in the temporary folder, or addresses
        QTest::addColumn<QString>("taken");
        QTest::newRow("two files") << QStringList{"b.bmp", "a.bmp"} << "b.bmp";
        QTest::newRow("a web address, then a file")
            << QStringList{"https://quarnel.example/logo.png", "a.bmp"} << "a.bmp";
        QTest::newRow("a folder: its first picture by name")
            << QStringList{"shoot"} << "shoot/B.bmp";
        QTest::newRow("a folder without pictures, then a file")
            << QStringList{"empty", "a.bmp"} << "a.bmp";
        QTest::newRow("a file, then a folder") << QStringList{"a.bmp", "shoot"} << "a.bmp";
    }
    void severalTakeTheFirstFile() {
        QFETCH(QStringList, dropped);
        QFETCH(QString, taken);
        QDir folder(dir->path());
        QVERIFY(folder.mkpath(QStringLiteral("shoot")));
        QVERIFY(folder.mkpath(QStringLiteral("empty")));
        for (const char* name : {"a.bmp", "b.bmp", "shoot/c.bmp", "shoot/B.bmp", "shoot/.a.bmp"})
            QVERIFY(!picture(QLatin1String(name)).isEmpty());
        writeBytes(path(QStringLiteral("shoot/a-notes.txt")), "not a picture");
        writeBytes(path(QStringLiteral("empty/readme.txt")), "nothing here");
        QList<QUrl> urls;
        for (const QString& d : dropped)
            urls << (d.contains(QLatin1Char(':')) ? QUrl(d) : QUrl::fromLocalFile(path(d)));
        QMimeData data;
        data.setUrls(urls);

        QVERIFY(dragAndDrop(place(QStringLiteral("Image2")), &data).taken);
        QCOMPARE(form->Label2->text(), path(taken));
        QVERIFY(form->watermarkPicture());
        QCOMPARE(form->Label1->text(), QStringLiteral("[None]"));
        QVERIFY(recorder->messages().isEmpty());
    }

    // Nothing a local file could come from: the pointer shows the drop is not
    // wanted, and dropping it anyway changes nothing and says nothing.
    void refusedWithoutAWord_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("where");
        const auto row = [](const char* name, const char* kind, const char* where) {
            QTest::newRow(name) << QString(kind) << QString(where);
        };
        row("a web address, base box", "web", "Image1");
        row("a web address, elsewhere", "web", "Image3");
        row("text only", "text", "Image2");
        row("a folder without pictures", "empty folder", "Image1");
        row("a file that is not there", "missing", "Image1");
        row("a file offered only to be moved", "move only", "Image1");
    }
    void refusedWithoutAWord() {
        QFETCH(QString, kind);
        QFETCH(QString, where);
        QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("empty")));
        QMimeData data;
        Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        if (kind == QLatin1String("web"))
            data.setUrls({QUrl(QStringLiteral("https://quarnel.example/logo.png"))});
        else if (kind == QLatin1String("text"))
            data.setText(path(QStringLiteral("a.bmp")));
        else if (kind == QLatin1String("empty folder"))
            data.setUrls(fileUrls({path(QStringLiteral("empty"))}));
        else if (kind == QLatin1String("missing"))
            data.setUrls(fileUrls({path(QStringLiteral("gone.bmp"))}));
        else {
            data.setUrls(fileUrls({picture(QStringLiteral("a.bmp"))}));
            actions = Qt::MoveAction;
        }
        const DragAnswer answer = dragAndDrop(place(where), &data, actions);
        QVERIFY(!answer.offered);

        // Dropped all the same, on the widget that takes the window's drops
        // there, without the window having said yes.
        QWidget* target = form->childAt(place(where));
        while (!target->acceptDrops())
            target = target->parentWidget();
        QDropEvent drop(target->mapFrom(form.get(), place(where)), actions, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        QVERIFY(!drop.isAccepted());
        QCOMPARE(form->Label1->text(), QStringLiteral("[None]"));
        QCOMPARE(form->Label2->text(), QStringLiteral("[None]"));
        QVERIFY(!form->basePicture());
        QVERIFY(!form->watermarkPicture());
        QVERIFY(recorder->messages().isEmpty());
    }
};

TESSALY_QTEST_MAIN(PictureDropTest)
#include "test_picture_drop.moc"
