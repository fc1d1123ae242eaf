#pragma once

// The program's look, set once after the application object exists: the 8-point interface
// font the twip layouts were made for (with the desktop's larger default the captions under
// the fields would be cut), and Qt's own dialogs in Italian: Qt's Italian translation, and the
// program's own for the texts of the print dialog that translation lacks.
void impostaAspetto();
