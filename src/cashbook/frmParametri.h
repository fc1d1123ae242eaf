#pragma once

#include <QDialog>
#include <optional>

#include "Parametri.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

// The parameters window ("Parametri"): VAT management, the VAT code proposed for new
// movements, VAT by quarter, the two print settings, the backups made at the end of the
// program, and the archive reset.
//
// The "Parametri" row is read when the window opens and kept in memory while it is open;
// only OK stores it, together with the print settings, and then closes the window. Cancel
// and the close box store nothing. The archive reset takes effect at once.
class frmParametri : public QDialog {
    Q_OBJECT
  public:
    explicit frmParametri(QWidget* parent = nullptr);

  private:
    void costruisciFinestra();
    void Form_Load();
    void chkGestioneIva_Click();
    void txtCodiceIvaStd_LostFocus();
    void CercaCodiceIva();
    void cmdOk_Click();
    void cmdAzzeraArchivi_Click();
    void segnalaErrore(const QString& testo);

    QCheckBox* chkGestioneIva = nullptr;
    QCheckBox* chkIvaTrimestrale = nullptr;
    QLineEdit* txtCodiceIvaStd = nullptr;
    QLineEdit* txtDescrizioneIva = nullptr;
    QCheckBox* chkStampaSaldo = nullptr;
    QLineEdit* txtTitoloStampa = nullptr;
    QLineEdit* txtCartellaCopie = nullptr;
    QCheckBox* chkCopieServer = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAnnulla = nullptr;
    QPushButton* cmdAzzeraArchivi = nullptr;

    // The row being edited: its values as read, or none while the table has no row.
    std::optional<Parametri> rsParametri;
};
