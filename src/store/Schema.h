#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The seven tables of an archive, their fields and indexes. The same statements run on
// SQLite and PostgreSQL. Amounts are stored as integer ten-thousandths (see Money).
namespace schema {

// How a field's value is stored and shown.
enum class TipoCampo { Testo, Data, Valuta, Intero, Booleano };

// The type of a field, known by its name (field names are unique across the tables;
// query aliases such as "Saldo" are included).
TipoCampo tipoCampo(const QString& nomeCampo);

// The table names, as the person and the statements see them.
const QStringList& tabelle();

// The fields of a table in the order of its CREATE statement (empty for an unknown table).
const QStringList& campi(const QString& tabella);

// The fields that order a table's rows one way only: its primary key, or every field for
// "Parametri", which has none.
const QStringList& chiave(const QString& tabella);

// The CREATE statements of an empty archive, tables first, then indexes.
const QStringList& istruzioniCreazione();

}  // namespace schema
