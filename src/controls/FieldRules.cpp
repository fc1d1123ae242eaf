#include "FieldRules.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>

#include "Colori.h"
#include "Controlli.h"
#include "EventiCampo.h"
#include "FormHelpers.h"
#include "ItalianDate.h"
#include "MoneyText.h"
#include "RegoleTasti.h"
#include "Services.h"
#include "TastiCampo.h"

namespace {

QLineEdit* lineEditOf(QWidget* campo) {
    if (auto* edit = qobject_cast<QLineEdit*>(campo)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(campo)) {
        return combo->lineEdit();
    }
    return nullptr;
}

void trimText(QWidget* campo) {
    if (QLineEdit* edit = lineEditOf(campo)) {
        const QString trimmed = edit->text().trimmed();
        if (trimmed != edit->text()) {
            edit->setText(trimmed);
        }
    }
}

void selezionaSeNonVuoto(QLineEdit* campo) {
    if (!campo->text().trimmed().isEmpty()) {
        campo->selectAll();
    }
}

}  // namespace

void EntraCampo(QWidget* campo) {
    impostaSfondo(campo, coloreModifica());
    trimText(campo);
}

void EntraCampoSeleziona(QWidget* campo) {
    EntraCampo(campo);
    if (QLineEdit* edit = lineEditOf(campo)) {
        selezionaSeNonVuoto(edit);
    }
}

void EsciCampo(QWidget* campo) {
    impostaSfondo(campo, coloreNormale());
    trimText(campo);
}

void SelezionaTesto(QLineEdit* campo) {
    campo->selectAll();
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        // The press that gave the focus places the caret after this: select once it is done.
        QTimer::singleShot(0, campo, [campo] {
            if (campo->hasFocus()) {
                campo->selectAll();
            }
        });
    }
}

void EntraCampoData(QLineEdit* campo) {
    impostaSfondo(campo, coloreModifica());
    SelezionaTesto(campo);
}

bool ControllaData(QLineEdit* campo) {
    // The shown text keeps the "_" blanks that text() leaves out.
    QString s = campo->displayText();
    if (s == QLatin1String("__/__/____")) {
        return true;
    }
    const qsizetype blank = s.indexOf(QLatin1Char('_'));
    if (blank >= 0) {
        s.truncate(blank);
    }
    const auto data = readItalianDate(s, services::clock().today().year());
    if (!data) {
        campo->setFocus();
        services::ui().beep();
        return false;
    }
    campo->setText(formatItalianDate(*data));
    return true;
}

void collegaCampoIntervallo(EventiCampo* eventi, QLineEdit* campo) {
    eventi->collega(campo, {[campo] { EntraCampoData(campo); },
                            [campo] {
                                impostaSfondo(campo, coloreNormale());
                                ControllaData(campo);
                            },
                            {}});
}

void EntraCampoNumerico(QLineEdit* campo) {
    impostaSfondo(campo, coloreModifica());
    selezionaSeNonVuoto(campo);
}

void KeyDownNumerico(QLineEdit* campo, int& keyCode) {
    if (keyCode != Qt::Key_Delete) {
        return;
    }
    keyCode = 0;
    int cancella = tasti::CancellaAvanti;
    KeyPressNumerico(campo, cancella);
}

void KeyPressNumerico(QLineEdit* campo, int& keyAscii) {
    keyAscii = applicaRegole(campo, keyAscii, regoleNumerico(campo->maxLength()));
}

void EsciCampoPercentuale(QLineEdit* campo) {
    impostaSfondo(campo, coloreNormale());
    QString testo = riscrivi(campo->text(), QStringLiteral("#0.00"));
    if (testo.trimmed().isEmpty()) {
        testo = QStringLiteral("0,00");
    }
    if (testo != campo->text()) {
        campo->setText(testo);
    }
    const Money valore = ConvertiValuta(testo);
    if (valore >= Money::fromWhole(100) || valore <= Money::fromWhole(-100)) {
        services::ui().message(QStringLiteral("VALORE ERRATO!"), QStringLiteral("Attenzione"),
                               Interaction::Icon::Exclamation);
        campo->setFocus();
    }
}

void BloccaMaschera(const QString& nome1, const QString& nome2, QWidget* finestra) {
    const QStringList sempreAttivi = {nome1,
                                      nome2,
                                      QStringLiteral("lblCod"),
                                      QStringLiteral("lblDes"),
                                      QStringLiteral("cmdPre"),
                                      QStringLiteral("cmdSuc")};
    for (QWidget* controllo : controlliDi(finestra)) {
        if (sempreAttivi.contains(controllo->objectName())) {
            continue;
        }
        const TipoControllo tipo = tipoControllo(controllo);
        if (tipo == TipoControllo::Altro || tipo == TipoControllo::Importo) {
            continue;
        }
        controllo->setEnabled(false);
        // Buttons, check and option boxes already show the button face behind them.
        if (campoDiImmissione(tipo)) {
            impostaSfondo(controllo, coloreDisabilitato());
        }
    }
    setTag(finestra, QString());
}

QLineEdit* creaCampoData(QWidget* parent, const QString& nome) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(nome);
    campo->setInputMask(QStringLiteral("99/99/9999;_"));
    return campo;
}

QLineEdit* creaCampoOra(QWidget* parent, const QString& nome) {
    auto* campo = new QLineEdit(parent);
    campo->setObjectName(nome);
    campo->setInputMask(QStringLiteral("99.99;_"));
    return campo;
}
