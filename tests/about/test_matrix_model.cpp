#include "about/MatrixModel.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace tessaly {
namespace {

// Answers the draws from a script and remembers each draw's range, so that a
// test sees both what was asked and what came of it.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::deque<int> answers = {}) : answers_(std::move(answers)) {}
    int below(int n) override {
        ranges.push_back(n);
        int answer = 0;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        EXPECT_GE(answer, 0);
        EXPECT_LT(answer, n);
        return answer;
    }
    std::vector<int> ranges;

private:
    std::deque<int> answers_;
};

struct Cell {
    int column;
    int row;
    QChar glyph; // '\0' for an erased cell
    QRgb colour;
    bool operator==(const Cell&) const = default;
};

void PrintTo(const Cell& c, std::ostream* os) {
    *os << "(" << c.column << "," << c.row << " '" << char(c.glyph.unicode()) << "' #" << std::hex
        << (c.colour & 0xFFFFFF) << std::dec << ")";
}

class RecordingCanvas final : public MatrixCanvas {
public:
    void eraseCell(int column, int row) override {
        cells.push_back({column, row, QChar(), qRgb(0, 0, 0)});
    }
    void drawGlyph(int column, int row, QChar glyph, QRgb colour) override {
        cells.push_back({column, row, glyph, colour});
    }
    std::vector<Cell> cells;
};

Cell erased(int column, int row) {
    return {column, row, QChar(), qRgb(0, 0, 0)};
}

Cell glyph(int column, int row, char g, QRgb colour) {
    return {column, row, QLatin1Char(g), colour};
}

TEST(MatrixSeed, GivesEveryColumnTwoDropsWithRandomRowPeriodAndBrightness) {
    MatrixState state;
    state.dropCount = 7; // seeding starts the table over
    std::deque<int> answers;
    for (int i = 0; i < 6; ++i)
        answers.insert(answers.end(), {i * 4, i % 3, i * 19});
    ScriptedRandom random(answers);
    SeedDrops(state, 3, 30, random);

    ASSERT_EQ(state.dropCount, 6);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state.drops[i].column, i % 3);
        EXPECT_EQ(state.drops[i].row, i * 4);
        EXPECT_EQ(state.drops[i].period, 1 + i % 3);
        EXPECT_EQ(state.drops[i].brightness, i * 19);
    }
    // Row 0 .. matrixHeight - 1, period 1 .. 3, brightness 0 .. 99.
    std::vector<int> expected;
    for (int i = 0; i < 6; ++i)
        expected.insert(expected.end(), {30, 3, 100});
    EXPECT_EQ(random.ranges, expected);
}

TEST(MatrixSeed, TableStopsAtFiveThousandDrops) {
    MatrixState state;
    ScriptedRandom random;
    SeedDrops(state, 3000, 31, random);
    EXPECT_EQ(state.dropCount, MaxDrops);
    EXPECT_EQ(state.drops[MaxDrops - 1].column, (MaxDrops - 1) % 3000);
    const size_t draws = random.ranges.size();
    AddDrop(state, 3000, 31, random);
    EXPECT_EQ(state.dropCount, MaxDrops);
    EXPECT_EQ(random.ranges.size(), draws) << "a full table draws nothing";
}

TEST(MatrixSeed, MatrixWithoutCellsGetsNoDrops) {
    for (auto [width, height] : {std::pair{0, 31}, {55, 0}, {-1, 31}}) {
        MatrixState state;
        ScriptedRandom random;
        SeedDrops(state, width, height, random);
        AddDrop(state, width, height, random);
        EXPECT_EQ(state.dropCount, 0) << width << " x " << height;
        EXPECT_TRUE(random.ranges.empty());
    }
}

struct ErasedRowCase {
    int32_t matrixHeight;
    int32_t row;
    int32_t erased;
};

void PrintTo(const ErasedRowCase& c, std::ostream* os) {
    *os << "height " << c.matrixHeight << ", row " << c.row;
}

class MatrixErasedRow : public testing::TestWithParam<ErasedRowCase> {};

TEST_P(MatrixErasedRow, IsFortyRowsUpWrappingOverTheColumn) {
    EXPECT_EQ(erasedRow(GetParam().row, GetParam().matrixHeight), GetParam().erased);
}

INSTANTIATE_TEST_SUITE_P(Rows, MatrixErasedRow,
                         testing::Values(ErasedRowCase{30, 5, 27}, // -35 -> -4 -> 27
                                         ErasedRowCase{30, 0, 22}, ErasedRowCase{30, 31, 22},
                                         ErasedRowCase{30, 8, 30}, ErasedRowCase{30, 9, 0},
                                         ErasedRowCase{50, 40, 0}, ErasedRowCase{50, 51, 11},
                                         ErasedRowCase{50, 39, 50}, // one wrap
                                         ErasedRowCase{3, 0, 0},    // many wraps: -40 + 10 * 4
                                         ErasedRowCase{3, 2, 2}, ErasedRowCase{0, 1, 0}));

struct ColourCase {
    int32_t brightness;
    QRgb bright;
    QRgb dim;
};

void PrintTo(const ColourCase& c, std::ostream* os) {
    *os << "brightness " << c.brightness;
}

class MatrixColours : public testing::TestWithParam<ColourCase> {};

TEST_P(MatrixColours, FollowBrightness) {
    const DropColours c = dropColours(GetParam().brightness);
    EXPECT_EQ(c.bright, GetParam().bright);
    EXPECT_EQ(c.dim, GetParam().dim);
}

INSTANTIATE_TEST_SUITE_P(Brightness, MatrixColours,
                         testing::Values(ColourCase{99, qRgb(148, 252, 98), qRgb(49, 84, 32)},
                                         ColourCase{50, qRgb(74, 127, 49), qRgb(24, 42, 16)},
                                         ColourCase{1, qRgb(1, 2, 0), qRgb(0, 0, 0)},
                                         ColourCase{0, qRgb(0, 0, 0), qRgb(0, 0, 0)}));

TEST(MatrixDraw, HeadAtTopHasNoDimCell) {
    RecordingCanvas canvas;
    DrawDrop({4, 0, 1, 99}, QLatin1Char('z'), 30, canvas);
    EXPECT_EQ(canvas.cells,
              (std::vector<Cell>{erased(4, 22), glyph(4, 0, 'z', qRgb(148, 252, 98))}));
}

TEST(MatrixDraw, LowerHeadErasesTailThenDrawsDimAndBrightGlyph) {
    RecordingCanvas canvas;
    DrawDrop({7, 5, 2, 99}, QLatin1Char('q'), 30, canvas);
    EXPECT_EQ(canvas.cells, (std::vector<Cell>{erased(7, 27), glyph(7, 4, 'q', qRgb(49, 84, 32)),
                                               glyph(7, 5, 'q', qRgb(148, 252, 98))}));
}

struct StepCase {
    const char* name;
    TDrop drop;
    int32_t frameCount;
    TDrop after;
    std::vector<int> ranges; // the draws of the step: glyph, then a restart's
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class MatrixStep : public testing::TestWithParam<StepCase> {};

TEST_P(MatrixStep, MovesDueDropsAndRestartsThoseBelowTheBottom) {
    const StepCase& c = GetParam();
    MatrixState state;
    state.symbols = QStringLiteral("qoz");
    state.drops[0] = c.drop;
    state.dropCount = 1;
    state.frameCount = c.frameCount;
    // Glyph "o", then a restart's period 3 and brightness 42.
    ScriptedRandom random({1, 2, 42});
    RecordingCanvas canvas;
    StepMatrix(state, 30, random, canvas);

    EXPECT_EQ(state.drops[0].column, c.after.column);
    EXPECT_EQ(state.drops[0].row, c.after.row);
    EXPECT_EQ(state.drops[0].period, c.after.period);
    EXPECT_EQ(state.drops[0].brightness, c.after.brightness);
    EXPECT_EQ(random.ranges, c.ranges);
    EXPECT_EQ(state.frameCount, c.frameCount + 1);
    // Drawn where the head stood before the move, with the glyph drawn.
    ASSERT_FALSE(canvas.cells.empty());
    EXPECT_EQ(canvas.cells.back(),
              glyph(c.drop.column, c.drop.row, 'o', dropColours(c.drop.brightness).bright));
}

INSTANTIATE_TEST_SUITE_P(
    Drops, MatrixStep,
    testing::Values(StepCase{"Moves", {3, 5, 1, 60}, 7, {3, 6, 1, 60}, {3}},
                    StepCase{"WaitsOffPeriod", {3, 5, 2, 60}, 7, {3, 5, 2, 60}, {3}},
                    StepCase{"MovesOnPeriod", {3, 5, 3, 60}, 9, {3, 6, 3, 60}, {3}},
                    StepCase{"ReachesLastRow", {3, 30, 1, 60}, 0, {3, 31, 1, 60}, {3}},
                    StepCase{"Restarts", {3, 31, 1, 60}, 0, {3, 0, 3, 42}, {3, 3, 100}},
                    StepCase{"WaitsOnLastRow", {3, 31, 2, 60}, 1, {3, 31, 2, 60}, {3}}),
    [](const testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(MatrixStep, DrawsEveryDropInTableOrderWithItsOwnGlyph) {
    MatrixState state;
    state.symbols = QStringLiteral("qoz");
    state.drops[0] = {0, 0, 2, 99};
    state.drops[1] = {1, 5, 2, 0};
    state.dropCount = 2;
    state.frameCount = 1; // neither drop moves
    ScriptedRandom random({2, 0});
    RecordingCanvas canvas;
    StepMatrix(state, 30, random, canvas);
    EXPECT_EQ(canvas.cells, (std::vector<Cell>{erased(0, 22), glyph(0, 0, 'z', qRgb(148, 252, 98)),
                                               erased(1, 27), glyph(1, 4, 'q', qRgb(0, 0, 0)),
                                               glyph(1, 5, 'q', qRgb(0, 0, 0))}));
    EXPECT_EQ(state.frameCount, 2);
}

TEST(MatrixStep, FrameCountStartsOverInsteadOfOverflowing) {
    MatrixState state;
    state.frameCount = std::numeric_limits<int32_t>::max();
    ScriptedRandom random;
    RecordingCanvas canvas;
    StepMatrix(state, 30, random, canvas);
    EXPECT_EQ(state.frameCount, 0);
}

TEST(MatrixStep, ColumnNeverChangesOverManyTicks) {
    MatrixState state;
    state.symbols = QStringLiteral("qoz");
    UniformRandom random;
    SeedDrops(state, 55, 31, random);
    RecordingCanvas canvas;
    for (int tick = 0; tick < 500; ++tick) {
        StepMatrix(state, 31, random, canvas);
        for (int i = 0; i < state.dropCount; ++i) {
            const TDrop& d = state.drops[i];
            ASSERT_EQ(d.column, i % 55);
            ASSERT_GE(d.row, 0);
            ASSERT_LE(d.row, 32);
            ASSERT_GE(d.period, 1);
            ASSERT_LE(d.period, 3);
            ASSERT_GE(d.brightness, 0);
            ASSERT_LE(d.brightness, 99);
        }
    }
    for (const Cell& c : canvas.cells) {
        ASSERT_GE(c.row, 0);
        ASSERT_LE(c.row, 32);
    }
}

} // namespace
} // namespace tessaly
