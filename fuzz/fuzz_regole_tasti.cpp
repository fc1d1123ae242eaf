// Feeds the keystroke rules of the amount fields arbitrary texts, carets, selections, field
// settings and keys, and stops on a crash, a sanitizer report or a broken rule: the caret
// outside the text, a character left to the field that the rules must take, a rewrite of an
// amount that is no well-formed amount, a plain field holding more than it can.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FormaImporto.h"
#include "RegoleTasti.h"

namespace {

class Lettore {
  public:
    Lettore(const uint8_t* dati, size_t quanti) : dati_(dati), quanti_(quanti) {}
    bool finito() const { return posizione_ >= quanti_; }
    uint8_t byte() { return finito() ? 0 : dati_[posizione_++]; }
    int tra(int minimo, int massimo) { return minimo + byte() % (massimo - minimo + 1); }

  private:
    const uint8_t* dati_;
    size_t quanti_;
    size_t posizione_ = 0;
};

int tasto(Lettore& lettore) {
    static constexpr int tasti[] = {
        '0', '1', '5', '9',   tasti::Backspace, tasti::Virgola, tasti::Meno, tasti::CancellaAvanti,
        '.', 13,  'a', 0x20AC};
    const uint8_t scelta = lettore.byte();
    return scelta < 200 ? tasti[scelta % 12] : scelta;
}

void verifica(bool vero) {
    if (!vero) {
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t quanti) {
    Lettore lettore(dati, quanti);
    const bool numerico = lettore.byte() & 1;
    const int lunghezzaMassima = lettore.tra(0, 24);
    const RegoleImporto regole = numerico ? regoleNumerico(lunghezzaMassima)
                                          : regoleValutaBox(lettore.tra(-1, 6), lunghezzaMassima);

    static const QString alfabeto = QStringLiteral("0123456789,.-  0,.x");
    StatoTesto stato;
    for (int i = lettore.tra(0, 24); i > 0; --i) {
        stato.testo += alfabeto.at(lettore.byte() % alfabeto.size());
    }
    while (!lettore.finito()) {
        const int lunghezza = static_cast<int>(stato.testo.size());
        if (lettore.byte() < 64) {
            stato.inizio = lettore.tra(0, lunghezza);
            stato.selezione = lettore.tra(0, lunghezza - stato.inizio);
        }
        const int codice = tasto(lettore);
        const StatoTesto prima = stato;
        const EsitoTasto esito = applicaTasto(prima, codice, regole);
        stato = esito.stato;
        verifica(stato.inizio >= 0 && stato.selezione >= 0 &&
                 stato.inizio + stato.selezione <= stato.testo.size());
        if (regole.decimali <= 0) {
            continue;  // whole amounts and unusable settings: the field does the typing
        }
        verifica(esito.consumato || codice == tasti::Meno);
        const bool eraImporto = prima.testo.isEmpty() || prima.testo == QLatin1String("-") ||
                                leggiImporto(prima.testo).has_value();
        if (esito.consumato && stato.testo != prima.testo && eraImporto) {
            verifica(testoDopoRiscrittura(stato.testo, regole.decimali));
        }
        if (numerico && lunghezzaMassima > 0 && prima.testo.size() <= lunghezzaMassima) {
            verifica(stato.testo.size() <= lunghezzaMassima);
        }
        // The field inserts a minus sign the rules left, within its length.
        const QString conMeno = prima.testo.left(prima.inizio) + QLatin1Char('-') +
                                prima.testo.mid(prima.inizio + prima.selezione);
        if (!esito.consumato && (lunghezzaMassima == 0 || conMeno.size() <= lunghezzaMassima)) {
            stato = {conMeno, prima.inizio + 1, 0};
        }
    }
    return 0;
}
