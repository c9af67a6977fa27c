#include "CSqlParser.h"

#include "platform/SettingsStore.h"

#include <array>

namespace {

constexpr int kMaxSpaceCount = 1000;

QString spaces(qsizetype count)
{
    return QString(qMax<qsizetype>(count, 0), QLatin1Char(' '));
}

} // namespace

const char *const CSqlParser::SettingsSection = "SqlParser";

CSqlParser::CSqlParser()
    : m_pickBlockComment()
    , m_pickWordMark(SQL_ITEM_WORD_MARK, 1)
    , m_pickParhs(SQL_ITEM_BLOCK, 1)
    , m_pickDelimiter(SQL_ITEM_DELIMITER, 0)
    , m_pickSyntaxes(SQL_ITEM_KEYWORD)
    , m_pickLogicOps(SQL_ITEM_LOGIC_OP)
    , m_root(QString(), SQL_ITEM_BLOCK)
{
    for (CSqlPickup *pickup : std::initializer_list<CSqlPickup *>{
             &m_pickBlockComment, &m_pickLineComment, &m_pickWordMark, &m_pickParhs,
             &m_pickQuote, &m_pickComma, &m_pickDelimiter, &m_pickSyntaxes, &m_pickLogicOps,
             &m_pickOperator})
        pickup->SetSqlText(&m_sqlText);

    SetSyntaxes(QStringLiteral("SELECT, FROM, WHERE, GROUP BY, HAVING, ORDER BY, INSERT INTO, "
                               "INSERT, VALUES, UPDATE, DELETE, UNION, CASE, END, FOR UPDATE, "
                               "WITH_T("));
    SetLogicOps(QStringLiteral("AND, OR, ON, SET, WHEN, THEN, ELSE"));
    m_spaces = QStringLiteral("\t, ");
    SetReturns(QStringLiteral("\r\n"));
    SetComma(QStringLiteral(","));
    SetQuote(QStringLiteral("'"));
    SetWordMark(QStringLiteral("["), QStringLiteral("]"));
    SetParhs(QStringLiteral("( , {"), QStringLiteral(") , }"));
    SetBlockComment(QStringLiteral("/*"), QStringLiteral("*/"));
    SetLineComment(QStringLiteral("// , --"));
    SetMargin(80, 0);
    SetIndent(1, 4);
    SetCommaReturn(0);
    SetKeywordReturn(0);
    SetBlockReturn(0, 0);
    SetBlockMargin(1);
}

CSqlParser::~CSqlParser() = default;

CSqlParser &CSqlParser::application()
{
    static CSqlParser parser;
    return parser;
}

bool CSqlParser::layOutWithApplication(QString &text, int fitWidth)
{
    CSqlParser &parser = application();
    if (parser.GetFitWindow() && fitWidth >= 0)
        parser.SetMargin(fitWidth, 1);
    return parser.layOut(text);
}

bool CSqlParser::layOut(QString &text)
{
    SetSqlText(text);
    bool ok = Parse();
    if (ok) {
        const QString laidOut = Format();
        ok = !m_formatFailed;
        if (ok)
            text = laidOut;
    }
    // The tree and the bracket indexes of a large text are not worth keeping.
    m_root.ClearChildren();
    m_treeText.clear();
    SetSqlText(QString());
    return ok;
}

// ---- symbol lists ------------------------------------------------------------------------

void CSqlParser::SetSyntaxes(const QString &list)
{
    m_syntaxes = list;
    m_pickSyntaxes.SetSymbols(CSqlStrArray::Split(list));
}

void CSqlParser::SetLogicOps(const QString &list)
{
    m_logicOps = list;
    m_pickLogicOps.SetSymbols(CSqlStrArray::Split(list));
}

void CSqlParser::SetSpaces(const QString &list)
{
    m_spaces = list;
    RebuildDelimiter();
}

void CSqlParser::SetReturns(const QString &list)
{
    m_returns = list;
    RebuildDelimiter();
}

void CSqlParser::RebuildDelimiter()
{
    m_pickDelimiter.SetSymbols(CSqlStrArray::Split(m_spaces + QLatin1Char(',') + m_returns,
                                                   false));
}

void CSqlParser::SetComma(const QString &symbol)
{
    m_comma = symbol;
    m_pickComma.SetSymbols(CSqlStrArray::Whole(symbol));
}

void CSqlParser::SetQuote(const QString &list)
{
    m_quote = list;
    m_pickQuote.SetSymbols(CSqlStrArray::Split(list));
}

void CSqlParser::SetWordMark(const QString &open, const QString &close)
{
    m_wordMark1 = open;
    m_wordMark2 = close;
    m_pickWordMark.SetSymbols(CSqlStrArray::Split(open), CSqlStrArray::Split(close));
}

void CSqlParser::SetParhs(const QString &open, const QString &close)
{
    m_parhs1 = open;
    m_parhs2 = close;
    m_pickParhs.SetSymbols(CSqlStrArray::Split(open), CSqlStrArray::Split(close));
}

void CSqlParser::SetBlockComment(const QString &open, const QString &close)
{
    m_blockComment1 = open;
    m_blockComment2 = close;
    m_pickBlockComment.SetSymbols(CSqlStrArray::Split(open), CSqlStrArray::Split(close));
}

void CSqlParser::SetLineComment(const QString &list)
{
    m_lineComment = list;
    m_pickLineComment.SetSymbols(CSqlStrArray::Split(list));
}

// ---- options -----------------------------------------------------------------------------

void CSqlParser::SetMargin(int margin, int fitWindow)
{
    m_sqlFixMargin = margin;
    m_sqlFixFitWindow = fitWindow;
}

void CSqlParser::SetIndent(int kind, int spaceCount)
{
    m_sqlFixIndentKind = kind;
    // A unit wider than any screen only wastes memory.
    m_sqlFixSpaceCount = qBound(1, spaceCount, kMaxSpaceCount);
    m_indentUnit = kind == 0 ? QStringLiteral("\t") : spaces(m_sqlFixSpaceCount);
}

void CSqlParser::SetCommaReturn(int mode)
{
    m_sqlFixCommaReturn = mode;
}

void CSqlParser::SetKeywordReturn(int rr)
{
    m_sqlFixKeywordRR = rr;
}

void CSqlParser::SetBlockReturn(int lr, int rr)
{
    m_sqlFixBlockLR = lr;
    m_sqlFixBlockRR = rr;
}

void CSqlParser::SetBlockMargin(int flag)
{
    m_sqlFixBlockMargin = flag;
}

// ---- tokenizing --------------------------------------------------------------------------

void CSqlParser::SetSqlText(const QString &text)
{
    m_sqlText = text;
    // Same pointer, new contents: the pick-ups drop what they remembered about the old text.
    for (CSqlPickup *pickup : std::initializer_list<CSqlPickup *>{
             &m_pickBlockComment, &m_pickLineComment, &m_pickWordMark, &m_pickParhs,
             &m_pickQuote, &m_pickComma, &m_pickDelimiter, &m_pickSyntaxes, &m_pickLogicOps,
             &m_pickOperator})
        pickup->SetSqlText(&m_sqlText);
}

bool CSqlParser::Parse()
{
    m_root.ClearChildren();
    // Shares m_sqlText's buffer; it stays alive here however m_sqlText changes later.
    m_treeText = m_sqlText;
    if (m_sqlText.isEmpty())
        return false;
    m_root.kind = SQL_ITEM_BLOCK;
    Tokenize(&m_root, 0, m_sqlText.size());
    // Delimiters are never added to the tree (they would be removed here before anything
    // else looks at it), so nothing is left to remove.
    if (m_root.children.IsEmpty())
        return false;
    MergeKeywords(m_root.children.First());
    return true;
}

void CSqlParser::AddWord(CSqlItem *parent, qsizetype from, qsizetype to, bool classify)
{
    const QStringView piece = QStringView(m_sqlText).sliced(from, to - from);
    int kind = SQL_ITEM_WORD;
    if (classify) {
        if (m_pickSyntaxes.Contains(piece))
            kind = SQL_ITEM_KEYWORD;
        else if (m_pickLogicOps.Contains(piece))
            kind = SQL_ITEM_LOGIC_OP;
        else if (CSqlOperator::IsOperatorText(piece))
            kind = SQL_ITEM_OPERATOR;
    }
    parent->AddChild(QString::fromRawData(piece.constData(), piece.size()), kind);
}

void CSqlParser::Tokenize(CSqlItem *parent, qsizetype from, qsizetype limit)
{
    const std::array<CSqlPickup *, 7> tries = {&m_pickBlockComment, &m_pickLineComment,
                                               &m_pickWordMark,     &m_pickParhs,
                                               &m_pickQuote,        &m_pickComma,
                                               &m_pickDelimiter};
    // Code units that can start any construct; everything else is part of a word.
    std::vector<quint64> interesting(CSqlPickup::FoldedBitmapWords, 0);
    for (const CSqlPickup *pickup : tries)
        pickup->AddFirstChars(interesting);

    // The ranges still being cut, innermost last: a bracket block's contents are cut before
    // the text after the block, without recursion.
    struct Range
    {
        CSqlItem *parent;
        qsizetype position;
        qsizetype segmentStart;
        qsizetype limit;
    };
    std::vector<Range> ranges;
    ranges.push_back({parent, from, from, limit});
    const QChar *units = m_sqlText.constData();
    SqlPickupResult result;

    while (!ranges.empty()) {
        Range &range = ranges.back();
        qsizetype position = range.position;
        while (position < range.limit
               && !CSqlPickup::TestFirst(interesting,
                                         CSqlPickup::FoldUnit(units[position].unicode())))
            ++position;
        if (position >= range.limit) {
            // What is left is a plain word, not tested for keywords.
            if (range.segmentStart < range.limit)
                AddWord(range.parent, range.segmentStart, range.limit, false);
            ranges.pop_back();
            continue;
        }
        bool matched = false;
        for (CSqlPickup *pickup : tries) {
            if (pickup->PickUp(position, range.limit, result)) {
                matched = true;
                break;
            }
        }
        if (!matched) {
            range.position = position + 1;
            continue;
        }
        if (range.segmentStart < position)
            AddWord(range.parent, range.segmentStart, position, true);
        range.position = range.segmentStart = result.end;

        if (result.kind == SQL_ITEM_BLOCK) {
            CSqlItem *block = range.parent->AddChild(result.openSymbol, SQL_ITEM_BLOCK);
            block->closeText = result.closeSymbol;
            const qsizetype innerFrom = result.start + result.openSymbol.size();
            // An unclosed bracket keeps everything up to the end of its range.
            const qsizetype innerTo = result.closed ? result.end - result.closeSymbol.size()
                                                    : result.end;
            ranges.push_back({block, innerFrom, innerFrom, innerTo}); // invalidates range
        } else if (result.kind != SQL_ITEM_DELIMITER) {
            range.parent->AddChild(
                QString::fromRawData(result.matchText.constData(), result.matchText.size()),
                result.kind);
        }
    }
}

void CSqlParser::MergeKeywords(CSqlItem *first)
{
    // Sibling lists still to merge; a block's list is queued instead of entered recursively
    // (lists are merged independently, so the order does not matter).
    std::vector<CSqlItem *> lists{first};
    while (!lists.empty()) {
        CSqlItem *current = lists.back();
        lists.pop_back();
        CSqlItem *next = current ? current->Next() : nullptr;
        while (next) {
            const bool currentIsWord = current->kind == SQL_ITEM_WORD
                                       || current->kind == SQL_ITEM_KEYWORD;
            if (!currentIsWord) {
                if (current->HasChildren())
                    lists.push_back(current->children.First());
                current = next;
                next = current->Next();
            } else if (next->kind == SQL_ITEM_WORD || next->kind == SQL_ITEM_KEYWORD) {
                if (m_pickSyntaxes.ContainsJoined(current->text, next->text)) {
                    current->text = current->text + QLatin1Char(' ') + next->text;
                    current->kind = SQL_ITEM_KEYWORD;
                    current->parent->children.Remove(next);
                    next = current->Next();
                } else {
                    current = next;
                    next = current->Next();
                }
            } else if (next->kind == SQL_ITEM_DELIMITER) {
                next = next->Next();
            } else {
                // The item after a word is skipped without being entered: the contents of a
                // bracket block that directly follows a word are not merged.
                current = next->Next();
                if (!current)
                    break;
                next = current->Next();
            }
        }
    }
}

// ---- layout ------------------------------------------------------------------------------

qsizetype CSqlParser::LineLength(CSqlItem *item)
{
    if (item->lineLength >= 0)
        return item->lineLength;
    // Post-order over the blocks of the subtree not yet measured, without recursion; each
    // block is measured once, however often the layout asks.
    std::vector<CSqlItem *> stack{item};
    while (!stack.empty()) {
        CSqlItem *block = stack.back();
        bool ready = true;
        for (CSqlItem *child = block->children.First(); child; child = child->Next()) {
            if (child->HasChildren() && child->lineLength < 0) {
                stack.push_back(child);
                ready = false;
            }
        }
        if (!ready)
            continue;
        stack.pop_back();
        qsizetype length = block->text.size() + block->closeText.size();
        const CSqlItem *previous = nullptr;
        for (const CSqlItem *child = block->children.First(); child; child = child->Next()) {
            const bool joined = !previous || child->kind == SQL_ITEM_COMMA
                                || (child->HasChildren() && previous->kind == SQL_ITEM_WORD);
            length += (joined ? 0 : 1)
                      + (child->HasChildren() ? child->lineLength
                                              : child->text.size() + child->closeText.size());
            previous = child;
        }
        block->lineLength = length;
    }
    return item->lineLength;
}

void CSqlParser::AppendOneLine(const CSqlItem *item)
{
    if (!item->HasChildren()) {
        Append(item->text);
        Append(item->closeText);
        return;
    }
    struct Level
    {
        const CSqlItem *block;
        const CSqlItem *child;
        const CSqlItem *previous;
    };
    std::vector<Level> levels;
    Append(item->text);
    levels.push_back({item, item->children.First(), nullptr});
    while (!levels.empty() && !m_formatFailed) {
        Level &level = levels.back();
        const CSqlItem *child = level.child;
        if (!child) {
            Append(level.block->closeText);
            levels.pop_back();
            continue;
        }
        const CSqlItem *previous = level.previous;
        level.previous = child;
        level.child = child->Next();
        const bool joined = !previous || child->kind == SQL_ITEM_COMMA
                            || (child->HasChildren() && previous->kind == SQL_ITEM_WORD);
        if (!joined)
            Append(u" ");
        Append(child->text);
        if (child->HasChildren())
            levels.push_back({child, child->children.First(), nullptr}); // invalidates level
        else
            Append(child->closeText);
    }
}

int CSqlParser::IndentSpaces(int indent, qsizetype count)
{
    if (count <= 0)
        return indent;
    m_indents.push_back({indent, count, IndentLength(indent) + count});
    return int(m_indents.size() - 1);
}

int CSqlParser::IndentUnit(int indent)
{
    if (m_sqlFixIndentKind != 0)
        return IndentSpaces(indent, m_sqlFixSpaceCount);
    m_indents.push_back({indent, 0, IndentLength(indent) + 1});
    return int(m_indents.size() - 1);
}

void CSqlParser::Append(QStringView text)
{
    if (m_formatFailed || text.isEmpty())
        return;
    if (m_output.size() + text.size() > m_outputLimit) {
        m_formatFailed = true;
        return;
    }
    const qsizetype before = m_output.size();
    m_output.append(text);
    const qsizetype lineFeed = text.lastIndexOf(QLatin1Char('\n'));
    if (lineFeed >= 0)
        m_lastLineFeed = before + lineFeed;
}

void CSqlParser::AppendSpaces(qsizetype count)
{
    if (m_formatFailed || count <= 0)
        return;
    if (m_output.size() + count > m_outputLimit) {
        m_formatFailed = true;
        return;
    }
    m_output.resize(m_output.size() + count, QLatin1Char(' '));
}

void CSqlParser::AppendIndent(int indent)
{
    // Indents share their common beginnings, so a deep one is never copied as a whole.
    std::vector<int> chain;
    for (int node = indent; node >= 0; node = m_indents[size_t(node)].parent)
        chain.push_back(node);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const IndentNode &node = m_indents[size_t(*it)];
        if (node.spaces > 0)
            AppendSpaces(node.spaces);
        else
            Append(u"\t");
    }
}

QString CSqlParser::Format()
{
    m_output.clear();
    m_lastLineFeed = -1;
    m_formatFailed = false;
    m_indents.clear();
    // Deep nesting with expanded blocks can call for indentation that grows with the square
    // of the depth; past this bound the layout is abandoned rather than exhausting memory.
    m_outputLimit = qMax<qsizetype>(qsizetype(32) * 1024 * 1024, m_sqlText.size() * 16);
    m_output.reserve(m_sqlText.size() * 2 + 16);
    LayOutItems(m_root.children.First());
    m_indents.clear();
    m_indents.shrink_to_fit();
    if (m_formatFailed)
        m_output.clear();
    else
        m_output.squeeze();
    return m_output;
}

void CSqlParser::LayOutItems(CSqlItem *first)
{
    // One level per sibling list being laid out; an expanded bracket block opens a level for
    // its contents instead of recursing.
    struct Level
    {
        CSqlItem *item;   // next item of this list
        int base;         // indents, as nodes of m_indents (-1: empty)
        int cont;
        int prevKind;
        bool hasPrev;
        bool inBlock;
        const CSqlItem *block; // the expanded block whose contents these are, or null
        int blockIndent;       // that block's own indent, for its closing symbol
    };
    std::vector<Level> levels;
    levels.push_back({first, -1, -1, SQL_ITEM_WORD, false, false, nullptr, -1});

    const bool keywordRR = m_sqlFixKeywordRR != 0;
    while (!levels.empty() && !m_formatFailed) {
        Level &level = levels.back();
        CSqlItem *item = level.item;
        if (!item) {
            if (level.block) {
                if (m_sqlFixBlockRR) {
                    AppendLineBreak();
                    AppendIndent(level.blockIndent);
                }
                Append(level.block->closeText);
            }
            levels.pop_back();
            continue;
        }
        const qsizetype lineLength = LastLineLength();
        const int prev = level.prevKind;
        const bool hasPrev = level.hasPrev;
        level.item = item->Next();
        level.prevKind = item->kind;
        level.hasPrev = true;

        switch (item->kind) {
        case SQL_ITEM_KEYWORD:
            level.cont = keywordRR ? IndentUnit(level.base)
                                   : IndentSpaces(level.base, item->text.size());
            if (m_sqlFixKeywordLR && hasPrev) {
                AppendLineBreak();
                AppendIndent(level.base);
            } else if (hasPrev && !m_output.isEmpty() && !m_output.back().isSpace()) {
                // Without a line break before keywords, one space keeps the words apart.
                Append(u" ");
            }
            Append(item->text);
            if (keywordRR) {
                AppendLineBreak();
                AppendIndent(level.cont);
            }
            break;
        case SQL_ITEM_LOGIC_OP: {
            qsizetype column = IndentLength(level.cont) - item->text.size() - (keywordRR ? 1 : 0);
            column = qMax(column, IndentLength(level.base));
            AppendLineBreak();
            AppendSpaces(column);
            Append(item->text);
            break;
        }
        case SQL_ITEM_COMMA:
            if (m_sqlFixCommaReturn == 1) {
                Append(item->text);
                AppendLineBreak();
                AppendIndent(level.cont);
                if (!keywordRR)
                    Append(u" ");
            } else if (m_sqlFixCommaReturn == 2) {
                Append(item->text);
                Append(u" ");
                const qsizetype after = LastLineLength();
                CSqlItem *next = item->Next();
                const qsizetype nextWidth = !next ? 0
                                            : next->kind == SQL_ITEM_BLOCK ? LineLength(next)
                                                                           : next->text.size();
                if (after > m_sqlFixMargin || (next && after + nextWidth > m_sqlFixMargin)) {
                    AppendLineBreak();
                    AppendIndent(level.cont);
                    if (!keywordRR)
                        Append(u" ");
                }
            } else {
                AppendLineBreak();
                AppendIndent(level.cont);
                Append(item->text);
            }
            break;
        case SQL_ITEM_LINE_COMMENT:
            Append(u" ");
            Append(item->text);
            AppendLineBreak();
            break;
        case SQL_ITEM_BLOCK: {
            const qsizetype oneLine = LineLength(item);
            if (!item->HasChildren() || oneLine <= 6
                || (m_sqlFixBlockMargin && lineLength + oneLine <= m_sqlFixMargin)) {
                if (prev != SQL_ITEM_WORD && prev != SQL_ITEM_COMMA)
                    Append(u" ");
                AppendOneLine(item);
                break;
            }
            int blockIndent = -1;
            if (hasPrev) {
                blockIndent = m_sqlFixBlockLR ? level.cont : IndentSpaces(-1, lineLength);
                if (prev == SQL_ITEM_KEYWORD)
                    blockIndent = IndentSpaces(blockIndent, 1);
            } else if (level.inBlock) {
                blockIndent = IndentSpaces(-1, lineLength + m_sqlFixSpaceCount);
                level.cont = blockIndent;
            }
            const int contentIndent = IndentSpaces(blockIndent, item->text.size());
            if (m_sqlFixBlockLR && prev == SQL_ITEM_KEYWORD && keywordRR) {
                Append(u" ");
            } else if (m_sqlFixBlockLR && (hasPrev || level.inBlock)) {
                AppendLineBreak();
                AppendIndent(blockIndent);
            } else if (prev == SQL_ITEM_KEYWORD || prev == SQL_ITEM_LOGIC_OP) {
                Append(u" ");
            }
            Append(item->text);
            if (m_sqlFixBlockRR) {
                AppendLineBreak();
                AppendIndent(contentIndent);
            }
            levels.push_back({item->children.First(), contentIndent, contentIndent, SQL_ITEM_WORD,
                              false, true, item, blockIndent}); // invalidates level
            break;
        }
        default:
            if (!(prev == SQL_ITEM_COMMA || (prev == SQL_ITEM_KEYWORD && keywordRR)))
                Append(u" ");
            Append(item->text);
            break;
        }
    }
}

// ---- settings ----------------------------------------------------------------------------

void CSqlParser::LoadSettings(const SettingsStore &store)
{
    const QString section = QString::fromLatin1(SettingsSection);
    const auto text = [&](const char *name, const QString &current) {
        return store.readText(section, QString::fromLatin1(name), current);
    };
    const auto number = [&](const char *name, int current) {
        return store.readInt(section, QString::fromLatin1(name), current);
    };
    SetSyntaxes(text("Syntaxes", m_syntaxes));
    SetLogicOps(text("LogicOps", m_logicOps));
    SetQuote(text("Quote", m_quote));
    const QString wordMark1 = text("WordMark1", m_wordMark1);
    SetWordMark(wordMark1, text("WordMark2", m_wordMark2));
    const QString parhs1 = text("Parhs1", m_parhs1);
    SetParhs(parhs1, text("Parhs2", m_parhs2));
    const QString blockComment1 = text("BlockComment1", m_blockComment1);
    SetBlockComment(blockComment1, text("BlockComment2", m_blockComment2));
    SetLineComment(text("LineComment", m_lineComment));

    const int margin = number("SqlFixMargin", m_sqlFixMargin);
    SetMargin(margin, number("SqlFixFitWindow", m_sqlFixFitWindow));
    const int indentKind = number("SqlFixIndentKind", m_sqlFixIndentKind);
    SetIndent(indentKind, number("SqlFixSpaceCount", m_sqlFixSpaceCount));
    SetCommaReturn(number("SqlFixCommaReturn", m_sqlFixCommaReturn));
    m_sqlFixKeywordLR = number("SqlFixKeywordLR", m_sqlFixKeywordLR);
    SetKeywordReturn(number("SqlFixKeywordRR", m_sqlFixKeywordRR));
    const int blockLR = number("SqlFixBlockLR", m_sqlFixBlockLR);
    SetBlockReturn(blockLR, number("SqlFixBlockRR", m_sqlFixBlockRR));
    SetBlockMargin(number("SqlFixBlockMargin", m_sqlFixBlockMargin));
}

void CSqlParser::SaveSettings(SettingsStore &store) const
{
    const QString section = QString::fromLatin1(SettingsSection);
    const auto text = [&](const char *name, const QString &value) {
        store.writeText(section, QString::fromLatin1(name), value);
    };
    const auto number = [&](const char *name, int value) {
        store.writeInt(section, QString::fromLatin1(name), value);
    };
    text("Syntaxes", m_syntaxes);
    text("LogicOps", m_logicOps);
    text("Quote", m_quote);
    text("WordMark1", m_wordMark1);
    text("WordMark2", m_wordMark2);
    text("Parhs1", m_parhs1);
    text("Parhs2", m_parhs2);
    text("BlockComment1", m_blockComment1);
    text("BlockComment2", m_blockComment2);
    text("LineComment", m_lineComment);
    number("SqlFixMargin", m_sqlFixMargin);
    number("SqlFixFitWindow", m_sqlFixFitWindow);
    number("SqlFixIndentKind", m_sqlFixIndentKind);
    number("SqlFixSpaceCount", m_sqlFixSpaceCount);
    number("SqlFixCommaReturn", m_sqlFixCommaReturn);
    number("SqlFixKeywordLR", m_sqlFixKeywordLR);
    number("SqlFixKeywordRR", m_sqlFixKeywordRR);
    number("SqlFixBlockLR", m_sqlFixBlockLR);
    number("SqlFixBlockRR", m_sqlFixBlockRR);
    number("SqlFixBlockMargin", m_sqlFixBlockMargin);
}
