#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// A keyed byte-stream cipher: a table of multiplicative generators plus a one-byte feedback
// carried from the previous plain byte. Derived classes define how the generator outputs mix
// with the data. Not thread-safe; each object carries its own running state.
class IStreamMethod
{
public:
    struct Generator
    {
        uint32_t state = 0;
        uint32_t seed = 0;
    };

    virtual ~IStreamMethod();

    virtual bool EncryptText(const QString &in, QString &out) = 0;
    virtual bool DecryptText(const QString &in, QString &out) = 0;

    // Builds one generator per pair of key characters (at most 217 characters are used) and
    // resets the feedback. Fails for an empty key, which leaves the table empty.
    bool SetKey(const QString &key);

    int generatorCount() const { return int(m_generators.size()); }

protected:
    // Steps every generator once, in table order, and returns the sum (mod 256) and the
    // exclusive-or of their low bytes.
    void nextMix(uint8_t &sum, uint8_t &xorValue);

    uint8_t m_feedback = 0;
    std::vector<Generator> m_generators;
};
