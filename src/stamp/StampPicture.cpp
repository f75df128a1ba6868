#include "stamp/StampPicture.h"

#include "compositing/blend/Composition.h"
#include "compositing/decoding/PictureLoader.h"
#include "stamp/Exif.h"
#include "stamp/ResultWriter.h"

namespace tessaly {

void stampPicture(const StampJob& job, const Bitmap24& watermark, int alpha, int quality) {
    if (!job.refusal.isEmpty())
        throw Error(job.refusal);
    std::unique_ptr<Picture> picture = loadPicture(job.input);
    const Bitmap24 result = composeResult(*picture, watermark, alpha);
    picture.reset(); // the decoded pixels are not needed while encoding
    const QByteArray exif = carriesExif(job.format) ? readExifBlock(job.input) : QByteArray();
    writeResult(result, job.output, job.format, quality, exif);
}

} // namespace tessaly
