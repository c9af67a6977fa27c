#pragma once

#include <QByteArray>
#include <QString>

// The process-wide ANSI code page and conversions between it (or any explicit code page)
// and UTF-16 text. Conversions go through iconv; a character the target code page cannot
// represent becomes "#" when writing. Thread-safe: the code page is an atomic integer.
namespace CodePage {

constexpr int Utf8 = 65001;
constexpr int ShiftJis = 932;

// The code page the locale's character set stands for (65001 on a UTF-8 desktop).
int localeDefault();

// The process's ANSI code page: the locale default until set.
int processCodePage();
void setProcessCodePage(int codePage);

// iconv name of a code page, e.g. 932 -> "CP932", 65001 -> "UTF-8".
QByteArray iconvName(int codePage);

// Text to bytes in the code page; unrepresentable characters become '#'.
// *lossy (when given) tells whether any character was replaced.
QByteArray fromUnicode(const QString &text, int codePage, bool *lossy = nullptr);
inline QByteArray fromUnicode(const QString &text) { return fromUnicode(text, processCodePage()); }

// Bytes in the code page to text; an invalid sequence becomes U+FFFD.
QString toUnicode(const QByteArray &bytes, int codePage);
inline QString toUnicode(const QByteArray &bytes) { return toUnicode(bytes, processCodePage()); }

} // namespace CodePage
