#include "CStreamXOR256_0.h"

#include "platform/CodePage.h"

QString CStreamXOR256_0::profileKey()
{
    return QStringLiteral("kelmaravostine");
}

bool CStreamXOR256_0::EncryptText(const QString &in, QString &out)
{
    out.clear();
    if (m_generators.empty())
        return false;
    out.resize(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        uint8_t s = 0;
        uint8_t x = 0;
        nextMix(s, x);
        const uint16_t u = in.at(i).unicode();
        out[i] = QChar(uint16_t((u ^ x ^ m_feedback) + s));
        m_feedback = uint8_t(u & 0xFFu);
    }
    return true;
}

bool CStreamXOR256_0::DecryptText(const QString &in, QString &out)
{
    out.clear();
    if (m_generators.empty())
        return false;
    out.resize(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        uint8_t s = 0;
        uint8_t x = 0;
        nextMix(s, x);
        const uint8_t low = uint8_t(in.at(i).unicode() & 0xFFu);
        const uint8_t plain = uint8_t(uint8_t(low - s) ^ m_feedback ^ x);
        out[i] = QChar(uint16_t(plain));
        m_feedback = plain;
    }
    return true;
}

bool CStreamXOR256_0::encryptBytes(const QByteArray &plain, QByteArray &out)
{
    out.clear();
    if (m_generators.empty())
        return false;
    out.resize(plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i) {
        uint8_t s = 0;
        uint8_t x = 0;
        nextMix(s, x);
        const uint8_t b = uint8_t(plain.at(i));
        out[i] = char(uint8_t((b ^ x ^ m_feedback) + s));
        m_feedback = b;
    }
    return true;
}

bool CStreamXOR256_0::decryptBytes(const QByteArray &cipher, QByteArray &out)
{
    out.clear();
    if (m_generators.empty())
        return false;
    out.resize(cipher.size());
    for (qsizetype i = 0; i < cipher.size(); ++i) {
        uint8_t s = 0;
        uint8_t x = 0;
        nextMix(s, x);
        const uint8_t c = uint8_t(cipher.at(i));
        const uint8_t plain = uint8_t(uint8_t(c - s) ^ x ^ m_feedback);
        out[i] = char(plain);
        m_feedback = plain;
    }
    return true;
}

bool CStreamXOR256_0::EncryptToBytes(const QString &text, QByteArray &out, bool *lossy)
{
    return EncryptToBytes(text, out, CodePage::processCodePage(), lossy);
}

bool CStreamXOR256_0::EncryptToBytes(const QString &text, QByteArray &out, int codePage,
                                     bool *lossy)
{
    if (m_generators.empty()) {
        out.clear();
        return false;
    }
    return encryptBytes(CodePage::fromUnicode(text, codePage, lossy), out);
}

bool CStreamXOR256_0::DecryptFromBytes(const QByteArray &bytes, QString &out)
{
    return DecryptFromBytes(bytes, out, CodePage::processCodePage());
}

bool CStreamXOR256_0::DecryptFromBytes(const QByteArray &bytes, QString &out, int codePage)
{
    QByteArray plain;
    if (!decryptBytes(bytes, plain)) {
        out.clear();
        return false;
    }
    out = CodePage::toUnicode(plain, codePage);
    return true;
}
