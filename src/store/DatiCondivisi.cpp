#include "DatiCondivisi.h"

#include <QFile>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

#include "Archivio.h"
#include "ItalianDate.h"
#include "NumberPattern.h"
#include "Schema.h"
#include "Services.h"
#include "Sql.h"

using schema::TipoCampo;

namespace {}  // namespace

QVariant valoreSql(Money importo) {
    return QVariant(static_cast<qlonglong>(importo.units()));
}

QVariant valoreSql(const QDate& data) {
    return data.isValid() ? QVariant(data) : QVariant(QMetaType::fromType<QDate>());
}

qint64 interoDaSql(const QVariant& valore) {
    // The PostgreSQL driver gives a BIGINT that is not negative as unsigned, which
    // toLongLong() reaches only through the generic conversion (read for every amount).
    switch (valore.typeId()) {
        case QMetaType::LongLong:
            return valore.value<qlonglong>();
        case QMetaType::ULongLong:
            return static_cast<qint64>(valore.value<qulonglong>());
        default:
            return valore.toLongLong();
    }
}

Money valutaDaSql(const QVariant& valore) {
    return valore.isNull() ? Money() : Money::fromUnits(interoDaSql(valore));
}

QStringView testoDaSql(QVariant& valore) {
    // Reading the text in place spares a copy of it and two changes of its count of users
    // for each text of each row a month loads.
    if (valore.typeId() != QMetaType::QString) {
        valore = valore.toString();
    }
    return *static_cast<const QString*>(valore.constData());
}

QDate dataDaSql(const QVariant& valore) {
    if (valore.isNull()) {
        return {};
    }
    if (valore.typeId() == QMetaType::QDate || valore.typeId() == QMetaType::QDateTime) {
        return valore.toDate();
    }
    return QDate::fromString(valore.toString().left(10), Qt::ISODate);
}

QVariant ValoreCampo(const QSqlRecord& record, const QString& campo, const QVariant& predefinito) {
    const QVariant valore = record.value(campo);
    if (valore.isNull()) {
        return predefinito;
    }
    switch (schema::tipoCampo(campo)) {
        case TipoCampo::Valuta:
            return QVariant::fromValue(valutaDaSql(valore));
        case TipoCampo::Data:
            return dataDaSql(valore);
        case TipoCampo::Intero:
            return valore.toLongLong();
        case TipoCampo::Booleano:
            return valore.toBool();
        case TipoCampo::Testo:
            break;
    }
    return valore.toString();
}

QString TestoCampo(const QVariant& valore, schema::TipoCampo tipo, const QString& predefinito) {
    if (valore.isNull()) {
        return predefinito;
    }
    switch (tipo) {
        case TipoCampo::Valuta:
            return formatNumber(valutaDaSql(valore), QStringLiteral("###,###,###,##0.00"));
        case TipoCampo::Data:
            return formatItalianDate(dataDaSql(valore));
        case TipoCampo::Intero:
            return formatNumber(static_cast<qint64>(valore.toLongLong()),
                                QStringLiteral("###,###,###,##0"));
        case TipoCampo::Booleano:
            return valore.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case TipoCampo::Testo:
            break;
    }
    return valore.toString();
}

QString LeggiCampo(const QSqlRecord& record, const QString& campo, const QString& predefinito) {
    return TestoCampo(record.value(campo), schema::tipoCampo(campo), predefinito);
}

QString LeggiRiferimento(QSqlDatabase db, const QString& nome, const QVariant& predefinito) {
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT "Valore riferimento" FROM "Riferimenti standard"
                                     WHERE "Nome riferimento" = ?)"),
                   {nome.trimmed()})) {
        lanciaErrore(q.lastError());
    }
    if (!q.next()) {
        return predefinito.isValid() ? predefinito.toString() : QString();
    }
    return ValoreCampo(q.record(), QStringLiteral("Valore riferimento"), QString()).toString();
}

bool ScriviRiferimento(QSqlDatabase db, const QString& nome, const QVariant& valore) {
    QSqlQuery q(db);
    bool ok = eseguiSql(q, QStringLiteral(R"(UPDATE "Riferimenti standard"
                                          SET "Nome riferimento" = ?, "Valore riferimento" = ?
                                          WHERE "Nome riferimento" = ?)"),
                        {nome, valore.toString(), nome.trimmed()});
    // A name stored meanwhile by another computer (both saw none) is updated, not refused.
    if (ok && q.numRowsAffected() == 0) {
        ok = eseguiSql(q, QStringLiteral(R"(INSERT INTO "Riferimenti standard"
                                         ("Nome riferimento", "Valore riferimento") VALUES (?, ?)
                                         ON CONFLICT ("Nome riferimento") DO UPDATE
                                         SET "Valore riferimento" = excluded."Valore riferimento")"),
                       {nome, valore.toString()});
    }
    if (!ok) {
        const archivio::Errore e = archivio::erroreDi(q.lastError());
        services::ui().message(
            QStringLiteral("Errore non gestito. Codice: %1\n%2").arg(e.codice, e.testo),
            QStringLiteral("Errore"), Interaction::Icon::Exclamation);
        return false;
    }
    q.finish();
    LiberaBlocchi(db);
    return true;
}

Money SaldoAllaData(QSqlDatabase db, const QDate& data) {
    QSqlQuery q(db);
    if (!eseguiSql(q, QStringLiteral(R"(SELECT SUM(COALESCE("Entrate", 0) - COALESCE("Uscite", 0))
                                     AS "Saldo" FROM "Vardello" WHERE "Data Registrazione" < ?)"),
                   {valoreSql(data)})) {
        lanciaErrore(q.lastError());
    }
    if (!q.next()) {
        return {};
    }
    return valutaDaSql(q.value(0));
}

void LiberaBlocchi(QSqlDatabase) {
    // Every routine finishes its statements before it returns and writes run in autocommit,
    // so at this point the engine holds no lock and another copy sees the change at once.
    // The call stays at each write as the one place to release locks, should an engine
    // ever need it.
}

bool FileEsiste(const QString& percorso) {
    QFile file(percorso);
    const bool leggibile = file.open(QIODevice::ReadOnly);
    file.close();
    return leggibile;
}
