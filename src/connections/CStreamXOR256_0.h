#pragma once

#include "IStreamMethod.h"

#include <QByteArray>

// The profile cipher. Each byte is mixed with the generators' outputs and chained to the
// previous plain byte:  c = ((b ^ x ^ feedback) + s) mod 256,  feedback = b.
// Stored profiles depend on this exact byte stream, so it must never change.
class CStreamXOR256_0 : public IStreamMethod
{
public:
    // The fixed key every stored profile is enciphered with.
    static QString profileKey();

    // Works on UTF-16 code units; each output unit is one code unit.
    bool EncryptText(const QString &in, QString &out) override;
    bool DecryptText(const QString &in, QString &out) override;

    // The text in the process code page (or the one given), enciphered byte by byte; the
    // result has as many bytes as the multi-byte form. Fails when no key is set.
    // *lossy (when given) tells whether a character had no form in the code page.
    bool EncryptToBytes(const QString &text, QByteArray &out, bool *lossy = nullptr);
    bool EncryptToBytes(const QString &text, QByteArray &out, int codePage, bool *lossy = nullptr);
    // The inverse; the plain bytes are converted back with the same code page.
    bool DecryptFromBytes(const QByteArray &bytes, QString &out);
    bool DecryptFromBytes(const QByteArray &bytes, QString &out, int codePage);

    // Raw byte forms, for callers that do their own code-page conversion.
    // One byte through the key stream, with the plain byte as the next feedback.
    uint8_t encryptStep(uint8_t plain);
    uint8_t decryptStep(uint8_t cipher);
    bool encryptBytes(const QByteArray &plain, QByteArray &out);
    bool decryptBytes(const QByteArray &cipher, QByteArray &out);
};
