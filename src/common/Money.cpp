#include "Money.h"

#include <cmath>

Money Money::fromDouble(double value) {
    const double scaled = std::round(value * static_cast<double>(Scale));  // half away from zero
    // Out of range would be undefined in the conversion: saturate instead; not a number is 0.
    constexpr double limit = 9.2e18;
    if (std::isnan(scaled)) {
        return Money();
    }
    if (scaled <= -limit) {
        return Money(-static_cast<qint64>(limit));
    }
    if (scaled >= limit) {
        return Money(static_cast<qint64>(limit));
    }
    return Money(static_cast<qint64>(scaled));
}
