#pragma once

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>

#include "Money.h"
#include "SqlCassa.h"

// One movement of a date range to print, its cells as the grid shows them.
struct MovimentoDaStampare {
    QString data, operazione, entrate, uscite, numero;
    Money importoEntrate, importoUscite;
};

// Another computer changed the archive while a range was being read a slice at a time: what
// was read no longer makes one book.
struct ArchivioCambiato {};

// The movements of a date range in registration order (date, then number), read a slice of
// rows at a time after the key of the last row read, so that a book of any length takes the
// memory of one slice. All slices are one moment of the archive: on PostgreSQL they are read
// in one repeatable-read transaction; on SQLite, which would keep every other computer from
// writing while a read transaction lasts, no lock is held between slices and the engine's
// change counter must stay the same from the start to the last slice. Whatever is read
// between the start and the first slice (the carried-forward balance, say) belongs to the
// same moment.
class MovimentiAFette {
  public:
    // Throws ErroreArchivio when the engine fails.
    MovimentiAFette(QSqlDatabase db, const QDate& dal, const QDate& al, int righePerFetta = 2000);

    // The next movement, nullptr at the end of the range; valid until the next call. Throws
    // ErroreArchivio when the engine fails and ArchivioCambiato when the archive changed.
    const MovimentoDaStampare* prossimo();

  private:
    void leggiFetta();
    qint64 versione();

    QSqlDatabase db_;
    QDate dal_, al_;
    int righePerFetta_;
    std::optional<LetturaCoerente> lettura_;  // PostgreSQL only
    qint64 versione_ = 0;                     // SQLite's data_version at the start
    QList<MovimentoDaStampare> fetta_;
    qsizetype indice_ = 0;
    bool finito_ = false;
    QVariant ultimaData_, ultimoNumero_;  // the key of the last row read, as stored
};
