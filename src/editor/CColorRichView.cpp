#include "CColorRichView.h"

#include "CFindReplaceDialog.h"

#include "platform/AppSettings.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

namespace {

constexpr int StyleProperty = QTextFormat::UserProperty + 1;
constexpr qsizetype MaxIndentRead = 2047;

// Ctrl+Y redoes on every platform, beside the platform's own redo key.
bool isRedoKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Y
           && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}

QString toCrLf(const QString &text)
{
    QString out = text;
    out.replace(u'\n', QLatin1String("\r\n"));
    return out;
}

} // namespace

CColorRichView::CColorRichView(QWidget *parent) : QPlainTextEdit(parent)
{
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setCenterOnScroll(false);

    QFont initial(QStringLiteral("Courier New"), 10);
    initial.setStyleHint(QFont::Monospace);
    setFont(initial);
    setTabStopDistance(logicalDpiX() / 5.0);

    QPalette colours = palette();
    colours.setColor(QPalette::Text, QColor(Qt::black));
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     ColorRef(InactiveSelection).color());
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(Qt::black));
    setPalette(colours);

    m_styles[SqlColourScanner::Keyword] = ColorRef(0xFF0000);
    m_styles[SqlColourScanner::Constant] = ColorRef(0x808080);
    m_styles[SqlColourScanner::Function] = ColorRef(0xFF00FF);
    m_styles[SqlColourScanner::Comment] = ColorRef(0x008000);
    m_styles[SqlColourScanner::Number] = ColorRef(0x0000FF);
    m_styles[SqlColourScanner::String] = ColorRef(0x0000FF);
    rebuildFormats();

    connect(document(), &QTextDocument::contentsChange, this, &CColorRichView::onContentsChange);
    connect(document(), &QTextDocument::contentsChanged, this,
            &CColorRichView::onContentsChanged);
}

CColorRichView::~CColorRichView()
{
    // The dialog is a child; make sure its signals cannot reach a half-destroyed editor.
    if (m_findDialog)
        m_findDialog->disconnect(this);
}

void CColorRichView::rebuildFormats()
{
    for (int i = 0; i < SqlColourScanner::StyleCount; ++i) {
        QTextCharFormat format;
        format.setForeground(m_styles[i].color());
        format.setFontWeight(m_styles[i].bold() ? QFont::Bold : QFont::Normal);
        format.setProperty(StyleProperty, i);
        m_formats[i] = format;
    }
}

void CColorRichView::ApplySettings(AppSettings &settings, const QString &databaseKeywords,
                                   const QString &databaseFunctions)
{
    m_scanner.setCaseSensitive(settings.caseSensitive == 1);
    m_scanner.setChangeCase(settings.changeCase == 1);
    m_scanner.setDelimiters(settings.delimiters);
    m_scanner.setComments(settings.lineComment, settings.blockComment, settings.blockComment2);
    if (settings.keywords.isEmpty())
        settings.keywords = m_scanner.keywords();
    if (settings.constants.isEmpty())
        settings.constants = m_scanner.constants();
    if (settings.functions.isEmpty())
        settings.functions = m_scanner.functions();
    QString keywords = settings.keywords;
    QString functions = settings.functions;
    if (settings.dbInfoColor == 1) {
        keywords += databaseKeywords;
        functions += databaseFunctions;
    }
    m_scanner.setLists(keywords, settings.constants, functions);

    m_styles[SqlColourScanner::Keyword] = settings.keywordColor;
    m_styles[SqlColourScanner::Constant] = settings.constantColor;
    m_styles[SqlColourScanner::Function] = settings.functionColor;
    m_styles[SqlColourScanner::Comment] = settings.commentColor;
    m_styles[SqlColourScanner::Number] = settings.numericColor;
    m_styles[SqlColourScanner::String] = settings.stringColor;
    rebuildFormats();
    RecolourAll();
}

void CColorRichView::ApplyFont(const QFont &font)
{
    setFont(font);
    document()->setDefaultFont(font);
    setTabStopDistance(4 * QFontMetricsF(font).horizontalAdvance(QLatin1Char('A')));
    viewport()->update();
}

// ---------------------------------------------------------------------------------------------
// Text and positions

QString CColorRichView::toEditorBreaks(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out.append(u'\n');
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            out.append(u'\n');
        } else {
            out.append(c);
        }
    }
    return out;
}

QString CColorRichView::Text() const
{
    return toCrLf(m_text);
}

void CColorRichView::SetText(const QString &text)
{
    const QString editorText = toEditorBreaks(text);
    {
        QScopedValueRollback<bool> internal(m_internalChange, true);
        setPlainText(editorText);
    }
    m_text = documentText(0, document()->characterCount() - 1);
    m_pending.clear();
    m_undoStack.clear();
    m_redoStack.clear();
    m_building.clear();
    m_changeKind = NoKind;
    RecolourAll();
    SetModified(false);
    Q_EMIT undoStateChanged();
}

qsizetype CColorRichView::TextLength() const
{
    return m_text.size() + document()->blockCount() - 1;
}

void CColorRichView::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

QString CColorRichView::documentText(qsizetype start, qsizetype end) const
{
    if (end <= start)
        return QString();
    QTextCursor cursor(document());
    cursor.setPosition(int(start));
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    for (QChar &c : text) {
        if (c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return text;
}

qsizetype CColorRichView::toExternal(qsizetype position) const
{
    position = qBound<qsizetype>(0, position, m_text.size());
    return position + document()->findBlock(int(position)).blockNumber();
}

qsizetype CColorRichView::toDocument(qsizetype position) const
{
    if (position <= 0)
        return 0;
    // The last block whose CR LF start is at or before the position.
    int low = 0;
    int high = document()->blockCount() - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (document()->findBlockByNumber(mid).position() + mid <= position)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = document()->findBlockByNumber(low);
    const qsizetype inBlock = position - (block.position() + low);
    // A position between CR and LF, or beyond the end, falls on the line's end.
    return block.position() + qMin<qsizetype>(inBlock, block.length() - 1);
}

qsizetype CColorRichView::lineStart(qsizetype position) const
{
    return document()->findBlock(int(qBound<qsizetype>(0, position, m_text.size()))).position();
}

qsizetype CColorRichView::lineEnd(qsizetype position) const
{
    const QTextBlock block =
        document()->findBlock(int(qBound<qsizetype>(0, position, m_text.size())));
    return block.position() + block.length() - 1;
}

qsizetype CColorRichView::SelectionStart() const
{
    return toExternal(textCursor().selectionStart());
}

qsizetype CColorRichView::SelectionEnd() const
{
    return toExternal(textCursor().selectionEnd());
}

void CColorRichView::SetSelection(qsizetype start, qsizetype end)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(toDocument(start)));
    cursor.setPosition(int(toDocument(end)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString CColorRichView::SelectedText() const
{
    const QTextCursor cursor = textCursor();
    return toCrLf(m_text.mid(cursor.selectionStart(),
                             cursor.selectionEnd() - cursor.selectionStart()));
}

void CColorRichView::replaceRange(qsizetype start, qsizetype end, const QString &text, int kind)
{
    QScopedValueRollback<int> changeKind(m_changeKind, kind);
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(start));
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    cursor.insertText(text);
    setTextCursor(cursor);
}

void CColorRichView::ReplaceSelection(const QString &text)
{
    const QTextCursor cursor = textCursor();
    replaceRange(cursor.selectionStart(), cursor.selectionEnd(), toEditorBreaks(text), Typing);
}

void CColorRichView::ReplaceSelectionOrAll(const QString &text)
{
    if (textCursor().hasSelection()) {
        ReplaceSelection(text);
        return;
    }
    replaceRange(0, m_text.size(), toEditorBreaks(text), Typing);
    QTextCursor cursor = textCursor();
    cursor.setPosition(0);
    setTextCursor(cursor);
}

// ---------------------------------------------------------------------------------------------
// Colouring

void CColorRichView::RecolourAll()
{
    Recolour(0, m_text.size());
}

void CColorRichView::Recolour(qsizetype start, qsizetype end)
{
    start = qMax<qsizetype>(0, start);
    end = qMin(end, m_text.size());
    if (start >= end || end - start > SqlColourScanner::MaxRange)
        return;
    const SqlColourScanner::Result result = m_scanner.scan(m_text, start, end);
    if (!result.caseChanges.isEmpty()) {
        // The new spelling has the old length, so the selection is put back as it was.
        QTextCursor user = textCursor();
        const int anchor = user.anchor();
        const int position = user.position();
        {
            QScopedValueRollback<bool> internal(m_internalChange, true);
            QTextCursor cursor(document());
            cursor.beginEditBlock();
            for (const auto &change : result.caseChanges) {
                cursor.setPosition(int(change.start));
                cursor.setPosition(int(change.start + change.spelling.size()),
                                   QTextCursor::KeepAnchor);
                cursor.insertText(change.spelling);
                m_text.replace(change.start, change.spelling.size(), change.spelling);
            }
            cursor.endEditBlock();
        }
        user.setPosition(anchor);
        user.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(user);
    }
    applyRanges(start, qMin(end + 1, m_text.size()), result);
}

void CColorRichView::clearColours(qsizetype start, qsizetype end)
{
    applyRanges(start, end, SqlColourScanner::Result());
}

void CColorRichView::applyRanges(qsizetype start, qsizetype end,
                                 const SqlColourScanner::Result &result)
{
    QTextDocument *doc = document();
    const auto &ranges = result.ranges;
    qsizetype next = 0;
    for (QTextBlock block = doc->findBlock(int(start)); block.isValid(); block = block.next()) {
        const qsizetype blockStart = block.position();
        if (blockStart > end || (blockStart == end && end > start))
            break;
        const qsizetype blockEnd = blockStart + block.length() - 1; // without the separator
        const qsizetype from = qMax(start, blockStart) - blockStart;
        const qsizetype to = qMin(end, blockEnd) - blockStart;

        QTextLayout *layout = block.layout();
        const QList<QTextLayout::FormatRange> old = layout->formats();
        QList<QTextLayout::FormatRange> formats;
        formats.reserve(old.size());
        // Colours outside the recoloured part of the line stay as they are.
        for (const auto &range : old) {
            const qsizetype rs = range.start;
            const qsizetype re = range.start + range.length;
            if (rs < from)
                formats.append({int(rs), int(qMin(re, from) - rs), range.format});
            if (re > to)
                formats.append({int(qMax(rs, to)), int(re - qMax(rs, to)), range.format});
        }
        while (next < ranges.size() && ranges[next].end <= blockStart)
            ++next;
        for (qsizetype i = next; i < ranges.size() && ranges[i].start < blockEnd; ++i) {
            const qsizetype rs = qMax(ranges[i].start, blockStart) - blockStart;
            const qsizetype re = qMin(ranges[i].end, blockEnd) - blockStart;
            if (re > rs)
                formats.append({int(rs), int(re - rs), m_formats[ranges[i].style]});
        }
        std::sort(formats.begin(), formats.end(),
                  [](const auto &a, const auto &b) { return a.start < b.start; });
        if (formats != old) {
            QScopedValueRollback<bool> internal(m_internalChange, true);
            layout->setFormats(formats);
            doc->markContentsDirty(block.position(), block.length());
        }
        if (blockEnd >= end)
            break;
    }
}

SqlColourScanner::Style CColorRichView::StyleAt(qsizetype position) const
{
    const qsizetype pos = toDocument(position);
    const QTextBlock block = document()->findBlock(int(pos));
    if (!block.isValid())
        return SqlColourScanner::StyleCount;
    const qsizetype inBlock = pos - block.position();
    for (const auto &range : block.layout()->formats()) {
        if (inBlock >= range.start && inBlock < range.start + range.length)
            return SqlColourScanner::Style(range.format.intProperty(StyleProperty));
    }
    return SqlColourScanner::StyleCount;
}

// ---------------------------------------------------------------------------------------------
// Change tracking

void CColorRichView::onContentsChange(int position, int removed, int added)
{
    if (m_internalChange)
        return;
    const qsizetype oldLength = m_text.size();
    const qsizetype newLength = document()->characterCount() - 1;
    qsizetype pos = position;
    qsizetype rem = removed;
    qsizetype add = added;
    // The document may report a wider window than the edit (and count its final separator);
    // fall back to the whole text when the window does not add up.
    if (pos > oldLength || pos > newLength) {
        pos = 0;
        rem = oldLength;
        add = newLength;
    }
    rem = qMin(rem, oldLength - pos);
    add = qMin(add, newLength - pos);
    if (oldLength - rem + add != newLength) {
        pos = 0;
        rem = oldLength;
        add = newLength;
    }
    QString before = m_text.mid(pos, rem);
    QString after = documentText(pos, pos + add);
    qsizetype prefix = 0;
    const qsizetype common = qMin(before.size(), after.size());
    while (prefix < common && before.at(prefix) == after.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < common - prefix
           && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
        ++suffix;
    if (prefix == before.size() && prefix == after.size())
        return; // formatting only
    before = before.mid(prefix, before.size() - prefix - suffix);
    after = after.mid(prefix, after.size() - prefix - suffix);
    const qsizetype start = pos + prefix;

    m_text.replace(start, before.size(), after);
    if (!m_applyingHistory)
        completeChange(start, before, after);
    SetModified(true);
    m_pending.append({start, start + after.size(), m_changeKind});
}

void CColorRichView::completeChange(qsizetype start, const QString &before, const QString &after)
{
    const EditorChange change{start, start + before.size(), start, start + after.size(), before,
                              after};
    if (!m_replaceAllRunning) {
        m_building.clear();
        m_redoStack.clear();
    }
    m_building.changes.append(change);
    if (!m_replaceAllRunning) {
        m_undoStack.append(m_building);
        m_building.clear();
    }
    Q_EMIT undoStateChanged();
}

void CColorRichView::onContentsChanged()
{
    if (m_internalChange || m_pending.isEmpty())
        return;
    const QList<PendingRecolour> pending = std::exchange(m_pending, {});
    bool all = false;
    for (const auto &p : pending)
        all = all || p.kind == NoKind || p.kind == OtherKey;
    if (all) {
        if (m_text.size() <= SqlColourScanner::MaxRange) {
            RecolourAll();
            return;
        }
    }
    for (const auto &p : pending)
        recolourAfterChange(p.start, p.end, all ? OtherKey : p.kind);
}

void CColorRichView::recolourAfterChange(qsizetype start, qsizetype end, int kind)
{
    const qsizetype from = lineStart(start);
    const qsizetype to = lineEnd(end);
    if (kind != NoKind && kind != OtherKey && to - from <= SqlColourScanner::MaxRange) {
        if (to > from)
            Recolour(from, to);
        else
            clearColours(from, to);
        return;
    }
    // Not coloured: do not leave the colours of the replaced text on the new one.
    clearColours(from, to);
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

void CColorRichView::Undo()
{
    if (m_undoStack.isEmpty())
        return;
    QScopedValueRollback<bool> applying(m_applyingHistory, true);
    const CQryUndoFrame step = m_undoStack.takeLast();
    CQryUndoFrame reverse;
    for (qsizetype i = step.changes.size() - 1; i >= 0; --i) {
        const EditorChange &change = step.changes.at(i);
        reverse.changes.append(change.reversed());
        replaceRange(change.newStart, change.newEnd, change.textBefore, Typing);
    }
    m_redoStack.append(reverse);
    Q_EMIT undoStateChanged();
}

void CColorRichView::Redo()
{
    if (m_redoStack.isEmpty())
        return;
    QScopedValueRollback<bool> applying(m_applyingHistory, true);
    const CQryUndoFrame step = m_redoStack.takeLast();
    CQryUndoFrame reverse;
    for (qsizetype i = step.changes.size() - 1; i >= 0; --i) {
        const EditorChange &change = step.changes.at(i);
        reverse.changes.append(change.reversed());
        replaceRange(change.newStart, change.newEnd, change.textBefore, Typing);
    }
    m_undoStack.append(reverse);
    Q_EMIT undoStateChanged();
}

// ---------------------------------------------------------------------------------------------
// Keyboard, clipboard, drag and drop

bool CColorRichView::event(QEvent *event)
{
    // Delete always goes to the editor, never to a window accelerator.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete || key->matches(QKeySequence::Undo)
            || key->matches(QKeySequence::Redo) || isRedoKey(key)) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void CColorRichView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    if (event->matches(QKeySequence::Redo) || isRedoKey(event)) {
        Redo();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !ctrl
        && !(mods & Qt::AltModifier)) {
        if (!isReadOnly())
            insertNewLine();
        return;
    }
    if (ctrl && !(mods & Qt::AltModifier)
        && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        moveWord(event->key() == Qt::Key_Right, mods & Qt::ShiftModifier);
        return;
    }
    int kind = OtherKey;
    if (event->key() == Qt::Key_Backspace && !ctrl)
        kind = BackspaceKey;
    else if (event->key() == Qt::Key_Delete && !ctrl)
        kind = DeleteKey;
    else if (!event->text().isEmpty() && !ctrl && event->text().at(0).isPrint())
        kind = Typing;
    else if (!event->text().isEmpty() && event->text() == QLatin1String("\t"))
        kind = Typing;
    QScopedValueRollback<int> changeKind(m_changeKind, kind);
    QPlainTextEdit::keyPressEvent(event);
}

void CColorRichView::inputMethodEvent(QInputMethodEvent *event)
{
    QScopedValueRollback<int> changeKind(m_changeKind, Typing);
    QPlainTextEdit::inputMethodEvent(event);
}

void CColorRichView::insertNewLine()
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = document()->findBlock(cursor.selectionStart());
    const QString line = block.text().left(MaxIndentRead);
    qsizetype n = 0;
    while (n < line.size() && (line.at(n) == u' ' || line.at(n) == u'\t'))
        ++n;
    // One change: the line break and the indentation are undone together.
    QScopedValueRollback<int> changeKind(m_changeKind, Typing);
    cursor.insertText(QLatin1Char('\n') + line.left(n));
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool CColorRichView::isWordBreakChar(QChar c) const
{
    return c == u'\n' || m_scanner.isWordBreak(c);
}

void CColorRichView::moveWord(bool forward, bool keepAnchor)
{
    QTextCursor cursor = textCursor();
    qsizetype p = cursor.position();
    const qsizetype n = m_text.size();
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    if (forward) {
        if (p < n && m_text.at(p) == u'\n') {
            ++p;
        } else if (p < n && !isWordBreakChar(m_text.at(p))) {
            while (p < n && !isWordBreakChar(m_text.at(p)))
                ++p;
        } else if (p < n && !isBlank(m_text.at(p))) {
            ++p;
        }
        while (p < n && isBlank(m_text.at(p)))
            ++p;
    } else {
        while (p > 0 && isBlank(m_text.at(p - 1)))
            --p;
        if (p > 0 && m_text.at(p - 1) != u'\n' && !isWordBreakChar(m_text.at(p - 1))) {
            while (p > 0 && !isWordBreakChar(m_text.at(p - 1)))
                --p;
        } else if (p > 0 && p == cursor.position()) {
            --p;
        }
    }
    cursor.setPosition(int(p), keepAnchor ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    setTextCursor(cursor);
}

void CColorRichView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    const qsizetype p = cursorForPosition(event->position().toPoint()).position();
    qsizetype start = p;
    qsizetype end = p;
    while (start > 0 && !isWordBreakChar(m_text.at(start - 1)))
        --start;
    while (end < m_text.size() && !isWordBreakChar(m_text.at(end)))
        ++end;
    if (start == end) {
        QPlainTextEdit::mouseDoubleClickEvent(event);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(start));
    cursor.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    event->accept();
}

void CColorRichView::contextMenuEvent(QContextMenuEvent *event)
{
    Q_EMIT contextMenuRequested(event->globalPos());
    event->accept();
}

void CColorRichView::CutSelection()
{
    QScopedValueRollback<int> changeKind(m_changeKind, Cut);
    cut();
}

void CColorRichView::CopySelection()
{
    copy();
}

void CColorRichView::PasteClipboard()
{
    QScopedValueRollback<int> changeKind(m_changeKind, Paste);
    paste();
}

bool CColorRichView::CanPaste() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return !isReadOnly() && data && data->hasText();
}

bool CColorRichView::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() || source->hasUrls();
}

void CColorRichView::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    // Plain text only, with the editor's line breaks.
    const QString text = toEditorBreaks(source->text());
    QScopedValueRollback<int> changeKind(m_changeKind, m_changeKind == NoKind ? Paste
                                                                               : m_changeKind);
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

namespace {

QStringList localFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

void CColorRichView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void CColorRichView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!localFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void CColorRichView::dropEvent(QDropEvent *event)
{
    const QStringList files = localFiles(event->mimeData());
    if (!files.isEmpty()) {
        event->acceptProposedAction();
        Q_EMIT filesDropped(files);
        return;
    }
    const bool move = event->source() == this && event->dropAction() == Qt::MoveAction;
    QScopedValueRollback<int> changeKind(m_changeKind, move ? DragMove : Paste);
    QPlainTextEdit::dropEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Find and replace

void CColorRichView::showMessage(const QString &text)
{
    if (m_message) {
        m_message(text);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Qorvane"), text, QMessageBox::Ok);
}

void CColorRichView::setFindOptions(const QString &findText, bool matchCase, bool wholeWord,
                                    bool searchDown)
{
    m_findText = findText;
    m_matchCase = matchCase;
    m_wholeWord = wholeWord;
    m_searchDown = searchDown;
}

bool CColorRichView::Search(bool wrap, bool skipSelection, bool message)
{
    const QString needle = toEditorBreaks(m_findText);
    if (needle.isEmpty())
        return false;
    const Qt::CaseSensitivity cs = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype n = m_text.size();
    const qsizetype length = needle.size();
    const auto wholeWordAt = [&](qsizetype at) {
        if (!m_wholeWord)
            return true;
        const bool left = at == 0 || isWordBreakChar(m_text.at(at - 1));
        const bool right = at + length >= n || isWordBreakChar(m_text.at(at + length));
        return left && right;
    };
    // First match starting in [from, to) that ends within the text.
    const auto forward = [&](qsizetype from, qsizetype to) -> qsizetype {
        qsizetype at = from;
        while (at < to) {
            at = m_text.indexOf(needle, at, cs);
            if (at < 0 || at >= to)
                return -1;
            if (wholeWordAt(at))
                return at;
            ++at;
        }
        return -1;
    };
    // Last match ending at or before `to` and starting at or after `from`.
    const auto backward = [&](qsizetype from, qsizetype to) -> qsizetype {
        qsizetype at = to - length;
        while (at >= from) {
            at = m_text.lastIndexOf(needle, at, cs);
            if (at < from)
                return -1;
            if (wholeWordAt(at))
                return at;
            --at;
        }
        return -1;
    };

    const QTextCursor cursor = textCursor();
    const qsizetype selStart = cursor.selectionStart();
    const qsizetype selEnd = cursor.selectionEnd();
    qsizetype found = -1;
    if (m_searchDown) {
        const qsizetype from = skipSelection ? selEnd : selStart;
        found = forward(from, n);
        if (found < 0 && wrap)
            found = forward(0, from);
    } else {
        const qsizetype from = skipSelection ? selStart : selEnd;
        found = backward(0, from);
        if (found < 0 && wrap)
            found = backward(from, n);
    }
    if (found < 0) {
        if (message)
            showMessage(QStringLiteral("文字列  '%1'  が見つかりません").arg(m_findText));
        return false;
    }
    QTextCursor select = textCursor();
    select.setPosition(int(found));
    select.setPosition(int(found + length), QTextCursor::KeepAnchor);
    setTextCursor(select);
    m_lastFoundStart = found;
    m_lastFoundEnd = found + length;
    return true;
}

void CColorRichView::FindNext()
{
    if (m_findText.isEmpty()) {
        OpenFindDialog();
        return;
    }
    m_searchDown = true;
    Search(true, true, true);
}

void CColorRichView::FindPrevious()
{
    if (m_findText.isEmpty()) {
        OpenFindDialog();
        return;
    }
    m_searchDown = false;
    Search(true, true, true);
}

void CColorRichView::ReplaceOne()
{
    if (!Search(true, false, true))
        return;
    ReplaceSelection(m_replaceText);
    Search(true, true, false);
}

int CColorRichView::ReplaceAll()
{
    m_searchDown = true;
    m_building.clear();
    m_redoStack.clear();
    m_replaceAllRunning = true;
    QTextCursor cursor = textCursor();
    cursor.setPosition(0);
    setTextCursor(cursor);
    int count = 0;
    if (Search(false, false, true)) {
        while (Search(false, false, false)) {
            ReplaceSelection(m_replaceText);
            ++count;
            Search(false, true, false);
        }
        showMessage(QStringLiteral(" %1 個のアイテムを置換しました。").arg(count));
    }
    m_replaceAllRunning = false;
    if (!m_building.isEmpty())
        m_undoStack.append(m_building);
    m_building.clear();
    Q_EMIT undoStateChanged();
    return count;
}

void CColorRichView::OpenFindDialog()
{
    openFind(false);
}

void CColorRichView::OpenReplaceDialog()
{
    openFind(true);
}

void CColorRichView::takeDialogOptions()
{
    if (!m_findDialog)
        return;
    m_findText = m_findDialog->findText();
    m_matchCase = m_findDialog->matchCase();
    m_wholeWord = m_findDialog->wholeWord();
}

void CColorRichView::openFind(bool replace)
{
    if (m_findDialog)
        return;
    auto *dialog = new CFindReplaceDialog(replace, this);
    const QString selected = SelectedText();
    dialog->setFindText(selected.isEmpty() ? m_findText : selected);
    dialog->setReplaceText(m_replaceText);
    dialog->setOptions(m_matchCase, m_wholeWord, m_searchDown);
    connect(dialog, &CFindReplaceDialog::findNextRequested, this, [this] {
        takeDialogOptions();
        m_searchDown = m_findDialog->searchDown();
        Search(true, true, true);
    });
    connect(dialog, &CFindReplaceDialog::replaceRequested, this, [this] {
        takeDialogOptions();
        m_replaceText = m_findDialog->replaceText();
        m_searchDown = m_findDialog->searchDown();
        ReplaceOne();
    });
    connect(dialog, &CFindReplaceDialog::replaceAllRequested, this, [this] {
        takeDialogOptions();
        m_replaceText = m_findDialog->replaceText();
        ReplaceAll();
    });
    m_findDialog = dialog;
    dialog->show();
}

void CColorRichView::JumpToLine(int line)
{
    const QTextBlock block = document()->findBlockByNumber(qMax(0, line - 1));
    if (!block.isValid())
        return;
    QTextCursor cursor = textCursor();
    cursor.setPosition(block.position());
    setTextCursor(cursor);
    ensureCursorVisible();
}
