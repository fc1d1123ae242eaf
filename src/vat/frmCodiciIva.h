#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "FormHelpers.h"
#include "Money.h"

class EventiCampo;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Codici IVA": the editor of the table "Codici Iva". The person types a code (or picks one
// with F4), the stored record is loaded or a new one started, and is then saved and cleared
// (cmdNuovo, Enter), deleted (cmdCancella, Esc), restored (cmdRipristina) or left for the
// previous or next code (cmdPre, cmdSuc). The window's tag is empty while the code is being
// typed (key-entry state) and "DATI" while a record is on screen (data-entry state).
class frmCodiciIva : public QDialog, public FinestraRecord {
    Q_OBJECT
  public:
    explicit frmCodiciIva(QWidget* parent = nullptr);

    // Writes the screen into the table, editing the record of the code or adding it.
    bool Salva_Record() override;
    // Code and description are needed, and the rate must lie between 0 and 100.
    bool verifica_campi_necessari() override;
    void azzera_campi();
    void Carica_Record();
    void Aggiorna_Pulsanti();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void costruisciFinestra();
    void collegaEventi();

    void codiceEntra();
    void codiceEsce();
    bool codiceTasto(QKeyEvent* event);
    void codiceCambia();
    void apriRicerca();
    void descrizioneEntra();
    void descrizioneEsce();
    void aliquotaEntra();
    void aliquotaEsce();
    bool aliquotaTasto(QKeyEvent* event);
    void modificato() { DatiModificati = true; }
    // The arrow keys choose among the three exemption options.
    bool opzioneTasto(QRadioButton* opt, QKeyEvent* event);

    void cmdNuovo_Click();
    void cmdCancella_Click();
    void cmdRipristina_Click();
    void sfoglia(bool avanti);

    void azzeraOpzioni();
    void abilitaOpzioni(bool abilita);
    // A rate from 0 to 100 passes; any other gets "VALORE ERRATO!" and the focus back.
    bool aliquotaAccettata(Money aliquota);
    void tornaAlCodice();
    // The next (previous) stored code after (before) the given one; the first (last) code
    // when the given one is empty. An engine error is thrown as ErroreArchivio.
    std::optional<QString> codiceVicino(const QString& codice, bool avanti) const;

    QFrame* vsSfondo = nullptr;
    QGroupBox* fraCodice = nullptr;
    QGroupBox* fraAliquota = nullptr;
    QGroupBox* fraFlag = nullptr;
    QLabel* lblCod = nullptr;
    QLabel* lblDes = nullptr;
    QLabel* lblPercento = nullptr;
    QLineEdit* txtCodiceIva = nullptr;
    QLineEdit* txtDescrizioneIva = nullptr;
    QLineEdit* txtAliquota = nullptr;
    QRadioButton* optFlagArt8 = nullptr;
    QRadioButton* optFlagFattureEsenti = nullptr;
    QRadioButton* optFlagAltreEsenzioni = nullptr;
    QFrame* pnlControlli = nullptr;
    QPushButton* cmdPre = nullptr;
    QPushButton* cmdSuc = nullptr;
    QPushButton* cmdRipristina = nullptr;
    QPushButton* cmdNuovo = nullptr;
    QPushButton* cmdCancella = nullptr;
    EventiCampo* eventi_ = nullptr;

    bool RecordEsistente = false;
    bool DatiModificati = false;
    bool riscritturaCodice_ = false;  // the code is being rewritten as three digits
    bool ritornoAlCodice_ = false;    // the window is sending the person back to the code
    QString codiceEliminato_;         // where browsing starts after a deletion
};
