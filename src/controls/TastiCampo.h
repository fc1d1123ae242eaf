#pragma once

#include <optional>

#include "RegoleTasti.h"

class QKeyEvent;
class QLineEdit;

// The glue between Qt key events on a QLineEdit and the keystroke rules of RegoleTasti.h.

// The character code of a key press (8 Backspace, 13 Enter, 27 Escape, 1-26 Ctrl+letter,
// 127 Ctrl+Backspace, otherwise the character typed), or no value for a key that types no
// character (arrows, Home, Delete, function keys, Tab, ...).
std::optional<int> codiceCarattere(const QKeyEvent& evento);

// What a field shows now, and showing what the rules decided (caret and selection included;
// nothing is touched when nothing changed).
StatoTesto statoDi(const QLineEdit* campo);
void mostraStato(QLineEdit* campo, const StatoTesto& prima, const StatoTesto& dopo);

// Applies the rules to a field for one character: beeps when they say so, shows the result
// and returns the character code that is left for the field (0 when consumed).
int applicaRegole(QLineEdit* campo, int codice, const RegoleImporto& regole);

// What the field does by itself with a character that nobody consumed: Backspace deletes
// left of the caret (or the selection), a printable character replaces the selection.
// Beyond lunghezzaMassima (0: no limit) the character is refused with a beep. Control
// characters do nothing.
void inserisciCarattere(QLineEdit* campo, int codice, int lunghezzaMassima);

// Gives a plain text box the two-decimal key rules (KeyDownNumerico on key down,
// KeyPressNumerico on every character, the unconsumed ones then typed into the field), so a
// window needs no key handling of its own for it. The filter belongs to the field.
void installaTastiNumerici(QLineEdit* campo);

// A field whose every character must pass its key rules takes nothing from the clipboard:
// Ctrl+V and Shift+Insert are refused with a beep, as any character the rules refuse; the
// middle button (which pastes on some desktops) does nothing; the field has no context menu
// and takes no dropped text. Text committed by an input method is typed key by key.
void rifiutaIncolla(QLineEdit* campo);
