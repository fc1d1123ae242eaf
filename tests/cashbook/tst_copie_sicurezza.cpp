#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QThread>

#include "Archivio.h"
#include "CassaDiProva.h"
#include "CopiaAllUscita.h"
#include "CopiaArchivio.h"
#include "CopieSicurezza.h"

// The backups made when the program ends.
class TestCopieSicurezza : public QObject {
    Q_OBJECT
  private:
    static QString cartella(CassaDiProva& cassa) {
        return QDir(cassa.env.platform.dataFolder).filePath(QStringLiteral("copie"));
    }
    static QString nomeBase() {
        return TestEnvironment::onPostgres() ? QUrl(programma().PercorsoArchivio).path().mid(1)
                                             : QStringLiteral("VARDELLO");
    }
    static QStringList copieFatte(CassaDiProva& cassa) {
        return QDir(cartella(cassa)).entryList(QDir::Files, QDir::Name);
    }

  private slots:
    void aWeekOfUseLeavesSevenVerifiedCopies() {
        CassaDiProva cassa;
        cassa.movimento(1, QDate(2005, 3, 1), cassa.euro("10"), QVariant(), "Uno");
        for (int giorno = 0; giorno < 7; ++giorno) {
            cassa.env.clock.set(QDateTime(QDate(2005, 3, 14 + giorno), QTime(18, 0)));
            cassa.apri();
            cassa.clic("cmdEsci");  // the window ends the program: the day's copy is made
            cassa.apri();
            cassa.finestra->close();  // a second end the same day copies nothing more
        }
        QVERIFY2(cassa.env.ui.messages.isEmpty(), qPrintable(cassa.env.ui.messages.value(0).text));
        const QStringList copie = copieFatte(cassa);
        QCOMPARE(copie.size(), 7);
        QCOMPARE(copie.first(), nomeBase() + QStringLiteral(" 2005-03-14.sqlite"));
        QCOMPARE(copie.last(), nomeBase() + QStringLiteral(" 2005-03-20.sqlite"));
        QCOMPARE(QFileInfo(cartella(cassa)).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFileDevice::Permissions());
        for (const QString& copia : copie) {
            const QString percorso = QDir(cartella(cassa)).filePath(copia);
            QCOMPARE(QFileInfo(percorso).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                     QFileDevice::Permissions());
            // Each copy is an archive that can be put back with --copia-archivio.
            QString errore;
            const QString ripristino = cassa.env.dir.filePath(copia + QStringLiteral(".MDB"));
            QVERIFY2(copiaArchivio(percorso, ripristino, &errore), qPrintable(errore));
        }

        // A server's administrator may turn the copies of a server archive off.
        if (TestEnvironment::onPostgres()) {
            cassa.env.exec(QStringLiteral(R"(INSERT INTO "Riferimenti standard" VALUES (?, '0'))"),
                           {copie::kRiferimentoServer});
            cassa.env.clock.set(QDateTime(QDate(2005, 3, 21), QTime(18, 0)));
            cassa.apri();
            cassa.finestra->close();
            QCOMPARE(copieFatte(cassa).size(), 7);
        }
    }

    void olderCopiesGoAndOtherFilesStay() {
        CassaDiProva cassa;
        cassa.env.clock.set(QDateTime(QDate(2006, 3, 15), QTime(18, 0)));
        QDir().mkpath(cartella(cassa));
        const auto crea = [&](const QString& nome) {
            QFile f(QDir(cartella(cassa)).filePath(nome));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        // Daily copies for over a year, and files the program did not make.
        for (QDate giorno(2004, 12, 1); giorno < QDate(2006, 3, 15); giorno = giorno.addDays(1)) {
            crea(copie::nomeCopia(programma().PercorsoArchivio, giorno));
        }
        const QStringList altri = {QStringLiteral("note.txt"),
                                   nomeBase() + QStringLiteral(" 2005-01-01.sqlite.bak"),
                                   QStringLiteral("ALTRO 2005-01-01.sqlite"),
                                   nomeBase() + QStringLiteral(" 2005-02-31.sqlite")};
        for (const QString& nome : altri) {
            crea(nome);
        }
        cassa.apri();
        cassa.finestra->close();

        QStringList attese = altri;
        // Today's and the 13 days before it, then the last copy of each of 11 earlier months.
        for (int i = 0; i < 14; ++i) {
            attese.append(
                copie::nomeCopia(programma().PercorsoArchivio, QDate(2006, 3, 15).addDays(-i)));
        }
        for (int mese = 1; mese <= 11; ++mese) {
            const QDate fine = QDate(2006, 3, 1).addMonths(-mese + 1).addDays(-1);
            attese.append(copie::nomeCopia(programma().PercorsoArchivio, fine));
        }
        attese.sort();
        QCOMPARE(copieFatte(cassa), attese);
    }

    void aFailedOrSlowCopyIsShownAndTheProgramEnds() {
        CassaDiProva cassa;
        // The folder named in the parameters is a file: the copy cannot be made.
        const QString file = cassa.env.dir.filePath(QStringLiteral("non una cartella"));
        QFile(file).open(QIODevice::WriteOnly);
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Riferimenti standard" VALUES (?, ?))"),
                       {copie::kRiferimentoCartella, file + QStringLiteral("/copie")});
        frmVardello& finestra = cassa.apri(true);
        cassa.clic("cmdEsci");
        QVERIFY(!finestra.isVisible());
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QCOMPARE(cassa.env.ui.messages[0].title, QStringLiteral("Vardello"));
        QCOMPARE(cassa.env.ui.messages[0].icon, Interaction::Icon::Critical);
        QVERIFY2(cassa.env.ui.messages[0].text.contains(file),
                 qPrintable(cassa.env.ui.messages[0].text));

        // A copy that fails by itself is told with its reason and leaves nothing behind; one
        // taking more than a second shows the progress window meanwhile.
        cassa.env.ui.clear();
        cassa.env.exec(QStringLiteral(R"(DELETE FROM "Riferimenti standard")"));
        bool finestraVista = false;
        copiaDiSicurezzaAllUscita(
            nullptr, [&](const QString&, const QString& destinazione, QString* errore) {
                QFile(destinazione).open(QIODevice::WriteOnly);
                for (int i = 0; i < 30 && !finestraVista; ++i) {
                    QThread::msleep(100);
                    QMetaObject::invokeMethod(qApp, [&] {
                        for (QWidget* w : QApplication::topLevelWidgets()) {
                            finestraVista |= w->isVisible() && w->windowTitle() == "Vardello" &&
                                             w->findChild<QProgressBar*>();
                        }
                    });
                }
                *errore = QStringLiteral("disco pieno");
                return false;
            });
        QVERIFY(finestraVista);
        QCOMPARE(cassa.env.ui.messages.size(), 1);
        QVERIFY(cassa.env.ui.messages[0].text.endsWith(QStringLiteral("disco pieno")));
        QCOMPARE(copieFatte(cassa), QStringList());
    }
};

QTEST_MAIN(TestCopieSicurezza)
#include "tst_copie_sicurezza.moc"
