#pragma once

#include <QString>
#include <QVariant>
#include <optional>

#include "Money.h"

// Strict reading of an amount in Italian notation: optional leading "-", grouping "." only
// between two digits of the integer part, "," as the decimal point, surrounding blanks
// ignored. More than four decimals are rounded half away from zero. No value for anything
// else (blanks only, letters, a lone "-", a text beginning with "." or "-.", overflow).
std::optional<Money> readItalianAmount(const QString& text);

// Text, number or stored value to money. NULL and empty give 0; Italian notation is read
// strictly; when that fails, the leading number of the text is read with "." as the decimal
// point (0 when there is none). Never fails.
Money ConvertiValuta(const QVariant& value);

// The numeric input box's own copy of the same conversion; it behaves exactly alike.
inline Money MyCcur(const QVariant& value) { return ConvertiValuta(value); }

// Plain number text in Italian notation without grouping ("-1234,5"), the form that the
// numeric input box reads back after losing focus.
QString plainItalianText(Money value);
