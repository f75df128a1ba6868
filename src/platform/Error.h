#pragma once

#include <QString>

#include <exception>
#include <string>

namespace tessaly {

// The program's error: an exception with a message meant for the user.
// Errors that wrap another one are thrown with std::throw_with_nested.
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// A silent abort: unwinds a command without any report to the user.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// The message of the innermost error in a chain of nested errors that has one.
QString innermostMessage(const std::exception& e);

// Formats printf-style with %s arguments taken as QStrings, the way the
// program's message texts are written ("Cannot open file \"%s\". %s").
QString format(const char* pattern, std::initializer_list<QString> args);

} // namespace tessaly
