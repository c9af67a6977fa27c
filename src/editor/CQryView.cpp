#include "CQryView.h"

#include "CColorRichView.h"
#include "CDlgParamInput.h"

#include "db/CADOCommand.h"
#include "platform/AppSettings.h"
#include "sql/ScriptPreparation.h"
#include "widgets/CommandIds.h"

#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

QList<CQryView *> &views()
{
    static QList<CQryView *> list;
    return list;
}

// Printing margins: half an inch on every side.
constexpr qreal PrintMarginInches = 0.5;

} // namespace

CQryView::CQryView(QWidget *parent) : QWidget(parent)
{
    m_editor = new CColorRichView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editor);
    setFocusProxy(m_editor);

    connect(m_editor, &CColorRichView::filesDropped, this, &CQryView::filesDropped);
    connect(m_editor, &CColorRichView::modifiedChanged, this, &CQryView::modifiedChanged);
    connect(m_editor, &CColorRichView::contextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = createContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(pos);
    });
    views().append(this);
    // Set up at once so the text is coloured by the settings even before the view is shown.
    ApplySettings();
    m_setUp = true;
}

CQryView::~CQryView()
{
    views().removeAll(this);
}

QList<CQryView *> CQryView::allViews()
{
    return views();
}

void CQryView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_setUp) {
        ApplySettings();
        m_setUp = true;
    }
}

void CQryView::ApplySettings()
{
    m_editor->ApplySettings(AppSettings::instance(), m_databaseKeywords, m_databaseProcedures);
    applyFont();
}

void CQryView::SetDatabaseWords(const QString &keywords, const QString &procedureNames)
{
    m_databaseKeywords = keywords;
    m_databaseProcedures = procedureNames;
    ApplySettings();
}

void CQryView::applyFont()
{
    m_editor->ApplyFont(AppSettings::instance().qViewFont.toQFont(logicalDpiY()));
}

void CQryView::ApplyEditorFontToAll()
{
    for (CQryView *view : views())
        view->applyFont();
}

void CQryView::ApplySettingsToAll()
{
    for (CQryView *view : views())
        view->ApplySettings();
}

QString CQryView::Text() const
{
    return m_editor->Text();
}

void CQryView::SetText(const QString &text)
{
    m_editor->SetText(text);
}

bool CQryView::IsModified() const
{
    return m_editor->IsModified();
}

void CQryView::SetModified(bool modified)
{
    m_editor->SetModified(modified);
}

QString CQryView::selectionOrAll(bool *hasSelection) const
{
    const QString selected = m_editor->SelectedText();
    if (hasSelection)
        *hasSelection = !selected.isEmpty();
    return selected.isEmpty() ? m_editor->Text() : selected;
}

QString CQryView::TextForFormat() const
{
    return selectionOrAll(nullptr);
}

QString CQryView::TextForExecution() const
{
    const QString text = selectionOrAll(nullptr);
    if (AppSettings::instance().commentOut == 0 && !text.isEmpty())
        return ScriptPreparation::RemoveComments(text);
    return text;
}

void CQryView::ReplaceSelectionOrAll(const QString &text)
{
    m_editor->ReplaceSelectionOrAll(text);
}

void CQryView::AppendGenerated(const QString &text, bool execute)
{
    const qsizetype end = m_editor->TextLength();
    const QString lead = m_editor->IsEmpty() ? QString() : QStringLiteral("\r\n");
    m_editor->SetSelection(end, end);
    m_editor->ReplaceSelection(lead + text);
    const qsizetype newEnd = m_editor->TextLength();
    m_editor->SetSelection(end + lead.size(), newEnd);
    m_editor->ensureCursorVisible();
    m_editor->setFocus();
    if (execute)
        Q_EMIT executeRequested();
}

void CQryView::setParamContextProvider(ParamContextProvider provider)
{
    m_paramContext = std::move(provider);
}

void CQryView::setMessageHandler(MessageHandler handler)
{
    m_message = handler;
    m_editor->setMessageHandler(std::move(handler));
}

void CQryView::showMessage(const QString &text)
{
    if (m_message) {
        m_message(text);
        return;
    }
    QMessageBox::information(this, QStringLiteral("Qorvane"), text, QMessageBox::Ok);
}

QString CQryView::noParameterMessage()
{
    return QStringLiteral("置換できるパラメータがありません\r\n"
                          "置換できるパラメータ(「:」、「@」)以下のようです：\r\n"
                          "    WHERE field1 = :field1\r\n"
                          "        AND field2 = @field2");
}

void CQryView::SubstituteParametersCommand()
{
    if (!m_paramContext)
        return;
    bool hasSelection = false;
    QString text = selectionOrAll(&hasSelection);
    if (text.isEmpty())
        return;
    const ParamPreparationContext context = m_paramContext();
    ParamPreparationResult result;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        result = PrepareParameters(context, text, false,
                                   [this](QList<ParamValue> &values, bool showIgnore,
                                          bool *ignored, bool *replaceInText) {
                                       QApplication::restoreOverrideCursor();
                                       const bool ok = CDlgParamInput::Ask(
                                           this, values, showIgnore, ignored, replaceInText);
                                       QApplication::setOverrideCursor(Qt::WaitCursor);
                                       return ok;
                                   });
        QApplication::restoreOverrideCursor();
    }
    if (result.parameterised) {
        const CADOCommand *command = context.command ? context.command->get() : nullptr;
        if (!command || command->GetParameterCount() == 0) {
            showMessage(noParameterMessage());
            return;
        }
        const QString substituted = SubstituteParameters(*command);
        if (hasSelection)
            m_editor->ReplaceSelection(substituted);
        else
            m_editor->ReplaceSelectionOrAll(substituted);
        return;
    }
    if (!result.cancelled)
        showMessage(noParameterMessage());
}

// ---------------------------------------------------------------------------------------------
// Commands

bool CQryView::handlesCommand(int id) const
{
    switch (id) {
    case Cmd::EditUndo:
    case Cmd::EditRedo:
    case Cmd::EditCut:
    case Cmd::EditCopy:
    case Cmd::EditPaste:
    case Cmd::EditSelectAll:
    case Cmd::EditFind:
    case Cmd::EditFindNext:
    case Cmd::EditFindPrevious:
    case Cmd::EditReplace:
    case Cmd::EditJump:
    case Cmd::EditorFont:
    case Cmd::FilePrint:
    case Cmd::FilePrintPreview:
        return true;
    case Cmd::ParamSubstitute:
        return bool(m_paramContext);
    default:
        return false;
    }
}

CommandTarget::State CQryView::commandState(int id) const
{
    State state;
    const bool hasSelection = m_editor->textCursor().hasSelection();
    switch (id) {
    case Cmd::EditUndo:
        state.enabled = m_editor->CanUndo();
        break;
    case Cmd::EditRedo:
        state.enabled = m_editor->CanRedo();
        break;
    case Cmd::EditCut:
        state.enabled = hasSelection && !m_editor->isReadOnly();
        break;
    case Cmd::EditCopy:
        state.enabled = hasSelection;
        break;
    case Cmd::EditPaste:
        state.enabled = m_editor->CanPaste();
        break;
    case Cmd::EditSelectAll:
    case Cmd::EditFind:
    case Cmd::EditFindNext:
    case Cmd::EditFindPrevious:
    case Cmd::EditReplace:
    case Cmd::EditJump:
        state.enabled = !m_editor->IsEmpty() || id == Cmd::EditFind || id == Cmd::EditReplace;
        break;
    case Cmd::ParamSubstitute: {
        if (!m_paramContext) {
            state.enabled = false;
            break;
        }
        const ParamPreparationContext context = m_paramContext();
        state.enabled = context.session && !context.isJet && !m_editor->IsEmpty();
        break;
    }
    default:
        break;
    }
    return state;
}

void CQryView::runCommand(int id)
{
    switch (id) {
    case Cmd::EditUndo:
        m_editor->Undo();
        break;
    case Cmd::EditRedo:
        m_editor->Redo();
        break;
    case Cmd::EditCut:
        m_editor->CutSelection();
        break;
    case Cmd::EditCopy:
        m_editor->CopySelection();
        break;
    case Cmd::EditPaste:
        m_editor->PasteClipboard();
        break;
    case Cmd::EditSelectAll:
        m_editor->selectAll();
        break;
    case Cmd::EditFind:
        m_editor->OpenFindDialog();
        break;
    case Cmd::EditFindNext:
        m_editor->FindNext();
        break;
    case Cmd::EditFindPrevious:
        m_editor->FindPrevious();
        break;
    case Cmd::EditReplace:
        m_editor->OpenReplaceDialog();
        break;
    case Cmd::EditJump:
        jump();
        break;
    case Cmd::ParamSubstitute:
        SubstituteParametersCommand();
        break;
    case Cmd::EditorFont:
        chooseFont();
        break;
    case Cmd::FilePrint:
        print(false);
        break;
    case Cmd::FilePrintPreview:
        print(true);
        break;
    default:
        break;
    }
}

void CQryView::chooseFont()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_editor->font(), this);
    if (!ok)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    AppSettings::instance().qViewFont = LogFont::fromQFont(font, logicalDpiY());
    ApplyEditorFontToAll();
    QApplication::restoreOverrideCursor();
}

void CQryView::jump()
{
    bool ok = false;
    const int lines = m_editor->document()->blockCount();
    const int current = m_editor->textCursor().blockNumber() + 1;
    const int line = QInputDialog::getInt(this, QStringLiteral("ジャンプ"),
                                          QStringLiteral("行番号："), current, 1, lines, 1,
                                          &ok);
    if (ok)
        m_editor->JumpToLine(line);
}

void CQryView::print(bool preview)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(PrintMarginInches, PrintMarginInches, PrintMarginInches,
                                     PrintMarginInches),
                           QPageLayout::Inch);
    if (preview) {
        QPrintPreviewDialog dialog(&printer, this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, m_editor,
                [this](QPrinter *target) { m_editor->print(target); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, this);
    if (m_editor->textCursor().hasSelection())
        dialog.setOption(QAbstractPrintDialog::PrintSelection);
    if (dialog.exec() == QDialog::Accepted)
        m_editor->print(&printer);
}

QMenu *CQryView::createContextMenu()
{
    auto *menu = new QMenu(this);
    const auto add = [this](QMenu *target, int id, const QString &label) {
        QAction *action = target->addAction(label);
        if (handlesCommand(id)) {
            action->setEnabled(commandState(id).enabled);
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
        } else {
            connect(action, &QAction::triggered, this, [this, id] { Q_EMIT commandRequested(id); });
        }
    };
    add(menu, Cmd::EditCut, QStringLiteral("切り取り(&T)\tCtrl+X"));
    add(menu, Cmd::EditCopy, QStringLiteral("ｺﾋﾟｰ(&C)\tCtrl+C"));
    add(menu, Cmd::EditPaste, QStringLiteral("貼り付け(&P)\tCtrl+V"));
    add(menu, Cmd::EditSelectAll, QStringLiteral("すべて選択(&S)\tCtrl+A"));
    menu->addSeparator();
    QMenu *other = menu->addMenu(QStringLiteral("その他編集(&E)"));
    add(other, Cmd::EditUndo, QStringLiteral("元に戻す(&U)\tCtrl+Z"));
    add(other, Cmd::EditRedo, QStringLiteral("繰り返す\tCtrl+Y"));
    other->addSeparator();
    add(other, Cmd::EditFind, QStringLiteral("検索(&F)...\tCtrl+F"));
    add(other, Cmd::EditFindPrevious, QStringLiteral("前を検索(R)\tShift+F3"));
    add(other, Cmd::EditFindNext, QStringLiteral("次を検索(&I)\tF3"));
    add(other, Cmd::EditReplace, QStringLiteral("置換(&E)\tCtrl+H"));
    add(other, Cmd::EditJump, QStringLiteral("ジャンプ(&G)...\tCtrl+G"));
    menu->addSeparator();
    add(menu, Cmd::Execute, QStringLiteral("実行(&E)\tF5"));
    add(menu, Cmd::Cancel, QStringLiteral("実行のキャンセル(&C)\tEsc"));
    add(menu, Cmd::Commit, QStringLiteral("COMMIT\tF11"));
    add(menu, Cmd::Rollback, QStringLiteral("ROLLBACK\tF12"));
    menu->addSeparator();
    add(menu, Cmd::Format, QStringLiteral("整形\tF7"));
    add(menu, Cmd::FormatOptions, QStringLiteral("整形設定(&S)"));
    add(menu, Cmd::ParamSubstitute, QStringLiteral("パラメータ置換\tCtrl+R"));
    add(menu, Cmd::EditorFont, QStringLiteral("フォント(&F)"));
    menu->addSeparator();
    QMenu *printing = menu->addMenu(QStringLiteral("印刷機能"));
    add(printing, Cmd::FilePrint, QStringLiteral("印刷(&P)...\tCtrl+P"));
    add(printing, Cmd::FilePrintPreview, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"));
    add(printing, Cmd::FilePrintSetup, QStringLiteral("ﾌﾟﾘﾝﾀの設定(&R)..."));
    return menu;
}
