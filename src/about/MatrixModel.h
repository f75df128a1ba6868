#pragma once

// The falling-glyph animation of the About window, kept apart from the window
// so that every drop, step and colour can be checked exactly. The window only
// supplies the cells' surface (MatrixCanvas) and the dice (RandomSource).

#include <array>
#include <cstdint>
#include <QChar>
#include <QRgb>
#include <QString>
#include <random>

namespace tessaly {

// One falling glyph column head.
struct TDrop {
    int32_t column = 0;     // 0 .. matrixWidth - 1
    int32_t row = 0;        // the head's row, 0 .. matrixHeight + 1
    int32_t period = 1;     // moves on ticks where frameCount is a multiple of it
    int32_t brightness = 0; // 0 .. 99, percent of full brightness of the head
};

constexpr int32_t MaxDrops = 5000;
// Rows between a drop's head and the cell it erases: the trail's length.
constexpr int32_t TrailLength = 40;

// The animation state. There is one per process (matrixState()), since only
// one About window exists at a time; tests make their own.
struct MatrixState {
    std::array<TDrop, MaxDrops> drops{};
    int32_t dropCount = 0;
    int32_t frameCount = 0;
    QString symbols; // the glyph set
};

MatrixState& matrixState();

// Uniform integers; replaceable so that tests can script every draw.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A uniform integer in 0 .. n - 1 (n > 0).
    virtual int below(int n) = 0;
};

class UniformRandom final : public RandomSource {
public:
    UniformRandom();
    int below(int n) override;

private:
    std::mt19937 engine_;
};

// Where the drops are drawn, one cell at a time.
class MatrixCanvas {
public:
    virtual ~MatrixCanvas() = default;
    virtual void eraseCell(int column, int row) = 0;
    // The glyph over an opaque black cell.
    virtual void drawGlyph(int column, int row, QChar glyph, QRgb colour) = 0;
};

struct DropColours {
    QRgb bright; // the head
    QRgb dim;    // the cell above the head
};

DropColours dropColours(int32_t brightness);

// The row that a head at `row` erases: TrailLength rows up, wrapping over the
// matrixHeight + 1 rows a drop passes through.
int32_t erasedRow(int32_t row, int32_t matrixHeight);

// Appends one drop in the next column with a random row, period and
// brightness; nothing once the table is full.
void AddDrop(MatrixState& state, int32_t matrixWidth, int32_t matrixHeight, RandomSource& random);
// Empties the table and gives every column two drops.
void SeedDrops(MatrixState& state, int32_t matrixWidth, int32_t matrixHeight, RandomSource& random);
// One drop's cells for this tick: the erased tail, the dim cell above the
// head, the bright head.
void DrawDrop(const TDrop& drop, QChar glyph, int32_t matrixHeight, MatrixCanvas& canvas);
// One timer tick: draws every drop with a fresh glyph, moves the drops that
// are due and restarts those that ran off the bottom.
void StepMatrix(MatrixState& state, int32_t matrixHeight, RandomSource& random,
                MatrixCanvas& canvas);

} // namespace tessaly
