#pragma once

#include <QString>
#include <optional>

#include "Money.h"

// The keystroke rules of the amount fields, free of widgets: given what a field shows (text,
// caret, selection) and one character, they say what the field shows next, whether the
// character was used up by the rules and whether to beep. The numeric input box (ValutaBox)
// and the plain two-decimal fields (KeyPressNumerico) both apply these same rules; their few
// differences are the options of RegoleImporto.
//
// Character codes: 8 Backspace, 44 ",", 45 "-", 48-57 the digits, 257 delete forward (the
// Delete key); every other code is a character the rules refuse.

namespace tasti {
constexpr int Backspace = 8;
constexpr int Virgola = 44;
constexpr int Meno = 45;
constexpr int CancellaAvanti = 257;
}  // namespace tasti

// What a single-line field shows: its text, the start of the selection (the caret when
// nothing is selected; 0 is before the first character) and the selection length.
struct StatoTesto {
    QString testo;
    int inizio = 0;
    int selezione = 0;
    bool operator==(const StatoTesto&) const = default;
};

struct EsitoTasto {
    StatoTesto stato;
    // A character that is not consumed goes on to the field, which inserts it (replacing the
    // selection) or, for Backspace, deletes.
    bool consumato = true;
    bool beep = false;
};

struct RegoleImporto {
    // Decimal places. 0 selects whole amounts: the rules then only filter the characters and
    // the field inserts them (see riscritturaIntera for the regrouping that follows).
    int decimali = 2;
    // The field's maximum length; 0 means no limit. An integer digit is refused once the
    // text is that long.
    int lunghezzaMassima = 0;
    // The numeric input box allows one character less when decimali % 3 == 2 (13 of 14 with
    // two decimals), leaving room for the minus sign.
    bool capienzaRidotta = true;
    // After a digit the numeric input box writes a zero integer part as "0" ("0,50"); the
    // plain fields leave it out (",50").
    bool zeroInteroDopoCifra = true;
    // The comma key on a text without a comma appends the decimals and puts the caret after
    // the comma (numeric input box) or before it (plain fields).
    bool cursoreDopoVirgola = true;
    // A digit typed after the last decimal is refused (numeric input box) or enters as one
    // more decimal that the rewrite rounds away (plain fields).
    bool rifiutaOltreDecimali = true;
    // The most characters the field can hold at all (0: no limit). A keystroke whose result
    // would not fit is refused rather than cut short.
    int limiteCampo = 0;
};

// The rules of the numeric input box with the given decimals and MaxLength.
RegoleImporto regoleValutaBox(int decimali, int maxLength);
// The rules of a plain text box holding a two-decimal number, whose maximum length is
// maxLength (a hard limit of the field as well).
RegoleImporto regoleNumerico(int maxLength);

EsitoTasto applicaTasto(const StatoTesto& prima, int tasto, const RegoleImporto& regole);

// The most integer digits a keystroke may give an amount field: as many as typing at the end
// reaches (8 for the numeric input box with two decimals and MaxLength 14), at most 13. A
// digit over a selected grouping dot, or a rounding carry, beyond that is refused.
int cifreIntereMassime(const RegoleImporto& regole);

// The display patterns: A writes a zero integer part as nothing (",50"), B as "0" ("0,50"),
// C is the pattern of a lone first digit, V the pattern of whole amounts.
QString schemaA(int decimali);
QString schemaB(int decimali);
QString schemaC(int decimali);
QString schemaV();

// The amount a field's text stands for: Italian notation, where a grouping dot that a
// deletion left without a digit after it ("1.,56") is ignored. No value for any other text.
std::optional<Money> leggiImporto(const QString& testo);
// Rewrites a text with a display pattern. An empty text stays empty, and a text that is not
// an amount is left as it is.
QString riscrivi(const QString& testo, const QString& schema);

// The text an amount field with decimals shows once left: the amount (0 when the text is
// not one) written with pattern B, so "1234,5" becomes "1.234,50" and "" becomes "0,00".
QString testoUscitaDecimali(const QString& testo, int decimali);
// The text a whole-amount field shows once left: "0" when blank, else unchanged.
QString testoUscitaIntero(const QString& testo);
// The regrouping of a whole-amount field after every change of its text, with its caret.
StatoTesto riscritturaIntera(const StatoTesto& stato);
