#include "frmEsporta.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "BusyPointer.h"
#include "CentraFinestra.h"
#include "EsportaCassa.h"
#include "EventiCampo.h"
#include "FieldRules.h"
#include "ImmaginiPulsanti.h"
#include "ItalianDate.h"
#include "Programma.h"
#include "Services.h"

frmEsporta::frmEsporta(const QDate& mese, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmEsporta"));
    setWindowTitle(QStringLiteral("Esporta per il commercialista"));

    txtDaData = creaCampoData(this, QStringLiteral("txtDaData"));
    txtAData = creaCampoData(this, QStringLiteral("txtAData"));
    txtDaData->setText(formatItalianDate(mese));
    txtAData->setText(formatItalianDate(mese.addMonths(1).addDays(-1)));

    auto* formato = new QGroupBox(QStringLiteral("Formato"), this);
    optXlsx = new QRadioButton(QStringLiteral("Excel (.xlsx)"), formato);
    optXlsx->setObjectName(QStringLiteral("optXlsx"));
    optXlsx->setChecked(true);
    optCsv = new QRadioButton(QStringLiteral("CSV (.csv)"), formato);
    optCsv->setObjectName(QStringLiteral("optCsv"));
    auto* scelte = new QVBoxLayout(formato);
    scelte->addWidget(optXlsx);
    scelte->addWidget(optCsv);

    cmdOk =
        new QPushButton(immaginePulsante(QStringLiteral("SALVA")), QStringLiteral("Esporta"), this);
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
    griglia->addWidget(formato, 2, 0, 1, 2);
    griglia->addWidget(cmdOk, 3, 0);
    griglia->addWidget(cmdAnnulla, 3, 1);

    auto* eventi = new EventiCampo(this);
    for (QLineEdit* campo : {txtDaData, txtAData}) {
        collegaCampoIntervallo(eventi, campo);
    }
    connect(cmdOk, &QPushButton::clicked, this, &frmEsporta::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);

    adjustSize();
    CentraFinestra(this);
}

QString frmEsporta::nomeProposto(const QDate& dal, const QDate& al) const {
    QString periodo;
    if (dal.day() == 1 && al == dal.addMonths(1).addDays(-1)) {
        periodo = dal.toString(QStringLiteral("yyyy-MM"));
    } else if (dal.dayOfYear() == 1 && al == QDate(dal.year(), 12, 31)) {
        periodo = dal.toString(QStringLiteral("yyyy"));
    } else {
        periodo = dal.toString(Qt::ISODate) + QStringLiteral(" - ") + al.toString(Qt::ISODate);
    }
    const QString estensione =
        optCsv->isChecked() ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    return QStringLiteral("Cassa ") + periodo + estensione;
}

void frmEsporta::cmdOk_Click() {
    const auto rifiuta = [this](const QString& testo, QLineEdit* campo) {
        services::ui().message(testo, windowTitle().toUpper(), Interaction::Icon::Exclamation);
        campo->setFocus();
    };
    // Enter confirms without leaving a field: both dates are checked here too.
    if (!ControllaData(txtDaData) || !ControllaData(txtAData)) {
        return;
    }
    const int anno = services::clock().today().year();
    const std::optional<QDate> dal = readItalianDate(txtDaData->displayText(), anno);
    const std::optional<QDate> al = readItalianDate(txtAData->displayText(), anno);
    if (!dal) {
        rifiuta(QStringLiteral("Indicare la data di inizio del periodo."), txtDaData);
        return;
    }
    if (!al) {
        rifiuta(QStringLiteral("Indicare la data di fine del periodo."), txtAData);
        return;
    }
    if (*dal > *al) {
        rifiuta(QStringLiteral("La data di inizio segue quella di fine."), txtDaData);
        return;
    }
    const bool csv = optCsv->isChecked();
    const QString cartella = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const std::optional<QString> scelto = services::ui().chooseSaveFile(
        windowTitle(), QDir(cartella).filePath(nomeProposto(*dal, *al)),
        csv ? QStringLiteral("File CSV (*.csv)")
            : QStringLiteral("Cartella di lavoro Excel (*.xlsx)"));
    if (!scelto) {
        return;  // the person cancelled the save dialog: the window stays open
    }
    // A name typed with .xlsx or .csv says its format; any other gets the one chosen.
    QString percorso = *scelto;
    if (!formatoDi(percorso)) {
        percorso += csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    }
    QString errore;
    bool esportato = false;
    {
        BusyPointer attesa;
        esportato = esportaCassa(DbArchivio(), *dal, *al, percorso, &errore);
    }
    if (!esportato) {
        services::ui().message(errore, windowTitle().toUpper(), Interaction::Icon::Critical);
        return;
    }
    services::ui().message(QStringLiteral("Esportazione eseguita nel file\n%1")
                               .arg(QDir::toNativeSeparators(percorso)),
                           windowTitle(), Interaction::Icon::Information);
    accept();
}
