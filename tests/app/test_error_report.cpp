#include "app/TApplication.h"
#include "platform/Error.h"
#include "support/RecordingPlatform.h"
#include "support/TestMain.h"

#include <QPushButton>

#include <functional>
#include <stdexcept>

using namespace tessaly;

class ErrorReportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportOfAnEscapingError_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter gets a stop") << 0 << "abc" << "abc.";
        QTest::newRow("stop stays") << 0 << "abc." << "abc.";
        QTest::newRow("exclamation stays") << 0 << "abc!" << "abc!";
        // ")" (0x29) sorts before ".", so a message ending in a bracket keeps it last.
        QTest::newRow("closing bracket sorts before") << 0 << "(.webp)" << "(.webp)";
        QTest::newRow("empty") << 0 << "" << "";
        QTest::newRow("innermost of nested") << 1 << "inner" << "inner.";
        QTest::newRow("standard exception") << 2 << "std text" << "std text.";
    }
    void reportOfAnEscapingError() {
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        test::RecordingPlatform recorder;
        QPushButton button(QStringLiteral("throw"));
        connect(&button, &QPushButton::clicked, &button, [kind, message] {
            if (kind == 0)
                throw Error(message);
            if (kind == 2)
                throw std::runtime_error(message.toStdString());
            try {
                throw Error(message);
            } catch (...) {
                std::throw_with_nested(Error(QStringLiteral("outer")));
            }
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        const auto messages = recorder.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, shown);
        QCOMPARE(messages[0].title, QStringLiteral("Tessaly"));
        QCOMPARE(messages[0].icon, MessageIcon::Error);
        // The program goes on: the button still answers.
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(recorder.messages().size(), 2);
    }

    void silentAbortIsNotReported() {
        test::RecordingPlatform recorder;
        QPushButton button(QStringLiteral("abort"));
        connect(&button, &QPushButton::clicked, &button, [] { throw Abort(); });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QTest::mouseClick(&button, Qt::LeftButton);
        QVERIFY(recorder.messages().isEmpty());
    }
};

TESSALY_QTEST_MAIN(ErrorReportTest)
#include "test_error_report.moc"
