#pragma once

#include <optional>
#include <QString>

namespace tessaly {

// The kinds of file tessaly-stamp writes.
enum class OutputFormat { Bmp, Png, Jpeg, Tiff };

// The format that --format names (bmp, png, jpeg, tiff; also jpg and tif), in
// any letter case; nothing for another name.
std::optional<OutputFormat> formatNamed(const QString& name);
// The format whose usual extension this is (bmp, png, jpg, jpeg, tif, tiff,
// any letter case); nothing for another extension.
std::optional<OutputFormat> formatOfExtension(const QString& extension);
// The extension given to a new output name of this format.
QString defaultExtension(OutputFormat format);

} // namespace tessaly
