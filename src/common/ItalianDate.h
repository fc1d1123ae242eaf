#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>
#include <optional>

// Dates and times as the person reads and types them.
QString formatItalianDate(const QDate& date);  // "dd/mm/yyyy"
QString formatItalianTime(const QTime& time);  // "HH:nn", 24-hour clock

// Reads day/month[/year]. Separators "/", "-" or ".". A missing year is currentYear;
// a one- or two-digit year 00-29 is 2000-2029 and 30-99 is 1930-1999; longer years are
// taken as written. No value when the text is not a calendar date.
std::optional<QDate> readItalianDate(const QString& text, int currentYear);

// The date literal of query texts and print titles: "#mm/dd/yyyy#", or "#00.00.00#" for a
// value that is neither a date nor a text reading as one.
QString DataSql(const QVariant& value, int currentYear);
