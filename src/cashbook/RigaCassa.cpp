#include "RigaCassa.h"

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
    testi_.reserve(operazione.size() + utente.size() + dataIns.size() + oraIns.size());
    testi_.append(operazione);
    fineOperazione_ = static_cast<int>(testi_.size());
    testi_.append(utente);
    fineUtente_ = static_cast<int>(testi_.size());
    testi_.append(dataIns);
    fineDataIns_ = static_cast<int>(testi_.size());
    testi_.append(oraIns);
}

QStringView RigaCassa::testo(int inizio, int fine) const {
    return QStringView(testi_).mid(inizio, fine - inizio);
}

QString RigaCassa::cella(int colonna) const {
    switch (colonna) {
        case ColonnaData:
            return incolonnaSinistra(formatItalianDate(dataRegistrazione_), 10);
        case ColonnaOperazione:
            return incolonnaSinistra(testo(0, fineOperazione_), 100);
        case ColonnaEntrate:
            return importo(entrate_);
        case ColonnaUscite:
            return importo(uscite_);
        case ColonnaNumero:
            // Padded, never cut: a number past 99.999 must still read as itself.
            return formatNumber(numero_, QStringLiteral("###,###,###,##0"))
                .leftJustified(6, QLatin1Char(' '));
        case ColonnaUtente:
            return incolonnaSinistra(testo(fineOperazione_, fineUtente_), 25);
        case ColonnaDataIns:
            return incolonnaSinistra(testo(fineUtente_, fineDataIns_), 10);
        case ColonnaOraIns:
            return incolonnaSinistra(testo(fineDataIns_, static_cast<int>(testi_.size())), 5);
        default:
            return {};
    }
}
