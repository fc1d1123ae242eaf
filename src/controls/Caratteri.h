#pragma once

#include <QFont>

// The fixed-pitch font of the amount fields, the lists with columns and the print: "Courier
// New", or a font with the same metrics (Liberation Mono, which the program's package depends
// on; Cousine; Nimbus Mono PS), then any monospace font. Asked for by name, so the result
// does not depend on what the system's "monospace" happens to be. 0 points keeps the
// application font's size.
QFont carattereFisso(qreal punti = 0);
