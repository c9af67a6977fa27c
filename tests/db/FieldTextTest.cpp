#include "db/FieldText.h"

#include <gtest/gtest.h>

using namespace Ado;

namespace {

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    DateTime v;
    v.year = y;
    v.month = mo;
    v.day = d;
    v.hour = h;
    v.minute = mi;
    v.second = s;
    v.msec = ms;
    return v;
}

const FieldText::Markers markers{NullMarker, VariantMarker, BinaryMarker};

} // namespace

TEST(FieldText, markers_are_six_characters_ending_in_one_two_three)
{
    EXPECT_EQ(NullMarker, QString(6, QChar(1)));
    EXPECT_EQ(VariantMarker.size(), 6);
    EXPECT_EQ(VariantMarker.back(), QChar(2));
    EXPECT_EQ(BinaryMarker.back(), QChar(3));
}

TEST(FieldText, field_text_by_declared_type)
{
    struct Case
    {
        int type;
        Variant value;
        QString expected;
    };
    const Case cases[] = {
        {adDBTimeStamp, Variant::fromDate(at(2024, 1, 2)), "2024/01/02"},
        {adDBTimeStamp, Variant::fromDate(at(2024, 1, 2, 12)), "2024/01/02 12:00:00"},
        {adDate, Variant::fromDate(at(2024, 1, 2, 0, 0, 0, 7)), "2024/01/02 00:00:00.007"},
        {adFileTime, Variant::fromDate(at(999, 12, 31, 23, 59, 59)), "999/12/31 23:59:59"},
        {adDBDate, Variant::fromDate(at(2024, 3, 4, 5, 6, 7)), "2024/03/04"},
        {adDBTime, Variant::fromDate(at(1899, 12, 30, 5, 6, 7, 800)), "05:06:07"},
        {adBoolean, Variant::fromBool(true), "1"},
        {adBoolean, Variant::fromBool(false), "0"},
        {adBoolean, Variant::fromInt(5, VT_I8), "1"},
        {adVariant, Variant::fromText("x"), VariantMarker},
        {adPropVariant, Variant::fromInt(1), VariantMarker},
        {adBinary, Variant::fromBytes("\x01\x02"), BinaryMarker},
        {adLongVarBinary, Variant::fromBytes(QByteArray(100000, 'x')), BinaryMarker},
        {adVarWChar, Variant::fromBytes("ab"), BinaryMarker},
        {adInteger, Variant::fromInt(-42, VT_I8), "-42"},
        {adUnsignedBigInt, Variant::fromUInt(18446744073709551615ull, VT_UI8),
         "18446744073709551615"},
        {adDouble, Variant::fromDouble(0.1), "0.1"},
        {adDouble, Variant::fromDouble(1e20), "1E+20"},
        {adDouble, Variant::fromDouble(1e-5), "1E-05"},
        {adDouble, Variant::fromDouble(-1e100), "-1E+100"},
        {adDouble, Variant::fromDouble(1.0 / 3), "0.333333333333333"},
        {adDouble, Variant::fromDouble(123456789012345678.0), "1.23456789012346E+17"},
        {adDouble, Variant::fromDouble(100), "100"},
        {adSingle, Variant::fromDouble(double(2.5f), VT_R4), "2.5"},
        {adNumeric, Variant::fromDecimal("-12.50"), "-12.50"},
        {adCurrency, Variant::fromCurrency(125000), "12.5"},
        {adVarWChar, Variant::fromText(QStringLiteral("日本語")), QStringLiteral("日本語")},
        // A value that does not fit its declared type keeps its own text.
        {adDBTimeStamp, Variant::fromText("not a date"), "not a date"},
        {adBoolean, Variant::fromText("yes"), "yes"},
        {adInteger, Variant::fromText("12abc"), "12abc"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FieldText::fieldText(c.type, c.value, markers), c.expected)
            << "type " << c.type << " expected " << c.expected.toStdString();
}

TEST(FieldText, null_and_empty_give_the_null_text_of_any_type)
{
    for (int type : {adInteger, adVarWChar, adDBTimeStamp, adBinary, adVariant, adBoolean}) {
        EXPECT_EQ(FieldText::fieldText(type, Variant::null(), markers), NullMarker);
        EXPECT_EQ(FieldText::fieldText(type, Variant(), markers), NullMarker);
    }
    // A record set whose texts were never set renders these as empty text.
    EXPECT_EQ(FieldText::fieldText(adInteger, Variant::null(), {}), QString());
    EXPECT_EQ(FieldText::fieldText(adBinary, Variant::fromBytes("a"), {}), QString());
}

TEST(FieldText, invalid_dates_say_so)
{
    DateTime bad;
    bad.valid = false;
    EXPECT_EQ(FieldText::formatDateTime(bad), "Invalid DateTime");
    EXPECT_EQ(FieldText::formatDate(bad), "Invalid DateTime");
    EXPECT_FALSE(DateTime::fromOleDate(1e12).valid);
    EXPECT_EQ(FieldText::formatDateTime(DateTime::fromOleDate(45293.5)), "2024/01/02 12:00:00");
    EXPECT_EQ(FieldText::formatDateTime(DateTime::fromOleDate(0)), "1899/12/30");
}

TEST(FieldText, value_reader_by_variant_type)
{
    struct Case
    {
        Variant value;
        QString expected;
    };
    const Case cases[] = {
        {Variant::null(), "(null)"},
        {Variant::fromInt(-7, VT_I2), "-7"},
        {Variant::fromInt(200, VT_UI1), "200"},
        {Variant::fromInt(123456, VT_I4), "123456"},
        {Variant::fromUInt(4000000000u, VT_UI4), "4000000000"},
        {Variant::fromInt(9000000000ll, VT_I8), "9000000000"},
        {Variant::fromDouble(3.0, VT_R4), "3.0"},
        {Variant::fromDouble(double(0.1f), VT_R4), "0.1"},
        {Variant::fromDouble(0.1, VT_R8), "0.1"},
        {Variant::fromDouble(-2.5, VT_R8), "-2.5"},
        {Variant::fromDouble(1e300, VT_R8), "1e+300"},
        {Variant::fromDate(at(2020, 5, 6)), "2020/05/06"},
        {Variant::fromText("abc"), "abc"},
        {Variant::fromBool(true), "T"},
        {Variant::fromBool(false), "F"},
        // Decimals keep every digit, also beyond 32 bits of magnitude.
        {Variant::fromDecimal("123456789012345.678"), "123456789012345.678"},
    };
    for (const Case &c : cases) {
        QString text = "unchanged";
        EXPECT_TRUE(FieldText::readValue(c.value, "(null)", text));
        EXPECT_EQ(text, c.expected);
    }
    QString text = "kept";
    EXPECT_FALSE(FieldText::readValue(Variant::fromBytes("x"), "(null)", text));
    EXPECT_EQ(text, "kept");
}

TEST(FieldText, variant_describer)
{
    EXPECT_EQ(FieldText::describeVariant(Variant()), "NULL");
    EXPECT_EQ(FieldText::describeVariant(Variant::null()), "NULL");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(-3, VT_I2)), "-3");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(70000, VT_I4)), "70000");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromDouble(1.5)), "1.500000e+00");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromBool(true)), "TRUE");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromBool(false)), "FALSE");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(10, VT_UI1)), "0x0A");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromText("x")), "x");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromDate(at(2001, 2, 3, 4, 5, 6))),
              "2001/02/03 04:05:06");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(1, VT_I8)), "VT_I8");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(1, VT_UI4)), "VT_UI4");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(1, 72)), "VT_CLSID");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromInt(1, 15)), "<Unknown>");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromTextArray({"a", "b"})), "Array of VT_BSTR");
    EXPECT_EQ(FieldText::describeVariant(Variant::fromBytes("a")), "Array of VT_UI1");
}
