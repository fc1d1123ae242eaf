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

// The columns of a table that the program reads or writes, in the order of its CREATE
// statement (empty for a table that is not one of the seven).
const QStringList& colonne(const QString& tabella);

// The CREATE statements of an empty archive, tables first, then indexes.
const QStringList& istruzioniCreazione();

}  // namespace schema
