// The main window's controls, their places in twips (15 twips are one pixel) and their events.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <limits>

#include "CampiIvaMovimento.h"
#include "Caratteri.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "GrigliaCassa.h"
#include "ImmaginiPulsanti.h"
#include "ModelloCassa.h"
#include "Twips.h"
#include "ValutaBox.h"
#include "frmVardello.h"

namespace {

constexpr int kAltezzaPannello = 3405;
constexpr int kAltezzaCampo = 285;
constexpr int kAltezzaEtichetta = 225;
constexpr int kAltezzaTotale = 315;
constexpr int kAltezzaPulsante = 405;

void colloca(QWidget* controllo, int x, int y, int larghezza, int altezza) {
    controllo->setGeometry(pixel(x), pixel(y), pixel(larghezza), pixel(altezza));
}

// A caption that does not fit its place at the interface font takes a smaller size, so it is
// never cut (a desktop font wider than the one the places were made for).
void adattaAllaLarghezza(QLabel* label) {
    QFont carattere = label->font();
    while (carattere.pointSizeF() > 6 &&
           QFontMetrics(carattere).horizontalAdvance(label->text()) > label->width()) {
        carattere.setPointSizeF(carattere.pointSizeF() - 0.25);
    }
    if (carattere != label->font()) {
        label->setFont(carattere);
    }
}

QLabel* etichetta(QWidget* pannello, const QString& testo, int x, int y, int larghezza,
                  const QString& nome = {}) {
    auto* label = new QLabel(testo, pannello);
    if (!nome.isEmpty()) {
        label->setObjectName(nome);
    }
    colloca(label, x, y, larghezza, kAltezzaEtichetta);
    adattaAllaLarghezza(label);
    return label;
}

template <class Campo>
Campo* collocato(Campo* controllo, int x, int y, int larghezza) {
    colloca(controllo, x, y, larghezza, kAltezzaCampo);
    return controllo;
}

template <class Campo>
Campo* campo(Campo* controllo, const QString& nome, int x, int y, int larghezza) {
    controllo->setObjectName(nome);
    return collocato(controllo, x, y, larghezza);
}

QLineEdit* casella(QWidget* pannello, const QString& nome, int x, int y, int larghezza) {
    return campo(new QLineEdit(pannello), nome, x, y, larghezza);
}

QFont passoFisso() {
    return carattereFisso(9);
}

ValutaBox* importo(QWidget* pannello, const QString& nome, int x, int y, int larghezza) {
    auto* box = campo(new ValutaBox(pannello), nome, x, y, larghezza);
    box->setDecimali(2);
    box->setMaxLength(14);
    box->setFont(passoFisso());
    box->setText(QString());  // a new box reads "Text1"; the main window's amounts start empty
    return box;
}

QLineEdit* soloLettura(QLineEdit* casella) {
    CampoVisualizzazione(casella);
    return casella;
}

QPushButton* pulsante(QWidget* pannello, const QString& nome, const char* immagine,
                      const QString& suggerimento, int x, int y, int larghezza, int altezza) {
    auto* cmd = new QPushButton(pannello);
    cmd->setObjectName(nome);
    cmd->setIcon(immaginePulsante(QString::fromLatin1(immagine)));
    cmd->setIconSize(QSize(pixel(altezza) - 8, pixel(altezza) - 8));
    cmd->setToolTip(suggerimento);
    colloca(cmd, x, y, larghezza, altezza);
    return cmd;
}

}  // namespace

void frmVardello::costruisciFinestra() {
    grdGesca = new GrigliaCassa(this);
    grdGesca->setObjectName(QStringLiteral("grdGesca"));
    modello = new ModelloCassa(this);
    grdGesca->setModello(modello);
    grdGesca->move(pixel(140), pixel(60));

    pnlInferiore = new QWidget(this);
    pnlInferiore->setObjectName(QStringLiteral("pnlInferiore"));
    costruisciCampi(pnlInferiore);
    costruisciTotali(pnlInferiore);
    costruisciComandi(pnlInferiore);

    lblPercorsoArchivi = etichetta(pnlInferiore, QStringLiteral("Percorso archivi: "), 60, 3180,
                                   10000, QStringLiteral("lblPercorsoArchivi"));

    campiIva = new CampiIvaMovimento(
        ControlliMovimento{this, txtDataRegistrazione, cmbOperazione, txtEntrate, txtUscite,
                           txtCodiceIva, txtDescrizioneIva, txtAliquota, txtImponibileIva,
                           txtImpostaIva, txtDataDoc},
        this);
    // Never so small that the lower panel's fields and buttons are cut: as wide as its widest
    // row, as high as the panel and a few rows of the grid.
    setMinimumSize(pixel(10380), pixel(kAltezzaPannello + 2000));
    resize(pixel(10500), pixel(9000));
}

void frmVardello::costruisciCampi(QWidget* p) {
    // First line: the movement; second line: its VAT and who inserted it.
    txtDataRegistrazione =
        collocato(creaCampoData(p, QStringLiteral("txtDataRegistrazione")), 60, 0, 1380);
    cmbOperazione = campo(new QComboBox(p), QStringLiteral("cmbOperazione"), 1500, 0, 4155);
    cmbOperazione->setEditable(true);
    cmbOperazione->setInsertPolicy(QComboBox::NoInsert);
    // A description has no length limit of its own: Qt's default of 32767 characters would
    // silently cut a longer text before it is stored.
    cmbOperazione->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    txtEntrate = importo(p, QStringLiteral("txtEntrate"), 5700, 0, 1440);
    txtUscite = importo(p, QStringLiteral("txtUscite"), 7200, 0, 1440);
    // No length limit: a number past 999.999 must show whole, as the change stores it back.
    txtNumProg = soloLettura(casella(p, QStringLiteral("txtNumProg"), 8700, 0, 1200));
    // Each caption may use the whole width up to the next column.
    etichetta(p, QStringLiteral("Data registrazione"), 60, 300, 1410);
    etichetta(p, QStringLiteral("Descrizione operazione"), 1500, 300, 4170);
    etichetta(p, QStringLiteral("Entrate"), 5700, 300, 1470);
    etichetta(p, QStringLiteral("Uscite"), 7200, 300, 1470);
    etichetta(p, QStringLiteral("Progr."), 8700, 300, 1200);

    txtCodiceIva = casella(p, QStringLiteral("txtCodiceIva"), 60, 540, 480);
    txtCodiceIva->setMaxLength(3);
    txtDescrizioneIva =
        soloLettura(casella(p, QStringLiteral("txtDescrizioneIva"), 600, 540, 1440));
    txtAliquota = soloLettura(casella(p, QStringLiteral("txtAliquota"), 2100, 540, 660));
    txtImponibileIva = importo(p, QStringLiteral("txtImponibileIva"), 2820, 540, 1500);
    txtImpostaIva = importo(p, QStringLiteral("txtImpostaIva"), 4380, 540, 1500);
    txtImpostaIva->setEnabled(false);
    txtDataDoc = collocato(creaCampoData(p, QStringLiteral("txtDataDoc")), 5940, 540, 1200);
    txtUtente = soloLettura(casella(p, QStringLiteral("txtUtente"), 7200, 540, 900));
    txtDataIns =
        soloLettura(collocato(creaCampoData(p, QStringLiteral("txtDataIns")), 8160, 540, 1200));
    txtOraIns =
        soloLettura(collocato(creaCampoOra(p, QStringLiteral("txtOraIns")), 9420, 540, 600));
    lblIva = etichetta(p, QStringLiteral("Codice IVA"), 60, 840, 2730, QStringLiteral("lblIva"));
    lblImponibileIva = etichetta(p, QStringLiteral("Imponibile + IVA"), 2820, 840, 1530,
                                 QStringLiteral("lblImponibileIva"));
    lblImpostaIva = etichetta(p, QStringLiteral("Imposta IVA"), 4380, 840, 1530,
                              QStringLiteral("lblImpostaIva"));
    lblDataDoc = etichetta(p, QStringLiteral("Data com. IVA"), 5940, 840, 1230,
                           QStringLiteral("lblDataDoc"));
    etichetta(p, QStringLiteral("Utente"), 7200, 840, 930);
    etichetta(p, QStringLiteral("Data ins."), 8160, 840, 1230);
    etichetta(p, QStringLiteral("Ora ins."), 9420, 840, 720);
}

void frmVardello::costruisciTotali(QWidget* p) {
    struct Riga {
        const char* titolo;
        int y;
        QLineEdit** entrate;
        QLineEdit** uscite;
        QLineEdit** saldo;
        const char* nomi[3];
    };
    const Riga righe[] = {
        {"Totali del mese",
         1080,
         &txtEntrateMese,
         &txtUsciteMese,
         &txtSaldoFineMese,
         {"txtEntrateMese", "txtUsciteMese", "txtSaldoFineMese"}},
        {"Totali precedenti",
         1440,
         &txtEntrateMeseP,
         &txtUsciteMeseP,
         nullptr,
         {"txtEntrateMeseP", "txtUsciteMeseP", nullptr}},
        {"Totale generale",
         1800,
         &txtEntrateGenerali,
         &txtUsciteGenerali,
         &txtSaldo,
         {"txtEntrateGenerali", "txtUsciteGenerali", "txtSaldo"}},
    };
    const auto lettera = [p](const char* testo, int x, int y) {
        QLineEdit* box = soloLettura(new QLineEdit(QString::fromLatin1(testo), p));
        box->setAlignment(Qt::AlignCenter);
        colloca(box, x, y, x == 5520 ? 300 : 240, kAltezzaTotale);
    };
    const auto totale = [p](const char* nome, int x, int y) {
        QLineEdit* box = soloLettura(new QLineEdit(p));
        box->setObjectName(QString::fromLatin1(nome));
        box->setFont(passoFisso());
        colloca(box, x, y, 1620, kAltezzaTotale);
        return box;
    };
    for (const Riga& riga : righe) {
        auto* titolo = new QLabel(QString::fromLatin1(riga.titolo), p);
        colloca(titolo, 60, riga.y + 45, 1700, kAltezzaEtichetta);
        lettera("E", 1800, riga.y);
        *riga.entrate = totale(riga.nomi[0], 2040, riga.y);
        lettera("U", 3660, riga.y);
        *riga.uscite = totale(riga.nomi[1], 3900, riga.y);
        if (riga.saldo) {
            lettera("S", 5520, riga.y);
            *riga.saldo = totale(riga.nomi[2], 5820, riga.y);
        }
    }
}

void frmVardello::costruisciComandi(QWidget* p) {
    cmdIns = pulsante(p, QStringLiteral("cmdIns"), "INSERISCI",
                      QStringLiteral("Inserisce il movimento"), 7920, 1080, 720, 1035);
    cmdVar = pulsante(p, QStringLiteral("cmdVar"), "VARIA",
                      QStringLiteral("Registra la variazione"), 8700, 1080, 720, 1035);
    cmdCanc = pulsante(p, QStringLiteral("cmdCanc"), "ELIMINA",
                       QStringLiteral("Cancella le righe selezionate"), 9420, 1080, 720, 1035);

    tabMesi = new QTabBar(p);
    tabMesi->setObjectName(QStringLiteral("tabMesi"));
    for (const char* mese :
         {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu", "Lug", "Ago", "Set", "Ott", "Nov", "Dic"}) {
        tabMesi->addTab(QString::fromLatin1(mese));
    }
    tabMesi->setExpanding(true);
    colloca(tabMesi, 60, 2340, 10080, 330);

    const int y = 2760;
    cmdEsci = pulsante(p, QStringLiteral("cmdEsci"), "ESCI", QStringLiteral("Esci"), 0, y, 855,
                       kAltezzaPulsante);
    cmdStampa =
        pulsante(p, QStringLiteral("cmdStampa"), "STAMPA",
                 QStringLiteral("Apre la finestra di stampa"), 900, y, 855, kAltezzaPulsante);
    cmdServizi = pulsante(p, QStringLiteral("cmdServizi"), "PARAMETRI", QStringLiteral("Parametri"),
                          1920, y, 855, kAltezzaPulsante);
    cmdCodiciIva = pulsante(p, QStringLiteral("cmdCodiciIva"), "CODICI_IVA",
                            QStringLiteral("Codici IVA"), 2820, y, 855, kAltezzaPulsante);
    cmdSituazioneIva = pulsante(p, QStringLiteral("cmdSituazioneIva"), "SITUAZIONE_IVA",
                                QStringLiteral("Situazione IVA"), 3840, y, 855, kAltezzaPulsante);
    cmdInfo = pulsante(p, QStringLiteral("cmdInfo"), "INFO",
                       QStringLiteral("Informazioni su Vardello"), 5340, y, 855, kAltezzaPulsante);
    cmdUtenti = pulsante(p, QStringLiteral("cmdUtenti"), "UTENTI", QStringLiteral("Utenti"), 6600,
                         y, 855, kAltezzaPulsante);
    cmdCopia =
        pulsante(p, QStringLiteral("cmdCopia"), "COPIA",
                 QStringLiteral("Copia le righe selezionate"), 7620, y, 855, kAltezzaPulsante);
    // Narrower than its neighbours, so every other button keeps its place (ImpostaGestioni
    // moves it with cmdInfo).
    cmdEsporta = pulsante(p, QStringLiteral("cmdEsporta"), "ESPORTA",
                          QStringLiteral("Esporta per il commercialista"), kEsportaConIva, y,
                          kLarghezzaEsporta, kAltezzaPulsante);
    lblAnno = etichetta(p, QStringLiteral("Anno"), 8760, y + 90, 540, QStringLiteral("lblAnno"));
    cmbAnno = new QComboBox(p);
    cmbAnno->setObjectName(QStringLiteral("cmbAnno"));
    colloca(cmbAnno, 9360, y + 45, 900, 315);
}

void frmVardello::collegaEventi() {
    // After a row pick the first button Tab reaches is the change, not a second insert of
    // the loaded movement; in insert mode cmdVar is disabled and Tab goes on to cmdIns.
    setTabOrder(cmdVar, cmdIns);
    connect(cmdIns, &QPushButton::clicked, this, &frmVardello::cmdIns_Click);
    connect(cmdVar, &QPushButton::clicked, this, &frmVardello::cmdVar_Click);
    connect(cmdCanc, &QPushButton::clicked, this, &frmVardello::cmdCanc_Click);
    connect(cmdCopia, &QPushButton::clicked, this, &frmVardello::cmdCopia_Click);
    connect(cmdEsci, &QPushButton::clicked, this, &frmVardello::cmdEsci_Click);
    connect(cmdInfo, &QPushButton::clicked, this, &frmVardello::cmdInfo_Click);
    connect(cmdStampa, &QPushButton::clicked, this, &frmVardello::cmdStampa_Click);
    connect(cmdServizi, &QPushButton::clicked, this, &frmVardello::cmdServizi_Click);
    connect(cmdCodiciIva, &QPushButton::clicked, this, &frmVardello::cmdCodiciIva_Click);
    connect(cmdSituazioneIva, &QPushButton::clicked, this, &frmVardello::cmdSituazioneIva_Click);
    connect(cmdUtenti, &QPushButton::clicked, this, &frmVardello::cmdUtenti_Click);
    connect(cmdEsporta, &QPushButton::clicked, this, &frmVardello::cmdEsporta_Click);
    connect(tabMesi, &QTabBar::currentChanged, this, &frmVardello::meseScelto);
    connect(tabMesi, &QTabBar::tabBarClicked, this, &frmVardello::meseCliccato);
    connect(cmbAnno, &QComboBox::currentIndexChanged, this, &frmVardello::annoCambiato);
    connect(cmbAnno, &QComboBox::activated, this, &frmVardello::annoScelto);
    connect(grdGesca, &GrigliaCassa::rigaScelta, this, &frmVardello::grdGesca_RigaScelta);
    // The date field's own focus handling runs first, so the selection made on entry stays.
    auto* eventi = new EventiCampo(this);
    eventi->collega(
        txtDataRegistrazione,
        {[this] { entraDataRegistrazione(); }, [this] { esciDataRegistrazione(); }, {}});
    cmbOperazione->installEventFilter(this);
}

void frmVardello::dispongiFinestra() {
    if (isMinimized()) {
        return;
    }
    // The grid follows the window; a window too small for a positive size leaves it alone.
    const int larghezza = width() - pixel(280);
    const int altezza = height() - pixel(3900);
    if (larghezza > 0) {
        grdGesca->resize(larghezza, grdGesca->height());
    }
    if (altezza > 0) {
        grdGesca->resize(grdGesca->width(), altezza);
    }
    pnlInferiore->setGeometry(0, height() - pixel(kAltezzaPannello), width(),
                              pixel(kAltezzaPannello));
    lblPercorsoArchivi->resize(qMax(0, width() - pixel(120)), lblPercorsoArchivi->height());
}
