#include "GrigliaCassa.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "ModelloCassa.h"
#include "Twips.h"

namespace {

// The cells keep their padding blanks; the text drawn leaves the trailing ones out, so that
// centred and right-aligned cells line up.
class DelegatoCassa : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& valore, const QLocale&) const override {
        QString testo = valore.toString();
        qsizetype fine = testo.size();
        while (fine > 0 && testo.at(fine - 1) == QLatin1Char(' ')) {
            --fine;
        }
        testo.truncate(fine);
        return testo;
    }
};

}  // namespace

GrigliaCassa::GrigliaCassa(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab and Shift+Tab go on to the next control; the arrows, Page Up/Down, Home and End
    // move inside the grid.
    setTabKeyNavigation(false);
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    setItemDelegate(new DelegatoCassa(this));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(pixel(240));
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& indice) { emit rigaScelta(indice.row()); });
}

void GrigliaCassa::setModello(ModelloCassa* modello) {
    modello_ = modello;
    setModel(modello);
    for (int colonna = 0; colonna < NumeroColonne; ++colonna) {
        setColumnWidth(colonna, pixel(ModelloCassa::larghezzaTwips(colonna)));
    }
}

void GrigliaCassa::keyPressEvent(QKeyEvent* evento) {
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit rigaScelta(currentIndex().row());
        return;
    }
    QTableView::keyPressEvent(evento);
}

QList<int> GrigliaCassa::righeSelezionate() const {
    QList<int> righe;
    for (const QModelIndex& indice : selectionModel()->selectedRows()) {
        righe.append(indice.row());
    }
    std::sort(righe.begin(), righe.end());
    return righe;
}

QString GrigliaCassa::testoSelezione() const {
    QStringList righe;
    for (int riga : righeSelezionate()) {
        righe.append(modello_->celle(riga).join(QLatin1Char('\t')));
    }
    return righe.join(QLatin1Char('\r'));
}

int GrigliaCassa::primaRigaSelezionata() const {
    const QList<int> righe = righeSelezionate();
    return righe.isEmpty() ? -1 : righe.first();
}

int GrigliaCassa::ultimaRigaSelezionata() const {
    const QList<int> righe = righeSelezionate();
    return righe.isEmpty() ? -1 : righe.last();
}

void GrigliaCassa::selezionaRighe(int prima, int ultima) {
    const int ultimaRiga = model()->rowCount() - 1;
    prima = qBound(0, prima, ultimaRiga);
    ultima = qBound(0, ultima, ultimaRiga);
    const QItemSelection selezione(model()->index(prima, 0),
                                   model()->index(ultima, NumeroColonne - 1));
    selectionModel()->setCurrentIndex(model()->index(prima, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selezione, QItemSelectionModel::ClearAndSelect);
}

int GrigliaCassa::primaRigaVisibile() const {
    return verticalScrollBar()->value();
}

void GrigliaCassa::setPrimaRigaVisibile(int riga) {
    verticalScrollBar()->setValue(riga);
}
