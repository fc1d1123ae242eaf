#pragma once

#include <QDialog>
#include <array>

#include "Money.h"

class QLabel;
class QLineEdit;
class QPushButton;

// "Situazione I.V.A.": the VAT credit, debit and balance of each month of a year (of each
// quarter when VAT is settled by quarter) and the year's final balance. Everything is worked
// out once, when the window is created.
class frmSituazioneIva : public QDialog {
    Q_OBJECT
  public:
    // anno: the year chosen in the main window's year list.
    explicit frmSituazioneIva(int anno, QWidget* parent = nullptr);

  private:
    void costruisciFinestra();
    void CalcolaIva();

    int anno_;
    // Row i is month i (0 = January). Object names carry the row: "txtCreditoIva_0", ...
    std::array<QLabel*, 12> lblMese{};
    std::array<QLineEdit*, 12> txtC{};
    std::array<QLineEdit*, 12> txtCreditoIva{};
    std::array<QLineEdit*, 12> txtD{};
    std::array<QLineEdit*, 12> txtDebitoIva{};
    std::array<QLineEdit*, 12> txtS{};
    std::array<QLineEdit*, 12> txtSaldoIva{};
    QLineEdit* txtEtichettaSaldoFinale = nullptr;
    QLineEdit* txtSaldoFinale = nullptr;
    QPushButton* cmdAnnulla = nullptr;
};
