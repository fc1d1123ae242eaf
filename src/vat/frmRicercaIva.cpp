#include "frmRicercaIva.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <vector>

#include "Archivio.h"
#include "BusyPointer.h"
#include "Caratteri.h"
#include "CentraFinestra.h"
#include "Services.h"
#include "Sql.h"

namespace {

const QString kTitolo = QStringLiteral("RICERCA CODICI IVA");

struct CodiceIva {
    QString codice;
    QString descrizione;
};

QString campoFisso(const QString& testo, int larghezza) {
    return testo.leftJustified(larghezza, QLatin1Char(' '), true);
}

bool soloCifre(const QString& testo) {
    return std::all_of(testo.begin(), testo.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

void avvisa(const QString& testo) {
    services::ui().message(testo, kTitolo, Interaction::Icon::Exclamation);
}

}  // namespace

frmRicercaIva::frmRicercaIva(QWidget* parent) : QDialog(parent) {
    static int progressivo = 0;
    connessione_ = QStringLiteral("RicercaCodiciIva-%1").arg(++progressivo);

    setWindowTitle(QStringLiteral("Ricerca Codici IVA"));
    setFixedSize(420, 250);

    lstRicerca = new QListWidget(this);
    lstRicerca->setObjectName(QStringLiteral("lstRicerca"));
    lstRicerca->setFont(carattereFisso());
    lstRicerca->setGeometry(8, 8, 300, 206);
    lstRicerca->installEventFilter(this);

    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setGeometry(318, 8, 94, 28);

    cmdCancel = new QPushButton(QStringLiteral("&Annulla"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(318, 44, 94, 28);

    chkOrdinaPerDescrizione = new QCheckBox(QStringLiteral("Ordina per descrizione"), this);
    chkOrdinaPerDescrizione->setObjectName(QStringLiteral("chkOrdinaPerDescrizione"));
    chkOrdinaPerDescrizione->setGeometry(8, 220, 300, 24);

    setTabOrder(lstRicerca, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    setTabOrder(cmdCancel, chkOrdinaPerDescrizione);
    lstRicerca->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &frmRicercaIva::conferma);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        stringaFinale_.clear();
        reject();
    });
    connect(lstRicerca, &QListWidget::itemDoubleClicked, this, &frmRicercaIva::conferma);
    connect(chkOrdinaPerDescrizione, &QCheckBox::clicked, this, &frmRicercaIva::ordinaClick);

    CentraFinestra(this);
}

frmRicercaIva::~frmRicercaIva() {
    chiudiArchivio();
}

void frmRicercaIva::setStringaIniziale(const QString& testo) {
    stringaIniziale_ = testo.trimmed();
    if (stringaIniziale_.isEmpty()) {
        return;
    }
    chkOrdinaPerDescrizione->setEnabled(false);
    if (!soloCifre(stringaIniziale_)) {
        ricercaPerDescrizione_ = true;
        chkOrdinaPerDescrizione->setChecked(true);
    }
}

void frmRicercaIva::setNomeDB(const QString& percorso) {
    nomeDB_ = percorso;
}
void frmRicercaIva::setTipoArchivio(const QString& tipo) {
    tipoArchivio_ = tipo;
}

void frmRicercaIva::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (attivato_) {
        return;
    }
    attivato_ = true;
    if (!ApriArchivi()) {
        avvisa(QStringLiteral("Errore durante l'apertura degli archivi"));
    }
    if (!CaricaDati()) {
        avvisa(QStringLiteral("Errore durante il caricamento dei dati!"));
    }
}

bool frmRicercaIva::ApriArchivi() {
    BusyPointer clessidra;
    archivio::Errore errore;
    archivioAperto_ = archivio::apri(nomeDB_, connessione_, &errore);
    return archivioAperto_;
}

void frmRicercaIva::chiudiArchivio() {
    if (archivioAperto_) {
        archivio::chiudi(connessione_);
        archivioAperto_ = false;
    }
}

bool frmRicercaIva::CaricaDati() {
    if (!archivioAperto_) {
        return false;  // the opening failed and has been told: there is nothing to list
    }
    const bool perDescrizione = chkOrdinaPerDescrizione->isChecked();
    posizioneCodice_ = perDescrizione ? 24 : 1;
    lstRicerca->clear();

    std::vector<CodiceIva> codici;
    QSqlError errore;
    {
        BusyPointer clessidra;
        QSqlQuery q(QSqlDatabase::database(connessione_, false));
        if (eseguiSql(q, QStringLiteral(R"(SELECT "Codice Iva", "Descrizione Iva"
                                          FROM "Codici Iva" ORDER BY "Codice Iva")"))) {
            while (q.next()) {
                codici.push_back({q.value(0).toString(), q.value(1).toString()});
            }
        }
        errore = q.lastError();
    }
    if (errore.isValid()) {
        const QString codice = archivio::codiceErrore(errore);
        if (codice == QLatin1String("7") || codice == QLatin1String("53200")) {
            avvisa(QStringLiteral("Memoria esaurita!\n\nVisualizzazione parziale dei dati!"));
        } else {
            avvisa(QStringLiteral("Errore nell'accesso ai dati!\nCodice errore = ") + codice);
        }
        return false;
    }
    if (codici.empty()) {
        avvisa(QStringLiteral("Archivio vuoto!"));
        return false;
    }
    if (perDescrizione) {
        // Description order ignores letter case, as the description index does.
        std::stable_sort(codici.begin(), codici.end(), [](const auto& a, const auto& b) {
            return a.descrizione.compare(b.descrizione, Qt::CaseInsensitive) < 0;
        });
    }

    int aggiunte = 0;
    for (const CodiceIva& c : codici) {
        if (!stringaIniziale_.isEmpty()) {
            const QString& confronto = ricercaPerDescrizione_ ? c.descrizione : c.codice;
            if (!confronto.startsWith(stringaIniziale_, Qt::CaseSensitive)) {
                continue;
            }
        }
        const QString codice = campoFisso(c.codice, 3);
        const QString descrizione = campoFisso(c.descrizione, 20);
        lstRicerca->addItem(perDescrizione ? descrizione + QStringLiteral(" - ") + codice
                                           : codice + QStringLiteral(" - ") + descrizione);
        if (++aggiunte % 4 == 0) {
            lstRicerca->repaint();
        }
    }
    return true;
}

void frmRicercaIva::ordinaClick() {
    if (!chkOrdinaPerDescrizione->isEnabled()) {
        return;
    }
    if (!CaricaDati()) {
        avvisa(QStringLiteral("Errore durante il caricamento dei dati!"));
    }
    lstRicerca->setFocus();
}

void frmRicercaIva::conferma() {
    const QList<QListWidgetItem*> scelte = lstRicerca->selectedItems();
    stringaFinale_ =
        scelte.isEmpty() ? QString() : scelte.first()->text().mid(posizioneCodice_ - 1, 3);
    accept();
}

void frmRicercaIva::done(int risultato) {
    chiudiArchivio();
    QDialog::done(risultato);
}

bool frmRicercaIva::eventFilter(QObject* oggetto, QEvent* event) {
    if (oggetto == lstRicerca && event->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(event)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            conferma();
            return true;
        }
    }
    return QDialog::eventFilter(oggetto, event);
}

void frmRicercaIva::keyPressEvent(QKeyEvent* event) {
    // Neither button is the default button: Enter outside the list does nothing. Esc closes
    // the lookup as its cancel button does, with no code chosen.
    switch (event->key()) {
        case Qt::Key_Escape:
            cmdCancel->click();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}
