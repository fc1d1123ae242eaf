#pragma once

#include "CopieSicurezza.h"

class QWidget;

// The backup when the program ends: today's copy of the archive in use (see CopieSicurezza.h),
// made while a progress window titled "Vardello" shows once the copy takes more than a
// second. A failure is told; the program ends anyway. `copia` stands in for copiaArchivio in
// tests.
void copiaDiSicurezzaAllUscita(QWidget* parent, const copie::Copiatore& copia = {});
