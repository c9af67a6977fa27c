#include "DbTestSupport.h"

#include "TestSupport.h"
#include "db/FieldText.h"

#include <QRegularExpression>

void ProviderTest::SetUp()
{
    if (isPostgres()) {
        SKIP_WITHOUT_POSTGRES();
        m_connection = TestSupport::postgresConnection();
    } else {
        const QString path = TestSupport::makeSqliteFile(m_dir, QString());
        m_connection = QStringLiteral("Provider=SQLite;Data Source=") + path;
    }
}

void ProviderTest::TearDown()
{
    if (m_tables.isEmpty())
        return;
    CADODatabase session;
    if (!session.Open(m_connection))
        return;
    for (const QString &name : m_tables)
        dump(session, QStringLiteral("DROP TABLE IF EXISTS %1").arg(name));
}

QString ProviderTest::table(const QString &suffix)
{
    // "db_" + the initials of the test's words + the provider, within identifier limits.
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    QString initials;
    for (const QString &word :
         QString::fromLatin1(info->name()).split(QRegularExpression("[_/]"), Qt::SkipEmptyParts))
        initials += word.front();
    const QString name = QStringLiteral("db_%1%2").arg(initials, suffix).toLower();
    if (!m_tables.contains(name))
        m_tables.append(name);
    return name;
}

QString ProviderTest::slowQuery() const
{
    if (isPostgres())
        return QStringLiteral("SELECT pg_sleep(30)");
    return QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c "
                          "WHERE x < 2000000000) SELECT count(*) FROM c");
}

void ProviderTest::exec(CADODatabase &session, const QString &text)
{
    CADORecordset recordset(&session);
    ASSERT_TRUE(recordset.Open(text)) << recordset.GetErrorText().toStdString();
    long affected = 0;
    while (recordset.NextRecordset(&affected)) {
    }
    ASSERT_EQ(recordset.GetErrorCode(), 0u) << recordset.GetErrorText().toStdString();
}

QString ProviderTest::dump(CADORecordset &recordset)
{
    QString out;
    long affected = recordset.RecordsAffected();
    for (int n = 1;; ++n) {
        out += QStringLiteral("#%1 ").arg(n);
        if (!recordset.IsOpen()) {
            out += QStringLiteral("affected=%1\n").arg(affected);
        } else {
            QStringList names, types;
            for (int i = 0; i < recordset.GetFieldCount(); ++i) {
                names.append(recordset.GetFieldInfo(i).name);
                types.append(QString::number(recordset.GetFieldInfo(i).type));
            }
            out += names.join(QLatin1Char('\t')) + QLatin1Char('\n') + types.join(QLatin1Char('\t'))
                   + QLatin1Char('\n');
            while (!recordset.IsEOF()) {
                QStringList cells;
                for (int i = 0; i < recordset.GetFieldCount(); ++i) {
                    QString text;
                    if (!recordset.GetFieldText(i, text))
                        return out + QStringLiteral("ERROR ") + recordset.GetErrorText();
                    cells.append(text == NullMarker     ? QStringLiteral("<NULL>")
                                 : text == BinaryMarker ? QStringLiteral("<Binary>")
                                                        : text);
                }
                out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
                if (!recordset.MoveNext())
                    return out + QStringLiteral("ERROR ") + recordset.GetErrorText();
            }
        }
        if (!recordset.NextRecordset(&affected)) {
            if (recordset.GetErrorCode() != 0)
                out += QStringLiteral("ERROR ") + recordset.GetErrorText();
            return out;
        }
    }
}

QString ProviderTest::dump(CADODatabase &session, const QString &text)
{
    CADORecordset recordset(&session);
    recordset.SetMarkers();
    if (!recordset.Open(text))
        return QStringLiteral("ERROR ") + recordset.GetErrorText();
    return dump(recordset);
}

void CompletionSink::executeComplete(long affected, const Ado::ErrorRecord *error, int &eventStatus,
                                     Ado::Command *, Ado::Recordset *rs, Ado::Connection *)
{
    std::lock_guard lock(mutex);
    ++count;
    recordsAffected = affected;
    status = eventStatus;
    errorCode = error ? error->code : 0;
    recordset = rs;
    thread = std::this_thread::get_id();
    changed.notify_all();
}

bool CompletionSink::waitFor(int wanted, int milliseconds)
{
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                            [&] { return count >= wanted; });
}
