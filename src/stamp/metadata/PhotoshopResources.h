#pragma once

#include <QByteArray>

namespace tessaly {

// Photoshop's image resource blocks ("8BIM", an id, a name, the data), the
// form in which JPEG files (APP13) and some PNG and TIFF files hold IPTC data.

// The IPTC-IIM data of the resource 0x0404; empty when there is none or the
// blocks are damaged before it.
QByteArray iptcOfResources(const QByteArray& resources);

// One resource block holding the IPTC-IIM data.
QByteArray resourcesWithIptc(const QByteArray& iptc);

} // namespace tessaly
