#include "CopiaPagine.h"

#include <sqlite3.h>
#include <QSet>
#include <QStringList>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>

#include "Schema.h"

namespace copiapagine {

namespace {

// 4,096 pages of 4 KiB, or 50,000 rows compared: a step of some milliseconds.
constexpr int kPaginePerPasso = 4096;
constexpr int kRighePerPasso = 50000;
// Runs that give up the lock between steps before the last one keeps it.
constexpr int kTentativiSenzaBlocco = 5;
constexpr int kAttesaOccupatoMs = 5;
constexpr int kAttesaBloccoMs = 30000;  // as long as a write of the program waits
// The source as the copy's connection sees it while comparing.
const QString kOrigineUnita = QStringLiteral("vardello_origine");

enum class Passaggio { Uguale, Cambiata, SchemaEstraneo, Errore };

QString testoErrore(sqlite3* db, int codice) {
    return QStringLiteral("Codice errore = %1\n%2")
        .arg(codice)
        .arg(QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(codice)));
}

// Owns a prepared statement.
class Istruzione {
  public:
    Istruzione(sqlite3* db, const QString& sql) : db_(db) {
        codice_ = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt_, nullptr);
    }
    ~Istruzione() { sqlite3_finalize(stmt_); }
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;
    bool pronta(QString* errore) const {
        if (codice_ != SQLITE_OK) {
            *errore = testoErrore(db_, codice_);
        }
        return codice_ == SQLITE_OK;
    }
    sqlite3_stmt* operator*() const { return stmt_; }

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    int codice_ = SQLITE_OK;
};

// Changes whenever another connection has committed a write into the file.
bool versioneDati(sqlite3* db, qint64* versione, QString* errore) {
    Istruzione q(db, QStringLiteral("PRAGMA data_version"));
    if (!q.pronta(errore)) {
        return false;
    }
    const int codice = sqlite3_step(*q);
    if (codice != SQLITE_ROW) {
        *errore = testoErrore(db, codice);
        return false;
    }
    *versione = sqlite3_column_int64(*q, 0);
    return true;
}

// The copy's catalogue holds the program's own tables and indexes, as the program creates
// them, and nothing else but the engine's own key indexes and statistics.
bool schemaProprio(sqlite3* db, bool* proprio, QString* errore) {
    Istruzione q(db, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master"));
    if (!q.pronta(errore)) {
        return false;
    }
    const QStringList& istruzioni = schema::istruzioniCreazione();
    QSet<QString> trovate;
    *proprio = true;
    int codice = SQLITE_ROW;
    while ((codice = sqlite3_step(*q)) == SQLITE_ROW) {
        const auto testo = [&](int colonna) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(*q, colonna)));
        };
        const QString tipo = testo(0);
        const QString nome = testo(1);
        const bool senzaTesto = sqlite3_column_type(*q, 3) == SQLITE_NULL;
        if (!senzaTesto && istruzioni.contains(testo(3))) {
            trovate.insert(testo(3));
        } else if (!(tipo == QLatin1String("index") && senzaTesto &&
                     nome.startsWith(QLatin1String("sqlite_autoindex_")) &&
                     schema::tabelle().contains(testo(2))) &&
                   !(tipo == QLatin1String("table") && (nome == QLatin1String("sqlite_stat1") ||
                                                        nome == QLatin1String("sqlite_stat4")))) {
            *proprio = false;
        }
    }
    if (codice != SQLITE_DONE) {
        *errore = testoErrore(db, codice);
        return false;
    }
    *proprio = *proprio && trovate.size() == istruzioni.size();
    return true;
}

class Copia {
  public:
    Copia(sqlite3* origine, sqlite3* copia, bool verifica, const std::function<void()>& traPassi,
          QString* errore)
        : origine_(origine),
          copia_(copia),
          verifica_(verifica),
          traPassi_(traPassi),
          errore_(errore) {}

    // One run: the pages copied, the schema checked, the rows compared. `bloccata`: the
    // caller holds the source's read lock for the whole run.
    Passaggio esegui(bool bloccata) {
        bloccata_ = bloccata;
        if (!versioneDati(origine_, &versione_, errore_)) {
            return Passaggio::Errore;
        }
        Passaggio esito = copiaPagine();
        if (esito != Passaggio::Uguale || !verifica_) {
            return esito;
        }
        bool proprio = false;
        if (!schemaProprio(copia_, &proprio, errore_)) {
            return Passaggio::Errore;
        }
        if (!proprio) {
            return Passaggio::SchemaEstraneo;
        }
        for (const QString& tabella : schema::tabelle()) {
            esito = confronta(tabella);
            if (esito != Passaggio::Uguale) {
                return esito;
            }
        }
        return Passaggio::Uguale;
    }

  private:
    // Between two steps: has another connection written into the source since the run began?
    Passaggio dopoUnPasso() {
        if (bloccata_) {
            return Passaggio::Uguale;
        }
        qint64 versione = 0;
        if (!versioneDati(origine_, &versione, errore_)) {
            return Passaggio::Errore;
        }
        if (versione != versione_) {
            return Passaggio::Cambiata;
        }
        if (traPassi_) {
            traPassi_();
        }
        return Passaggio::Uguale;
    }

    Passaggio copiaPagine() {
        sqlite3_backup* backup = sqlite3_backup_init(copia_, "main", origine_, "main");
        if (!backup) {
            *errore_ = testoErrore(copia_, sqlite3_errcode(copia_));
            return Passaggio::Errore;
        }
        Passaggio esito = Passaggio::Uguale;
        for (;;) {
            const int codice = sqlite3_backup_step(backup, bloccata_ ? -1 : kPaginePerPasso);
            if (codice == SQLITE_DONE) {
                break;
            }
            if (codice == SQLITE_BUSY || codice == SQLITE_LOCKED) {
                sqlite3_sleep(kAttesaOccupatoMs);  // another computer is writing
            } else if (codice != SQLITE_OK) {
                *errore_ = testoErrore(nullptr, codice);
                esito = Passaggio::Errore;
                break;
            }
            esito = dopoUnPasso();
            if (esito != Passaggio::Uguale) {
                break;
            }
        }
        const int finale = sqlite3_backup_finish(backup);
        if (esito == Passaggio::Uguale && finale != SQLITE_OK) {
            *errore_ = testoErrore(copia_, finale);
            esito = Passaggio::Errore;
        }
        return esito == Passaggio::Uguale ? dopoUnPasso() : esito;
    }

    // The values of a statement's only row, run with the bound row keys.
    bool valori(const QString& sql, std::initializer_list<sqlite3_int64> chiavi,
                std::initializer_list<sqlite3_int64*> risultati) {
        Istruzione q(copia_, sql);
        if (!q.pronta(errore_)) {
            return false;
        }
        int i = 0;
        for (const sqlite3_int64 chiave : chiavi) {
            sqlite3_bind_int64(*q, ++i, chiave);
        }
        const int codice = sqlite3_step(*q);
        if (codice != SQLITE_ROW) {
            *errore_ = testoErrore(copia_, codice);
            return false;
        }
        i = 0;
        for (sqlite3_int64* risultato : risultati) {
            *risultato = sqlite3_column_int64(*q, i++);
        }
        return true;
    }

    // The rows of a table on both sides in the order of the engine's row key, which a page
    // copy keeps, a range of keys at a time: every row of the source has a row of the copy
    // under the same key holding the same values (IS compares the kind of value too: an
    // integer is never a text; the + leaves the values as stored), and the copy has no other
    // row.
    Passaggio confronta(const QString& tabella) {
        QStringList stessiValori;
        for (const QString& campo : schema::campi(tabella)) {
            stessiValori.append(QStringLiteral("+a.\"%1\" IS +b.\"%1\"").arg(campo));
        }
        const QString prossima =
            QStringLiteral(
                "SELECT min(rowid) IS NULL, coalesce(min(rowid), 0) FROM %2.\"%1\" "
                "WHERE rowid > ?1")
                .arg(tabella, kOrigineUnita);
        const QString intervallo =
            QStringLiteral(
                "SELECT count(*), count(b.rowid), (SELECT count(*) FROM main.\"%1\" WHERE rowid "
                "> ?1 AND rowid <= ?2) FROM %2.\"%1\" a LEFT JOIN main.\"%1\" b ON b.rowid = "
                "a.rowid AND %3 WHERE a.rowid > ?1 AND a.rowid <= ?2")
                .arg(tabella, kOrigineUnita, stessiValori.join(QStringLiteral(" AND ")));
        const QString oltre =
            QStringLiteral("SELECT count(*) FROM main.\"%1\" WHERE rowid > ?1").arg(tabella);
        constexpr sqlite3_int64 kMassima = std::numeric_limits<sqlite3_int64>::max();
        sqlite3_int64 dopo = std::numeric_limits<sqlite3_int64>::min();
        for (;;) {
            sqlite3_int64 finita = 0;  // no further row in the source
            sqlite3_int64 inizio = 0;
            sqlite3_int64 fine = kMassima;
            sqlite3_int64 righe = 0;
            sqlite3_int64 righeUguali = 0;
            sqlite3_int64 righeCopia = 0;
            if (!valori(prossima, {dopo}, {&finita, &inizio})) {
                return Passaggio::Errore;
            }
            if (!finita && inizio <= kMassima - kRighePerPasso) {
                fine = inizio + kRighePerPasso - 1;
            }
            if (finita ? !valori(oltre, {dopo}, {&righeCopia})
                       : !valori(intervallo, {dopo, fine}, {&righe, &righeUguali, &righeCopia})) {
                return Passaggio::Errore;
            }
            const Passaggio esito = dopoUnPasso();
            if (esito != Passaggio::Uguale) {
                return esito;  // a difference met after another computer's write tells nothing
            }
            if (righeUguali != righe || righeCopia != righe) {
                *errore_ =
                    QStringLiteral("La copia della tabella '%1' non corrisponde all'originale.")
                        .arg(tabella);
                return Passaggio::Errore;
            }
            if (finita || fine == kMassima) {
                return Passaggio::Uguale;
            }
            dopo = fine;
        }
    }

    sqlite3* origine_;
    sqlite3* copia_;
    bool verifica_;
    const std::function<void()>& traPassi_;
    QString* errore_;
    bool bloccata_ = false;
    qint64 versione_ = 0;
};

// The source's read lock, held from the first statement after BEGIN to COMMIT.
bool bloccaLettura(sqlite3* db, bool blocca, QString* errore) {
    const char* sql = blocca ? "BEGIN; SELECT count(*) FROM sqlite_master;" : "COMMIT";
    const int codice = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (codice != SQLITE_OK) {
        *errore = testoErrore(db, codice);
        return false;
    }
    return true;
}

// The source's file attached to the copy's connection, so that the engine compares the two
// in one statement (as one more reader of the source); detached again when this goes away.
class OrigineUnita {
  public:
    OrigineUnita(sqlite3* origine, sqlite3* copia, QString* errore) : copia_(copia) {
        sqlite3_busy_timeout(copia, kAttesaBloccoMs);

        Istruzione q(copia, QStringLiteral("ATTACH DATABASE ?1 AS %1").arg(kOrigineUnita));
        if (q.pronta(errore)) {
            sqlite3_bind_text(*q, 1, sqlite3_db_filename(origine, "main"), -1, SQLITE_TRANSIENT);
            const int codice = sqlite3_step(*q);
            unita_ = codice == SQLITE_DONE;
            if (!unita_) {
                *errore = testoErrore(copia, codice);
            }
        }
    }
    ~OrigineUnita() {
        if (unita_) {
            const QByteArray sql = QStringLiteral("DETACH DATABASE %1").arg(kOrigineUnita).toUtf8();
            sqlite3_exec(copia_, sql.constData(), nullptr, nullptr, nullptr);
        }
    }
    OrigineUnita(const OrigineUnita&) = delete;
    OrigineUnita& operator=(const OrigineUnita&) = delete;
    bool unita() const { return unita_; }

  private:
    sqlite3* copia_;
    bool unita_ = false;
};

}  // namespace

Esito copia(sqlite3* origine, sqlite3* copia, bool verifica, const std::function<void()>& traPassi,
            QString* errore) {
    std::optional<OrigineUnita> unita;
    if (verifica && !unita.emplace(origine, copia, errore).unita()) {
        return Esito::Errore;
    }
    Copia lavoro(origine, copia, verifica, traPassi, errore);
    for (int tentativo = 0; tentativo <= kTentativiSenzaBlocco; ++tentativo) {
        const bool ultimo = tentativo == kTentativiSenzaBlocco;
        if (ultimo && !bloccaLettura(origine, true, errore)) {
            return Esito::Errore;
        }
        const Passaggio esito = lavoro.esegui(ultimo);
        QString erroreSblocco;
        if (ultimo && !bloccaLettura(origine, false, &erroreSblocco) &&
            esito != Passaggio::Errore) {
            *errore = erroreSblocco;
            return Esito::Errore;
        }
        switch (esito) {
            case Passaggio::Uguale:
                return Esito::Uguale;
            case Passaggio::SchemaEstraneo:
                return Esito::SchemaEstraneo;
            case Passaggio::Errore:
                return Esito::Errore;
            case Passaggio::Cambiata:
                break;  // another computer wrote meanwhile: once more from the first page
        }
    }
    return Esito::Errore;  // not reached: the last run holds the lock and cannot be overtaken
}

}  // namespace copiapagine
