#include "RigaCassa.h"

#include "ItalianDate.h"
#include "NumberPattern.h"

namespace {

QString fissa(const QString& testo, int larghezza) {
    return testo.leftJustified(larghezza, QLatin1Char(' '), true);
}

QString importo(const std::optional<Money>& valore) {
    return valore ? formatNumber(*valore, QStringLiteral("###,###,##0.00")) : QString();
}

}  // namespace

QString RigaCassa::cella(int colonna) const {
    switch (colonna) {
        case ColonnaData:
            return fissa(formatItalianDate(dataRegistrazione), 10);
        case ColonnaOperazione:
            return fissa(operazione, 100);
        case ColonnaEntrate:
            return importo(entrate);
        case ColonnaUscite:
            return importo(uscite);
        case ColonnaNumero:
            // Padded, never cut: a number past 99.999 must still read as itself.
            return formatNumber(numero, QStringLiteral("###,###,###,##0"))
                .leftJustified(6, QLatin1Char(' '));
        case ColonnaUtente:
            return fissa(utente, 25);
        case ColonnaDataIns:
            return fissa(dataIns, 10);
        case ColonnaOraIns:
            return fissa(oraIns, 5);
        default:
            return {};
    }
}
