#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QPrintDialog>
#include <QPrinter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "Aspetto.h"
#include "CassaDiProva.h"
#include "Colori.h"
#include "FRMINFO.h"
#include "frmAccesso.h"
#include "frmCodiciIva.h"
#include "frmEsporta.h"
#include "frmParametri.h"
#include "frmRicercaIva.h"
#include "frmSelezione.h"
#include "frmSituazioneIva.h"
#include "frmUtenti.h"

namespace {

// Plain containers are walked into; every other widget is one control.
bool contenitore(const QWidget* w) {
    const QByteArray classe = w->metaObject()->className();
    return classe == "QWidget" || classe == "QFrame" || qobject_cast<const QGroupBox*>(w);
}

QList<QWidget*> controlliVisibili(QWidget* genitore) {
    QList<QWidget*> controlli;
    for (QWidget* w : genitore->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isWindow() && w->isVisibleTo(genitore->window())) {
            controlli.append(w);
        }
    }
    return controlli;
}

QString descrivi(const QWidget* w) {
    return QStringLiteral("%1 %2 %3 (%4,%5 %6x%7)")
        .arg(w->window()->objectName(), QString::fromLatin1(w->metaObject()->className()),
             w->objectName().isEmpty() ? w->property("text").toString() : w->objectName())
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// Two controls of one container that overlap, a control standing inside a frame it shares
// the container with excepted.
void controllaSovrapposizioni(QWidget* genitore, QStringList& difetti) {
    const QList<QWidget*> controlli = controlliVisibili(genitore);
    for (qsizetype i = 0; i < controlli.size(); ++i) {
        for (qsizetype j = i + 1; j < controlli.size(); ++j) {
            const QRect a = controlli[i]->geometry();
            const QRect b = controlli[j]->geometry();
            const bool dentroCornice = (contenitore(controlli[i]) && a.contains(b)) ||
                                       (contenitore(controlli[j]) && b.contains(a));
            if (a.intersects(b) && !dentroCornice) {
                difetti.append(descrivi(controlli[i]) + QStringLiteral(" / ") +
                               descrivi(controlli[j]));
            }
        }
        if (contenitore(controlli[i])) {
            controllaSovrapposizioni(controlli[i], difetti);
        }
    }
}

int larghezzaTesto(const QWidget* w, QString testo) {
    testo.remove(QLatin1Char('&'));
    int massima = 0;
    for (const QString& riga : testo.split(QLatin1Char('\n'))) {
        massima = std::max(massima, w->fontMetrics().horizontalAdvance(riga));
    }
    return massima;
}

// A caption wider than its control at the control's own font.
void controllaDidascalie(QWidget* finestra, QStringList& difetti) {
    for (QWidget* w : finestra->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(finestra)) {
            continue;
        }
        int serve = 0;
        int spazio = w->width();
        if (auto* l = qobject_cast<QLabel*>(w);
            l && !l->wordWrap() && !Qt::mightBeRichText(l->text())) {
            serve = larghezzaTesto(l, l->text());
            spazio = l->contentsRect().width();
        } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            serve = w->sizeHint().width();
        } else if (auto* b = qobject_cast<QPushButton*>(w); b && !b->text().isEmpty()) {
            serve = larghezzaTesto(b, b->text()) + 8 +
                    (b->icon().isNull() ? 0 : b->iconSize().width() + 4);
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            serve = larghezzaTesto(g, g->title()) + 16;
        }
        if (serve > spazio) {
            difetti.append(descrivi(w) + QStringLiteral(" needs %1").arg(serve));
        }
    }
}

// Relative luminance and contrast ratio of two colours (WCAG 2).
double luminanza(QColor c) {
    const auto lineare = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lineare(c.redF()) + 0.7152 * lineare(c.greenF()) + 0.0722 * lineare(c.blueF());
}
double contrasto(QColor a, QColor b) {
    const double la = luminanza(a), lb = luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The best contrast a drawn pixel of the box's text has against the box's background, read
// from the picture of the box as the person sees it.
double contrastoDelTesto(QLineEdit* box) {
    box->setText(QStringLiteral("8888"));
    const QImage immagine = box->grab().toImage();
    const QColor fondo = sfondo(box);
    double migliore = 1;
    const QRect interno = box->rect().adjusted(4, 4, -4, -4);
    for (int y = interno.top(); y <= interno.bottom(); ++y) {
        for (int x = interno.left(); x <= interno.right(); ++x) {
            migliore = std::max(migliore, contrasto(immagine.pixelColor(x, y), fondo));
        }
    }
    return migliore;
}

}  // namespace

// How every window looks: no control over another, no cut caption, readable display fields,
// pictures on the buttons, and Qt's print dialog in Italian.
class TestAspetto : public QObject {
    Q_OBJECT
  private:
    // Each of the program's windows, shown as the person sees it.
    static void ogniFinestra(CassaDiProva& cassa, const std::function<void(QWidget*)>& controlla) {
        frmVardello& principale = cassa.apri();
        principale.show();
        controlla(&principale);  // VAT management off
        cassa.env.exec(QStringLiteral(R"(INSERT INTO "Parametri" ("Gestione Iva") VALUES (?))"),
                       {true});
        principale.Carica_parametri_predefiniti();
        principale.ImpostaGestioni();
        controlla(&principale);
        std::vector<std::unique_ptr<QWidget>> finestre;
        finestre.emplace_back(new frmAccesso);
        finestre.emplace_back(new frmUtenti);
        finestre.emplace_back(new frmParametri);
        finestre.emplace_back(new frmCodiciIva);
        finestre.emplace_back(new frmSituazioneIva(2005));
        finestre.emplace_back(new frmSelezione);
        finestre.emplace_back(new FRMINFO);
        finestre.emplace_back(new frmEsporta(QDate(2005, 3, 1)));
        auto* ricerca = new frmRicercaIva;
        ricerca->setNomeDB(programma().PercorsoArchivio);
        finestre.emplace_back(ricerca);
        for (const auto& finestra : finestre) {
            finestra->show();
            controlla(finestra.get());
            finestra->close();
        }
    }

  private slots:
    void initTestCase() { impostaAspetto(); }

    void noControlOverAnotherAndNoCaptionCut() {
        CassaDiProva cassa;
        QStringList difetti;
        ogniFinestra(cassa, [&](QWidget* finestra) {
            controllaSovrapposizioni(finestra, difetti);
            controllaDidascalie(finestra, difetti);
        });
        QVERIFY2(difetti.isEmpty(), qPrintable(difetti.join(QLatin1Char('\n'))));

        // The main window cannot become so small that the lower panel is cut.
        frmVardello& principale = *cassa.finestra;
        principale.resize(100, 100);
        const QWidget* pannello = principale.findChild<QWidget*>(QStringLiteral("pnlInferiore"));
        for (const QWidget* w : pannello->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isVisibleTo(&principale) && w->objectName() != "lblPercorsoArchivi") {
                QVERIFY2(pannello->rect().contains(w->geometry()), qPrintable(descrivi(w)));
                QVERIFY(principale.rect().contains(pannello->geometry()));
            }
        }
    }

    void displayFieldsAreReadableAndShowTheirStart() {
        CassaDiProva cassa;
        QStringList difetti;
        int campi = 0;
        ogniFinestra(cassa, [&](QWidget* finestra) {
            if (qobject_cast<frmCodiciIva*>(finestra)) {
                return;  // its fields are entry fields, locked while the code is typed
            }
            for (QLineEdit* box : finestra->findChildren<QLineEdit*>()) {
                if (box->isEnabled() || !box->isVisibleTo(finestra) ||
                    box->echoMode() != QLineEdit::Normal || sfondo(box) != coloreDisabilitato()) {
                    continue;  // only the display-only fields
                }
                ++campi;
                const QString prima = box->text();
                if (const double c = contrastoDelTesto(box); c < 4.5) {
                    difetti.append(descrivi(box) + QStringLiteral(" contrast %1").arg(c));
                }
                box->setText(QStringLiteral("Aliquota ridotta del dieci per cento") +
                             QString(40, QLatin1Char('x')));
                if (box->cursorPosition() != 0) {
                    difetti.append(descrivi(box) + QStringLiteral(" shows its end"));
                }
                box->setText(prima);
            }
        });
        QVERIFY2(difetti.isEmpty(), qPrintable(difetti.join(QLatin1Char('\n'))));
        QVERIFY(campi > 40);  // the totals, the VAT situation, the users' and the log-in's
    }

    // The program draws a field's frame once and copies it: the copy must be what the
    // platform's style draws, in every look a field takes, also after its colour changes.
    void fieldsLookAsThePlatformStyleDrawsThem() {
        const auto* programma = qobject_cast<QProxyStyle*>(QApplication::style());
        QVERIFY(programma);
        const std::unique_ptr<QStyle> piattaforma(
            QStyleFactory::create(programma->baseStyle()->name()));
        QStyleOptionFrame campo;
        campo.rect = QRect(5, 4, 120, 22);
        campo.lineWidth = 1;
        campo.palette = QApplication::palette();
        const auto disegna = [&campo](const QStyle& stile) {
            QImage immagine(140, 30, QImage::Format_ARGB32_Premultiplied);
            immagine.fill(Qt::gray);
            QPainter pittore(&immagine);
            stile.drawPrimitive(QStyle::PE_PanelLineEdit, &campo, &pittore);
            return immagine;
        };
        QPixmapCache::clear();
        const QList<std::pair<QStyle::State, QColor>> aspetti = {
            {QStyle::State_Enabled, coloreNormale()},
            {QStyle::State_Enabled | QStyle::State_HasFocus, coloreNormale()},
            {QStyle::State_None, coloreNormale()},
            {QStyle::State_Enabled, coloreModifica()},
            {QStyle::State_Enabled, coloreNormale()}};
        for (const auto& [stato, colore] : aspetti) {
            campo.state = stato;
            campo.palette.setColor(QPalette::Base, colore);
            QCOMPARE(disegna(*QApplication::style()), disegna(*piattaforma));
        }
    }

    void everyButtonHasASharpPictureOfItsOwn() {
        CassaDiProva cassa;
        frmVardello& principale = cassa.apri();
        QList<QImage> viste;
        for (const char* nome :
             {"cmdIns", "cmdVar", "cmdCanc", "cmdEsci", "cmdStampa", "cmdServizi", "cmdCodiciIva",
              "cmdSituazioneIva", "cmdInfo", "cmdUtenti", "cmdCopia"}) {
            auto* cmd = principale.findChild<QPushButton*>(QLatin1String(nome));
            QVERIFY2(!cmd->toolTip().isEmpty(), nome);
            // At 200 % the picture is drawn at twice the pixels, not enlarged.
            const QPixmap doppia = cmd->icon().pixmap(QSize(24, 24), 2.0);
            QCOMPARE(doppia.size(), QSize(48, 48));
            const QImage immagine = doppia.toImage();
            int pieni = 0;
            for (int y = 0; y < 48; ++y) {
                for (int x = 0; x < 48; ++x) {
                    pieni += qAlpha(immagine.pixel(x, y)) > 128;
                }
            }
            QVERIFY2(pieni > 150, nome);  // not an almost empty picture
            QVERIFY2(!viste.contains(immagine), nome);
            viste.append(immagine);
        }
    }

    void thePrintDialogSpeaksItalian() {
        QPrinter stampante;
        QPrintDialog dialogo(&stampante);
        QStringList testi;
        for (QWidget* w : dialogo.findChildren<QWidget*>()) {
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                testi.append(b->text());
            } else if (auto* l = qobject_cast<QLabel*>(w)) {
                testi.append(l->text());
            } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
                testi.append(g->title());
            } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
                for (int i = 0; i < t->count(); ++i) {
                    testi.append(t->tabText(i));
                }
            }
        }
        for (QString& testo : testi) {
            testo.remove(QLatin1Char('&'));
        }
        for (const char* inglese :
             {"Pages", "Double Sided Printing", "Off", "Long side binding", "Short side binding"}) {
            QVERIFY2(!testi.contains(QLatin1String(inglese)), inglese);
        }
        QVERIFY(testi.contains(QStringLiteral("Stampa fronte-retro")));
    }
};

QTEST_MAIN(TestAspetto)
#include "tst_aspetto.moc"
