#pragma once

#include <QMetaType>
#include <QtGlobal>
#include <compare>

// An exact amount of money: a signed 64-bit count of ten-thousandths (four decimal places).
// The archive stores amounts as this same integer count.
class Money {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    static constexpr Money fromWhole(qint64 whole) { return Money(whole * Scale); }
    // Rounds half away from zero to four decimals. Only for the routines that compute in
    // floating point on purpose (the VAT contained in an amount).
    static Money fromDouble(double value);

    constexpr qint64 units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / Scale; }
    constexpr bool isZero() const { return units_ == 0; }
    constexpr bool isNegative() const { return units_ < 0; }

    constexpr Money operator-() const { return Money(-units_); }
    constexpr Money operator+(Money other) const { return Money(units_ + other.units_); }
    constexpr Money operator-(Money other) const { return Money(units_ - other.units_); }
    constexpr Money& operator+=(Money other) {
        units_ += other.units_;
        return *this;
    }
    constexpr Money& operator-=(Money other) {
        units_ -= other.units_;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(qint64 units) : units_(units) {}
    qint64 units_ = 0;
};

Q_DECLARE_METATYPE(Money)
