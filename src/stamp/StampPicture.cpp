#include "stamp/StampPicture.h"

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "stamp/Exif.h"
#include "stamp/ResultWriter.h"
#include "stamp/StampWhileDecoding.h"

namespace tessaly {

void stampPicture(const StampJob& job, const Bitmap24& watermark, int alpha, int quality) {
    if (!job.refusal.isEmpty())
        throw Error(job.refusal);
    std::unique_ptr<Picture> picture =
        job.format == OutputFormat::Bmp
            ? stampBmpWhileDecoding(job.input, job.output, watermark, alpha)
            : loadPicture(job.input);
    if (!picture)
        return; // written while it was decoded
    // The decoded pixels are not needed afterwards: the blend works in them.
    const Bitmap24 result = composeResult(std::move(picture), watermark, alpha);
    const QByteArray exif = carriesExif(job.format) ? readExifBlock(job.input) : QByteArray();
    writeResult(result, job.output, job.format, quality, exif);
}

} // namespace tessaly
