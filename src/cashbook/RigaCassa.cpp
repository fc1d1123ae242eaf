#include "RigaCassa.h"

#include <algorithm>

#include "ItalianDate.h"
#include "NumberPattern.h"
#include "TestoFisso.h"

namespace {

QString importo(const std::optional<Money>& valore) {
    return valore ? formatNumber(*valore, QStringLiteral("###,###,##0.00")) : QString();
}

}  // namespace

RigaCassa::RigaCassa(const QDate& dataRegistrazione, QStringView operazione,
                     std::optional<Money> entrate, std::optional<Money> uscite, qint64 numero,
                     QStringView utente, QStringView dataIns, QStringView oraIns)
    : dataRegistrazione_(dataRegistrazione), entrate_(entrate), uscite_(uscite), numero_(numero) {
    fineOperazione_ = operazione.size();
    fineUtente_ = fineOperazione_ + utente.size();
    fineDataIns_ = fineUtente_ + dataIns.size();
    testi_ = QString(fineDataIns_ + oraIns.size(), Qt::Uninitialized);
    QChar* scrivi = testi_.data();
    for (const QStringView testo : {operazione, utente, dataIns, oraIns}) {
        scrivi = std::copy(testo.begin(), testo.end(), scrivi);
    }
}

QString RigaCassa::cella(int colonna) const {
    switch (colonna) {
        case ColonnaData:
            return incolonnaSinistra(formatItalianDate(dataRegistrazione_), 10);
        case ColonnaOperazione:
            return incolonnaSinistra(operazione(), 100);
        case ColonnaEntrate:
            return importo(entrate_);
        case ColonnaUscite:
            return importo(uscite_);
        case ColonnaNumero:
            // Padded, never cut: a number past 99.999 must still read as itself.
            return formatNumber(numero_, QStringLiteral("###,###,###,##0"))
                .leftJustified(6, QLatin1Char(' '));
        case ColonnaUtente:
            return incolonnaSinistra(utente(), 25);
        case ColonnaDataIns:
            return incolonnaSinistra(dataIns(), 10);
        case ColonnaOraIns:
            return incolonnaSinistra(oraIns(), 5);
        default:
            return {};
    }
}
