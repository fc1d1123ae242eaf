#pragma once

#include <QList>

class QWidget;

// The kinds of control that the window-state routines tell apart.
enum class TipoControllo {
    Elenco,     // list box: QListView, QListWidget
    Testo,      // text box: QLineEdit without an input mask
    Maschera,   // masked edit box: QLineEdit with an input mask
    Importo,    // numeric input box: ValutaBox
    Combinata,  // combo box: QComboBox
    Pulsante,   // command button: QPushButton, QToolButton
    Casella,    // check box: QCheckBox
    Opzione,    // option button: QRadioButton
    Etichetta,  // label: QLabel
    Altro,      // frames, panels, grids, tab strips, ...
};

TipoControllo tipoControllo(const QWidget* controllo);

// The entry fields among them: list, text, masked edit and combo boxes.
bool campoDiImmissione(TipoControllo tipo);

// Every control of a window, nested ones (inside frames, panels and tab pages) included, in
// the order of the widget tree. The parts that make up one control (the line edit of a combo
// box or of a numeric input box, the viewport of a list) and separate windows are not
// controls of their own.
QList<QWidget*> controlliDi(const QWidget* finestra);
