#include "FRMINFO.h"
#include "CentraFinestra.h"
#include "ImmaginiPulsanti.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FRMINFO::FRMINFO(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FRMINFO"));
    setWindowTitle(QStringLiteral("Informazioni su Vardello"));
    setModal(true);

    auto* Frame3D1 = new QFrame(this);
    Frame3D1->setObjectName(QStringLiteral("Frame3D1"));
    Frame3D1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* Label2 = new QLabel(QStringLiteral("Vardello "), Frame3D1);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont grande = Label2->font();
    grande.setPointSize(grande.pointSize() * 2);
    grande.setBold(true);
    Label2->setFont(grande);
    auto* lblVersione = new QLabel(QStringLiteral("Versione %1.%2.%3")
                                       .arg(VARDELLO_VERSION_MAJOR)
                                       .arg(VARDELLO_VERSION_MINOR)
                                       .arg(VARDELLO_VERSION_PATCH),
                                   Frame3D1);
    lblVersione->setObjectName(QStringLiteral("lblVersione"));
    auto* nome = new QVBoxLayout(Frame3D1);
    nome->addWidget(Label2, 0, Qt::AlignHCenter);
    nome->addWidget(lblVersione, 0, Qt::AlignHCenter);

    auto* Frame3D2 = new QFrame(this);
    Frame3D2->setObjectName(QStringLiteral("Frame3D2"));
    Frame3D2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* descrizione = new QLabel(QStringLiteral("Libro cassa"), Frame3D2);
    auto* dettagli = new QVBoxLayout(Frame3D2);
    dettagli->addWidget(descrizione, 0, Qt::AlignHCenter);

    auto* cmdOk = new QPushButton(this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setIcon(immaginePulsante(QStringLiteral("OK")));
    cmdOk->setToolTip(QStringLiteral("Chiude la finestra"));
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame3D1);
    layout->addWidget(Frame3D2);
    layout->addWidget(cmdOk, 0, Qt::AlignHCenter);
}

void FRMINFO::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    CentraFinestra(this);
}
