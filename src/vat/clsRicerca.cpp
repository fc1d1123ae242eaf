#include "clsRicerca.h"

// Placeholder until the lookup window lands: behaves as a cancelled lookup.
QString clsRicerca::F4CodIva(const QString&, const QString&, const QString&, QWidget*) {
    return QString();
}
