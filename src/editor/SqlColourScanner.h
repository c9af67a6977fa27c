#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

// The colouring rules of the query editor, without a widget: which ranges of a text are
// comments, quoted strings, numbers or words of the three word lists, and which words take
// the spelling of their list. The editor applies the result to its document; the probe prints
// it. A line ends at a carriage return or a line feed, so the rules read the same on the
// editor's CR LF text and on the document's own line separators.
class SqlColourScanner
{
public:
    enum Style { Keyword, Constant, Function, Comment, Number, String, StyleCount };

    struct Range
    {
        qsizetype start = 0;
        qsizetype end = 0;
        Style style = Keyword;
        bool operator==(const Range &) const = default;
    };
    // A recognised word whose letter case differs from its list spelling (same length).
    struct CaseChange
    {
        qsizetype start = 0;
        QString spelling;
        bool operator==(const CaseChange &) const = default;
    };
    struct Result
    {
        QList<Range> ranges;
        QList<CaseChange> caseChanges;
    };

    SqlColourScanner();

    // Settings before any are applied: line comment "//", block "/*" "*/", the built-in lists.
    void setCaseSensitive(bool on);
    bool caseSensitive() const { return m_caseSensitive; }
    void setChangeCase(bool on) { m_changeCase = on; }
    bool changeCase() const { return m_changeCase; }
    // The "Delimiters" setting; carriage return, line feed and tab are added.
    void setDelimiters(const QString &delimiters);
    QString wordDelimiters() const { return m_wordDelimiters; }
    void setComments(const QString &line, const QString &blockOpen, const QString &blockClose);
    QString lineComment() const { return m_lineComment; }
    QString blockOpen() const { return m_blockOpen; }
    QString blockClose() const { return m_blockClose; }
    // Blank-separated word lists, as written (each word with a blank before and after it).
    void setLists(const QString &keywords, const QString &constants, const QString &functions);
    QString keywords() const { return m_lists[0]; }
    QString constants() const { return m_lists[1]; }
    QString functions() const { return m_lists[2]; }

    // Scans [start, end) of text. An empty range and a range longer than MaxRange give
    // nothing. A word still open at the end of the range is not classified.
    Result scan(QStringView text, qsizetype start, qsizetype end) const;
    Result scan(QStringView text) const { return scan(text, 0, text.size()); }

    // True when c ends a word (a delimiter, blank, tab, carriage return or line feed).
    bool isWordBreak(QChar c) const;

    // The list a word belongs to (Keyword, Constant or Function), its spelling in that list;
    // StyleCount when it is in none.
    Style lookUp(QStringView word, QString *spelling = nullptr) const;

    // Writes the case changes of a scan into the text it was made on.
    static void applyCaseChanges(QString &text, const Result &result);

    static QString styleName(Style style);
    static constexpr qsizetype MaxRange = 50000;

private:
    bool symbolAt(QStringView text, qsizetype pos, qsizetype end, const QString &symbol) const;
    void rebuildKeys();

    bool m_caseSensitive = false;
    bool m_changeCase = true;
    QString m_wordDelimiters;
    QString m_lineComment;
    QString m_blockOpen;
    QString m_blockClose;
    QString m_lists[3];
    // Word key (upper case unless case-sensitive) -> spelling, per list.
    QHash<QString, QString> m_keys[3];
    // Fast test for ASCII break characters.
    bool m_asciiBreak[128] = {};
};
