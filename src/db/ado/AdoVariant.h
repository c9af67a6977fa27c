#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace Ado {

// VARTYPE numbers.
enum VarType : int {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_DECIMAL = 14,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0fff,
};

// A calendar date and time with milliseconds, as a date value is split for display.
// valid is false for a value the conversion could not represent ("Invalid DateTime").
struct DateTime
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    bool valid = true;

    // From an automation date number (days since 1899-12-30, fraction = time of day).
    static DateTime fromOleDate(double value);
    double toOleDate() const;
    bool operator==(const DateTime &) const = default;
};

// A field, parameter or property value tagged with its VARTYPE. Texts, decimals (kept as
// their exact decimal text, e.g. "-12.50") and byte strings (VT_ARRAY | VT_UI1) hold
// their data in the shared members; numbers, booleans and dates in the scalar members.
// A plain value type; one instance is not to be shared between threads while written.
class Variant
{
public:
    Variant() = default;

    static Variant null() { return Variant(VT_NULL); }
    static Variant fromInt(std::int64_t value, int vt = VT_I4);
    static Variant fromUInt(std::uint64_t value, int vt = VT_UI4);
    static Variant fromDouble(double value, int vt = VT_R8);
    static Variant fromBool(bool value);
    static Variant fromText(const QString &text);
    static Variant fromDecimal(const QString &digits);
    static Variant fromCurrency(std::int64_t tenThousandths);
    static Variant fromDate(const DateTime &value);
    static Variant fromBytes(const QByteArray &bytes);
    // An array of texts (VT_ARRAY | VT_BSTR), as a restriction list or a property may be.
    static Variant fromTextArray(const QStringList &texts);

    int vt() const { return m_vt; }
    int baseType() const { return m_vt & VT_TYPEMASK; }
    bool isEmptyOrNull() const { return m_vt == VT_EMPTY || m_vt == VT_NULL; }

    std::int64_t toInt() const; // integers, booleans (-1/0), reals truncated, texts parsed
    std::uint64_t toUInt() const { return std::uint64_t(toInt()); }
    double toDouble() const;     // numbers, decimals, texts parsed, dates as OLE numbers
    bool toBool() const;         // non-zero numbers, "true"/"1" texts
    DateTime toDateTime() const; // dates; other kinds give an invalid DateTime
    // Currency in ten-thousandths (VT_CY).
    std::int64_t currencyValue() const { return m_int; }
    const QString &text() const { return m_text; }
    const QByteArray &bytes() const { return m_bytes; }
    QStringList textArray() const { return m_list; }

    // Reused by providers that fill one instance per cell without reallocating.
    void setNull() { m_vt = VT_NULL; }
    void setInt(std::int64_t value, int vt)
    {
        m_vt = vt;
        m_int = value;
    }
    void setDouble(double value, int vt)
    {
        m_vt = vt;
        m_double = value;
    }
    void setBool(bool value)
    {
        m_vt = VT_BOOL;
        m_int = value ? -1 : 0;
    }
    void setText(QString &&text)
    {
        m_vt = VT_BSTR;
        m_text = std::move(text);
    }
    void setDecimal(QString &&digits)
    {
        m_vt = VT_DECIMAL;
        m_text = std::move(digits);
    }
    void setDate(const DateTime &value)
    {
        m_vt = VT_DATE;
        m_date = value;
    }
    void setBytes(QByteArray &&bytes)
    {
        m_vt = VT_ARRAY | VT_UI1;
        m_bytes = std::move(bytes);
    }
    QString &textBuffer() { return m_text; }

    bool operator==(const Variant &other) const;

private:
    explicit Variant(int vt)
        : m_vt(vt)
    {}

    int m_vt = VT_EMPTY;
    std::int64_t m_int = 0;
    double m_double = 0;
    DateTime m_date;
    QString m_text;
    QByteArray m_bytes;
    QStringList m_list;
};

} // namespace Ado
