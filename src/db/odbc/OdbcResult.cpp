#include "db/odbc/OdbcResult.h"

#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcSqlText.h"

#include <QDate>
#include <charconv>
#include <chrono>
#include <cstring>
#include <limits>
#include <thread>
#include <sqlext.h>

namespace Ado {

namespace {

enum Kind {
    KindInt,
    KindUInt,
    KindDouble,
    KindReal,
    KindBit,
    KindDate,
    KindTimestamp,
    KindTime,
    KindText,
    KindDecimal,
    KindBinary
};

constexpr SQLLEN TextCap = 256;   // characters bound for long or unsized texts
constexpr SQLLEN BinaryCap = 256; // bytes bound for binary columns
constexpr SQLULEN MaxArrayRows = 1000;
constexpr qsizetype ArrayBudget = 8 << 20; // bytes of bound buffers per result

template <typename Char>
bool digitsAt(const Char *p, int n, int &value)
{
    value = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// "HH:MM:SS[.fraction]" (fractions beyond milliseconds are dropped).
template <typename Char>
bool parseTimeText(const Char *p, qsizetype n, DateTime &v)
{
    if (n < 8 || p[2] != ':' || p[5] != ':' || !digitsAt(p, 2, v.hour)
        || !digitsAt(p + 3, 2, v.minute) || !digitsAt(p + 6, 2, v.second))
        return false;
    v.msec = 0;
    if (n > 8) {
        if (p[8] != '.' || n == 9)
            return false;
        int scale = 100;
        for (qsizetype i = 9; i < n; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return false;
            v.msec += (p[i] - '0') * scale;
            scale /= 10;
        }
    }
    return v.hour < 24 && v.minute < 60 && v.second < 61;
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS[.f]" or "HH:MM:SS[.f]" by the column's kind.
template <typename Char>
bool parseDateTime(const Char *p, qsizetype n, int kind, DateTime &v)
{
    if (kind == KindTime) {
        v = DateTime();
        return parseTimeText(p, n, v);
    }
    if (n < 10 || p[4] != '-' || p[7] != '-' || !digitsAt(p, 4, v.year)
        || !digitsAt(p + 5, 2, v.month) || !digitsAt(p + 8, 2, v.day)
        || !QDate::isValid(v.year, v.month, v.day))
        return false;
    v.hour = v.minute = v.second = v.msec = 0;
    v.valid = true;
    if (n == 10)
        return true;
    return kind == KindTimestamp && (p[10] == ' ' || p[10] == 'T')
           && parseTimeText(p + 11, n - 11, v);
}

// UTF-8 appended to a text: ASCII widened in place, the rest through the decoder.
void appendUtf8(QString &out, const char *text, qsizetype n)
{
    unsigned char high = 0;
    for (qsizetype i = 0; i < n; ++i)
        high |= static_cast<unsigned char>(text[i]);
    if (high < 0x80) {
        out.append(QLatin1StringView(reinterpret_cast<const char *>(text), n));
    } else {
        out += QString::fromUtf8(text, n);
    }
}

} // namespace

OdbcResult::OdbcResult(std::shared_ptr<OdbcHandle> handle, const QString &text,
                       const QList<Parameter> &parameters, int timeoutSeconds)
    : m_handle(std::move(handle))
    , m_text(text)
    , m_parameters(parameters)
    , m_timeout(timeoutSeconds)
{
    m_handle->addStatement(this);
}

void OdbcResult::release()
{
    {
        std::lock_guard lock(m_stmtMutex);
        if (m_stmt != SQL_NULL_HSTMT)
            SQLCancel(m_stmt);
    }
    std::lock_guard use(m_useMutex);
    std::lock_guard lock(m_stmtMutex);
    if (m_stmt != SQL_NULL_HSTMT) {
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
    }
    m_released = true;
}

void OdbcResult::checkStatement() const
{
    if (m_released || m_stmt == SQL_NULL_HSTMT)
        throw ComError(AdErrObjectClosed, m_handle->source(), statusMessage(AdErrObjectClosed));
}

OdbcResult::~OdbcResult()
{
    m_handle->removeStatement(this);
    std::lock_guard lock(m_stmtMutex);
    if (m_stmt != SQL_NULL_HSTMT) {
        SQLFreeStmt(m_stmt, SQL_CLOSE);
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
    }
}

int OdbcResult::adoType(int sqlType, bool isUnsigned)
{
    switch (sqlType) {
    case SQL_CHAR:
        return adChar;
    case SQL_VARCHAR:
        return adVarChar;
    case SQL_LONGVARCHAR:
        return adLongVarChar;
    case SQL_WCHAR:
        return adWChar;
    case SQL_WVARCHAR:
        return adVarWChar;
    case SQL_WLONGVARCHAR:
        return adLongVarWChar;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return adNumeric;
    case SQL_SMALLINT:
        return isUnsigned ? adUnsignedSmallInt : adSmallInt;
    case SQL_INTEGER:
        return isUnsigned ? adUnsignedInt : adInteger;
    case SQL_REAL:
        return adSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return adDouble;
    case SQL_BIT:
        return adBoolean;
    case SQL_TINYINT:
        return isUnsigned ? adUnsignedTinyInt : adTinyInt;
    case SQL_BIGINT:
        return isUnsigned ? adUnsignedBigInt : adBigInt;
    case SQL_BINARY:
        return adBinary;
    case SQL_VARBINARY:
        return adVarBinary;
    case SQL_LONGVARBINARY:
        return adLongVarBinary;
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return adDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return adDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return adDBTimeStamp;
    case SQL_GUID:
        return adGUID;
    default:
        return adVarWChar;
    }
}

void OdbcResult::throwStatementError()
{
    ComError error = OdbcHandle::diagnostics(SQL_HANDLE_STMT, m_stmt, m_handle->source());
    if (m_cancelled && error.code() != DB_E_Canceled) {
        ErrorRecord record = error.record();
        record.code = DB_E_Canceled;
        error = ComError(record);
    } else if (!m_cancelled && m_timeout > 0 && error.code() == DB_E_Canceled) {
        // The server cancelled the statement for the query time-out.
        ErrorRecord record = error.record();
        record.code = DB_E_AbortLimitReached;
        error = ComError(record);
    }
    throw error;
}

void OdbcResult::start()
{
    std::lock_guard use(m_useMutex);
    if (!m_handle->isConnected() || m_released)
        throw ComError(AdErrObjectClosed, m_handle->source(), statusMessage(AdErrObjectClosed));
    {
        std::lock_guard lock(m_stmtMutex);
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_handle->dbc(), &m_stmt)))
            throw OdbcHandle::diagnostics(SQL_HANDLE_DBC, m_handle->dbc(), m_handle->source());
    }
    if (m_cancelled)
        throw ComError(DB_E_Canceled, m_handle->source(),
                       QStringLiteral("操作はキャンセルされました。"));
    if (m_timeout > 0)
        SQLSetStmtAttrW(m_stmt, SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(SQLULEN(m_timeout)), 0);
    QList<int> order;
    const bool escapes = m_handle->backslashEscapes();
    const QString text = OdbcSqlText::rewriteParameters(m_text, m_parameters, order, escapes);
    m_keywords = OdbcSqlText::statementKeywords(m_text, escapes);
    bindParameters(order);
    const std::u16string wide = OdbcHandle::toWide(text);

    // A cancel that arrives just before the driver has started executing would be lost:
    // SQLCancel on an idle statement does nothing. While the statement executes, a watcher
    // repeats SQLCancel after a cancel until the execution returns.
    bool executing = true;
    std::thread watcher([this, &executing] {
        std::unique_lock lock(m_cancelWaitMutex);
        while (executing) {
            if (!m_cancelled) {
                m_cancelWait.wait(lock, [&] { return !executing || m_cancelled; });
                continue;
            }
            // The cancel request may take a network round trip: not under the wait lock,
            // which cancel() takes on the UI thread.
            lock.unlock();
            {
                std::lock_guard stmt(m_stmtMutex);
                if (m_stmt != SQL_NULL_HSTMT)
                    SQLCancel(m_stmt);
            }
            lock.lock();
            m_cancelWait.wait_for(lock, std::chrono::milliseconds(100),
                                  [&] { return !executing; });
        }
    });
    const SQLRETURN rc
        = SQLExecDirectW(m_stmt, reinterpret_cast<SQLWCHAR *>(const_cast<char16_t *>(wide.c_str())),
                         SQLINTEGER(wide.size()));
    {
        std::lock_guard lock(m_cancelWaitMutex);
        executing = false;
    }
    m_cancelWait.notify_all();
    watcher.join();
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA)
        throwStatementError();
    m_resultIndex = 0;
    describeCurrent();
}

void OdbcResult::bindParameters(const QList<int> &order)
{
    m_paramTexts.assign(size_t(order.size()), {});
    m_paramData.assign(size_t(order.size()), {});
    m_paramIndicators.assign(size_t(order.size()), 0);
    for (qsizetype k = 0; k < order.size(); ++k) {
        const SQLUSMALLINT number = SQLUSMALLINT(k + 1);
        if (order[k] < 0)
            throw ComError(DB_E_ErrorsInCommand, m_handle->source(),
                           QStringLiteral("パラメータ %1 に値が指定されていません。").arg(k + 1));
        const Parameter &p = m_parameters[order[k]];
        const Variant &v = p.value;
        SQLLEN &ind = m_paramIndicators[size_t(k)];
        std::vector<char> &data = m_paramData[size_t(k)];
        SQLRETURN rc;
        auto bindText = [&](const QString &text) {
            m_paramTexts[size_t(k)] = OdbcHandle::toWide(text);
            std::u16string &w = m_paramTexts[size_t(k)];
            ind = SQLLEN(w.size() * sizeof(char16_t));
            return SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                                    std::max<SQLULEN>(w.size(), 1), 0, w.data(), ind, &ind);
        };
        auto bindInt = [&](qint64 value) {
            data.resize(sizeof(qint64));
            std::memcpy(data.data(), &value, sizeof value);
            ind = 0;
            return SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 19,
                                    0, data.data(), 0, &ind);
        };
        auto bindDouble = [&](double value) {
            data.resize(sizeof(double));
            std::memcpy(data.data(), &value, sizeof value);
            ind = 0;
            return SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 15,
                                    0, data.data(), 0, &ind);
        };
        switch (v.baseType()) {
        case VT_EMPTY:
        case VT_NULL:
            if (v.vt() == (VT_ARRAY | VT_UI1)) {
                data.assign(v.bytes().begin(), v.bytes().end());
                ind = SQLLEN(data.size());
                rc = SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY,
                                      std::max<SQLULEN>(data.size(), 1), 0, data.data(), ind, &ind);
            } else {
                ind = SQL_NULL_DATA;
                rc = SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 1,
                                      0, nullptr, 0, &ind);
            }
            break;
        case VT_R4:
        case VT_R8:
        case VT_CY:
            rc = bindDouble(v.toDouble());
            break;
        case VT_BOOL:
            rc = bindInt(v.toBool() ? 1 : 0);
            break;
        case VT_DATE: {
            const DateTime d = v.toDateTime();
            SQL_TIMESTAMP_STRUCT ts{SQLSMALLINT(d.year),           SQLUSMALLINT(d.month),
                                    SQLUSMALLINT(d.day),           SQLUSMALLINT(d.hour),
                                    SQLUSMALLINT(d.minute),        SQLUSMALLINT(d.second),
                                    SQLUINTEGER(d.msec) * 1000000u};
            data.resize(sizeof ts);
            std::memcpy(data.data(), &ts, sizeof ts);
            ind = 0;
            rc = SQLBindParameter(m_stmt, number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP,
                                  SQL_TYPE_TIMESTAMP, 23, 3, data.data(), 0, &ind);
            break;
        }
        case VT_BSTR:
        case VT_DECIMAL: {
            if (p.type == adVariant) {
                // A variant-typed value is sent as the number it spells, else as text.
                bool ok = false;
                const qlonglong n = v.text().trimmed().toLongLong(&ok);
                if (ok) {
                    rc = bindInt(n);
                    break;
                }
                const double d = v.text().trimmed().toDouble(&ok);
                if (ok) {
                    rc = bindDouble(d);
                    break;
                }
            }
            rc = bindText(v.text());
            break;
        }
        default:
            rc = bindInt(v.toInt());
            break;
        }
        if (!SQL_SUCCEEDED(rc))
            throwStatementError();
    }
}

void OdbcResult::describeCurrent()
{
    SQLFreeStmt(m_stmt, SQL_UNBIND);
    m_fields.clear();
    m_columns.clear();
    m_fetched = 0;
    m_row = 0;
    m_recordsAffected = -1;
    SQLSMALLINT count = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(m_stmt, &count)))
        throwStatementError();
    if (count == 0) {
        SQLLEN rows = -1;
        SQLRowCount(m_stmt, &rows);
        const QString keyword = m_keywords.value(m_resultIndex);
        const bool changesRows
            = keyword == QLatin1String("INSERT") || keyword == QLatin1String("UPDATE")
              || keyword == QLatin1String("DELETE") || keyword == QLatin1String("MERGE")
              || keyword == QLatin1String("REPLACE") || keyword == QLatin1String("WITH");
        m_recordsAffected = changesRows && rows >= 0 ? long(rows) : -1;
        return;
    }
    m_columns.resize(size_t(count));
    qsizetype rowBytes = 0;
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
        SQLWCHAR name[512] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT sqlType = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
        if (!SQL_SUCCEEDED(SQLDescribeColW(m_stmt, i, name, SQLSMALLINT(std::size(name)),
                                           &nameLength, &sqlType, &size, &digits, &nullable)))
            throwStatementError();
        SQLLEN isUnsigned = SQL_FALSE;
        SQLColAttributeW(m_stmt, i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
        FieldInfo info;
        info.name = OdbcHandle::fromWide(name, std::min<qsizetype>(nameLength, 511));
        info.type = adoType(sqlType, isUnsigned == SQL_TRUE);
        info.definedSize = qint64(size);
        info.precision = int(size);
        info.scale = digits;
        if (nullable != SQL_NO_NULLS)
            info.attributes |= adFldIsNullable | adFldMayBeNull;
        info.attributes |= adFldUnknownUpdatable;
        Column &column = m_columns[size_t(i - 1)];
        switch (info.type) {
        case adSmallInt:
        case adInteger:
        case adTinyInt:
        case adBigInt:
        case adUnsignedTinyInt:
        case adUnsignedSmallInt:
        case adUnsignedInt:
            column.kind = KindInt;
            column.cType = SQL_C_SBIGINT;
            column.elementBytes = sizeof(qint64);
            info.attributes |= adFldFixed;
            break;
        case adUnsignedBigInt:
            column.kind = KindUInt;
            column.cType = SQL_C_UBIGINT;
            column.elementBytes = sizeof(quint64);
            info.attributes |= adFldFixed;
            break;
        case adSingle:
        case adDouble:
            column.kind = info.type == adSingle ? KindReal : KindDouble;
            column.cType = SQL_C_DOUBLE;
            column.elementBytes = sizeof(double);
            info.attributes |= adFldFixed;
            break;
        case adBoolean:
            column.kind = KindBit;
            column.cType = SQL_C_BIT;
            column.elementBytes = 1;
            info.attributes |= adFldFixed;
            break;
        case adDBDate:
        case adDBTimeStamp:
            // Read as text and parsed here: cheaper than the driver's own conversion, and a
            // value it cannot represent (infinity, a time zone) keeps its text.
            column.kind = info.type == adDBDate ? KindDate : KindTimestamp;
            column.cType = SQL_C_WCHAR;
            column.elementBytes = 48 * SQLLEN(sizeof(SQLWCHAR));
            info.attributes |= adFldFixed;
            break;
        case adBinary:
        case adVarBinary:
        case adLongVarBinary:
            column.kind = KindBinary;
            column.cType = SQL_C_BINARY;
            column.elementBytes
                = (size > 0 && SQLLEN(size) <= BinaryCap) ? SQLLEN(size) : BinaryCap;
            if (info.type == adLongVarBinary)
                info.attributes |= adFldLong;
            break;
        default: {
            // Texts, decimals (exact digits), times (with fractions), GUIDs, the rest.
            column.kind = info.type == adNumeric  ? KindDecimal
                          : info.type == adDBTime ? KindTime
                                                  : KindText;
            column.cType = SQL_C_WCHAR;
            SQLLEN chars = (size > 0 && SQLLEN(size) <= 1024) ? SQLLEN(size) : TextCap;
            if (column.kind == KindDecimal)
                chars = std::max<SQLLEN>(SQLLEN(size) + 3, 40);
            else if (column.kind == KindTime)
                chars = 32;
            column.elementBytes = (chars + 1) * SQLLEN(sizeof(SQLWCHAR));
            if (info.type == adLongVarWChar || info.type == adLongVarChar)
                info.attributes |= adFldLong;
            break;
        }
        }
        if (m_handle->rawTextAsBinary()) {
            // psqlODBC hands out these server types' text as sent: texts as UTF-8 bytes
            // (SQL_C_BINARY) and numbers, dates and booleans as ASCII (SQL_C_CHAR), parsed
            // here; its own conversions cost more than the reading itself. Other types (and
            // anything it refuses that way) keep the converted forms.
            SQLWCHAR typeName[64] = {};
            SQLSMALLINT typeLength = 0;
            SQLColAttributeW(m_stmt, i, SQL_DESC_TYPE_NAME, typeName, sizeof typeName, &typeLength,
                             nullptr);
            const QString pgType = OdbcHandle::fromWide(typeName, std::min<qsizetype>(typeLength / 2, 63));
            static const QStringList textTypes = {"text", "varchar", "bpchar", "char", "xml",
                                                  "character varying", "character"};
            static const QStringList plainTypes = {"int2", "int4", "int8", "numeric", "float4",
                                                   "float8", "date", "timestamp", "bool"};
            if (column.kind == KindText && textTypes.contains(pgType)) {
                column.raw = true;
                column.cType = SQL_C_BINARY;
                // Four bytes per character at most in UTF-8.
                column.elementBytes = ((size > 0 && SQLLEN(size) <= 1024) ? SQLLEN(size) : TextCap) * 4;
            } else if (column.kind != KindBinary && column.kind != KindText
                       && plainTypes.contains(pgType)) {
                column.raw = true;
                column.cType = SQL_C_CHAR;
                column.elementBytes
                    = column.kind == KindDecimal ? std::max<SQLLEN>(SQLLEN(size) + 4, 48) : 48;
            }
        }
        rowBytes += column.elementBytes + qsizetype(sizeof(SQLLEN));
        m_fields.append(info);
    }
    m_arraySize = SQLULEN(std::clamp<qsizetype>(ArrayBudget / std::max<qsizetype>(rowBytes, 1), 1,
                                                qsizetype(MaxArrayRows)));
    if (!m_handle->getDataInBlocks())
        m_arraySize = 1;
    SQLSetStmtAttrW(m_stmt, SQL_ATTR_ROW_BIND_TYPE,
                    reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
    if (!SQL_SUCCEEDED(SQLSetStmtAttrW(m_stmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                       reinterpret_cast<SQLPOINTER>(m_arraySize), 0)))
        m_arraySize = 1;
    m_rowStatus.assign(m_arraySize, 0);
    SQLSetStmtAttrW(m_stmt, SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched, 0);
    SQLSetStmtAttrW(m_stmt, SQL_ATTR_ROW_STATUS_PTR, m_rowStatus.data(), 0);
    for (size_t c = 0; c < m_columns.size(); ++c) {
        Column &column = m_columns[c];
        column.data.assign(size_t(column.elementBytes) * m_arraySize, 0);
        column.indicators.assign(m_arraySize, 0);
        if (!SQL_SUCCEEDED(SQLBindCol(m_stmt, SQLUSMALLINT(c + 1), column.cType, column.data.data(),
                                      column.elementBytes, column.indicators.data())))
            throwStatementError();
    }
}

bool OdbcResult::fetch()
{
    if (m_columns.empty())
        return false;
    if (m_row + 1 < m_fetched) {
        ++m_row;
        return true;
    }
    std::lock_guard use(m_useMutex);
    checkStatement();
    if (m_cancelled)
        throw ComError(DB_E_Canceled, m_handle->source(),
                       QStringLiteral("操作はキャンセルされました。"));
    m_fetched = 0;
    m_row = 0;
    const SQLRETURN rc = SQLFetchScroll(m_stmt, SQL_FETCH_NEXT, 0);
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        throwStatementError();
    return m_fetched > 0;
}

bool OdbcResult::readLong(int column, Variant &out)
{
    std::lock_guard use(m_useMutex);
    if (m_released || m_stmt == SQL_NULL_HSTMT)
        return false;
    const Column &c = m_columns[size_t(column)];
    if (m_arraySize > 1
        && !SQL_SUCCEEDED(
            SQLSetPos(m_stmt, SQLSETPOSIROW(m_row + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE)))
        return false;
    const bool binary = c.kind == KindBinary || c.raw;
    QByteArray bytes;
    for (;;) {
        char buffer[16384];
        SQLLEN ind = 0;
        const SQLSMALLINT type = c.raw ? c.cType : binary ? SQL_C_BINARY : SQL_C_WCHAR;
        const SQLRETURN rc
            = SQLGetData(m_stmt, SQLUSMALLINT(column + 1), type, buffer, sizeof buffer, &ind);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            return false;
        if (ind == SQL_NULL_DATA) {
            out.setNull();
            return true;
        }
        const qsizetype room = c.cType == SQL_C_CHAR ? qsizetype(sizeof buffer) - 1
                               : binary              ? qsizetype(sizeof buffer)
                                                     : qsizetype(sizeof buffer) - 2;
        const qsizetype got = (ind == SQL_NO_TOTAL || ind > room) ? room : qsizetype(ind);
        bytes.append(buffer, got);
        if (rc == SQL_SUCCESS)
            break;
    }
    if (c.raw)
        out.setText(QString::fromUtf8(bytes));
    else if (binary)
        out.setBytes(std::move(bytes));
    else
        out.setText(QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2));
    return true;
}

void OdbcResult::value(int column, Variant &out)
{
    Column &c = m_columns[size_t(column)];
    const SQLLEN ind = c.indicators[m_row];
    if (ind == SQL_NULL_DATA) {
        out.setNull();
        return;
    }
    const char *p = c.data.data() + size_t(c.elementBytes) * m_row;
    if (c.raw) {
        valueFromText(column, p, ind, out);
        return;
    }
    switch (c.kind) {
    case KindInt: {
        qint64 v;
        std::memcpy(&v, p, sizeof v);
        out.setInt(v, VT_I8);
        return;
    }
    case KindUInt: {
        qint64 v;
        std::memcpy(&v, p, sizeof v);
        out.setInt(v, VT_UI8);
        return;
    }
    case KindDouble:
    case KindReal: {
        double v;
        std::memcpy(&v, p, sizeof v);
        out.setDouble(c.kind == KindReal ? double(float(v)) : v,
                      c.kind == KindReal ? VT_R4 : VT_R8);
        return;
    }
    case KindBit:
        out.setBool(*p != 0);
        return;
    case KindBinary:
        if (ind == SQL_NO_TOTAL || ind > c.elementBytes) {
            if (readLong(column, out))
                return;
        }
        out.setBytes(
            QByteArray(p, std::min<qsizetype>(ind < 0 ? c.elementBytes : ind, c.elementBytes)));
        return;
    default:
        break;
    }
    const SQLLEN room = c.elementBytes - SQLLEN(sizeof(SQLWCHAR));
    if (ind == SQL_NO_TOTAL || ind > room) {
        if (readLong(column, out)) {
            if (c.kind == KindDecimal && out.vt() == VT_BSTR)
                out.setDecimal(QString(out.text()));
            return;
        }
    }
    const qsizetype chars = qsizetype(std::min(ind < 0 ? room : ind, room)) / 2;
    QString text(reinterpret_cast<const QChar *>(p), chars);
    if (c.kind == KindDecimal) {
        out.setDecimal(std::move(text));
        return;
    }
    if (c.kind == KindTime || c.kind == KindDate || c.kind == KindTimestamp) {
        DateTime v;
        if (parseDateTime(reinterpret_cast<const char16_t *>(p), chars, c.kind, v)) {
            out.setDate(v);
            return;
        }
    }
    out.setText(std::move(text));
}

void OdbcResult::valueFromText(int column, const char *p, SQLLEN ind, Variant &out)
{
    const Column &c = m_columns[size_t(column)];
    const SQLLEN room = c.cType == SQL_C_CHAR ? c.elementBytes - 1 : c.elementBytes;
    if (ind == SQL_NO_TOTAL || ind > room) {
        if (readLong(column, out)) {
            if (c.kind == KindDecimal && out.vt() == VT_BSTR)
                out.setDecimal(QString(out.text()));
            return;
        }
        ind = room;
    }
    const char *end = p + ind;
    switch (c.kind) {
    case KindInt: {
        qint64 v = 0;
        if (std::from_chars(p, end, v).ptr == end) {
            out.setInt(v, VT_I8);
            return;
        }
        break;
    }
    case KindUInt: {
        quint64 v = 0;
        if (std::from_chars(p, end, v).ptr == end) {
            out.setInt(qint64(v), VT_UI8);
            return;
        }
        break;
    }
    case KindDouble:
    case KindReal: {
        double v = 0;
        if (std::from_chars(p, end, v).ptr == end) {
            out.setDouble(c.kind == KindReal ? double(float(v)) : v,
                          c.kind == KindReal ? VT_R4 : VT_R8);
            return;
        }
        if (ind == 8 && std::memcmp(p, "Infinity", 8) == 0) {
            out.setDouble(std::numeric_limits<double>::infinity(), VT_R8);
            return;
        }
        break;
    }
    case KindBit:
        if (ind == 1 && (*p == 't' || *p == 'f' || *p == '1' || *p == '0')) {
            out.setBool(*p == 't' || *p == '1');
            return;
        }
        break;
    case KindDate:
    case KindTimestamp:
    case KindTime: {
        DateTime v;
        if (parseDateTime(p, qsizetype(ind), c.kind, v)) {
            out.setDate(v);
            return;
        }
        break;
    }
    case KindDecimal:
        out.setDecimal(QString::fromLatin1(p, qsizetype(ind)));
        return;
    default:
        break;
    }
    QString text;
    appendUtf8(text, p, qsizetype(ind));
    out.setText(std::move(text));
}

bool OdbcResult::appendPlainText(int column, QString &out, bool &isNull)
{
    const Column &c = m_columns[size_t(column)];
    const SQLLEN ind = c.indicators[m_row];
    if (ind == SQL_NULL_DATA) {
        isNull = true;
        return true;
    }
    const char *p = c.data.data() + size_t(c.elementBytes) * m_row;
    if (c.raw) {
        const SQLLEN room = c.cType == SQL_C_CHAR ? c.elementBytes - 1 : c.elementBytes;
        if (ind == SQL_NO_TOTAL || ind > room)
            return false;
        // Integers and decimals are already in their decimal text; texts are UTF-8.
        if (c.kind == KindInt || c.kind == KindUInt || c.kind == KindDecimal) {
            out.append(QLatin1StringView(p, qsizetype(ind)));
            return true;
        }
        if (c.kind == KindText && m_fields[column].type != adGUID) {
            appendUtf8(out, p, qsizetype(ind));
            return true;
        }
        return false;
    }
    if (c.kind == KindInt) {
        qint64 v;
        std::memcpy(&v, p, sizeof v);
        char buffer[24];
        char *end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
        out.append(QLatin1StringView(buffer, end - buffer));
        return true;
    }
    if ((c.kind == KindText || c.kind == KindDecimal) && m_fields[column].type != adGUID) {
        const SQLLEN room = c.elementBytes - SQLLEN(sizeof(SQLWCHAR));
        if (ind == SQL_NO_TOTAL || ind > room)
            return false; // a long value: read in full by value()
        out.append(reinterpret_cast<const QChar *>(p), qsizetype(ind) / 2);
        return true;
    }
    return false;
}

qint64 OdbcResult::actualSize(int column)
{
    const Column &c = m_columns[size_t(column)];
    const SQLLEN ind = c.indicators[m_row];
    if (ind == SQL_NULL_DATA)
        return 0;
    if (c.raw && c.kind == KindText)
        return ind == SQL_NO_TOTAL
                   ? m_fields[column].definedSize
                   : QString::fromUtf8(c.data.data() + size_t(c.elementBytes) * m_row,
                                       std::min<SQLLEN>(ind, c.elementBytes))
                         .size();
    if (c.cType == SQL_C_WCHAR)
        return ind == SQL_NO_TOTAL ? m_fields[column].definedSize : qint64(ind) / 2;
    if (c.cType == SQL_C_BINARY)
        return ind == SQL_NO_TOTAL ? m_fields[column].definedSize : qint64(ind);
    return m_fields[column].definedSize;
}

bool OdbcResult::nextResult()
{
    std::lock_guard use(m_useMutex);
    if (m_released)
        checkStatement();
    if (m_stmt == SQL_NULL_HSTMT)
        return false;
    const SQLRETURN rc = SQLMoreResults(m_stmt);
    if (rc == SQL_NO_DATA)
        return false;
    if (!SQL_SUCCEEDED(rc))
        throwStatementError();
    ++m_resultIndex;
    describeCurrent();
    return true;
}

void OdbcResult::cancel()
{
    {
        std::lock_guard wait(m_cancelWaitMutex);
        m_cancelled = true;
    }
    m_cancelWait.notify_all();
    std::lock_guard lock(m_stmtMutex);
    if (m_stmt != SQL_NULL_HSTMT)
        SQLCancel(m_stmt);
}

} // namespace Ado
