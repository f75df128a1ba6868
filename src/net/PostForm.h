#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

// Posts the "name=value" lines as a form to `url` and gives the reply text.
// A URL that begins with exactly "https://" goes over HTTPS, any other over
// plain HTTP. Each wait of the exchange is bounded by the time-out and the
// whole of it by twice that. Raises an Error with the transport's message when
// the exchange fails (ReplyTooLarge for a reply beyond 1 MiB); keeps nothing
// between calls, so it may run on several threads.
QString PostForm(const QString& url, const QStringList& fields, int timeoutMs = 10000);

} // namespace tessaly
