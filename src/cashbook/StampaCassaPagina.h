#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <QTransform>
#include <optional>

class QPrinter;

// The printer as the cash-book print sees it: a document of pages measured in millimetres
// from the paper's top left corner, with text placed by the top left corner of its first
// character, outlined rectangles, the "Courier New" font in a size in points, and line
// widths in printer dots.
class StampaCassaPagina {
  public:
    explicit StampaCassaPagina(QPrinter& stampante);

    // Opens the document on its first page; false when the printer refuses it.
    bool inizia();
    // Starts a new page; false when the printer refuses it.
    bool nuovaPagina();
    // Ends the document; false when the printer could not finish it.
    bool fine();
    // Drops the document (after an error): the printer prints none of it.
    void abbandona();

    int numeroPagina() const { return pagina_; }

    void carattere(double punti, bool grassetto);
    void spessoreLinea(int punti);
    void testo(double x, double y, const QString& testo);
    // The text trimmed, cut to `colonne` characters and right-aligned in that many characters
    // of the fixed-pitch font from x.
    void testoADestra(double x, double y, const QString& testo, int colonne);
    // The width in millimetres that testo takes in the current font.
    double larghezza(const QString& testo) const;
    // The current font, made smaller when testo would be wider than larghezzaMassima mm.
    void adattaCarattere(const QString& testo, double larghezzaMassima);
    void rettangolo(double x1, double y1, double x2, double y2);

  private:
    struct Carattere {
        double punti;
        bool grassetto;
        QFont font;
        QFontMetricsF misure;
        double passo;  // the advance of one character, in printer dots
    };
    void disegna(double x, double y, double scarto, const QString& testo);
    void preparaPagina();
    const Carattere& carattereAttuale() const;

    QPrinter& stampante_;
    QPainter pittore_;
    int pagina_ = 0;
    double punti_ = 10;
    bool grassetto_ = false;
    int spessore_ = 1;
    QTransform millimetri_;  // from millimetres on the paper to printer dots
    mutable std::optional<Carattere> carattere_;
    mutable bool carattereImpostato_ = false;  // carattere_ is the painter's font
};
