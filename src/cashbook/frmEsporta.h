#pragma once

#include <QDate>
#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// The accountant's export ("Esporta per il commercialista"): a date range proposed as the
// month shown, the format, and the file chosen with the platform's save dialog.
class frmEsporta : public QDialog {
    Q_OBJECT
  public:
    // `mese`: the first day of the month the main window shows.
    frmEsporta(const QDate& mese, QWidget* parent = nullptr);

  private:
    void cmdOk_Click();
    QString nomeProposto(const QDate& dal, const QDate& al) const;

    QLineEdit* txtDaData = nullptr;
    QLineEdit* txtAData = nullptr;
    QRadioButton* optXlsx = nullptr;
    QRadioButton* optCsv = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAnnulla = nullptr;
};
