#pragma once

#include <QObject>
#include <QPointer>
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

  protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

  private:
    // Delivers the event to the field's own handling (and its other filters) first.
    void consegna(QObject* oggetto, QEvent* evento);
    void EntraCodiceIva();
    void ApriRicercaCodice();
    bool CercaCodiceIva(const QString& codice);  // false after an engine error
    void ImpostaImponibileIva();
    void EsciImponibileIva();
    void EntraDataDoc();
    void EsciDataDoc();
    void ChiudiCampoIva(QWidget* campo);
    void AggiungiVoce(const QString& descrizione);
    QString titoloMessaggi() const;

    ControlliMovimento c_;
    QString codiceIvaStandard_;
    // The field whose focus entry was handled last: a focus loss counts only for it, so the
    // loss Qt reports to a field that never received the focus (when a handler moves the
    // focus elsewhere) is not taken for the operator leaving that field.
    QPointer<QObject> campoAttivo_;
};
