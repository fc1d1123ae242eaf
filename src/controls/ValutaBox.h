#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include "Money.h"
#include "RegoleTasti.h"

class QLineEdit;

// The numeric input box through which amounts are typed: one inner QLineEdit "txtValuta"
// kept in Italian money notation while the person types.
//
// With Decimali not 0 the box performs every edit itself (digits, comma, Backspace, Delete)
// with the rules of RegoleTasti.h and shows amounts with exactly Decimali decimals; with
// Decimali 0 it takes whole amounts, filtering the keys and regrouping the digits after
// every change. The mode follows Decimali at every event. The box turns yellow while it has
// the focus and white when it loses it, when its text is rewritten as an amount.
//
// A new box shows "Text1" and has Decimali 0: a window sets Text and Decimali (the amount
// fields of the main window have Decimali 2 and MaxLength 14).
//
// Properties are named by the keys a window design stores them under.
class ValutaBox : public QWidget {
    Q_OBJECT
    // Kept with the box: stored and returned only, except Decimali.
    Q_PROPERTY(double Cambio READ cambioNumero WRITE setCambioNumero)
    Q_PROPERTY(QString Valuta READ valuta WRITE setValuta)
    Q_PROPERTY(QString Valuta2 READ valuta2 WRITE setValuta2)
    Q_PROPERTY(int Decimali READ decimali WRITE setDecimali)
    Q_PROPERTY(int Decimali2 READ decimali2 WRITE setDecimali2)
    // Those of the inner field.
    Q_PROPERTY(QString Text READ text WRITE setText USER true)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength)
    Q_PROPERTY(bool Enabled READ abilitato WRITE setAbilitato)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool FontBold READ fontBold WRITE setFontBold STORED false)
    Q_PROPERTY(bool FontItalic READ fontItalic WRITE setFontItalic STORED false)
    Q_PROPERTY(QString FontName READ fontName WRITE setFontName STORED false)
    Q_PROPERTY(double FontSize READ fontSize WRITE setFontSize STORED false)
    Q_PROPERTY(bool FontStrikethru READ fontStrikethru WRITE setFontStrikethru STORED false)
    Q_PROPERTY(bool FontUnderline READ fontUnderline WRITE setFontUnderline STORED false)
    Q_PROPERTY(QPixmap MouseIcon READ mouseIcon WRITE setMouseIcon)
    Q_PROPERTY(int MousePointer READ mousePointer WRITE setMousePointer)
    Q_PROPERTY(int SelStart READ selStart WRITE setSelStart)
    Q_PROPERTY(int SelLength READ selLength WRITE setSelLength)
    Q_PROPERTY(QString SelText READ selText WRITE setSelText)
    Q_PROPERTY(QString ToolTipText READ toolTipText WRITE setToolTipText)
    Q_PROPERTY(int BorderStyle READ borderStyle)
    Q_PROPERTY(int Alignment READ alignment)
  public:
    explicit ValutaBox(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    int decimali() const { return decimali_; }
    void setDecimali(int decimali);
    // 0 means no limit.
    int maxLength() const { return maxLength_; }
    void setMaxLength(int length);
    QLineEdit* campo() const { return txtValuta; }

    Money cambio() const { return cambio_; }
    void setCambio(Money cambio);
    double cambioNumero() const { return cambio_.toDouble(); }
    void setCambioNumero(double cambio);
    QString valuta() const { return valuta_; }
    void setValuta(const QString& valuta);
    QString valuta2() const { return valuta2_; }
    void setValuta2(const QString& valuta2);
    int decimali2() const { return decimali2_; }
    void setDecimali2(int decimali2);

    // Enables or disables the inner field together with the box.
    bool abilitato() const { return isEnabled(); }
    void setAbilitato(bool abilitato) { setEnabled(abilitato); }
    // Colours and font are set on the box, and the inner field shows them; so the colour
    // routines (impostaSfondo, AbilitaCampo, ...) act on the box like on any field.
    QColor backColor() const;
    void setBackColor(const QColor& colore);
    QColor foreColor() const;
    void setForeColor(const QColor& colore);
    bool fontBold() const { return font().bold(); }
    void setFontBold(bool attivo);
    bool fontItalic() const { return font().italic(); }
    void setFontItalic(bool attivo);
    QString fontName() const { return font().family(); }
    void setFontName(const QString& nome);
    double fontSize() const { return font().pointSizeF(); }
    void setFontSize(double punti);
    bool fontStrikethru() const { return font().strikeOut(); }
    void setFontStrikethru(bool attivo);
    bool fontUnderline() const { return font().underline(); }
    void setFontUnderline(bool attivo);
    // The pointer over the field: 0 the field's own, 1 arrow, 2 cross, 3 I-beam, 11
    // hourglass, ..., 99 MouseIcon.
    QPixmap mouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QPixmap& icona);
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int puntatore);
    // The caret, or the start of the selection; setting it clears the selection.
    int selStart() const;
    void setSelStart(int inizio);
    int selLength() const;
    void setSelLength(int lunghezza);
    QString selText() const;
    void setSelText(const QString& testo);  // replaces the selection
    QString toolTipText() const;
    void setToolTipText(const QString& testo);
    int borderStyle() const { return 1; }  // fixed single
    int alignment() const { return 0; }    // left
    // Redraws the inner field.
    void Refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void Click();
    void DblClick();
    // After the box's own handling: keyCode is a Qt::Key, 0 after a Delete that the box
    // took. Setting it to 0 stops the field's own handling of a key that types no character.
    void KeyDown(int& keyCode, Qt::KeyboardModifiers shift);
    // After the box's own handling: 0 when the box consumed the character. A character left
    // (or set) here is typed into the field.
    void KeyPress(int& keyAscii);
    void KeyUp(int keyCode, Qt::KeyboardModifiers shift);
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x, float y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    // After every change of the text, the box's own rewrites included.
    void Change();
    // After the inner field took the box's new size.
    void Resize();
    // A property kept with the box changed (by its key: "Cambio", "Decimali", ...).
    void PropertyChanged(const QString& chiave);

  protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

  private:
    bool tastoPremuto(QKeyEvent* evento);
    void entrato();
    void uscito();
    void testoCambiato();
    void applicaPuntatore();

    QLineEdit* txtValuta = nullptr;
    int decimali_ = 0;
    int decimali2_ = 0;
    int maxLength_ = 0;
    Money cambio_;
    QString valuta_;
    QString valuta2_;
    QPixmap mouseIcon_;
    int mousePointer_ = 0;
    bool inModifica_ = false;  // between gaining and losing the focus
};
