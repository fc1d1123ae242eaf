#include "Schema.h"

#include <QHash>

namespace schema {

TipoCampo tipoCampo(const QString& nomeCampo) {
    static const QHash<QString, TipoCampo> tipi = {
        {QStringLiteral("Data Registrazione"), TipoCampo::Data},
        {QStringLiteral("Data documento"), TipoCampo::Data},
        {QStringLiteral("Entrate"), TipoCampo::Valuta},
        {QStringLiteral("Uscite"), TipoCampo::Valuta},
        {QStringLiteral("Imponibile Iva"), TipoCampo::Valuta},
        {QStringLiteral("Totale Entrate"), TipoCampo::Valuta},
        {QStringLiteral("Totale Uscite"), TipoCampo::Valuta},
        {QStringLiteral("Aliquota"), TipoCampo::Valuta},
        {QStringLiteral("Saldo"), TipoCampo::Valuta},
        {QStringLiteral("Numero Progressivo"), TipoCampo::Intero},
        {QStringLiteral("Anno"), TipoCampo::Intero},
        {QStringLiteral("mese"), TipoCampo::Intero},
        {QStringLiteral("Flag Articolo 8"), TipoCampo::Intero},
        {QStringLiteral("Flag Fatture Esenti"), TipoCampo::Intero},
        {QStringLiteral("Flag Altre Esenzioni"), TipoCampo::Intero},
        {QStringLiteral("Gestione Iva"), TipoCampo::Booleano},
        {QStringLiteral("Iva Trimestrale"), TipoCampo::Booleano},
    };
    return tipi.value(nomeCampo, TipoCampo::Testo);
}

const QStringList& tabelle() {
    static const QStringList nomi = {QStringLiteral("Vardello"),
                                     QStringLiteral("Totali di Cassa"),
                                     QStringLiteral("Codici Iva"),
                                     QStringLiteral("Conti Utilizzati"),
                                     QStringLiteral("Parametri"),
                                     QStringLiteral("Tabella utenti"),
                                     QStringLiteral("Riferimenti standard")};
    return nomi;
}

const QStringList& campi(const QString& tabella) {
    static const QHash<QString, QStringList> perTabella = {
        {QStringLiteral("Vardello"),
         {QStringLiteral("Numero Progressivo"), QStringLiteral("Data Registrazione"),
          QStringLiteral("Operazione"), QStringLiteral("Entrate"), QStringLiteral("Uscite"),
          QStringLiteral("Codice Iva"), QStringLiteral("Imponibile Iva"),
          QStringLiteral("Data documento"), QStringLiteral("Utente"), QStringLiteral("DataIns"),
          QStringLiteral("OraIns")}},
        {QStringLiteral("Totali di Cassa"),
         {QStringLiteral("Anno"), QStringLiteral("mese"), QStringLiteral("Totale Entrate"),
          QStringLiteral("Totale Uscite")}},
        {QStringLiteral("Codici Iva"),
         {QStringLiteral("Codice Iva"), QStringLiteral("Descrizione Iva"),
          QStringLiteral("Aliquota"), QStringLiteral("Flag Articolo 8"),
          QStringLiteral("Flag Fatture Esenti"), QStringLiteral("Flag Altre Esenzioni")}},
        {QStringLiteral("Conti Utilizzati"), {QStringLiteral("Descrizione conto")}},
        {QStringLiteral("Parametri"),
         {QStringLiteral("Gestione Iva"), QStringLiteral("Codice Iva Standard"),
          QStringLiteral("Iva Trimestrale")}},
        {QStringLiteral("Tabella utenti"),
         {QStringLiteral("UserName"), QStringLiteral("Password")}},
        {QStringLiteral("Riferimenti standard"),
         {QStringLiteral("Nome riferimento"), QStringLiteral("Valore riferimento")}},
    };
    static const QStringList nessuno;
    const auto trovato = perTabella.constFind(tabella);
    return trovato == perTabella.cend() ? nessuno : *trovato;
}

const QStringList& chiave(const QString& tabella) {
    static const QHash<QString, QStringList> perTabella = {
        {QStringLiteral("Vardello"), {QStringLiteral("Numero Progressivo")}},
        {QStringLiteral("Totali di Cassa"), {QStringLiteral("Anno"), QStringLiteral("mese")}},
        {QStringLiteral("Codici Iva"), {QStringLiteral("Codice Iva")}},
        {QStringLiteral("Conti Utilizzati"), {QStringLiteral("Descrizione conto")}},
        {QStringLiteral("Tabella utenti"), {QStringLiteral("UserName")}},
        {QStringLiteral("Riferimenti standard"), {QStringLiteral("Nome riferimento")}},
    };
    const auto trovato = perTabella.constFind(tabella);
    return trovato == perTabella.cend() ? campi(tabella) : *trovato;
}

const QStringList& istruzioniCreazione() {
    static const QStringList istruzioni = {
        QStringLiteral(R"(CREATE TABLE "Vardello" (
            "Numero Progressivo" BIGINT NOT NULL PRIMARY KEY,
            "Data Registrazione" DATE,
            "Operazione" TEXT,
            "Entrate" BIGINT,
            "Uscite" BIGINT,
            "Codice Iva" TEXT,
            "Imponibile Iva" BIGINT,
            "Data documento" DATE,
            "Utente" TEXT,
            "DataIns" TEXT,
            "OraIns" TEXT))"),
        QStringLiteral(R"(CREATE TABLE "Totali di Cassa" (
            "Anno" SMALLINT NOT NULL,
            "mese" SMALLINT NOT NULL,
            "Totale Entrate" BIGINT,
            "Totale Uscite" BIGINT,
            PRIMARY KEY ("Anno", "mese")))"),
        QStringLiteral(R"(CREATE TABLE "Codici Iva" (
            "Codice Iva" TEXT NOT NULL PRIMARY KEY,
            "Descrizione Iva" TEXT,
            "Aliquota" BIGINT,
            "Flag Articolo 8" SMALLINT,
            "Flag Fatture Esenti" SMALLINT,
            "Flag Altre Esenzioni" SMALLINT))"),
        QStringLiteral(R"(CREATE TABLE "Conti Utilizzati" (
            "Descrizione conto" TEXT NOT NULL PRIMARY KEY))"),
        QStringLiteral(R"(CREATE TABLE "Parametri" (
            "Gestione Iva" BOOLEAN,
            "Codice Iva Standard" TEXT,
            "Iva Trimestrale" BOOLEAN))"),
        QStringLiteral(R"(CREATE TABLE "Tabella utenti" (
            "UserName" TEXT NOT NULL PRIMARY KEY,
            "Password" TEXT))"),
        QStringLiteral(R"(CREATE TABLE "Riferimenti standard" (
            "Nome riferimento" TEXT NOT NULL PRIMARY KEY,
            "Valore riferimento" TEXT))"),
        // Movements of one day in insertion order: date, then progressive number.
        QStringLiteral(R"(CREATE INDEX "Key Data Registrazione" ON "Vardello"
            ("Data Registrazione", "Numero Progressivo"))"),
        QStringLiteral(R"(CREATE INDEX "Key Data Documento" ON "Vardello" ("Data documento"))"),
        QStringLiteral(R"(CREATE INDEX "Key Descrizione Iva" ON "Codici Iva" ("Descrizione Iva"))"),
    };
    return istruzioni;
}

}  // namespace schema
