#pragma once

#include <QString>

#include "Money.h"

// Writes numbers through the display patterns used everywhere in the program
// ("###,###,##0.00", "000", "#0.00", ...):
// - rounded half away from zero to as many decimals as the pattern has "0" after its ".";
// - integer digits grouped by three with "." when the pattern holds a ",";
// - decimals after a ",";
// - a leading "-" for a negative result (a result that rounds to zero carries no sign);
// - at least as many integer digits as the pattern has "0" placeholders before its "."
//   (so "000" writes 7 as "007"), and every integer digit beyond the placeholders;
// - a zero integer part is left out when the last integer placeholder is "#"
//   ("###,###,###,###,###.00" writes one half as ",50").
QString formatNumber(Money value, const QString& pattern);
QString formatNumber(qint64 value, const QString& pattern);
QString formatNumber(double value, const QString& pattern);

// The decimals a pattern asks for: the count of "0" after its ".".
int patternDecimals(const QString& pattern);
