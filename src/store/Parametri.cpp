#include "Parametri.h"

#include <QSqlRecord>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Sql.h"

std::optional<Parametri> leggiParametri(QSqlDatabase db) {
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT * FROM "Parametri")"))) {
        const archivio::Errore e = archivio::erroreDi(q.lastError());
        throw ErroreArchivio{e.codice, e.testo};
    }
    if (!q.next()) {
        return std::nullopt;
    }
    const QSqlRecord r = q.record();
    Parametri p;
    p.GestioneIva = ValoreCampo(r, QStringLiteral("Gestione Iva"), false).toBool();
    p.CodiceIvaStandard = ValoreCampo(r, QStringLiteral("Codice Iva Standard"), QString()).toString();
    p.IvaTrimestrale = ValoreCampo(r, QStringLiteral("Iva Trimestrale"), false).toBool();
    return p;
}
