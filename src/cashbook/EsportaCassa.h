#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <optional>

// The book of a date range for the accountant, as an Excel workbook or a CSV file.
enum class FormatoEsportazione { Xlsx, Csv };

// The format a file name asks for by its extension (any letter case); none for others.
std::optional<FormatoEsportazione> formatoDi(const QString& percorso);

// Reads the range from the archive and writes it to `percorso` in the format of its
// extension. The file is written aside and put in place only when whole, so a failure leaves
// no half-written file (and an older file of that name as it was). A destination that cannot
// be written is refused before the archive is read. False with `errore` telling why.
bool esportaCassa(QSqlDatabase db, const QDate& dal, const QDate& al, const QString& percorso,
                  QString* errore);
