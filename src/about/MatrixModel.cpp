#include "about/MatrixModel.h"

#include <algorithm>
#include <limits>

namespace tessaly {

namespace {

QRgb tint(int32_t v) {
    return qRgb(v * 150 / 255, v, v * 100 / 255);
}

int32_t randomPeriod(RandomSource& random) {
    return 1 + random.below(3);
}

int32_t randomBrightness(RandomSource& random) {
    return random.below(100);
}

void moveDrop(TDrop& drop, int32_t frameCount, int32_t matrixHeight, RandomSource& random) {
    if (frameCount % drop.period != 0)
        return;
    ++drop.row;
    if (drop.row > matrixHeight + 1) {
        drop.row = 0;
        drop.period = randomPeriod(random);
        drop.brightness = randomBrightness(random);
    }
}

} // namespace

MatrixState& matrixState() {
    static MatrixState state;
    return state;
}

UniformRandom::UniformRandom() : engine_(std::random_device{}()) {}

int UniformRandom::below(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

DropColours dropColours(int32_t brightness) {
    const int32_t b = brightness * 255 / 100;
    return {tint(b), tint(b / 3)};
}

int32_t erasedRow(int32_t row, int32_t matrixHeight) {
    const int32_t rows = std::max(matrixHeight + 1, 1);
    int32_t erased = row - TrailLength;
    // Adding `rows` until the row is no longer negative, in one step.
    if (erased < 0)
        erased = (erased % rows + rows) % rows;
    return erased;
}

void AddDrop(MatrixState& state, int32_t matrixWidth, int32_t matrixHeight, RandomSource& random) {
    // A matrix without cells has no column or row to give a drop.
    if (state.dropCount >= MaxDrops || matrixWidth <= 0 || matrixHeight <= 0)
        return;
    TDrop& drop = state.drops[state.dropCount];
    drop.column = state.dropCount % matrixWidth;
    drop.row = random.below(matrixHeight);
    drop.period = randomPeriod(random);
    drop.brightness = randomBrightness(random);
    ++state.dropCount;
}

void SeedDrops(MatrixState& state, int32_t matrixWidth, int32_t matrixHeight,
               RandomSource& random) {
    state.dropCount = 0;
    for (int32_t i = 0; i < 2 * matrixWidth; ++i)
        AddDrop(state, matrixWidth, matrixHeight, random);
}

void DrawDrop(const TDrop& drop, QChar glyph, int32_t matrixHeight, MatrixCanvas& canvas) {
    canvas.eraseCell(drop.column, erasedRow(drop.row, matrixHeight));
    const DropColours colours = dropColours(drop.brightness);
    if (drop.row > 0)
        canvas.drawGlyph(drop.column, drop.row - 1, glyph, colours.dim);
    canvas.drawGlyph(drop.column, drop.row, glyph, colours.bright);
}

void StepMatrix(MatrixState& state, int32_t matrixHeight, RandomSource& random,
                MatrixCanvas& canvas) {
    const auto symbolCount = static_cast<int>(state.symbols.size());
    for (int32_t i = 0; i < state.dropCount; ++i) {
        TDrop& drop = state.drops[i];
        const QChar glyph =
            symbolCount > 0 ? state.symbols[random.below(symbolCount)] : QLatin1Char(' ');
        DrawDrop(drop, glyph, matrixHeight, canvas);
        moveDrop(drop, state.frameCount, matrixHeight, random);
    }
    // Starts over instead of overflowing after years of ticks.
    state.frameCount =
        state.frameCount == std::numeric_limits<int32_t>::max() ? 0 : state.frameCount + 1;
}

} // namespace tessaly
