#include "db/ado/AdoVariant.h"

#include <QDate>
#include <cmath>

namespace Ado {

namespace {
// Automation dates count days from 1899-12-30; a negative value's fraction still counts
// forward from midnight of its (earlier) day.
constexpr qint64 OleEpochJulianDay = 2415019;   // QDate(1899, 12, 30).toJulianDay()
constexpr double MaxOleDate = 2958465.99999999; // 9999-12-31 23:59:59
constexpr double MinOleDate = -657434.0;        // 0100-01-01
} // namespace

DateTime DateTime::fromOleDate(double value)
{
    DateTime result;
    if (!std::isfinite(value) || value > MaxOleDate || value < MinOleDate) {
        result.valid = false;
        return result;
    }
    double dayPart = std::trunc(value);
    double fraction = std::fabs(value - dayPart);
    qint64 msecs = qint64(std::llround(fraction * 86400000.0));
    qint64 days = qint64(dayPart);
    if (msecs >= 86400000) {
        msecs -= 86400000;
        days += value < 0 ? -1 : 1;
    }
    QDate date = QDate::fromJulianDay(OleEpochJulianDay + days);
    result.year = date.year();
    result.month = date.month();
    result.day = date.day();
    result.hour = int(msecs / 3600000);
    result.minute = int(msecs / 60000 % 60);
    result.second = int(msecs / 1000 % 60);
    result.msec = int(msecs % 1000);
    return result;
}

double DateTime::toOleDate() const
{
    qint64 days = QDate(year, month, day).toJulianDay() - OleEpochJulianDay;
    double fraction = (((hour * 60 + minute) * 60 + second) * 1000.0 + msec) / 86400000.0;
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

Variant Variant::fromInt(std::int64_t value, int vt)
{
    Variant v(vt);
    v.m_int = value;
    return v;
}

Variant Variant::fromUInt(std::uint64_t value, int vt)
{
    Variant v(vt);
    v.m_int = std::int64_t(value);
    return v;
}

Variant Variant::fromDouble(double value, int vt)
{
    Variant v(vt);
    v.m_double = value;
    return v;
}

Variant Variant::fromBool(bool value)
{
    Variant v(VT_BOOL);
    v.m_int = value ? -1 : 0;
    return v;
}

Variant Variant::fromText(const QString &text)
{
    Variant v(VT_BSTR);
    v.m_text = text;
    return v;
}

Variant Variant::fromDecimal(const QString &digits)
{
    Variant v(VT_DECIMAL);
    v.m_text = digits;
    return v;
}

Variant Variant::fromCurrency(std::int64_t tenThousandths)
{
    Variant v(VT_CY);
    v.m_int = tenThousandths;
    return v;
}

Variant Variant::fromDate(const DateTime &value)
{
    Variant v(VT_DATE);
    v.m_date = value;
    return v;
}

Variant Variant::fromBytes(const QByteArray &bytes)
{
    Variant v(VT_ARRAY | VT_UI1);
    v.m_bytes = bytes;
    return v;
}

Variant Variant::fromTextArray(const QStringList &texts)
{
    Variant v(VT_ARRAY | VT_BSTR);
    v.m_list = texts;
    return v;
}

std::int64_t Variant::toInt() const
{
    switch (m_vt) {
    case VT_R4:
    case VT_R8:
        return std::int64_t(m_double);
    case VT_CY:
        return m_int / 10000;
    case VT_BSTR:
    case VT_DECIMAL: {
        bool ok = false;
        qlonglong n = m_text.trimmed().toLongLong(&ok);
        return ok ? n : std::int64_t(m_text.trimmed().toDouble());
    }
    case VT_DATE:
        return std::int64_t(m_date.toOleDate());
    case VT_EMPTY:
    case VT_NULL:
        return 0;
    default:
        return m_int;
    }
}

double Variant::toDouble() const
{
    switch (m_vt) {
    case VT_R4:
    case VT_R8:
        return m_double;
    case VT_CY:
        return double(m_int) / 10000.0;
    case VT_BSTR:
    case VT_DECIMAL:
        return m_text.trimmed().toDouble();
    case VT_DATE:
        return m_date.toOleDate();
    case VT_UI8:
        return double(std::uint64_t(m_int));
    case VT_EMPTY:
    case VT_NULL:
        return 0;
    default:
        return double(m_int);
    }
}

bool Variant::toBool() const
{
    switch (m_vt) {
    case VT_BSTR: {
        const QString t = m_text.trimmed();
        return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || (t.toDouble() != 0);
    }
    case VT_R4:
    case VT_R8:
        return m_double != 0;
    case VT_DECIMAL:
        return m_text.toDouble() != 0;
    case VT_EMPTY:
    case VT_NULL:
        return false;
    default:
        return m_int != 0;
    }
}

DateTime Variant::toDateTime() const
{
    if (m_vt == VT_DATE)
        return m_date;
    if (m_vt == VT_R8 || m_vt == VT_R4)
        return DateTime::fromOleDate(m_double);
    DateTime invalid;
    invalid.valid = false;
    return invalid;
}

bool Variant::operator==(const Variant &other) const
{
    if (m_vt != other.m_vt)
        return false;
    switch (m_vt & VT_TYPEMASK) {
    case VT_EMPTY:
    case VT_NULL:
        return (m_vt & VT_ARRAY) ? m_bytes == other.m_bytes && m_list == other.m_list : true;
    case VT_R4:
    case VT_R8:
        return m_double == other.m_double;
    case VT_DATE:
        return m_date == other.m_date;
    case VT_BSTR:
    case VT_DECIMAL:
        return (m_vt & VT_ARRAY) ? m_list == other.m_list : m_text == other.m_text;
    case VT_UI1:
        return (m_vt & VT_ARRAY) ? m_bytes == other.m_bytes : m_int == other.m_int;
    default:
        return m_int == other.m_int;
    }
}

} // namespace Ado
