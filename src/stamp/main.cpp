// tessaly-stamp: the window's main job (a picture stamped with a tiled
// watermark) on many pictures at once, from the command line.

#include "stamp/StampCommand.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <limits>
#include <malloc.h>
#include <memory>
#include <QFileInfo>
#include <QGuiApplication>
#include <unistd.h>

namespace {

std::atomic<bool> stopRequested{false};

// The first Ctrl+C lets the pictures under way finish, so that no temporary
// file is left behind; a second one ends the program at once.
void onStopSignal(int) {
    stopRequested.store(true, std::memory_order_release);
}

// Qt's own notes (about the offscreen platform's setup, say) mean nothing to
// the user of a command; the program reports its errors itself.
void dropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Every picture needs a few picture-sized buffers. glibc would map each one
// afresh and fault its pages in again, which costs a third of the time spent
// on a 24-megapixel photo; kept in the heap, the buffers that one picture
// frees serve the next one, and the heap stays at a few pictures' worth.
void keepLargeBuffersInTheHeap() {
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
}

void handleStopSignals() {
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Metafiles draw their text through Qt's fonts, which need a GUI application
// (no window is ever shown). Other pictures need only a core one: the GUI
// application's platform and font set-up at start and end cost a third of
// decoding a 24-megapixel photo. A folder or a list of files may hold
// metafiles.
bool mayDrawText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(QLatin1String("--files-from")) || argument.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive) ||
            argument.endsWith(QLatin1String(".emf"), Qt::CaseInsensitive) ||
            QFileInfo(argument).isDir())
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int& qtArgc, char** argv, bool drawsText) {
    if (!drawsText)
        return std::make_unique<QCoreApplication>(qtArgc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(qtArgc, argv);
}

} // namespace

int main(int argc, char** argv) {
    // Qt is given no arguments of ours, so that none is taken for its own
    // (a picture named "-reverse", say).
    keepLargeBuffersInTheHeap();
    qInstallMessageHandler(dropQtMessages);
    int qtArgc = 1;
    const auto app = makeApplication(qtArgc, argv, mayDrawText(argc, argv));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    handleStopSignals();
    tessaly::StampConsole console;
    console.terminal = isatty(STDERR_FILENO) == 1;
    return tessaly::runStampCommand(arguments, QCoreApplication::applicationFilePath(), console,
                                    stopRequested);
}
