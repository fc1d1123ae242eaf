#pragma once

#include <QString>

class QWidget;

// The VAT code lookup: shows the modal list of VAT codes (frmRicercaIva) and returns the code
// chosen, or an empty text when the person cancelled. The lookup opens its own connection to
// the archive named by percorsoArchivio (the archive in use: PercorsoArchivio).
class clsRicerca {
  public:
    QString F4CodIva(const QString& testoIniziale, const QString& percorsoArchivio,
                     const QString& tipoArchivio, QWidget* parent = nullptr);
};
