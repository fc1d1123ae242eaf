#pragma once

#include <QString>
#include <QStringView>

// Fixed-width texts (grid cells, print columns, list lines) cut a text to a number of
// characters. A cut never splits a character written as two UTF-16 units (an emoji, say):
// such a character is left out whole, so the cut text is one unit shorter.
QStringView primiCaratteri(QStringView testo, qsizetype larghezza);

// The text cut as above and padded with blanks on the right to exactly `larghezza` units.
QString incolonnaSinistra(QStringView testo, qsizetype larghezza);
// The same, padded on the left.
QString incolonnaDestra(QStringView testo, qsizetype larghezza);
