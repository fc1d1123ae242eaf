#include "NumberPattern.h"

#include <QVarLengthArray>

namespace {

struct PatternShape {
    int decimals = 0;
    int minIntegerDigits = 0;
    bool grouping = false;
};

PatternShape shapeOf(const QString& pattern) {
    PatternShape shape;
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QStringView integerPart = dot < 0 ? QStringView(pattern) : QStringView(pattern).left(dot);
    const QStringView decimalPart = dot < 0 ? QStringView() : QStringView(pattern).mid(dot + 1);
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

// Formats an exact magnitude given as a count of 10^-scaleDigits units. Amounts are written
// by the thousand (grids, totals, prints), so the digits are laid out in one buffer and the
// text is made once.
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
    const bool isZero = magnitude == 0;

    // The digits, least significant first: the zeros the pattern's decimals add, the
    // magnitude's own, then zeros up to one integer digit.
    QVarLengthArray<char16_t, 64> cifre;
    for (; keptDigits < shape.decimals; ++keptDigits) {
        cifre.append(u'0');
    }
    do {
        cifre.append(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    while (cifre.size() < shape.decimals + 1) {
        cifre.append(u'0');
    }
    // Strip leading zeros, then pad to the minimum digit count.
    while (cifre.size() - shape.decimals > 1 && cifre.back() == u'0') {
        cifre.removeLast();
    }
    qsizetype intere = cifre.size() - shape.decimals;
    if (intere == 1 && cifre.back() == u'0' && shape.minIntegerDigits == 0) {
        cifre.removeLast();
        intere = 0;
    }
    for (; intere < shape.minIntegerDigits; ++intere) {
        cifre.append(u'0');
    }

    QString out;
    out.reserve(intere + intere / 3 + shape.decimals + 2);
    if (negative && !isZero) {
        out += QLatin1Char('-');
    }
    for (qsizetype i = 0; i < intere; ++i) {
        if (shape.grouping && i > 0 && (intere - i) % 3 == 0) {
            out += QLatin1Char('.');
        }
        out += QChar(cifre[cifre.size() - 1 - i]);
    }
    if (shape.decimals > 0) {
        out += QLatin1Char(',');
        for (qsizetype i = shape.decimals - 1; i >= 0; --i) {
            out += QChar(cifre[i]);
        }
    }
    return out;
}

unsigned long long magnitudeOf(qint64 value) {
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

}  // namespace

int patternDecimals(const QString& pattern) {
    return shapeOf(pattern).decimals;
}

QString formatNumber(Money value, const QString& pattern) {
    return formatScaled(value.isNegative(), magnitudeOf(value.units()), 4, shapeOf(pattern));
}

QString formatNumber(qint64 value, const QString& pattern) {
    return formatScaled(value < 0, magnitudeOf(value), 0, shapeOf(pattern));
}

QString formatNumber(double value, const QString& pattern) {
    return formatNumber(Money::fromDouble(value), pattern);
}
