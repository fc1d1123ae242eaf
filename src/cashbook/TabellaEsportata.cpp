#include "TabellaEsportata.h"

namespace {

using Cella = CellaEsportata;

Cella importoONull(const std::optional<Money>& importo) {
    return importo ? Cella::diImporto(*importo) : Cella::vuota();
}

Cella testoONull(const QString& testo) {
    return testo.isEmpty() ? Cella::vuota() : Cella::diTesto(testo);
}

Cella somma(Money totale) {
    Cella cella = Cella::diImporto(totale);
    cella.somma = true;
    return cella;
}

// The insertion date is stored as text: a date cell when it reads as one, else the text.
Cella dataInserimento(const QString& testo) {
    const QDate data = QDate::fromString(testo.trimmed(), QStringLiteral("dd/MM/yyyy"));
    return data.isValid() ? Cella::diData(data) : testoONull(testo);
}

const char* const kMesi[] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
                             "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};

Cella facoltativo(const std::optional<Money>& a, const std::optional<Money>& b = {},
                  const std::optional<Money>& c = {}) {
    if (!a && !b && !c) {
        return Cella::vuota();
    }
    return Cella::diImporto(a.value_or(Money()) + b.value_or(Money()) + c.value_or(Money()));
}

}  // namespace

TabellaEsportata primaNota(const LibroEsportato& libro) {
    TabellaEsportata t;
    t.nome = QStringLiteral("Prima nota");
    t.intestazione = {QStringLiteral("Numero"),     QStringLiteral("Data registrazione"),
                      QStringLiteral("Operazione"), QStringLiteral("Entrate"),
                      QStringLiteral("Uscite"),     QStringLiteral("Saldo progressivo")};
    if (libro.gestioneIva) {
        t.intestazione << QStringLiteral("Codice IVA") << QStringLiteral("Descrizione IVA")
                       << QStringLiteral("Aliquota") << QStringLiteral("Imponibile + IVA")
                       << QStringLiteral("Imposta IVA") << QStringLiteral("Data com. IVA");
    }
    t.intestazione << QStringLiteral("Utente") << QStringLiteral("Data ins.")
                   << QStringLiteral("Ora ins.");
    t.righe = libro.movimenti.size() + 2;
    t.rigaTotali = true;
    t.riga = [&libro](qsizetype indice) {
        const auto riga = [&libro](QList<Cella> inizio, const QList<Cella>& iva,
                                   const QList<Cella>& fine) {
            if (libro.gestioneIva) {
                inizio += iva;
            }
            return inizio + fine;
        };
        const QList<Cella> nienteIva(6, Cella::vuota());
        const QList<Cella> nienteFine(3, Cella::vuota());
        if (indice == 0) {
            return riga(
                {Cella::vuota(), Cella::vuota(), Cella::diTesto(QStringLiteral("Riporto saldo")),
                 Cella::vuota(), Cella::vuota(), Cella::diImporto(libro.riporto)},
                nienteIva, nienteFine);
        }
        if (indice > libro.movimenti.size()) {
            return riga(
                {Cella::vuota(), Cella::vuota(), Cella::diTesto(QStringLiteral("Totali")),
                 somma(libro.entrate), somma(libro.uscite), Cella::diImporto(libro.saldoFinale())},
                {Cella::vuota(), Cella::vuota(), Cella::vuota(), somma(libro.imponibile),
                 somma(libro.imposta), Cella::vuota()},
                nienteFine);
        }
        const MovimentoEsportato& m = libro.movimenti.at(indice - 1);
        return riga({Cella::diIntero(m.numero), Cella::diData(m.dataRegistrazione),
                     testoONull(m.operazione), importoONull(m.entrate), importoONull(m.uscite),
                     Cella::diImporto(m.saldo)},
                    {testoONull(m.codiceIva), testoONull(m.descrizioneIva),
                     importoONull(m.aliquota), importoONull(m.imponibileIva),
                     importoONull(m.impostaIva), Cella::diData(m.dataDocumento)},
                    {testoONull(m.utente), dataInserimento(m.dataIns), testoONull(m.oraIns)});
    };
    return t;
}

TabellaEsportata situazioneIva(const LibroEsportato& libro) {
    TabellaEsportata t;
    t.nome = QStringLiteral("Situazione IVA");
    t.intestazione = {QStringLiteral("Anno"), QStringLiteral("Periodo"),
                      QStringLiteral("IVA a credito"), QStringLiteral("IVA a debito"),
                      QStringLiteral("Saldo")};
    QList<QList<Cella>> righe;  // a few rows a year: made at once
    for (const auto& [anno, s] : libro.situazioni) {
        // An empty book leaves every figure empty, as the window does.
        const auto saldo = [&s](Money importo) {
            return s.libroVuoto ? Cella::vuota() : Cella::diImporto(importo);
        };
        if (libro.ivaTrimestrale) {
            for (int ultimo = 2; ultimo < 12; ultimo += 3) {
                righe.append(
                    {Cella::diIntero(anno),
                     Cella::diTesto(QStringLiteral("%1° trimestre").arg(ultimo / 3 + 1)),
                     facoltativo(s.credito[ultimo - 2], s.credito[ultimo - 1], s.credito[ultimo]),
                     facoltativo(s.debito[ultimo - 2], s.debito[ultimo - 1], s.debito[ultimo]),
                     saldo(s.saldoTrimestre(ultimo))});
            }
        } else {
            for (int mese = 0; mese < 12; ++mese) {
                righe.append({Cella::diIntero(anno),
                              Cella::diTesto(QString::fromLatin1(kMesi[mese])),
                              facoltativo(s.credito[mese]), facoltativo(s.debito[mese]),
                              saldo(s.saldoMese(mese))});
            }
        }
        righe.append({Cella::diIntero(anno), Cella::diTesto(QStringLiteral("SALDO FINALE")),
                      Cella::vuota(), Cella::vuota(), saldo(s.saldoFinale())});
    }
    t.righe = righe.size();
    t.riga = [righe](qsizetype indice) { return righe.at(indice); };
    return t;
}
