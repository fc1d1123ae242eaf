#pragma once

#include <QTableView>

class ModelloCassa;
class QScrollBar;

// The month grid: whole rows are selected, one contiguous range at a time (dragging or
// Shift extends it); a double click or Enter on a row picks it. Tab leaves the grid.
class GrigliaCassa : public QTableView {
    Q_OBJECT
  public:
    explicit GrigliaCassa(QWidget* parent = nullptr);

    void setModello(ModelloCassa* modello);
    ModelloCassa* modello() const { return modello_; }

    // The selection as text: the cells of each selected row joined by TAB, rows joined by
    // CR, in grid order.
    QString testoSelezione() const;

    // First and last selected row; both -1 when nothing is selected.
    int primaRigaSelezionata() const;
    int ultimaRigaSelezionata() const;
    void selezionaRighe(int prima, int ultima);

    int primaRigaVisibile() const;
    void setPrimaRigaVisibile(int riga);

  signals:
    void rigaScelta(int riga);

  protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void rowsInserted(const QModelIndex& genitore, int inizio, int fine) override;

  private:
    QList<int> righeSelezionate() const;
    void contaRigheCambiato(int prima, int dopo);
    void disponiBarraSoloSeServe(QScrollBar* barra);

    ModelloCassa* modello_ = nullptr;
};
