#pragma once

#include <optional>
#include <QByteArray>

namespace tessaly {

// The zlib stream's data, or nothing when the stream is damaged, ends early
// or would inflate to more than maxBytes (a small chunk can claim gigabytes).
std::optional<QByteArray> inflateZlib(const QByteArray& stream, qsizetype maxBytes);

} // namespace tessaly
