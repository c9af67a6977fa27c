#include "ProbeProcess.h"

#include <gtest/gtest.h>

#include <QStringEncoder>

#include <array>
#include <cstdint>

namespace {

// The profile cipher written out from its definition: seven generators seeded from the key
// text "kelmaravostine", each byte mixed with their sum and exclusive-or and chained to the
// previous plain byte. Used as the oracle for what the probe prints.
class ReferenceCipher
{
public:
    ReferenceCipher()
    {
        const char *key = "kelmaravostine";
        std::uint32_t v = 0;
        for (int i = 0; i < 7; ++i) {
            v += std::uint32_t(std::uint8_t(key[2 * i + 1])) * 256 + std::uint8_t(key[2 * i])
                 + 257;
            m_states[size_t(i)] = v;
        }
    }

    QByteArray encrypt(const QByteArray &plain)
    {
        QByteArray out;
        for (const char c : plain) {
            const auto [s, x] = mix();
            const std::uint8_t b = std::uint8_t(c);
            out.append(char(std::uint8_t((b ^ x ^ m_feedback) + s)));
            m_feedback = b;
        }
        return out;
    }

private:
    std::pair<std::uint8_t, std::uint8_t> mix()
    {
        std::uint32_t sum = 0;
        std::uint8_t x = 0;
        for (std::uint32_t &state : m_states) {
            state = std::uint32_t(state * 599u) % 7146949u;
            sum += state & 0xFF;
            x ^= std::uint8_t(state & 0xFF);
        }
        return {std::uint8_t(sum & 0xFF), x};
    }

    std::array<std::uint32_t, 7> m_states{};
    std::uint8_t m_feedback = 0;
};

QByteArray shiftJis(const QString &text)
{
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

} // namespace

// Encryption prints the lower-case hex of exactly the bytes of the code-page form, then one
// line feed; standard input is taken as it is, trailing line feed included.
TEST(CipherProbe, EncryptPrintsLowerCaseHexOfTheCodePageBytes)
{
    const QString japanese = QStringLiteral("ConnName=売上;Provider=SQLite;Data Source=/tmp/日本.db");
    struct Case
    {
        QStringList codePage;
        QByteArray input;
        QByteArray plainBytes;
    };
    const Case cases[] = {
        {{}, QByteArray("abc"), QByteArray("abc")},
        {{}, QByteArray("abc\n"), QByteArray("abc\n")},
        {{}, QByteArray("a\r\nb\r\n"), QByteArray("a\r\nb\r\n")},
        {{}, QByteArray("ConnName=x;Provider=SQLite;Data Source=/tmp/a.db;Password=p w"),
         QByteArray("ConnName=x;Provider=SQLite;Data Source=/tmp/a.db;Password=p w")},
        {{"--codepage", "65001"}, japanese.toUtf8(), japanese.toUtf8()},
        {{"--codepage", "932"}, japanese.toUtf8(), shiftJis(japanese)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.input).toStdString() + " " + c.codePage.join(' ').toStdString());
        const ProbeOutput result =
            ProbeProcess::run(QStringList{"cipher", "encrypt"} + c.codePage, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        const QByteArray expected = ReferenceCipher().encrypt(c.plainBytes).toHex() + '\n';
        EXPECT_EQ(result.out, expected);
        EXPECT_TRUE(result.err.isEmpty());
    }
}

TEST(CipherProbe, EmptyTextGivesOnlyTheLineFeed)
{
    const ProbeOutput result = ProbeProcess::run({"cipher", "encrypt"}, QByteArray());
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, QByteArray("\n"));
}

// Decryption gives the text back with nothing added, in both code pages, and cuts the text at
// its first zero character as the profile reader does.
TEST(CipherProbe, DecryptGivesTheTextBackAndCutsAtTheFirstZero)
{
    const QString japanese = QStringLiteral("接続=本番;Password=ｐａｓｓ");
    struct Case
    {
        QStringList codePage;
        QByteArray plainBytes; // what was enciphered
        QByteArray expected;   // what the probe prints, UTF-8
    };
    const Case cases[] = {
        {{}, QByteArray("Provider=SQLite;Data Source=x.db"),
         QByteArray("Provider=SQLite;Data Source=x.db")},
        {{}, QByteArray("line\r\nend\n"), QByteArray("line\r\nend\n")},
        {{}, QByteArray("before\0after", 12), QByteArray("before")},
        {{}, QByteArray("ConnName=a;Provider=P\0\0\0\0", 25), QByteArray("ConnName=a;Provider=P")},
        {{"--codepage", "65001"}, japanese.toUtf8(), japanese.toUtf8()},
        {{"--codepage", "932"}, shiftJis(japanese), japanese.toUtf8()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(visible(c.expected).toStdString());
        const QByteArray hex = ReferenceCipher().encrypt(c.plainBytes).toHex();
        for (const QByteArray &input : {hex, QByteArray(hex + "\n")}) {
            const ProbeOutput result =
                ProbeProcess::run(QStringList{"cipher", "decrypt"} + c.codePage, input);
            ASSERT_TRUE(result.finished) << result.failure.toStdString();
            EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
            EXPECT_EQ(result.out, c.expected);
        }
    }
}

// The round trip through the probe itself keeps every byte of a text, whatever its line ends.
TEST(CipherProbe, EncryptThenDecryptKeepsTheText)
{
    const QByteArray text = QStringLiteral("ConnName=テスト\t;User ID=管理者;\r\n\n").toUtf8();
    for (const QString &codePage : {QStringLiteral("65001"), QStringLiteral("932")}) {
        SCOPED_TRACE(codePage.toStdString());
        const ProbeOutput encrypted =
            ProbeProcess::run({"cipher", "encrypt", "--codepage", codePage}, text);
        ASSERT_EQ(encrypted.exitCode, 0);
        const ProbeOutput decrypted =
            ProbeProcess::run({"cipher", "decrypt", "--codepage", codePage}, encrypted.out);
        ASSERT_EQ(decrypted.exitCode, 0);
        EXPECT_EQ(decrypted.out, text);
    }
}

TEST(CipherProbe, BadUsageExitsWithTwoAndOneLine)
{
    struct Case
    {
        QStringList args;
        QByteArray input;
    };
    const Case cases[] = {
        {{"cipher"}, QByteArray()},
        {{"cipher", "scramble"}, QByteArray("abc")},
        {{"cipher", "encrypt", "extra"}, QByteArray("abc")},
        {{"cipher", "decrypt"}, QByteArray("not hex at all")},
        {{"cipher", "encrypt", "--codepage"}, QByteArray("abc")},
        {{"cipher", "encrypt", "--codepage", "x"}, QByteArray("abc")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(c.args, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.endsWith('\n'));
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}
