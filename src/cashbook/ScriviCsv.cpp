#include "ScriviFogli.h"

#include <QStringList>

namespace {

bool sembraFormula(const QString& testo) {
    static const QString kInizi = QStringLiteral("=+-@\t\r");
    return !testo.isEmpty() && kInizi.contains(testo.front());
}

QString campoTesto(QString testo) {
    if (sembraFormula(testo)) {
        testo.prepend(QLatin1Char('\''));
    }
    testo.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + testo + QLatin1Char('"');
}

QString campo(const CellaEsportata& cella) {
    switch (cella.tipo) {
        case CellaEsportata::Tipo::Testo:
            return campoTesto(cella.testo);
        case CellaEsportata::Tipo::Intero:
            return QString::number(cella.intero);
        case CellaEsportata::Tipo::Importo:
            return importoCsv(cella.importo);
        case CellaEsportata::Tipo::Data:
            return cella.data.toString(QStringLiteral("dd/MM/yyyy"));
        case CellaEsportata::Tipo::Vuota:
            break;
    }
    return {};
}

}  // namespace

QString importoCsv(Money importo) {
    const quint64 unita = importo.isNegative() ? 0 - static_cast<quint64>(importo.units())
                                               : static_cast<quint64>(importo.units());
    QString decimali = QString::number(unita % Money::Scale).rightJustified(4, QLatin1Char('0'));
    while (decimali.size() > 2 && decimali.endsWith(QLatin1Char('0'))) {
        decimali.chop(1);
    }
    return (importo.isNegative() ? QStringLiteral("-") : QString()) +
           QString::number(unita / Money::Scale) + QLatin1Char(',') + decimali;
}

bool scriviCsv(const TabellaEsportata& tabella, QIODevice& file) {
    const auto riga = [&file](const QStringList& campi) {
        const QByteArray testo = campi.join(QLatin1Char(';')).toUtf8() + "\r\n";
        return file.write(testo) == testo.size();
    };
    QStringList intestazione;
    for (const QString& titolo : tabella.intestazione) {
        intestazione.append(campoTesto(titolo));
    }
    if (file.write("\xEF\xBB\xBF") != 3 || !riga(intestazione)) {
        return false;
    }
    for (qsizetype r = 0; r < tabella.righe; ++r) {
        QStringList campi;
        for (const CellaEsportata& cella : tabella.riga(r)) {
            campi.append(campo(cella));
        }
        if (!riga(campi)) {
            return false;
        }
    }
    return true;
}
