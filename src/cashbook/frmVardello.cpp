// Start-up, the choice of the month shown, the parameters and the window's size.
#include "frmVardello.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <utility>

#include "CampiIvaMovimento.h"
#include "CopiaAllUscita.h"
#include "FormHelpers.h"
#include "GrigliaCassa.h"
#include "MessaggiCassa.h"
#include "Parametri.h"
#include "Programma.h"
#include "Services.h"
#include "Twips.h"
#include "ValutaBox.h"

namespace {
constexpr int kPrimoAnno = 1996;
constexpr int kUltimoAnno = 2028;  // the last year an entry may carry
}  // namespace

frmVardello::frmVardello(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmVardello"));
    setWindowTitle(QStringLiteral("Vardello"));
    costruisciFinestra();
    impostaAnni();
    collegaEventi();
    modoInserimento();
    RefreshTotali();
}

frmVardello::~frmVardello() = default;

void frmVardello::Prepara() {
    copiaAllUscita_ = true;
    setWindowTitle(QStringLiteral("Vardello - Versione %1.%2.%3 - Archivio:%4")
                       .arg(VARDELLO_VERSION_MAJOR)
                       .arg(VARDELLO_VERSION_MINOR)
                       .arg(VARDELLO_VERSION_PATCH)
                       .arg(programma().PercorsoArchivio.toUpper()));
    lblPercorsoArchivi->setText(QStringLiteral("Percorso archivi: ") +
                                programma().PercorsoArchivio);
    const QDate oggi = services::clock().today();
    {
        // The month is loaded once, below, not at each of these two selections.
        const QSignalBlocker bloccoAnno(cmbAnno);
        const QSignalBlocker bloccoMesi(tabMesi);
        cmbAnno->setCurrentText(QString::number(qBound(kPrimoAnno, oggi.year(), kUltimoAnno)));
        tabMesi->setCurrentIndex(oggi.month() - 1);
    }
    meseScelto();
    Carica_parametri_predefiniti();
    ImpostaGestioni();
    try {
        campiIva->CaricaOperazioni();
    } catch (const ErroreArchivio& errore) {
        avvisa(erroreTabella(QStringLiteral("Conti Utilizzati"), errore), titoloMessaggi(),
               Interaction::Icon::Exclamation);
    }
}

void frmVardello::impostaAnni() {
    const QSignalBlocker blocco(cmbAnno);
    for (int anno = kPrimoAnno; anno <= kUltimoAnno; ++anno) {
        cmbAnno->addItem(QString::number(anno));
    }
}

QDate frmVardello::meseSelezionato() const {
    return QDate(cmbAnno->currentText().toInt(), tabMesi->currentIndex() + 1, 1);
}

void frmVardello::meseScelto() {
    CaricaMese(meseSelezionato());
}

// Choosing the year or the tab already shown loads the month again as well, so movements
// that another computer stored meanwhile appear. The combo box reports the operator's choice
// after the change of index it made (if any); the tab bar reports the click before it.
void frmVardello::annoCambiato() {
    annoCaricato_ = true;
    meseScelto();
}

void frmVardello::annoScelto() {
    if (!std::exchange(annoCaricato_, false)) {
        meseScelto();
    }
}

void frmVardello::meseCliccato(int indice) {
    if (indice >= 0 && indice == tabMesi->currentIndex()) {
        meseScelto();
    }
}

bool frmVardello::mostraMese(const QDate& data) {
    if (data.year() == meseSelezionato().year() && data.month() == meseSelezionato().month()) {
        return false;
    }
    {
        const QSignalBlocker bloccoAnno(cmbAnno);
        const QSignalBlocker bloccoMesi(tabMesi);
        cmbAnno->setCurrentText(QString::number(data.year()));
        tabMesi->setCurrentIndex(data.month() - 1);
    }
    meseScelto();
    return true;
}

QString frmVardello::titoloMessaggi() const {
    return titoloMessaggiDi(this);
}

void frmVardello::Carica_parametri_predefiniti() {
    try {
        const std::optional<Parametri> parametri = leggiParametri(DbArchivio());
        if (!parametri) {
            return;
        }
        GestioneIva = parametri->GestioneIva;
        CodiceIvaStandard = parametri->CodiceIvaStandard;
        programma().IvaTrimestrale = parametri->IvaTrimestrale;
        campiIva->setCodiceIvaStandard(CodiceIvaStandard);
    } catch (const ErroreArchivio& errore) {
        avvisa(erroreTabella(QStringLiteral("Parametri"), errore), titoloMessaggi(),
               Interaction::Icon::Exclamation);
    }
}

void frmVardello::ImpostaGestioni() {
    const QList<QWidget*> controlliIva = {lblIva,        lblImponibileIva, lblDataDoc,
                                          lblImpostaIva, txtCodiceIva,     txtDescrizioneIva,
                                          txtAliquota,   txtImponibileIva, txtImpostaIva,
                                          txtDataDoc,    cmdCodiciIva,     cmdSituazioneIva};
    for (QWidget* controllo : controlliIva) {
        controllo->setVisible(GestioneIva);
    }
    // Without the two VAT buttons cmdInfo closes their gap.
    cmdInfo->move(pixel(GestioneIva ? 5340 : 2820), cmdInfo->y());
    cmdEsporta->move(pixel(GestioneIva ? kEsportaConIva : kEsportaSenzaIva), cmdEsporta->y());
}

void frmVardello::closeEvent(QCloseEvent* evento) {
    if (copiaAllUscita_) {
        copiaAllUscita_ = false;  // once, even when the window is asked to close again
        copiaDiSicurezzaAllUscita(this);
    }
    evento->accept();
}

void frmVardello::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    dispongiFinestra();
}
