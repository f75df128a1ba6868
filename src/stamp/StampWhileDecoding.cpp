#include "stamp/StampWhileDecoding.h"

#include "compositing/blend/Composition.h"
#include "compositing/blend/TiledBlend.h"
#include "compositing/decoding/BandSink.h"
#include "compositing/decoding/PictureLoader.h"
#include "compositing/writing/BmpBandWriter.h"
#include "stamp/BandRelay.h"

#include <optional>

namespace tessaly {

namespace {

// Takes the decoded bands and has the relay's thread blend each one and write
// it to its place in the file, while the decoder fills the next.
class BandStamper final : public BandSink {
public:
    BandStamper(const QString& output, const Bitmap24& watermark, int alpha)
        : output_(output), watermark_(watermark), alpha_(alpha) {}

    bool begin(int width, int height) override {
        requireWatermarkFits(QSize(width, height), QSize(watermark_.width(), watermark_.height()));
        writer_.emplace(output_, width, height);
        if (writer_->writesInPlace()) {
            writer_.reset(); // nothing may touch the earlier file before the picture is whole
            return false;
        }
        prepared_.emplace(watermark_, width, alpha_);
        relay_.emplace(width, height, [this](Bitmap24& band, int firstRow) {
            blendTileBand(band, *prepared_, firstRow);
            writer_->write(band, firstRow);
        });
        return true;
    }

    Bitmap24& band(int firstRow) override { return relay_->take(firstRow); }
    void bandDecoded() override { relay_->pass(); }
    // The relay stops first; the writer then removes its temporary file.
    void decodingFailed() override {
        relay_.reset();
        writer_.reset();
    }

    void commit() {
        relay_->finish();
        writer_->commit();
    }

private:
    QString output_;
    const Bitmap24& watermark_;
    int alpha_;
    // Both outlive the relay, whose thread uses them.
    std::optional<PreparedWatermark> prepared_;
    std::optional<BmpBandWriter> writer_;
    std::optional<BandRelay> relay_;
};

} // namespace

std::unique_ptr<Picture> stampBmpWhileDecoding(const QString& input, const QString& output,
                                               const Bitmap24& watermark, int alpha) {
    BandStamper stamper(output, watermark, alpha);
    std::unique_ptr<Picture> picture = loadPicture(input, &stamper);
    if (!picture)
        stamper.commit();
    return picture;
}

} // namespace tessaly
