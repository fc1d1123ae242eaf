#pragma once

#include <QRegularExpression>
#include <QString>

#include "RegoleTasti.h"

// An amount as the keystroke rules write it: optional minus, the integer digits grouped by
// three (or none for zero), the comma and exactly `decimali` digits; never a signed zero.
inline bool importoBenFormato(const QString& testo, int decimali) {
    static const QRegularExpression forma(
        QStringLiteral(R"(^-?(?:[1-9][0-9]{0,2}(?:\.[0-9]{3})*|0)?,([0-9]*)$)"));
    const QRegularExpressionMatch trovato = forma.match(testo);
    if (!trovato.hasMatch() || trovato.capturedLength(1) != decimali) {
        return false;
    }
    return !testo.startsWith(QLatin1Char('-')) || !leggiImporto(testo)->isZero();
}

// What a field may show after a keystroke the rules rewrote: nothing, a lone minus sign or
// a well-formed amount.
inline bool testoDopoRiscrittura(const QString& testo, int decimali) {
    return testo.isEmpty() || testo == QLatin1String("-") || importoBenFormato(testo, decimali);
}
