#pragma once

#include "CSqlBlock.h"
#include "CSqlBlockComment.h"
#include "CSqlComma.h"
#include "CSqlDelimiter.h"
#include "CSqlItem.h"
#include "CSqlKeyword.h"
#include "CSqlLineComment.h"
#include "CSqlOperator.h"
#include "CSqlQuote.h"

#include <QString>
#include <vector>

class SettingsStore;

// The SQL formatter: cuts a text into a tree of items (words, keywords, logic operators,
// operators, commas, quoted strings, bracket blocks, field-marked names, comments), merges
// adjacent words into multi-word keywords and writes the tree back with line breaks and
// indentation chosen by its options.
//
// One layout: set options and lists (or keep them), SetSqlText, Parse, and when Parse returned
// true, Format. layOut() does the three steps. Widths are counted in UTF-16 code units.
//
// Pure text processing; no step recurses along the nesting of the text, so any depth of
// brackets is safe. A formatter is not shared between threads; application() is the one
// configured from the user's settings and belongs to the UI thread.
class CSqlParser
{
public:
    CSqlParser();
    ~CSqlParser();
    CSqlParser(const CSqlParser &) = delete;
    CSqlParser &operator=(const CSqlParser &) = delete;

    // The application-wide formatter, created with the defaults on first use.
    static CSqlParser &application();
    // Lays out text with the application formatter. fitWidth, when not negative, is the
    // window's width in characters, used as the margin when the formatter is set to fit the
    // window. Returns false and leaves text untouched when it cannot be laid out.
    static bool layOutWithApplication(QString &text, int fitWidth = -1);

    // SetSqlText, Parse and Format in one; false (text untouched) when Parse fails or the
    // layout is abandoned.
    bool layOut(QString &text);

    // Symbol lists, each a comma-separated string as the user wrote it.
    void SetSyntaxes(const QString &list);
    void SetLogicOps(const QString &list);
    void SetSpaces(const QString &list);
    void SetReturns(const QString &list);
    void SetComma(const QString &symbol);
    void SetQuote(const QString &list);
    void SetWordMark(const QString &open, const QString &close);
    void SetParhs(const QString &open, const QString &close);
    void SetBlockComment(const QString &open, const QString &close);
    void SetLineComment(const QString &list);

    QString GetSyntaxes() const { return m_syntaxes; }
    QString GetLogicOps() const { return m_logicOps; }
    QString GetSpaces() const { return m_spaces; }
    QString GetReturns() const { return m_returns; }
    QString GetComma() const { return m_comma; }
    QString GetQuote() const { return m_quote; }
    QString GetWordMark1() const { return m_wordMark1; }
    QString GetWordMark2() const { return m_wordMark2; }
    QString GetParhs1() const { return m_parhs1; }
    QString GetParhs2() const { return m_parhs2; }
    QString GetBlockComment1() const { return m_blockComment1; }
    QString GetBlockComment2() const { return m_blockComment2; }
    QString GetLineComment() const { return m_lineComment; }

    // Options.
    void SetMargin(int margin, int fitWindow);
    void SetIndent(int kind, int spaceCount); // recomputes the indent unit
    void SetCommaReturn(int mode);            // 0 before, 1 after, 2 one line if possible
    void SetKeywordReturn(int rr);
    void SetBlockReturn(int lr, int rr);
    void SetBlockMargin(int flag);
    // The user interface has no control for this; the stored settings and the command-line
    // tools change it.
    void SetKeywordLR(int lr) { m_sqlFixKeywordLR = lr; }

    int GetMargin() const { return m_sqlFixMargin; }
    int GetFitWindow() const { return m_sqlFixFitWindow; }
    int GetIndentKind() const { return m_sqlFixIndentKind; }
    int GetSpaceCount() const { return m_sqlFixSpaceCount; }
    QString GetIndentUnit() const { return m_indentUnit; }
    int GetCommaReturn() const { return m_sqlFixCommaReturn; }
    int GetKeywordLR() const { return m_sqlFixKeywordLR; }
    int GetKeywordReturn() const { return m_sqlFixKeywordRR; }
    int GetBlockLR() const { return m_sqlFixBlockLR; }
    int GetBlockRR() const { return m_sqlFixBlockRR; }
    int GetBlockMargin() const { return m_sqlFixBlockMargin; }

    void SetSqlText(const QString &text);
    QString GetSqlText() const { return m_sqlText; }
    // Builds the item tree; false when the text is empty or yields no items.
    bool Parse();
    // Lays out the tree of the last successful Parse and returns the text. A layout that
    // would grow past a size bound (pathological nesting with deep indentation) is abandoned:
    // the result is empty and FormatFailed() is true.
    QString Format();
    bool FormatFailed() const { return m_formatFailed; }
    QString GetOutput() const { return m_output; }
    // The tree of the last Parse. Texts of its items may refer into the formatter's copy of
    // the SQL text: a copy of one kept beyond the next Parse must be made with
    // QString(text.constData(), text.size()).
    const CSqlItem &Root() const { return m_root; }

    // Section "SqlParser" of the settings store; missing values keep the current ones.
    void LoadSettings(const SettingsStore &store);
    void SaveSettings(SettingsStore &store) const;
    static const char *const SettingsSection;

private:
    void RebuildDelimiter();
    void Tokenize(CSqlItem *parent, qsizetype from, qsizetype limit);
    void AddWord(CSqlItem *parent, qsizetype from, qsizetype to, bool classify);
    void MergeKeywords(CSqlItem *first);
    // Length of a block's one-line rendering (for any other item, its text and close text).
    qsizetype LineLength(CSqlItem *item);
    void AppendOneLine(const CSqlItem *item);
    void LayOutItems(CSqlItem *first);

    // Output helpers of the layout.
    struct IndentNode
    {
        int parent;       // -1 for none
        qsizetype spaces; // spaces this node adds, or 0 for the indent unit
        qsizetype length; // whole indent length up to and including this node
    };
    int IndentSpaces(int indent, qsizetype count);
    int IndentUnit(int indent);
    qsizetype IndentLength(int indent) const
    {
        return indent < 0 ? 0 : m_indents[size_t(indent)].length;
    }
    void Append(QStringView text);
    void AppendSpaces(qsizetype count);
    void AppendIndent(int indent);
    void AppendLineBreak() { Append(u"\r\n"); }
    qsizetype LastLineLength() const { return m_output.size() - m_lastLineFeed - 1; }

    // Symbol sets as the user wrote them.
    QString m_syntaxes;
    QString m_logicOps;
    QString m_spaces;
    QString m_returns;
    QString m_comma;
    QString m_quote;
    QString m_wordMark1;
    QString m_wordMark2;
    QString m_parhs1;
    QString m_parhs2;
    QString m_blockComment1;
    QString m_blockComment2;
    QString m_lineComment;

    // The pick-ups: the seven the tokenizer tries, in order, then the three classifiers.
    CSqlBlockComment m_pickBlockComment;
    CSqlLineComment m_pickLineComment;
    CSqlBlock m_pickWordMark;
    CSqlBlock m_pickParhs;
    CSqlQuote m_pickQuote;
    CSqlComma m_pickComma;
    CSqlDelimiter m_pickDelimiter;
    CSqlKeyword m_pickSyntaxes;
    CSqlKeyword m_pickLogicOps;
    CSqlOperator m_pickOperator;

    int m_sqlFixIndentKind = 1;
    int m_sqlFixSpaceCount = 4;
    int m_sqlFixCommaReturn = 0;
    int m_sqlFixMargin = 80;
    int m_sqlFixFitWindow = 0;
    QString m_indentUnit;
    int m_sqlFixKeywordLR = 1;
    int m_sqlFixKeywordRR = 0;
    int m_sqlFixBlockLR = 0;
    int m_sqlFixBlockRR = 0;
    int m_sqlFixBlockMargin = 1;

    QString m_sqlText;
    // The text the current tree was cut from. Item texts refer into it instead of holding
    // copies (millions of small allocations for a large text), so it is declared before the
    // root: the tree goes first.
    QString m_treeText;
    CSqlItem m_root;
    QString m_output;

    // Layout state.
    qsizetype m_lastLineFeed = -1;
    qsizetype m_outputLimit = 0;
    bool m_formatFailed = false;
    std::vector<IndentNode> m_indents;
};
