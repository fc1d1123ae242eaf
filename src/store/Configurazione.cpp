#include "Configurazione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "Programma.h"
#include "Services.h"

namespace {
QString nelFolder(const QString& folder, const QString& nomeFile) {
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + nomeFile);
}
}  // namespace

bool presente(const QString& percorso) {
    const QFileInfo info(percorso);
    return info.exists() || info.isSymLink();
}

QString percorsoFileIni() {
    const QString nome = QStringLiteral("vardello.ini");
    const QString delProgramma = nelFolder(services::platform().programFolder(), nome);
    const QString dellUtente = nelFolder(services::platform().userConfigFolder(), nome);
    if (!presente(delProgramma) && presente(dellUtente)) {
        return dellUtente;
    }
    return delProgramma;
}

QString percorsoArchivioPredefinito() {
    const Platform& piattaforma = services::platform();
    const QString nelProgramma =
        nelFolder(piattaforma.programFolder(), QStringLiteral("VARDELLO.MDB"));
    // An archive already in the program's folder is the one in use, writable folder or not.
    if (piattaforma.programFolderWritable() || presente(nelProgramma)) {
        return nelProgramma;
    }
    return nelFolder(piattaforma.userDataFolder(), QStringLiteral("VARDELLO.MDB"));
}

QString motivoIlleggibile(const QString& percorso) {
    const QFileInfo info(percorso);
    if (info.isSymLink() && !info.exists()) {
        return QStringLiteral(
                   "è un collegamento a '%1', che non si trova (una cartella di rete "
                   "non collegata?)")
            .arg(info.symLinkTarget());
    }
    if (info.isDir()) {
        return QStringLiteral("è una cartella, non un file");
    }
    QFile file(percorso);
    if (file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.errorString();
}

bool LeggiFileIni(const QString& percorso) {
    if (!QFileInfo(percorso).isFile()) {
        services::ui().message(
            QStringLiteral("File d'inizializzazione '%1' non trovato").arg(percorso),
            QStringLiteral("Vardello"), Interaction::Icon::Exclamation);
        return false;
    }
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly) || file.atEnd()) {
        return false;
    }
    // The first line ends at LF, CR-LF or a lone CR, whichever comes first.
    QString riga = QString::fromUtf8(file.readLine());
    const qsizetype fine = riga.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (fine >= 0) {
        riga.truncate(fine);
    }
    programma().PercorsoArchivio = riga.mid(12);
    return true;
}

QString NomeComputer() {
    return services::platform().computerName();
}
