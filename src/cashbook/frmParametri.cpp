#include "frmParametri.h"
#include "CentraFinestra.h"

#include <QApplication>
#include <QCheckBox>

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "BusyPointer.h"
#include "Caratteri.h"
#include "Colori.h"
#include "CopieSicurezza.h"
#include "DatiCondivisi.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "ImmaginiPulsanti.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "Services.h"
#include "clsRicerca.h"
#include "frmParametriDati.h"

namespace {

const QString kStampaSaldo = QStringLiteral("Stampa con indicazione saldo progressivo");
const QString kTitoloStampa = QStringLiteral("Titolo stampa");

}  // namespace

frmParametri::frmParametri(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmParametri"));
    setWindowTitle(QStringLiteral("Parametri"));
    costruisciFinestra();
    Form_Load();
}

void frmParametri::costruisciFinestra() {
    const QFont fisso = carattereFisso();

    auto* corniceIva = new QGroupBox(QStringLiteral("Parametri gestione I.V.A."), this);
    corniceIva->setGeometry(10, 8, 420, 120);
    chkGestioneIva = new QCheckBox(QStringLiteral("Attiva gestione I.V.A."), corniceIva);
    chkGestioneIva->setObjectName(QStringLiteral("chkGestioneIva"));
    chkGestioneIva->move(12, 24);
    chkIvaTrimestrale = new QCheckBox(QStringLiteral("Iva trimestrale"), corniceIva);
    chkIvaTrimestrale->setObjectName(QStringLiteral("chkIvaTrimestrale"));
    chkIvaTrimestrale->move(220, 24);
    (new QLabel(QStringLiteral("Codice IVA proposto"), corniceIva))->move(12, 62);
    txtCodiceIvaStd = new QLineEdit(corniceIva);
    txtCodiceIvaStd->setObjectName(QStringLiteral("txtCodiceIvaStd"));
    txtCodiceIvaStd->setFont(fisso);
    txtCodiceIvaStd->setMaxLength(3);
    txtCodiceIvaStd->setGeometry(12, 80, 50, 21);
    txtDescrizioneIva = new QLineEdit(corniceIva);
    txtDescrizioneIva->setObjectName(QStringLiteral("txtDescrizioneIva"));
    txtDescrizioneIva->setMaxLength(20);
    txtDescrizioneIva->setGeometry(70, 80, 200, 21);
    CampoVisualizzazione(txtDescrizioneIva);

    auto* corniceStampe = new QGroupBox(QStringLiteral("Parametri stampe"), this);
    corniceStampe->setGeometry(10, 136, 420, 100);
    chkStampaSaldo =
        new QCheckBox(QStringLiteral("Stampa con indicazione saldo progressivo"), corniceStampe);
    chkStampaSaldo->setObjectName(QStringLiteral("chkStampaSaldo"));
    chkStampaSaldo->move(12, 24);
    (new QLabel(QStringLiteral("Titolo stampa"), corniceStampe))->move(12, 52);
    txtTitoloStampa = new QLineEdit(corniceStampe);
    txtTitoloStampa->setObjectName(QStringLiteral("txtTitoloStampa"));
    txtTitoloStampa->setFont(fisso);
    txtTitoloStampa->setMaxLength(255);
    txtTitoloStampa->setGeometry(12, 70, 396, 21);

    auto* corniceCopie = new QGroupBox(QStringLiteral("Copie di sicurezza"), this);
    corniceCopie->setGeometry(10, 244, 420, 100);
    (new QLabel(QStringLiteral("Cartella delle copie (vuota: quella dell'utente)"), corniceCopie))
        ->move(12, 24);
    txtCartellaCopie = new QLineEdit(corniceCopie);
    txtCartellaCopie->setObjectName(QStringLiteral("txtCartellaCopie"));
    txtCartellaCopie->setPlaceholderText(copie::cartellaCopie({}));
    txtCartellaCopie->setGeometry(12, 42, 396, 21);
    chkCopieServer =
        new QCheckBox(QStringLiteral("Copia in un file anche un archivio su server"), corniceCopie);
    chkCopieServer->setObjectName(QStringLiteral("chkCopieServer"));
    chkCopieServer->move(12, 72);
    chkCopieServer->setChecked(true);  // the default while nothing is stored

    auto* eventi = new EventiCampo(this);
    eventi->collega(txtCodiceIvaStd, {[this] { EntraCampoSeleziona(txtCodiceIvaStd); },
                                      [this] { txtCodiceIvaStd_LostFocus(); },
                                      [this](QKeyEvent* tasto) {
                                          if (tasto->key() != Qt::Key_F4) {
                                              return false;
                                          }
                                          CercaCodiceIva();
                                          return true;
                                      }});
    for (QLineEdit* campo : {txtTitoloStampa, txtCartellaCopie}) {
        eventi->collega(campo, {[campo] { EntraCampoSeleziona(campo); },
                                [campo] { EsciCampo(campo); },
                                {}});
    }

    cmdAzzeraArchivi = new QPushButton(QStringLiteral("Azzera archivi"), this);
    cmdAzzeraArchivi->setObjectName(QStringLiteral("cmdAzzeraArchivi"));
    cmdAzzeraArchivi->setGeometry(10, 356, 120, 32);
    cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setIcon(immaginePulsante(QStringLiteral("OK")));
    cmdOk->setGeometry(330, 356, 46, 32);
    cmdAnnulla = new QPushButton(this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setIcon(immaginePulsante(QStringLiteral("ANNULLA")));
    cmdAnnulla->setToolTip(QStringLiteral("Esci"));
    cmdAnnulla->setGeometry(384, 356, 46, 32);
    // The window has no default button: Enter in a field confirms nothing.
    for (QPushButton* pulsante : {cmdAzzeraArchivi, cmdOk, cmdAnnulla}) {
        pulsante->setAutoDefault(false);
    }

    connect(chkGestioneIva, &QCheckBox::clicked, this, &frmParametri::chkGestioneIva_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmParametri::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdAzzeraArchivi, &QPushButton::clicked, this, &frmParametri::cmdAzzeraArchivi_Click);

    setFixedSize(440, 398);
}

void frmParametri::segnalaErrore(const QString& testo) {
    services::ui().message(testo, windowTitle().toUpper(), Interaction::Icon::Exclamation);
}

// Every step runs even when an earlier one fails; each failure is told.
void frmParametri::Form_Load() {
    CentraFinestra(this);
    try {
        std::optional<Parametri> letti;
        {
            BusyPointer attesa;
            letti = leggiParametri(DbArchivio());
        }
        rsParametri = letti;
        if (rsParametri) {
            chkGestioneIva->setChecked(rsParametri->GestioneIva);
            txtCodiceIvaStd->setText(rsParametri->CodiceIvaStandard);
            txtCodiceIvaStd_LostFocus();
            chkIvaTrimestrale->setChecked(rsParametri->IvaTrimestrale);
        }
    } catch (const ErroreArchivio& e) {
        segnalaErrore(QStringLiteral("Errore non gestito. Codice: ") + e.codice);
    }
    try {
        BusyPointer attesa;
        bool numero = false;
        const double saldo = LeggiRiferimento(DbArchivio(), kStampaSaldo, 0).toDouble(&numero);
        chkStampaSaldo->setChecked(numero && saldo == 1);
        txtTitoloStampa->setText(LeggiRiferimento(DbArchivio(), kTitoloStampa, QString()));
        const copie::Impostazioni copieSicurezza = copie::leggiImpostazioni(DbArchivio());
        txtCartellaCopie->setText(copieSicurezza.cartella);
        chkCopieServer->setChecked(copieSicurezza.ancheServer);
    } catch (const ErroreArchivio& e) {
        segnalaErrore(QStringLiteral("Errore non gestito. Codice: ") + e.codice);
    }
    chkGestioneIva_Click();
}

void frmParametri::chkGestioneIva_Click() {
    if (chkGestioneIva->isChecked()) {
        AbilitaCampo(txtCodiceIvaStd);
        chkIvaTrimestrale->setEnabled(true);
        return;
    }
    txtCodiceIvaStd->clear();
    txtCodiceIvaStd_LostFocus();
    DisabilitaCampo(txtCodiceIvaStd);
    chkIvaTrimestrale->setChecked(false);
    chkIvaTrimestrale->setEnabled(false);
}

void frmParametri::CercaCodiceIva() {
    programma().RicercaInCorso = true;
    impostaSfondo(txtCodiceIvaStd, QApplication::palette().color(QPalette::Base));
    txtCodiceIvaStd->setText(clsRicerca().F4CodIva(txtCodiceIvaStd->text(),
                                                   programma().PercorsoArchivio, QString(), this));
    programma().RicercaInCorso = false;
    txtCodiceIvaStd_LostFocus();
    txtCodiceIvaStd->setFocus();
    EntraCampoSeleziona(txtCodiceIvaStd);
}

void frmParametri::txtCodiceIvaStd_LostFocus() {
    if (programma().RicercaInCorso) {
        return;
    }
    // Letters search the codes by description.
    if (ContieneNonCifre(txtCodiceIvaStd->text())) {
        CercaCodiceIva();
        return;
    }
    EsciCampo(txtCodiceIvaStd);
    const QString testo = txtCodiceIvaStd->text().trimmed();
    if (testo.isEmpty()) {
        txtDescrizioneIva->clear();
        return;
    }
    const QString codice = formatNumber(testo.toLongLong(), QStringLiteral("000"));
    txtCodiceIvaStd->setText(codice);
    std::optional<QString> descrizione;
    try {
        BusyPointer attesa;
        descrizione = descrizioneCodiceIva(DbArchivio(), codice);
    } catch (const ErroreArchivio& e) {
        segnalaErrore(QStringLiteral("Errore non gestito. Codice: ") + e.codice);
        return;
    }
    if (!descrizione) {
        // No description beside a code that does not exist.
        txtDescrizioneIva->clear();
        segnalaErrore(QStringLiteral("Codice Iva inesistente!"));
        txtCodiceIvaStd->setFocus();
        return;
    }
    txtDescrizioneIva->setText(*descrizione);
}

void frmParametri::cmdOk_Click() {
    const Parametri nuovi{chkGestioneIva->isChecked(), txtCodiceIvaStd->text(),
                          chkIvaTrimestrale->isChecked()};
    archivio::Errore errore;
    bool scritti = false;
    {
        BusyPointer attesa;
        scritti = scriviParametri(DbArchivio(), nuovi, &errore);
    }
    if (!scritti) {
        services::ui().message(QStringLiteral("Errore non gestito, Codice: ") + errore.codice,
                               windowTitle().toUpper(), Interaction::Icon::Critical);
        return;
    }
    rsParametri = nuovi;
    // A named value that cannot be stored has been told by ScriviRiferimento; the window stays
    // open so that nothing looks stored that is not.
    if (ScriviRiferimento(DbArchivio(), kStampaSaldo, chkStampaSaldo->isChecked() ? 1 : 0) &&
        ScriviRiferimento(DbArchivio(), kTitoloStampa, txtTitoloStampa->text()) &&
        ScriviRiferimento(DbArchivio(), copie::kRiferimentoCartella,
                          txtCartellaCopie->text().trimmed()) &&
        ScriviRiferimento(DbArchivio(), copie::kRiferimentoServer,
                          chkCopieServer->isChecked() ? 1 : 0)) {
        accept();
    }
}

void frmParametri::cmdAzzeraArchivi_Click() {
    if (services::ui().message(
            QStringLiteral("Si desidera proseguire cancellando tutte le registrazioni?"),
            QStringLiteral("ATTENZIONE: Operazione irreversibile"), Interaction::Icon::Question,
            Interaction::Buttons::YesNo, Interaction::Answer::No) != Interaction::Answer::Yes) {
        return;
    }
    // A copy of the whole archive comes first: without a verified copy nothing is deleted.
    QString copia;
    QString erroreCopia;
    bool copiato = false;
    {
        BusyPointer attesa;
        copiato = copiaPrimaDiAzzerare(programma().PercorsoArchivio, &copia, &erroreCopia);
    }
    if (!copiato) {
        services::ui().message(
            QStringLiteral("Azzeramento non eseguito: la copia di sicurezza dell'archivio in "
                           "'%1' non è riuscita e nessuna registrazione è stata cancellata."
                           "\n\n%2")
                .arg(copia, erroreCopia),
            windowTitle(), Interaction::Icon::Critical);
        return;
    }
    archivio::Errore errore;
    bool azzerati = false;
    {
        BusyPointer attesa;
        azzerati = azzeraArchivi(DbArchivio(), &errore);
    }
    if (!azzerati) {
        services::ui().message(
            QStringLiteral("Azzeramento non eseguito: nessuna registrazione è stata "
                           "cancellata.\n\nCodice errore = ") +
                errore.codice,
            windowTitle(), Interaction::Icon::Critical);
        return;
    }
    services::ui().message(
        QStringLiteral("Azzeramento eseguito con successo.\n\nL'archivio com'era prima "
                       "dell'azzeramento è nella copia:\n%1")
            .arg(copia),
        windowTitle(), Interaction::Icon::Exclamation);
}
