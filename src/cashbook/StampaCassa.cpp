#include "StampaCassa.h"

// Placeholder until printing lands.
void StampaCassa(QSqlDatabase, const DatiStampaMese&, QWidget*) {}
