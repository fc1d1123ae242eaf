#pragma once

#include <QDate>
#include <QWidget>

class QComboBox;
class QLabel;
class QTabBar;
class QTableView;

// The main window: the cash book one month at a time. Its on-load start-up (Avvio) opens the
// archive, has the person log in and shows the current month.
class frmVardello : public QWidget {
    Q_OBJECT
public:
    explicit frmVardello(QWidget* parent = nullptr);

    // The start-up. False when the program must end (second copy, archive that cannot be
    // opened, log-in refused); the person has been told why.
    bool Avvio();

    // The first day of the month chosen with the year list and the month tabs.
    QDate meseSelezionato() const;

private:
    void costruisciFinestra();
    void impostaAnni();

    QTableView* grdGesca = nullptr;
    QLabel* lblPercorsoArchivi = nullptr;
    QComboBox* cmbAnno = nullptr;
    QTabBar* tabMesi = nullptr;
};
