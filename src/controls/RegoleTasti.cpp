#include "RegoleTasti.h"

#include <algorithm>

#include "MoneyText.h"
#include "NumberPattern.h"

namespace {

bool cifra(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
QString zeri(int quanti) {
    return QString(quanti, QLatin1Char('0'));
}
int lunghezza(const QString& testo) {
    return static_cast<int>(testo.size());
}

// The character at a 1-based position, or a null character outside the text.
QChar alPosto(const QString& testo, int posizione) {
    return posizione >= 1 && posizione <= lunghezza(testo) ? testo.at(posizione - 1) : QChar();
}

// A caret position as the field takes it: within the text.
int entro(int cursore, const QString& testo) {
    return std::clamp(cursore, 0, lunghezza(testo));
}

EsitoTasto consuma(const QString& testo, int cursore) {
    return {{testo, cursore, 0}, true, false};
}
EsitoTasto rifiuta(const StatoTesto& prima) {
    return {prima, true, true};
}

// An amount of thirteen integer digits, with their grouping dots, the comma and the
// decimals, takes no further integer digit even in a field without a length limit: rounding
// up its decimals can still make fourteen, the most that the money type holds.
int capienzaMassima(int decimali) {
    return 18 + decimali;
}

int capienza(const RegoleImporto& regole) {
    if (regole.lunghezzaMassima <= 0) {
        return capienzaMassima(regole.decimali);
    }
    const bool ridotta = regole.capienzaRidotta && regole.decimali % 3 == 2;
    return std::min(regole.lunghezzaMassima - (ridotta ? 1 : 0), capienzaMassima(regole.decimali));
}

// The integer digits of an amount's text: the digits before its comma.
int cifreIntere(const QString& testo) {
    const qsizetype virgola = testo.indexOf(QLatin1Char(','));
    const QStringView intero = QStringView(testo).left(virgola < 0 ? testo.size() : virgola);
    return static_cast<int>(std::count_if(intero.begin(), intero.end(), cifra));
}

QString schemaDopoCifra(const RegoleImporto& regole) {
    return regole.zeroInteroDopoCifra ? schemaB(regole.decimali) : schemaA(regole.decimali);
}

EsitoTasto backspace(const StatoTesto& prima, int d) {
    const int s = prima.inizio;
    QString t = prima.testo;
    if (s == 0) {
        if (prima.selezione == lunghezza(t)) {
            return consuma(riscrivi(QStringLiteral("0,") + zeri(d), schemaA(d)), 0);
        }
        return {prima, true, false};
    }
    int p = s;
    const int vecchia = lunghezza(t);
    if (alPosto(t, s) == QLatin1Char(',')) {
        // Backspace just after the comma takes the last integer digit instead.
        if (p > 1) {
            t = t.left(s - 2) + QLatin1Char(',') + t.mid(s);
            --p;
        }
    } else {
        t = t.left(s - 1) + t.mid(s);
    }
    t = riscrivi(t, schemaA(d));
    const int nuova = lunghezza(t);
    int cursore = entro(p, t);
    if (nuova > vecchia) {
        cursore = entro(cursore + 1, t);
    } else if (nuova == vecchia - 2) {
        cursore = entro(cursore - 2, t);
    } else if (nuova < vecchia) {
        cursore = entro(cursore - 1, t);
    } else {
        cursore = entro(p - 1, t);
    }
    // Taking the first digit can leave a grouping dot in front, which is no amount yet.
    bool riparato = false;
    if (t.startsWith(QLatin1String("-."))) {
        t = QLatin1Char('-') + t.mid(2);
        cursore = 1;
        riparato = true;
    } else if (t.startsWith(QLatin1Char('.'))) {
        t = t.mid(1);
        cursore = 0;
        riparato = true;
    }
    if (riparato) {
        t = riscrivi(t, schemaA(d));  // "0.345" loses its leading zero as well
        cursore = entro(cursore, t);
    }
    return consuma(t, cursore);
}

EsitoTasto virgola(const StatoTesto& prima, const RegoleImporto& regole) {
    const qsizetype esistente = prima.testo.indexOf(QLatin1Char(','));
    if (esistente >= 0) {
        return consuma(prima.testo, static_cast<int>(esistente) + 1);
    }
    const int d = regole.decimali;
    const QString t = riscrivi(prima.testo + QLatin1Char(',') + zeri(d), schemaA(d));
    const int posizione = static_cast<int>(t.indexOf(QLatin1Char(',')));
    return consuma(t, entro(regole.cursoreDopoVirgola ? posizione + 1 : posizione, t));
}

EsitoTasto cancellaAvanti(const StatoTesto& prima, int d) {
    const int s = prima.inizio;
    const int l = prima.selezione;
    QString t = prima.testo;
    int p = s;
    int puntiFuori = 0;  // grouping dots outside the selection
    QString virgolaTolta;
    int decimaliTolti = 0;
    for (int i = 1; i <= lunghezza(t); ++i) {
        const bool selezionato = i >= s + 1 && i <= s + l;
        if (selezionato && t.at(i - 1) == QLatin1Char(',')) {
            virgolaTolta = QStringLiteral(",");
            decimaliTolti = s + l - i;
        } else if (!selezionato && t.at(i - 1) == QLatin1Char('.')) {
            ++puntiFuori;
        }
    }
    if (l == 0) {
        if (alPosto(t, s + 1) == QLatin1Char(',')) {
            // Delete before the comma takes the first decimal.
            t = t.left(s) + QLatin1Char(',') + t.mid(s + 2);
            ++p;
        } else {
            t = t.left(s) + t.mid(s + 1);
        }
    } else {
        // A deleted selection holding the comma keeps it, its decimals turning to zeros.
        t = t.left(s) + virgolaTolta + zeri(decimaliTolti) + t.mid(s + l);
    }
    p = entro(p, t);
    if (t.startsWith(QLatin1String("-."))) {
        t = QLatin1Char('-') + t.mid(2);
        ++p;
    }
    if (t.startsWith(QLatin1Char('.'))) {
        t = t.mid(1);
    }
    if (t == QLatin1String(",")) {
        t += zeri(d);
    }
    p = entro(p, t);
    t = riscrivi(t, schemaA(d));
    puntiFuori -= static_cast<int>(t.count(QLatin1Char('.')));
    return consuma(t, entro(p - puntiFuori, t));
}

EsitoTasto cifraDigitata(const StatoTesto& prima, QChar digitata, const RegoleImporto& regole) {
    const int d = regole.decimali;
    const int s = prima.inizio;
    const int l = prima.selezione;
    const QString& t = prima.testo;
    if (t.isEmpty() || l == lunghezza(t)) {
        return consuma(riscrivi(QString(digitata), schemaC(d)), 1);
    }
    if (t.mid(s, l).contains(QLatin1Char(','))) {
        return rifiuta(prima);
    }
    if (regole.rifiutaOltreDecimali && s - d >= 1 && alPosto(t, s - d) == QLatin1Char(',')) {
        return rifiuta(prima);
    }
    const bool soloMeno = t == QLatin1String("-");
    const QString inserito = t.left(s) + digitata + t.mid(s + l);
    const int vecchia = lunghezza(inserito);
    const QString nuovo = riscrivi(inserito, schemaDopoCifra(regole));
    int cursore = entro(s + 1, nuovo);
    // After a lone minus sign the rewrite adds the comma and decimals behind the caret:
    // the caret stays after the digit.
    if (!soloMeno && cursore < lunghezza(nuovo) - d) {
        if (lunghezza(nuovo) > vecchia) {
            ++cursore;  // a grouping dot appeared
        } else if (lunghezza(nuovo) < vecchia) {
            --cursore;  // a leading zero or dot vanished
        }
    }
    return consuma(nuovo, entro(cursore, nuovo));
}

// A minus typed over a selection at the start replaces it as a deletion would (the comma
// stays, selected decimals become zeros) and then starts the amount with "-": over the whole
// text, or when nothing worth anything is left, a new negative amount begins.
EsitoTasto menoSullaSelezione(const StatoTesto& prima, int d) {
    const QString resto = cancellaAvanti(prima, d).stato.testo;
    const std::optional<Money> importo = leggiImporto(resto);
    if (!importo || importo->isZero()) {
        return consuma(QStringLiteral("-"), 1);
    }
    return consuma(QLatin1Char('-') + resto, 1);
}

EsitoTasto tastoConDecimali(const StatoTesto& prima, int tasto, const RegoleImporto& regole) {
    const int d = regole.decimali;
    const int lung = lunghezza(prima.testo);
    if (lung >= capienza(regole) && prima.selezione == 0 && prima.inizio < lung - d &&
        tasto != tasti::Backspace && tasto != tasti::CancellaAvanti && tasto != tasti::Virgola) {
        return rifiuta(prima);
    }
    switch (tasto) {
        case tasti::Backspace:
            return backspace(prima, d);
        case tasti::Virgola:
            return virgola(prima, regole);
        case tasti::CancellaAvanti:
            return cancellaAvanti(prima, d);
        case tasti::Meno:
            if (prima.inizio != 0) {
                return rifiuta(prima);
            }
            if (prima.selezione > 0) {
                return menoSullaSelezione(prima, d);
            }
            if (prima.testo.startsWith(QLatin1Char('-'))) {
                return rifiuta(prima);
            }
            return {prima, false, false};
        default:
            break;
    }
    if (tasto >= '0' && tasto <= '9') {
        return cifraDigitata(prima, QChar(tasto), regole);
    }
    return rifiuta(prima);
}

// What an amount field may show between keystrokes: nothing, a lone minus sign or an amount.
bool importoOVuoto(const QString& testo) {
    return testo.isEmpty() || testo == QLatin1String("-") || leggiImporto(testo).has_value();
}

// A keystroke that leaves an amount as something else (a digit typed in front of the minus
// sign, say), or gives it more integer digits than the field takes, is refused.
bool rifiutato(const QString& prima, const QString& dopo, const RegoleImporto& regole) {
    const int cifre = cifreIntere(dopo);
    return (importoOVuoto(prima) && !importoOVuoto(dopo)) ||
           (cifre > cifreIntereMassime(regole) && cifre > cifreIntere(prima));
}

// Whole amounts: the field inserts the digits and the minus sign itself and the text is then
// regrouped; what that would show is checked first. A minus sign is taken at the start, over
// a selection there too (so it can replace a minus sign already typed).
EsitoTasto tastoIntero(const StatoTesto& prima, int tasto, const RegoleImporto& regole) {
    if (tasto == tasti::Backspace) {
        return {prima, false, false};
    }
    const bool meno = tasto == tasti::Meno && prima.inizio == 0 &&
                      (prima.selezione > 0 || !prima.testo.startsWith(QLatin1Char('-')));
    if (!meno && !(tasto >= '0' && tasto <= '9')) {
        return rifiuta(prima);
    }
    const QString inserito = prima.testo.left(prima.inizio) + QChar(tasto) +
                             prima.testo.mid(prima.inizio + prima.selezione);
    const QString dopo = riscritturaIntera({inserito, prima.inizio + 1, 0}).testo;
    return rifiutato(prima.testo, dopo, regole) ? rifiuta(prima) : EsitoTasto{prima, false, false};
}

}  // namespace

RegoleImporto regoleValutaBox(int decimali, int maxLength) {
    RegoleImporto regole;
    regole.decimali = decimali;
    regole.lunghezzaMassima = maxLength;
    return regole;
}

RegoleImporto regoleNumerico(int maxLength) {
    RegoleImporto regole;
    regole.decimali = 2;
    regole.lunghezzaMassima = maxLength;
    regole.capienzaRidotta = false;
    regole.zeroInteroDopoCifra = false;
    regole.cursoreDopoVirgola = false;
    regole.rifiutaOltreDecimali = false;
    regole.limiteCampo = maxLength;
    return regole;
}

EsitoTasto applicaTasto(const StatoTesto& prima, int tasto, const RegoleImporto& regole) {
    if (regole.decimali < 0) {
        // Not a usable setting: the field handles the character by itself.
        return {prima, false, true};
    }
    if (regole.decimali == 0) {
        return tastoIntero(prima, tasto, regole);
    }
    const EsitoTasto esito = tastoConDecimali(prima, tasto, regole);
    if (esito.consumato && esito.stato.testo != prima.testo) {
        // A keystroke never makes the text longer than the field can hold.
        const bool troppoLungo =
            regole.limiteCampo > 0 && lunghezza(esito.stato.testo) > regole.limiteCampo;
        if (troppoLungo || rifiutato(prima.testo, esito.stato.testo, regole)) {
            return rifiuta(prima);
        }
    }
    return esito;
}

int cifreIntereMassime(const RegoleImporto& regole) {
    constexpr int kMassimo = 13;  // the most that an amount with its decimals carries
    const int d = std::max(regole.decimali, 0);
    // Typed at the end, a digit is taken while the text is shorter than the field's capacity
    // (whole amounts: its MaxLength, applied by the field to what it inserts).
    const int limite = d == 0 ? regole.lunghezzaMassima : capienza(regole);
    if (limite <= 0) {
        return kMassimo;
    }
    const auto lunghezzaCon = [d](int cifre) {
        return cifre + std::max(cifre - 1, 0) / 3 + (d > 0 ? d + 1 : 0);
    };
    int cifre = 0;
    while (cifre < kMassimo && lunghezzaCon(cifre) < limite) {
        ++cifre;
    }
    return std::max(cifre, 1);
}

QString schemaA(int decimali) {
    return QStringLiteral("###,###,###,###,###.") + zeri(decimali);
}
QString schemaB(int decimali) {
    return QStringLiteral("###,###,###,###,##0.") + zeri(decimali);
}
QString schemaC(int decimali) {
    return QStringLiteral("0.") + zeri(decimali);
}
QString schemaV() {
    return QStringLiteral("##,###,###,##0");
}

std::optional<Money> leggiImporto(const QString& testo) {
    QString t = testo;
    const qsizetype virgola = t.indexOf(QLatin1Char(','));
    const qsizetype fineIntero = virgola < 0 ? t.size() : virgola;
    for (qsizetype i = fineIntero - 1; i > 0; --i) {
        const bool senzaCifraDopo = i + 1 >= t.size() || !cifra(t.at(i + 1));
        if (t.at(i) == QLatin1Char('.') && cifra(t.at(i - 1)) && senzaCifraDopo) {
            t.remove(i, 1);
        }
    }
    return readItalianAmount(t);
}

QString riscrivi(const QString& testo, const QString& schema) {
    if (testo.isEmpty()) {
        return testo;
    }
    const std::optional<Money> importo = leggiImporto(testo);
    return importo ? formatNumber(*importo, schema) : testo;
}

QString testoUscitaDecimali(const QString& testo, int decimali) {
    // Even an empty text reads as 0 here, so the field never stays blank.
    return riscrivi(plainItalianText(MyCcur(testo)), schemaB(std::max(decimali, 0)));
}

QString testoUscitaIntero(const QString& testo) {
    return testo.trimmed().isEmpty() ? QStringLiteral("0") : testo;
}

StatoTesto riscritturaIntera(const StatoTesto& stato) {
    QString t = stato.testo;
    int p = stato.inizio;
    // Taking the first digit can leave a grouping dot in front, after the minus sign too.
    const int punto = t.startsWith(QLatin1String("-.")) ? 1 : 0;
    if (t.mid(punto).startsWith(QLatin1Char('.'))) {
        t.remove(punto, 1);
        p = entro(p > punto ? p - 1 : p, t);
    }
    const int vecchia = lunghezza(t);
    t = riscrivi(t, schemaV());
    if (t == stato.testo) {
        return stato;
    }
    if (lunghezza(t) > vecchia) {
        ++p;
    } else if (lunghezza(t) < vecchia) {
        --p;
    }
    return {t, entro(p, t), 0};
}
