#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "LibroEsportato.h"
#include "Money.h"

// One cell of an exported table, kept as its value so each format writes it its own way.
struct CellaEsportata {
    enum class Tipo { Vuota, Testo, Intero, Importo, Data };
    Tipo tipo = Tipo::Vuota;
    QString testo;
    qint64 intero = 0;
    Money importo;
    QDate data;
    bool somma = false;  // a total of the column above it (a formula in a spreadsheet)

    static CellaEsportata vuota() { return {}; }
    static CellaEsportata diTesto(const QString& t) { return {Tipo::Testo, t, 0, {}, {}, false}; }
    static CellaEsportata diIntero(qint64 n) { return {Tipo::Intero, {}, n, {}, {}, false}; }
    static CellaEsportata diImporto(Money m) { return {Tipo::Importo, {}, 0, m, {}, false}; }
    static CellaEsportata diData(const QDate& d) {
        return d.isValid() ? CellaEsportata{Tipo::Data, {}, 0, {}, d, false} : vuota();
    }
};

// A sheet: a header row, then rows of cells under it; the last row may be a totals row.
// The rows are made one at a time as they are written, so a long book is held only once.
struct TabellaEsportata {
    QString nome;
    QStringList intestazione;
    qsizetype righe = 0;                                   // the rows under the header
    std::function<QList<CellaEsportata>(qsizetype)> riga;  // the cells of row 0 … righe - 1
    bool rigaTotali = false;                               // the last row holds the totals
};

// "Prima nota": the carried-forward balance, one row per movement, the totals. The VAT
// columns only with VAT management on. The table reads `libro`, which must outlive it.
TabellaEsportata primaNota(const LibroEsportato& libro);

// "Situazione IVA": for every year of the range, its months (or quarters) and the final
// balance, with the figures of the VAT situation window.
TabellaEsportata situazioneIva(const LibroEsportato& libro);
