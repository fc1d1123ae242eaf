#include "frmAccesso.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "BusyPointer.h"
#include "Colori.h"
#include "Configurazione.h"
#include "DatiCondivisi.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "ImmaginiPulsanti.h"
#include "Programma.h"
#include "Services.h"
#include "Utenti.h"

namespace {

constexpr int kTentativiConsentiti = 3;
const QString kTitoloMessaggi = QStringLiteral("Vardello");

QString nomeUltimoUtente() {
    return QStringLiteral("Accesso ") + NomeComputer();
}

QLabel* etichetta(const QString& testo, QWidget* parent, int x, int y) {
    auto* label = new QLabel(testo, parent);
    label->move(x, y);
    return label;
}

}  // namespace

frmAccesso::frmAccesso(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAccesso"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    // Nobody is logged in until OK succeeds here.
    programma().UtenteCorrente.clear();
    costruisciFinestra();

    ImpostaControlli(this, 315);
    RefreshData();
    RefreshOra();
    tentativiFalliti_ = 0;
    ImpostaAzienda();
    LeggiUltimoUtente();
    timAccesso->start();
}

void frmAccesso::costruisciFinestra() {
    QPalette bianco = palette();
    bianco.setColor(QPalette::Window, Qt::white);
    setPalette(bianco);
    setAutoFillBackground(true);
    setGeometry(screen()->geometry());

    picAccesso = new QFrame(this);
    picAccesso->setObjectName(QStringLiteral("picAccesso"));
    picAccesso->setFrameShape(QFrame::Box);
    picAccesso->setAutoFillBackground(true);
    picAccesso->setFixedSize(420, 250);

    auto* titolo = new QLabel(QStringLiteral("Vardello"), picAccesso);
    QFont grande = titolo->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    titolo->setFont(grande);
    titolo->move(20, 12);

    etichetta(QStringLiteral("Utente"), picAccesso, 20, 70);
    cmbUtente = new QComboBox(picAccesso);
    cmbUtente->setObjectName(QStringLiteral("cmbUtente"));
    cmbUtente->setEditable(true);
    cmbUtente->setInsertPolicy(QComboBox::NoInsert);
    // The name stays as typed: no completion, and no snapping to a listed name that differs
    // only in letter case.
    cmbUtente->setCompleter(nullptr);
    cmbUtente->setFont(QFont(QStringLiteral("Arial")));
    cmbUtente->setToolTip(
        QStringLiteral("Scegliere il nome dell'utente con il quale accedere a Vardello"));
    cmbUtente->setGeometry(100, 66, 300, 21);

    etichetta(QStringLiteral("Password"), picAccesso, 20, 102);
    txtPwd = new QLineEdit(picAccesso);
    txtPwd->setObjectName(QStringLiteral("txtPwd"));
    txtPwd->setEchoMode(QLineEdit::Password);
    txtPwd->setMaxLength(14);
    txtPwd->setToolTip(QStringLiteral("Inserire la password con la quale accedere a Vardello"));
    txtPwd->setGeometry(100, 98, 160, 21);
    (new EventiCampo(this))
        ->collega(txtPwd, {[this] { EntraCampo(txtPwd); }, [this] { EsciCampo(txtPwd); }, {}});

    etichetta(QStringLiteral("Data"), picAccesso, 20, 134);
    etichetta(QStringLiteral("Ora"), picAccesso, 20, 166);
    QPalette orologio = palette();
    orologio.setColor(QPalette::Disabled, QPalette::Text, QColor(0x40, 0x40, 0x40));
    for (int i = 0; i < 6; ++i) {
        auto* box = new QLineEdit(picAccesso);
        box->setObjectName(QStringLiteral("txtData%1").arg(i));
        box->setMaxLength(2);
        box->setAlignment(Qt::AlignCenter);
        CampoVisualizzazione(box);
        box->setGeometry(100 + (i % 3) * 30, i < 3 ? 130 : 162, 26, 21);
        if (i >= 3) {
            box->setPalette(orologio);
            impostaSfondo(box, coloreNormale());
        }
        txtData[static_cast<size_t>(i)] = box;
    }
    txtData[0]->setToolTip(QStringLiteral("Visualizza la data"));
    txtData[3]->setToolTip(QStringLiteral("Visualizza l'ora, i minuti e i secondi"));

    auto pulsante = [this](const QString& nome, const char* immagine, int x) {
        auto* b = new QPushButton(picAccesso);
        b->setObjectName(nome);
        b->setIcon(immaginePulsante(QString::fromLatin1(immagine)));
        b->setGeometry(x, 205, 40, 32);
        return b;
    };
    cmdOk = pulsante(QStringLiteral("cmdOk"), "OK", 270);
    cmdAnnulla = pulsante(QStringLiteral("cmdAnnulla"), "ANNULLA", 315);
    cmdReset = pulsante(QStringLiteral("cmdReset"), "OROLOGIO", 360);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &frmAccesso::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &frmAccesso::cmdAnnulla_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmAccesso::cmdReset_Click);

    setTabOrder(txtPwd, cmbUtente);
    setTabOrder(cmbUtente, cmdOk);
    setTabOrder(cmdOk, cmdAnnulla);
    setTabOrder(cmdAnnulla, cmdReset);
    txtPwd->setFocus();

    timAccesso = new QTimer(this);
    timAccesso->setObjectName(QStringLiteral("timAccesso"));
    timAccesso->setInterval(1000);
    connect(timAccesso, &QTimer::timeout, this, &frmAccesso::RefreshOra);
}

void frmAccesso::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (picAccesso) {
        picAccesso->move((width() - picAccesso->width()) / 2,
                         (height() - picAccesso->height()) / 2);
    }
}

void frmAccesso::ImpostaAzienda() {
    try {
        BusyPointer attesa;
        CaricaUtenti(cmbUtente);
    } catch (const ErroreArchivio& e) {
        segnalaErroreTabella(QStringLiteral("Tabella utenti"), e.codice, kTitoloMessaggi, e.testo);
    }
}

void frmAccesso::LeggiUltimoUtente() {
    try {
        BusyPointer attesa;
        const QString ultimo = LeggiRiferimento(DbArchivio(), nomeUltimoUtente());
        if (!ultimo.isEmpty()) {
            cmbUtente->setCurrentText(ultimo);
        }
    } catch (const ErroreArchivio& e) {
        segnalaErroreTabella(QStringLiteral("Riferimenti standard"), e.codice, kTitoloMessaggi,
                             e.testo);
    }
}

void frmAccesso::SalvaUltimoUtente() {
    BusyPointer attesa;
    ScriviRiferimento(DbArchivio(), nomeUltimoUtente(), cmbUtente->currentText());
}

void frmAccesso::RefreshData() {
    const QDate oggi = services::clock().today();
    txtData[0]->setText(oggi.toString(QStringLiteral("dd")));
    txtData[1]->setText(oggi.toString(QStringLiteral("MM")));
    txtData[2]->setText(oggi.toString(QStringLiteral("yy")));
}

void frmAccesso::RefreshOra() {
    const QTime ora = services::clock().time();
    txtData[3]->setText(ora.toString(QStringLiteral("hh")));
    txtData[4]->setText(ora.toString(QStringLiteral("mm")));
    txtData[5]->setText(ora.toString(QStringLiteral("ss")));
}

bool frmAccesso::VerificaPassword() {
    std::optional<Utente> utente;
    try {
        BusyPointer attesa;
        if (creaSupervisoreSeVuota(DbArchivio())) {
            // Any name logs in on an empty table; an empty one is the administrator just made.
            if (cmbUtente->currentText().trimmed().isEmpty()) {
                cmbUtente->setEditText(QStringLiteral("Supervisore"));
            }
            return true;
        }
        utente = cercaUtente(DbArchivio(), cmbUtente->currentText());
    } catch (const ErroreArchivio& e) {
        segnalaErroreTabella(QStringLiteral("Tabella utenti"), e.codice, kTitoloMessaggi, e.testo);
        return false;
    }
    if (!utente) {
        services::ui().message(QStringLiteral("Utente non trovato."), kTitoloMessaggi,
                               Interaction::Icon::Exclamation);
        return false;
    }
    // The field's text as it is now: trimmed if the focus left it before OK ran.
    if (utente->password != txtPwd->text()) {
        services::ui().message(QStringLiteral("Password errata."), kTitoloMessaggi,
                               Interaction::Icon::Exclamation);
        AttivaCampo(txtPwd);
        return false;
    }
    return true;
}

void frmAccesso::cmdOk_Click() {
    if (VerificaPassword()) {
        programma().UtenteCorrente = cmbUtente->currentText();
        SalvaUltimoUtente();
        accept();
        return;
    }
    ++tentativiFalliti_;
    if (tentativiFalliti_ >= kTentativiConsentiti) {
        reject();
    }
}

void frmAccesso::cmdAnnulla_Click() {
    reject();
}

void frmAccesso::cmdReset_Click() {
    RefreshData();
    RefreshOra();
}

void frmAccesso::keyPressEvent(QKeyEvent* event) {
    // Esc refreshes the date and time instead of closing the window.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdReset->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
