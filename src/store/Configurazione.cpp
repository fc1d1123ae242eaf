#include "Configurazione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
        services::ui().beep();
        services::ui().message(
            QStringLiteral("File d'inizializzazione '%1' non trovato").arg(percorso),
            QStringLiteral("Vardello"), Interaction::Icon::Exclamation);
        return false;
    }
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly) || file.atEnd()) {
        return false;
    }
    QString riga = QString::fromUtf8(file.readLine());
    if (riga.endsWith(QLatin1Char('\n'))) {
        riga.chop(1);
    }
    if (riga.endsWith(QLatin1Char('\r'))) {
        riga.chop(1);
    }
    programma().PercorsoArchivio = riga.mid(12);
    return true;
}

QString NomeComputer() { return services::platform().computerName(); }
