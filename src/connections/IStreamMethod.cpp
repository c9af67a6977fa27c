#include "IStreamMethod.h"

IStreamMethod::~IStreamMethod() = default;

bool IStreamMethod::SetKey(const QString &key)
{
    m_feedback = 0;
    m_generators.clear();
    const qsizetype length = qMin<qsizetype>(key.size(), 217);
    if (length == 0)
        return false;
    const qsizetype count = length / 2;
    m_generators.resize(size_t(count));
    uint32_t v = 0;
    for (qsizetype i = 0; i < count; ++i) {
        v += uint32_t(key.at(2 * i + 1).unicode()) * 256u + uint32_t(key.at(2 * i).unicode())
            + 257u;
        m_generators[size_t(i)] = {v, v};
    }
    // A one-character key gives no generator; treat it like an empty key.
    return count > 0;
}

void IStreamMethod::nextMix(uint8_t &sum, uint8_t &xorValue)
{
    uint32_t s = 0;
    uint32_t x = 0;
    for (Generator &g : m_generators) {
        g.state = (g.state * 599u) % 7146949u;
        const uint32_t out = g.state & 0xFFu;
        s += out;
        x ^= out;
    }
    sum = uint8_t(s & 0xFFu);
    xorValue = uint8_t(x);
}
