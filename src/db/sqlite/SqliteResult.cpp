#include "db/sqlite/SqliteResult.h"

#include "db/sqlite/SqliteHandle.h"

#include <QDate>
#include <QRegularExpression>
#include <charconv>
#include <cstring>
#include <sqlite3.h>

namespace Ado {

namespace {

// How a column's values are read.
enum Kind { KindPlain, KindBool, KindDateTime, KindDate, KindTime };

Kind kindFor(int type)
{
    switch (type) {
    case adBoolean:
        return KindBool;
    case adDBTimeStamp:
    case adDate:
        return KindDateTime;
    case adDBDate:
        return KindDate;
    case adDBTime:
        return KindTime;
    default:
        return KindPlain;
    }
}

bool digits(const char *p, int n, int &value)
{
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// "HH:MM[:SS[.fff]]" at p (n bytes). More than three fraction digits are accepted only when
// the extra ones are zeros, so no part of the value is hidden.
bool parseTime(const char *p, int n, DateTime &out)
{
    if (n < 5 || p[2] != ':' || !digits(p, 2, out.hour) || !digits(p + 3, 2, out.minute))
        return false;
    out.second = 0;
    out.msec = 0;
    if (n == 5)
        return out.hour < 24 && out.minute < 60;
    if (n < 8 || p[5] != ':' || !digits(p + 6, 2, out.second))
        return false;
    if (n > 8) {
        if (p[8] != '.' || n == 9)
            return false;
        int ms = 0;
        int i = 9;
        for (int k = 0; i < n; ++i, ++k) {
            if (p[i] < '0' || p[i] > '9')
                return false;
            if (k < 3)
                ms = ms * 10 + (p[i] - '0');
            else if (p[i] != '0')
                return false;
        }
        for (int k = n - 9; k < 3; ++k)
            ms *= 10;
        out.msec = ms;
    }
    return out.hour < 24 && out.minute < 60 && out.second < 60;
}

bool parseDate(const char *p, int n, DateTime &out)
{
    if (n < 10 || p[4] != '-' || p[7] != '-' || !digits(p, 4, out.year)
        || !digits(p + 5, 2, out.month) || !digits(p + 8, 2, out.day))
        return false;
    return QDate::isValid(out.year, out.month, out.day);
}

bool parseValue(Kind kind, const char *p, int n, DateTime &out)
{
    out = DateTime();
    switch (kind) {
    case KindDate:
        return n == 10 && parseDate(p, n, out);
    case KindTime:
        return parseTime(p, n, out);
    case KindDateTime:
        if (!parseDate(p, n, out))
            return false;
        if (n == 10)
            return true;
        if (p[10] != ' ' && p[10] != 'T')
            return false;
        return parseTime(p + 11, n - 11, out);
    default:
        return false;
    }
}

QString firstWord(const char *sql)
{
    const char *p = sql;
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '(')
            ++p;
        if (p[0] == '-' && p[1] == '-') {
            while (*p && *p != '\n')
                ++p;
        } else if (p[0] == '/' && p[1] == '*') {
            const char *end = std::strstr(p + 2, "*/");
            p = end ? end + 2 : p + std::strlen(p);
        } else {
            break;
        }
    }
    const char *start = p;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z'))
        ++p;
    return QString::fromLatin1(start, p - start).toUpper();
}

const QRegularExpression &sizePattern()
{
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    return re;
}

} // namespace

SqliteResult::SqliteResult(std::shared_ptr<SqliteHandle> handle, const QString &text,
                           const QList<Parameter> &parameters, int timeoutSeconds)
    : m_handle(std::move(handle))
    , m_text(text.toUtf8())
    , m_parameters(parameters)
    , m_timeout(timeoutSeconds)
{
    m_tail = m_text.constData();
}

SqliteResult::~SqliteResult()
{
    finalize();
}

void SqliteResult::finalize()
{
    if (m_stmt) {
        const auto guard = m_handle->lock();
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
    m_rowValid = false;
    m_pendingRow = false;
}

int SqliteResult::step(int timeoutSeconds)
{
    // One lock for the step and the whole row.
    const auto guard = m_handle->lock();
    const int rc = m_handle->step(m_stmt, &m_cancelled, timeoutSeconds, &m_stepError);
    m_haveStepError = rc != SQLITE_ROW && rc != SQLITE_DONE;
    if (rc == SQLITE_ROW)
        loadRow();
    return rc;
}

void SqliteResult::loadRow()
{
    const int count = sqlite3_column_count(m_stmt);
    m_cells.resize(size_t(count));
    for (int c = 0; c < count; ++c) {
        Cell &cell = m_cells[size_t(c)];
        cell.type = sqlite3_column_type(m_stmt, c);
        switch (cell.type) {
        case SQLITE_INTEGER:
            cell.i = sqlite3_column_int64(m_stmt, c);
            break;
        case SQLITE_FLOAT:
            cell.d = sqlite3_column_double(m_stmt, c);
            break;
        case SQLITE_TEXT:
            cell.p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, c));
            cell.n = sqlite3_column_bytes(m_stmt, c);
            break;
        case SQLITE_BLOB:
            cell.p = static_cast<const char *>(sqlite3_column_blob(m_stmt, c));
            cell.n = sqlite3_column_bytes(m_stmt, c);
            break;
        default:
            break;
        }
    }
}

void SqliteResult::throwLastError()
{
    ComError error = m_haveStepError ? m_stepError : m_handle->lastError(m_cancelled.load());
    m_haveStepError = false;
    finalize();
    throw error;
}

FieldInfo SqliteResult::typeForDeclared(const QString &declared)
{
    FieldInfo info;
    const QString upper = declared.trimmed().toUpper();
    int size = 0;
    int scale = -1;
    const auto match = sizePattern().match(upper);
    if (match.hasMatch()) {
        size = match.captured(1).toInt();
        if (match.lastCapturedIndex() >= 2 && !match.captured(2).isEmpty())
            scale = match.captured(2).toInt();
    }
    auto set = [&](int type, qint64 definedSize) {
        info.type = type;
        info.definedSize = definedSize;
    };
    if (upper.contains(QLatin1String("BOOL"))) {
        set(adBoolean, 2);
    } else if (upper.startsWith(QLatin1String("DATETIME"))
               || upper.startsWith(QLatin1String("TIMESTAMP"))) {
        set(adDBTimeStamp, 16);
    } else if (upper.startsWith(QLatin1String("DATE"))) {
        set(adDBDate, 6);
    } else if (upper.startsWith(QLatin1String("TIME"))) {
        set(adDBTime, 6);
    } else if (upper.contains(QLatin1String("INT"))) {
        if (upper.startsWith(QLatin1String("BIGINT")) || upper.startsWith(QLatin1String("INT8"))
            || upper.startsWith(QLatin1String("UNSIGNED BIG")))
            set(adBigInt, 8);
        else if (upper.startsWith(QLatin1String("SMALLINT"))
                 || upper.startsWith(QLatin1String("INT2")))
            set(adSmallInt, 2);
        else if (upper.startsWith(QLatin1String("TINYINT")))
            set(adTinyInt, 1);
        else
            set(adInteger, 4);
        info.precision = info.type == adBigInt ? 19 : info.type == adInteger ? 10 : 5;
    } else if (upper.contains(QLatin1String("CHAR")) || upper.contains(QLatin1String("CLOB"))
               || upper.contains(QLatin1String("TEXT"))) {
        const bool fixed = !upper.contains(QLatin1String("VAR"))
                           && (upper.startsWith(QLatin1String("CHAR"))
                               || upper.startsWith(QLatin1String("NCHAR"))
                               || upper.startsWith(QLatin1String("CHARACTER"))
                               || upper.startsWith(QLatin1String("NATIVE CHAR")))
                           && size > 0;
        set(fixed ? adWChar : adVarWChar, size);
        if (fixed)
            info.attributes |= adFldFixed;
    } else if (upper.contains(QLatin1String("BLOB")) || upper.isEmpty()) {
        set(adLongVarBinary, 2147483647);
        info.attributes |= adFldLong;
    } else if (upper.contains(QLatin1String("REAL")) || upper.contains(QLatin1String("FLOA"))
               || upper.contains(QLatin1String("DOUB"))) {
        set(adDouble, 8);
        info.precision = 15;
    } else {
        // NUMERIC affinity: DECIMAL(p,s), NUMERIC, MONEY, ...
        set(adNumeric, 19);
        info.precision = size > 0 ? size : 18;
        info.scale = scale >= 0 ? scale : 0;
    }
    return info;
}

void SqliteResult::start()
{
    if (!runNextStatement()) {
        m_fields.clear();
        m_recordsAffected = -1;
    }
}

bool SqliteResult::runNextStatement()
{
    const auto guard = m_handle->lock();
    finalize();
    m_fields.clear();
    m_kinds.clear();
    m_plain.clear();
    m_recordsAffected = -1;
    sqlite3 *db = m_handle->db();
    const char *end = m_text.constData() + m_text.size();
    while (!m_stmt) {
        while (m_tail < end
               && (*m_tail == ' ' || *m_tail == '\t' || *m_tail == '\r' || *m_tail == '\n'
                   || *m_tail == ';'))
            ++m_tail;
        if (m_tail >= end)
            return false;
        if (m_handle->isClosed())
            throw ComError(AdErrObjectClosed, SqliteHandle::Source,
                           statusMessage(AdErrObjectClosed));
        if (m_cancelled)
            throw ComError(DB_E_Canceled, SqliteHandle::Source,
                           QStringLiteral("操作はキャンセルされました。"));
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(db, m_tail, int(end - m_tail), &m_stmt, &tail) != SQLITE_OK) {
            m_stmt = nullptr;
            throw m_handle->lastError(false);
        }
        m_tail = tail ? tail : end;
    }
    bindParameters();
    const int rc = step(m_timeout);
    if (rc == SQLITE_ROW) {
        m_pendingRow = true;
        describeColumns();
        return true;
    }
    if (rc != SQLITE_DONE)
        throwLastError();
    if (sqlite3_column_count(m_stmt) > 0) {
        describeColumns();
        finalize();
        return true;
    }
    const QString word = firstWord(sqlite3_sql(m_stmt));
    const bool changesRows = word == QLatin1String("INSERT") || word == QLatin1String("UPDATE")
                             || word == QLatin1String("DELETE") || word == QLatin1String("REPLACE")
                             || (word == QLatin1String("WITH") && !sqlite3_stmt_readonly(m_stmt));
    m_recordsAffected = changesRows ? long(sqlite3_changes64(db)) : -1;
    finalize();
    return true;
}

void SqliteResult::describeColumns()
{
    const int count = sqlite3_column_count(m_stmt);
    for (int i = 0; i < count; ++i) {
        const char *declared = sqlite3_column_decltype(m_stmt, i);
        FieldInfo info;
        if (declared && *declared) {
            info = typeForDeclared(QString::fromUtf8(declared));
        } else {
            // An expression or an untyped column: the first value's storage class.
            switch (m_pendingRow ? m_cells[size_t(i)].type : SQLITE_NULL) {
            case SQLITE_INTEGER:
                info.type = adBigInt;
                info.definedSize = 8;
                break;
            case SQLITE_FLOAT:
                info.type = adDouble;
                info.definedSize = 8;
                break;
            case SQLITE_BLOB:
                info.type = adLongVarBinary;
                info.definedSize = 2147483647;
                info.attributes |= adFldLong;
                break;
            default:
                info.type = adVarWChar;
                break;
            }
        }
        info.name = QString::fromUtf8(sqlite3_column_name(m_stmt, i));
        int notNull = 0;
        const char *table = sqlite3_column_table_name(m_stmt, i);
        const char *origin = sqlite3_column_origin_name(m_stmt, i);
        if (table && origin) {
            sqlite3_table_column_metadata(m_handle->db(), sqlite3_column_database_name(m_stmt, i),
                                          table, origin, nullptr, nullptr, &notNull, nullptr,
                                          nullptr);
            info.attributes |= adFldUnknownUpdatable;
        }
        if (!notNull)
            info.attributes |= adFldIsNullable | adFldMayBeNull;
        m_fields.append(info);
        m_kinds.append(kindFor(info.type));
        m_plain.append(kindFor(info.type) == KindPlain && info.type != adVariant
                       && info.type != adPropVariant && info.type != adBinary
                       && info.type != adVarBinary && info.type != adLongVarBinary);
    }
}

void SqliteResult::bindParameters()
{
    const int count = sqlite3_bind_parameter_count(m_stmt);
    for (int i = 1; i <= count; ++i) {
        const char *name = sqlite3_bind_parameter_name(m_stmt, i);
        const Parameter *parameter = nullptr;
        QString shown;
        if (!name || name[0] == '?') {
            if (m_positional < m_parameters.size())
                parameter = &m_parameters[m_positional];
            ++m_positional;
            shown = QStringLiteral("?");
        } else {
            shown = QString::fromUtf8(name);
            const QString bare = shown.mid(1);
            for (const Parameter &p : m_parameters) {
                if (p.name.compare(bare, Qt::CaseInsensitive) == 0
                    || p.name.compare(shown, Qt::CaseInsensitive) == 0) {
                    parameter = &p;
                    break;
                }
            }
        }
        if (!parameter) {
            finalize();
            throw ComError(DB_E_ErrorsInCommand, SqliteHandle::Source,
                           QStringLiteral("パラメータ %1 に値が指定されていません。").arg(shown));
        }
        const Variant &v = parameter->value;
        int rc = SQLITE_OK;
        switch (v.baseType()) {
        case VT_EMPTY:
        case VT_NULL:
            rc = (v.vt() == (VT_ARRAY | VT_UI1))
                     ? sqlite3_bind_blob64(m_stmt, i, v.bytes().constData(),
                                           sqlite3_uint64(v.bytes().size()), SQLITE_TRANSIENT)
                     : sqlite3_bind_null(m_stmt, i);
            break;
        case VT_R4:
        case VT_R8:
        case VT_CY:
            rc = sqlite3_bind_double(m_stmt, i, v.toDouble());
            break;
        case VT_BOOL:
            rc = sqlite3_bind_int(m_stmt, i, v.toBool() ? 1 : 0);
            break;
        case VT_DATE: {
            const DateTime d = v.toDateTime();
            const QString text
                = QStringLiteral("%1-%2-%3 %4:%5:%6")
                      .arg(d.year, 4, 10, QLatin1Char('0'))
                      .arg(d.month, 2, 10, QLatin1Char('0'))
                      .arg(d.day, 2, 10, QLatin1Char('0'))
                      .arg(d.hour, 2, 10, QLatin1Char('0'))
                      .arg(d.minute, 2, 10, QLatin1Char('0'))
                      .arg(d.second, 2, 10, QLatin1Char('0'))
                  + (d.msec ? QStringLiteral(".%1").arg(d.msec, 3, 10, QLatin1Char('0'))
                            : QString());
            const QByteArray utf8 = text.toUtf8();
            rc = sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        case VT_BSTR:
        case VT_DECIMAL: {
            const QString &text = v.text();
            if (parameter->type == adVariant || v.baseType() == VT_DECIMAL) {
                // A value typed as variant is given to SQLite as the number it spells.
                bool ok = false;
                const qlonglong n = text.trimmed().toLongLong(&ok);
                if (ok) {
                    rc = sqlite3_bind_int64(m_stmt, i, n);
                    break;
                }
                const double d = text.trimmed().toDouble(&ok);
                if (ok) {
                    rc = sqlite3_bind_double(m_stmt, i, d);
                    break;
                }
            }
            const QByteArray utf8 = text.toUtf8();
            rc = sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = sqlite3_bind_int64(m_stmt, i, v.toInt());
            break;
        }
        if (rc != SQLITE_OK)
            throwLastError();
    }
}

bool SqliteResult::fetch()
{
    if (m_pendingRow) {
        m_pendingRow = false;
        m_rowValid = true;
        return true;
    }
    if (!m_stmt)
        return false;
    if (m_cancelled)
        throw ComError(DB_E_Canceled, SqliteHandle::Source,
                       QStringLiteral("操作はキャンセルされました。"));
    const int rc = step(0);
    if (rc == SQLITE_ROW) {
        m_rowValid = true;
        return true;
    }
    if (rc == SQLITE_DONE) {
        finalize();
        return false;
    }
    throwLastError();
}

void SqliteResult::value(int column, Variant &out)
{
    if (!m_rowValid || !m_stmt) {
        out.setNull();
        return;
    }
    const Cell &cell = m_cells[size_t(column)];
    switch (cell.type) {
    case SQLITE_INTEGER:
        if (m_kinds[column] == KindBool)
            out.setBool(cell.i != 0);
        else
            out.setInt(cell.i, VT_I8);
        return;
    case SQLITE_FLOAT:
        out.setDouble(cell.d, VT_R8);
        return;
    case SQLITE_BLOB:
        out.setBytes(QByteArray(cell.p, cell.n));
        return;
    case SQLITE_TEXT: {
        const int kind = m_kinds[column];
        if (kind >= KindDateTime) {
            DateTime date;
            if (parseValue(Kind(kind), cell.p, cell.n, date)) {
                out.setDate(date);
                return;
            }
        }
        out.setText(QString::fromUtf8(cell.p, cell.n));
        return;
    }
    default:
        out.setNull();
        return;
    }
}

bool SqliteResult::appendPlainText(int column, QString &out, bool &isNull)
{
    if (!m_rowValid || !m_stmt)
        return false;
    const Cell &cell = m_cells[size_t(column)];
    switch (cell.type) {
    case SQLITE_NULL:
        isNull = true;
        return true;
    case SQLITE_INTEGER: {
        if (!m_plain[column])
            return false;
        char buffer[24];
        char *end = std::to_chars(buffer, buffer + sizeof buffer, cell.i).ptr;
        out.append(QLatin1StringView(buffer, end - buffer));
        return true;
    }
    case SQLITE_TEXT: {
        if (!m_plain[column])
            return false;
        const auto *text = reinterpret_cast<const unsigned char *>(cell.p);
        const qsizetype n = cell.n;
        // ASCII is widened in place; anything else goes through the UTF-8 decoder.
        unsigned char high = 0;
        for (qsizetype i = 0; i < n; ++i)
            high |= text[i];
        if (high < 0x80) {
            out.append(QLatin1StringView(reinterpret_cast<const char *>(text), n));
        } else {
            out += QString::fromUtf8(reinterpret_cast<const char *>(text), n);
        }
        return true;
    }
    default:
        return false;
    }
}

qint64 SqliteResult::actualSize(int column)
{
    if (!m_rowValid || !m_stmt)
        return 0;
    const Cell &cell = m_cells[size_t(column)];
    switch (cell.type) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_TEXT:
        return QString::fromUtf8(cell.p, cell.n).size();
    case SQLITE_BLOB:
        return cell.n;
    default:
        return m_fields[column].definedSize;
    }
}

bool SqliteResult::nextResult()
{
    return runNextStatement();
}

void SqliteResult::cancel()
{
    m_cancelled = true;
}

} // namespace Ado
