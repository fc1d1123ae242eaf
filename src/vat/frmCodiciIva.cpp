#include "frmCodiciIva.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "Archivio.h"
#include "BusyPointer.h"
#include "Caratteri.h"
#include "CentraFinestra.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "ImmaginiPulsanti.h"
#include "MoneyText.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "Services.h"
#include "Sql.h"
#include "TastiCampo.h"
#include "clsRicerca.h"

namespace {

const QString kCaption = QStringLiteral("Codici IVA");
const QString kDati = QStringLiteral("DATI");

using Icon = Interaction::Icon;
using Buttons = Interaction::Buttons;
using Answer = Interaction::Answer;

Interaction::Answer avvisa(const QString& testo, const QString& titolo, Icon icona,
                           Buttons pulsanti = Buttons::Ok,
                           std::optional<Answer> predefinita = std::nullopt) {
    return services::ui().message(testo, titolo, icona, pulsanti, predefinita);
}

QLineEdit* campoTesto(QWidget* parent, const QString& nome, int lunghezza) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(nome);
    campo->setMaxLength(lunghezza);
    campo->setFont(carattereFisso());
    return campo;
}

QPushButton* pulsante(QWidget* parent, const QString& nome, const QString& suggerimento,
                      const QString& immagine, int x) {
    auto* cmd = new QPushButton(parent);
    cmd->setObjectName(nome);
    cmd->setToolTip(suggerimento);
    cmd->setIcon(immaginePulsante(immagine));
    cmd->setIconSize(QSize(24, 24));
    cmd->setGeometry(x, 6, 40, 36);
    return cmd;
}

QRadioButton* opzione(QWidget* parent, const QString& nome, const QString& testo, int y) {
    auto* opt = new QRadioButton(testo, parent);
    opt->setObjectName(nome);
    opt->setGeometry(12, y, 220, 24);
    return opt;
}

}  // namespace

frmCodiciIva::frmCodiciIva(QWidget* parent) : QDialog(parent) {
    costruisciFinestra();
    collegaEventi();
    CentraFinestra(this);
    DatiModificati = false;
    RegistraStatoControlli(this);
    txtCodiceIva->setFocus();
}

void frmCodiciIva::costruisciFinestra() {
    setWindowTitle(kCaption);
    setFixedSize(430, 262);

    vsSfondo = new QFrame(this);
    vsSfondo->setObjectName(QStringLiteral("vsSfondo"));
    vsSfondo->setGeometry(0, 0, 430, 208);

    fraCodice = new QGroupBox(vsSfondo);
    fraCodice->setObjectName(QStringLiteral("fraCodice"));
    fraCodice->setGeometry(8, 6, 414, 76);
    lblCod = new QLabel(QStringLiteral("Codice I.V.A."), fraCodice);
    lblCod->setObjectName(QStringLiteral("lblCod"));
    lblCod->setGeometry(12, 12, 110, 24);
    txtCodiceIva = campoTesto(fraCodice, QStringLiteral("txtCodiceIva"), 3);
    txtCodiceIva->setGeometry(128, 12, 50, 24);
    lblDes = new QLabel(QStringLiteral("Descrizione"), fraCodice);
    lblDes->setObjectName(QStringLiteral("lblDes"));
    lblDes->setGeometry(12, 42, 110, 24);
    txtDescrizioneIva = campoTesto(fraCodice, QStringLiteral("txtDescrizioneIva"), 20);
    txtDescrizioneIva->setGeometry(128, 42, 270, 24);

    fraAliquota = new QGroupBox(QStringLiteral("Aliquota"), vsSfondo);
    fraAliquota->setObjectName(QStringLiteral("fraAliquota"));
    fraAliquota->setGeometry(8, 88, 150, 62);
    txtAliquota = campoTesto(fraAliquota, QStringLiteral("txtAliquota"), 6);
    txtAliquota->setAlignment(Qt::AlignRight);
    txtAliquota->setGeometry(12, 26, 90, 24);
    lblPercento = new QLabel(QStringLiteral("%"), fraAliquota);
    lblPercento->setObjectName(QStringLiteral("lblPercento"));
    lblPercento->setGeometry(108, 26, 20, 24);

    fraFlag = new QGroupBox(vsSfondo);
    fraFlag->setObjectName(QStringLiteral("fraFlag"));
    fraFlag->setGeometry(166, 88, 256, 110);
    optFlagArt8 = opzione(fraFlag, QStringLiteral("optFlagArt8"),
                          QStringLiteral("Flag art. 8, 8 bis, 9"), 10);
    optFlagFattureEsenti = opzione(fraFlag, QStringLiteral("optFlagFattureEsenti"),
                                   QStringLiteral("Flag fatture esenti"), 42);
    optFlagAltreEsenzioni = opzione(fraFlag, QStringLiteral("optFlagAltreEsenzioni"),
                                    QStringLiteral("Flag altre esenzioni"), 74);

    pnlControlli = new QFrame(this);
    pnlControlli->setObjectName(QStringLiteral("pnlControlli"));
    pnlControlli->setFrameShape(QFrame::StyledPanel);
    pnlControlli->setGeometry(0, 212, 430, 50);
    cmdPre = pulsante(pnlControlli, QStringLiteral("cmdPre"),
                      QStringLiteral("Al record precedente"), QStringLiteral("PRECEDENTE"), 8);
    cmdSuc = pulsante(pnlControlli, QStringLiteral("cmdSuc"),
                      QStringLiteral("Al record successivo"), QStringLiteral("SUCCESSIVO"), 52);
    cmdRipristina = pulsante(pnlControlli, QStringLiteral("cmdRipristina"),
                             QStringLiteral("Annulla le variazioni eseguite"),
                             QStringLiteral("RIPRISTINA"), 290);
    cmdNuovo =
        pulsante(pnlControlli, QStringLiteral("cmdNuovo"),
                 QStringLiteral("Salva e pulisce la maschera"), QStringLiteral("NUOVO"), 334);
    cmdCancella = pulsante(pnlControlli, QStringLiteral("cmdCancella"),
                           QStringLiteral("Cancella il record"), QStringLiteral("CANCELLA"), 378);
    cmdNuovo->setDefault(true);

    // The save button comes first after the fields, so Tab from the rate and Enter save the
    // record instead of browsing away from it.
    QWidget* ordine[] = {txtCodiceIva,
                         txtDescrizioneIva,
                         txtAliquota,
                         optFlagArt8,
                         optFlagFattureEsenti,
                         optFlagAltreEsenzioni,
                         cmdNuovo,
                         cmdPre,
                         cmdSuc,
                         cmdRipristina,
                         cmdCancella};
    for (std::size_t i = 1; i < std::size(ordine); ++i) {
        setTabOrder(ordine[i - 1], ordine[i]);
    }
}

void frmCodiciIva::collegaEventi() {
    eventi_ = new EventiCampo(this);
    eventi_->collega(txtCodiceIva, {[this] { codiceEntra(); }, [this] { codiceEsce(); },
                                    [this](QKeyEvent* e) { return codiceTasto(e); }});
    eventi_->collega(txtDescrizioneIva,
                     {[this] { descrizioneEntra(); }, [this] { descrizioneEsce(); }, {}});
    eventi_->collega(txtAliquota, {[this] { aliquotaEntra(); }, [this] { aliquotaEsce(); },
                                   [this](QKeyEvent* e) { return aliquotaTasto(e); }});
    // The code and the rate come from the keyboard only, through their key rules.
    rifiutaIncolla(txtCodiceIva);
    rifiutaIncolla(txtAliquota);

    connect(txtCodiceIva, &QLineEdit::textChanged, this, &frmCodiciIva::codiceCambia);
    connect(txtDescrizioneIva, &QLineEdit::textChanged, this, &frmCodiciIva::modificato);
    connect(txtAliquota, &QLineEdit::textChanged, this, &frmCodiciIva::modificato);
    for (QRadioButton* opt : {optFlagArt8, optFlagFattureEsenti, optFlagAltreEsenzioni}) {
        connect(opt, &QRadioButton::clicked, this, &frmCodiciIva::modificato);
        eventi_->collega(opt, {{}, {}, [this, opt](QKeyEvent* e) { return opzioneTasto(opt, e); }});
    }
    connect(cmdNuovo, &QPushButton::clicked, this, &frmCodiciIva::cmdNuovo_Click);
    connect(cmdCancella, &QPushButton::clicked, this, &frmCodiciIva::cmdCancella_Click);
    connect(cmdRipristina, &QPushButton::clicked, this, &frmCodiciIva::cmdRipristina_Click);
    connect(cmdPre, &QPushButton::clicked, this, [this] { sfoglia(false); });
    connect(cmdSuc, &QPushButton::clicked, this, [this] { sfoglia(true); });
}

// ---- The code field: key-entry state ----

void frmCodiciIva::codiceEntra() {
    BloccaMaschera(txtCodiceIva->objectName(), txtDescrizioneIva->objectName(), this);
    impostaSfondo(txtCodiceIva, coloreModifica());
    Aggiorna_Pulsanti();
}

void frmCodiciIva::codiceEsce() {
    impostaSfondo(txtCodiceIva, coloreNormale());
}

bool frmCodiciIva::codiceTasto(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4) {
        apriRicerca();
        return true;
    }
    const QString testo = event->text();
    // Enter, Esc and Tab belong to the window's buttons and to the focus chain.
    if (testo.isEmpty() || testo == QLatin1String("\r") || testo == QLatin1String("\t") ||
        testo == QLatin1String("\x1b")) {
        return false;
    }
    int carattere = testo.at(0).unicode();
    FiltroCifre(carattere);
    return carattere == 0;
}

void frmCodiciIva::codiceCambia() {
    if (riscritturaCodice_) {
        return;
    }
    setTag(this, QString());
    DatiModificati = true;
    codiceEliminato_.clear();
}

void frmCodiciIva::apriRicerca() {
    impostaSfondo(txtCodiceIva, QApplication::palette().color(QPalette::Base));
    programma().RicercaInCorso = true;
    const QString scelto =
        clsRicerca().F4CodIva(txtCodiceIva->text(), programma().PercorsoArchivio, QString(), this);
    txtCodiceIva->setText(scelto);
    programma().RicercaInCorso = false;
    activateWindow();  // the lookup is gone: this window takes the keyboard back
    txtDescrizioneIva->setFocus();
}

// ---- The description field: the way into data-entry state ----

void frmCodiciIva::descrizioneEntra() {
    const QString codice = txtCodiceIva->text().trimmed();
    if (codice != txtCodiceIva->text()) {
        txtCodiceIva->setText(codice);
    }
    if (codice.isEmpty()) {
        services::ui().beep();
        tornaAlCodice();
        return;
    }
    if (tag(this) != kDati) {
        SbloccaMaschera(txtCodiceIva->objectName(), txtDescrizioneIva->objectName(), this);
        Carica_Record();
    }
    if (QApplication::focusWidget() != txtCodiceIva) {
        impostaSfondo(txtDescrizioneIva, coloreModifica());
    }
}

void frmCodiciIva::descrizioneEsce() {
    impostaSfondo(txtDescrizioneIva, coloreNormale());
}

void frmCodiciIva::tornaAlCodice() {
    const QScopedValueRollback ritorno(ritornoAlCodice_, true);
    txtCodiceIva->setEnabled(true);
    txtCodiceIva->setFocus();
}

void frmCodiciIva::Carica_Record() {
    {
        // Only the form of the code changes: the record to load stays the same.
        const QScopedValueRollback riscrittura(riscritturaCodice_, true);
        txtCodiceIva->setText(
            formatNumber(ConvertiValuta(txtCodiceIva->text()), QStringLiteral("000")));
    }
    if (txtCodiceIva->text() == QLatin1String("000")) {
        avvisa(QStringLiteral("Codice non valido!"), QStringLiteral("CODICI IVA - Codice"),
               Icon::Exclamation);
        txtCodiceIva->selectAll();
        tornaAlCodice();
        return;
    }
    txtCodiceIva->setEnabled(false);

    std::optional<QSqlRecord> record;
    QSqlError errore;
    {
        BusyPointer clessidra;
        QSqlQuery q(DbArchivio());
        if (eseguiSql(q, QStringLiteral(R"(SELECT "Descrizione Iva", "Aliquota", "Flag Articolo 8",
                                          "Flag Fatture Esenti", "Flag Altre Esenzioni"
                                          FROM "Codici Iva" WHERE "Codice Iva" = ?)"),
                      {txtCodiceIva->text().trimmed()}) &&
            q.next()) {
            record = q.record();
        }
        errore = q.lastError();
    }
    if (errore.isValid()) {
        avvisa(QStringLiteral("Se e' verificato un ERRORE NON GESTITO!\n\nCodice di errore: ") +
                   archivio::codiceErrore(errore),
               QStringLiteral("Attenzione!"), Icon::Critical);
        tornaAlCodice();  // nothing was loaded: back to the key
        return;
    }

    RecordEsistente = record.has_value();
    cmdCancella->setEnabled(RecordEsistente);
    if (record) {
        txtDescrizioneIva->setText(LeggiCampo(*record, QStringLiteral("Descrizione Iva"), {}));
        txtAliquota->setText(LeggiCampo(*record, QStringLiteral("Aliquota"), {}));
        azzeraOpzioni();
        const std::pair<QRadioButton*, QString> flag[] = {
            {optFlagArt8, QStringLiteral("Flag Articolo 8")},
            {optFlagFattureEsenti, QStringLiteral("Flag Fatture Esenti")},
            {optFlagAltreEsenzioni, QStringLiteral("Flag Altre Esenzioni")}};
        for (const auto& [opt, campo] : flag) {
            if (!ConvertiValuta(LeggiCampo(*record, campo, QStringLiteral("0"))).isZero()) {
                opt->setChecked(true);
            }
        }
        DatiModificati = false;
    }
    abilitaOpzioni(ConvertiValuta(txtAliquota->text()).isZero());
    impostaSfondo(txtCodiceIva, coloreDisabilitato());
    Aggiorna_Pulsanti();
}

// ---- The rate field ----

void frmCodiciIva::aliquotaEntra() {
    EntraCampoNumerico(txtAliquota);
}

bool frmCodiciIva::aliquotaTasto(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;
        default:
            break;
    }
    int tasto = event->key();
    KeyDownNumerico(txtAliquota, tasto);
    if (tasto == 0) {
        return true;
    }
    const QString testo = event->text();
    if (testo.isEmpty()) {
        return false;
    }
    int carattere = testo.at(0).unicode();
    KeyPressNumerico(txtAliquota, carattere);
    return carattere == 0;
}

void frmCodiciIva::aliquotaEsce() {
    if (ritornoAlCodice_) {
        // The record was stored, deleted or dropped: no rate is left to check.
        impostaSfondo(txtAliquota, coloreNormale());
        return;
    }
    EsciCampoPercentuale(txtAliquota);
    const Money aliquota = ConvertiValuta(txtAliquota->text());
    if (!aliquotaAccettata(aliquota)) {
        return;
    }
    abilitaOpzioni(aliquota.isZero());
    if (aliquota.isZero()) {
        optFlagArt8->setFocus();
    }
}

bool frmCodiciIva::aliquotaAccettata(Money aliquota) {
    if (aliquota >= Money() && aliquota <= Money::fromWhole(100)) {
        return true;
    }
    avvisa(QStringLiteral("VALORE ERRATO!"), QStringLiteral("CODICI IVA - Aliquota"),
           Icon::Exclamation);
    txtAliquota->setEnabled(true);
    txtAliquota->selectAll();
    txtAliquota->setFocus();
    return false;
}

bool frmCodiciIva::opzioneTasto(QRadioButton* opt, QKeyEvent* event) {
    int passo = 0;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            passo = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            passo = 1;
            break;
        default:
            return false;
    }
    // As option buttons do: the arrow moves to the next option of the group and chooses it,
    // also when none was chosen yet (Qt's own arrows would only move the focus then).
    const QList<QRadioButton*> opzioni = {optFlagArt8, optFlagFattureEsenti, optFlagAltreEsenzioni};
    const qsizetype n = opzioni.size();
    for (qsizetype i = 1; i < n; ++i) {
        QRadioButton* altra = opzioni[(opzioni.indexOf(opt) + passo * i + n) % n];
        if (altra->isEnabled()) {
            altra->setFocus(Qt::TabFocusReason);
            altra->click();
            break;
        }
    }
    return true;
}

void frmCodiciIva::azzeraOpzioni() {
    // Grouped options refuse to be all unset while they exclude one another.
    for (QRadioButton* opt : {optFlagArt8, optFlagFattureEsenti, optFlagAltreEsenzioni}) {
        opt->setAutoExclusive(false);
        opt->setChecked(false);
        opt->setAutoExclusive(true);
    }
}

void frmCodiciIva::abilitaOpzioni(bool abilita) {
    if (!abilita) {
        azzeraOpzioni();
    }
    for (QRadioButton* opt : {optFlagArt8, optFlagFattureEsenti, optFlagAltreEsenzioni}) {
        opt->setEnabled(abilita);
    }
}

// ---- Checking, storing and clearing ----

bool frmCodiciIva::verifica_campi_necessari() {
    if (txtCodiceIva->text().isEmpty()) {
        avvisa(QStringLiteral("Il CODICE IVA e' un campo necessario!"), kCaption,
               Icon::Exclamation);
        txtCodiceIva->setFocus();
        return false;
    }
    if (txtDescrizioneIva->text().isEmpty()) {
        avvisa(QStringLiteral("La DESCRIZIONE IVA e' un campo necessario!"), kCaption,
               Icon::Exclamation);
        txtDescrizioneIva->setFocus();
        return false;
    }
    // A rate typed but not yet checked (Enter pressed in the field) is checked here.
    return aliquotaAccettata(ConvertiValuta(txtAliquota->text()));
}

bool frmCodiciIva::Salva_Record() {
    const QString codice = txtCodiceIva->text().trimmed();
    const Money aliquota = ConvertiValuta(txtAliquota->text());
    // Only a zero rate carries an exemption.
    auto flag = [&](const QRadioButton* opt) {
        return aliquota.isZero() && opt->isChecked() ? 1 : 0;
    };
    const QVariantList valori = {txtDescrizioneIva->text(),   valoreSql(aliquota),
                                 flag(optFlagArt8),           flag(optFlagFattureEsenti),
                                 flag(optFlagAltreEsenzioni), codice};
    QSqlError errore;
    {
        QSqlQuery q(DbArchivio());
        bool scritto = false;
        if (RecordEsistente) {
            scritto = eseguiSql(q, QStringLiteral(R"(UPDATE "Codici Iva" SET "Descrizione Iva" = ?,
                                   "Aliquota" = ?, "Flag Articolo 8" = ?, "Flag Fatture Esenti" = ?,
                                   "Flag Altre Esenzioni" = ? WHERE "Codice Iva" = ?)"),
                                valori) &&
                      q.numRowsAffected() > 0;
        }
        // A new code, or one that another computer deleted meanwhile, is added.
        if (!scritto && !q.lastError().isValid()) {
            // The same new code saved meanwhile by another computer is updated, not refused.
            eseguiSql(q, QStringLiteral(R"(INSERT INTO "Codici Iva" ("Descrizione Iva", "Aliquota",
                          "Flag Articolo 8", "Flag Fatture Esenti", "Flag Altre Esenzioni",
                          "Codice Iva") VALUES (?, ?, ?, ?, ?, ?)
                          ON CONFLICT ("Codice Iva") DO UPDATE SET
                          "Descrizione Iva" = excluded."Descrizione Iva",
                          "Aliquota" = excluded."Aliquota",
                          "Flag Articolo 8" = excluded."Flag Articolo 8",
                          "Flag Fatture Esenti" = excluded."Flag Fatture Esenti",
                          "Flag Altre Esenzioni" = excluded."Flag Altre Esenzioni")"),
                      valori);
        }
        errore = q.lastError();
    }
    if (errore.isValid()) {
        services::ui().message(QStringLiteral("Codice errore = ") + archivio::codiceErrore(errore),
                               QStringLiteral("Errore!"), Icon::Critical);
        tornaAlCodice();
        return false;
    }
    LiberaBlocchi(DbArchivio());
    RecordEsistente = true;
    DatiModificati = false;
    return true;
}

void frmCodiciIva::azzera_campi() {
    txtCodiceIva->clear();
    txtDescrizioneIva->clear();
    txtAliquota->clear();
    azzeraOpzioni();
}

void frmCodiciIva::Aggiorna_Pulsanti() {
    const std::pair<QPushButton*, QString> pulsanti[] = {
        {cmdRipristina, QStringLiteral("RIPRISTINA")},
        {cmdNuovo, QStringLiteral("NUOVO")},
        {cmdCancella, QStringLiteral("CANCELLA")}};
    for (const auto& [cmd, nome] : pulsanti) {
        const QIcon immagine =
            immaginePulsante(cmd->isEnabled() ? nome : nome + QStringLiteral("_D"));
        if (immagine.isNull()) {
            return;  // a missing picture leaves the buttons as they are
        }
        cmd->setIcon(immagine);
    }
}

// ---- Buttons ----

void frmCodiciIva::cmdNuovo_Click() {
    if (!verifica_campi_necessari()) {
        return;
    }
    bool salvato = false;
    {
        BusyPointer clessidra;
        salvato = Salva_Record();
    }
    if (!salvato) {
        avvisa(QStringLiteral("Errore durante la scrittura del record!"),
               QStringLiteral("Vardello"), Icon::None);
    }
    azzera_campi();
    cmdCancella->setEnabled(true);
    impostaSfondo(txtCodiceIva, coloreNormale());
    tornaAlCodice();
    DatiModificati = false;
}

void frmCodiciIva::cmdCancella_Click() {
    if (avvisa(QStringLiteral("Sei sicuro di procedere all'eliminazione del RECORD CODICE IVA ?"),
               QStringLiteral("Operazione irreversibile!"), Icon::Question, Buttons::YesNo,
               Answer::No) != Answer::Yes) {
        return;
    }
    const QString codice = txtCodiceIva->text().trimmed();
    QSqlError errore;
    {
        BusyPointer clessidra;
        QSqlQuery q(DbArchivio());
        eseguiSql(q, QStringLiteral(R"(DELETE FROM "Codici Iva" WHERE "Codice Iva" = ?)"),
                  {codice});
        errore = q.lastError();
    }
    if (errore.isValid()) {
        // The record is still stored: it stays on screen.
        avvisa(QStringLiteral("Errore durante l'eliminazione del record!\n\nCodice errore = ") +
                   archivio::codiceErrore(errore),
               kCaption.toUpper(), Icon::Critical);
        return;
    }
    LiberaBlocchi(DbArchivio());
    azzera_campi();
    codiceEliminato_ = codice;
    tornaAlCodice();
    DatiModificati = false;
}

void frmCodiciIva::cmdRipristina_Click() {
    if (avvisa(QStringLiteral("I dati sono stati modificati.\nVuoi ripristinare?"),
               QStringLiteral("Vardello"), Icon::Question, Buttons::YesNo) != Answer::Yes) {
        return;
    }
    setTag(this, QString());
    bool trovato = false;
    QSqlError errore;
    {
        BusyPointer clessidra;
        QSqlQuery q(DbArchivio());
        trovato =
            eseguiSql(q, QStringLiteral(R"(SELECT 1 FROM "Codici Iva" WHERE "Codice Iva" = ?)"),
                      {txtCodiceIva->text().trimmed()}) &&
            q.next();
        errore = q.lastError();
    }
    if (errore.isValid()) {
        avvisa(QStringLiteral("Errore non gestito"), kCaption.toUpper(), Icon::Exclamation);
        return;
    }
    if (!trovato) {
        azzera_campi();
        cmdCancella->setEnabled(true);
        cmdRipristina->setEnabled(false);
        descrizioneEsce();
        impostaSfondo(txtCodiceIva, coloreNormale());
        tornaAlCodice();
    } else {
        descrizioneEntra();
        descrizioneEsce();
    }
    DatiModificati = false;
}

std::optional<QString> frmCodiciIva::codiceVicino(const QString& codice, bool avanti) const {
    // From an empty code the previous button goes to the first code and the next button to
    // the last; from a code, each goes to its neighbour.
    const bool minimo = codice.isEmpty() ? !avanti : avanti;
    QString sql = minimo ? QStringLiteral(R"(SELECT MIN("Codice Iva") FROM "Codici Iva")")
                         : QStringLiteral(R"(SELECT MAX("Codice Iva") FROM "Codici Iva")");
    QVariantList valori;
    if (!codice.isEmpty()) {
        sql += avanti ? QStringLiteral(R"( WHERE "Codice Iva" > ?)")
                      : QStringLiteral(R"( WHERE "Codice Iva" < ?)");
        valori.append(codice);
    }
    QSqlQuery q(DbArchivio());
    if (!eseguiSql(q, sql, valori) || !q.next()) {
        const archivio::Errore e = archivio::erroreDi(q.lastError());
        throw ErroreArchivio{e.codice, e.testo};
    }
    if (q.value(0).isNull()) {
        return std::nullopt;
    }
    return q.value(0).toString();
}

void frmCodiciIva::sfoglia(bool avanti) {
    if (!ChiediSalvataggio(DatiModificati, *this)) {
        return;
    }
    QString origine = txtCodiceIva->text().trimmed();
    if (origine.isEmpty()) {
        origine = codiceEliminato_;
    }
    std::optional<QString> codice;
    try {
        BusyPointer clessidra;
        codice = codiceVicino(origine, avanti);
    } catch (const ErroreArchivio& errore) {
        avvisa(QStringLiteral("Errore non gestito. Codice: ") + errore.codice, kCaption.toUpper(),
               Icon::Exclamation);
        return;
    }
    if (!codice) {
        services::ui().beep();  // no code before the first or after the last
        return;
    }
    txtCodiceIva->setText(*codice);
    descrizioneEntra();
    descrizioneEsce();
    (avanti ? cmdPre : cmdSuc)->setEnabled(true);
}

// ---- Keys of the window and closing ----

void frmCodiciIva::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        // Esc is the delete button's key; it never closes the window by itself.
        if (cmdCancella->isEnabled()) {
            cmdCancella->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmCodiciIva::closeEvent(QCloseEvent* event) {
    if (DatiModificati) {
        switch (avvisa(QStringLiteral("Vuoi mantenere le modifiche?"),
                       QStringLiteral("CODICI IVA - Dati modificati!"), Icon::Question,
                       Buttons::YesNoCancel)) {
            case Answer::Yes:
                // A record that cannot be checked or stored keeps the window open.
                if (!verifica_campi_necessari() || !Salva_Record()) {
                    event->ignore();
                    return;
                }
                break;
            case Answer::No:
                break;
            default:
                event->ignore();
                return;
        }
    }
    QDialog::closeEvent(event);
}
