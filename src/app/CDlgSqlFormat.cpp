#include "CDlgSqlFormat.h"

#include "platform/AppSettings.h"
#include "sql/CSqlParser.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

constexpr int kSymbolMaxLength = 10;
constexpr int kMarginMin = 1;
constexpr int kMarginMax = 1000;

// Refuses typing beyond the limit; text put in by the program is not cut, so a longer stored
// value survives until the user changes it (and OK then reports it).
class LengthValidator : public QValidator
{
public:
    LengthValidator(int maxLength, QObject *parent)
        : QValidator(parent)
        , m_maxLength(maxLength)
    {
    }
    State validate(QString &input, int &) const override
    {
        return input.size() <= m_maxLength ? Acceptable : Invalid;
    }

private:
    int m_maxLength;
};

QString toEditorText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString fromEditorText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QFont editorFont()
{
    LogFont font = AppSettings::instance().qViewFont;
    if (font.faceName.isEmpty())
        font = LogFont::defaultFont(LogFont::Variant::Editor);
    return font.toQFont();
}

} // namespace

CDlgSqlFormat::CDlgSqlFormat(QWidget *parent, CSqlParser *target)
    : QDialog(parent)
    , m_target(target ? target : &CSqlParser::application())
{
    setWindowTitle(QStringLiteral("整形設定"));
    buildControls();
    fillFrom(*m_target);
    m_sample->setPlainText(toEditorText(sampleStatement()));
    // The sample starts laid out with the values the controls show, which are the
    // formatter's own; every later refresh uses the controls as well.
    refreshSample();
}

QString CDlgSqlFormat::sampleStatement()
{
    return QStringLiteral(
        "SELECT TB1.FIELD1, DECODE(TB1.FIELD2, '1', '1', '2', '2', '0') AS FIELD2, (CASE WHEN "
        "TB1.FIELD3 = '1' THEN 1 ELSE 2 END) AS FIELD3, MIN(TB2.FIELD4) AS FIELD4, "
        "MAX(TB2.FIELD5) AS FIELD5 FROM TABLE1 TB1, TABLE2 TB2 WHERE TB1.FIELD1 = TB2.FIELD1 "
        "AND TB1.FIELD2 = TB2.FIELD2 AND TB2.FIELD3 IN ('1', '11', '111', '1111', '11111', "
        "'111111', '1111111', '11111111') GROUP BY TB1.FIELD1, TB1.FIELD2, TB2.FIELD3 ORDER BY "
        "TB1.FIELD1 DESC, TB2.FIELD3 ASC");
}

void CDlgSqlFormat::buildControls()
{
    const auto lineEdit = [this](const char *name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setValidator(new LengthValidator(kSymbolMaxLength, edit));
        edit->setMaximumWidth(72);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this] { m_textChanged = true; });
        return edit;
    };
    const auto listEdit = [this](const char *name) {
        auto *edit = new QPlainTextEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setTabChangesFocus(true);
        edit->setMinimumWidth(220);
        edit->installEventFilter(this);
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { m_textChanged = true; });
        return edit;
    };
    const auto radio = [this](const QString &text, const char *name) {
        auto *button = new QRadioButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    const auto check = [this](const QString &text, const char *name) {
        auto *box = new QCheckBox(text, this);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };

    // Symbol lists.
    auto *lists = new QGroupBox(QStringLiteral("その他（カンマ区切り）"), this);
    auto *listsLayout = new QVBoxLayout(lists);
    listsLayout->addWidget(new QLabel(QStringLiteral("SQLキーワード"), lists));
    m_syntaxes = listEdit("Syntaxes");
    listsLayout->addWidget(m_syntaxes, 2);
    listsLayout->addWidget(new QLabel(QStringLiteral("SQLロジックオペレータ"), lists));
    m_logicOps = listEdit("LogicOps");
    listsLayout->addWidget(m_logicOps, 1);
    auto *symbols = new QGridLayout;
    const auto pairRow = [&](int row, const QString &label, QLineEdit *open, QLineEdit *close) {
        symbols->addWidget(new QLabel(label, lists), row, 0);
        symbols->addWidget(open, row, 1);
        if (close) {
            symbols->addWidget(new QLabel(QStringLiteral("-"), lists), row, 2, Qt::AlignCenter);
            symbols->addWidget(close, row, 3);
        }
    };
    m_parhs1 = lineEdit("Parhs1");
    m_parhs2 = lineEdit("Parhs2");
    m_quote = lineEdit("Quote");
    m_blockComment1 = lineEdit("BlockComment1");
    m_blockComment2 = lineEdit("BlockComment2");
    m_lineComment = lineEdit("LineComment");
    m_wordMark1 = lineEdit("WordMark1");
    m_wordMark2 = lineEdit("WordMark2");
    pairRow(0, QStringLiteral("括弧："), m_parhs1, m_parhs2);
    pairRow(1, QStringLiteral("ｸｫｰﾃｰｼｮﾝ："), m_quote, nullptr);
    pairRow(2, QStringLiteral("ﾌﾞﾛｯｸ ｺﾒﾝﾄ："), m_blockComment1, m_blockComment2);
    pairRow(3, QStringLiteral("ﾗｲﾝｺﾒﾝﾄ："), m_lineComment, nullptr);
    pairRow(4, QStringLiteral("ﾌｨｰﾙﾄﾞﾏｰｸ："), m_wordMark1, m_wordMark2);
    symbols->setColumnStretch(4, 1);
    listsLayout->addLayout(symbols);

    // Wrapping.
    auto *wrap = new QGroupBox(QStringLiteral("折返し"), this);
    auto *wrapLayout = new QGridLayout(wrap);
    m_marginByCount = radio(QStringLiteral("文字数："), "MarginByCount");
    m_margin = new QLineEdit(wrap);
    m_margin->setObjectName(QStringLiteral("Margin"));
    const QRegularExpression digits(QStringLiteral("[0-9]{0,4}"));
    m_margin->setValidator(new QRegularExpressionValidator(digits, m_margin));
    m_margin->setMaximumWidth(60);
    m_margin->installEventFilter(this);
    connect(m_margin, &QLineEdit::textEdited, this, [this] { m_textChanged = true; });
    m_fitWindow = radio(QStringLiteral("幅に合わせる"), "FitWindow");
    wrapLayout->addWidget(m_marginByCount, 0, 0);
    wrapLayout->addWidget(m_margin, 0, 1);
    wrapLayout->addWidget(m_fitWindow, 1, 0, 1, 2);
    auto *wrapGroup = new QButtonGroup(this);
    wrapGroup->addButton(m_marginByCount);
    wrapGroup->addButton(m_fitWindow);

    // Indent width.
    auto *tabs = new QGroupBox(QStringLiteral("タブの文字数"), this);
    auto *tabsLayout = new QGridLayout(tabs);
    m_tab2 = radio(QStringLiteral("2"), "Tab2");
    m_tab4 = radio(QStringLiteral("4"), "Tab4");
    m_tab8 = radio(QStringLiteral("8"), "Tab8");
    m_tabSpaces = check(QStringLiteral("タブで空白入力"), "TabSpaces");
    m_tabSpaces->setEnabled(false);
    tabsLayout->addWidget(m_tab2, 0, 0);
    tabsLayout->addWidget(m_tab4, 0, 1);
    tabsLayout->addWidget(m_tab8, 0, 2);
    tabsLayout->addWidget(m_tabSpaces, 1, 0, 1, 3);
    auto *tabGroup = new QButtonGroup(this);
    for (QRadioButton *button : {m_tab2, m_tab4, m_tab8})
        tabGroup->addButton(button);

    // Commas.
    auto *comma = new QGroupBox(QStringLiteral("カンマ（，）改行"), this);
    auto *commaLayout = new QVBoxLayout(comma);
    m_commaLeft = radio(QStringLiteral("左改行"), "CommaLeft");
    m_commaRight = radio(QStringLiteral("右改行"), "CommaRight");
    m_commaOneLine = radio(QStringLiteral("可能なら一行に配置"), "CommaOneLine");
    auto *commaGroup = new QButtonGroup(this);
    for (QRadioButton *button : {m_commaLeft, m_commaRight, m_commaOneLine}) {
        commaLayout->addWidget(button);
        commaGroup->addButton(button);
    }

    // Blocks.
    auto *block = new QGroupBox(QStringLiteral("ブロック（括弧等）"), this);
    auto *blockLayout = new QVBoxLayout(block);
    m_blockLR = check(QStringLiteral("外に改行"), "BlockLR");
    m_blockRR = check(QStringLiteral("中に改行"), "BlockRR");
    m_blockMargin = check(QStringLiteral("可能なら一行に配置"), "BlockMargin");
    for (QCheckBox *box : {m_blockLR, m_blockRR, m_blockMargin})
        blockLayout->addWidget(box);

    m_keywordRR = check(QStringLiteral("キーワードの右を改行する"), "KeywordRR");

    // The sample.
    m_sample = new QTextEdit(this);
    m_sample->setObjectName(QStringLiteral("Sample"));
    m_sample->setAcceptRichText(false);
    m_sample->setLineWrapMode(QTextEdit::NoWrap);
    m_sample->setFont(editorFont());
    const qreal a = QFontMetricsF(m_sample->font()).horizontalAdvance(QLatin1Char('A'));
    m_sample->setTabStopDistance(4 * a);
    m_sample->setMinimumSize(420, 260);

    const auto button = [this](const QString &text, const char *name) {
        auto *push = new QPushButton(text, this);
        push->setObjectName(QString::fromLatin1(name));
        push->setAutoDefault(false);
        return push;
    };
    QPushButton *ok = button(QStringLiteral("OK"), "OkButton");
    ok->setDefault(true);
    QPushButton *cancel = button(QStringLiteral("ｷｬﾝｾﾙ"), "CancelButton");
    QPushButton *reformat = button(QStringLiteral("SQLサンプルを再整形"), "ReformatButton");
    QPushButton *defaults = button(QStringLiteral("ディフォルト値に戻る"), "DefaultsButton");
    connect(ok, &QPushButton::clicked, this, &CDlgSqlFormat::accept);
    connect(cancel, &QPushButton::clicked, this, &CDlgSqlFormat::reject);
    connect(reformat, &QPushButton::clicked, this, &CDlgSqlFormat::refreshSample);
    connect(defaults, &QPushButton::clicked, this, &CDlgSqlFormat::restoreDefaults);

    // Any click on a radio button or check box re-lays out the sample; the wrap choice also
    // switches the number box first.
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *>{
             m_marginByCount, m_fitWindow, m_tab2, m_tab4, m_tab8, m_tabSpaces, m_commaLeft,
             m_commaRight, m_commaOneLine, m_blockLR, m_blockRR, m_blockMargin, m_keywordRR}) {
        connect(b, &QAbstractButton::clicked, this, [this] {
            updateMarginEnabled();
            refreshSample();
        });
    }

    // Layout: lists on the left; options and the sample on the right; buttons below.
    auto *options = new QGridLayout;
    options->addWidget(wrap, 0, 0);
    options->addWidget(tabs, 0, 1);
    options->addWidget(comma, 1, 0);
    options->addWidget(block, 1, 1);
    options->addWidget(m_keywordRR, 2, 0, 1, 2);
    auto *right = new QVBoxLayout;
    right->addLayout(options);
    right->addWidget(m_sample, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(lists, 0);
    top->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(reformat);
    buttons->addWidget(defaults);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(900, 600);
}

void CDlgSqlFormat::fillFrom(const CSqlParser &parser)
{
    m_syntaxes->setPlainText(parser.GetSyntaxes());
    m_logicOps->setPlainText(parser.GetLogicOps());
    m_parhs1->setText(parser.GetParhs1());
    m_parhs2->setText(parser.GetParhs2());
    m_quote->setText(parser.GetQuote());
    m_blockComment1->setText(parser.GetBlockComment1());
    m_blockComment2->setText(parser.GetBlockComment2());
    m_lineComment->setText(parser.GetLineComment());
    m_wordMark1->setText(parser.GetWordMark1());
    m_wordMark2->setText(parser.GetWordMark2());
    m_margin->setText(QString::number(parser.GetMargin()));
    (parser.GetFitWindow() ? m_fitWindow : m_marginByCount)->setChecked(true);
    const int spaces = parser.GetSpaceCount();
    (spaces == 2 ? m_tab2 : spaces == 8 ? m_tab8 : m_tab4)->setChecked(true);
    m_tabSpaces->setChecked(parser.GetIndentKind() != 0);
    const int comma = parser.GetCommaReturn();
    (comma == 1 ? m_commaRight : comma == 2 ? m_commaOneLine : m_commaLeft)->setChecked(true);
    m_blockLR->setChecked(parser.GetBlockLR() != 0);
    m_blockRR->setChecked(parser.GetBlockRR() != 0);
    m_blockMargin->setChecked(parser.GetBlockMargin() != 0);
    m_keywordRR->setChecked(parser.GetKeywordReturn() != 0);
    updateMarginEnabled();
    m_textChanged = false;
}

void CDlgSqlFormat::applyTo(CSqlParser &parser, bool forSample) const
{
    parser.SetSyntaxes(m_syntaxes->toPlainText());
    parser.SetLogicOps(m_logicOps->toPlainText());
    parser.SetParhs(m_parhs1->text(), m_parhs2->text());
    parser.SetQuote(m_quote->text());
    parser.SetBlockComment(m_blockComment1->text(), m_blockComment2->text());
    parser.SetLineComment(m_lineComment->text());
    parser.SetWordMark(m_wordMark1->text(), m_wordMark2->text());
    const bool fit = m_fitWindow->isChecked();
    bool ok = false;
    int margin = m_margin->text().toInt(&ok);
    if (!ok)
        margin = parser.GetMargin(); // only a sample can see an unvalidated box
    if (forSample && fit)
        margin = sampleWidthInCharacters();
    parser.SetMargin(margin, fit ? 1 : 0);
    const int spaces = m_tab2->isChecked() ? 2 : m_tab8->isChecked() ? 8 : 4;
    parser.SetIndent(m_tabSpaces->isChecked() ? 1 : 0, spaces);
    parser.SetCommaReturn(m_commaRight->isChecked() ? 1 : m_commaOneLine->isChecked() ? 2 : 0);
    parser.SetKeywordReturn(m_keywordRR->isChecked() ? 1 : 0);
    parser.SetBlockReturn(m_blockLR->isChecked() ? 1 : 0, m_blockRR->isChecked() ? 1 : 0);
    parser.SetBlockMargin(m_blockMargin->isChecked() ? 1 : 0);
}

int CDlgSqlFormat::sampleWidthInCharacters() const
{
    const int a = QFontMetrics(m_sample->font()).horizontalAdvance(QLatin1Char('A'));
    return a > 0 ? m_sample->width() / a : 0;
}

void CDlgSqlFormat::updateMarginEnabled()
{
    m_margin->setEnabled(m_marginByCount->isChecked());
}

void CDlgSqlFormat::refreshSample()
{
    m_textChanged = false;
    CSqlParser parser;
    applyTo(parser, true);
    QString text = fromEditorText(m_sample->toPlainText());
    if (parser.layOut(text))
        m_sample->setPlainText(toEditorText(text));
}

void CDlgSqlFormat::restoreDefaults()
{
    const CSqlParser defaults;
    fillFrom(defaults);
    refreshSample();
}

QString CDlgSqlFormat::validationError() const
{
    bool ok = false;
    const int margin = m_margin->text().toInt(&ok);
    if (!ok || margin < kMarginMin || margin > kMarginMax)
        return QStringLiteral("%1 から %2 までの整数を入力してください。")
            .arg(kMarginMin)
            .arg(kMarginMax);
    for (const QLineEdit *edit : {m_parhs1, m_parhs2, m_quote, m_blockComment1, m_blockComment2,
                                  m_lineComment, m_wordMark1, m_wordMark2}) {
        if (edit->text().size() > kSymbolMaxLength)
            return QStringLiteral("%1 文字以下で入力してください。").arg(kSymbolMaxLength);
    }
    return QString();
}

void CDlgSqlFormat::accept()
{
    const QString error = validationError();
    if (!error.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Qorvane"), error);
        return;
    }
    applyTo(*m_target, false);
    QDialog::accept();
}

bool CDlgSqlFormat::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving a text box whose text was changed re-lays out the sample.
    if (event->type() == QEvent::FocusOut && m_textChanged)
        refreshSample();
    return QDialog::eventFilter(watched, event);
}

void CDlgSqlFormat::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The box has its real width only now; a sample fitted to it is laid out again.
    if (!m_shown && m_fitWindow->isChecked())
        refreshSample();
    m_shown = true;
}
