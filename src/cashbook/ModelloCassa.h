#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include "RigaCassa.h"

// The rows of the month grid. The grid's header row is the view's horizontal header, not a
// row of this model: model row r is the r-th movement shown (the book's grid row r + 1).
// Below the movements the model always keeps one blank row, which no removal takes away.
class ModelloCassa : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

    // Shows these movements (one reset of the view).
    void carica(QList<RigaCassa> righe);
    // Leaves only the blank row.
    void svuota();
    void inserisci(int riga, const RigaCassa& movimento);
    // Removes the movement of that row; the blank row is never removed.
    void rimuovi(int riga);

    int movimenti() const { return static_cast<int>(righe_.size()); }
    // The movement of a row, or nullptr for the blank row.
    const RigaCassa* movimento(int riga) const;
    // The eight cells of a row, as the grid holds them.
    QStringList celle(int riga) const;

    static int larghezzaTwips(int colonna);

  private:
    QList<RigaCassa> righe_;
};
