#include "stamp/StampWhileDecoding.h"

#include "compositing/blend/Composition.h"
#include "compositing/blend/TiledBlend.h"
#include "compositing/decoding/DecodedRows.h"
#include "compositing/decoding/PictureLoader.h"
#include "compositing/writing/BmpBandWriter.h"

#include <optional>

namespace tessaly {

namespace {

// Blends each band of decoded rows in place and hands it to the file.
class BandStamper final : public DecodedRows {
public:
    BandStamper(const QString& output, const Bitmap24& watermark, int alpha)
        : output_(output), watermark_(watermark), alpha_(alpha) {}

    bool started() const { return writer_.has_value(); }
    void commit() { writer_->commit(); }

    void rowsDecoded(Bitmap24& bitmap, int rows) override {
        try {
            if (!writer_) {
                requireWatermarkFits(QSize(bitmap.width(), bitmap.height()),
                                     QSize(watermark_.width(), watermark_.height()));
                writer_.emplace(output_, bitmap);
            }
            blendTileRows(bitmap, watermark_, alpha_, blended_, rows);
            writer_->write(blended_, rows);
            blended_ = rows;
        } catch (...) {
            decodingFailed();
            throw;
        }
    }

    // The writer stops reading the bitmap and removes its temporary file.
    void decodingFailed() override { writer_.reset(); }

private:
    QString output_;
    const Bitmap24& watermark_;
    int alpha_;
    int blended_ = 0;
    std::optional<BmpBandWriter> writer_;
};

} // namespace

std::unique_ptr<Picture> stampBmpWhileDecoding(const QString& input, const QString& output,
                                               const Bitmap24& watermark, int alpha) {
    BandStamper stamper(output, watermark, alpha);
    std::unique_ptr<Picture> picture = loadPicture(input, &stamper);
    if (!stamper.started())
        return picture;
    stamper.commit(); // the picture holds the rows until they are written
    return nullptr;
}

} // namespace tessaly
