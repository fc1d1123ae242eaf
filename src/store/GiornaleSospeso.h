#pragma once

#include <QString>

#include "Archivio.h"

// A rollback journal ("<file>-journal") found beside an SQLite archive when it is opened. The
// engine plays it back into the file at the first read: right after a copy of the program was
// killed mid-write that is what saves the archive, but a journal of another copy of the file
// (a backup restored over a crashed folder) would leave it unreadable. So before the engine
// sees it, the archive and its journal are copied aside as they are; once opened, the
// archive is checked, and if the check fails both are put back as they were.
class GiornaleSospeso {
  public:
    explicit GiornaleSospeso(const QString& archivio);
    ~GiornaleSospeso();
    GiornaleSospeso(const GiornaleSospeso&) = delete;
    GiornaleSospeso& operator=(const GiornaleSospeso&) = delete;

    // True when a journal with something in it lies beside the archive and no other program
    // is writing (whose live journal it would be).
    bool presente() const { return presente_; }
    // Copies the archive and its journal aside; false (with the reason) when that fails, and
    // then the archive must not be opened.
    bool conservaCopia(archivio::Errore* errore);
    // The archive was opened and checked: the copies aside are not needed (removed on exit).
    void confermaApertura() { confermato_ = true; }
    // The archive failed its check: the archive and its journal are put back from the copies,
    // which stay; `errore` gets what happened appended.
    void rimettiOriginale(archivio::Errore* errore);

    static QString giornaleDi(const QString& archivio);

  private:
    QString archivio_;
    QString copia_;
    bool presente_ = false;
    bool copiato_ = false;
    bool confermato_ = false;
};
