#include "CopiaArchivio.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cerrno>
#include <memory>

#include "Archivio.h"
#include "CopiaPagine.h"
#include "CopiaRighe.h"
#include "PermessiFile.h"
#include "Schema.h"

namespace {

const QString kOrigine = QStringLiteral("vardello-copia-origine");
const QString kIstantanea = QStringLiteral("vardello-copia-istantanea");
const QString kDestinazione = QStringLiteral("vardello-copia-destinazione");
const QString kRimozione = QStringLiteral("vardello-copia-rimozione");

QString nonCreato(const QString& percorso, const archivio::Errore& e) {
    return QStringLiteral("Impossibile creare l'archivio '%1'.\nCodice errore = %2\n%3")
        .arg(percorso, e.codice, e.testo);
}

sqlite3* handleSqlite(const QString& connessione) {
    const QVariant handle = QSqlDatabase::database(connessione, false).driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        return *static_cast<sqlite3* const*>(handle.constData());
    }
    return nullptr;
}

// A new file of the engine's, written by the page copy and closed when this goes away.
class FileNuovo {
  public:
    explicit FileNuovo(const QString& percorso) {
        codice_ = sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db_,
                                  SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        // A file in the private folder that a failure throws away needs no journal and no
        // flush at each step: it is flushed once, whole, before it takes the archive's name.
        if (codice_ == SQLITE_OK) {
            codice_ = sqlite3_exec(db_, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF",
                                   nullptr, nullptr, nullptr);
        }
    }
    ~FileNuovo() { sqlite3_close(db_); }
    FileNuovo(const FileNuovo&) = delete;
    FileNuovo& operator=(const FileNuovo&) = delete;
    sqlite3* aperto(QString* errore) const {
        if (codice_ != SQLITE_OK) {
            *errore = QStringLiteral("Codice errore = %1\n%2")
                          .arg(codice_)
                          .arg(QString::fromUtf8(sqlite3_errstr(codice_)));
            return nullptr;
        }
        return db_;
    }

  private:
    sqlite3* db_ = nullptr;
    int codice_ = SQLITE_OK;
};

// Where the copy is written, and its removal when the copy fails. A file is written in a
// private folder beside the destination and moved to its name only when checked (never over
// an existing file); a server database the copy made is dropped, tables it made in an
// existing one are dropped.
class Destinazione {
  public:
    explicit Destinazione(const QString& percorso) : percorso_(percorso) {}
    ~Destinazione() {
        if (!confermata_) {
            rimuovi();
        }
    }
    Destinazione(const Destinazione&) = delete;
    Destinazione& operator=(const Destinazione&) = delete;

    bool suFile() const { return archivio::motoreDi(percorso_) == archivio::Motore::SQLite; }

    bool prepara(QString* errore) {
        archivio::Errore e;
        if (!suFile()) {
            if (!archivio::esisteDatabase(percorso_, &esisteva_, &e)) {
                *errore = nonCreato(percorso_, e);
                return false;
            }
            pronta_ = true;
            return true;
        }
        const QFileInfo info(percorso_);
        if (info.exists() || info.isSymLink()) {
            *errore =
                nonCreato(percorso_, {QStringLiteral("0"), QStringLiteral("Il file esiste gia'")});
            return false;
        }
        cartella_ = std::make_unique<QTemporaryDir>(
            info.absoluteDir().filePath(QStringLiteral(".%1-copia-XXXXXX").arg(info.fileName())));
        if (!cartella_->isValid()) {
            *errore = nonCreato(percorso_, {QStringLiteral("0"), cartella_->errorString()});
            return false;
        }
        pronta_ = true;
        return true;
    }

    const QString& percorso() const { return percorso_; }

    // The file or database the copy writes into.
    QString lavoro() const {
        return suFile() ? cartella_->filePath(QFileInfo(percorso_).fileName()) : percorso_;
    }
    // A private folder for a moment's image of a source file.
    QString cartellaPrivata() {
        if (!cartella_) {
            cartella_ = std::make_unique<QTemporaryDir>();
        }
        return cartella_->isValid() ? cartella_->path() : QString();
    }
    void tabelleCreate() { tabelleCreate_ = true; }

    bool conferma(QString* errore) {
        if (suFile()) {
            const QString cartella = QFileInfo(percorso_).absolutePath();
            QString motivo;
            if (!permessi::rendiArchivioPrivato(lavoro(), cartella, &motivo)) {
                *errore = nonCreato(percorso_, {QStringLiteral("0"), motivo});
                return false;
            }
            QFile file(lavoro());
            if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0) {
                *errore = nonCreato(percorso_, {QString::number(errno), file.errorString()});
                return false;
            }
            file.close();
            if (!file.rename(percorso_)) {  // refused when the destination appeared meanwhile
                *errore = nonCreato(percorso_, {QString::number(file.error()), file.errorString()});
                return false;
            }
            // The new name itself survives a power cut.
            const int descrittore =
                ::open(QFile::encodeName(cartella).constData(), O_RDONLY | O_DIRECTORY);
            if (descrittore >= 0) {
                ::fsync(descrittore);
                ::close(descrittore);
            }
        }
        confermata_ = true;
        return true;
    }

  private:
    void rimuovi() {
        archivio::Errore e;
        if (!pronta_ || suFile()) {
            return;  // a file's private folder goes with its contents
        }
        if (!esisteva_) {
            archivio::eliminaDatabase(percorso_, &e);
        } else if (tabelleCreate_ && archivio::apri(percorso_, kRimozione, &e)) {
            {
                QSqlDatabase db = QSqlDatabase::database(kRimozione, false);
                db.transaction();
                QSqlQuery q(db);
                for (const QString& tabella : schema::tabelle()) {
                    q.exec(QStringLiteral("DROP TABLE \"%1\"").arg(tabella));
                }
                db.commit();
            }
            archivio::chiudi(kRimozione);
        }
    }

    QString percorso_;
    std::unique_ptr<QTemporaryDir> cartella_;
    bool pronta_ = false;
    bool esisteva_ = false;
    bool tabelleCreate_ = false;
    bool confermata_ = false;
};

// The source file copied page by page: checked (file to file), or only as one moment's image
// of the source that a row copy then reads without holding the source's lock.
copiapagine::Esito copiaPagine(const QString& file, bool verifica,
                               const std::function<void()>& traPassi, QString* errore) {
    FileNuovo copia(file);
    sqlite3* db = copia.aperto(errore);
    if (!db) {
        return copiapagine::Esito::Errore;
    }
    return copiapagine::copia(handleSqlite(kOrigine), db, verifica, traPassi, errore);
}

bool copiaRigaPerRiga(const QString& origine, Destinazione& destinazione, QString* errore) {
    archivio::Errore e;
    if (!archivio::crea(destinazione.lavoro(), &e)) {
        *errore = nonCreato(destinazione.percorso(), e);
        return false;
    }
    destinazione.tabelleCreate();
    if (!archivio::apri(destinazione.lavoro(), kDestinazione, &e)) {
        *errore = nonCreato(destinazione.percorso(), e);
        return false;
    }
    const bool ok =
        copiarighe::copiaEVerifica(QSqlDatabase::database(origine, false),
                                   QSqlDatabase::database(kDestinazione, false), errore);
    archivio::chiudi(kDestinazione);
    return ok;
}

bool copia(const QString& origine, Destinazione& destinazione,
           const std::function<void()>& traPassi, QString* errore) {
    if (archivio::motoreDi(origine) == archivio::Motore::PostgreSQL) {
        return copiaRigaPerRiga(kOrigine, destinazione, errore);
    }
    if (destinazione.suFile()) {
        const copiapagine::Esito esito = copiaPagine(destinazione.lavoro(), true, traPassi, errore);
        if (esito != copiapagine::Esito::SchemaEstraneo) {
            return esito == copiapagine::Esito::Uguale;
        }
        QFile::remove(destinazione.lavoro());  // tables of another program: rows of ours only
    }
    // A moment's image of the source file, so that its lock is not held for the row copy.
    const QString cartella = destinazione.cartellaPrivata();
    const QString istantanea = QDir(cartella).filePath(QStringLiteral("istantanea.mdb"));
    archivio::Errore e;
    if (cartella.isEmpty() ||
        copiaPagine(istantanea, false, traPassi, errore) != copiapagine::Esito::Uguale) {
        if (cartella.isEmpty()) {
            *errore = QStringLiteral("Impossibile creare una cartella temporanea.");
        }
        return false;
    }
    if (!archivio::apri(istantanea, kIstantanea, &e)) {
        *errore = QStringLiteral("Codice errore = %1\n%2").arg(e.codice, e.testo);
        return false;
    }
    const bool ok = copiaRigaPerRiga(kIstantanea, destinazione, errore);
    archivio::chiudi(kIstantanea);
    QFile::remove(istantanea);
    return ok;
}

}  // namespace

bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore) {
    return copiaArchivio(origine, destinazione, errore, {});
}

bool copiaArchivio(const QString& origine, const QString& destinazione, QString* errore,
                   const std::function<void()>& traPassi) {
    Destinazione destino(destinazione);
    if (!destino.prepara(errore)) {
        return false;
    }
    archivio::Errore e;
    if (!archivio::apri(origine, kOrigine, &e)) {
        *errore = QStringLiteral("Impossibile aprire l'archivio '%1'.\nCodice errore = %2\n%3")
                      .arg(origine, e.codice, e.testo);
        return false;
    }
    bool ok = copia(origine, destino, traPassi, errore);
    archivio::chiudi(kOrigine);
    return ok && destino.conferma(errore);
}
