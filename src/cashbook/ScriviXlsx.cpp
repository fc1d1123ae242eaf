#include <xlsxwriter.h>

#include <QFile>
#include <QRegularExpression>
#include <QVector>
#include <algorithm>

#include "ScriviFogli.h"

namespace {

// Excel holds at most 32,767 characters in a cell; a longer description keeps its start
// whole (a character is never split) and the CSV export holds it all.
constexpr qsizetype kMassimoCella = 32767;
constexpr double kLarghezzaMassima = 60;

QByteArray utf8Cella(QString testo) {
    // A spreadsheet reads "_x0041_" in a cell as the character it codes ("A"); its own escape
    // "_x005F_" keeps such a text as typed.
    static const QRegularExpression kCodice(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    testo.replace(kCodice, QStringLiteral("_x005F_\\1"));
    if (testo.size() > kMassimoCella) {
        const bool coppia = testo.at(kMassimoCella - 1).isHighSurrogate();
        testo.truncate(coppia ? kMassimoCella - 1 : kMassimoCella);
    }
    return testo.toUtf8();
}

QByteArray lettereColonna(int colonna) {
    QByteArray lettere;
    for (int n = colonna + 1; n > 0; n = (n - 1) / 26) {
        lettere.prepend(static_cast<char>('A' + (n - 1) % 26));
    }
    return lettere;
}

// The width each column needs for its header and its cells, in characters.
QList<double> larghezze(const TabellaEsportata& t) {
    QList<qsizetype> caratteri;
    for (const QString& titolo : t.intestazione) {
        caratteri.append(titolo.size());
    }
    for (qsizetype r = 0; r < t.righe; ++r) {
        const QList<CellaEsportata> celle = t.riga(r);
        for (qsizetype c = 0; c < celle.size() && c < caratteri.size(); ++c) {
            const CellaEsportata& cella = celle.at(c);
            qsizetype serve = 0;
            switch (cella.tipo) {
                case CellaEsportata::Tipo::Testo:
                    serve = cella.testo.size();
                    break;
                case CellaEsportata::Tipo::Intero:
                    serve = QString::number(cella.intero).size();
                    break;
                case CellaEsportata::Tipo::Importo:  // "-1.234.567,89": digits, dots, sign
                    serve = importoCsv(cella.importo).size() * 4 / 3 + 1;
                    break;
                case CellaEsportata::Tipo::Data:
                    serve = 10;
                    break;
                case CellaEsportata::Tipo::Vuota:
                    break;
            }
            caratteri[c] = std::max(caratteri[c], serve);
        }
    }
    QList<double> risultato;
    for (qsizetype n : caratteri) {
        risultato.append(std::min(static_cast<double>(n) + 2, kLarghezzaMassima));
    }
    return risultato;
}

struct Formati {
    lxw_format* intestazione;
    lxw_format* data;
    lxw_format* importo;
    lxw_format* intero;
    lxw_format* totaleTesto;
    lxw_format* totaleImporto;
};

Formati creaFormati(lxw_workbook* libro) {
    Formati f{};
    f.intestazione = workbook_add_format(libro);
    format_set_bold(f.intestazione);
    format_set_bottom(f.intestazione, LXW_BORDER_THIN);
    f.data = workbook_add_format(libro);
    format_set_num_format(f.data, "dd/mm/yyyy");
    // Shown with the spreadsheet's own separators: 1.234,56 with Italian settings.
    f.importo = workbook_add_format(libro);
    format_set_num_format(f.importo, "#,##0.00");
    f.intero = workbook_add_format(libro);
    format_set_num_format(f.intero, "0");
    f.totaleTesto = workbook_add_format(libro);
    format_set_bold(f.totaleTesto);
    format_set_top(f.totaleTesto, LXW_BORDER_THIN);
    f.totaleImporto = workbook_add_format(libro);
    format_set_bold(f.totaleImporto);
    format_set_top(f.totaleImporto, LXW_BORDER_THIN);
    format_set_num_format(f.totaleImporto, "#,##0.00");
    return f;
}

lxw_error scriviCella(lxw_worksheet* foglio, lxw_row_t riga, lxw_col_t colonna,
                      const CellaEsportata& cella, bool totali, lxw_row_t primaRiga,
                      const Formati& f) {
    switch (cella.tipo) {
        case CellaEsportata::Tipo::Testo:
            return worksheet_write_string(foglio, riga, colonna, utf8Cella(cella.testo).constData(),
                                          totali ? f.totaleTesto : nullptr);
        case CellaEsportata::Tipo::Intero:
            return worksheet_write_number(foglio, riga, colonna, static_cast<double>(cella.intero),
                                          f.intero);
        case CellaEsportata::Tipo::Importo: {
            // The nearest double to the stored decimal; the file holds it with 16
            // significant digits, which give the stored amount back exactly.
            const double valore = cella.importo.toDouble();
            if (cella.somma) {
                const QByteArray colonne = lettereColonna(colonna);
                const QByteArray formula = "=SUM(" + colonne + QByteArray::number(primaRiga + 1) +
                                           ":" + colonne + QByteArray::number(riga) + ")";
                return worksheet_write_formula_num(foglio, riga, colonna, formula.constData(),
                                                   f.totaleImporto, valore);
            }
            return worksheet_write_number(foglio, riga, colonna, valore,
                                          totali ? f.totaleImporto : f.importo);
        }
        case CellaEsportata::Tipo::Data: {
            lxw_datetime data{cella.data.year(), cella.data.month(), cella.data.day(), 0, 0, 0};
            return worksheet_write_datetime(foglio, riga, colonna, &data, f.data);
        }
        case CellaEsportata::Tipo::Vuota:
            if (totali) {
                return worksheet_write_blank(foglio, riga, colonna, f.totaleTesto);
            }
            break;
    }
    return LXW_NO_ERROR;
}

lxw_error scriviFoglio(lxw_workbook* libro, const TabellaEsportata& t, const Formati& f) {
    lxw_worksheet* foglio = workbook_add_worksheet(libro, t.nome.toUtf8().constData());
    if (!foglio) {
        return LXW_ERROR_MEMORY_MALLOC_FAILED;
    }
    worksheet_freeze_panes(foglio, 1, 0);
    const QList<double> colonne = larghezze(t);
    for (int c = 0; c < colonne.size(); ++c) {
        worksheet_set_column(foglio, c, c, colonne.at(c), nullptr);
    }
    for (int c = 0; c < t.intestazione.size(); ++c) {
        if (const lxw_error e = worksheet_write_string(
                foglio, 0, c, t.intestazione.at(c).toUtf8().constData(), f.intestazione)) {
            return e;
        }
    }
    for (qsizetype r = 0; r < t.righe; ++r) {
        const bool totali = t.rigaTotali && r == t.righe - 1;
        const QList<CellaEsportata> celle = t.riga(r);
        for (int c = 0; c < celle.size(); ++c) {
            if (const lxw_error e = scriviCella(foglio, r + 1, c, celle.at(c), totali, 1, f)) {
                return e;
            }
        }
    }
    return LXW_NO_ERROR;
}

}  // namespace

bool scriviXlsx(const QList<TabellaEsportata>& fogli, const QString& percorso, QString* errore) {
    constexpr qsizetype kRigheMassime = 1048576;  // Excel's rows in a sheet
    for (const TabellaEsportata& t : fogli) {
        if (t.righe + 1 > kRigheMassime) {
            *errore = QStringLiteral(
                          "Il foglio '%1' avrebbe %2 righe: un foglio Excel ne contiene al "
                          "massimo %3. Scegliere un periodo più breve o il formato CSV.")
                          .arg(t.nome)
                          .arg(t.righe + 1)
                          .arg(kRigheMassime);
            return false;
        }
    }
    const QByteArray nome = QFile::encodeName(percorso);
    // Rows go to disk as they are written, so a long book needs no more memory than a short.
    lxw_workbook_options opzioni{LXW_TRUE, nullptr, LXW_TRUE};
    lxw_workbook* libro = workbook_new_opt(nome.constData(), &opzioni);
    if (!libro) {
        *errore = QStringLiteral("Impossibile preparare il file Excel.");
        return false;
    }
    const Formati formati = creaFormati(libro);
    lxw_error esito = LXW_NO_ERROR;
    for (const TabellaEsportata& t : fogli) {
        esito = scriviFoglio(libro, t, formati);
        if (esito != LXW_NO_ERROR) {
            break;
        }
    }
    const lxw_error chiusura = workbook_close(libro);  // frees the workbook in any case
    if (esito == LXW_NO_ERROR) {
        esito = chiusura;
    }
    if (esito != LXW_NO_ERROR) {
        *errore = QStringLiteral("Errore nella scrittura del file Excel: %1")
                      .arg(QString::fromUtf8(lxw_strerror(esito)));
        return false;
    }
    return true;
}
