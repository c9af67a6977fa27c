#include "SqlColourScanner.h"

#include "platform/AppSettings.h"

namespace {

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isQuoteChar(QChar c)
{
    return c == u'"' || c == u'\'';
}

} // namespace

SqlColourScanner::SqlColourScanner()
{
    setDelimiters(AppSettings::defaultDelimiters());
    setComments(QStringLiteral("//"), QStringLiteral("/*"), QStringLiteral("*/"));
    setLists(AppSettings::builtInKeywords(), AppSettings::builtInConstants(),
             AppSettings::builtInFunctions());
}

void SqlColourScanner::setCaseSensitive(bool on)
{
    if (m_caseSensitive == on)
        return;
    m_caseSensitive = on;
    rebuildKeys();
}

void SqlColourScanner::setDelimiters(const QString &delimiters)
{
    m_wordDelimiters = delimiters + QStringLiteral("\r\n\t");
    std::fill(std::begin(m_asciiBreak), std::end(m_asciiBreak), false);
    m_asciiBreak[int(' ')] = true;
    for (QChar c : std::as_const(m_wordDelimiters)) {
        if (c.unicode() < 128)
            m_asciiBreak[c.unicode()] = true;
    }
}

void SqlColourScanner::setComments(const QString &line, const QString &blockOpen,
                                   const QString &blockClose)
{
    m_lineComment = line;
    m_blockOpen = blockOpen;
    m_blockClose = blockClose;
}

void SqlColourScanner::setLists(const QString &keywords, const QString &constants,
                                const QString &functions)
{
    m_lists[0] = keywords;
    m_lists[1] = constants;
    m_lists[2] = functions;
    rebuildKeys();
}

void SqlColourScanner::rebuildKeys()
{
    for (int i = 0; i < 3; ++i) {
        m_keys[i].clear();
        const auto words = QStringView(m_lists[i]).split(u' ', Qt::SkipEmptyParts);
        for (const QStringView word : words) {
            const QString key = m_caseSensitive ? word.toString() : word.toString().toUpper();
            // The first occurrence in the list gives the spelling.
            if (!m_keys[i].contains(key))
                m_keys[i].insert(key, word.toString());
        }
    }
}

bool SqlColourScanner::isWordBreak(QChar c) const
{
    if (c.unicode() < 128)
        return m_asciiBreak[c.unicode()];
    return m_wordDelimiters.contains(c);
}

SqlColourScanner::Style SqlColourScanner::lookUp(QStringView word, QString *spelling) const
{
    if (word.isEmpty())
        return StyleCount;
    const QString key = m_caseSensitive ? word.toString() : word.toString().toUpper();
    for (int i = 0; i < 3; ++i) {
        const auto it = m_keys[i].constFind(key);
        if (it != m_keys[i].cend()) {
            if (spelling)
                *spelling = it.value();
            return Style(i);
        }
    }
    return StyleCount;
}

bool SqlColourScanner::symbolAt(QStringView text, qsizetype pos, qsizetype end,
                                const QString &symbol) const
{
    if (symbol.isEmpty() || pos + symbol.size() > end)
        return false;
    return text.mid(pos, symbol.size())
               .compare(symbol, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive)
           == 0;
}

SqlColourScanner::Result SqlColourScanner::scan(QStringView text, qsizetype start,
                                                qsizetype end) const
{
    Result result;
    start = qMax<qsizetype>(0, start);
    end = qMin(end, text.size());
    if (start >= end || end - start > MaxRange)
        return result;

    const auto classify = [&](qsizetype from, qsizetype to) {
        if (from >= to)
            return;
        const QStringView word = text.mid(from, to - from);
        QString spelling;
        const Style style = lookUp(word, &spelling);
        if (style != StyleCount) {
            result.ranges.append({from, to, style});
            if (!m_caseSensitive && m_changeCase && spelling.size() == word.size()
                && spelling != word)
                result.caseChanges.append({from, spelling});
            return;
        }
        for (QChar c : word) {
            if ((c < u'0' || c > u'9') && c != u'.')
                return;
        }
        result.ranges.append({from, to, Number});
    };

    qsizetype wordStart = start;
    qsizetype p = start;
    while (p < end) {
        const QChar c = text.at(p);
        qsizetype tokenEnd = -1;
        Style tokenStyle = Comment;
        if (symbolAt(text, p, end, m_lineComment)) {
            tokenEnd = p + m_lineComment.size();
            while (tokenEnd < end && !isLineEnd(text.at(tokenEnd)))
                ++tokenEnd;
        } else if (symbolAt(text, p, end, m_blockOpen)) {
            tokenEnd = end;
            if (!m_blockClose.isEmpty()) {
                const qsizetype close =
                    text.mid(0, end).indexOf(m_blockClose, p + m_blockOpen.size(),
                                             m_caseSensitive ? Qt::CaseSensitive
                                                             : Qt::CaseInsensitive);
                if (close >= 0)
                    tokenEnd = close + m_blockClose.size();
            }
        } else if (isQuoteChar(c)) {
            tokenStyle = String;
            tokenEnd = p + 1;
            while (tokenEnd < end && !isLineEnd(text.at(tokenEnd)) && text.at(tokenEnd) != c)
                ++tokenEnd;
            if (tokenEnd < end && text.at(tokenEnd) == c)
                ++tokenEnd;
        } else if (isWordBreak(c)) {
            classify(wordStart, p);
            wordStart = p + 1;
            ++p;
            continue;
        } else {
            ++p;
            continue;
        }
        // A word directly followed by a quote or a comment is left as it is.
        result.ranges.append({p, tokenEnd, tokenStyle});
        wordStart = tokenEnd;
        p = tokenEnd;
    }
    return result;
}

QString SqlColourScanner::styleName(Style style)
{
    switch (style) {
    case Keyword:
        return QStringLiteral("keyword");
    case Constant:
        return QStringLiteral("constant");
    case Function:
        return QStringLiteral("function");
    case Comment:
        return QStringLiteral("comment");
    case Number:
        return QStringLiteral("number");
    case String:
        return QStringLiteral("string");
    case StyleCount:
        break;
    }
    return QString();
}

void SqlColourScanner::applyCaseChanges(QString &text, const Result &result)
{
    for (const CaseChange &change : result.caseChanges)
        text.replace(change.start, change.spelling.size(), change.spelling);
}
