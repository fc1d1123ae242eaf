#pragma once

// Helpers of the VAT window tests: rows of the archive, and the modal lookup driven from
// inside its own event loop.

#include <QApplication>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <functional>

#include "DatiCondivisi.h"
#include "MoneyText.h"
#include "Sql.h"
#include "TestEnvironment.h"
#include "frmRicercaIva.h"

inline Money importo(const char* testo) {
    return *readItalianAmount(QString::fromLatin1(testo));
}

inline void aggiungiCodice(QSqlDatabase db, const QString& codice, const QString& descrizione,
                           Money aliquota = Money(), int art8 = 0, int esenti = 0, int altre = 0) {
    QSqlQuery q(db);
    QVERIFY2(eseguiSql(q, QStringLiteral(R"(INSERT INTO "Codici Iva" VALUES (?, ?, ?, ?, ?, ?))"),
                       {codice, descrizione, valoreSql(aliquota), art8, esenti, altre}),
             qPrintable(q.lastError().text()));
}

inline void aggiungiMovimento(QSqlDatabase db, qint64 numero, const QDate& registrazione,
                              const QDate& documento, const QVariant& codice, Money imponibile) {
    QSqlQuery q(db);
    QVERIFY2(eseguiSql(q, QStringLiteral(R"(INSERT INTO "Vardello" ("Numero Progressivo",
                           "Data Registrazione", "Codice Iva", "Imponibile Iva", "Data documento")
                           VALUES (?, ?, ?, ?, ?))"),
                       {numero, valoreSql(registrazione), codice, valoreSql(imponibile),
                        valoreSql(documento)}),
             qPrintable(q.lastError().text()));
}

// Runs `azione` on the lookup as soon as it is shown modally; its outcome is the caller's.
inline void allaRicerca(std::function<void(frmRicercaIva*)> azione) {
    QTimer::singleShot(0, [azione] {
        auto* ricerca = qobject_cast<frmRicercaIva*>(QApplication::activeModalWidget());
        QVERIFY(ricerca);
        azione(ricerca);
        if (ricerca->isVisible()) {
            ricerca->reject();  // a failed check must not leave the test waiting
        }
    });
}

// The window on screen and active, so that focus moves as a person's clicks move it.
inline void mostraAttiva(QWidget* finestra) {
    finestra->show();
    finestra->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(finestra));
}
