#include "RigaCassa.h"

#include "ItalianDate.h"
#include "NumberPattern.h"
#include "TestoFisso.h"

namespace {

QString importo(const std::optional<Money>& valore) {
    return valore ? formatNumber(*valore, QStringLiteral("###,###,##0.00")) : QString();
}

}  // namespace

RigaCassa::RigaCassa(const QDate& dataRegistrazione, QString operazione,
                     std::optional<Money> entrate, std::optional<Money> uscite, qint64 numero,
                     QString utente, QString dataIns, QString oraIns)
    : dataRegistrazione_(dataRegistrazione),
      entrate_(entrate),
      uscite_(uscite),
      numero_(numero),
      operazione_(std::move(operazione)),
      utente_(std::move(utente)),
      dataIns_(std::move(dataIns)),
      oraIns_(std::move(oraIns)) {}

QString RigaCassa::cella(int colonna) const {
    switch (colonna) {
        case ColonnaData:
            return incolonnaSinistra(formatItalianDate(dataRegistrazione_), 10);
        case ColonnaOperazione:
            return incolonnaSinistra(operazione_, 100);
        case ColonnaEntrate:
            return importo(entrate_);
        case ColonnaUscite:
            return importo(uscite_);
        case ColonnaNumero:
            // Padded, never cut: a number past 99.999 must still read as itself.
            return formatNumber(numero_, QStringLiteral("###,###,###,##0"))
                .leftJustified(6, QLatin1Char(' '));
        case ColonnaUtente:
            return incolonnaSinistra(utente_, 25);
        case ColonnaDataIns:
            return incolonnaSinistra(dataIns_, 10);
        case ColonnaOraIns:
            return incolonnaSinistra(oraIns_, 5);
        default:
            return {};
    }
}
