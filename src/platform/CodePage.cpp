#include "CodePage.h"

#include <atomic>
#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>

namespace CodePage {
namespace {

std::atomic<int> g_codePage{0};

class Iconv
{
public:
    Iconv(const QByteArray &to, const QByteArray &from)
        : m_cd(iconv_open(to.constData(), from.constData()))
    {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

} // namespace

int localeDefault()
{
    std::setlocale(LC_CTYPE, "");
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    if (codeset == "UTF-8" || codeset == "UTF8")
        return Utf8;
    if (codeset == "SHIFT_JIS" || codeset == "SJIS" || codeset == "CP932" || codeset == "WINDOWS-31J")
        return ShiftJis;
    if (codeset == "EUC-JP")
        return 20932;
    if (codeset == "GB2312" || codeset == "GBK" || codeset == "CP936")
        return 936;
    if (codeset.startsWith("CP") && codeset.mid(2).toInt() > 0)
        return codeset.mid(2).toInt();
    if (codeset == "ISO-8859-1")
        return 28591;
    // "ANSI_X3.4-1968" (the C locale) and anything unknown: treat as UTF-8, the Linux norm.
    return Utf8;
}

int processCodePage()
{
    int cp = g_codePage.load();
    if (cp == 0) {
        cp = localeDefault();
        g_codePage.store(cp);
    }
    return cp;
}

void setProcessCodePage(int codePage)
{
    g_codePage.store(codePage);
}

QByteArray iconvName(int codePage)
{
    switch (codePage) {
    case Utf8:
        return "UTF-8";
    case ShiftJis:
        return "CP932";
    case 20932:
        return "EUC-JP";
    case 28591:
        return "ISO-8859-1";
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    default:
        return "CP" + QByteArray::number(codePage);
    }
}

QByteArray fromUnicode(const QString &text, int codePage, bool *lossy)
{
    if (lossy)
        *lossy = false;
    if (codePage == Utf8)
        return text.toUtf8();
    Iconv cd(iconvName(codePage), "UTF-16LE");
    if (!cd.valid())
        return text.toUtf8();

    QByteArray out;
    out.reserve(text.size() * 2);
    char buffer[8192];
    char *in = reinterpret_cast<char *>(const_cast<char16_t *>(
        reinterpret_cast<const char16_t *>(text.utf16())));
    size_t inLeft = size_t(text.size()) * 2;
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (r != size_t(-1) || errno == E2BIG)
            continue;
        // An unrepresentable character (or a lone surrogate): write '#' and skip it.
        const char16_t unit = *reinterpret_cast<const char16_t *>(in);
        const size_t skip = (QChar::isHighSurrogate(unit) && inLeft >= 4) ? 4 : 2;
        in += skip;
        inLeft -= skip;
        out.append('#');
        if (lossy)
            *lossy = true;
        iconv(cd.handle(), nullptr, nullptr, nullptr, nullptr);
    }
    char *outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd.handle(), nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    return out;
}

QString toUnicode(const QByteArray &bytes, int codePage)
{
    if (codePage == Utf8)
        return QString::fromUtf8(bytes);
    Iconv cd("UTF-16LE", iconvName(codePage));
    if (!cd.valid())
        return QString::fromUtf8(bytes);

    QString out;
    out.reserve(bytes.size());
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char buffer[8192];
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft);
        out.append(QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer),
                                      (outPtr - buffer) / 2));
        if (r == size_t(-1) && errno != E2BIG) {
            // Invalid or truncated sequence: skip one byte and mark it.
            out.append(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(cd.handle(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace CodePage
