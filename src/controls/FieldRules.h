#pragma once

#include <QString>

class EventiCampo;
class QLineEdit;
class QWidget;

// The rules every window gives its plain input fields on focus and key events.
// A "field" is a QLineEdit or an editable QComboBox (its line edit is used); a masked date
// field is a QLineEdit with the input mask "99/99/9999" and "_" as blank (see creaCampoData).

// Yellow background, text trimmed.
void EntraCampo(QWidget* campo);
// As EntraCampo, then the whole text selected when it is not blank.
void EntraCampoSeleziona(QWidget* campo);
// White background, text trimmed.
void EsciCampo(QWidget* campo);

// Selects the whole text of a field being entered, so that what is typed at once replaces
// it; a field entered by a click is selected again once the click has placed the caret.
void SelezionaTesto(QLineEdit* campo);
// Entering a masked date field: yellow background, the whole date selected (SelezionaTesto),
// so that eight digits typed at once replace a proposed date.
void EntraCampoData(QLineEdit* campo);

// Checks a masked date field on leaving it: "__/__/____" is accepted as it is; otherwise the
// text up to the first "_" is read day/month/year and rewritten "dd/mm/yyyy". An unreadable
// date gives the focus back to the field, beeps and returns false; the text stays.
bool ControllaData(QLineEdit* campo);

// A date field of a range (the print's, the export's): entered as EntraCampoData, checked
// by ControllaData when left, back to the normal background either way.
void collegaCampoIntervallo(EventiCampo* eventi, QLineEdit* campo);

// Two-decimal numbers typed into a plain text box (the VAT rate field), with the keystroke
// rules of the numeric input box (RegoleTasti.h). installaTastiNumerici (TastiCampo.h) hooks
// the two key routines to a field's key events in one call.
// Yellow background; the whole text selected when it is not blank; the text is not touched.
void EntraCampoNumerico(QLineEdit* campo);
// keyCode is a Qt::Key: Delete deletes forward by the rules and becomes 0; others untouched.
void KeyDownNumerico(QLineEdit* campo, int& keyCode);
// keyAscii is a character code (8 Backspace, 44 ",", 45 "-", digits); 0 afterwards when
// the rules consumed it, otherwise the field is to insert it (only "-" at the start).
void KeyPressNumerico(QLineEdit* campo, int& keyAscii);
// White background; the text rewritten "#0.00" ("0,00" when blank); a value not strictly
// between -100 and 100 beeps, shows "VALORE ERRATO!" and gives the focus back.
void EsciCampoPercentuale(QLineEdit* campo);

// Switches a record window to key-entry state (see FormHelpers.h for the way back).
void BloccaMaschera(const QString& nome1, const QString& nome2, QWidget* finestra);

// A masked date field: input mask "99/99/9999" with "_" blanks, reading "__/__/____" when
// empty; and a masked time field "99.99" reading "__.__" when empty. displayText() shows
// the blanks; text() leaves them out ("//" for an empty date).
QLineEdit* creaCampoData(QWidget* parent, const QString& nome);
QLineEdit* creaCampoOra(QWidget* parent, const QString& nome);
