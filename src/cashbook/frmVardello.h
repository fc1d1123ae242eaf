#pragma once

#include <QDate>
#include <QSet>
#include <QWidget>
#include <optional>

#include "Money.h"
#include "MovimentiCassa.h"

class CampiIvaMovimento;
class GrigliaCassa;
class ModelloCassa;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class ValutaBox;
struct DatiMovimento;
struct ErroreArchivio;

// The main window: the cash book one month at a time, the edit area of one movement, the
// totals and the command buttons.
//
// Its routines live in several files: frmVardello.cpp (start-up, month choice, resizing),
// frmVardelloFinestra.cpp (the controls and their places), frmVardelloMese.cpp (month load
// and totals), frmVardelloModifica.cpp (entry editing), frmVardelloComandi.cpp (the small
// commands and the other windows).
class frmVardello : public QWidget {
    Q_OBJECT
  public:
    explicit frmVardello(QWidget* parent = nullptr);
    ~frmVardello() override;

    // The start-up after the log-in (avviaProgramma builds the window after it): title, years,
    // month shown, parameters, VAT controls, operation descriptions. Needs DbArchivio open and
    // UtenteCorrente set.
    void Prepara();

    // The first day of the month chosen with the year list and the month tabs.
    QDate meseSelezionato() const;

    // Month view.
    void CaricaMese(const QDate& DataMese);
    void PulisciGrdGesca();
    void ImpostaGestioni();
    void Carica_parametri_predefiniti();

    // Totals. SaveTotaliMese stores the month's sums as the archive holds them; it throws
    // ErroreArchivio for its caller to report.
    void SaveTotaliMese(int KeyAnno, int KeyMese);
    void OpenTotaliPrecedenti(int FiltroAnno, int FiltroMese);
    void RefreshTotali();

    // Entry editing.
    bool verifica_campi_necessari();
    void azzera_campi();

  protected:
    void resizeEvent(QResizeEvent* evento) override;
    // The program ends with the main window: the day's backup is made first.
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

  private:
    // frmVardelloFinestra.cpp
    void costruisciFinestra();
    void costruisciCampi(QWidget* pannello);
    void costruisciTotali(QWidget* pannello);
    void costruisciComandi(QWidget* pannello);
    void collegaEventi();
    void dispongiFinestra();

    // frmVardello.cpp
    void impostaAnni();
    void meseScelto();
    void annoCambiato();
    void annoScelto();
    void meseCliccato(int indice);
    void registraTotaliInSospeso();
    bool mostraMese(const QDate& data);
    QString titoloMessaggi() const;

    // frmVardelloModifica.cpp
    void cmdIns_Click();
    void cmdVar_Click();
    void cmdCanc_Click();
    void grdGesca_RigaScelta(int riga);
    void modoInserimento();
    void modoVariazione();
    void entraDataRegistrazione();
    void esciDataRegistrazione();
    void segnalaErroreScrittura(const ErroreArchivio& errore, const QString& esito);
    void segnalaRispostaPersa(const ErroreArchivio& errore, const QString& esito);
    bool giaRegistrato(DatiMovimento& dati, qint64* numero);
    void ricordaDescrizione(const QString& registrato);
    bool passaAlMeseDi(const QDate& data);
    DatiMovimento datiDaCampi(bool nuovo) const;

    // frmVardelloComandi.cpp
    void cmdCopia_Click();
    void cmdEsci_Click();
    void cmdInfo_Click();
    void cmdStampa_Click();
    void cmdServizi_Click();
    void cmdCodiciIva_Click();
    void cmdSituazioneIva_Click();
    void cmdUtenti_Click();
    void cmdEsporta_Click();

    // The year's change has loaded the month that the same choice then reports as chosen.
    bool annoCaricato_ = false;

    // Controls.
    GrigliaCassa* grdGesca = nullptr;
    ModelloCassa* modello = nullptr;
    QWidget* pnlInferiore = nullptr;
    QLabel* lblPercorsoArchivi = nullptr;
    QLineEdit* txtDataRegistrazione = nullptr;
    QComboBox* cmbOperazione = nullptr;
    ValutaBox* txtEntrate = nullptr;
    ValutaBox* txtUscite = nullptr;
    QLineEdit* txtNumProg = nullptr;
    QLineEdit* txtUtente = nullptr;
    QLineEdit* txtDataIns = nullptr;
    QLineEdit* txtOraIns = nullptr;
    QLabel* lblIva = nullptr;
    QLineEdit* txtCodiceIva = nullptr;
    QLineEdit* txtDescrizioneIva = nullptr;
    QLineEdit* txtAliquota = nullptr;
    QLabel* lblImponibileIva = nullptr;
    ValutaBox* txtImponibileIva = nullptr;
    QLabel* lblImpostaIva = nullptr;
    ValutaBox* txtImpostaIva = nullptr;
    QLabel* lblDataDoc = nullptr;
    QLineEdit* txtDataDoc = nullptr;
    QLineEdit* txtEntrateMese = nullptr;
    QLineEdit* txtUsciteMese = nullptr;
    QLineEdit* txtSaldoFineMese = nullptr;
    QLineEdit* txtEntrateMeseP = nullptr;
    QLineEdit* txtUsciteMeseP = nullptr;
    QLineEdit* txtEntrateGenerali = nullptr;
    QLineEdit* txtUsciteGenerali = nullptr;
    QLineEdit* txtSaldo = nullptr;
    QPushButton* cmdIns = nullptr;
    QPushButton* cmdVar = nullptr;
    QPushButton* cmdCanc = nullptr;
    QPushButton* cmdEsci = nullptr;
    QPushButton* cmdStampa = nullptr;
    QPushButton* cmdServizi = nullptr;
    QPushButton* cmdCodiciIva = nullptr;
    QPushButton* cmdSituazioneIva = nullptr;
    QPushButton* cmdInfo = nullptr;
    QPushButton* cmdUtenti = nullptr;
    QPushButton* cmdCopia = nullptr;
    QPushButton* cmdEsporta = nullptr;
    QTabBar* tabMesi = nullptr;
    QLabel* lblAnno = nullptr;
    QComboBox* cmbAnno = nullptr;

    CampiIvaMovimento* campiIva = nullptr;

    // The export button's place in the button row (twips): between cmdSituazioneIva and
    // cmdInfo with VAT management, right after cmdInfo without it.
    static constexpr int kEsportaConIva = 4718;
    static constexpr int kEsportaSenzaIva = 3720;
    static constexpr int kLarghezzaEsporta = 600;

    // State.
    Money TotaleEntrateMese;
    Money TotaleUsciteMese;
    Money TotaleEntratePrecedenti;
    Money TotaleUscitePrecedenti;
    bool GestioneIva = false;
    QString CodiceIvaStandard;
    int RigaSelezionata = -1;           // the grid row loaded for change; -1 in insert mode
    MovimentoLetto movimentoCaricato_;  // the stored movement loaded for change
    bool copiaAllUscita_ = false;       // set by Prepara: the archive is open and in use
    // Said before the message of a month load that fails right after a write, so that the
    // person learns the write is stored (empty otherwise).
    QString premessaCaricamento_;
    // Months (year * 12 + month - 1) whose totals row could not be stored: the earlier
    // totals take their sums from the movements until a later load stores the row.
    QSet<int> mesiDaRegistrare_;
    // An insert whose outcome could not be asked (the server could not be reached): its
    // number and values, asked again before the same movement is inserted once more.
    std::optional<std::pair<qint64, DatiMovimento>> inserimentoIncerto_;
};
