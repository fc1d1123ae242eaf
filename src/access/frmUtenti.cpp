#include "frmUtenti.h"
#include "CentraFinestra.h"

#include <QCollator>
#include <QEvent>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "BusyPointer.h"
#include "Caratteri.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "ImmaginiPulsanti.h"
#include "Programma.h"
#include "Services.h"
#include "UnioneUtenti.h"
#include "Utenti.h"

namespace {

constexpr int kLunghezzaNome = 25;
constexpr int kInizioPassword = kLunghezzaNome + 1;  // after the name and one blank
constexpr int kLunghezzaPassword = 14;

QString rigaUtente(QString nome, const QString& password) {
    return AllineaSinistra(nome, kLunghezzaNome) + QLatin1Char(' ') + password;
}

QString nomeDellaRiga(const QString& riga) {
    return riga.left(kLunghezzaNome).trimmed();
}

QString passwordDellaRiga(const QString& riga) {
    return riga.mid(kInizioPassword).trimmed();
}

// The users as the list keeps them: names cut to the name column, empty names left out.
QList<Utente> comeNellElenco(const QList<Utente>& utenti) {
    QList<Utente> elenco;
    for (const Utente& u : utenti) {
        const QString riga = rigaUtente(u.nome, u.password);
        if (!nomeDellaRiga(riga).isEmpty()) {
            elenco.append({nomeDellaRiga(riga), passwordDellaRiga(riga)});
        }
    }
    return elenco;
}

QList<Utente> utentiDellElenco(const QListWidget* elenco) {
    QList<Utente> utenti;
    for (int i = 0; i < elenco->count(); ++i) {
        const QString riga = elenco->item(i)->text();
        utenti.append({nomeDellaRiga(riga), passwordDellaRiga(riga)});
    }
    return utenti;
}

// One line per user with a name, in the order of the user-name key: letter case and accents
// count only between names that are otherwise equal.
void riempiElenco(QListWidget* elenco, QList<Utente> utenti) {
    QCollator ordine(QLocale(QLocale::Italian, QLocale::Italy));
    std::stable_sort(utenti.begin(), utenti.end(), [&ordine](const Utente& a, const Utente& b) {
        return ordine.compare(a.nome, b.nome) < 0;
    });
    elenco->clear();
    for (const Utente& u : utenti) {
        if (!u.nome.isEmpty()) {
            elenco->addItem(rigaUtente(u.nome, u.password));
        }
    }
}

}  // namespace

frmUtenti::frmUtenti(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmUtenti"));
    setWindowTitle(QStringLiteral("Gestione utenti"));
    costruisciFinestra();
    ImpostaControlli(this, 315);
    CentraFinestra(this);

    // Without the stored users in the list, OK would wipe the table.
    cmdOk->setEnabled(Localizza_Record(lstUtenti));
    for (int i = 0; i < lstUtenti->count(); ++i) {
        if (nomeDellaRiga(lstUtenti->item(i)->text()) == programma().UtenteCorrente) {
            lstUtenti->setCurrentRow(i);
            break;
        }
    }
}

void frmUtenti::costruisciFinestra() {
    lblUtenti = new QLabel(QStringLiteral("Utenti"), this);
    lblUtenti->setObjectName(QStringLiteral("lblUtenti"));
    lblUtenti->move(10, 8);

    lstUtenti = new QListWidget(this);
    lstUtenti->setObjectName(QStringLiteral("lstUtenti"));
    QFont fisso = carattereFisso();
    fisso.setFamilies(QStringList{QStringLiteral("Fixedsys")} + fisso.families());
    lstUtenti->setFont(fisso);
    lstUtenti->setSelectionMode(QAbstractItemView::SingleSelection);
    lstUtenti->setTextElideMode(Qt::ElideNone);
    lstUtenti->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wide enough for the name and the blank after it, so the passwords stay out of view.
    const int carattere = QFontMetrics(fisso).horizontalAdvance(QLatin1Char('M'));
    const int margine = style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
    lstUtenti->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstUtenti->setGeometry(10, 26,
                           kInizioPassword * carattere + margine + 2 * lstUtenti->frameWidth() +
                               lstUtenti->verticalScrollBar()->sizeHint().width(),
                           160);
    connect(lstUtenti, &QListWidget::itemDoubleClicked, this, &frmUtenti::lstUtenti_DblClick);

    const int colonna = lstUtenti->geometry().right() + 12;
    auto pulsante = [this, colonna](const QString& nome, const QString& testo, int y) {
        auto* b = new QPushButton(testo, this);
        b->setObjectName(nome);
        b->setGeometry(colonna, y, 90, 26);
        return b;
    };
    cmdNuovo = pulsante(QStringLiteral("cmdNuovo"), QStringLiteral("&Nuovo"), 26);
    cmdVaria = pulsante(QStringLiteral("cmdVaria"), QStringLiteral("&Varia"), 60);
    cmdCanc = pulsante(QStringLiteral("cmdCanc"), QStringLiteral("&Cancella"), 94);
    connect(cmdNuovo, &QPushButton::clicked, this, &frmUtenti::cmdNuovo_Click);
    connect(cmdVaria, &QPushButton::clicked, this, &frmUtenti::cmdVaria_Click);
    connect(cmdCanc, &QPushButton::clicked, this, &frmUtenti::cmdCanc_Click);

    // The fields run under the list and the buttons, to the window's right margin; the save
    // and cancel buttons stand in a row below them.
    const int destra = colonna + 90;
    auto campo = [this, destra](const QString& nome, const QString& etichetta, int y,
                                int lunghezza) {
        (new QLabel(etichetta, this))->setGeometry(10, y + 3, 95, 16);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(nome);
        edit->setMaxLength(lunghezza);
        edit->setGeometry(110, y, destra - 110, 21);
        DisabilitaCampo(edit);
        return edit;
    };
    txtUtente = campo(QStringLiteral("txtUtente"), QStringLiteral("Utente"), 198, kLunghezzaNome);
    CampoVisualizzazione(txtUtente);
    txtPwd = campo(QStringLiteral("txtPwd"), QStringLiteral("Password"), 226, kLunghezzaPassword);
    txtConfermaPwd = campo(QStringLiteral("txtConfermaPwd"), QStringLiteral("Conferma pwd"), 254,
                           kLunghezzaPassword);
    auto* eventi = new EventiCampo(this);
    for (QLineEdit* password : {txtPwd, txtConfermaPwd}) {
        password->setEchoMode(QLineEdit::Password);
        eventi->collega(
            password,
            {[password] { EntraCampo(password); }, [password] { EsciCampo(password); }, {}});
    }

    cmdOk = pulsante(QStringLiteral("cmdOk"), QString(), 286);
    cmdOk->setGeometry(destra - 2 * 44 - 6, 286, 44, 30);
    cmdOk->setIcon(immaginePulsante(QStringLiteral("SALVA")));
    cmdOk->setToolTip(QStringLiteral("Salva i dati"));
    cmdOk->setDefault(true);
    cmdAnnulla = pulsante(QStringLiteral("cmdAnnulla"), QString(), 286);
    cmdAnnulla->setGeometry(destra - 44, 286, 44, 30);
    cmdAnnulla->setIcon(immaginePulsante(QStringLiteral("ANNULLA")));
    cmdAnnulla->setToolTip(QStringLiteral("Esci"));
    connect(cmdOk, &QPushButton::clicked, this, &frmUtenti::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(lstUtenti, cmdNuovo);
    setTabOrder(cmdNuovo, cmdVaria);
    setTabOrder(cmdVaria, cmdCanc);
    setTabOrder(cmdCanc, txtUtente);
    setTabOrder(txtUtente, txtPwd);
    setTabOrder(txtPwd, txtConfermaPwd);
    setTabOrder(txtConfermaPwd, cmdOk);
    setTabOrder(cmdOk, cmdAnnulla);
    setFixedSize(destra + 10, 326);
}

bool frmUtenti::Localizza_Record(QListWidget* ControlloDest) {
    QList<Utente> utenti;
    try {
        BusyPointer attesa;
        utenti = leggiUtenti(DbArchivio());
    } catch (const ErroreArchivio& e) {
        segnalaErroreTabella(QStringLiteral("Tabella utenti"), e.codice, windowTitle(), e.testo);
        return false;
    }
    if (ControlloDest == lstUtenti) {
        tabellaLetta_ = utenti;
        elencoLetto_ = comeNellElenco(utenti);
    }
    riempiElenco(ControlloDest, utenti);
    return true;
}

void frmUtenti::Azzera_campi_inserimento() {
    txtUtente->clear();
    txtPwd->clear();
    txtConfermaPwd->clear();
}

void frmUtenti::avvisa(const QString& testo) {
    services::ui().message(testo, windowTitle(), Interaction::Icon::Exclamation);
}

void frmUtenti::lstUtenti_DblClick(QListWidgetItem* riga) {
    const QString testo = riga->text();
    txtUtente->setText(nomeDellaRiga(testo));
    txtPwd->setText(testo.mid(kInizioPassword, kLunghezzaPassword).trimmed());
    AbilitaControllo(txtPwd);
    AbilitaControllo(txtConfermaPwd);
    AttivaCampo(txtPwd);
}

void frmUtenti::cmdNuovo_Click() {
    const std::optional<QString> risposta =
        services::ui().inputBox(QStringLiteral("Inserire il nome del nuovo utente"),
                                QStringLiteral("Vardello - Nuovo utente"), QString());
    if (risposta && !risposta->trimmed().isEmpty()) {
        lstUtenti->addItem(rigaUtente(*risposta, QString()));
    }
}

void frmUtenti::cmdCanc_Click() {
    if (programma().UtenteCorrente != kSupervisore) {
        avvisa(
            QStringLiteral("La variazione della tabella utenti è consentita solo all'utente "
                           "'Supervisore', impossibile continuare."));
        return;
    }
    const QList<QListWidgetItem*> selezionate = lstUtenti->selectedItems();
    if (selezionate.isEmpty()) {
        services::ui().beep();
    } else {
        delete selezionate.first();
        // Nothing stays selected, so a second Cancella never removes a line unseen.
        lstUtenti->clearSelection();
        lstUtenti->setCurrentRow(-1);
    }
    Azzera_campi_inserimento();
}

void frmUtenti::cmdVaria_Click() {
    if (txtUtente->text() != programma().UtenteCorrente) {
        avvisa(QStringLiteral(
            "E' consentito variare solo la propria password, impossibile continuare."));
        return;
    }
    const QString nuovaRiga = rigaUtente(txtUtente->text(), txtPwd->text());
    QListWidgetItem* trovata = nullptr;
    for (int i = 0; i < lstUtenti->count() && !trovata; ++i) {
        if (nomeDellaRiga(lstUtenti->item(i)->text()) == txtUtente->text()) {
            trovata = lstUtenti->item(i);
        }
    }
    if (trovata && txtConfermaPwd->text() != txtPwd->text()) {
        avvisa(QStringLiteral("La password confermata risulta errata."));
        AttivaCampo(txtConfermaPwd);
        return;
    }
    if (trovata) {
        trovata->setText(nuovaRiga);
        Azzera_campi_inserimento();
    }
    AbilitaControllo(lstUtenti);
    if (trovata) {
        // Off the button, so that the next Enter goes to the window's default button (save)
        // instead of running Varia again on the emptied fields.
        lstUtenti->setFocus();
    }
    DisabilitaControllo(txtPwd);
    DisabilitaControllo(txtConfermaPwd);
    if (!trovata) {
        avvisa(QStringLiteral("Errore utente non localizzato."));
    }
}

void frmUtenti::cmdOk_Click() {
    if (!txtUtente->text().isEmpty()) {
        cmdVaria_Click();
    }
    if (Salva_Record()) {
        accept();
    }
}

bool frmUtenti::Salva_Record() {
    const QList<Utente> utenti = utentiDellElenco(lstUtenti);
    const QString doppio = nomeRipetuto(utenti);
    if (!doppio.isEmpty()) {
        avvisa(QStringLiteral("Il nome utente '%1' compare più di una volta nell'elenco "
                              "(anche scritto con maiuscole diverse).\nLasciarne uno solo e "
                              "salvare di nuovo: la tabella utenti non è stata modificata.")
                   .arg(doppio));
        return false;
    }
    archivio::Errore errore;
    QList<Utente> attuali;
    EsitoSalvataggioUtenti esito = EsitoSalvataggioUtenti::Errore;
    {
        BusyPointer attesa;
        esito = salvaUtentiSeInvariati(DbArchivio(), tabellaLetta_, utenti, &attuali, &errore);
    }
    if (esito == EsitoSalvataggioUtenti::Errore) {
        segnalaErroreArchivio(QStringLiteral("Errore nel salvataggio della tabella 'Tabella "
                                             "utenti': la tabella non è stata modificata."),
                              errore.codice, windowTitle(), errore.testo);
    } else if (esito == EsitoSalvataggioUtenti::TabellaCambiata) {
        // The list now starts from the table as it is, with this window's changes on top.
        QStringList altrui;
        const QList<Utente> loro = comeNellElenco(attuali);
        riempiElenco(lstUtenti, unisciUtenti(elencoLetto_, utenti, loro, &altrui));
        tabellaLetta_ = attuali;
        elencoLetto_ = loro;
        avvisa(QStringLiteral("Un altro computer ha modificato la tabella utenti dopo l'apertura "
                              "di questa finestra:\n") +
               altrui.join(QLatin1Char('\n')) +
               QStringLiteral("\n\nNulla è stato salvato. L'elenco ora riporta sia queste "
                              "modifiche sia le vostre: controllarlo e premere di nuovo OK per "
                              "salvare."));
    }
    return esito == EsitoSalvataggioUtenti::Salvato;
}
