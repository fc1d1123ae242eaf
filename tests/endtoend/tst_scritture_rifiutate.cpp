#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "../cashbook/CassaDiProva.h"
#include "Archivio.h"
#include "ControlloArchivio.h"
#include "Sql.h"
#include "Staffetta.h"

// Writes the engine refuses from outside the program: an archive file that became read-only,
// a database server that went away. The person is told, nothing is half written, the typed
// movement is not lost, and the program goes on.
class TestScrittureRifiutate : public QObject {
    Q_OBJECT
  private:
    // A movement of March typed and inserted; a refused insert must leave it in the fields.
    static void inserisciVendita(CassaDiProva& cassa) {
        cassa.scrivi(QStringLiteral("10/03/2005"), QStringLiteral("Vendita"),
                     QStringLiteral("5,00"));
        cassa.clic("cmdIns");
    }

    static void verificaRifiuto(CassaDiProva& cassa) {
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        const QString& testo = cassa.env.ui.messages[0].text;
        QVERIFY2(testo.startsWith(QStringLiteral(
                     "Errore nell'accesso alla tabella 'Vardello'\n\nCodice errore = ")),
                 qPrintable(testo));
        QVERIFY2(!testo.contains(QStringLiteral("Codice errore = 0\n")) &&
                     testo.endsWith(QStringLiteral("\n\nIl movimento non è stato registrato.")),
                 qPrintable(testo));
        QCOMPARE(cassa.box("txtDataRegistrazione"), QStringLiteral("10/03/2005"));
        QCOMPARE(cassa.c<QComboBox>("cmbOperazione")->currentText(), QStringLiteral("Vendita"));
        QCOMPARE(cassa.c<ValutaBox>("txtEntrate")->text(), QStringLiteral("5,00"));
    }

    // The archive as another connection sees it: movements and March's stored income.
    static QString contenuto(const QString& connessione) {
        QSqlQuery q(QSqlDatabase::database(connessione));
        if (!eseguiSql(q, QStringLiteral(R"(SELECT (SELECT count(*) FROM "Vardello"),
                       (SELECT "Totale Entrate" FROM "Totali di Cassa"
                        WHERE "Anno" = 2005 AND "mese" = 3))")) ||
            !q.next()) {
            qFatal("cannot read the archive");
        }
        return q.value(0).toString() + QLatin1Char('/') + q.value(1).toString();
    }

    static void apriConnessione(const QString& archivio, const QString& nome) {
        archivio::Errore errore;
        if (!archivio::apri(archivio, nome, &errore)) {
            qFatal("cannot open the archive: %s", qPrintable(errore.testo));
        }
    }

  private slots:
    void aReadOnlyArchiveFileRefusesTheInsert() {
        if (TestEnvironment::onPostgres()) {
            QSKIP("an archive file is an SQLite matter");
        }
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 2), cassa.euro("100"), QVariant());
        cassa.apri();
        QCOMPARE(contenuto(kConnessioneArchivio), QStringLiteral("1/1000000"));

        // Write access taken away. The engine then opens the file read-only, as it does by
        // itself for a write-protected file (the test may run as root, whom the file's
        // permissions do not stop).
        const QString archivio = programma().PercorsoArchivio;
        QVERIFY(QFile::setPermissions(archivio, QFile::ReadOwner | QFile::ReadGroup));
        archivio::chiudi(kConnessioneArchivio);
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnessioneArchivio);
            db.setDatabaseName(archivio);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            QVERIFY(db.open());
            QVERIFY(archivio::soloNomiVeri(db));
        }
        inserisciVendita(cassa);
        verificaRifiuto(cassa);
        QCOMPARE(contenuto(kConnessioneArchivio), QStringLiteral("1/1000000"));

        // Write access given back: the same movement, still in the fields, goes in.
        QVERIFY(QFile::setPermissions(archivio, QFile::ReadOwner | QFile::WriteOwner));
        archivio::chiudi(kConnessioneArchivio);
        apriConnessione(archivio, kConnessioneArchivio);
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(contenuto(kConnessioneArchivio), QStringLiteral("2/1050000"));
        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Vendita"));
    }

    void aServerThatGoesAwayRefusesTheInsert() {
        if (!TestEnvironment::onPostgres()) {
            QSKIP("a database server is a PostgreSQL matter");
        }
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 2), cassa.euro("100"), QVariant());
        cassa.apri();
        const QString testimone = QStringLiteral("testimone");
        apriConnessione(programma().PercorsoArchivio, testimone);

        // The server ends the program's session, as a restart or a network cut would.
        {
            QSqlQuery q(QSqlDatabase::database(testimone));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT pg_terminate_backend(pid)
                    FROM pg_stat_activity WHERE datname = current_database()
                    AND pid <> pg_backend_pid())")));
        }
        inserisciVendita(cassa);
        verificaRifiuto(cassa);
        QCOMPARE(contenuto(testimone), QStringLiteral("1/1000000"));

        // The server is back: the same movement, still in the fields, goes in.
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(contenuto(testimone), QStringLiteral("2/1050000"));
        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Vendita"));
        {
            // The new session waits for other computers' locks as the first one did.
            QSqlQuery q(DbArchivio());
            QVERIFY(eseguiSql(q, QStringLiteral("SHOW lock_timeout")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("30s"));
        }

        // Cut off again, and this time the server cannot be reached at all: after the refusal
        // of the action that met the loss, the next one gives the code of a lost connection,
        // not an empty error.
        QSqlDatabase programma = DbArchivio();
        const int porta = programma.port();
        programma.setPort(1);
        {
            QSqlQuery q(QSqlDatabase::database(testimone));
            QVERIFY(eseguiSql(q, QStringLiteral(R"(SELECT pg_terminate_backend(pid)
                    FROM pg_stat_activity WHERE datname = current_database()
                    AND pid <> pg_backend_pid())")));
        }
        inserisciVendita(cassa);
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 3);
        QVERIFY2(cassa.env.ui.messages[2].text.contains(QStringLiteral(
                     "Codice errore = 08006\nLa connessione al server dell'archivio si è "
                     "interrotta")),
                 qPrintable(cassa.env.ui.messages[2].text));
        QCOMPARE(contenuto(testimone), QStringLiteral("2/1050000"));
        programma.setPort(porta);
        cassa.clic("cmdIns");
        QCOMPARE(cassa.env.ui.messages.size(), 3);
        QCOMPARE(contenuto(testimone), QStringLiteral("3/1100000"));
        archivio::chiudi(testimone);
    }

    // The connection breaks after the server carried out a commit and before its answer
    // arrives (or just before the commit): the program asks the archive again, and what it
    // says is what the archive holds; insert, change and delete leave exactly one right copy.
    void aLostCommitAnswerIsAskedOfTheArchive() {
        if (!TestEnvironment::onPostgres()) {
            QSKIP("a lost answer of a server is a PostgreSQL matter");
        }
        qputenv("PGSSLMODE", "disable");  // the relay reads the conversation
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 2), cassa.euro("100"), QVariant());
        const QString testimone = QStringLiteral("testimone");
        apriConnessione(programma().PercorsoArchivio, testimone);
        QUrl indirizzo(programma().PercorsoArchivio);
        Staffetta staffetta(static_cast<quint16>(indirizzo.port(5432)));
        indirizzo.setPort(staffetta.porta());
        archivio::chiudi(kConnessioneArchivio);
        apriConnessione(indirizzo.toString(), kConnessioneArchivio);
        cassa.apri();
        auto& messaggi = cassa.env.ui.messages;

        // Insert: the commit went in, its answer did not come back.
        staffetta.taglia(Staffetta::Taglio::DopoIlCommit);
        inserisciVendita(cassa);
        QVERIFY(staffetta.tagliata());
        QCOMPARE(messaggi.size(), 1);
        QVERIFY2(messaggi[0].text.startsWith(
                     QStringLiteral("Il movimento è stato registrato con il numero 2.")) &&
                     messaggi[0].text.contains(QStringLiteral("Codice errore = 08006\n")),
                 qPrintable(messaggi[0].text));
        QCOMPARE(contenuto(testimone), QStringLiteral("2/1050000"));
        QCOMPARE(cassa.trimmed(1, 4), QStringLiteral("2"));
        QVERIFY(cassa.c<ValutaBox>("txtEntrate")->text().isEmpty());  // fields cleared

        // Insert: cut before the commit reached the server; the same click stores it once.
        staffetta.taglia(Staffetta::Taglio::PrimaDelCommit);
        inserisciVendita(cassa);
        QCOMPARE(messaggi.size(), 2);
        QVERIFY2(messaggi[1].text.endsWith(QStringLiteral("Il movimento non è stato registrato.")),
                 qPrintable(messaggi[1].text));
        QCOMPARE(contenuto(testimone), QStringLiteral("2/1050000"));
        cassa.clic("cmdIns");
        QCOMPARE(messaggi.size(), 2);
        QCOMPARE(contenuto(testimone), QStringLiteral("3/1100000"));

        // Change of movement 2: stored, answer lost.
        cassa.scegliRiga(1);
        cassa.c<QComboBox>("cmbOperazione")->setEditText(QStringLiteral("Vendita corretta"));
        staffetta.taglia(Staffetta::Taglio::DopoIlCommit);
        cassa.clic("cmdVar");
        QVERIFY(staffetta.tagliata());
        QCOMPARE(messaggi.size(), 3);
        QVERIFY2(messaggi[2].text.startsWith(
                     QStringLiteral("La variazione del movimento numero 2 è stata registrata.")),
                 qPrintable(messaggi[2].text));
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT "Operazione" FROM "Vardello"
                                  WHERE "Numero Progressivo" = 2)"))
                     .toString(),
                 QStringLiteral("Vendita corretta"));
        QCOMPARE(cassa.trimmed(1, 1), QStringLiteral("Vendita corretta"));
        QVERIFY(cassa.c<QPushButton>("cmdCanc")->isEnabled());  // back in insert mode

        // Delete of movement 2: gone, answer lost.
        cassa.selezionaRighe(1, 1);
        staffetta.taglia(Staffetta::Taglio::DopoIlCommit);
        cassa.clic("cmdCanc");
        QVERIFY(staffetta.tagliata());
        QCOMPARE(messaggi.size(), 5);  // the question, then the outcome
        QVERIFY2(messaggi[4].text.startsWith(QStringLiteral(
                     "La cancellazione dei movimenti selezionati è stata registrata.")),
                 qPrintable(messaggi[4].text));
        QCOMPARE(contenuto(testimone), QStringLiteral("2/1050000"));
        QCOMPARE(cassa.trimmed(1, 4), QStringLiteral("3"));
        archivio::chiudi(testimone);
    }
    // The archive on a small disk that fills up, then gets room again a little at a time.
    // After every click the message tells what the archive holds: a refused movement stays in
    // the fields and nothing of it is stored; a stored one is never stored twice.
    void aFullDiskIsToldTruthfully() {
        if (TestEnvironment::onPostgres()) {
            QSKIP("a full disk under an archive file is an SQLite matter");
        }
        QTemporaryDir punto;
        const QByteArray cartella = QFile::encodeName(punto.path());
        if (::mount("tmpfs", cartella.constData(), "tmpfs", 0, "size=1m") != 0) {
            QSKIP("mounting a small tmpfs is not allowed here (the test needs root)");
        }
        const auto smonta = qScopeGuard([&] { ::umount2(cartella.constData(), MNT_DETACH); });

        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 2), cassa.euro("100"), QVariant());
        archivio::chiudi(kConnessioneArchivio);
        const QString archivio = punto.filePath(QStringLiteral("VARDELLO.MDB"));
        QVERIFY(QFile::copy(programma().PercorsoArchivio, archivio));
        programma().PercorsoArchivio = archivio;
        apriConnessione(archivio, kConnessioneArchivio);
        cassa.apri();

        // Before every insert the disk is filled up with a filler file, which gives back a
        // page after each refusal.
        QFile riempitivo(punto.filePath(QStringLiteral("riempitivo")));
        QVERIFY(riempitivo.open(QIODevice::WriteOnly));
        const QByteArray pagina(4096, 'x');
        const auto riempi = [&] {
            while (riempitivo.write(pagina) == pagina.size() && riempitivo.flush()) {
            }
        };
        riempi();
        auto& messaggi = cassa.env.ui.messages;
        int registrati = 1;
        int rifiuti = 0;
        for (int giro = 0; giro < 200 && registrati < 12; ++giro) {
            const qsizetype prima = messaggi.size();
            const QString descrizione = QStringLiteral("Vendita %1 ").arg(giro).repeated(8);
            cassa.scrivi(QStringLiteral("10/03/2005"), descrizione, QStringLiteral("1,00"));
            cassa.clic("cmdIns");
            const QString testo = messaggi.size() > prima ? messaggi.last().text : QString();
            QVERIFY2(messaggi.size() <= prima + 1 &&
                         !testo.contains(QStringLiteral("Codice errore = 0\n")),
                     qPrintable(testo));
            const int copie = cassa.env
                                  .scalar(QStringLiteral(R"(SELECT count(*) FROM "Vardello"
                                          WHERE "Operazione" = ?)"),
                                          {descrizione.trimmed()})
                                  .toInt();
            if (testo.endsWith(QStringLiteral("Il movimento non è stato registrato."))) {
                QVERIFY2(testo.contains(QStringLiteral("Codice errore = 13\nIl disco")),
                         qPrintable(testo));
                QCOMPARE(copie, 0);
                QCOMPARE(cassa.c<ValutaBox>("txtEntrate")->text(), QStringLiteral("1,00"));
                ++rifiuti;
                QVERIFY(riempitivo.resize(std::max<qint64>(0, riempitivo.size() - 4096)));
            } else {
                // Stored, with or without a later step that failed and says so.
                QVERIFY2(testo.isEmpty() || testo.startsWith(QStringLiteral(
                                                "Il movimento è stato registrato con il numero")),
                         qPrintable(testo));
                QCOMPARE(copie, 1);
                ++registrati;
                riempi();
            }
            QCOMPARE(cassa.env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Vardello")")).toInt(),
                     registrati);
        }
        QVERIFY2(rifiuti > 0, "the disk never filled up");
        QCOMPARE(registrati, 12);

        // With room again, the archive is whole and its stored totals are its rows'.
        riempitivo.remove();
        cassa.mostraMese(2005, 4);
        cassa.mostraMese(2005, 3);
        QCOMPARE(cassa.trimmed(11, 4), QStringLiteral("12"));
        QCOMPARE(cassa.env.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                 QStringLiteral("ok"));
        QCOMPARE(cassa.totaliDelMese(2005, 3), QStringLiteral("111,00/0,00"));
        QCOMPARE(cassa.env
                     .scalar(QStringLiteral(R"(SELECT count(DISTINCT "Numero Progressivo")
                             FROM "Vardello")"))
                     .toInt(),
                 12);
        archivio::chiudi(kConnessioneArchivio);
    }
};

QTEST_MAIN(TestScrittureRifiutate)
#include "tst_scritture_rifiutate.moc"
