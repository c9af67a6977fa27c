#include "ProbeCommand.h"

#include "db/CADODatabase.h"
#include "db/CADORecordset.h"
#include "db/FieldText.h"

namespace {

QString shown(const QString &text)
{
    if (text == NullMarker)
        return QStringLiteral("<NULL>");
    if (text == VariantMarker)
        return QStringLiteral("<Variant>");
    if (text == BinaryMarker)
        return QStringLiteral("<Binary>");
    return text;
}

// A session, one record set opened synchronously on the text, every result walked with
// NextRecordset: "# result N", then "affected=K" or the field names, the ADO types and the
// rows as field texts, tab-separated.
int runSql(const QStringList &args)
{
    if (args.size() != 1)
        return Probe::usageError(QStringLiteral("usage: sql \"<connection string>\" < text"));
    const QString text = QString::fromUtf8(Probe::readStdin());
    CADODatabase session;
    if (!session.Open(args.first())) {
        Probe::err(session.GetErrorText());
        return 1;
    }
    CADORecordset recordset(&session);
    recordset.SetMarkers();
    if (!recordset.Open(text, Ado::adOpenForwardOnly, Ado::adUseServer, Ado::adLockReadOnly,
                        Ado::adCmdText)) {
        Probe::err(recordset.GetErrorText());
        return 1;
    }
    QString out;
    long affected = recordset.RecordsAffected();
    for (int n = 1;; ++n) {
        out += QStringLiteral("# result %1\n").arg(n);
        if (!recordset.IsOpen()) {
            out += QStringLiteral("affected=%1\n").arg(affected);
        } else {
            const int count = recordset.GetFieldCount();
            QStringList names;
            QStringList types;
            for (int i = 0; i < count; ++i) {
                const CADORecordset::FieldInfo info = recordset.GetFieldInfo(i);
                names.append(info.name);
                types.append(QString::number(info.type));
            }
            out += names.join(QLatin1Char('\t')) + QLatin1Char('\n');
            out += types.join(QLatin1Char('\t')) + QLatin1Char('\n');
            QString cell;
            while (!recordset.IsEOF()) {
                for (int i = 0; i < count; ++i) {
                    if (!recordset.GetFieldText(i, cell)) {
                        Probe::out(out);
                        Probe::err(recordset.GetErrorText());
                        return 1;
                    }
                    if (i > 0)
                        out += QLatin1Char('\t');
                    out += shown(cell);
                }
                out += QLatin1Char('\n');
                if (!recordset.MoveNext()) {
                    Probe::out(out);
                    Probe::err(recordset.GetErrorText());
                    return 1;
                }
            }
        }
        if (!recordset.NextRecordset(&affected)) {
            if (recordset.GetErrorCode() != 0) {
                Probe::out(out);
                Probe::err(recordset.GetErrorText());
                return 1;
            }
            break;
        }
    }
    recordset.Close();
    Probe::out(out);
    return 0;
}

ProbeCommand sql("sql", "sql \"<connection string>\" < text", &runSql);

} // namespace
