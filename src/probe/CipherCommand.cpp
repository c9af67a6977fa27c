#include "ProbeCommand.h"

#include "connections/CStreamXOR256_0.h"

// cipher encrypt|decrypt: a freshly keyed profile cipher over standard input.
static int runCipher(const QStringList &args)
{
    if (args.size() != 1)
        return Probe::usageError(QStringLiteral("cipher needs encrypt or decrypt"));

    CStreamXOR256_0 cipher;
    if (!cipher.SetKey(CStreamXOR256_0::profileKey())) {
        Probe::err(QByteArray("key set-up failed\n"));
        return 1;
    }

    const QByteArray input = Probe::readStdin();
    if (args.first() == QLatin1String("encrypt")) {
        QByteArray bytes;
        if (!cipher.EncryptToBytes(QString::fromUtf8(input), bytes)) {
            Probe::err(QByteArray("encryption failed\n"));
            return 1;
        }
        Probe::out(bytes.toHex() + '\n');
        return 0;
    }
    if (args.first() == QLatin1String("decrypt")) {
        const QByteArray hex = input.trimmed();
        const QByteArray bytes = QByteArray::fromHex(hex);
        if (bytes.toHex() != hex.toLower())
            return Probe::usageError(QStringLiteral("input is not hexadecimal"));
        QString text;
        if (!cipher.DecryptFromBytes(bytes, text)) {
            Probe::err(QByteArray("decryption failed\n"));
            return 1;
        }
        const qsizetype zero = text.indexOf(QChar(0));
        if (zero >= 0)
            text.truncate(zero);
        Probe::out(text);
        return 0;
    }
    return Probe::usageError(QStringLiteral("cipher needs encrypt or decrypt"));
}

static ProbeCommand cipherCommand("cipher", "cipher encrypt|decrypt [--codepage N] < text",
                                  &runCipher);
