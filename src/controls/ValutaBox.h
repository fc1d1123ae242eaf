#pragma once

#include <QWidget>

class QLineEdit;

// The numeric input box through which amounts are typed: one inner QLineEdit "txtValuta"
// kept in Italian money notation while the person types.
class ValutaBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int Decimali READ decimali WRITE setDecimali)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
public:
    explicit ValutaBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    int decimali() const { return decimali_; }
    void setDecimali(int decimali) { decimali_ = decimali; }
    int maxLength() const;
    void setMaxLength(int length);
    QLineEdit* campo() const { return txtValuta; }

signals:
    void Change();

private:
    QLineEdit* txtValuta = nullptr;
    int decimali_ = 0;
};
