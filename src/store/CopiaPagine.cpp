#include "CopiaPagine.h"

#include <QSet>
#include <QStringList>
#include <cstring>
#include <limits>
#include <utility>
#include <sqlite3.h>

#include "Schema.h"

namespace copiapagine {

namespace {

// 4,096 pages of 4 KiB, or 20,000 rows: a step of a few milliseconds.
constexpr int kPaginePerPasso = 4096;
constexpr int kRighePerPasso = 20000;
// Runs that give up the lock between steps before the last one keeps it.
constexpr int kTentativiSenzaBlocco = 5;
constexpr int kAttesaOccupatoMs = 5;

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
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(*q, colonna)));
        };
        const QString tipo = testo(0);
        const QString nome = testo(1);
        const bool senzaTesto = sqlite3_column_type(*q, 3) == SQLITE_NULL;
        if (!senzaTesto && istruzioni.contains(testo(3))) {
            trovate.insert(testo(3));
        } else if (!(tipo == QLatin1String("index") && senzaTesto &&
                     nome.startsWith(QLatin1String("sqlite_autoindex_")) &&
                     schema::tabelle().contains(testo(2))) &&
                   !(tipo == QLatin1String("table") &&
                     (nome == QLatin1String("sqlite_stat1") ||
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

bool stessoValore(sqlite3_stmt* a, sqlite3_stmt* b, int colonna) {
    const int tipo = sqlite3_column_type(a, colonna);
    if (tipo != sqlite3_column_type(b, colonna)) {
        return false;
    }
    switch (tipo) {
        case SQLITE_NULL:
            return true;
        case SQLITE_INTEGER:
            return sqlite3_column_int64(a, colonna) == sqlite3_column_int64(b, colonna);
        case SQLITE_FLOAT: {
            const double x = sqlite3_column_double(a, colonna);
            const double y = sqlite3_column_double(b, colonna);
            return std::memcmp(&x, &y, sizeof x) == 0;
        }
        default: {  // text and blobs: the same bytes
            const void* x = sqlite3_column_blob(a, colonna);
            const void* y = sqlite3_column_blob(b, colonna);
            const int n = sqlite3_column_bytes(a, colonna);
            return n == sqlite3_column_bytes(b, colonna) && (n == 0 || std::memcmp(x, y, n) == 0);
        }
    }
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

    // The rows of a table on both sides in the order of the engine's row key, which a page
    // copy keeps, compared value by value with their storage type, a step at a time.
    Passaggio confronta(const QString& tabella) {
        QStringList colonne;
        for (const QString& campo : schema::campi(tabella)) {
            colonne.append(QLatin1Char('"') + campo + QLatin1Char('"'));
        }
        const QString sql = QStringLiteral(
                                "SELECT rowid, %1 FROM \"%2\" WHERE rowid > ?1 ORDER BY rowid "
                                "LIMIT %3")
                                .arg(colonne.join(QStringLiteral(", ")), tabella)
                                .arg(kRighePerPasso);
        Istruzione a(origine_, sql);
        Istruzione b(copia_, sql);
        if (!a.pronta(errore_) || !b.pronta(errore_)) {
            return Passaggio::Errore;
        }
        const int nColonne = static_cast<int>(colonne.size()) + 1;
        sqlite3_int64 ultima = std::numeric_limits<sqlite3_int64>::min();
        for (;;) {
            sqlite3_bind_int64(*a, 1, ultima);
            sqlite3_bind_int64(*b, 1, ultima);
            int righe = 0;
            int codiceA = SQLITE_ROW;
            int codiceB = SQLITE_ROW;
            bool uguali = true;
            for (;;) {
                codiceA = sqlite3_step(*a);
                codiceB = sqlite3_step(*b);
                if (codiceA != SQLITE_ROW || codiceB != SQLITE_ROW) {
                    uguali = codiceA == codiceB;  // else one side has more rows
                    break;
                }
                ++righe;
                for (int i = 0; i < nColonne && uguali; ++i) {
                    uguali = stessoValore(*a, *b, i);
                }
                if (!uguali) {
                    break;
                }
                ultima = sqlite3_column_int64(*a, 0);
            }
            sqlite3_reset(*a);  // ends this step's read of the source
            sqlite3_reset(*b);
            for (const auto& [db, codice] : {std::pair{origine_, codiceA}, {copia_, codiceB}}) {
                if (codice != SQLITE_ROW && codice != SQLITE_DONE) {
                    *errore_ = testoErrore(db, codice);
                    return Passaggio::Errore;
                }
            }
            const Passaggio dopo = dopoUnPasso();
            if (dopo != Passaggio::Uguale) {
                return dopo;  // a difference met after another computer's write tells nothing
            }
            if (!uguali) {
                *errore_ = QStringLiteral(
                               "La copia della tabella '%1' non corrisponde all'originale.")
                               .arg(tabella);
                return Passaggio::Errore;
            }
            if (righe < kRighePerPasso) {
                return Passaggio::Uguale;
            }
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

}  // namespace

Esito copia(sqlite3* origine, sqlite3* copia, bool verifica,
            const std::function<void()>& traPassi, QString* errore) {
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
