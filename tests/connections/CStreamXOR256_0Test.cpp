#include "connections/CStreamXOR256_0.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

CStreamXOR256_0 keyed()
{
    CStreamXOR256_0 cipher;
    EXPECT_TRUE(cipher.SetKey(CStreamXOR256_0::profileKey()));
    return cipher;
}

QByteArray encipher(const QString &text, int codePage)
{
    CStreamXOR256_0 cipher = keyed();
    QByteArray bytes;
    EXPECT_TRUE(cipher.EncryptToBytes(text, bytes, codePage));
    return bytes;
}

QString decipher(const QByteArray &bytes, int codePage)
{
    CStreamXOR256_0 cipher = keyed();
    QString text;
    EXPECT_TRUE(cipher.DecryptFromBytes(bytes, text, codePage));
    return text;
}

} // namespace

// Known answers: stored profiles of earlier runs must keep deciphering, so the byte stream is
// pinned here, for ASCII and for Japanese text in code page 932 and in UTF-8.
TEST(CStreamXOR256_0, known_answers_are_bit_exact)
{
    struct Case
    {
        QString text;
        int codePage;
        QByteArray hex;
    };
    const QString japanese
        = QStringLiteral("ConnName=日本語;Provider=PostgreSQL;Data Source=ホスト;");
    const Case cases[] = {
        {QStringLiteral("ConnName=test;Provider=SQLite;Data Source=a.db;"), 65001,
         "f15c73ae5c69f6961e832b8e79fd47e0ff69e71f6defd9622afbe19bbb9803d527fb6fe30afad75d4c065"
         "cadf0b2a3"},
        {japanese, 932,
         "f15c73ae5c69f6961e2663b49fb54a51154ee92b6b092799f5ebeb9ac9e569a30aeec3e749e3c561911b7"
         "ce023a7d4c27619210d7388e8"},
        {japanese, 65001,
         "f15c73ae5c69f6961e114b6a3d3280c63e44413950f90f91370f13495fb960b32dfbbd28ecfba7fb6d399"
         "3bb178ce0711f6e82101a040c9d453a18ebbd"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " cp" + std::to_string(c.codePage));
        const QByteArray bytes = encipher(c.text, c.codePage);
        EXPECT_EQ(bytes.toHex(), c.hex);
        EXPECT_EQ(bytes.size(), CodePage::fromUnicode(c.text, c.codePage).size());
        EXPECT_EQ(decipher(bytes, c.codePage), c.text);
    }
}

TEST(CStreamXOR256_0, process_code_page_selects_the_multibyte_form)
{
    const int before = CodePage::processCodePage();
    const QString text = QStringLiteral("接続名=売上");
    for (int codePage : {932, 65001}) {
        CodePage::setProcessCodePage(codePage);
        CStreamXOR256_0 cipher = keyed();
        QByteArray bytes;
        ASSERT_TRUE(cipher.EncryptToBytes(text, bytes));
        EXPECT_EQ(bytes, encipher(text, codePage));
        CStreamXOR256_0 back = keyed();
        QString round;
        ASSERT_TRUE(back.DecryptFromBytes(bytes, round));
        EXPECT_EQ(round, text);
    }
    CodePage::setProcessCodePage(before);
    EXPECT_EQ(encipher(text, 932).size(), 11); // 5 double-byte characters and "="
}

TEST(CStreamXOR256_0, fresh_objects_repeat_and_one_object_runs_on)
{
    const QString text = QStringLiteral("Provider=SQLite;Data Source=x.db;");
    EXPECT_EQ(encipher(text, 65001), encipher(text, 65001));

    CStreamXOR256_0 cipher = keyed();
    QByteArray first;
    QByteArray second;
    ASSERT_TRUE(cipher.EncryptToBytes(text, first, 65001));
    ASSERT_TRUE(cipher.EncryptToBytes(text, second, 65001));
    EXPECT_NE(first, second);
    EXPECT_TRUE(encipher(QString(), 65001).isEmpty());
}

// The feedback is the previous plain byte, so a changed byte changes its own output and the
// next one only; the generators do not depend on the data.
TEST(CStreamXOR256_0, changed_byte_affects_itself_and_the_next_byte)
{
    const QByteArray a = encipher(QStringLiteral("abcdefgh"), 65001);
    const QByteArray b = encipher(QStringLiteral("abcXefgh"), 65001);
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        if (i == 3 || i == 4)
            EXPECT_NE(a.at(i), b.at(i));
        else
            EXPECT_EQ(a.at(i), b.at(i));
    }
}

TEST(CStreamXOR256_0, empty_key_fails_both_directions)
{
    CStreamXOR256_0 cipher;
    EXPECT_FALSE(cipher.SetKey(QString()));
    QByteArray bytes = "stale";
    QString text = QStringLiteral("stale");
    EXPECT_FALSE(cipher.EncryptToBytes(QStringLiteral("abc"), bytes, 65001));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_FALSE(cipher.DecryptFromBytes("abc", text, 65001));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(cipher.EncryptText(QStringLiteral("abc"), text));
    EXPECT_FALSE(cipher.DecryptText(QStringLiteral("abc"), text));
}

TEST(CStreamXOR256_0, key_setup_makes_seven_generators_and_uses_217_characters)
{
    CStreamXOR256_0 cipher;
    ASSERT_TRUE(cipher.SetKey(CStreamXOR256_0::profileKey()));
    EXPECT_EQ(cipher.generatorCount(), 7);
    ASSERT_TRUE(cipher.SetKey(QString(300, QLatin1Char('k'))));
    EXPECT_EQ(cipher.generatorCount(), 108);
}

// The code-unit forms: ASCII and Latin-1 round-trip (DecryptText yields 0..255 by design).
TEST(CStreamXOR256_0, text_forms_round_trip_single_byte_units)
{
    const QString text = QStringLiteral("Password=s3cr\u00e9t;");
    CStreamXOR256_0 enc = keyed();
    QString cipherText;
    ASSERT_TRUE(enc.EncryptText(text, cipherText));
    EXPECT_EQ(cipherText.size(), text.size());
    EXPECT_NE(cipherText, text);
    CStreamXOR256_0 dec = keyed();
    QString plain;
    ASSERT_TRUE(dec.DecryptText(cipherText, plain));
    EXPECT_EQ(plain, text);
}
