#include "CopieSicurezza.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

#include "Archivio.h"
#include "DatiCondivisi.h"
#include "Services.h"

namespace copie {

namespace {

const QString kFormatoGiorno = QStringLiteral("yyyy-MM-dd");
const QString kEstensione = QStringLiteral(".sqlite");
const QString kProvvisoria = QStringLiteral(".parziale");

// The archive's name in the copies: the file's name without its extension, or the server's
// database name.
QString nomeArchivio(const QString& archivio) {
    if (archivio::eUriPostgres(archivio)) {
        return QUrl(archivio).path().mid(1);
    }
    return QFileInfo(archivio).completeBaseName();
}

// The days of this archive's copies in the folder: only regular files named exactly as
// nomeCopia names them.
QList<QDate> giorniCopie(const QDir& cartella, const QString& archivio) {
    const QRegularExpression nome(QStringLiteral("^%1 (\\d{4}-\\d{2}-\\d{2})%2$")
                                      .arg(QRegularExpression::escape(nomeArchivio(archivio)),
                                           QRegularExpression::escape(kEstensione)));
    QList<QDate> giorni;
    for (const QFileInfo& file : cartella.entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        const QRegularExpressionMatch trovato = nome.match(file.fileName());
        const QDate giorno =
            trovato.hasMatch() ? QDate::fromString(trovato.captured(1), kFormatoGiorno) : QDate();
        if (giorno.isValid()) {
            giorni.append(giorno);
        }
    }
    return giorni;
}

bool preparaCartella(const QString& percorso, bool privata, QString* errore) {
    QDir cartella(percorso);
    if (cartella.exists()) {
        return true;
    }
    if (!QDir().mkpath(percorso)) {
        *errore = QStringLiteral("Impossibile creare la cartella delle copie '%1'.")
                      .arg(QDir::toNativeSeparators(percorso));
        return false;
    }
    if (privata) {
        QFile::setPermissions(
            percorso, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return true;
}

}  // namespace

Impostazioni leggiImpostazioni(QSqlDatabase db) {
    Impostazioni impostazioni;
    impostazioni.cartella = LeggiRiferimento(db, kRiferimentoCartella, QString()).trimmed();
    impostazioni.ancheServer =
        LeggiRiferimento(db, kRiferimentoServer, 1).trimmed() != QLatin1String("0");
    return impostazioni;
}

QString cartellaCopie(const Impostazioni& impostazioni) {
    if (!impostazioni.cartella.isEmpty()) {
        return impostazioni.cartella;
    }
    return QDir(services::platform().userDataFolder()).filePath(QStringLiteral("copie"));
}

QString nomeCopia(const QString& archivio, const QDate& giorno) {
    return nomeArchivio(archivio) + QLatin1Char(' ') + giorno.toString(kFormatoGiorno) +
           kEstensione;
}

QList<QDate> copieDaEliminare(QList<QDate> giorni, const QDate& oggi) {
    std::sort(giorni.begin(), giorni.end(), std::greater<>());
    QList<QDate> tenuti = giorni.mid(0, 14);
    const QDate primoMese = QDate(oggi.year(), oggi.month(), 1).addMonths(-11);
    for (const QDate& giorno : giorni) {  // newest first: the first of each month is its latest
        const bool ultimoDelMese =
            std::none_of(tenuti.cbegin(), tenuti.cend(), [&giorno](const QDate& t) {
                return t.year() == giorno.year() && t.month() == giorno.month();
            });
        if (giorno >= primoMese && ultimoDelMese) {
            tenuti.append(giorno);
        }
    }
    QList<QDate> eliminati;
    for (const QDate& giorno : giorni) {
        if (!tenuti.contains(giorno)) {
            eliminati.append(giorno);
        }
    }
    return eliminati;
}

Esito copiaDelGiorno(const QString& archivio, const Impostazioni& impostazioni, const QDate& oggi,
                     const Copiatore& copia, QString* errore) {
    if (archivio::eUriPostgres(archivio) && !impostazioni.ancheServer) {
        return Esito::Disattivata;
    }
    const QString percorso = cartellaCopie(impostazioni);
    if (!preparaCartella(percorso, impostazioni.cartella.isEmpty(), errore)) {
        return Esito::Fallita;
    }
    const QDir cartella(percorso);
    const QString finale = cartella.filePath(nomeCopia(archivio, oggi));
    if (QFileInfo::exists(finale)) {
        return Esito::GiaFatta;
    }
    // A provisional copy left by a copy that was cut short is this program's own.
    const QString provvisoria = finale + kProvvisoria;
    QFile::remove(provvisoria);
    if (!copia(archivio, provvisoria, errore)) {
        QFile::remove(provvisoria);
        return Esito::Fallita;
    }
    if (!QFile::rename(provvisoria, finale)) {
        *errore = QStringLiteral("Impossibile dare il nome '%1' alla copia.")
                      .arg(QDir::toNativeSeparators(finale));
        QFile::remove(provvisoria);
        return Esito::Fallita;
    }
    QFile::setPermissions(finale, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const QDate& giorno : copieDaEliminare(giorniCopie(cartella, archivio), oggi)) {
        if (!QFile::remove(cartella.filePath(nomeCopia(archivio, giorno)))) {
            *errore =
                QStringLiteral(
                    "La copia di oggi è stata fatta, ma non è stato possibile "
                    "eliminare la copia vecchia '%1'.")
                    .arg(QDir::toNativeSeparators(cartella.filePath(nomeCopia(archivio, giorno))));
            return Esito::Fallita;
        }
    }
    return Esito::Fatta;
}

}  // namespace copie
