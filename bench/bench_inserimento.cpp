// One insert through the main window on a month of 10,000 movements in an archive of
// 1,000,000: the fields filled, cmdIns clicked, the grid repainted; against a bare INSERT
// of the same movement with the same durability (one statement, prepared once, committed on
// its own), and against the bare transaction that keeps the insert's guarantees, which the
// program's insert without the window is also set against. The archive
// (see archivioGrande) is copied first when it is a file; a server's database is written into.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>

#include "Archivio.h"
#include "Aspetto.h"
#include "Clock.h"
#include "Confronto.h"
#include "DatiCondivisi.h"
#include "MovimentiCassa.h"
#include "Platform.h"
#include "Programma.h"
#include "QtInteraction.h"
#include "Services.h"
#include "Sql.h"
#include "ValutaBox.h"
#include "frmVardello.h"

namespace {

// Counts the paintings of the grid, so that the run shows it repainted after each insert.
class ContaPitture : public QObject {
  public:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) {
            ++pitture;
        }
        return QObject::eventFilter(oggetto, evento);
    }
    qint64 pitture = 0;
};

frmVardello* finestra = nullptr;

template <class T>
T* controllo(const char* nome) {
    T* c = finestra->findChild<T*>(QString::fromLatin1(nome));
    if (!c) {
        qFatal("no control %s", nome);
    }
    return c;
}

void BM_InserimentoFinestra(benchmark::State& stato) {
    auto* data = controllo<QLineEdit>("txtDataRegistrazione");
    auto* operazione = controllo<QComboBox>("cmbOperazione");
    auto* entrate = controllo<ValutaBox>("txtEntrate");
    auto* ins = controllo<QPushButton>("cmdIns");
    auto* griglia = controllo<QTableView>("grdGesca");
    ContaPitture conta;
    griglia->viewport()->installEventFilter(&conta);
    const int righePrima = griglia->model()->rowCount();
    qint64 clic = 0;
    qint64 pittura = 0;
    for (auto _ : stato) {
        data->setText(QStringLiteral("15/03/2005"));
        operazione->setEditText(QStringLiteral("Vendita al banco"));
        entrate->setText(QStringLiteral("12,50"));
        QElapsedTimer t;
        t.start();
        ins->click();
        clic += t.nsecsElapsed();
        t.restart();
        QCoreApplication::processEvents();
        pittura += t.nsecsElapsed();
    }
    stato.counters["clic_ms"] = clic / 1e6 / stato.iterations();
    stato.counters["pittura_ms"] = pittura / 1e6 / stato.iterations();
    griglia->viewport()->removeEventFilter(&conta);
    if (griglia->model()->rowCount() - righePrima != stato.iterations()) {
        stato.SkipWithError("an insert did not reach the grid");
    }
    stato.counters["pitture"] = static_cast<double>(conta.pitture) / stato.iterations();
}

// The movement the window is given, as the program's insert receives it; the bare
// counterparts store its fields (valoriCampi).
DatiMovimento movimento() {
    DatiMovimento dati;
    dati.dataRegistrazione = QDate(2005, 3, 15);
    dati.operazione = QStringLiteral("Vendita al banco");
    dati.entrate = Money::fromUnits(125000);
    dati.utente = QStringLiteral("Mario Rossi");
    dati.dataIns = QStringLiteral("15/03/2005");
    dati.oraIns = QStringLiteral("10:30");
    return dati;
}

void BM_InsertNudo(benchmark::State& stato) {
    // Below every number stored (a server's database keeps the rows of earlier runs), so
    // never one the window gives.
    static qint64 numero = [] {
        QSqlQuery q(DbArchivio());
        q.exec(QStringLiteral(R"(SELECT MIN("Numero Progressivo") FROM "Vardello")"));
        return q.next() ? qMin<qint64>(0, q.value(0).toLongLong()) : 0;
    }();
    QSqlQuery q(DbArchivio());
    q.prepare(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
               "Data Registrazione", "Operazione", "Entrate", "Uscite", "Codice Iva",
               "Imponibile Iva", "Data documento", "Utente", "DataIns", "OraIns")
               VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"));
    const QVariantList campi = valoriCampi(movimento());
    for (auto _ : stato) {
        const QVariantList valori = QVariantList{--numero} + campi;
        for (int i = 0; i < valori.size(); ++i) {
            q.bindValue(i, valori.at(i));
        }
        if (!q.exec()) {
            stato.SkipWithError(qPrintable(q.lastError().text()));
            break;
        }
    }
}

// The program's insert without the window: what of an insert is the archive's part.
void BM_InserimentoArchivio(benchmark::State& stato) {
    const DatiMovimento dati = movimento();
    for (auto _ : stato) {
        inserisciMovimento(DbArchivio(), dati, nullptr);
    }
}

// The engine alone doing what the program's insert guarantees, without the window: the write
// lock, the row numbered inside the INSERT, the month's total added, the commit; a server gets
// the same three round trips as the program (lock; row and total in one statement; commit).
void BM_TransazioneNuda(benchmark::State& stato) {
    QSqlDatabase db = DbArchivio();
    const bool server = db.driverName() == QLatin1String("QPSQL");
    const QString riga = QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
               "Data Registrazione", "Operazione", "Entrate", "Uscite", "Codice Iva",
               "Imponibile Iva", "Data documento", "Utente", "DataIns", "OraIns")
               VALUES ((SELECT COALESCE(MAX("Numero Progressivo"), 0) + 1 FROM "Vardello"),
                       ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING "Numero Progressivo")");
    const QString totale = QStringLiteral(R"(UPDATE "Totali di Cassa"
               SET "Totale Entrate" = "Totale Entrate" + ?, "Totale Uscite" = "Totale Uscite" + ?
               WHERE "Anno" = 2005 AND "mese" = 3)");
    QSqlQuery inserimento(db);
    QSqlQuery somma(db);
    inserimento.prepare(server ? QStringLiteral("WITH nuovo AS (%1), totale AS (%2 RETURNING 1) "
                                                "SELECT * FROM nuovo, totale")
                                     .arg(riga, totale)
                               : riga);
    somma.prepare(totale);
    const QVariantList valori = valoriCampi(movimento());
    const QVariantList importi = {valoreSql(Money::fromUnits(125000)), valoreSql(Money())};
    QSqlQuery comando(db);
    for (auto _ : stato) {
        bool fatto = comando.exec(server ? QStringLiteral(R"(BEGIN; LOCK TABLE "Vardello" IN
                                                            SHARE ROW EXCLUSIVE MODE)")
                                         : QStringLiteral("BEGIN IMMEDIATE"));
        const QVariantList tutti = server ? valori + importi : valori;
        for (int i = 0; fatto && i < tutti.size(); ++i) {
            inserimento.bindValue(i, tutti.at(i));
        }
        fatto = fatto && inserimento.exec() && inserimento.next();
        inserimento.finish();
        if (fatto && !server) {
            somma.bindValue(0, importi.at(0));
            somma.bindValue(1, importi.at(1));
            fatto = somma.exec();
        }
        if (!fatto || !comando.exec(QStringLiteral("COMMIT"))) {
            stato.SkipWithError("the bare transaction failed");
            comando.exec(QStringLiteral("ROLLBACK"));
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    impostaAspetto();  // the window's font and style, as the program starts it
    QtInteraction interazione;
    FixedClock orologio(QDateTime(QDate(2005, 3, 15), QTime(10, 30)));
    SystemPlatform piattaforma;
    services::setInteraction(&interazione);
    services::setClock(&orologio);
    services::setPlatform(&piattaforma);

    programma().PercorsoArchivio = copiaDaScrivere(archivioGrande());
    programma().UtenteCorrente = QStringLiteral("Mario Rossi");
    archivio::Errore errore;
    if (!archivio::apri(programma().PercorsoArchivio, kConnessioneArchivio, &errore)) {
        qFatal("cannot open the archive: %s", qPrintable(errore.testo));
    }
    {
        frmVardello principale;
        finestra = &principale;
        principale.Prepara();
        principale.show();
        QCoreApplication::processEvents();
        confronta(benchmark::RegisterBenchmark("BM_InserimentoFinestra", BM_InserimentoFinestra));
        confronta(benchmark::RegisterBenchmark("BM_InsertNudo", BM_InsertNudo));
        confronta(benchmark::RegisterBenchmark("BM_TransazioneNuda", BM_TransazioneNuda));
        confronta(benchmark::RegisterBenchmark("BM_InserimentoArchivio", BM_InserimentoArchivio));
        eseguiConfronti(argc, argv,
                        {{"BM_InserimentoFinestra", "BM_InsertNudo"},
                         {"BM_InserimentoFinestra", "BM_TransazioneNuda"},
                         {"BM_InserimentoArchivio", "BM_TransazioneNuda"}});
    }
    archivio::chiudi(kConnessioneArchivio);
    return 0;
}
