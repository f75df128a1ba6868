// EMR_EXTTEXTOUTA and EMR_EXTTEXTOUTW.
#include "compositing/metafile/AnsiText.h"
#include "compositing/metafile/EmfPlayback.h"

namespace tessaly::metafile {

namespace {

constexpr uint32_t kEtoNoRect = 0x100, kEtoPdy = 0x2000;
// Longer runs are cut: no picture shows more characters in one line, and
// each one costs a glyph lookup.
constexpr uint32_t kMaxChars = 8192;

QString readString(const RecordReader& record, uint32_t offset, uint32_t chars, bool wide,
                   int charSet) {
    RecordReader in = record.sub(offset, std::size_t(chars) * (wide ? 2 : 1));
    if (!wide)
        return decodeAnsi(in.bytes(chars), charSet);
    QString text;
    text.reserve(chars);
    for (uint32_t i = 0; i < chars; ++i)
        text.append(QChar(in.u16()));
    return text;
}

std::vector<double> readDx(const RecordReader& record, uint32_t offset, uint32_t chars,
                           uint32_t options) {
    std::vector<double> dx;
    const std::size_t step = options & kEtoPdy ? 8 : 4;
    if (offset == 0 || offset >= record.size() ||
        (record.size() - offset) / step < std::size_t(chars))
        return dx;
    RecordReader in = record.sub(offset, std::size_t(chars) * step);
    for (uint32_t i = 0; i < chars; ++i) {
        dx.push_back(in.i32());
        if (step == 8)
            in.i32();
    }
    return dx;
}

} // namespace

void EmfPlayback::text(RecordReader& in, bool wide) {
    in.rectL();  // bounds
    in.skip(12); // graphics mode, scales
    TextRun run;
    run.reference = in.pointL();
    const uint32_t chars = in.u32();
    const uint32_t offString = in.u32();
    run.options = in.u32();
    if (!(run.options & kEtoNoRect)) {
        const QRectF rect = in.rectL();
        if (!rect.isEmpty())
            run.rect = rect;
    }
    const uint32_t offDx = in.u32();
    const uint32_t shown = std::min(chars, kMaxChars);
    run.text = readString(in, offString, shown, wide, canvas_.dc().font.charSet);
    run.dx = readDx(in, offDx, shown, run.options);
    canvas_.text(run);
}

} // namespace tessaly::metafile
