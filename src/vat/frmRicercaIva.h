#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QListWidget;
class QPushButton;

// The modal list of VAT codes ("Ricerca Codici IVA"), in code or description order, narrowed
// to the entries that begin with the start text. It reads the archive named by NomeDB through
// a connection of its own, opened when the dialog is first shown and closed with the dialog.
class frmRicercaIva : public QDialog {
    Q_OBJECT
  public:
    explicit frmRicercaIva(QWidget* parent = nullptr);
    ~frmRicercaIva() override;

    // Trimmed on assignment. A start text locks the order; one holding any non-digit lists and
    // matches by description.
    void setStringaIniziale(const QString& testo);
    void setNomeDB(const QString& percorso);
    void setTipoArchivio(const QString& tipo);  // kept for the caller; nothing reads it
    // The chosen code (three characters), or empty after Cancel, the title bar or OK with no
    // line selected.
    QString StringaFinale() const { return stringaFinale_; }

    void done(int risultato) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* oggetto, QEvent* event) override;

  private:
    bool ApriArchivi();
    bool CaricaDati();
    void conferma();
    void ordinaClick();
    void chiudiArchivio();

    QListWidget* lstRicerca = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
    QCheckBox* chkOrdinaPerDescrizione = nullptr;

    QString nomeDB_;
    QString stringaIniziale_;
    QString tipoArchivio_;
    QString stringaFinale_;
    bool ricercaPerDescrizione_ = false;
    int posizioneCodice_ = 1;  // 1-based position of the code inside a list line

    QString connessione_;
    bool archivioAperto_ = false;
    bool attivato_ = false;
};
