#include "ModelloCassa.h"

namespace {

struct Colonna {
    const char* intestazione;
    int larghezzaTwips;
    Qt::Alignment allineamento;
};

constexpr Colonna kColonne[NumeroColonne] = {
    {"Data", 1395, Qt::AlignHCenter},    {"Operazione", 4155, Qt::AlignLeft},
    {"Entrate", 1455, Qt::AlignRight},   {"Uscite", 1455, Qt::AlignRight},
    {"N.Pr.", 675, Qt::AlignRight},      {"Utente", 1395, Qt::AlignHCenter},
    {"DataIns", 1395, Qt::AlignHCenter}, {"OraIns", 600, Qt::AlignHCenter},
};

QVariant allineamento(int colonna) {
    return static_cast<int>((kColonne[colonna].allineamento | Qt::AlignVCenter).toInt());
}

}  // namespace

int ModelloCassa::larghezzaTwips(int colonna) {
    return kColonne[colonna].larghezzaTwips;
}

int ModelloCassa::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : movimenti() + 1;
}

int ModelloCassa::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumeroColonne;
}

QVariant ModelloCassa::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid()) {
        return {};
    }
    if (ruolo == Qt::TextAlignmentRole) {
        return allineamento(indice.column());
    }
    if (ruolo != Qt::DisplayRole) {
        return {};
    }
    const RigaCassa* riga = movimento(indice.row());
    return riga ? riga->cella(indice.column()) : QString();
}

QVariant ModelloCassa::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
    if (orientamento != Qt::Horizontal || sezione < 0 || sezione >= NumeroColonne) {
        return {};
    }
    if (ruolo == Qt::DisplayRole) {
        return QString::fromLatin1(kColonne[sezione].intestazione);
    }
    if (ruolo == Qt::TextAlignmentRole) {
        return allineamento(sezione);
    }
    return {};
}

void ModelloCassa::carica(QList<RigaCassa> righe) {
    beginResetModel();
    righe_ = std::move(righe);
    endResetModel();
}

void ModelloCassa::svuota() {
    carica({});
}

void ModelloCassa::inserisci(int riga, const RigaCassa& movimento) {
    riga = qBound(0, riga, movimenti());
    beginInsertRows({}, riga, riga);
    righe_.insert(riga, movimento);
    endInsertRows();
}

void ModelloCassa::rimuovi(int riga) {
    if (riga < 0 || riga >= movimenti()) {
        return;
    }
    beginRemoveRows({}, riga, riga);
    righe_.removeAt(riga);
    endRemoveRows();
}

const RigaCassa* ModelloCassa::movimento(int riga) const {
    return riga >= 0 && riga < movimenti() ? &righe_.at(riga) : nullptr;
}

QStringList ModelloCassa::celle(int riga) const {
    QStringList testi;
    for (int colonna = 0; colonna < NumeroColonne; ++colonna) {
        testi.append(data(index(riga, colonna)).toString());
    }
    return testi;
}
