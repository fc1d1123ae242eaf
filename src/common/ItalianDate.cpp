#include "ItalianDate.h"

#include <QRegularExpression>

QString formatItalianDate(const QDate& date) {
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString formatItalianTime(const QTime& time) { return time.toString(QStringLiteral("HH:mm")); }

std::optional<QDate> readItalianDate(const QString& text, int currentYear) {
    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*(\d{1,2})[/.\-](\d{1,2})(?:[/.\-](\d{1,4})?)?\s*$)"));
    const QRegularExpressionMatch m = shape.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const QString yearText = m.captured(3);
    int year = currentYear;
    if (!yearText.isEmpty()) {
        year = yearText.toInt();
        if (yearText.size() <= 2) {
            year += year < 30 ? 2000 : 1900;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

QString DataSql(const QVariant& value, int currentYear) {
    QDate date;
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
        date = value.toDate();
    } else if (value.typeId() == QMetaType::QString) {
        date = readItalianDate(value.toString(), currentYear).value_or(QDate());
    }
    if (!date.isValid()) {
        return QStringLiteral("#00.00.00#");
    }
    return date.toString(QStringLiteral("#MM/dd/yyyy#"));
}
