#include "CPageOptionColor.h"

#include "platform/AppSettings.h"
#include "widgets/CColorButton.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CPageOptionColor::CPageOptionColor(QWidget *parent)
    : COptionPage(parent)
{
    const AppSettings defaults;
    const auto row = [&](const char *label, ColorRef AppSettings::*field, bool hasBold) {
        return Row{QString::fromUtf8(label), field, ColorRef((defaults.*field).rgb()), hasBold};
    };
    m_rows = {
        row("コメント：", &AppSettings::commentColor, true),
        row("キーワード：", &AppSettings::keywordColor, true),
        row("定数：", &AppSettings::constantColor, true),
        row("関数：", &AppSettings::functionColor, true),
        row("文字列：", &AppSettings::stringColor, true),
        row("数字：", &AppSettings::numericColor, true),
        row("セル：", &AppSettings::rsCellColor, true),
        row("NULL文字：", &AppSettings::rsNullColor, true),
        row("修正したセル：", &AppSettings::rsModifiedColor, true),
        row("削除した行：", &AppSettings::rsDeletedColor, true),
        row("追加した行：", &AppSettings::rsInsertedColor, true),
        // The text colour of excluded cells resets to red, not to its first-run value.
        Row{QStringLiteral("除外項目文字色："), &AppSettings::rsAutoColor, ColorRef(0x0000FF), true},
        row("除外セル：", &AppSettings::rsAutoBgColor, false),
        row("関数文字色：", &AppSettings::rsCellFuncColor, true),
    };

    auto *columns = new QHBoxLayout;
    const auto makeGroup = [&](const QString &title, int first, int last) {
        auto *group = new QGroupBox(title, this);
        auto *grid = new QGridLayout(group);
        for (int i = first; i < last; ++i) {
            Row &r = m_rows[i];
            const int line = i - first;
            grid->addWidget(new QLabel(r.label, group), line, 0);
            r.button = new CColorButton(group);
            grid->addWidget(r.button, line, 1);
            if (r.hasBold) {
                r.bold = new QCheckBox(QStringLiteral("太字"), group);
                grid->addWidget(r.bold, line, 2);
            }
        }
        grid->setRowStretch(last - first, 1);
        columns->addWidget(group);
    };
    makeGroup(QStringLiteral("クエリエディタ"), 0, 6);
    makeGroup(QStringLiteral("データ部"), 6, int(m_rows.size()));
    body()->addLayout(columns);
    body()->addStretch(1);
}

const CPageOptionColor::Row *CPageOptionColor::row(const QString &label) const
{
    for (const Row &r : m_rows)
        if (r.label == label)
            return &r;
    return nullptr;
}

void CPageOptionColor::load(const AppSettings &s)
{
    for (Row &r : m_rows) {
        const ColorRef c = s.*r.field;
        r.button->setColor(c.color());
        if (r.bold)
            r.bold->setChecked(c.bold());
    }
}

void CPageOptionColor::store(AppSettings &s) const
{
    for (const Row &r : m_rows)
        s.*r.field = ColorRef::fromColor(r.button->color(), r.bold && r.bold->isChecked());
}

void CPageOptionColor::resetToDefaults()
{
    for (Row &r : m_rows) {
        r.button->setColor(r.resetValue.color());
        if (r.bold)
            r.bold->setChecked(false);
    }
}
