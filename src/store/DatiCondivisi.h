#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include "Money.h"
#include "Schema.h"
#include "Sql.h"

// Routines shared by every window for reading stored values, the named values of
// "Riferimenti standard", the balance before a date and the file test of start-up.

// The field's value as text formatted by its type (dates "dd/mm/yyyy", amounts
// "###,###,###,##0.00", whole numbers "###,###,###,##0", booleans "True"/"False", text as
// stored), or the default when the value is NULL.
QString LeggiCampo(const QSqlRecord& record, const QString& campo, const QString& predefinito);
// The same for a value already read, of a field of that type (read by column number).
QString TestoCampo(const QVariant& valore, schema::TipoCampo tipo, const QString& predefinito);

// The field's value unformatted (amounts as Money, dates as QDate, whole numbers as qlonglong,
// booleans as bool, text as QString), or the default when the value is NULL.
QVariant ValoreCampo(const QSqlRecord& record, const QString& campo, const QVariant& predefinito);

// Values to bind into statements, in the archive's storage form.
QVariant valoreSql(Money importo);
QVariant valoreSql(const QDate& data);       // an invalid date is stored as NULL
Money valutaDaSql(const QVariant& valore);   // NULL as 0
qint64 interoDaSql(const QVariant& valore);  // a whole number as the driver gives it
QDate dataDaSql(const QVariant& valore);     // NULL or unreadable as an invalid date
// The text a value reads as (NULL as empty), seen where the value keeps it: valid while the
// value lives and is not changed. A value of another kind is turned into its text first.
QStringView testoDaSql(QVariant& valore);

// The named value, the default when the name is not stored; the name is trimmed for the
// search. An engine error is thrown as ErroreArchivio for the caller's handling.
QString LeggiRiferimento(QSqlDatabase db, const QString& nome, const QVariant& predefinito = {});

// Stores the named value (a new row, or the row found by the trimmed name). On an engine
// error it tells the person ("Errore non gestito. Codice: ...") and returns false.
bool ScriviRiferimento(QSqlDatabase db, const QString& nome, const QVariant& valore);

// Income minus expense of every movement registered before the date (NULL amounts as 0).
// An engine error is thrown as ErroreArchivio.
Money SaldoAllaData(QSqlDatabase db, const QDate& data);

// Leaves the archive with no statement or read transaction open, so that another copy of the
// program sees a stored change at once. Called right after each write.
void LiberaBlocchi(QSqlDatabase db);

// True when the file can be opened for reading. Never reports anything.
bool FileEsiste(const QString& percorso);
