#include "Aspetto.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "StileCampi.h"

namespace {

// The texts of Qt's print dialog that Qt's Italian translation leaves in English.
class TraduzioneStampa : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* contesto, const char* testo, const char* /*disambiguazione*/,
                      int /*n*/) const override {
        static const QHash<QByteArray, QString> italiano = {
            {"Pages", QStringLiteral("Pagine")},
            {"Double Sided Printing", QStringLiteral("Stampa fronte-retro")},
            {"Off", QStringLiteral("No")},
            {"Long side binding", QStringLiteral("Rilegatura sul lato lungo")},
            {"Short side binding", QStringLiteral("Rilegatura sul lato corto")},
        };
        const QByteArray dove(contesto);
        if (!dove.startsWith("QPrint") && !dove.startsWith("QUnixPrint") &&
            !dove.startsWith("QPageSetup")) {
            return {};
        }
        return italiano.value(QByteArray(testo));
    }
};

}  // namespace

void impostaAspetto() {
    QFont carattere = QApplication::font();
    carattere.setPointSizeF(8);
    QApplication::setFont(carattere);
    QApplication::setStyle(new StileCampi(QApplication::style()->name()));

    // Qt's own dialog buttons in Italian ("Sì", "No", "Annulla"); the translators live as long
    // as the application.
    auto* qtItaliano = new QTranslator(qApp);
    if (qtItaliano->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(qtItaliano);
    }
    QApplication::installTranslator(new TraduzioneStampa(qApp));
}
