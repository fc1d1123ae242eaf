#include "clsRicerca.h"

#include "frmRicercaIva.h"

QString clsRicerca::F4CodIva(const QString& testoIniziale, const QString& percorsoArchivio,
                             const QString& tipoArchivio, QWidget* parent) {
    frmRicercaIva ricerca(parent);
    ricerca.setStringaIniziale(testoIniziale);
    ricerca.setNomeDB(percorsoArchivio);
    ricerca.setTipoArchivio(tipoArchivio);
    ricerca.exec();
    return ricerca.StringaFinale();
}
