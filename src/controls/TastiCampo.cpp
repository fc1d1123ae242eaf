#include "TastiCampo.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "FieldRules.h"
#include "Services.h"

namespace {

// Applies the two-decimal rules to the key presses of one plain text box.
class FiltroTastiNumerici : public QObject {
  public:
    explicit FiltroTastiNumerici(QLineEdit* campo) : QObject(campo), campo_(campo) {}

    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (oggetto != campo_ || evento->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        int codiceTasto = tasto->key();
        KeyDownNumerico(campo_, codiceTasto);
        const std::optional<int> carattere = codiceCarattere(*tasto);
        if (!carattere) {
            return codiceTasto == 0;  // a Delete the rules took; other keys go to the field
        }
        int codice = *carattere;
        KeyPressNumerico(campo_, codice);
        inserisciCarattere(campo_, codice, campo_->maxLength());
        return true;
    }

  private:
    QLineEdit* campo_;
};

// Refuses every way of pasting into one field.
class FiltroIncolla : public QObject {
  public:
    explicit FiltroIncolla(QLineEdit* campo) : QObject(campo), campo_(campo) {}

    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (oggetto != campo_) {
            return false;
        }
        switch (evento->type()) {
            case QEvent::KeyPress:
                if (static_cast<QKeyEvent*>(evento)->matches(QKeySequence::Paste)) {
                    services::ui().beep();
                    return true;
                }
                return false;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                // The middle button pastes the selection on some desktops.
                return static_cast<QMouseEvent*>(evento)->button() == Qt::MiddleButton;
            case QEvent::InputMethod:
                digitaTestoComposto(static_cast<QInputMethodEvent*>(evento)->commitString());
                return true;
            default:
                return false;
        }
    }

    // Text that an input method commits (compose keys, dead keys, on-screen keyboards) is
    // typed key by key, so each character meets the field's rules; text still being
    // composed is not shown.
    void digitaTestoComposto(const QString& testo) {
        for (const QChar carattere : testo) {
            QKeyEvent tasto(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(carattere));
            QCoreApplication::sendEvent(campo_, &tasto);
        }
    }

  private:
    QLineEdit* campo_;
};

}  // namespace

std::optional<int> codiceCarattere(const QKeyEvent& evento) {
    const int tasto = evento.key();
    const Qt::KeyboardModifiers modificatori = evento.modifiers();
    switch (tasto) {
        case Qt::Key_Backspace:
            return modificatori.testFlag(Qt::ControlModifier) ? 127 : 8;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    if (modificatori.testFlag(Qt::ControlModifier) && !modificatori.testFlag(Qt::AltModifier) &&
        tasto >= Qt::Key_A && tasto <= Qt::Key_Z) {
        return tasto - Qt::Key_A + 1;  // Ctrl+C is 3, Ctrl+V 22, ...
    }
    const QString testo = evento.text();
    if (testo.isEmpty()) {
        return std::nullopt;
    }
    return testo.at(0).unicode();
}

StatoTesto statoDi(const QLineEdit* campo) {
    if (campo->hasSelectedText()) {
        return {campo->text(), campo->selectionStart(), campo->selectionLength()};
    }
    return {campo->text(), campo->cursorPosition(), 0};
}

void mostraStato(QLineEdit* campo, const StatoTesto& prima, const StatoTesto& dopo) {
    if (dopo == prima) {
        return;
    }
    if (dopo.testo != prima.testo) {
        campo->setText(dopo.testo);
    }
    if (dopo.selezione > 0) {
        campo->setSelection(dopo.inizio, dopo.selezione);
    } else {
        campo->setCursorPosition(dopo.inizio);
    }
}

int applicaRegole(QLineEdit* campo, int codice, const RegoleImporto& regole) {
    const StatoTesto prima = statoDi(campo);
    const EsitoTasto esito = applicaTasto(prima, codice, regole);
    if (esito.beep) {
        services::ui().beep();
    }
    mostraStato(campo, prima, esito.stato);
    return esito.consumato ? 0 : codice;
}

void inserisciCarattere(QLineEdit* campo, int codice, int lunghezzaMassima) {
    if (codice == tasti::Backspace) {
        campo->backspace();
        return;
    }
    if (codice < 32 || codice == 127) {
        return;
    }
    const qsizetype dopo = campo->text().size() - campo->selectionLength() + 1;
    if (lunghezzaMassima > 0 && dopo > lunghezzaMassima) {
        services::ui().beep();
        return;
    }
    campo->insert(QString(QChar(codice)));
}

void installaTastiNumerici(QLineEdit* campo) {
    campo->installEventFilter(new FiltroTastiNumerici(campo));
    rifiutaIncolla(campo);
}

void rifiutaIncolla(QLineEdit* campo) {
    campo->setContextMenuPolicy(Qt::NoContextMenu);
    campo->setAcceptDrops(false);
    // Installed last, so it sees a paste before the field's key rules do.
    campo->installEventFilter(new FiltroIncolla(campo));
}
