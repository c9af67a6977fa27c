#include "db/FieldText.h"

#include <QHash>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace FieldText {

namespace {

void appendDigits(QString &out, int value, int width)
{
    char buf[16];
    char *end = std::to_chars(buf, buf + sizeof buf, value < 0 ? -value : value).ptr;
    if (value < 0)
        out += QLatin1Char('-');
    for (int pad = width - int(end - buf); pad > 0; --pad)
        out += QLatin1Char('0');
    out.append(QLatin1StringView(buf, end - buf));
}

void appendDate(QString &out, const Ado::DateTime &v)
{
    appendDigits(out, v.year, 1);
    out += QLatin1Char('/');
    appendDigits(out, v.month, 2);
    out += QLatin1Char('/');
    appendDigits(out, v.day, 2);
}

void appendTime(QString &out, const Ado::DateTime &v)
{
    appendDigits(out, v.hour, 2);
    out += QLatin1Char(':');
    appendDigits(out, v.minute, 2);
    out += QLatin1Char(':');
    appendDigits(out, v.second, 2);
}

void appendDateTime(QString &out, const Ado::DateTime &v)
{
    if (!v.valid) {
        out += QLatin1String("Invalid DateTime");
        return;
    }
    appendDate(out, v);
    if (v.msec != 0 || v.hour != 0 || v.minute != 0 || v.second != 0) {
        out += QLatin1Char(' ');
        appendTime(out, v);
        if (v.msec != 0) {
            out += QLatin1Char('.');
            appendDigits(out, v.msec, 3);
        }
    }
}

void appendInt(QString &out, std::int64_t value)
{
    char buf[24];
    char *end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    out.append(QLatin1StringView(buf, end - buf));
}

void appendUInt(QString &out, std::uint64_t value)
{
    char buf[24];
    char *end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    out.append(QLatin1StringView(buf, end - buf));
}

// "%.*G" with the exponent as the platform writes it ("1E+20").
void appendReal(QString &out, double value, int digits)
{
    if (std::isnan(value)) {
        out += QLatin1String("NaN");
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? QLatin1String("-Infinity") : QLatin1String("Infinity");
        return;
    }
    char buf[48];
    char *end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits).ptr;
    for (char *p = buf; p != end; ++p) {
        if (*p == 'e') {
            *p = 'E';
            // Two exponent digits at least, as printf writes them.
            if (end - p == 3) {
                p[3] = p[2];
                p[2] = '0';
                ++end;
            }
            break;
        }
    }
    out.append(QLatin1StringView(buf, end - buf));
}

QString currencyText(std::int64_t tenThousandths)
{
    const bool negative = tenThousandths < 0;
    const std::uint64_t magnitude
        = negative ? std::uint64_t(-(tenThousandths + 1)) + 1 : std::uint64_t(tenThousandths);
    QString text = negative ? QStringLiteral("-") : QString();
    appendUInt(text, magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return text;
}

// Shortest decimal form with at most maxDigits significant digits that reads back as the
// value; ".0" is added when it would look like an integer.
QString shortestReal(double value, int maxDigits, bool single)
{
    char buf[64];
    int n = 0;
    for (int digits = 1; digits <= maxDigits; ++digits) {
        n = std::snprintf(buf, sizeof buf, "%.*g", digits, value);
        const double back = std::strtod(buf, nullptr);
        if (single ? float(back) == float(value) : back == value)
            break;
    }
    QString text = QString::fromLatin1(buf, n);
    if (std::isfinite(value) && !text.contains(QLatin1Char('.'))
        && !text.contains(QLatin1Char('e')))
        text += QLatin1String(".0");
    return text;
}

} // namespace

QString formatDateTime(const Ado::DateTime &value)
{
    QString out;
    appendDateTime(out, value);
    return out;
}

QString formatDate(const Ado::DateTime &value)
{
    if (!value.valid)
        return QStringLiteral("Invalid DateTime");
    QString out;
    appendDate(out, value);
    return out;
}

QString formatTime(const Ado::DateTime &value)
{
    if (!value.valid)
        return QStringLiteral("Invalid DateTime");
    QString out;
    appendTime(out, value);
    return out;
}

void appendVariantText(const Ado::Variant &value, QString &out)
{
    if (value.vt() & (Ado::VT_ARRAY | Ado::VT_BYREF))
        return;
    switch (value.vt()) {
    case Ado::VT_BSTR:
    case Ado::VT_DECIMAL:
        out += value.text();
        return;
    case Ado::VT_I1:
    case Ado::VT_I2:
    case Ado::VT_I4:
    case Ado::VT_I8:
    case Ado::VT_INT:
    case Ado::VT_UI1:
    case Ado::VT_UI2:
    case Ado::VT_UI4:
    case Ado::VT_UINT:
        appendInt(out, value.toInt());
        return;
    case Ado::VT_UI8:
        appendUInt(out, value.toUInt());
        return;
    case Ado::VT_R8:
        appendReal(out, value.toDouble(), 15);
        return;
    case Ado::VT_R4:
        appendReal(out, value.toDouble(), 7);
        return;
    case Ado::VT_CY:
        out += currencyText(value.currencyValue());
        return;
    case Ado::VT_DATE:
        appendDateTime(out, value.toDateTime());
        return;
    case Ado::VT_BOOL:
        out += value.toBool() ? QLatin1String("True") : QLatin1String("False");
        return;
    default:
        return;
    }
}

void appendFieldText(int dataType, const Ado::Variant &value, const Markers &markers, QString &out)
{
    const int vt = value.vt();
    if (vt == Ado::VT_EMPTY || vt == Ado::VT_NULL) {
        out += markers.nullText;
        return;
    }
    if (vt == Ado::VT_BSTR && dataType != Ado::adVariant && dataType != Ado::adPropVariant
        && dataType != Ado::adBinary && dataType != Ado::adVarBinary
        && dataType != Ado::adLongVarBinary) {
        out += value.text(); // the common case first
        return;
    }
    switch (dataType) {
    case Ado::adDate:
    case Ado::adFileTime:
    case Ado::adDBTimeStamp:
        if (vt == Ado::VT_DATE) {
            appendDateTime(out, value.toDateTime());
            return;
        }
        break;
    case Ado::adDBDate:
        if (vt == Ado::VT_DATE) {
            out += formatDate(value.toDateTime());
            return;
        }
        break;
    case Ado::adDBTime:
        if (vt == Ado::VT_DATE) {
            out += formatTime(value.toDateTime());
            return;
        }
        break;
    case Ado::adBoolean:
        if (vt != Ado::VT_BSTR && vt != Ado::VT_DECIMAL && !(vt & Ado::VT_ARRAY)) {
            out += value.toBool() ? QLatin1Char('1') : QLatin1Char('0');
            return;
        }
        break;
    case Ado::adVariant:
    case Ado::adPropVariant:
        out += markers.variantText;
        return;
    case Ado::adBinary:
    case Ado::adVarBinary:
    case Ado::adLongVarBinary:
        out += markers.binaryText;
        return;
    default:
        break;
    }
    if (vt == (Ado::VT_ARRAY | Ado::VT_UI1)) {
        out += markers.binaryText; // bytes in a column declared otherwise
        return;
    }
    if (vt & Ado::VT_ARRAY) {
        out += markers.variantText;
        return;
    }
    appendVariantText(value, out);
}

QString fieldText(int dataType, const Ado::Variant &value, const Markers &markers)
{
    QString out;
    appendFieldText(dataType, value, markers, out);
    return out;
}

bool readValue(const Ado::Variant &value, const QString &nullText, QString &text)
{
    switch (value.vt()) {
    case Ado::VT_EMPTY:
    case Ado::VT_NULL:
        text = nullText;
        return true;
    case Ado::VT_I1:
    case Ado::VT_I2:
    case Ado::VT_UI1:
    case Ado::VT_UI2:
    case Ado::VT_I4:
    case Ado::VT_INT:
    case Ado::VT_I8:
        text.clear();
        appendInt(text, value.toInt());
        return true;
    case Ado::VT_UI4:
    case Ado::VT_UINT:
    case Ado::VT_UI8:
        text.clear();
        appendUInt(text, value.toUInt());
        return true;
    case Ado::VT_R4:
        text = shortestReal(value.toDouble(), 10, true);
        return true;
    case Ado::VT_R8:
        text = shortestReal(value.toDouble(), 20, false);
        return true;
    case Ado::VT_DATE:
        text = formatDateTime(value.toDateTime());
        return true;
    case Ado::VT_BSTR:
        text = value.text();
        return true;
    case Ado::VT_BOOL:
        text = value.toBool() ? QStringLiteral("T") : QStringLiteral("F");
        return true;
    case Ado::VT_DECIMAL:
        // The exact digits, so no magnitude is cut off.
        text = value.text();
        return true;
    default:
        return false;
    }
}

QString varTypeName(int vt)
{
    static const QHash<int, const char *> names = [] {
        QHash<int, const char *> h;
        const std::pair<int, const char *> list[] = {
            {0, "VT_EMPTY"},
            {1, "VT_NULL"},
            {2, "VT_I2"},
            {3, "VT_I4"},
            {4, "VT_R4"},
            {5, "VT_R8"},
            {6, "VT_CY"},
            {7, "VT_DATE"},
            {8, "VT_BSTR"},
            {9, "VT_DISPATCH"},
            {10, "VT_ERROR"},
            {11, "VT_BOOL"},
            {12, "VT_VARIANT"},
            {13, "VT_UNKNOWN"},
            {16, "VT_I1"},
            {17, "VT_UI1"},
            {18, "VT_UI2"},
            {19, "VT_UI4"},
            {20, "VT_I8"},
            {21, "VT_UI8"},
            {22, "VT_INT"},
            {23, "VT_UINT"},
            {24, "VT_VOID"},
            {25, "VT_HRESULT"},
            {26, "VT_PTR"},
            {27, "VT_SAFEARRAY"},
            {28, "VT_CARRAY"},
            {29, "VT_USERDEFINED"},
            {30, "VT_LPSTR"},
            {31, "VT_LPWSTR"},
            {64, "VT_FILETIME"},
            {65, "VT_BLOB"},
            {66, "VT_STREAM"},
            {67, "VT_STORAGE"},
            {68, "VT_STREAMED_OBJECT"},
            {69, "VT_STORED_OBJECT"},
            {70, "VT_BLOB_OBJECT"},
            {71, "VT_CF"},
            {72, "VT_CLSID"},
        };
        for (const auto &[number, name] : list)
            h.insert(number, name);
        return h;
    }();
    const char *name = names.value(vt, nullptr);
    return name ? QString::fromLatin1(name) : QString();
}

QString describeVariant(const Ado::Variant &value)
{
    const int vt = value.vt();
    const int base = vt & Ado::VT_TYPEMASK;
    if (vt & (Ado::VT_ARRAY | Ado::VT_BYREF)) {
        QString text;
        if (vt & Ado::VT_ARRAY)
            text += QLatin1String("Array of ");
        if (vt & Ado::VT_BYREF)
            text += QLatin1String("Pointer to ");
        text += varTypeName(base);
        return text;
    }
    char buf[64];
    switch (base) {
    case Ado::VT_EMPTY:
    case Ado::VT_NULL:
        return QStringLiteral("NULL");
    case Ado::VT_I2:
        std::snprintf(buf, sizeof buf, "%hd", short(value.toInt()));
        return QString::fromLatin1(buf);
    case Ado::VT_I4:
        std::snprintf(buf, sizeof buf, "%d", int(value.toInt()));
        return QString::fromLatin1(buf);
    case Ado::VT_R4:
    case Ado::VT_R8:
        std::snprintf(buf, sizeof buf, "%e", value.toDouble());
        return QString::fromLatin1(buf);
    case Ado::VT_CY:
        return currencyText(value.currencyValue());
    case Ado::VT_DATE:
        return formatDateTime(value.toDateTime());
    case Ado::VT_BSTR:
        return value.text();
    case Ado::VT_BOOL:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Ado::VT_UI1:
        std::snprintf(buf, sizeof buf, "0x%02hX",
                      static_cast<unsigned short>(value.toInt() & 0xff));
        return QString::fromLatin1(buf);
    default:
        break;
    }
    if (base == 9 || base == 10 || base == 12 || base == 13 || base == 16
        || (base >= 18 && base <= 31) || (base >= 64 && base <= 72))
        return varTypeName(base);
    return QStringLiteral("<Unknown>");
}

} // namespace FieldText
