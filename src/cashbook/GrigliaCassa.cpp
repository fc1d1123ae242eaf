#include "GrigliaCassa.h"

#include <QApplication>
#include <QCache>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QtMath>
#include <optional>

#include "BarraScorrimento.h"
#include "ModelloCassa.h"
#include "Twips.h"

namespace {

// The cells keep their padding blanks; the text drawn leaves the trailing ones out, so that
// centred and right-aligned cells line up. The style draws each cell's background, selection
// and focus; the text is drawn here from a laid-out text kept per string, because laying out
// every visible cell's text again at each repaint (a month's grid repaints whole after an
// insert) was most of the time an insert took on screen.
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

    void paint(QPainter* pittore, const QStyleOptionViewItem& opzione,
               const QModelIndex& indice) const override {
        QStyleOptionViewItem o = opzione;
        initStyleOption(&o, indice);
        const QString testo = o.text;
        o.text.clear();
        const QWidget* widget = o.widget;
        QStyle* stile = widget ? widget->style() : QApplication::style();
        stile->drawControl(QStyle::CE_ItemViewItem, &o, pittore, widget);
        if (testo.isEmpty()) {
            return;
        }
        const QStaticText& disegno = testoPreparato(testo, o.font);
        // Where the style puts a line of text: inside its margins, aligned as the model says,
        // clipped to the cell.
        const int margine = stile->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect spazio = o.rect.adjusted(margine, 0, -margine, 0);
        const QSize misura(qCeil(disegno.size().width()), QFontMetrics(o.font).height());
        const QRect posto = QStyle::alignedRect(o.direction, o.displayAlignment, misura, spazio);
        const QPalette::ColorGroup gruppo = !(o.state & QStyle::State_Enabled) ? QPalette::Disabled
                                            : (o.state & QStyle::State_Active) ? QPalette::Normal
                                                                               : QPalette::Inactive;
        pittore->setPen(o.palette.color(gruppo, (o.state & QStyle::State_Selected)
                                                    ? QPalette::HighlightedText
                                                    : QPalette::Text));
        pittore->setFont(o.font);
        const bool sborda = !o.rect.contains(posto);
        if (sborda) {
            pittore->save();
            pittore->setClipRect(o.rect);
        }
        pittore->drawStaticText(posto.topLeft(), disegno);
        if (sborda) {
            pittore->restore();
        }
    }

  private:
    // The text laid out once for the grid's font; a few screens of cells are kept.
    const QStaticText& testoPreparato(const QString& testo, const QFont& font) const {
        if (font != font_) {
            preparati_.clear();
            font_ = font;
        }
        if (QStaticText* trovato = preparati_.object(testo)) {
            return *trovato;
        }
        auto* nuovo = new QStaticText(testo);
        nuovo->setTextFormat(Qt::PlainText);
        nuovo->setPerformanceHint(QStaticText::AggressiveCaching);
        nuovo->prepare(QTransform(), font);
        preparati_.insert(testo, nuovo);
        return *nuovo;
    }

    mutable QFont font_;
    mutable QCache<QString, QStaticText> preparati_{4000};
};

// The column titles. They never show which rows are selected, so a change of the selection
// leaves them as they are; the base view repainted every title the selected rows span, the
// whole header at each insert and at each click on a row.
class TitoliColonne : public QHeaderView {
  public:
    explicit TitoliColonne(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setHighlightSections(false);
        setSectionsClickable(false);
    }

  protected:
    void selectionChanged(const QItemSelection& /*selezionate*/,
                          const QItemSelection& /*deselezionate*/) override {}
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
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalHeader(new TitoliColonne(this));
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBar(new BarraScorrimento(Qt::Vertical));
    setHorizontalScrollBar(new BarraScorrimento(Qt::Horizontal));
    for (QScrollBar* barra : {verticalScrollBar(), horizontalScrollBar()}) {
        disponiBarraSoloSeServe(barra);
    }
    // Rows added (an insert) repaint from the first new row down instead of the whole grid:
    // a month of thousands of rows scrolls by one row and redraws only what moved in.
    disconnect(verticalHeader(), SIGNAL(sectionCountChanged(int, int)), this,
               SLOT(rowCountChanged(int, int)));
    connect(verticalHeader(), &QHeaderView::sectionCountChanged, this,
            &GrigliaCassa::contaRigheCambiato);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& indice) { emit rigaScelta(indice.row()); });
}

void GrigliaCassa::disponiBarraSoloSeServe(QScrollBar* barra) {
    // The scroll area lays its bars out again at every change of their range, raising each
    // above the other, and both are repainted each time: after every insert into a month of
    // thousands of rows. A bar is shown or hidden only when its range becomes empty or stops
    // being so, and only then is the layout needed (a resize lays it out on its own).
    disconnect(barra, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
    connect(barra, &QScrollBar::rangeChanged, this,
            [this, vuota = std::optional<bool>()](int minimo, int massimo) mutable {
                if (vuota == (minimo == massimo)) {
                    return;
                }
                vuota = minimo == massimo;
                QMetaObject::invokeMethod(this, "_q_showOrHideScrollBars", Qt::QueuedConnection);
            });
}

void GrigliaCassa::setModello(ModelloCassa* modello) {
    modello_ = modello;
    setModel(modello);
    for (int colonna = 0; colonna < NumeroColonne; ++colonna) {
        setColumnWidth(colonna, pixel(ModelloCassa::larghezzaTwips(colonna)));
    }
}

void GrigliaCassa::contaRigheCambiato(int prima, int dopo) {
    if (dopo <= prima) {
        rowCountChanged(prima, dopo);
        return;
    }
    // Every row has the same height: rows added to a grid that already scrolls make it
    // scroll as many rows further. Laying the whole view out again (the headers' margins,
    // both scroll bars) would repaint both bars at every insert.
    QScrollBar* barra = verticalScrollBar();
    if (verticalScrollMode() == ScrollPerItem && barra->maximum() > barra->minimum()) {
        barra->setMaximum(barra->maximum() + dopo - prima);
        return;
    }
    updateGeometries();  // the scroll bar's range; rowsInserted repaints the rows
}

void GrigliaCassa::rowsInserted(const QModelIndex& genitore, int inizio, int fine) {
    QTableView::rowsInserted(genitore, inizio, fine);
    // Every row has the same height, so a row's place is reckoned from its number: asking the
    // header would have it add up the heights of every row of the month after each insert.
    const int y = qMax(0, inizio * verticalHeader()->defaultSectionSize() - verticalOffset());
    viewport()->update(QRect(0, y, viewport()->width(), viewport()->height() - y));
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
