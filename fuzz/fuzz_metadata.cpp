// libFuzzer entry point for tessaly-stamp's metadata: the input read as a
// picture file (JPEG, PNG or TIFF by its content) and, whole, as each piece
// that a file can hold (EXIF block, XMP packet, IPTC data, Photoshop
// resources, raw profile text); what is found is made true to a result and
// written into a small JPEG, PNG and TIFF file.
#include "platform/Error.h"
#include "stamp/JpegWriter.h"
#include "stamp/metadata/ExifEdit.h"
#include "stamp/metadata/IptcEdit.h"
#include "stamp/metadata/MetadataReader.h"
#include "stamp/metadata/PhotoshopResources.h"
#include "stamp/metadata/RawProfile.h"
#include "stamp/metadata/ResultMetadata.h"
#include "stamp/metadata/XmpEdit.h"
#include "stamp/PngWriter.h"
#include "stamp/TiffWriter.h"

#include <cstddef>
#include <cstdint>

using namespace tessaly;

namespace {

const QSize kResult(7, 5);

void writeEach(const PhotoMetadata& picture) {
    Bitmap24 result;
    result.resize(kResult.width(), kResult.height());
    for (OutputFormat format : {OutputFormat::Jpeg, OutputFormat::Png, OutputFormat::Tiff}) {
        QStringList notes;
        const PhotoMetadata carried = metadataForResult(picture, kResult, format, notes);
        try {
            if (format == OutputFormat::Jpeg)
                encodeJpeg(result, {}, carried);
            else if (format == OutputFormat::Png)
                encodePng(result, carried);
            else
                encodeTiff(result, carried);
        } catch (const Error&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    writeEach(readPhotoMetadata(bytes));
    PhotoMetadata pieces;
    pieces.exif = exifForResult(bytes, kResult);
    pieces.xmp = xmpForResult(bytes, kResult);
    pieces.iptc = iptcForResult(bytes) + iptcOfResources(bytes) + rawProfileBytes(bytes);
    pieces.icc = bytes;
    pieces.resolution = exifResolution(bytes);
    writeEach(pieces);
    return 0;
}
