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
        out[i] = QChar(uint16_t(decryptStep(uint8_t(in.at(i).unicode() & 0xFFu))));
    }
    return true;
}

uint8_t CStreamXOR256_0::encryptStep(uint8_t plain)
{
    uint8_t s = 0;
    uint8_t x = 0;
    nextMix(s, x);
    const uint8_t cipher = uint8_t((plain ^ x ^ m_feedback) + s);
    m_feedback = plain;
    return cipher;
}

uint8_t CStreamXOR256_0::decryptStep(uint8_t cipher)
{
    uint8_t s = 0;
    uint8_t x = 0;
    nextMix(s, x);
    const uint8_t plain = uint8_t(uint8_t(cipher - s) ^ x ^ m_feedback);
    m_feedback = plain;
    return plain;
}

bool CStreamXOR256_0::encryptBytes(const QByteArray &plain, QByteArray &out)
{
    out.clear();
    if (m_generators.empty())
        return false;
    out.resize(plain.size());
    for (qsizetype i = 0; i < plain.size(); ++i) {
        out[i] = char(encryptStep(uint8_t(plain.at(i))));
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
        out[i] = char(decryptStep(uint8_t(cipher.at(i))));
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
