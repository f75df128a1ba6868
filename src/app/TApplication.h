#pragma once

#include <QApplication>

#include <exception>

namespace tessaly {

// The application object. Its top-level handler catches every exception that
// escapes an event handler of any window and reports it in a message box; the
// program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    // The application title, the caption of error reports.
    QString title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Reports the exception in flight (call from a catch block). Silent
    // aborts are not reported.
    static void handleException();
    // The text of an error report: the message with "." added when its last
    // character sorts after ".".
    static QString reportText(const QString& message);

private:
    QString title_;
};

} // namespace tessaly
