// The program's own run, with the update check pointed at a test server and
// the main window closed after a given time: the test runs it many times to
// meet the worker at every step of its check.
//   exit_race_helper HOST AUTHORITY_FILE CLOSE_AFTER_MS
#include "app/ProcessEnd.h"
#include "app/TAppForm.h"
#include "app/TApplication.h"
#include "net/TestTrust.h"
#include "platform/MakerHost.h"

#include <QMessageBox>
#include <QTimer>

using namespace tessaly;

namespace {

// A message box that the worker raises after the window has closed would keep
// the program open; the user closes it, here at once.
void closeMessageBoxes() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w))
            box->reject();
}

} // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    if (argc != 4)
        return 2;
    setMakerHost(QString::fromLocal8Bit(argv[1]));
    setTrustedAuthorityForTests(QString::fromLocal8Bit(argv[2]));
    TAppForm form{QStringLiteral(TESSALY_EXE)};
    form.show();
    form.TimerCheckerTimer(); // the first tick, without its second of waiting
    QTimer::singleShot(QString::fromLocal8Bit(argv[3]).toInt(), &form, &QWidget::close);
    QTimer boxes;
    QObject::connect(&boxes, &QTimer::timeout, &app, closeMessageBoxes);
    boxes.start(20);
    return endRun(app.exec());
}
