#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>

#include "CassaDiProva.h"
#include "ComandoEsporta.h"
#include "EsportaCassa.h"
#include "LeggiFoglio.h"
#include "SituazioneIva.h"

// The accountant's export: the files read back by real readers against the archive.
class TestEsporta : public QObject {
    Q_OBJECT
  private:
    struct Atteso {
        qint64 numero;
        QDate data;
        QString operazione;
        QVariant entrate, uscite;  // ten-thousandths, or null
    };

    static QStringList hostili() {
        return {QStringLiteral("=1+1"),
                QStringLiteral("+39 333 1234567"),
                QStringLiteral("-acconto"),
                QStringLiteral("@SUM(A1:A9)"),
                QStringLiteral("Caffè \"doppio\"; con panna"),
                QStringLiteral("riga uno\nriga due"),
                QStringLiteral("Perché € 5 \U0001F642"),
                QStringLiteral("Spesa")};
    }

    // February's balance of 1.000,00 carried forward, then 40 March movements whose numbers
    // run against their dates, and one in April outside the range.
    static QList<Atteso> preparaLibro(CassaDiProva& cassa, bool gestioneIva) {
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Codici Iva" VALUES ('022', 'Ordinaria 22%',
                                          220000, 0, 0, 0))"));
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" VALUES (?, '022', ?))"),
                       {gestioneIva, false});
        cassa.movimento(1, QDate(2005, 2, 10), cassa.euro("1000"), QVariant(), "prima");
        cassa.movimento(2, QDate(2005, 4, 1), cassa.euro("5"), QVariant(), "dopo");
        for (int i = 0; i < 40; ++i) {
            const qint64 numero = 100 - i;
            const QDate data(2005, 3, 1 + i * 30 / 40);
            const QVariant entrate =
                i % 3 == 2 ? QVariant() : QVariant(qint64(i * 7919 % 99991) * 100 + 700);
            const QVariant uscite = i % 3 == 2 ? QVariant(qint64(i) * 33300 + 100) : QVariant();
            cassa.movimento(numero, data, entrate, uscite, hostili().at(i % hostili().size()));
            if (i % 4 == 0) {
                cassa.env.exec(QStringLiteral(R"(UPDATE "Vardello" SET "Codice Iva" = '022',
                                   "Imponibile Iva" = ?, "Data documento" = ?
                                   WHERE "Numero Progressivo" = ?)"),
                               {entrate.isNull() ? QVariant(-uscite.toLongLong()) : entrate,
                                valoreSql(data), numero});
            }
        }
        QList<Atteso> attesi;
        QSqlQuery q(DbArchivio());
        q.exec(QStringLiteral(R"(SELECT "Numero Progressivo", "Data Registrazione", "Operazione",
                  "Entrate", "Uscite" FROM "Vardello" WHERE "Data Registrazione" >= '2005-03-01'
                  AND "Data Registrazione" <= '2005-03-31'
                  ORDER BY "Data Registrazione", "Numero Progressivo")"));
        while (q.next()) {
            attesi.append({q.value(0).toLongLong(), dataDaSql(q.value(1)), q.value(2).toString(),
                           q.value(3), q.value(4)});
        }
        return attesi;
    }

    static qint64 somma(CassaDiProva& cassa, const char* campo) {
        return cassa.env
            .scalar(QStringLiteral(R"(SELECT SUM("%1") FROM "Vardello" WHERE "Data Registrazione"
                                      BETWEEN '2005-03-01' AND '2005-03-31')")
                        .arg(QLatin1String(campo)))
            .toLongLong();
    }

    static QVariant valore(const QJsonValue& cella) {
        if (cella.isNull()) {
            return {};
        }
        const QJsonArray c = cella.toArray();
        return c[0].toString() == QLatin1String("n") ? QVariant(qint64(c[1].toDouble()))
                                                     : c[1].toVariant();
    }

    static QStringList testi(const QJsonArray& riga) {
        QStringList t;
        for (const QJsonValue& cella : riga) {
            t.append(cella.isArray() ? valore(cella).toString() : cella.toString());
        }
        return t;
    }

    static QVariant units(const QVariant& v) {
        return v.isNull() ? QVariant() : QVariant(v.toLongLong());
    }

    // An amount of the CSV back to ten-thousandths, or null when the field is empty.
    static QVariant daCsv(QString testo) {
        if (testo.isEmpty()) {
            return {};
        }
        if (!QRegularExpression(QStringLiteral("^-?\\d+,\\d\\d\\d{0,2}$"))
                 .match(testo)
                 .hasMatch()) {
            qFatal("not a CSV amount: %s", qPrintable(testo));
        }
        const QString intero = testo.section(QLatin1Char(','), 0, 0);
        const bool negativo = intero.startsWith(QLatin1Char('-'));
        const qint64 unita =
            intero.mid(negativo ? 1 : 0).toLongLong() * 10000 +
            testo.section(QLatin1Char(','), 1).leftJustified(4, QLatin1Char('0')).toLongLong();
        return negativo ? -unita : unita;
    }

  private slots:
    void theFilesHoldTheBookAsStored() {
        CassaDiProva cassa;
        const QList<Atteso> attesi = preparaLibro(cassa, true);
        const QString xlsx = cassa.env.dir.filePath(QStringLiteral("Cassa 2005-03.xlsx"));
        const QString csv = cassa.env.dir.filePath(QStringLiteral("Cassa 2005-03.csv"));
        QString errore;
        for (const QString& file : {xlsx, csv}) {
            QVERIFY2(
                esportaCassa(DbArchivio(), QDate(2005, 3, 1), QDate(2005, 3, 31), file, &errore),
                qPrintable(errore));
        }
        const QStringList intestazione = {
            "Numero",   "Data registrazione", "Operazione",  "Entrate",
            "Uscite",   "Saldo progressivo",  "Codice IVA",  "Descrizione IVA",
            "Aliquota", "Imponibile + IVA",   "Imposta IVA", "Data com. IVA",
            "Utente",   "Data ins.",          "Ora ins."};

        // The workbook: real dates and numbers, texts never formulas, totals that add up.
        const QJsonObject libro = leggiFoglio(cassa.env.dir.path(), xlsx);
        QCOMPARE(libro["sheets"].toArray().toVariantList(),
                 QVariantList({"Prima nota", "Situazione IVA"}));
        const QJsonObject nota = libro["Prima nota"].toObject();
        const QJsonArray righe = nota["rows"].toArray();
        QCOMPARE(nota["freeze"].toString(), QStringLiteral("A2"));
        QVERIFY(nota["boldHeader"].toBool());
        QCOMPARE(testi(righe[0].toArray()), intestazione);
        QCOMPARE(righe.size(), attesi.size() + 3);
        QCOMPARE(valore(righe[1][2]).toString(), QStringLiteral("Riporto saldo"));
        QCOMPARE(valore(righe[1][5]), QVariant(qint64(10000000)));
        qint64 saldo = 10000000, entrate = 0, uscite = 0;
        for (int i = 0; i < attesi.size(); ++i) {
            const QJsonArray riga = righe[i + 2].toArray();
            const Atteso& a = attesi[i];
            QCOMPARE(valore(riga[0]), QVariant(a.numero * 10000));  // numbers come as 1/10000
            QCOMPARE(riga[1][0].toString(), QStringLiteral("d"));
            QCOMPARE(valore(riga[1]).toString(), a.data.toString(Qt::ISODate));
            QCOMPARE(riga[2][0].toString(), QStringLiteral("s"));
            QCOMPARE(valore(riga[2]).toString(), a.operazione);
            QCOMPARE(valore(riga[3]), units(a.entrate));
            QCOMPARE(valore(riga[4]), units(a.uscite));
            saldo += a.entrate.toLongLong() - a.uscite.toLongLong();
            QCOMPARE(valore(riga[5]), QVariant(saldo));
            QVERIFY(nota["formulas"][i + 2][2].isNull());
            entrate += valore(riga[3]).toLongLong();
            uscite += valore(riga[4]).toLongLong();
        }
        QCOMPARE(entrate, somma(cassa, "Entrate"));
        QCOMPARE(uscite, somma(cassa, "Uscite"));
        const QJsonArray totali = righe.last().toArray();
        QCOMPARE(valore(totali[3]), QVariant(entrate));
        QCOMPARE(valore(totali[4]), QVariant(uscite));
        QCOMPARE(valore(totali[5]), QVariant(saldo));
        QCOMPARE(nota["formulas"].toArray().last()[3].toString(),
                 QStringLiteral("=SUM(D2:D%1)").arg(righe.size() - 1));
        const QJsonArray formatiRiga = nota["formats"][2].toArray();
        QCOMPARE(formatiRiga[1].toString(), QStringLiteral("dd/mm/yyyy"));
        QCOMPARE(formatiRiga[3].toString(), QStringLiteral("#,##0.00"));
        QVERIFY(nota["widths"][2].toDouble() > nota["widths"][0].toDouble());

        // The VAT columns of the first movement with a code, and the VAT situation's figures.
        const int primoConIva = int(std::find_if(attesi.begin(), attesi.end(),
                                                 [](const Atteso& a) { return a.numero == 100; }) -
                                    attesi.begin());
        const QJsonArray conIva = righe[primoConIva + 2].toArray();
        QCOMPARE(valore(conIva[6]).toString(), QStringLiteral("022"));
        QCOMPARE(valore(conIva[7]).toString(), QStringLiteral("Ordinaria 22%"));
        QCOMPARE(valore(conIva[8]), QVariant(qint64(220000)));
        const Money imposta = ImpostaMovimento(
            Money::fromUnits(attesi[primoConIva].entrate.toLongLong()), Money::fromWhole(22));
        QCOMPARE(valore(conIva[10]), QVariant(imposta.units()));
        const SituazioneIva situazione = CalcolaSituazioneIva(DbArchivio(), 2005);
        const QJsonArray iva = libro["Situazione IVA"]["rows"].toArray();
        QCOMPARE(iva.size(), 1 + 13);
        QCOMPARE(valore(iva[3][1]).toString(), QStringLiteral("Marzo"));
        QCOMPARE(valore(iva[3][2]), QVariant(situazione.credito[2]->units()));
        QCOMPARE(valore(iva[3][3]), QVariant(situazione.debito[2]->units()));
        QCOMPARE(valore(iva[13][4]), QVariant(situazione.saldoFinale().units()));

        // The CSV: the same columns and rows; formula-like texts behind an apostrophe.
        const QJsonObject testo = leggiFoglio(cassa.env.dir.path(), csv);
        QVERIFY(testo["bom"].toBool());
        const QJsonArray campi = testo["rows"].toArray();
        QCOMPARE(campi.size(), righe.size());
        QCOMPARE(testi(campi[0].toArray()), intestazione);
        QCOMPARE(campi[1][5].toString(), QStringLiteral("1000,00"));
        for (int i = 0; i < attesi.size(); ++i) {
            const QJsonArray riga = campi[i + 2].toArray();
            const QString& operazione = attesi[i].operazione;
            const bool formula = QStringLiteral("=+-@").contains(operazione.front());
            QCOMPARE(riga[0].toString(), QString::number(attesi[i].numero));
            QCOMPARE(riga[1].toString(), attesi[i].data.toString(QStringLiteral("dd/MM/yyyy")));
            QCOMPARE(riga[2].toString(), formula ? QLatin1Char('\'') + operazione : operazione);
            QCOMPARE(daCsv(riga[3].toString()), units(attesi[i].entrate));
            QCOMPARE(daCsv(riga[4].toString()), units(attesi[i].uscite));
            QCOMPARE(daCsv(riga[5].toString()), valore(righe[i + 2][5]));
        }
        QCOMPARE(daCsv(campi.last()[3].toString()), QVariant(entrate));
    }

    void emptyRangesRefusedFilesAndTheCommandLine() {
        CassaDiProva cassa;
        preparaLibro(cassa, false);
        QString errore;

        // No movement in the range: the header, the carried-forward balance and the totals;
        // without VAT management no VAT column and no VAT sheet.
        const QString vuoto = cassa.env.dir.filePath(QStringLiteral("vuoto.xlsx"));
        QVERIFY2(esportaCassa(DbArchivio(), QDate(2005, 1, 1), QDate(2005, 1, 31), vuoto, &errore),
                 qPrintable(errore));
        const QJsonObject libro = leggiFoglio(cassa.env.dir.path(), vuoto);
        QCOMPARE(libro["sheets"].toArray().size(), 1);
        const QJsonArray righe = libro["Prima nota"]["rows"].toArray();
        QCOMPARE(righe.size(), 3);
        QCOMPARE(righe[0].toArray().size(), 9);
        QCOMPARE(valore(righe[1][2]).toString(), QStringLiteral("Riporto saldo"));
        QCOMPARE(valore(righe[1][5]), QVariant(qint64(0)));
        QCOMPARE(valore(righe[2][3]), QVariant(qint64(0)));

        // A folder that does not exist: refused with the reason, nothing written.
        const QString altrove = cassa.env.dir.filePath(QStringLiteral("manca/Cassa.csv"));
        QVERIFY(
            !esportaCassa(DbArchivio(), QDate(2005, 3, 1), QDate(2005, 3, 31), altrove, &errore));
        QVERIFY2(errore.contains(QDir::toNativeSeparators(altrove)), qPrintable(errore));
        QVERIFY(!QFileInfo::exists(altrove));

        // A failure after the file was opened leaves the older file of that name untouched
        // and no half-written file beside it.
        const QString vecchio = cassa.env.dir.filePath(QStringLiteral("uscite/Cassa.xlsx"));
        QDir().mkpath(QFileInfo(vecchio).path());
        {
            QFile f(vecchio);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("vecchio");
        }
        cassa.env.exec(QStringLiteral(R"(ALTER TABLE "Vardello" RENAME TO "Altro")"));
        QVERIFY(
            !esportaCassa(DbArchivio(), QDate(2005, 3, 1), QDate(2005, 3, 31), vecchio, &errore));
        QVERIFY2(errore.contains(QStringLiteral("Codice errore = ")), qPrintable(errore));
        QFile f(vecchio);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("vecchio"));
        QCOMPARE(QDir(QFileInfo(vecchio).path()).entryList(QDir::Files).size(), 1);
        cassa.env.exec(QStringLiteral(R"(ALTER TABLE "Altro" RENAME TO "Vardello")"));

        // vardello --esporta ARCHIVIO DA A FILE, the format from the extension.
        const QString archivio = programma().PercorsoArchivio;
        const QString daComando = cassa.env.dir.filePath(QStringLiteral("comando.csv"));
        QCOMPARE(eseguiComandoEsporta(
                     {"vardello", "--esporta", archivio, "01/03/2005", "31/03/2005", daComando}),
                 0);
        QCOMPARE(leggiFoglio(cassa.env.dir.path(), daComando)["rows"].toArray().size(), 40 + 3);
        QCOMPARE(eseguiComandoEsporta(
                     {"vardello", "--esporta", archivio, "31/02/2005", "31/03/2005", daComando}),
                 2);
        QCOMPARE(eseguiComandoEsporta({"vardello", "--esporta", archivio, "01/03/2005",
                                       "31/03/2005", cassa.env.dir.filePath("Cassa.ods")}),
                 1);
    }

    void theWindowProposesTheMonthShownAndWritesTheFileChosen() {
        CassaDiProva cassa;
        preparaLibro(cassa, true);
        cassa.apri(true);
        cassa.mostraMese(2005, 3);

        // The new button fits the row, with and without VAT management.
        const QList<const char*> fila = {"cmdEsci", "cmdStampa", "cmdServizi", "cmdCodiciIva",
                                         "cmdInfo", "cmdUtenti", "cmdCopia",   "cmdSituazioneIva"};
        auto* esporta = cassa.c<QPushButton>("cmdEsporta");
        QCOMPARE(esporta->toolTip(), QStringLiteral("Esporta per il commercialista"));
        for (bool iva : {true, false}) {
            cassa.env.exec(QStringLiteral(R"(UPDATE "Parametri" SET "Gestione Iva" = ?)"), {iva});
            cassa.finestra->Carica_parametri_predefiniti();
            cassa.finestra->ImpostaGestioni();
            for (const char* nome : fila) {
                auto* altro = cassa.c<QPushButton>(nome);
                QVERIFY2(!altro->isVisible() || !altro->geometry().intersects(esporta->geometry()),
                         nome);
            }
            QVERIFY(esporta->isVisible());
        }

        const QString scelto = cassa.env.dir.filePath(QStringLiteral("per il commercialista"));
        cassa.env.ui.saveAnswers.enqueue(scelto);
        QString da, a;
        CassaDiProva::nellaFinestraModale([&](QWidget* finestra) {
            auto* campoDa = finestra->findChild<QLineEdit*>("txtDaData");
            a = finestra->findChild<QLineEdit*>("txtAData")->displayText();
            // Digits typed on entering a field replace the proposed date, on opening and
            // after Tab and Shift+Tab.
            QVERIFY(QTest::qWaitForWindowActive(finestra));
            QTRY_COMPARE(QApplication::focusWidget(), campoDa);
            QTest::keyClicks(campoDa, QStringLiteral("020305"));
            QTest::keyClick(campoDa, Qt::Key_Tab);
            QCOMPARE(campoDa->displayText(), QStringLiteral("02/03/2005"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QTest::keyClicks(campoDa, QStringLiteral("01032005"));
            da = campoDa->displayText();
            finestra->findChild<QRadioButton*>("optCsv")->setChecked(true);
            QTest::mouseClick(finestra->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
        });
        cassa.clic("cmdEsporta");
        QCOMPARE(da, QStringLiteral("01/03/2005"));
        QCOMPARE(a, QStringLiteral("31/03/2005"));
        QCOMPARE(cassa.env.ui.saveDialogs.size(), 1);
        QVERIFY2(cassa.env.ui.saveDialogs[0].contains(QStringLiteral("/Cassa 2005-03.csv|")),
                 qPrintable(cassa.env.ui.saveDialogs[0]));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(leggiFoglio(cassa.env.dir.path(), scelto + QStringLiteral(".csv"))["rows"]
                     .toArray()
                     .size(),
                 40 + 3);
        QCOMPARE(cassa.env.ui.messages.last().icon, Interaction::Icon::Information);
    }
};

QTEST_MAIN(TestEsporta)
#include "tst_esporta.moc"
