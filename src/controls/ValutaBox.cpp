#include "ValutaBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>
#include <array>

#include "Colori.h"
#include "Services.h"
#include "TastiCampo.h"

namespace {

constexpr double kCambioMassimo = 9e14;  // beyond it an exchange rate is no money value

// The pointers by number, as window designs store them (0 is the field's own).
Qt::CursorShape formaPuntatore(int puntatore) {
    static constexpr std::array<Qt::CursorShape, 16> forme = {
        Qt::IBeamCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    return puntatore >= 0 && puntatore < static_cast<int>(forme.size()) ? forme.at(puntatore)
                                                                        : Qt::ArrowCursor;
}

}  // namespace

ValutaBox::ValutaBox(QWidget* parent) : QWidget(parent) {
    txtValuta = new QLineEdit(this);
    txtValuta->setObjectName(QStringLiteral("txtValuta"));
    txtValuta->move(0, 0);
    // Every character goes through the key rules: no input-method text, no dropped or
    // pasted text.
    txtValuta->setAttribute(Qt::WA_InputMethodEnabled, false);
    txtValuta->setMouseTracking(true);
    txtValuta->installEventFilter(this);
    rifiutaIncolla(txtValuta);
    setFocusProxy(txtValuta);
    connect(txtValuta, &QLineEdit::textChanged, this, &ValutaBox::testoCambiato);
    txtValuta->setText(QStringLiteral("Text1"));
}

QString ValutaBox::text() const {
    return txtValuta->text();
}
void ValutaBox::setText(const QString& text) {
    txtValuta->setText(text);
}

void ValutaBox::setDecimali(int decimali) {
    decimali_ = decimali;
    emit PropertyChanged(QStringLiteral("Decimali"));
}

void ValutaBox::setMaxLength(int length) {
    maxLength_ = std::max(length, 0);
}

void ValutaBox::setCambio(Money cambio) {
    cambio_ = cambio;
    emit PropertyChanged(QStringLiteral("Cambio"));
}

void ValutaBox::setCambioNumero(double cambio) {
    setCambio(cambio > -kCambioMassimo && cambio < kCambioMassimo ? Money::fromDouble(cambio)
                                                                  : Money());
}

void ValutaBox::setValuta(const QString& valuta) {
    valuta_ = valuta;
    emit PropertyChanged(QStringLiteral("Valuta"));
}

void ValutaBox::setValuta2(const QString& valuta2) {
    valuta2_ = valuta2;
    emit PropertyChanged(QStringLiteral("Valuta2"));
}

void ValutaBox::setDecimali2(int decimali2) {
    decimali2_ = decimali2;
    emit PropertyChanged(QStringLiteral("Decimali2"));
}

QColor ValutaBox::backColor() const {
    return sfondo(this);
}
void ValutaBox::setBackColor(const QColor& colore) {
    impostaSfondo(this, colore);
}

QColor ValutaBox::foreColor() const {
    return palette().color(QPalette::Active, QPalette::Text);
}

void ValutaBox::setForeColor(const QColor& colore) {
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Text, colore);
    setPalette(tavolozza);
}

void ValutaBox::setFontBold(bool attivo) {
    QFont carattere = font();
    carattere.setBold(attivo);
    setFont(carattere);
}

void ValutaBox::setFontItalic(bool attivo) {
    QFont carattere = font();
    carattere.setItalic(attivo);
    setFont(carattere);
}

void ValutaBox::setFontName(const QString& nome) {
    if (nome.isEmpty()) {
        return;  // no name stored: the window's font stays
    }
    QFont carattere = font();
    carattere.setFamily(nome);
    setFont(carattere);
}

void ValutaBox::setFontSize(double punti) {
    if (punti <= 0) {
        return;  // no size stored: the window's font stays
    }
    QFont carattere = font();
    carattere.setPointSizeF(punti);
    setFont(carattere);
}

void ValutaBox::setFontStrikethru(bool attivo) {
    QFont carattere = font();
    carattere.setStrikeOut(attivo);
    setFont(carattere);
}

void ValutaBox::setFontUnderline(bool attivo) {
    QFont carattere = font();
    carattere.setUnderline(attivo);
    setFont(carattere);
}

void ValutaBox::setMouseIcon(const QPixmap& icona) {
    mouseIcon_ = icona;
    applicaPuntatore();
}

void ValutaBox::setMousePointer(int puntatore) {
    mousePointer_ = puntatore;
    applicaPuntatore();
}

void ValutaBox::applicaPuntatore() {
    if (mousePointer_ == 0) {
        txtValuta->unsetCursor();
    } else if (mousePointer_ == 99 && !mouseIcon_.isNull()) {
        txtValuta->setCursor(QCursor(mouseIcon_));
    } else {
        txtValuta->setCursor(formaPuntatore(mousePointer_));
    }
}

int ValutaBox::selStart() const {
    return statoDi(txtValuta).inizio;
}
void ValutaBox::setSelStart(int inizio) {
    txtValuta->setCursorPosition(inizio);
}
int ValutaBox::selLength() const {
    return txtValuta->selectionLength();
}

void ValutaBox::setSelLength(int lunghezza) {
    const int inizio = selStart();
    txtValuta->setSelection(inizio,
                            std::clamp(lunghezza, 0, static_cast<int>(text().size()) - inizio));
}

QString ValutaBox::selText() const {
    return txtValuta->selectedText();
}
void ValutaBox::setSelText(const QString& testo) {
    txtValuta->insert(testo);
}
QString ValutaBox::toolTipText() const {
    return txtValuta->toolTip();
}
void ValutaBox::setToolTipText(const QString& testo) {
    txtValuta->setToolTip(testo);
}
void ValutaBox::Refresh() {
    txtValuta->update();
}

QSize ValutaBox::sizeHint() const {
    return txtValuta->sizeHint();
}
QSize ValutaBox::minimumSizeHint() const {
    return txtValuta->minimumSizeHint();
}

void ValutaBox::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    txtValuta->setGeometry(rect());
    emit Resize();
}

bool ValutaBox::eventFilter(QObject* oggetto, QEvent* evento) {
    if (oggetto != txtValuta) {
        return false;
    }
    switch (evento->type()) {
        case QEvent::KeyPress:
            return tastoPremuto(static_cast<QKeyEvent*>(evento));
        case QEvent::KeyRelease: {
            const auto* tasto = static_cast<QKeyEvent*>(evento);
            emit KeyUp(tasto->key(), tasto->modifiers());
            return false;
        }
        case QEvent::FocusIn: {
            const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
            if (motivo != Qt::PopupFocusReason && !inModifica_) {
                entrato();
            }
            return false;
        }
        case QEvent::FocusOut: {
            // Another window or a popup taking the focus for a while is no leaving.
            const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
            if (motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason &&
                inModifica_) {
                uscito();
            }
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(evento);
            emit MouseDown(mouse->button(), mouse->modifiers(),
                           static_cast<float>(mouse->position().x()),
                           static_cast<float>(mouse->position().y()));
            return false;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(evento);
            emit MouseMove(mouse->buttons(), mouse->modifiers(),
                           static_cast<float>(mouse->position().x()),
                           static_cast<float>(mouse->position().y()));
            return false;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(evento);
            emit MouseUp(mouse->button(), mouse->modifiers(),
                         static_cast<float>(mouse->position().x()),
                         static_cast<float>(mouse->position().y()));
            if (mouse->button() == Qt::LeftButton &&
                txtValuta->rect().contains(mouse->position().toPoint())) {
                emit Click();
            }
            return false;
        }
        case QEvent::MouseButtonDblClick:
            emit DblClick();
            return false;
        default:
            return false;
    }
}

bool ValutaBox::tastoPremuto(QKeyEvent* evento) {
    const RegoleImporto regole = regoleValutaBox(decimali_, maxLength_);
    int codiceTasto = evento->key();
    if (codiceTasto == Qt::Key_Delete && decimali_ != 0) {
        codiceTasto = 0;
        applicaRegole(txtValuta, tasti::CancellaAvanti, regole);
    }
    emit KeyDown(codiceTasto, evento->modifiers());
    const std::optional<int> carattere = codiceCarattere(*evento);
    if (!carattere) {
        return codiceTasto == 0;  // otherwise arrows, Home, ... go on to the field
    }
    int codice = applicaRegole(txtValuta, *carattere, regole);
    emit KeyPress(codice);
    inserisciCarattere(txtValuta, codice, maxLength_);
    return true;
}

void ValutaBox::entrato() {
    inModifica_ = true;
    setBackColor(coloreModifica());
    if (!text().trimmed().isEmpty()) {
        txtValuta->selectAll();
    }
}

void ValutaBox::uscito() {
    inModifica_ = false;
    const QString testo =
        decimali_ != 0 ? testoUscitaDecimali(text(), decimali_) : testoUscitaIntero(text());
    setBackColor(coloreNormale());
    if (testo != text()) {
        setText(testo);
    }
}

void ValutaBox::testoCambiato() {
    if (decimali_ == 0) {
        const StatoTesto prima = statoDi(txtValuta);
        // Showing the regrouped text changes it once more; that second pass finds it grouped.
        mostraStato(txtValuta, prima, riscritturaIntera(prima));
    }
    emit Change();
}
