#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class QPainter;
class QLineEdit;
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

// The window routines walk every control of the window, nested ones included, but not the
// parts of a control (the line edit of a combo box or of a ValutaBox). Kinds: list box
// QListView/QListWidget, text box QLineEdit, masked edit box QLineEdit with an input mask,
// command button QPushButton/QToolButton, check box QCheckBox, option button QRadioButton,
// combo box QComboBox, label QLabel, numeric input box ValutaBox.

// At load: records each control's own enabled state in its tag; text and masked edit boxes
// get the height 315 twips.
void RegistraStatoControlli(QWidget* finestra);
// Data-entry state: every control of the kinds above but ValutaBox, except the two named,
// gets back its recorded state (a control never recorded keeps its own); the entry fields
// turn white when enabled, button face when not; the window's tag becomes "DATI".
void SbloccaMaschera(const QString& nome1, const QString& nome2, QWidget* finestra);
// Text and masked edit boxes and ValutaBoxes get the height (in twips, 15 to a pixel),
// ValutaBoxes the decimals (0 when none are given); labels in dark blue (RGB 0, 0, 192) or
// underlined become links: darker blue, underlined, a pointing hand.
void ImpostaControlli(QWidget* finestra, int altezzaTwips, std::optional<int> decimali = {});

void FiltroCifre(int& keyAscii);  // digits and Backspace pass; others beep and become 0
bool ContieneNonCifre(const QString& testo);
QString AllineaDestra(QString& testo, int larghezza);    // trims testo; right-aligned result
QString AllineaSinistra(QString& testo, int larghezza);  // trims testo; left-aligned result

// Asks "Vuoi mantenere le modifiche?" when there are changes; false keeps the caller where
// it is.
bool ChiediSalvataggio(bool modificati, FinestraRecord& finestra);

// The title of a window's messages: its caption in upper case, up to the first " - ", so a
// caption that goes on with the version and the archive still gives a title that shows whole
// ("VARDELLO").
QString titoloMessaggiDi(const QWidget* finestra);

// Any control: disabled with the button-face background / enabled and white. A disabled
// field's text keeps the normal text colour, so a figure shown there stays readable.
void DisabilitaCampo(QWidget* controllo);
// A display-only text box: disabled (so Tab passes it by), button-face background, text in
// the normal text colour, and every text the program writes shown from its first character.
void CampoVisualizzazione(QLineEdit* campo);
void AbilitaCampo(QWidget* controllo);
// Enables a control; a text or masked edit box also gets its whole text selected and the
// focus.
void AttivaCampo(QWidget* controllo);
// By kind: entry fields and ValutaBoxes are enabled and white (disabled and button face),
// buttons, check and option boxes and labels only enabled (disabled); other kinds are left
// alone. svuota also empties a text box.
void AbilitaControllo(QWidget* controllo);
void DisabilitaControllo(QWidget* controllo, bool svuota = false);

// Prepares a page for printing, before the first line and after every new page: units in
// millimetres from the page's top-left corner (0,0), transparent text background, the font
// "Courier New" 10 pt. A point size means the printer's own points: text keeps its metrics
// when drawn without the millimetre scale (at deviceTransform().map(position)).
void PreparaStampante(QPainter& pagina);
void ImpostaSfondoTesto(QPainter& pagina, bool trasparente);
