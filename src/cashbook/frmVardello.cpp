#include "frmVardello.h"

#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

#include "Avvio.h"
#include "Programma.h"
#include "Services.h"

namespace {
constexpr int kPrimoAnno = 1996;
constexpr int kUltimoAnno = 2028;  // the last year an entry may carry
}  // namespace

frmVardello::frmVardello(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmVardello"));
    setWindowTitle(QStringLiteral("Vardello"));
    costruisciFinestra();
}

void frmVardello::costruisciFinestra() {
    auto* layout = new QVBoxLayout(this);
    grdGesca = new QTableView(this);
    grdGesca->setObjectName(QStringLiteral("grdGesca"));
    layout->addWidget(grdGesca, 1);

    tabMesi = new QTabBar(this);
    tabMesi->setObjectName(QStringLiteral("tabMesi"));
    for (const char* mese : {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu", "Lug", "Ago", "Set", "Ott",
                             "Nov", "Dic"}) {
        tabMesi->addTab(QString::fromLatin1(mese));
    }
    layout->addWidget(tabMesi);

    cmbAnno = new QComboBox(this);
    cmbAnno->setObjectName(QStringLiteral("cmbAnno"));
    layout->addWidget(cmbAnno);

    lblPercorsoArchivi = new QLabel(QStringLiteral("Percorso archivi: "), this);
    lblPercorsoArchivi->setObjectName(QStringLiteral("lblPercorsoArchivi"));
    layout->addWidget(lblPercorsoArchivi);
}

void frmVardello::impostaAnni() {
    for (int anno = kPrimoAnno; anno <= kUltimoAnno; ++anno) {
        cmbAnno->addItem(QString::number(anno));
    }
    const int oggi = services::clock().today().year();
    cmbAnno->setCurrentText(QString::number(qBound(kPrimoAnno, oggi, kUltimoAnno)));
}

QDate frmVardello::meseSelezionato() const {
    return QDate(cmbAnno->currentText().toInt(), tabMesi->currentIndex() + 1, 1);
}

bool frmVardello::Avvio() {
    if (!apriArchivioAllAvvio()) {
        return false;
    }
    lblPercorsoArchivi->setText(QStringLiteral("Percorso archivi: ") +
                                programma().PercorsoArchivio);
    setWindowTitle(QStringLiteral("Vardello - Versione %1.%2.%3 - Archivio:%4")
                       .arg(VARDELLO_VERSION_MAJOR)
                       .arg(VARDELLO_VERSION_MINOR)
                       .arg(VARDELLO_VERSION_PATCH)
                       .arg(programma().PercorsoArchivio.toUpper()));
    impostaAnni();
    tabMesi->setCurrentIndex(services::clock().today().month() - 1);
    return true;
}
