#pragma once

#include <QByteArray>

namespace tessaly {

// The IPTC-IIM data sets carried into a stamped result: all of them but the
// object preview (record 2, data sets 200 to 202), which may hold a picture
// of the photo without its watermark. Whatever follows damaged data, or the
// padding after the last set, is left out.
QByteArray iptcForResult(const QByteArray& iim);

} // namespace tessaly
