#include <QRegularExpression>
#include <QTest>
#include <random>

#include "FormaImporto.h"
#include "MoneyText.h"
#include "NumberPattern.h"
#include "RegoleTasti.h"

namespace {

class Generatore {
  public:
    explicit Generatore(unsigned seme) : motore_(seme) {}

    int tra(int minimo, int massimo) {
        return std::uniform_int_distribution<int>(minimo, massimo)(motore_);
    }
    bool probabile(int percento) { return tra(1, 100) <= percento; }

    // What a field may hold when the person starts typing: an amount as the box shows it,
    // one a window wrote plainly, a lone minus sign, nothing.
    QString testoIniziale(int decimali) {
        const int cifre = tra(0, 12);
        qint64 unita = 0;
        for (int i = 0; i < cifre; ++i) {
            unita = unita * 10 + tra(0, 9);
        }
        const Money importo = Money::fromUnits(probabile(20) ? -unita : unita);
        if (decimali == 0) {
            const QString intero =
                formatNumber(Money::fromWhole(importo.units() / 10000), schemaV());
            return std::array{QString(), QStringLiteral("-"), intero}[tra(0, 2)];
        }
        switch (tra(0, 5)) {
            case 0:
                return QString();
            case 1:
                return QStringLiteral("-");
            case 2:
                return plainItalianText(importo);
            case 3:
                return formatNumber(importo, schemaA(decimali));
            default:
                return formatNumber(importo, schemaB(decimali));
        }
    }

    int tasto() {
        const int scelta = tra(0, 99);
        if (scelta < 50) {
            return '0' + tra(0, 9);
        }
        if (scelta < 65) {
            return tasti::Backspace;
        }
        if (scelta < 77) {
            return tasti::CancellaAvanti;
        }
        if (scelta < 85) {
            return tasti::Virgola;
        }
        if (scelta < 93) {
            return tasti::Meno;
        }
        static constexpr int altri[] = {'.', 13, 27, 22, 'a', ' ', 127, 0x20AC};
        return altri[tra(0, 7)];
    }

    // The person moving the caret or selecting with the mouse or the arrows.
    void spostaCursore(StatoTesto& stato) {
        const int lunghezza = static_cast<int>(stato.testo.size());
        stato.inizio = tra(0, lunghezza);
        stato.selezione = probabile(40) ? tra(0, lunghezza - stato.inizio) : 0;
    }

  private:
    std::mt19937 motore_;
};

// What the field does with a character the rules left: insert it over the selection, or
// delete (the selection, else the character left or right of the caret).
StatoTesto inserito(const StatoTesto& stato, int tasto, int limite) {
    const QString& t = stato.testo;
    if (tasto == tasti::Backspace || tasto == tasti::CancellaAvanti) {
        if (stato.selezione > 0) {
            return {t.left(stato.inizio) + t.mid(stato.inizio + stato.selezione), stato.inizio, 0};
        }
        const int dove = tasto == tasti::Backspace ? stato.inizio - 1 : stato.inizio;
        if (dove < 0 || dove >= t.size()) {
            return stato;
        }
        return {t.left(dove) + t.mid(dove + 1), dove, 0};
    }
    const QString nuovo =
        t.left(stato.inizio) + QChar(tasto) + t.mid(stato.inizio + stato.selezione);
    if (limite > 0 && nuovo.size() > limite) {
        return stato;
    }
    return {nuovo, stato.inizio + 1, 0};
}

int cifreIntere(const QString& testo) {
    const QString intero = testo.section(QLatin1Char(','), 0, 0);
    return static_cast<int>(
        std::count_if(intero.begin(), intero.end(), [](QChar c) { return c.isDigit(); }));
}

}  // namespace

class TestRegoleTasti : public QObject {
    Q_OBJECT
  private slots:
    // Random texts, carets, selections and keys: whatever the person does, a text the rules
    // rewrote is an amount with exactly the field's decimals (or nothing, or a lone minus),
    // whole amounts stay whole amounts, no keystroke gives more integer digits than the field
    // takes, and the caret and the selection stay within the text.
    void everyRewriteLeavesAWellFormedAmount() {
        Generatore caso(20050315);
        int passi = 0;
        int riscritture = 0;
        for (int sequenza = 0; sequenza < 20000; ++sequenza) {
            const bool numerico = caso.probabile(25);
            const int lunghezzaMassima = numerico ? std::array{6, 14, 32767}[caso.tra(0, 2)]
                                                  : std::array{0, 8, 14, 20}[caso.tra(0, 3)];
            const RegoleImporto regole = numerico
                                             ? regoleNumerico(lunghezzaMassima)
                                             : regoleValutaBox(caso.tra(0, 4), lunghezzaMassima);
            const bool intero = regole.decimali == 0;
            StatoTesto stato{caso.testoIniziale(regole.decimali), 0, 0};
            if (numerico && stato.testo.size() > lunghezzaMassima) {
                stato.testo.clear();
            }
            caso.spostaCursore(stato);
            const int tastiDellaSequenza = caso.tra(1, 25);
            for (int i = 0; i < tastiDellaSequenza; ++i, ++passi) {
                if (caso.probabile(15)) {
                    caso.spostaCursore(stato);
                }
                const int tasto = caso.tasto();
                const StatoTesto prima = stato;
                const EsitoTasto esito = applicaTasto(prima, tasto, regole);
                stato =
                    esito.consumato ? esito.stato : inserito(esito.stato, tasto, lunghezzaMassima);
                if (intero) {
                    stato = riscritturaIntera(stato);  // the field's change regroups
                }

                const auto contesto = [&] {
                    return QStringLiteral(
                               "\"%1\" caret %2 sel %3, key %4, D %5%6 -> \"%7\" caret %8")
                        .arg(prima.testo)
                        .arg(prima.inizio)
                        .arg(prima.selezione)
                        .arg(tasto)
                        .arg(regole.decimali)
                        .arg(numerico ? QStringLiteral(" (plain field)") : QString())
                        .arg(stato.testo)
                        .arg(stato.inizio)
                        .toUtf8();
                };
                // The description is built only for a failure: this loop runs hundreds of
                // thousands of times.
                const auto verifica = [&](bool vero) {
                    if (!vero) {
                        QTest::qFail(contesto().constData(), __FILE__, __LINE__);
                    }
                    return vero;
                };
                if (!verifica(stato.inizio >= 0 && stato.selezione >= 0 &&
                              stato.inizio + stato.selezione <= stato.testo.size()) ||
                    !verifica(esito.consumato || tasto == tasti::Meno || intero) ||
                    !verifica(cifreIntere(stato.testo) <=
                              std::max(cifreIntereMassime(regole), cifreIntere(prima.testo)))) {
                    return;
                }
                if (intero) {
                    static const QRegularExpression forma(
                        QStringLiteral(R"(^(-|-?[1-9][0-9]{0,2}(\.[0-9]{3})*|0)?$)"));
                    if (!verifica(forma.match(stato.testo).hasMatch())) {
                        return;
                    }
                    riscritture += stato.testo != prima.testo ? 1 : 0;
                    continue;
                }
                if (esito.consumato && esito.stato.testo != prima.testo) {
                    ++riscritture;
                    if (!verifica(testoDopoRiscrittura(stato.testo, regole.decimali))) {
                        return;
                    }
                }
                if (numerico && !verifica(stato.testo.size() <= lunghezzaMassima)) {
                    return;
                }
            }
        }
        QVERIFY(passi > 200000);
        QVERIFY(riscritture > passi / 4);  // the walk really exercises the rewrites
    }

    // The keys the rules leave alone or consume never change what the amount is worth.
    void commaAndRefusedKeysKeepTheAmount() {
        Generatore caso(1936);
        for (int i = 0; i < 5000; ++i) {
            const int decimali = caso.tra(1, 4);
            StatoTesto stato{
                formatNumber(Money::fromUnits(caso.tra(-9999999, 99999999)), schemaB(decimali)), 0,
                0};
            caso.spostaCursore(stato);
            for (const int tasto : {int(tasti::Virgola), int('.'), 13, int('a')}) {
                const EsitoTasto esito = applicaTasto(stato, tasto, regoleValutaBox(decimali, 14));
                QCOMPARE(leggiImporto(esito.stato.testo), leggiImporto(stato.testo));
                QCOMPARE(esito.beep, tasto != tasti::Virgola);
            }
        }
    }

    // The differences of the plain two-decimal fields that their key tests do not reach
    // (those drive the comma, the digit after the decimals and the length limit).
    void plainFieldsDifferInZeroAndCapacity() {
        const RegoleImporto box = regoleValutaBox(2, 14);
        const RegoleImporto piano = regoleNumerico(14);
        const auto tasto = [](const QString& testo, int inizio, int codice,
                              const RegoleImporto& regole) {
            return applicaTasto({testo, inizio, 0}, codice, regole);
        };
        QCOMPARE(tasto(QStringLiteral(",00"), 1, '5', box).stato.testo, QStringLiteral("0,50"));
        QCOMPARE(tasto(QStringLiteral(",00"), 1, '5', piano).stato.testo, QStringLiteral(",50"));
        QVERIFY(tasto(QStringLiteral("99.999.999,00"), 2, '1', box).beep);
        QCOMPARE(tasto(QStringLiteral("99.999.999,00"), 2, '1', piano).stato.testo,
                 QStringLiteral("991.999.999,00"));
        // The integer digits typing at the end reaches: 8 in the amount boxes, 10 with one
        // decimal (a text of 15 characters), 11 whole, 3 in a rate field of 6 characters.
        QCOMPARE(cifreIntereMassime(box), 8);
        QCOMPARE(cifreIntereMassime(regoleValutaBox(1, 14)), 10);
        QCOMPARE(cifreIntereMassime(regoleValutaBox(0, 14)), 11);
        QCOMPARE(cifreIntereMassime(regoleValutaBox(2, 0)), 13);
        QCOMPARE(cifreIntereMassime(regoleNumerico(6)), 3);
    }

    void unusableDecimalsLeaveTheKeyToTheField() {
        const EsitoTasto esito =
            applicaTasto({QStringLiteral("12"), 2, 0}, '3', regoleValutaBox(-1, 14));
        QVERIFY(!esito.consumato);
        QVERIFY(esito.beep);
        QCOMPARE(esito.stato.testo, QStringLiteral("12"));
    }
};

QTEST_APPLESS_MAIN(TestRegoleTasti)
#include "tst_regole_tasti.moc"
