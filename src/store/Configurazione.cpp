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

QString percorsoFileIni() {
    const QString nome = QStringLiteral("vardello.ini");
    const QString delProgramma = nelFolder(services::platform().programFolder(), nome);
    const QString dellUtente = nelFolder(services::platform().userConfigFolder(), nome);
    if (!QFileInfo::exists(delProgramma) && QFileInfo::exists(dellUtente)) {
        return dellUtente;
    }
    return delProgramma;
}

QString percorsoArchivioPredefinito() {
    const Platform& piattaforma = services::platform();
    return nelFolder(piattaforma.programFolderWritable() ? piattaforma.programFolder()
                                                         : piattaforma.userDataFolder(),
                     QStringLiteral("VARDELLO.MDB"));
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

QString NomeComputer() { return services::platform().computerName(); }
