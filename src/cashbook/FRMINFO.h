#pragma once

#include <QDialog>

// The information window: the program's name and version.
class FRMINFO : public QDialog {
    Q_OBJECT
  public:
    explicit FRMINFO(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* evento) override;
};
