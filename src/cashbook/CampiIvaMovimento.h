#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;
class ValutaBox;

// The main window's fields of one movement that this part drives.
struct ControlliMovimento {
    QWidget* finestra = nullptr;  // the main window (its caption titles the messages)
    QLineEdit* txtDataRegistrazione = nullptr;
    QComboBox* cmbOperazione = nullptr;
    ValutaBox* txtEntrate = nullptr;
    ValutaBox* txtUscite = nullptr;
    QLineEdit* txtCodiceIva = nullptr;
    QLineEdit* txtDescrizioneIva = nullptr;
    QLineEdit* txtAliquota = nullptr;
    ValutaBox* txtImponibileIva = nullptr;
    ValutaBox* txtImpostaIva = nullptr;
    QLineEdit* txtDataDoc = nullptr;
};

// The VAT fields of a movement (code, description, rate, amount including VAT, VAT, VAT
// competence date) and the remembered operation descriptions of the operation combo box.
// It handles the focus and key events of those fields itself.
class CampiIvaMovimento : public QObject {
    Q_OBJECT
public:
    CampiIvaMovimento(const ControlliMovimento& controlli, QObject* parent = nullptr);

    // The VAT code proposed when the code field is entered empty.
    void setCodiceIvaStandard(const QString& codice);

    // The lost-focus routine of txtCodiceIva: formats the code, shows its description and
    // rate, or clears the VAT fields when the code is empty.
    void EsciCodiceIva();
    // Works out the VAT contained in the amount including VAT into txtImpostaIva.
    void CalcolaImposta();
    // Fills cmbOperazione with the remembered descriptions.
    void CaricaOperazioni();
    // Remembers the description in cmbOperazione (once) in the archive and in the list.
    void AggiungiConto();

private:
    ControlliMovimento c_;
    QString codiceIvaStandard_;
};
