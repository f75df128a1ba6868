#include "stamp/metadata/ResolutionUnits.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

constexpr double kCentimetresPerInch = 2.54;

// The pair rounded to whole numbers within [1, most], scaled down together
// when a ratio must keep its shape.
std::pair<double, double> wholeWithin(double x, double y, double most, bool keepRatio) {
    if (keepRatio && std::max(x, y) > most) {
        const double scale = most / std::max(x, y);
        x *= scale;
        y *= scale;
    }
    return {std::clamp(std::round(x), 1.0, most), std::clamp(std::round(y), 1.0, most)};
}

bool isWhole(double v) {
    return std::abs(v - std::round(v)) < 0.01;
}

} // namespace

JfifDensity jfifDensity(const Resolution& r) {
    using Unit = Resolution::Unit;
    int unit = r.unit == Unit::Inch ? 1 : r.unit == Unit::Centimetre ? 2 : 0;
    double x = r.x, y = r.y;
    if (r.unit == Unit::Centimetre && isWhole(x * kCentimetresPerInch) &&
        isWhole(y * kCentimetresPerInch)) {
        unit = 1;
        x *= kCentimetresPerInch;
        y *= kCentimetresPerInch;
    }
    const auto [wx, wy] = wholeWithin(x, y, 65535, unit == 0);
    return {unit, int(wx), int(wy)};
}

PngPhysical pngPhysical(const Resolution& r) {
    using Unit = Resolution::Unit;
    const double perMetre = r.unit == Unit::Inch ? 100 / kCentimetresPerInch : 100;
    const bool ratio = r.unit == Unit::None;
    const auto [wx, wy] = wholeWithin(ratio ? r.x : r.x * perMetre, ratio ? r.y : r.y * perMetre,
                                      2147483647.0, ratio);
    return {ratio ? 0 : 1, uint32_t(wx), uint32_t(wy)};
}

} // namespace tessaly
