#include "frmSelezione.h"
#include "CentraFinestra.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "EventiCampo.h"
#include "FieldRules.h"
#include "ImmaginiPulsanti.h"

frmSelezione::frmSelezione(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelezione"));
    setWindowTitle(QStringLiteral("Stampa"));

    txtDaData = creaCampoData(this, QStringLiteral("txtDaData"));
    txtAData = creaCampoData(this, QStringLiteral("txtAData"));
    cmdOk = new QPushButton(immaginePulsante(QStringLiteral("OK")), QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdAnnulla = new QPushButton(immaginePulsante(QStringLiteral("ANNULLA")),
                                 QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setToolTip(QStringLiteral("Esci"));

    auto* griglia = new QGridLayout(this);
    griglia->addWidget(new QLabel(QStringLiteral("Da data"), this), 0, 0);
    griglia->addWidget(txtDaData, 0, 1);
    griglia->addWidget(new QLabel(QStringLiteral("A data"), this), 1, 0);
    griglia->addWidget(txtAData, 1, 1);
    griglia->addWidget(cmdOk, 2, 0);
    griglia->addWidget(cmdAnnulla, 2, 1);

    auto* eventi = new EventiCampo(this);
    for (QLineEdit* campo : {txtDaData, txtAData}) {
        collegaCampoIntervallo(eventi, campo);
    }
    connect(cmdOk, &QPushButton::clicked, this, &frmSelezione::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    adjustSize();
    CentraFinestra(this);
}

void frmSelezione::cmdOk_Click() {
    // Enter confirms without leaving the field, and a click follows a refused date anyway:
    // both dates are checked (and completed) here too, so a half-typed or impossible date is
    // never taken for an open range that would print the whole book.
    if (!ControllaData(txtDaData) || !ControllaData(txtAData)) {
        return;
    }
    DaData = txtDaData->displayText();
    AData = txtAData->displayText();
    PremutoOk = true;
    accept();
}
