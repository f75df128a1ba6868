#pragma once

#include "app/TAppForm.h"
#include "support/RecordingPlatform.h"

#include <memory>
#include <QStringList>
#include <QTest>
#include <QTimer>

namespace tessaly::test {

// The real main window on the offscreen platform, with the operating
// system's services recorded: what the picture tests drive. Open it from a
// test's init() and close it from its cleanup().
class MainWindowFixture {
public:
    std::unique_ptr<RecordingPlatform> recorder;
    std::unique_ptr<TAppForm> form;

    // A fresh window, shown, without its update check; false when it never
    // showed.
    bool openWindow() {
        recorder = std::make_unique<RecordingPlatform>();
        form = std::make_unique<TAppForm>();
        form->TimerChecker->stop();
        recorder->clearMessages(); // the test program has no version block to report
        form->show();
        return QTest::qWaitForWindowExposed(form.get());
    }
    void closeWindow() {
        form.reset();
        recorder.reset();
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : recorder->messages())
            texts << m.text;
        return texts;
    }
};

} // namespace tessaly::test
