#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class QPainter;
class QWidget;

// The free "tag" text of a window or control, kept as the dynamic property "Tag".
// A record window's tag is "DATI" in data-entry state and empty in key-entry state; each
// control's tag holds its enabled state recorded at load ("True"/"False").
QString tag(const QWidget* widget);
void setTag(QWidget* widget, const QString& value);

// A window with a record that the save prompt can check and store.
class FinestraRecord {
  public:
    virtual ~FinestraRecord() = default;
    virtual bool verifica_campi_necessari() = 0;
    virtual bool Salva_Record() = 0;
};

void RegistraStatoControlli(QWidget* finestra);
void SbloccaMaschera(const QString& nome1, const QString& nome2, QWidget* finestra);
// Heights in twips (15 twips are one pixel).
void ImpostaControlli(QWidget* finestra, int altezzaTwips, std::optional<int> decimali = {});

void FiltroCifre(int& keyAscii);  // digits and Backspace pass; others beep and become 0
bool ContieneNonCifre(const QString& testo);
QString AllineaDestra(QString& testo, int larghezza);    // trims testo; right-aligned result
QString AllineaSinistra(QString& testo, int larghezza);  // trims testo; left-aligned result

// Asks "Vuoi mantenere le modifiche?" when there are changes; false keeps the caller where
// it is.
bool ChiediSalvataggio(bool modificati, FinestraRecord& finestra);

void DisabilitaCampo(QWidget* controllo);
void AbilitaCampo(QWidget* controllo);
void AttivaCampo(QWidget* controllo);
void AbilitaControllo(QWidget* controllo);
void DisabilitaControllo(QWidget* controllo, bool svuota = false);

// Prepares a page for printing, before the first line and after every new page: units in
// millimetres from the page's top-left corner (0,0), transparent text background, the font
// "Courier New" 10 pt. A point size means the printer's own points: text keeps its metrics
// when drawn without the millimetre scale (at deviceTransform().map(position)).
void PreparaStampante(QPainter& pagina);
void ImpostaSfondoTesto(QPainter& pagina, bool trasparente);
