#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "Colori.h"
#include "FieldRules.h"
#include "FormHelpers.h"
#include "TestEnvironment.h"
#include "ValutaBox.h"

namespace {

// A record window in the shape of the VAT code editor, with one control of every kind the
// state routines know, some inside a frame and a tab page, and some they must leave alone.
class FinestraCodici : public QWidget {
  public:
    FinestraCodici() {
        setObjectName(QStringLiteral("frmCodiciIva"));
        txtCodiceIva = figlio<QLineEdit>(this, "txtCodiceIva");
        txtDescrizioneIva = figlio<QLineEdit>(this, "txtDescrizioneIva");
        lblCod = figlio<QLabel>(this, "lblCod");
        lblDes = figlio<QLabel>(this, "lblDes");
        lblAliquota = figlio<QLabel>(this, "lblAliquota");
        cmdPre = figlio<QToolButton>(this, "cmdPre");
        cmdSuc = figlio<QToolButton>(this, "cmdSuc");
        cmdSalva = figlio<QPushButton>(this, "cmdSalva");
        cmdCancella = figlio<QPushButton>(this, "cmdCancella");
        fraAliquota = figlio<QGroupBox>(this, "fraAliquota");
        txtAliquota = figlio<QLineEdit>(fraAliquota, "txtAliquota");
        optFlagArt8 = figlio<QRadioButton>(fraAliquota, "optFlagArt8");
        chkStampa = figlio<QCheckBox>(this, "chkStampa");
        cmbTipo = figlio<QComboBox>(this, "cmbTipo");
        cmbTipo->setEditable(true);
        lstCodici = figlio<QListWidget>(this, "lstCodici");
        txtDataDoc = creaCampoData(this, QStringLiteral("txtDataDoc"));
        txtImporto = figlio<ValutaBox>(this, "txtImporto");
        grdCodici = figlio<QTableView>(this, "grdCodici");
        tabPagine = figlio<QTabWidget>(this, "tabPagine");
        auto* pagina = new QWidget;
        txtNote = figlio<QLineEdit>(pagina, "txtNote");
        tabPagine->addTab(pagina, QStringLiteral("Note"));
        cmdCancella->setEnabled(false);  // as the editor loads: no record to delete yet
    }

    template <typename T>
    static T* figlio(QWidget* genitore, const char* nome) {
        auto* controllo = new T(genitore);
        controllo->setObjectName(QString::fromLatin1(nome));
        return controllo;
    }

    QLineEdit *txtCodiceIva, *txtDescrizioneIva, *txtAliquota, *txtDataDoc, *txtNote;
    QLabel *lblCod, *lblDes, *lblAliquota;
    QToolButton *cmdPre, *cmdSuc;
    QPushButton *cmdSalva, *cmdCancella;
    QGroupBox* fraAliquota;
    QRadioButton* optFlagArt8;
    QCheckBox* chkStampa;
    QComboBox* cmbTipo;
    QListWidget* lstCodici;
    ValutaBox* txtImporto;
    QTableView* grdCodici;
    QTabWidget* tabPagine;
};

// Whether a control is enabled by its own flag (a control inside a disabled frame is not
// disabled itself).
bool attivo(const QWidget* controllo) {
    return !controllo->testAttribute(Qt::WA_ForceDisabled);
}

class RecordProva : public FinestraRecord {
  public:
    bool verifica_campi_necessari() override {
        ++verifiche;
        return completo;
    }
    bool Salva_Record() override {
        ++salvataggi;
        return true;
    }
    bool completo = true;
    int verifiche = 0;
    int salvataggi = 0;
};

}  // namespace

class TestMaschera : public QObject {
    Q_OBJECT
  private slots:
    void loadRecordsStatesAndHeights() {
        TestEnvironment env;
        FinestraCodici f;
        RegistraStatoControlli(&f);
        QCOMPARE(tag(f.txtCodiceIva), QStringLiteral("True"));
        QCOMPARE(tag(f.cmdCancella), QStringLiteral("False"));
        QCOMPARE(tag(f.optFlagArt8), QStringLiteral("True"));  // inside the frame
        QCOMPARE(tag(f.txtNote), QStringLiteral("True"));      // on a tab page
        QCOMPARE(tag(f.txtImporto), QStringLiteral("True"));
        // The parts of a control are not controls of their own.
        QVERIFY(!f.txtImporto->campo()->property("Tag").isValid());
        QVERIFY(!f.cmbTipo->lineEdit()->property("Tag").isValid());
        QCOMPARE(f.txtCodiceIva->height(), 21);  // 315 twips
        QCOMPARE(f.txtDataDoc->height(), 21);
        QCOMPARE(f.txtNote->height(), 21);
        QCOMPARE(tag(&f), QString());
    }

    void keyEntryAndDataEntryStates() {
        TestEnvironment env;
        FinestraCodici f;
        RegistraStatoControlli(&f);
        const QString codice = QStringLiteral("txtCodiceIva");
        const QString descrizione = QStringLiteral("txtDescrizioneIva");
        setTag(&f, QStringLiteral("DATI"));

        BloccaMaschera(codice, descrizione, &f);
        QCOMPARE(tag(&f), QString());
        for (QWidget* lasciato : std::initializer_list<QWidget*>{
                 f.txtCodiceIva, f.txtDescrizioneIva, f.lblCod, f.lblDes, f.cmdPre, f.cmdSuc,
                 f.txtImporto, f.grdCodici, f.fraAliquota, f.tabPagine}) {
            QVERIFY2(attivo(lasciato), qPrintable(lasciato->objectName()));
        }
        QVERIFY(attivo(f.txtImporto->campo()));
        for (QWidget* campo : std::initializer_list<QWidget*>{f.txtAliquota, f.txtDataDoc,
                                                              f.txtNote, f.cmbTipo, f.lstCodici}) {
            QVERIFY2(!attivo(campo), qPrintable(campo->objectName()));
            QCOMPARE(sfondo(campo), coloreDisabilitato());
        }
        for (QWidget* altro : std::initializer_list<QWidget*>{f.lblAliquota, f.cmdSalva,
                                                              f.optFlagArt8, f.chkStampa}) {
            QVERIFY2(!attivo(altro), qPrintable(altro->objectName()));
        }
        QVERIFY(attivo(f.cmbTipo->lineEdit()));  // the combo box is one control

        SbloccaMaschera(codice, descrizione, &f);
        QCOMPARE(tag(&f), QStringLiteral("DATI"));
        for (QWidget* campo : std::initializer_list<QWidget*>{f.txtAliquota, f.txtDataDoc,
                                                              f.txtNote, f.cmbTipo, f.lstCodici}) {
            QVERIFY2(attivo(campo), qPrintable(campo->objectName()));
            QCOMPARE(sfondo(campo), coloreNormale());
        }
        QVERIFY(attivo(f.lblAliquota) && attivo(f.cmdSalva) && attivo(f.optFlagArt8));
        QVERIFY(!attivo(f.cmdCancella));  // disabled when the window was loaded

        // The two named fields are left as they are by the way back as well.
        BloccaMaschera(codice, descrizione, &f);
        f.txtDescrizioneIva->setEnabled(false);
        SbloccaMaschera(codice, descrizione, &f);
        QVERIFY(!attivo(f.txtDescrizioneIva));
        QVERIFY(attivo(f.txtAliquota));
    }

    void unrecordedControlsKeepTheirState() {
        TestEnvironment env;
        FinestraCodici f;
        BloccaMaschera(QString(), QString(), &f);
        SbloccaMaschera(QString(), QString(), &f);  // RegistraStatoControlli never ran
        QVERIFY(!attivo(f.txtAliquota));
        QCOMPARE(sfondo(f.txtAliquota), coloreDisabilitato());
        QCOMPARE(tag(&f), QStringLiteral("DATI"));
    }

    void standardLookOfAWindow() {
        TestEnvironment env;
        FinestraCodici f;
        QPalette blu = f.lblCod->palette();
        blu.setColor(QPalette::WindowText, QColor(0, 0, 192));
        f.lblCod->setPalette(blu);
        QFont sottolineato = f.lblDes->font();
        sottolineato.setUnderline(true);
        f.lblDes->setFont(sottolineato);
        f.txtImporto->setDecimali(2);

        ImpostaControlli(&f, 315);
        QCOMPARE(f.txtCodiceIva->height(), 21);
        QCOMPARE(f.txtImporto->height(), 21);
        QCOMPARE(f.txtImporto->decimali(), 0);
        QCOMPARE(f.lblCod->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(f.lblCod->font().underline());
        QCOMPARE(f.lblCod->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(f.lblDes->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!f.lblAliquota->font().underline());
        QCOMPARE(f.lblAliquota->cursor().shape(), Qt::ArrowCursor);

        ImpostaControlli(&f, 300, 2);
        QCOMPARE(f.txtImporto->decimali(), 2);
        QCOMPARE(f.txtAliquota->height(), 20);
    }

    void enablingAndDisablingByKind() {
        TestEnvironment env;
        FinestraCodici f;
        f.txtNote->setText(QStringLiteral("nota"));
        f.txtDataDoc->setText(QStringLiteral("15/03/2005"));
        DisabilitaControllo(f.txtNote, true);
        DisabilitaControllo(f.txtDataDoc, true);
        DisabilitaControllo(f.txtImporto);
        DisabilitaControllo(f.cmdSalva);
        DisabilitaControllo(f.grdCodici);
        QCOMPARE(f.txtNote->text(), QString());  // only a text box is emptied
        QCOMPARE(f.txtDataDoc->text(), QStringLiteral("15/03/2005"));
        QVERIFY(!f.txtImporto->isEnabled() && !f.txtImporto->campo()->isEnabled());
        QCOMPARE(f.txtImporto->backColor(), coloreDisabilitato());
        QCOMPARE(sfondo(f.txtImporto->campo()), coloreDisabilitato());
        QVERIFY(!f.cmdSalva->isEnabled());
        QVERIFY(f.grdCodici->isEnabled());

        AbilitaControllo(f.txtImporto);
        AbilitaControllo(f.cmdSalva);
        QVERIFY(f.txtImporto->campo()->isEnabled());
        QCOMPARE(sfondo(f.txtImporto->campo()), coloreNormale());
        QVERIFY(f.cmdSalva->isEnabled());
        f.grdCodici->setEnabled(false);
        AbilitaControllo(f.grdCodici);
        QVERIFY(!f.grdCodici->isEnabled());

        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.txtNote->setText(QStringLiteral("Mario"));
        AttivaCampo(f.txtNote);
        QVERIFY(f.txtNote->isEnabled());
        QCOMPARE(f.txtNote->selectedText(), QStringLiteral("Mario"));
        QCOMPARE(QApplication::focusWidget(), f.txtNote);
    }

    void textRoutines() {
        TestEnvironment env;
        QString testo = QStringLiteral(" 12,50 ");
        QCOMPARE(AllineaDestra(testo, 8), QStringLiteral("   12,50"));
        QCOMPARE(testo, QStringLiteral("12,50"));
        QString nome = QStringLiteral("Mario");
        QCOMPARE(AllineaSinistra(nome, 25),
                 QStringLiteral("Mario") + QString(20, QLatin1Char(' ')));
        QString lungo = QStringLiteral("Alessandro Maria Bartolomei");
        QCOMPARE(AllineaSinistra(lungo, 25), lungo.left(25));

        QVERIFY(!ContieneNonCifre(QStringLiteral("022")));
        QVERIFY(ContieneNonCifre(QStringLiteral("22a")));
        QVERIFY(!ContieneNonCifre(QString()));

        int carattere = 'a';
        FiltroCifre(carattere);
        QCOMPARE(carattere, 0);
        QCOMPARE(env.ui.beeps, 1);
        for (const int passa : {8, int('0'), int('9')}) {
            carattere = passa;
            FiltroCifre(carattere);
            QCOMPARE(carattere, passa);
        }
        QCOMPARE(env.ui.beeps, 1);
    }

    void savePromptBeforeChangesAreLost() {
        TestEnvironment env;
        RecordProva record;
        QVERIFY(ChiediSalvataggio(false, record));
        QVERIFY(env.ui.messages.isEmpty());
        QCOMPARE(env.ui.beeps, 0);

        env.ui.answers.enqueue(Interaction::Answer::No);
        QVERIFY(ChiediSalvataggio(true, record));
        QCOMPARE(record.salvataggi, 0);
        QCOMPARE(record.verifiche, 0);
        QCOMPARE(env.ui.beeps, 1);
        QCOMPARE(env.ui.messages.size(), 1);
        QCOMPARE(env.ui.messages[0].text, QStringLiteral("Vuoi mantenere le modifiche?"));
        QCOMPARE(env.ui.messages[0].title, QStringLiteral("DATI MODIFICATI!"));
        QCOMPARE(env.ui.messages[0].icon, Interaction::Icon::Question);
        QCOMPARE(env.ui.messages[0].buttons, Interaction::Buttons::YesNo);

        record.completo = false;
        env.ui.answers.enqueue(Interaction::Answer::Yes);
        QVERIFY(!ChiediSalvataggio(true, record));
        QCOMPARE(record.salvataggi, 0);

        record.completo = true;
        env.ui.answers.enqueue(Interaction::Answer::Yes);
        QVERIFY(ChiediSalvataggio(true, record));
        QCOMPARE(record.salvataggi, 1);
    }

    void printerPreparedInMillimetres() {
        TestEnvironment env;
        QPrinter stampante(QPrinter::HighResolution);
        stampante.setOutputFormat(QPrinter::PdfFormat);
        stampante.setOutputFileName(env.dir.filePath(QStringLiteral("prova.pdf")));
        QPainter pagina(&stampante);
        const double puntiPerMillimetro = stampante.logicalDpiX() / 25.4;
        for (int volta = 0; volta < 2; ++volta) {  // once per page: the scale is not compounded
            pagina.translate(5, 5);
            ImpostaSfondoTesto(pagina, false);
            PreparaStampante(pagina);
            const QPointF angolo = pagina.transform().map(QPointF(210, 297));
            QCOMPARE(angolo.x(), 210 * puntiPerMillimetro);
            QCOMPARE(angolo.y(), 297 * puntiPerMillimetro);
            QCOMPARE(pagina.transform().map(QPointF(0, 0)), QPointF(0, 0));
            QCOMPARE(pagina.backgroundMode(), Qt::TransparentMode);
            QCOMPARE(pagina.font().family(), QStringLiteral("Courier New"));
            QCOMPARE(pagina.font().pointSizeF(), 10.0);
            stampante.newPage();
        }
        pagina.end();
    }
};

QTEST_MAIN(TestMaschera)
#include "tst_maschera.moc"
