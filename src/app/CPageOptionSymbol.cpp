#include "CPageOptionSymbol.h"

#include "platform/AppSettings.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CPageOptionSymbol::CPageOptionSymbol(QWidget *parent)
    : COptionPage(parent)
{
    const auto add = [this](const QString &label, const QString &hint, int stretch) {
        auto *caption = new QLabel(label, this);
        body()->addWidget(caption);
        if (!hint.isEmpty()) {
            auto *hintLabel = new QLabel(hint, this);
            hintLabel->setStyleSheet(QStringLiteral("color: gray;"));
            body()->addWidget(hintLabel);
        }
        auto *edit = new QPlainTextEdit(this);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        body()->addWidget(edit, stretch);
        return edit;
    };
    keywords = add(QStringLiteral("キーワード："),
                   QStringLiteral("文字列の間にはスペースで分けてください"), 3);
    constants = add(QStringLiteral("定数："), QString(), 1);
    functions = add(QStringLiteral("関数："), QString(), 2);
}

QString CPageOptionSymbol::normalizeList(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end) + QLatin1Char(' ');
}

void CPageOptionSymbol::load(const AppSettings &s)
{
    keywords->setPlainText(s.keywords);
    constants->setPlainText(s.constants);
    functions->setPlainText(s.functions);
}

void CPageOptionSymbol::store(AppSettings &s) const
{
    s.keywords = normalizeList(keywords->toPlainText());
    s.constants = normalizeList(constants->toPlainText());
    s.functions = normalizeList(functions->toPlainText());
}

void CPageOptionSymbol::resetToDefaults()
{
    keywords->setPlainText(AppSettings::builtInKeywords());
    constants->setPlainText(AppSettings::builtInConstants());
    functions->setPlainText(AppSettings::builtInFunctions());
}
