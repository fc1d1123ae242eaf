#include "Money.h"

#include <cmath>

Money Money::fromDouble(double value) {
    const double scaled = value * static_cast<double>(Scale);
    return Money(static_cast<qint64>(std::round(scaled)));  // std::round: half away from zero
}
