#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// The date range of the book printed with the running balance. The caller reads the public
// members after the window has closed.
class frmSelezione : public QDialog {
    Q_OBJECT
  public:
    explicit frmSelezione(QWidget* parent = nullptr);

    QString DaData;          // the text of txtDaData, "__/__/____" when empty
    QString AData;           // the text of txtAData
    bool PremutoOk = false;  // true only when cmdOk closed the window

  private:
    void cmdOk_Click();

    QLineEdit* txtDaData = nullptr;
    QLineEdit* txtAData = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAnnulla = nullptr;
};
