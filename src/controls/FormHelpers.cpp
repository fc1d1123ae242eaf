#include "FormHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

#include "Colori.h"
#include "Controlli.h"
#include "Services.h"
#include "TestoFisso.h"
#include "ValutaBox.h"

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kAltezzaCampoTwips = 315;

int pixel(int twips) {
    return qRound(static_cast<double>(twips) / kTwipsPerPixel);
}

// The control's own enabled flag, whatever its container's.
bool abilitatoInProprio(const QWidget* controllo) {
    return !controllo->testAttribute(Qt::WA_ForceDisabled);
}

bool campoOImporto(TipoControllo tipo) {
    return campoDiImmissione(tipo) || tipo == TipoControllo::Importo;
}

bool pulsanteOEtichetta(TipoControllo tipo) {
    return tipo == TipoControllo::Pulsante || tipo == TipoControllo::Casella ||
           tipo == TipoControllo::Opzione || tipo == TipoControllo::Etichetta;
}

const QColor kBluCollegamento(0, 0, 192);

// A label drawn as a link (dark blue text or an underlined font) shows itself as one:
// darker blue, underlined, a hand pointer.
void rendiCollegamento(QLabel* etichetta) {
    QPalette palette = etichetta->palette();
    if (palette.color(QPalette::WindowText) == kBluCollegamento) {
        palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        etichetta->setPalette(palette);
    } else if (!etichetta->font().underline()) {
        return;
    }
    QFont carattere = etichetta->font();
    carattere.setUnderline(true);
    etichetta->setFont(carattere);
    etichetta->setCursor(Qt::PointingHandCursor);
}

}  // namespace

QString tag(const QWidget* widget) {
    return widget->property("Tag").toString();
}
void setTag(QWidget* widget, const QString& value) {
    widget->setProperty("Tag", value);
}

void RegistraStatoControlli(QWidget* finestra) {
    for (QWidget* controllo : controlliDi(finestra)) {
        setTag(controllo,
               abilitatoInProprio(controllo) ? QStringLiteral("True") : QStringLiteral("False"));
        const TipoControllo tipo = tipoControllo(controllo);
        if (tipo == TipoControllo::Testo || tipo == TipoControllo::Maschera) {
            controllo->setFixedHeight(pixel(kAltezzaCampoTwips));
        }
    }
}

void SbloccaMaschera(const QString& nome1, const QString& nome2, QWidget* finestra) {
    for (QWidget* controllo : controlliDi(finestra)) {
        if (controllo->objectName() == nome1 || controllo->objectName() == nome2) {
            continue;
        }
        const TipoControllo tipo = tipoControllo(controllo);
        if (!campoDiImmissione(tipo) && !pulsanteOEtichetta(tipo)) {
            continue;
        }
        // A control whose state was never recorded keeps the one it has.
        const QString registrato = tag(controllo);
        if (registrato == QLatin1String("True") || registrato == QLatin1String("False")) {
            controllo->setEnabled(registrato == QLatin1String("True"));
        }
        if (campoDiImmissione(tipo)) {
            impostaSfondo(controllo,
                          controllo->isEnabled() ? coloreNormale() : coloreDisabilitato());
        }
    }
    setTag(finestra, QStringLiteral("DATI"));
}

void ImpostaControlli(QWidget* finestra, int altezzaTwips, std::optional<int> decimali) {
    for (QWidget* controllo : controlliDi(finestra)) {
        const TipoControllo tipo = tipoControllo(controllo);
        if (tipo == TipoControllo::Testo || tipo == TipoControllo::Maschera ||
            tipo == TipoControllo::Importo) {
            controllo->setFixedHeight(pixel(altezzaTwips));
        }
        if (auto* importo = qobject_cast<ValutaBox*>(controllo)) {
            importo->setDecimali(decimali.value_or(0));
        }
        if (auto* etichetta = qobject_cast<QLabel*>(controllo)) {
            rendiCollegamento(etichetta);
        }
    }
}

void FiltroCifre(int& keyAscii) {
    if (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9')) {
        return;
    }
    services::ui().beep();
    keyAscii = 0;
}

bool ContieneNonCifre(const QString& testo) {
    for (const QChar c : testo) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return true;
        }
    }
    return false;
}

QString AllineaDestra(QString& testo, int larghezza) {
    testo = testo.trimmed();
    return incolonnaDestra(testo, larghezza);
}

QString AllineaSinistra(QString& testo, int larghezza) {
    testo = testo.trimmed();
    return incolonnaSinistra(testo, larghezza);
}

bool ChiediSalvataggio(bool modificati, FinestraRecord& finestra) {
    if (!modificati) {
        return true;
    }
    const Interaction::Answer risposta = services::ui().message(
        QStringLiteral("Vuoi mantenere le modifiche?"), QStringLiteral("DATI MODIFICATI!"),
        Interaction::Icon::Question, Interaction::Buttons::YesNo);
    if (risposta != Interaction::Answer::Yes) {
        return true;
    }
    if (!finestra.verifica_campi_necessari()) {
        return false;
    }
    finestra.Salva_Record();
    return true;
}

QString titoloMessaggiDi(const QWidget* finestra) {
    const QString titolo = finestra->windowTitle();
    return titolo.left(titolo.indexOf(QLatin1String(" - "))).toUpper();
}

void DisabilitaCampo(QWidget* controllo) {
    controllo->setEnabled(false);
    impostaSfondo(controllo, coloreDisabilitato());
    QPalette colori = controllo->palette();
    colori.setColor(QPalette::Disabled, QPalette::Text,
                    colori.color(QPalette::Active, QPalette::Text));
    controllo->setPalette(colori);
}

void CampoVisualizzazione(QLineEdit* campo) {
    DisabilitaCampo(campo);
    // setText leaves the cursor at the end, and a box scrolls to its cursor: a text longer
    // than the box would show its last characters.
    QObject::connect(campo, &QLineEdit::textChanged, campo,
                     [campo] { campo->setCursorPosition(0); });
}

void AbilitaCampo(QWidget* controllo) {
    controllo->setEnabled(true);
    impostaSfondo(controllo, coloreNormale());
}

void AttivaCampo(QWidget* controllo) {
    controllo->setEnabled(true);
    if (auto* edit = qobject_cast<QLineEdit*>(controllo)) {
        edit->selectAll();
        edit->setFocus();
    }
}

void AbilitaControllo(QWidget* controllo) {
    const TipoControllo tipo = tipoControllo(controllo);
    if (campoOImporto(tipo)) {
        AbilitaCampo(controllo);
    } else if (pulsanteOEtichetta(tipo)) {
        controllo->setEnabled(true);
    }
}

void DisabilitaControllo(QWidget* controllo, bool svuota) {
    const TipoControllo tipo = tipoControllo(controllo);
    if (campoOImporto(tipo)) {
        DisabilitaCampo(controllo);
        if (svuota && tipo == TipoControllo::Testo) {
            static_cast<QLineEdit*>(controllo)->clear();
        }
    } else if (pulsanteOEtichetta(tipo)) {
        controllo->setEnabled(false);
    }
}
