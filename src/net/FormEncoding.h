#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tessaly {

// One name or value of a form body: UTF-8, letters, digits and "*-._" kept,
// space as "+", every other byte as "%" and two upper-case hex digits.
QByteArray encodeFormText(const QString& text);

// The body of a form post: each "name=value" line split at its first "=",
// both halves encoded, the fields joined with "&" in list order. A line
// without "=" is a name with an empty value.
QByteArray encodeForm(const QStringList& fields);

} // namespace tessaly
