#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTimer;

// The log-in window, shown modally at start-up once the archive is open: a borderless white
// window covering the screen with the panel picAccesso in its middle.
//
// The start-up goes on only when, after exec(), programma().UtenteCorrente is not empty:
// a successful OK sets it to the user name as typed, stores that name as this computer's last
// user and returns Accepted. Cancel (cmdAnnulla), the third failed attempt and the window's
// close command (Alt+F4, the window manager) all return Rejected with UtenteCorrente empty,
// and the program must then end. The window never ends the program by itself.
class frmAccesso : public QDialog {
    Q_OBJECT
  public:
    explicit frmAccesso(QWidget* parent = nullptr);

    // The check behind OK: the user name found ignoring letter case, the password compared
    // exactly. An empty user table gets the administrator "Supervisore" with an empty
    // password, and then any input passes.
    bool VerificaPassword();
    void ImpostaAzienda();
    void RefreshData();
    void RefreshOra();
    void LeggiUltimoUtente();
    void SalvaUltimoUtente();

    int TentativiFalliti() const { return tentativiFalliti_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void costruisciFinestra();
    void cmdOk_Click();
    void cmdAnnulla_Click();
    void cmdReset_Click();

    QFrame* picAccesso = nullptr;
    QComboBox* cmbUtente = nullptr;
    QLineEdit* txtPwd = nullptr;
    std::array<QLineEdit*, 6> txtData{};  // day, month, year; hours, minutes, seconds
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAnnulla = nullptr;
    QPushButton* cmdReset = nullptr;
    QTimer* timAccesso = nullptr;
    int tentativiFalliti_ = 0;
};
