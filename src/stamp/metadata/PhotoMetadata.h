#pragma once

#include <optional>
#include <QByteArray>

namespace tessaly {

// How many pixels a picture holds per inch or centimetre, or only the ratio
// of its pixels' width and height (Unit::None).
struct Resolution {
    enum class Unit { None, Inch, Centimetre };
    Unit unit = Unit::Inch;
    double x = 0; // both above zero
    double y = 0;
    bool operator==(const Resolution&) const = default;
};

// The largest EXIF block that is read and carried: what libexif reads, as
// much as a JPEG segment could hold.
constexpr qsizetype kMaxExifBlock = 0xFFFF - 6;

// What a photo says about itself besides its pixels, each piece as the
// formats store it, so that it can be carried into a result file.
struct PhotoMetadata {
    QByteArray exif; // an EXIF block: the TIFF header and the directories after it
    QByteArray xmp;  // an XMP packet
    QByteArray iptc; // IPTC-IIM data sets
    QByteArray icc;  // an ICC colour profile
    std::optional<Resolution> resolution;

    bool isEmpty() const {
        return exif.isEmpty() && xmp.isEmpty() && iptc.isEmpty() && icc.isEmpty() && !resolution;
    }
};

} // namespace tessaly
