#include "CampiIvaMovimento.h"

// Placeholder until the VAT fields land.
CampiIvaMovimento::CampiIvaMovimento(const ControlliMovimento& controlli, QObject* parent)
    : QObject(parent), c_(controlli) {}

void CampiIvaMovimento::setCodiceIvaStandard(const QString& codice) { codiceIvaStandard_ = codice; }
void CampiIvaMovimento::EsciCodiceIva() {}
void CampiIvaMovimento::CalcolaImposta() {}
void CampiIvaMovimento::CaricaOperazioni() {}
void CampiIvaMovimento::AggiungiConto() {}
