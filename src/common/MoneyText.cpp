#include "MoneyText.h"

#include <limits>

namespace {

constexpr int kMaxIntegerDigits = 14;  // keeps every amount well inside qint64 ten-thousandths

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Builds a Money from integer digits and decimal digits (any count; rounded to four).
std::optional<Money> moneyFromDigits(bool negative, const QString& integerDigits,
                                     QString decimalDigits) {
    QString integer = integerDigits;
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0'))) {
        integer.remove(0, 1);
    }
    if (integer.size() > kMaxIntegerDigits) {
        return std::nullopt;
    }
    bool roundUp = false;
    if (decimalDigits.size() > 4) {
        roundUp = decimalDigits.at(4) >= QLatin1Char('5');
        decimalDigits.truncate(4);
    }
    while (decimalDigits.size() < 4) {
        decimalDigits += QLatin1Char('0');
    }
    qint64 units =
        (integer.isEmpty() ? 0 : integer.toLongLong()) * Money::Scale + decimalDigits.toLongLong();
    if (roundUp) {
        ++units;
    }
    return Money::fromUnits(negative ? -units : units);
}

// The leading number of a text with "." as the decimal point, as a BASIC Val() reads it.
Money leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    QString integer;
    while (i < text.size() && isDigit(text.at(i))) {
        integer += text.at(i++);
    }
    QString decimals;
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < text.size() && isDigit(text.at(i))) {
            decimals += text.at(i++);
        }
    }
    if (integer.isEmpty() && decimals.isEmpty()) {
        return Money();
    }
    return moneyFromDigits(negative, integer, decimals).value_or(Money());
}

}  // namespace

std::optional<Money> readItalianAmount(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    qsizetype i = 0;
    bool negative = false;
    if (t.at(0) == QLatin1Char('-')) {
        negative = true;
        i = 1;
    }
    QString integer;
    for (; i < t.size() && t.at(i) != QLatin1Char(','); ++i) {
        const QChar c = t.at(i);
        if (isDigit(c)) {
            integer += c;
        } else if (c == QLatin1Char('.')) {
            const bool digitBefore = i > 0 && isDigit(t.at(i - 1));
            const bool digitAfter = i + 1 < t.size() && isDigit(t.at(i + 1));
            if (!digitBefore || !digitAfter) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    QString decimals;
    if (i < t.size()) {  // at the ","
        for (++i; i < t.size(); ++i) {
            if (!isDigit(t.at(i))) {
                return std::nullopt;
            }
            decimals += t.at(i);
        }
    }
    if (integer.isEmpty() && decimals.isEmpty()) {
        return std::nullopt;
    }
    return moneyFromDigits(negative, integer, decimals);
}

namespace {
constexpr qint64 kLimiteInteri = 100'000'000'000'000;  // 1e14 whole units
}  // namespace

Money ConvertiValuta(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        return Money();
    }
    if (value.canConvert<Money>() && value.userType() == qMetaTypeId<Money>()) {
        return value.value<Money>();
    }
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Short: {
            // Beyond the limit the count of ten-thousandths would not fit: no amount, as for
            // a text that is no amount.
            const qint64 whole = value.toLongLong();
            return (whole > -kLimiteInteri && whole < kLimiteInteri) ? Money::fromWhole(whole)
                                                                     : Money();
        }
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = value.toDouble();
            return (d > -kLimiteInteri && d < kLimiteInteri) ? Money::fromDouble(d) : Money();
        }
        default:
            break;
    }
    const QString text = value.toString();
    if (text.isEmpty()) {
        return Money();
    }
    if (const auto amount = readItalianAmount(text)) {
        return *amount;
    }
    return leadingNumber(text);
}

QString plainItalianText(Money value) {
    const qint64 units = value.units();
    const unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    QString decimals =
        QString::number(magnitude % Money::Scale).rightJustified(4, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0'))) {
        decimals.chop(1);
    }
    QString out = QString::number(magnitude / Money::Scale);
    if (!decimals.isEmpty()) {
        out += QLatin1Char(',') + decimals;
    }
    return units < 0 ? QLatin1Char('-') + out : out;
}
