#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QWidget;

// What the month print takes from the main window.
struct DatiStampaMese {
    QList<QStringList> righe;  // the grid's movement rows (8 cells each), in grid order
    int indiceMese = 0;        // the month tab: 0 is January
    QString anno;              // the year selector's text
    QString entrateMese;       // the texts of txtEntrateMese, txtUsciteMese, txtSaldoFineMese
    QString usciteMese;
    QString saldoFineMese;
};

// The print command: after the named value "Stampa con indicazione saldo progressivo" prints
// the book for a date range with the running balance, or the month shown.
void StampaCassa(QSqlDatabase db, const DatiStampaMese& mese, QWidget* parent);
