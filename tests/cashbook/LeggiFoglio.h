#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

// Reads an exported file back with real readers: Python's openpyxl for .xlsx (values with
// their cached formula results, types, formats, formulas, frozen panes, bold header) and
// Python's csv module for .csv. Amounts come back as ten-thousandths, exact.
inline QJsonObject leggiFoglio(const QString& cartella, const QString& file) {
    static const char* const kLettore = R"PY(
import csv, json, sys, datetime, decimal
path = sys.argv[1]
def cell(v):
    if v is None: return None
    if isinstance(v, bool): return ["b", v]
    if isinstance(v, (int, float)):
        return ["n", int(decimal.Decimal(repr(v)) * 10000)]
    if isinstance(v, datetime.datetime): return ["d", v.date().isoformat()]
    return ["s", v]
out = {}
if path.endswith(".xlsx"):
    import openpyxl
    values = openpyxl.load_workbook(path, data_only=True)
    raw = openpyxl.load_workbook(path)
    out["sheets"] = values.sheetnames
    for name in values.sheetnames:
        ws, wr = values[name], raw[name]
        out[name] = {
            "rows": [[cell(v) for v in r] for r in ws.iter_rows(values_only=True)],
            "formats": [[c.number_format for c in r] for r in wr.iter_rows()],
            "formulas": [[c.value if c.data_type == "f" else None for c in r] for r in wr.iter_rows()],
            "freeze": wr.freeze_panes,
            "boldHeader": all(c.font.b for c in wr[1]),
            "widths": [wr.column_dimensions[c].width for c in "ABCDEF"],
        }
else:
    with open(path, "rb") as f:
        out["bom"] = f.read(3) == b"\xef\xbb\xbf"
    with open(path, newline="", encoding="utf-8-sig") as f:
        out["rows"] = list(csv.reader(f, delimiter=";"))
print(json.dumps(out))
)PY";
    const QString script = cartella + QStringLiteral("/leggi_foglio.py");
    QFile f(script);
    if (!f.exists()) {
        f.open(QIODevice::WriteOnly);
        f.write(kLettore);
        f.close();
    }
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {script, file});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qFatal("python3 could not read %s: %s", qPrintable(file),
               python.readAllStandardError().constData());
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}
