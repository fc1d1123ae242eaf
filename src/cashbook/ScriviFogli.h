#pragma once

#include <QIODevice>
#include <QList>
#include <QString>

#include "TabellaEsportata.h"

// The file formats of the accountant's export. Both write exactly the stored amounts.

// An Excel workbook (.xlsx) written with libxlsxwriter into `percorso`, one sheet per table:
// real date and number cells, a bold header row that stays in view, column widths that fit
// and the totals as formulas that carry their value. Texts are always text cells, so a
// description starting with "=" is never a formula. False with `errore` on failure.
bool scriviXlsx(const QList<TabellaEsportata>& fogli, const QString& percorso, QString* errore);

// The table as CSV: UTF-8 with a byte-order mark, ";" between fields, CR LF between rows,
// amounts with a decimal comma and no grouping, dates dd/mm/yyyy, every text quoted with its
// quotes doubled. A text a spreadsheet would run as a formula (starting with "=", "+", "-",
// "@", a tab or a carriage return) gets a leading apostrophe. False when a write failed.
bool scriviCsv(const TabellaEsportata& tabella, QIODevice& file);

// An amount with a decimal comma and no grouping: two decimals, more only when stored.
QString importoCsv(Money importo);
