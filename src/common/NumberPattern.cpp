#include "NumberPattern.h"

namespace {

struct PatternShape {
    int decimals = 0;
    int minIntegerDigits = 0;
    bool grouping = false;
};

PatternShape shapeOf(const QString& pattern) {
    PatternShape shape;
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QString integerPart = dot < 0 ? pattern : pattern.left(dot);
    const QString decimalPart = dot < 0 ? QString() : pattern.mid(dot + 1);
    shape.grouping = integerPart.contains(QLatin1Char(','));
    shape.decimals = static_cast<int>(decimalPart.count(QLatin1Char('0')));
    // Zero placeholders count from the first "0" to the end of the integer part.
    const qsizetype firstZero = integerPart.indexOf(QLatin1Char('0'));
    if (firstZero >= 0) {
        for (qsizetype i = firstZero; i < integerPart.size(); ++i) {
            if (integerPart.at(i) == QLatin1Char('0') || integerPart.at(i) == QLatin1Char('#')) {
                ++shape.minIntegerDigits;
            }
        }
    }
    return shape;
}

QString groupThousands(const QString& digits) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += QLatin1Char('.');
        }
        out += digits.at(i);
    }
    return out;
}

// Formats an exact magnitude given as a count of 10^-scaleDigits units.
QString formatScaled(bool negative, unsigned long long magnitude, int scaleDigits,
                     const PatternShape& shape) {
    // Round to the pattern's decimals, half away from zero (on the magnitude).
    int keptDigits = scaleDigits;
    if (keptDigits > shape.decimals) {
        unsigned long long divisor = 1;
        for (; keptDigits > shape.decimals; --keptDigits) {
            divisor *= 10;
        }
        const unsigned long long remainder = magnitude % divisor;
        magnitude = magnitude / divisor + (remainder * 2 >= divisor ? 1 : 0);
    }
    QString digits = QString::number(magnitude);
    while (keptDigits < shape.decimals) {
        digits += QLatin1Char('0');
        ++keptDigits;
    }
    if (digits.size() < shape.decimals + 1) {
        digits = QString(shape.decimals + 1 - digits.size(), QLatin1Char('0')) + digits;
    }
    QString integerDigits = digits.left(digits.size() - shape.decimals);
    const QString decimalDigits = digits.right(shape.decimals);
    const bool isZero = magnitude == 0;

    // Strip leading zeros, then pad to the minimum digit count.
    while (integerDigits.size() > 1 && integerDigits.startsWith(QLatin1Char('0'))) {
        integerDigits.remove(0, 1);
    }
    if (integerDigits == QLatin1String("0") && shape.minIntegerDigits == 0) {
        integerDigits.clear();
    }
    if (integerDigits.size() < shape.minIntegerDigits) {
        integerDigits =
            QString(shape.minIntegerDigits - integerDigits.size(), QLatin1Char('0')) + integerDigits;
    }
    QString out = shape.grouping ? groupThousands(integerDigits) : integerDigits;
    if (shape.decimals > 0) {
        out += QLatin1Char(',') + decimalDigits;
    }
    if (negative && !isZero) {
        out.prepend(QLatin1Char('-'));
    }
    return out;
}

unsigned long long magnitudeOf(qint64 value) {
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

}  // namespace

int patternDecimals(const QString& pattern) { return shapeOf(pattern).decimals; }

QString formatNumber(Money value, const QString& pattern) {
    return formatScaled(value.isNegative(), magnitudeOf(value.units()), 4, shapeOf(pattern));
}

QString formatNumber(qint64 value, const QString& pattern) {
    return formatScaled(value < 0, magnitudeOf(value), 0, shapeOf(pattern));
}

QString formatNumber(double value, const QString& pattern) {
    return formatNumber(Money::fromDouble(value), pattern);
}
