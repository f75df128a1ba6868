#pragma once

#include <QByteArray>

namespace tessaly {

// The "Raw profile type NAME" text chunks in which PNG files written by
// ImageMagick and others hold EXIF, XMP, IPTC and ICC data: a line with the
// profile's name, a line with its length, then its bytes in hexadecimal.

// The bytes of such a text; empty when it is damaged.
QByteArray rawProfileBytes(const QByteArray& text);

// The text for the bytes under the name ("iptc", say).
QByteArray rawProfileText(const QByteArray& name, const QByteArray& bytes);

} // namespace tessaly
