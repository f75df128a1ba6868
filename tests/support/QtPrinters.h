#pragma once

// Lets GoogleTest print Qt strings as text in its failure messages.
#include <ostream>
#include <QByteArray>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (const QString& text : list)
        *os << '"' << text.toStdString() << "\" ";
    *os << '}';
}
QT_END_NAMESPACE
