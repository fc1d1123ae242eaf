// How long the program takes from its start to the log-in window on the screen, against a
// bare Qt program showing a dialog of the same controls; the ratio of the medians is printed.
// Each run is a fresh process, the two kinds in turns. The opening of the archive (the
// single-instance claim, the configuration file, the archive's opening and its checks) is
// timed inside the program's runs and reported apart, with the ratio without it.
//
//   bench_avvio [archive ...]   one measurement per archive (by default a new empty one);
//                               a file is opened in place and only read
//   VARDELLO_BENCH_RUNS=n       runs of each kind per archive (default 15)

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "Archivio.h"
#include "Aspetto.h"
#include "Avvio.h"
#include "Clock.h"
#include "InvioSuPulsanti.h"
#include "Platform.h"
#include "QtInteraction.h"
#include "Services.h"
#include "frmAccesso.h"

namespace {

// Ends the process as soon as the window has been painted once.
class FinePrimoDisegno : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(oggetto, evento);
    }
};

// The bare counterpart: a screen-sized white dialog with a panel of the log-in's controls.
int dialogoNudo(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialogo(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    dialogo.setGeometry(dialogo.screen()->geometry());
    auto* pannello = new QFrame(&dialogo);
    pannello->setFrameShape(QFrame::Box);
    pannello->setGeometry(100, 100, 420, 250);
    for (int i = 0; i < 5; ++i) {
        (new QLabel(QStringLiteral("Etichetta"), pannello))->move(20, 12 + i * 32);
    }
    auto* utente = new QComboBox(pannello);
    utente->setEditable(true);
    utente->addItem(QStringLiteral("Supervisore"));
    utente->setGeometry(100, 66, 300, 21);
    (new QLineEdit(pannello))->setGeometry(100, 98, 160, 21);
    for (int i = 0; i < 6; ++i) {
        (new QLineEdit(QStringLiteral("00"), pannello))
            ->setGeometry(100 + (i % 3) * 30, i < 3 ? 130 : 162, 26, 21);
    }
    for (int i = 0; i < 3; ++i) {
        (new QPushButton(pannello))->setGeometry(270 + i * 45, 205, 40, 32);
    }
    FinePrimoDisegno fine;
    dialogo.installEventFilter(&fine);
    dialogo.show();
    return QApplication::exec();
}

// The program's folder is the measurement's own, with its vardello.ini naming the archive.
class CartellaProva : public SystemPlatform {
  public:
    explicit CartellaProva(QString cartella) : cartella_(std::move(cartella)) {}
    QString programFolder() const override { return cartella_; }

  private:
    QString cartella_;
};

// The program's own start-up, as main() and avviaProgramma() run it, up to the log-in window
// painted (the main window is built only after the log-in). Prints the milliseconds of the
// archive's opening.
int avvioVardello(int argc, char** argv, const QString& cartella) {
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    impostaAspetto();
    installaInvioSuPulsanti();
    QtInteraction interaction;
    SystemClock clock;
    CartellaProva platform(cartella);
    services::setInteraction(&interaction);
    services::setClock(&clock);
    services::setPlatform(&platform);

    QElapsedTimer apertura;
    apertura.start();
    if (!apriArchivioAllAvvio()) {
        return 2;
    }
    std::printf("%.3f\n", static_cast<double>(apertura.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
    frmAccesso accesso;
    FinePrimoDisegno fine;
    accesso.installEventFilter(&fine);
    accesso.show();
    return QApplication::exec();
}

struct Serie {
    std::vector<double> valori;
    void aggiungi(double v) { valori.push_back(v); }
    double mediana() const {
        std::vector<double> v = valori;
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    }
    double minimo() const { return *std::min_element(valori.begin(), valori.end()); }
    double massimo() const { return *std::max_element(valori.begin(), valori.end()); }
    void stampa(const char* nome) const {
        std::printf("  %-28s min %7.1f  median %7.1f  max %7.1f ms\n", nome, minimo(), mediana(),
                    massimo());
    }
};

// Runs the program itself with the arguments and returns its wall time in ms (and what it
// printed).
double esegui(const QStringList& argomenti, QString* uscita = nullptr) {
    QProcess processo;
    processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer tempo;
    tempo.start();
    processo.start(QCoreApplication::applicationFilePath(), argomenti);
    if (!processo.waitForFinished(60000) || processo.exitCode() != 0) {
        std::fprintf(stderr, "run %s failed\n", qPrintable(argomenti.join(QLatin1Char(' '))));
        std::exit(1);
    }
    const double ms = static_cast<double>(tempo.nsecsElapsed()) / 1e6;
    if (uscita) {
        *uscita = QString::fromUtf8(processo.readAllStandardOutput()).trimmed();
    }
    return ms;
}

void misura(const QString& archivio, int prove) {
    QTemporaryDir cartella;
    QFile ini(cartella.filePath(QStringLiteral("vardello.ini")));
    if (!ini.open(QIODevice::WriteOnly)) {
        std::exit(1);
    }
    ini.write("ARCHIVIO    " + archivio.toUtf8() + "\n");
    ini.close();

    Serie nudo, vardello, apertura, senzaApertura;
    esegui({QStringLiteral("--nudo")});  // the first runs warm the disk cache
    esegui({QStringLiteral("--vardello"), cartella.path()});
    for (int i = 0; i < prove; ++i) {
        nudo.aggiungi(esegui({QStringLiteral("--nudo")}));
        QString ms;
        vardello.aggiungi(esegui({QStringLiteral("--vardello"), cartella.path()}, &ms));
        apertura.aggiungi(ms.toDouble());
        senzaApertura.aggiungi(vardello.valori.back() - ms.toDouble());
    }
    std::printf("%s (%d runs of each, in turns)\n", qPrintable(archivio), prove);
    nudo.stampa("bare Qt dialog");
    vardello.stampa("Vardello to the log-in");
    apertura.stampa("  of which archive opening");
    senzaApertura.stampa("Vardello without opening");
    std::printf("  ratio (medians): %.2fx, without the archive's opening %.2fx\n",
                vardello.mediana() / nudo.mediana(), senzaApertura.mediana() / nudo.mediana());
}

}  // namespace

int main(int argc, char** argv) {
    // On a screen the start-up is measured there; a machine without one (a server, CI) uses
    // the offscreen platform, as the other benchmarks do. The runs inherit the choice.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc >= 2 && qstrcmp(argv[1], "--nudo") == 0) {
        return dialogoNudo(argc, argv);
    }
    if (argc >= 3 && qstrcmp(argv[1], "--vardello") == 0) {
        return avvioVardello(argc, argv, QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    const int prove = qEnvironmentVariableIsSet("VARDELLO_BENCH_RUNS")
                          ? qEnvironmentVariableIntValue("VARDELLO_BENCH_RUNS")
                          : 15;
    QStringList archivi = QCoreApplication::arguments().mid(1);
    QTemporaryDir cartella;
    if (archivi.isEmpty()) {
        const QString nuovo = cartella.filePath(QStringLiteral("VARDELLO.MDB"));
        archivio::Errore errore;
        if (!archivio::crea(nuovo, &errore)) {
            std::fprintf(stderr, "%s\n", qPrintable(errore.testo));
            return 1;
        }
        archivi.append(nuovo);
    }
    for (const QString& a : archivi) {
        misura(a, prove);
    }
    return 0;
}
