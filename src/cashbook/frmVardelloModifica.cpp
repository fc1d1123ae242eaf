// Entry editing: insert, change, delete, the row pick, the checks and the two modes of the
// edit area.
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTabBar>

#include "BusyPointer.h"
#include "CampiIvaMovimento.h"
#include "Colori.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "GrigliaCassa.h"
#include "ItalianDate.h"
#include "MessaggiCassa.h"
#include "ModelloCassa.h"
#include "MoneyText.h"
#include "MovimentiCassa.h"
#include "Programma.h"
#include "Services.h"
#include "ValutaBox.h"
#include "frmVardello.h"

namespace {

const QDate kPrimaData(1996, 1, 1);
const QDate kUltimaData(2028, 12, 31);
const QString kDataVuota = QStringLiteral("__/__/____");
const QString kOraVuota = QStringLiteral("__.__");

// A masked field reads only its separators when nothing has been typed.
bool campoVuoto(const QLineEdit* campo) {
    for (const QChar c : campo->text()) {
        if (c.isLetterOrNumber()) {
            return false;
        }
    }
    return true;
}

std::optional<QDate> dataDi(const QLineEdit* campo) {
    QString testo = campo->displayText();
    const qsizetype blank = testo.indexOf(QLatin1Char('_'));
    if (blank >= 0) {
        testo.truncate(blank);
    }
    return readItalianDate(testo, services::clock().today().year());
}

QString testoOVuoto(const QLineEdit* campo) {
    return campoVuoto(campo) ? QString() : campo->text();
}

// The masked time field shows "hh.mm"; the archive keeps "hh:mm".
QString oraPerCampo(QString ora) {
    return ora.replace(QLatin1Char(':'), QLatin1Char('.'));
}
QString oraPerArchivio(QString ora) {
    return ora.replace(QLatin1Char('.'), QLatin1Char(':'));
}

}  // namespace

bool frmVardello::verifica_campi_necessari() {
    const auto rifiuta = [this](const QString& testo, QWidget* campo) {
        services::ui().message(testo, titoloMessaggi(), Interaction::Icon::Exclamation);
        campo->setFocus();
        return false;
    };
    if (campoVuoto(txtDataRegistrazione)) {
        return rifiuta(QStringLiteral("La data di registrazione e' un campo obbligatorio!"),
                       txtDataRegistrazione);
    }
    const std::optional<QDate> data = dataDi(txtDataRegistrazione);
    if (!data || *data < kPrimaData || *data > kUltimaData) {
        return rifiuta(
            QStringLiteral("La data di registrazione e fuori dall'intervallo date gestito!"),
            txtDataRegistrazione);
    }
    if (cmbOperazione->currentText().trimmed().isEmpty()) {
        return rifiuta(QStringLiteral("La descrizione operazione e' un campo obbligatorio!"),
                       cmbOperazione);
    }
    // A date that cannot be read would be stored as no date at all.
    if (!campoVuoto(txtDataDoc) && !dataDi(txtDataDoc)) {
        return rifiuta(QStringLiteral("La data di competenza iva non e' una data valida!"),
                       txtDataDoc);
    }
    if (!ConvertiValuta(txtImponibileIva->text().trimmed()).isZero() && campoVuoto(txtDataDoc)) {
        return rifiuta(QStringLiteral("Se c'e' dell'Imponibile + Iva, la data di competenza iva è "
                                      "obbligatoria."),
                       txtDataDoc);
    }
    return true;
}

DatiMovimento frmVardello::datiDaCampi(bool nuovo) const {
    DatiMovimento d;
    d.dataRegistrazione = dataDi(txtDataRegistrazione).value_or(QDate());
    d.operazione = cmbOperazione->currentText().trimmed();
    d.entrate = ConvertiValuta(txtEntrate->text().trimmed());
    d.uscite = ConvertiValuta(txtUscite->text().trimmed());
    d.codiceIva = txtCodiceIva->text().trimmed();
    d.imponibileIva = ConvertiValuta(txtImponibileIva->text().trimmed());
    d.dataDocumento = campoVuoto(txtDataDoc) ? QDate() : dataDi(txtDataDoc).value_or(QDate());
    if (nuovo) {
        d.utente = programma().UtenteCorrente;
        d.dataIns = formatItalianDate(services::clock().today());
        d.oraIns = formatItalianTime(services::clock().time());
    } else {
        // A change keeps who inserted the entry, and when.
        d.utente = txtUtente->text();
        d.dataIns = testoOVuoto(txtDataIns);
        d.oraIns = oraPerArchivio(testoOVuoto(txtOraIns));
    }
    return d;
}

void frmVardello::modoInserimento() {
    RigaSelezionata = -1;
    for (QWidget* controllo : QList<QWidget*>{grdGesca, cmdCanc, cmbAnno, tabMesi}) {
        controllo->setEnabled(true);
    }
    cmdVar->setEnabled(false);
}

void frmVardello::modoVariazione() {
    // The month shown cannot change while an entry is loaded.
    for (QWidget* controllo : QList<QWidget*>{grdGesca, cmdCanc, cmbAnno, tabMesi}) {
        controllo->setEnabled(false);
    }
    cmdVar->setEnabled(true);
}

void frmVardello::segnalaErroreScrittura(const ErroreArchivio& errore, const QString& esito) {
    RefreshTotali();
    avvisa(erroreTabella(QStringLiteral("Vardello"), errore) + QStringLiteral("\n\n") + esito,
           titoloMessaggi(), Interaction::Icon::Exclamation);
}

void frmVardello::segnalaRispostaPersa(const ErroreArchivio& errore, const QString& esito) {
    avvisa(esito +
               QStringLiteral("\n\nLa risposta dell'archivio alla conferma era andata persa; "
                              "interrogato di nuovo, l'archivio conferma la registrazione."
                              "\n\n") +
               codiceEMotivo(errore.codice, errore.testo),
           titoloMessaggi(), Interaction::Icon::Information);
}

namespace {

const QString kNonRegistrato = QStringLiteral("Il movimento non è stato registrato.");
const QString kEsitoIgnoto = QStringLiteral(
    "Non è stato possibile chiedere all'archivio se il movimento è stato registrato: i campi "
    "lo conservano, e il prossimo inserimento dello stesso movimento controlla prima "
    "l'archivio, così non viene registrato due volte.");

QString registratoConNumero(qint64 numero) {
    return QStringLiteral("Il movimento è stato registrato con il numero %1.").arg(numero);
}

// The same movement typed again: every field but the insertion stamp.
bool stessoMovimento(const DatiMovimento& a, const DatiMovimento& b) {
    return a.dataRegistrazione == b.dataRegistrazione && a.operazione == b.operazione &&
           a.entrate == b.entrate && a.uscite == b.uscite && a.codiceIva == b.codiceIva &&
           a.imponibileIva == b.imponibileIva && a.dataDocumento == b.dataDocumento &&
           a.utente == b.utente;
}

}  // namespace

bool frmVardello::giaRegistrato(DatiMovimento& dati, qint64* numero) {
    if (!inserimentoIncerto_) {
        return false;
    }
    const auto [numeroIncerto, datiIncerti] = *inserimentoIncerto_;
    if (!stessoMovimento(dati, datiIncerti)) {
        inserimentoIncerto_.reset();
        return false;
    }
    BusyPointer attesa;
    const bool registrato = movimentoRegistrato(DbArchivio(), numeroIncerto, datiIncerti);
    inserimentoIncerto_.reset();
    if (registrato) {
        *numero = numeroIncerto;
        dati = datiIncerti;  // as stored, with its own insertion stamp
    }
    return registrato;
}

bool frmVardello::passaAlMeseDi(const QDate& data) {
    if (data.year() == meseSelezionato().year() && data.month() == meseSelezionato().month()) {
        return false;
    }
    avvisa(QStringLiteral("Registrazione appartenente ad un altro mese."), titoloMessaggi(),
           Interaction::Icon::Exclamation);
    return mostraMese(data);
}

void frmVardello::cmdIns_Click() {
    if (!verifica_campi_necessari()) {
        return;
    }
    DatiMovimento dati = datiDaCampi(true);
    qint64 numero = 0;
    ErroreArchivio rispostaPersa;
    try {
        if (giaRegistrato(dati, &numero)) {
            // The insert whose outcome was unknown went in: it is not stored a second time.
            avvisa(registratoConNumero(numero) +
                       QStringLiteral(" Non viene registrato una seconda volta."),
                   titoloMessaggi(), Interaction::Icon::Information);
        } else {
            BusyPointer attesa;
            numero = inserisciMovimento(DbArchivio(), dati, &rispostaPersa);
        }
    } catch (const EsitoIgnoto& errore) {
        inserimentoIncerto_.emplace(errore.numero, dati);
        RefreshTotali();
        avvisa(erroreTabella(QStringLiteral("Vardello"), errore) + QStringLiteral("\n\n") +
                   kEsitoIgnoto,
               titoloMessaggi(), Interaction::Icon::Exclamation);
        return;
    } catch (const ErroreArchivio& errore) {
        segnalaErroreScrittura(errore, kNonRegistrato);
        return;
    }
    if (!rispostaPersa.codice.isEmpty()) {
        segnalaRispostaPersa(rispostaPersa, registratoConNumero(numero));
    }
    // From here the movement is stored: a later step that fails says so.
    premessaCaricamento_ = registratoConNumero(numero) +
                           QStringLiteral(" Non è stato possibile ricaricare il mese:\n\n");
    TotaleEntrateMese += dati.entrate;
    TotaleUsciteMese += dati.uscite;
    if (!passaAlMeseDi(dati.dataRegistrazione)) {
        modello->inserisci(modello->movimenti(), rigaDi(numero, dati));
    }
    premessaCaricamento_.clear();
    grdGesca->selezionaRighe(modello->movimenti() - 1, modello->movimenti() - 1);
    grdGesca->scrollToBottom();
    ricordaDescrizione(registratoConNumero(numero));
    RefreshTotali();
    azzera_campi();
    modoInserimento();
    txtDataRegistrazione->setFocus();
}

void frmVardello::ricordaDescrizione(const QString& registrato) {
    try {
        campiIva->AggiungiConto();
    } catch (const ErroreArchivio& errore) {
        avvisa(registrato +
                   QStringLiteral(" Non è stato possibile ricordare la descrizione per "
                                  "l'elenco delle operazioni:\n\n") +
                   erroreTabella(QStringLiteral("Conti Utilizzati"), errore),
               titoloMessaggi(), Interaction::Icon::Exclamation);
    }
}

void frmVardello::cmdVar_Click() {
    const int primaVisibile = grdGesca->primaRigaVisibile();
    if (!verifica_campi_necessari()) {
        return;
    }
    const QString numeroTesto = txtNumProg->text().trimmed();
    if (numeroTesto.isEmpty()) {
        return;
    }
    MovimentoLetto letto = movimentoCaricato_;
    letto.numero = ConvertiValuta(numeroTesto).units() / Money::Scale;
    const DatiMovimento dati = datiDaCampi(false);
    const QString registrata =
        QStringLiteral("La variazione del movimento numero %1 è stata registrata.")
            .arg(letto.numero);
    ErroreArchivio rispostaPersa;
    try {
        BusyPointer attesa;
        if (!variaMovimento(DbArchivio(), letto, dati, &rispostaPersa)) {
            avvisa(QStringLiteral("Errore durante la variazione del record!"), titoloMessaggi(),
                   Interaction::Icon::Exclamation);
            return;
        }
    } catch (const EsitoIgnoto& errore) {
        segnalaErroreScrittura(
            errore, QStringLiteral("Non è stato possibile chiedere all'archivio se la variazione "
                                   "è stata registrata: ricaricare il mese per vederlo."));
        return;
    } catch (const ErroreArchivio& errore) {
        segnalaErroreScrittura(errore, QStringLiteral("La variazione non è stata registrata."));
        return;
    }
    if (!rispostaPersa.codice.isEmpty()) {
        segnalaRispostaPersa(rispostaPersa, registrata);
    }
    premessaCaricamento_ =
        registrata + QStringLiteral(" Non è stato possibile ricaricare il mese:\n\n");
    if (!passaAlMeseDi(dati.dataRegistrazione)) {
        CaricaMese(meseSelezionato());
    }
    premessaCaricamento_.clear();
    grdGesca->selezionaRighe(RigaSelezionata, RigaSelezionata);
    grdGesca->setPrimaRigaVisibile(primaVisibile);
    ricordaDescrizione(registrata);
    azzera_campi();
    modoInserimento();
    grdGesca->setFocus();
}

void frmVardello::cmdCanc_Click() {
    if (services::ui().message(
            QStringLiteral(
                "Attenzione! Tutte le righe selezionate verranno cancellate!\n\nProcedo?"),
            titoloMessaggi(), Interaction::Icon::Question, Interaction::Buttons::YesNo,
            Interaction::Answer::No) != Interaction::Answer::Yes) {
        return;
    }
    const int primaVisibile = grdGesca->primaRigaVisibile();
    const int prima = grdGesca->primaRigaSelezionata();
    const int ultima = grdGesca->ultimaRigaSelezionata();
    if (prima < 0) {
        return;
    }
    // From the bottom up, so that removing a row does not move the rows still to visit.
    QList<int> righe;
    QList<MovimentoLetto> letti;
    for (int riga = ultima; riga >= prima; --riga) {
        if (const RigaCassa* movimento = modello->movimento(riga)) {
            righe.append(riga);
            letti.append(movimentoLetto(*movimento));
        }
    }
    const QString cancellati =
        QStringLiteral("La cancellazione dei movimenti selezionati è stata registrata.");
    ErroreArchivio rispostaPersa;
    try {
        BusyPointer attesa;
        cancellaMovimenti(DbArchivio(), letti, &rispostaPersa);
    } catch (const EsitoIgnoto& errore) {
        RefreshTotali();
        avvisa(erroreTabella(QStringLiteral("Vardello"), errore) +
                   QStringLiteral("\n\nNon è stato possibile chiedere all'archivio se i "
                                  "movimenti sono stati cancellati: ricaricare il mese per "
                                  "vederlo."),
               QStringLiteral("Vardello"), Interaction::Icon::None);
        return;
    } catch (const ErroreArchivio& errore) {
        RefreshTotali();
        avvisa(erroreTabella(QStringLiteral("Vardello"), errore) +
                   QStringLiteral("\n\nNessun movimento è stato cancellato."),
               QStringLiteral("Vardello"), Interaction::Icon::None);
        return;
    }
    if (!rispostaPersa.codice.isEmpty()) {
        segnalaRispostaPersa(rispostaPersa, cancellati);
    }
    for (int riga : righe) {
        modello->rimuovi(riga);
    }
    premessaCaricamento_ =
        cancellati + QStringLiteral(" Non è stato possibile ricaricare il mese:\n\n");
    CaricaMese(meseSelezionato());
    premessaCaricamento_.clear();
    grdGesca->selezionaRighe(prima, prima);
    if (prima == ultima) {
        grdGesca->setPrimaRigaVisibile(primaVisibile);
    }
}

void frmVardello::grdGesca_RigaScelta(int riga) {
    const RigaCassa* movimento = modello->movimento(riga);
    if (!movimento) {
        return;  // the blank row
    }
    std::optional<QSqlRecord> record;
    try {
        BusyPointer attesa;
        record = leggiMovimento(DbArchivio(), movimento->numero());
    } catch (const ErroreArchivio& errore) {
        avvisa(QStringLiteral("Errore nella lettura dell'archivio Vardello \n\nCodice Errore : ") +
                   errore.codice,
               titoloMessaggi(), Interaction::Icon::Exclamation);
        return;
    }
    if (!record) {
        services::ui().beep();
        return;
    }
    const QSqlRecord& r = *record;
    movimentoCaricato_ = movimentoLetto(r);
    txtNumProg->setText(LeggiCampo(r, QStringLiteral("Numero Progressivo"), QString()));
    cmbOperazione->setEditText(LeggiCampo(r, QStringLiteral("Operazione"), QString()));
    txtDataRegistrazione->setText(LeggiCampo(r, QStringLiteral("Data Registrazione"), kDataVuota));
    txtEntrate->setText(LeggiCampo(r, QStringLiteral("Entrate"), QString()));
    txtUscite->setText(LeggiCampo(r, QStringLiteral("Uscite"), QString()));
    txtCodiceIva->setText(LeggiCampo(r, QStringLiteral("Codice Iva"), QString()));
    campiIva->EsciCodiceIva();
    txtImponibileIva->setText(LeggiCampo(r, QStringLiteral("Imponibile Iva"), QString()));
    txtDataDoc->setText(LeggiCampo(r, QStringLiteral("Data documento"), kDataVuota));
    txtUtente->setText(LeggiCampo(r, QStringLiteral("Utente"), QString()));
    txtDataIns->setText(LeggiCampo(r, QStringLiteral("DataIns"), kDataVuota));
    txtOraIns->setText(oraPerCampo(LeggiCampo(r, QStringLiteral("OraIns"), kOraVuota)));
    campiIva->CalcolaImposta();
    if (!txtCodiceIva->text().trimmed().isEmpty()) {
        AbilitaCampo(txtImponibileIva);
        AbilitaCampo(txtDataDoc);
    }
    RigaSelezionata = riga;
    modoVariazione();
}

void frmVardello::azzera_campi() {
    txtDataRegistrazione->setText(kDataVuota);
    cmbOperazione->setEditText(QString());
    txtUscite->setText(QString());
    txtEntrate->setText(QString());
    txtNumProg->clear();
    txtCodiceIva->clear();
    campiIva->EsciCodiceIva();
    txtImponibileIva->setText(QString());
    txtImpostaIva->setText(QString());
    txtDataDoc->setText(kDataVuota);
    txtUtente->clear();
    txtDataIns->setText(kDataVuota);
    txtOraIns->setText(kOraVuota);
}

void frmVardello::entraDataRegistrazione() {
    if (campoVuoto(txtDataRegistrazione)) {
        txtDataRegistrazione->setText(formatItalianDate(services::clock().today()));
    }
    EntraCampoData(txtDataRegistrazione);
}

void frmVardello::esciDataRegistrazione() {
    impostaSfondo(txtDataRegistrazione, coloreNormale());
    ControllaData(txtDataRegistrazione);
}

bool frmVardello::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto != cmbOperazione ||
        (evento->type() != QEvent::FocusIn && evento->type() != QEvent::FocusOut)) {
        return QWidget::eventFilter(oggetto, evento);
    }
    // Focus that comes and goes with the window's activation or a popup list is no entry
    // into or exit from the field.
    const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
    if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason) {
        return QWidget::eventFilter(oggetto, evento);
    }
    if (evento->type() == QEvent::FocusIn) {
        EntraCampoSeleziona(cmbOperazione);
    } else {
        EsciCampo(cmbOperazione);
    }
    return QWidget::eventFilter(oggetto, evento);
}
