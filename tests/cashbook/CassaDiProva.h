#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

#include "DatiCondivisi.h"
#include "MoneyText.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "TestEnvironment.h"
#include "ValutaBox.h"
#include "frmVardello.h"

// A test's own archive and the main window on it, started as after a log-in of "Mario".
struct CassaDiProva {
    CassaDiProva() {
        env.openNewArchive();
        programma().UtenteCorrente = QStringLiteral("Mario");
    }

    // The window after its start-up; shown and active when the test drives focus and keys.
    frmVardello& apri(bool mostra = false) {
        finestra = std::make_unique<frmVardello>();
        finestra->Prepara();
        if (mostra) {
            finestra->show();
            finestra->activateWindow();
            if (!QTest::qWaitForWindowActive(finestra.get())) {
                qFatal("the main window does not become active");
            }
        }
        return *finestra;
    }

    // An amount in Italian notation, as the archive stores it.
    static QVariant euro(const char* testo) {
        return valoreSql(readItalianAmount(QString::fromUtf8(testo)).value());
    }

    void movimento(qint64 numero, QDate data, const QVariant& entrate, const QVariant& uscite,
                   const QString& operazione = QStringLiteral("Operazione")) {
        env.exec(QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                 "Data Registrazione", "Operazione", "Entrate", "Uscite", "Utente", "DataIns",
                 "OraIns") VALUES (?, ?, ?, ?, ?, ?, ?, ?))"),
                 {numero, valoreSql(data), operazione, entrate, uscite, QStringLiteral("Anna"),
                  QStringLiteral("01/02/2005"), QStringLiteral("09:15")});
    }

    void totaliRegistrati(int anno, int mese, const char* entrate, const char* uscite) {
        env.exec(QStringLiteral(R"(INSERT INTO "Totali di Cassa" VALUES (?, ?, ?, ?))"),
                 {anno, mese, euro(entrate), euro(uscite)});
    }

    // The stored totals of a month as "entrate/uscite", or "-" when no row is stored.
    QString totaliDelMese(int anno, int mese) {
        const int righe = env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Totali di Cassa"
                                        WHERE "Anno" = ? AND "mese" = ?)"),
                                     {anno, mese})
                              .toInt();
        if (righe == 0) {
            return QStringLiteral("-");
        }
        const auto importo = [&](const char* campo) {
            return formatNumber(
                valutaDaSql(env.scalar(QStringLiteral(R"(SELECT "%1" FROM "Totali di Cassa"
                                                      WHERE "Anno" = ? AND "mese" = ?)")
                                           .arg(QLatin1String(campo)),
                                       {anno, mese})),
                QStringLiteral("##0.00"));
        };
        return importo("Totale Entrate") + QLatin1Char('/') + importo("Totale Uscite");
    }

    int movimentiInArchivio() {
        return env.scalar(QStringLiteral(R"(SELECT count(*) FROM "Vardello")")).toInt();
    }

    template <class T>
    T* c(const char* nome) const {
        T* controllo = finestra->findChild<T*>(QString::fromLatin1(nome));
        if (!controllo) {
            qFatal("no control %s", nome);
        }
        return controllo;
    }
    QTableView* griglia() const { return c<QTableView>("grdGesca"); }
    QAbstractItemModel* righe() const { return griglia()->model(); }
    QString cella(int riga, int colonna) const {
        return righe()->index(riga, colonna).data().toString();
    }
    QString trimmed(int riga, int colonna) const { return cella(riga, colonna).trimmed(); }
    QString box(const char* nome) const { return c<QLineEdit>(nome)->text(); }
    void clic(const char* nome) { QTest::mouseClick(c<QPushButton>(nome), Qt::LeftButton); }

    // The row pick: a double click on the row.
    void scegliRiga(int riga) {
        QTableView* g = griglia();
        const QRect zona = g->visualRect(g->model()->index(riga, 1));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, zona.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, zona.center());
    }
    void selezionaRighe(int prima, int ultima) {
        QTableView* g = griglia();
        g->selectionModel()->select(
            QItemSelection(g->model()->index(prima, 0), g->model()->index(ultima, 7)),
            QItemSelectionModel::ClearAndSelect);
    }
    void mostraMese(int anno, int mese) {
        c<QComboBox>("cmbAnno")->setCurrentText(QString::number(anno));
        c<QTabBar>("tabMesi")->setCurrentIndex(mese - 1);
    }

    // Fills the edit area as the person would leave it.
    void scrivi(const QString& data, const QString& operazione, const QString& entrate,
                const QString& uscite = {}) {
        c<QLineEdit>("txtDataRegistrazione")->setText(data);
        c<QComboBox>("cmbOperazione")->setEditText(operazione);
        c<ValutaBox>("txtEntrate")->setText(entrate);
        c<ValutaBox>("txtUscite")->setText(uscite);
    }

    // From now on every write of that kind ("INSERT", "UPDATE", "DELETE") on the book fails.
    void rifiutaScritture(const char* tipo) {
        const QString istruzione = QLatin1String(tipo);
        if (TestEnvironment::onPostgres()) {
            env.exec(QStringLiteral(R"(CREATE FUNCTION "rifiuta"() RETURNS trigger AS
                                       'BEGIN RAISE EXCEPTION ''rifiutato''; END'
                                       LANGUAGE plpgsql)"));
            env.exec(QStringLiteral(R"(CREATE TRIGGER "rifiuta" BEFORE %1 ON "Vardello"
                                       FOR EACH ROW EXECUTE FUNCTION "rifiuta"())")
                         .arg(istruzione));
        } else {
            env.exec(QStringLiteral(R"(CREATE TRIGGER "rifiuta" BEFORE %1 ON "Vardello"
                                       BEGIN SELECT RAISE(ABORT, 'rifiutato'); END)")
                         .arg(istruzione));
        }
    }

    // Runs `azione` on the modal window that the next command opens (it must close it).
    template <class Azione>
    static void nellaFinestraModale(Azione azione) {
        QTimer::singleShot(0, [azione] {
            QWidget* finestra = QApplication::activeModalWidget();
            if (!finestra) {
                qFatal("no modal window is open");
            }
            azione(finestra);
        });
    }

    QWidget* fuoco() const { return QApplication::focusWidget(); }
    // A key pressed where the focus is, as the person presses it.
    void tasto(int tasto, Qt::KeyboardModifiers modificatori = Qt::NoModifier) {
        QTest::keyClick(fuoco(), static_cast<Qt::Key>(tasto), modificatori);
    }
    // Tab until a button has the focus (at most 20 presses); that button, or null.
    QPushButton* tabFinoAlPulsante() {
        for (int i = 0; i < 20; ++i) {
            tasto(Qt::Key_Tab);
            if (auto* pulsante = qobject_cast<QPushButton*>(fuoco())) {
                return pulsante;
            }
        }
        return nullptr;
    }
    bool messaggio(const QString& testo) const {
        return !env.ui.messages.isEmpty() && env.ui.messages.last().text == testo;
    }

    TestEnvironment env;
    std::unique_ptr<frmVardello> finestra;
};
