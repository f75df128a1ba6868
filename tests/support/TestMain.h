#pragma once

#include "app/TApplication.h"

#include <QTest>

// A QtTest main that runs the test object under the program's own
// application object, so that errors escaping handlers are reported the way
// the program reports them.
#define TESSALY_QTEST_MAIN(TestObject)                                                             \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        tessaly::TApplication app(argc, argv);                                                     \
        app.setTitle(QStringLiteral("Tessaly"));                                                   \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
