#pragma once

#include <QObject>
#include <QSet>
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
// It handles the focus and key events of txtCodiceIva, txtImponibileIva and txtDataDoc itself;
// cmdVar in change mode, else cmdIns (found by name in the window), receives the focus when a VAT
// field is closed.
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
    // Fills cmbOperazione with the remembered descriptions, in alphabetical order; the text
    // being typed stays. An engine error is thrown as ErroreArchivio.
    void CaricaOperazioni();
    // Remembers the description in cmbOperazione (once, and only up to 500 characters) in
    // the archive and in the list. An engine error is thrown as ErroreArchivio.
    void AggiungiConto();

  private:
    void EntraCodiceIva();
    void ApriRicercaCodice();
    bool CercaCodiceIva(const QString& codice);  // false after an engine error
    void ImpostaImponibileIva();
    void EntraImponibileIva();
    void EsciImponibileIva();
    void EntraDataDoc();
    void EsciDataDoc();
    void ChiudiCampoIva(QWidget* campo);
    void AggiungiVoce(const QString& descrizione);
    bool codiceVuoto() const;
    QString titoloMessaggi() const;

    ControlliMovimento c_;
    QString codiceIvaStandard_;
    // The descriptions in the list of cmbOperazione, each known to be in the archive.
    QSet<QString> ricordate_;
};
