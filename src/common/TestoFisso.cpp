#include "TestoFisso.h"

QStringView primiCaratteri(QStringView testo, qsizetype larghezza) {
    if (testo.size() <= larghezza) {
        return testo;
    }
    if (larghezza > 0 && testo.at(larghezza - 1).isHighSurrogate()) {
        --larghezza;
    }
    return testo.left(larghezza);
}

QString incolonnaSinistra(QStringView testo, qsizetype larghezza) {
    return primiCaratteri(testo, larghezza).toString().leftJustified(larghezza, QLatin1Char(' '));
}

QString incolonnaDestra(QStringView testo, qsizetype larghezza) {
    return primiCaratteri(testo, larghezza).toString().rightJustified(larghezza, QLatin1Char(' '));
}
