#pragma once

#include <QDialog>
#include <QList>

#include "Utenti.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// User management ("Gestione utenti"): the whole user table is loaded into lstUtenti, every
// change is made in the list only, and OK writes the list back as the new content of the
// table, all or nothing. Cancel, Esc and the close box discard the changes. When another
// computer changed the table since the window read it, OK writes nothing: the list then holds
// both sets of changes, the person is told what the other computer changed, and a second OK
// saves.
//
// A list line is the working copy of one user: the name in 25 characters, a blank, then the
// password, which lies beyond the visible width of the list.
class frmUtenti : public QDialog {
    Q_OBJECT
  public:
    explicit frmUtenti(QWidget* parent = nullptr);

    // Fills the list with one line per stored user, in user-name order. False when the table
    // could not be read (the person has been told).
    bool Localizza_Record(QListWidget* ControlloDest);
    // Replaces the user table with the list. False, with the table untouched and the person
    // told why, when a name occurs twice or the archive refuses the rewrite.
    bool Salva_Record();
    void Azzera_campi_inserimento();

  private:
    void costruisciFinestra();
    void lstUtenti_DblClick(QListWidgetItem* riga);
    void cmdNuovo_Click();
    void cmdVaria_Click();
    void cmdCanc_Click();
    void cmdOk_Click();
    void avvisa(const QString& testo);

    QLabel* lblUtenti = nullptr;
    QListWidget* lstUtenti = nullptr;
    QPushButton* cmdNuovo = nullptr;
    QPushButton* cmdVaria = nullptr;
    QPushButton* cmdCanc = nullptr;
    QLineEdit* txtUtente = nullptr;
    QLineEdit* txtPwd = nullptr;
    QLineEdit* txtConfermaPwd = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdAnnulla = nullptr;

    // The table as last read (to notice at OK that another computer changed it meanwhile)
    // and the list it gave (to tell this window's changes from the other computer's).
    QList<Utente> tabellaLetta_;
    QList<Utente> elencoLetto_;
};
