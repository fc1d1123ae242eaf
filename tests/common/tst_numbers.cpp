#include <QTest>
#include <cmath>

#include "ItalianDate.h"
#include "MoneyText.h"
#include "NumberPattern.h"

namespace {
Money m(const char* text) {
    return *readItalianAmount(QString::fromLatin1(text));
}
}  // namespace

class TestNumbers : public QObject {
    Q_OBJECT
  private slots:
    void patternsRoundGroupAndSign_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const QString money = QStringLiteral("###,###,##0.00");
        QTest::newRow("grouping") << "1234,5" << money << "1.234,50";
        QTest::newRow("millions") << "1234567,891" << money << "1.234.567,89";
        QTest::newRow("half up") << "0,005" << money << "0,01";
        QTest::newRow("half away from zero") << "-0,005" << money << "-0,01";
        QTest::newRow("just below half") << "0,0049" << money << "0,00";
        QTest::newRow("negative") << "-20" << money << "-20,00";
        QTest::newRow("zero") << "0" << money << "0,00";
        QTest::newRow("no sign on rounded zero") << "-0,001" << money << "0,00";
        QTest::newRow("beyond placeholders") << "123456789012" << money << "123.456.789.012,00";
        QTest::newRow("hash drops zero integer") << "0,5"
                                                 << "###,###,###,###,###.00"
                                                 << ",50";
        QTest::newRow("hash keeps others") << "12,5"
                                           << "###,###,###,###,###.00"
                                           << "12,50";
        QTest::newRow("whole number") << "2005"
                                      << "###,###,###,##0"
                                      << "2.005";
        QTest::newRow("whole rounds") << "2,5"
                                      << "###,###,###,##0"
                                      << "3";
        QTest::newRow("three decimals") << "1,5"
                                        << "##,###,###,##0.000"
                                        << "1,500";
        QTest::newRow("code") << "7"
                              << "000"
                              << "007";
        QTest::newRow("code wide") << "1234"
                                   << "000"
                                   << "1234";
        QTest::newRow("percent no grouping") << "1234"
                                             << "#0.00"
                                             << "1234,00";
        QTest::newRow("percent zero") << "0"
                                      << "#0.00"
                                      << "0,00";
        QTest::newRow("pattern C") << "7"
                                   << "0.00"
                                   << "7,00";
        QTest::newRow("pattern V") << "10000"
                                   << "##,###,###,##0"
                                   << "10.000";
    }
    void patternsRoundGroupAndSign() {
        QFETCH(QString, amount);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(*readItalianAmount(amount), pattern), expected);
    }

    void integersAndDoublesUseTheSameRule() {
        QCOMPARE(formatNumber(qint64(4321), QStringLiteral("###,###,###,##0")),
                 QStringLiteral("4.321"));
        QCOMPARE(formatNumber(qint64(-1234567), QStringLiteral("###,###,###,##0")),
                 QStringLiteral("-1.234.567"));
        QCOMPARE(formatNumber(22.0, QStringLiteral("##,###,###,##0.00")), QStringLiteral("22,00"));
        QCOMPARE(formatNumber(1.5, QStringLiteral("##,###,###,##0.000")), QStringLiteral("1,500"));
        // Floating-point results out of range saturate instead of wrapping.
        QVERIFY(Money::fromDouble(1e300) > Money::fromWhole(1000000000000));
        QVERIFY(Money::fromDouble(-std::numeric_limits<double>::infinity()) < Money());
        QCOMPARE(Money::fromDouble(std::nan("")), Money());
        const qint64 largest = std::numeric_limits<qint64>::max();
        QVERIFY(!formatNumber(Money::fromUnits(-largest), QStringLiteral("###,##0.00")).isEmpty());
    }

    void readingItalianAmounts() {
        QCOMPARE(ConvertiValuta(QStringLiteral("1.234,56")), m("1234,56"));
        QCOMPARE(ConvertiValuta(QStringLiteral("1.23,56")), m("123,56"));  // dots anywhere
        QCOMPARE(ConvertiValuta(QStringLiteral("-1.234,5")).units(), -12345000);
        QCOMPARE(ConvertiValuta(QStringLiteral(",50")).units(), 5000);
        QCOMPARE(ConvertiValuta(QStringLiteral("  12  ")).units(), 120000);
        QCOMPARE(ConvertiValuta(QStringLiteral("1,23456")).units(), 12346);  // four decimals
        // Nothing readable gives 0; NULL and empty too.
        QCOMPARE(ConvertiValuta(QStringLiteral("abc")), Money());
        QCOMPARE(ConvertiValuta(QStringLiteral("-")), Money());
        QCOMPARE(ConvertiValuta(QStringLiteral("   ")), Money());
        QCOMPARE(ConvertiValuta(QString()), Money());
        QCOMPARE(ConvertiValuta(QVariant()), Money());
        QCOMPARE(ConvertiValuta(QVariant(QMetaType::fromType<QString>())), Money());
        // The fall-back reads the leading number with "." as decimal point.
        QCOMPARE(ConvertiValuta(QStringLiteral("12.5abc")).units(), 125000);
        QCOMPARE(ConvertiValuta(QStringLiteral(".5")).units(), 5000);
        QCOMPARE(ConvertiValuta(QStringLiteral("-.5")).units(), -5000);
        // Numbers and money pass unchanged.
        QCOMPARE(ConvertiValuta(QVariant(22)).units(), 220000);
        QCOMPARE(ConvertiValuta(QVariant::fromValue(Money::fromUnits(7))).units(), 7);
        QCOMPARE(MyCcur(QStringLiteral("1.234,5")), ConvertiValuta(QStringLiteral("1.234,5")));
        // Strict reading refuses what the rewrite must leave alone.
        QVERIFY(!readItalianAmount(QStringLiteral(".5")));
        QVERIFY(!readItalianAmount(QStringLiteral("-.5")));
        QVERIFY(!readItalianAmount(QStringLiteral("1..2")));
        QVERIFY(!readItalianAmount(QStringLiteral("999999999999999999999")));
        QCOMPARE(plainItalianText(m("-1234,5")), QStringLiteral("-1234,5"));
    }

    void readingAndWritingDates() {
        QCOMPARE(readItalianDate(QStringLiteral("01/01/05"), 2026), QDate(2005, 1, 1));
        QCOMPARE(readItalianDate(QStringLiteral("12/05/"), 2026), QDate(2026, 5, 12));
        QCOMPARE(readItalianDate(QStringLiteral("12/05"), 2026), QDate(2026, 5, 12));
        QCOMPARE(readItalianDate(QStringLiteral("1/2/29"), 2026), QDate(2029, 2, 1));
        QCOMPARE(readItalianDate(QStringLiteral("1/2/30"), 2026), QDate(1930, 2, 1));
        QCOMPARE(readItalianDate(QStringLiteral("29/02/2004"), 2026), QDate(2004, 2, 29));
        QVERIFY(!readItalianDate(QStringLiteral("29/02/2005"), 2026));
        QVERIFY(!readItalianDate(QStringLiteral("99/99/2005"), 2026));
        QVERIFY(!readItalianDate(QStringLiteral("12/"), 2026));
        QVERIFY(!readItalianDate(QString(), 2026));
        QCOMPARE(formatItalianDate(QDate(2005, 3, 5)), QStringLiteral("05/03/2005"));
        QCOMPARE(formatItalianTime(QTime(9, 5, 59)), QStringLiteral("09:05"));
        // The query literal puts the month first.
        QCOMPARE(DataSql(QDate(2005, 3, 5), 2026), QStringLiteral("#03/05/2005#"));
        QCOMPARE(DataSql(QStringLiteral("31/01/2005"), 2026), QStringLiteral("#01/31/2005#"));
        QCOMPARE(DataSql(QStringLiteral("__/__/____"), 2026), QStringLiteral("#00.00.00#"));
        QCOMPARE(DataSql(QVariant(12), 2026), QStringLiteral("#00.00.00#"));
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
