#include "CampiIvaMovimento.h"

#include <QApplication>
#include <QCollator>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

#include "Archivio.h"
#include "BusyPointer.h"
#include "Colori.h"
#include "DatiCondivisi.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "ItalianDate.h"
#include "MoneyText.h"
#include "NumberPattern.h"
#include "Programma.h"
#include "Services.h"
#include "SituazioneIva.h"
#include "Sql.h"
#include "ValutaBox.h"
#include "clsRicerca.h"

namespace {

const QString kDataVuota = QStringLiteral("__/__/____");
const QString kFormatoImporto = QStringLiteral("###,###,###,##0.00");

bool dataVuota(const QLineEdit* campo) {
    return campo->displayText() == kDataVuota;
}

}  // namespace

CampiIvaMovimento::CampiIvaMovimento(const ControlliMovimento& controlli, QObject* parent)
    : QObject(parent), c_(controlli) {
    auto* eventi = new EventiCampo(this);
    eventi->collega(c_.txtCodiceIva, {[this] { EntraCodiceIva(); }, [this] { EsciCodiceIva(); },
                                      [this](QKeyEvent* tasto) {
                                          if (tasto->key() != Qt::Key_F4) {
                                              return false;
                                          }
                                          ApriRicercaCodice();
                                          return true;
                                      }});
    eventi->collega(c_.txtImponibileIva->campo(),
                    {[this] { EntraImponibileIva(); }, [this] { EsciImponibileIva(); }, {}});
    eventi->collega(c_.txtDataDoc, {[this] { EntraDataDoc(); }, [this] { EsciDataDoc(); }, {}});
    // The list mirrors the remembered descriptions: Enter must not add to it by itself.
    c_.cmbOperazione->setInsertPolicy(QComboBox::NoInsert);
}

void CampiIvaMovimento::setCodiceIvaStandard(const QString& codice) {
    codiceIvaStandard_ = codice;
}

bool CampiIvaMovimento::codiceVuoto() const {
    return c_.txtCodiceIva->text().trimmed().isEmpty();
}

QString CampiIvaMovimento::titoloMessaggi() const {
    return titoloMessaggiDi(c_.finestra);
}

void CampiIvaMovimento::EntraCodiceIva() {
    AbilitaCampo(c_.txtImponibileIva);
    AbilitaCampo(c_.txtDataDoc);
    EntraCampo(c_.txtCodiceIva);
    if (c_.txtCodiceIva->text().isEmpty()) {
        c_.txtCodiceIva->setText(codiceIvaStandard_);
    }
    // The field holds three characters at most: a code typed at once replaces the one shown.
    SelezionaTesto(c_.txtCodiceIva);
}

void CampiIvaMovimento::ApriRicercaCodice() {
    QLineEdit* campo = c_.txtCodiceIva;
    impostaSfondo(campo, QApplication::palette().color(QPalette::Base));
    programma().RicercaInCorso = true;
    const QString scelto =
        clsRicerca().F4CodIva(campo->text(), programma().PercorsoArchivio, QString(), c_.finestra);
    campo->setText(scelto);
    programma().RicercaInCorso = false;
    EsciCodiceIva();
    campo->setFocus();
    EntraCodiceIva();
}

void CampiIvaMovimento::EsciCodiceIva() {
    if (programma().RicercaInCorso) {
        return;
    }
    QLineEdit* campo = c_.txtCodiceIva;
    if (ContieneNonCifre(campo->text())) {
        ApriRicercaCodice();
        return;
    }
    EsciCampo(campo);
    QString codice = campo->text();
    if (codice.isEmpty()) {
        c_.txtDescrizioneIva->clear();
        c_.txtAliquota->clear();
        c_.txtImponibileIva->setText(QString());
        c_.txtDataDoc->setText(kDataVuota);
    } else {
        bool numero = false;
        const qint64 valore = codice.toLongLong(&numero);
        if (numero) {
            codice = formatNumber(valore, QStringLiteral("000"));
            campo->setText(codice);
        }
        if (!CercaCodiceIva(codice)) {
            return;
        }
    }
    CalcolaImposta();
}

bool CampiIvaMovimento::CercaCodiceIva(const QString& codice) {
    QString errore;
    bool trovato = false;
    {
        BusyPointer occupato;
        QSqlQuery q(DbArchivio());
        if (!eseguiSql(q, QStringLiteral(R"(SELECT "Descrizione Iva", "Aliquota" FROM "Codici Iva"
                                         WHERE "Codice Iva" = ?)"),
                       {codice})) {
            errore = archivio::codiceErrore(q.lastError());
        } else if (q.next()) {
            trovato = true;
            c_.txtDescrizioneIva->setText(
                LeggiCampo(q.record(), QStringLiteral("Descrizione Iva"), QString()));
            c_.txtAliquota->setText(LeggiCampo(q.record(), QStringLiteral("Aliquota"), QString()));
        }
    }
    if (!errore.isEmpty()) {
        services::ui().message(QStringLiteral("Errore non gestito. Codice: ") + errore,
                               titoloMessaggi(), Interaction::Icon::Exclamation);
        return false;
    }
    if (!trovato) {
        services::ui().message(QStringLiteral("Codice Iva inesistente!"), titoloMessaggi(),
                               Interaction::Icon::Exclamation);
        c_.txtCodiceIva->setFocus();
        c_.txtCodiceIva->selectAll();
    }
    return true;
}

void CampiIvaMovimento::CalcolaImposta() {
    const Money imposta = ImpostaContenuta(ConvertiValuta(c_.txtImponibileIva->text()),
                                           ConvertiValuta(c_.txtAliquota->text()));
    c_.txtImpostaIva->setText(formatNumber(imposta, kFormatoImporto));
}

void CampiIvaMovimento::ImpostaImponibileIva() {
    const Money entrate = ConvertiValuta(c_.txtEntrate->text());
    const Money uscite = ConvertiValuta(c_.txtUscite->text());
    QString proposta;
    if (!entrate.isZero() && uscite.isZero()) {
        proposta = formatNumber(entrate, kFormatoImporto);
    } else if (entrate.isZero() && !uscite.isZero()) {
        proposta = formatNumber(-uscite, kFormatoImporto);
    }
    if (ConvertiValuta(c_.txtImponibileIva->text()).isZero()) {
        c_.txtImponibileIva->setText(proposta);
    }
}

void CampiIvaMovimento::EntraImponibileIva() {
    if (codiceVuoto()) {
        // Without a code the field is not to be filled: it is closed and the focus moves on.
        EsciImponibileIva();
        return;
    }
    ImpostaImponibileIva();
    CalcolaImposta();
}

void CampiIvaMovimento::EsciImponibileIva() {
    CalcolaImposta();
    if (codiceVuoto()) {
        ChiudiCampoIva(c_.txtImponibileIva);
    }
}

void CampiIvaMovimento::EntraDataDoc() {
    if (codiceVuoto()) {
        ChiudiCampoIva(c_.txtDataDoc);
        return;
    }
    if (dataVuota(c_.txtDataDoc)) {
        const QString registrazione = c_.txtDataRegistrazione->displayText();
        c_.txtDataDoc->setText(registrazione != kDataVuota
                                   ? registrazione
                                   : formatItalianDate(services::clock().today()));
    }
    EntraCampoData(c_.txtDataDoc);
}

void CampiIvaMovimento::EsciDataDoc() {
    impostaSfondo(c_.txtDataDoc, coloreNormale());
    ControllaData(c_.txtDataDoc);
    if (codiceVuoto()) {
        ChiudiCampoIva(c_.txtDataDoc);
    }
}

void CampiIvaMovimento::ChiudiCampoIva(QWidget* campo) {
    if (campo == c_.txtDataDoc) {
        c_.txtDataDoc->setText(kDataVuota);
    } else {
        c_.txtImponibileIva->setText(QString());
    }
    // The focus goes first, so that disabling the field does not move it on by itself. It
    // goes to the button that stores what is on screen: with a movement loaded for change
    // that is cmdVar, never a second insert of the same movement.
    auto* cmdVar = c_.finestra->findChild<QWidget*>(QStringLiteral("cmdVar"));
    auto* cmdIns = c_.finestra->findChild<QWidget*>(QStringLiteral("cmdIns"));
    if (QWidget* pulsante = cmdVar && cmdVar->isEnabled() ? cmdVar : cmdIns) {
        pulsante->setFocus();
    }
    DisabilitaCampo(campo);
}

void CampiIvaMovimento::CaricaOperazioni() {
    QStringList descrizioni;
    {
        BusyPointer occupato;
        QSqlQuery q(DbArchivio());
        if (!eseguiSql(q,
                       QStringLiteral(R"(SELECT "Descrizione conto" FROM "Conti Utilizzati")"))) {
            lanciaErrore(q.lastError());
        }
        while (q.next()) {
            const QString descrizione =
                LeggiCampo(q.record(), QStringLiteral("Descrizione conto"), QString());
            if (!descrizione.isEmpty()) {
                descrizioni.append(descrizione);
            }
        }
    }
    // The order of the descriptions' index: alphabetical, without regard to letter case.
    QCollator ordine(QLocale(QLocale::Italian, QLocale::Italy));
    ordine.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(descrizioni.begin(), descrizioni.end(), ordine);

    QComboBox* combo = c_.cmbOperazione;
    const QString testo = combo->currentText();
    combo->clear();
    combo->addItems(descrizioni);
    ricordate_ = QSet<QString>(descrizioni.begin(), descrizioni.end());
    combo->setCurrentIndex(-1);
    combo->setEditText(testo);
}

void CampiIvaMovimento::AggiungiConto() {
    const QString descrizione = c_.cmbOperazione->currentText();
    // The remembered descriptions are the key of their table, and a database server limits
    // the size of a key (PostgreSQL refuses about 2,700 bytes): a longer description is
    // stored whole with its movement but not offered again in the list.
    constexpr qsizetype kLunghezzaMassimaRicordata = 500;
    // A description read from the table or stored by this window is there already: the
    // cashier's usual descriptions cost no trip to the archive.
    if (descrizione.size() > kLunghezzaMassimaRicordata || ricordate_.contains(descrizione)) {
        return;
    }
    QSqlDatabase db = DbArchivio();
    {
        BusyPointer occupato;
        // One statement: another computer remembering the same description at the same
        // moment is not an error, and the description is then offered here too.
        Istruzione ricorda(db, QStringLiteral(R"(INSERT INTO "Conti Utilizzati"
                                              ("Descrizione conto") VALUES (?)
                                              ON CONFLICT ("Descrizione conto") DO NOTHING)"));
        ricorda.esegui({descrizione});
    }
    AggiungiVoce(descrizione);
    LiberaBlocchi(db);
}

void CampiIvaMovimento::AggiungiVoce(const QString& descrizione) {
    QComboBox* combo = c_.cmbOperazione;
    const QString testo = combo->currentText();
    combo->addItem(descrizione);
    ricordate_.insert(descrizione);
    // Adding the first item of a list selects it; the text typed stays what it was.
    if (combo->currentText() != testo) {
        combo->setEditText(testo);
    }
}
