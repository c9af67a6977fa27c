#include "CPageOptionEditor.h"

#include "platform/AppSettings.h"
#include "widgets/CFontControl.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPageOptionEditor::CPageOptionEditor(QWidget *parent)
    : COptionPage(parent)
{
    dbInfoColor = new QCheckBox(QStringLiteral("ｷｰﾜｰﾄﾞ等の色表示は各DBから取得されたのも含む"), this);
    caseSensitive = new QCheckBox(QStringLiteral("ｷｰﾜｰﾄﾞ等の判断は大文字と小文字を区別する"), this);
    changeCase = new QCheckBox(QStringLiteral("ｷｰﾜｰﾄﾞ等は自動的に変更する"), this);
    body()->addWidget(dbInfoColor);
    body()->addWidget(caseSensitive);
    body()->addWidget(changeCase);

    auto *form = new QFormLayout;
    delimiters = new QLineEdit(this);
    form->addRow(QStringLiteral("分割符号："), delimiters);
    lineComment = new QLineEdit(this);
    lineComment->setMaximumWidth(80);
    form->addRow(QStringLiteral("行コメント記号："), lineComment);
    auto *blockRow = new QWidget(this);
    auto *blockLayout = new QHBoxLayout(blockRow);
    blockLayout->setContentsMargins(0, 0, 0, 0);
    blockComment = new QLineEdit(blockRow);
    blockComment2 = new QLineEdit(blockRow);
    blockComment->setMaximumWidth(80);
    blockComment2->setMaximumWidth(80);
    blockLayout->addWidget(blockComment);
    blockLayout->addWidget(new QLabel(QStringLiteral("～"), blockRow));
    blockLayout->addWidget(blockComment2);
    blockLayout->addStretch(1);
    form->addRow(QStringLiteral("ブロックコメント記号："), blockRow);
    body()->addLayout(form);

    qrySqlAutoBeaut = new QCheckBox(
        QStringLiteral("テーブルリスト又はテーブル情報で作成したSQL文を自動整形"), this);
    autoExec = new QCheckBox(
        QStringLiteral("テーブルリスト又はテーブル情報で作成したSQL文を自動的に実行する（SELECT文のみ）"), this);
    body()->addWidget(qrySqlAutoBeaut);
    body()->addWidget(autoExec);

    auto *form2 = new QFormLayout;
    font = new CFontControl(this);
    form2->addRow(QStringLiteral("フォント："), font);
    body()->addLayout(form2);
    body()->addStretch(1);
}

void CPageOptionEditor::load(const AppSettings &s)
{
    dbInfoColor->setChecked(s.dbInfoColor != 0);
    caseSensitive->setChecked(s.caseSensitive != 0);
    changeCase->setChecked(s.changeCase != 0);
    delimiters->setText(s.delimiters);
    lineComment->setText(s.lineComment);
    blockComment->setText(s.blockComment);
    blockComment2->setText(s.blockComment2);
    qrySqlAutoBeaut->setChecked(s.qrySqlAutoBeaut != 0);
    autoExec->setChecked(s.autoExec != 0);
    font->setLogFont(s.qViewFont);
}

void CPageOptionEditor::store(AppSettings &s) const
{
    s.dbInfoColor = dbInfoColor->isChecked() ? 1 : 0;
    s.caseSensitive = caseSensitive->isChecked() ? 1 : 0;
    s.changeCase = changeCase->isChecked() ? 1 : 0;
    s.delimiters = delimiters->text();
    s.lineComment = lineComment->text();
    s.blockComment = blockComment->text();
    s.blockComment2 = blockComment2->text();
    s.qrySqlAutoBeaut = qrySqlAutoBeaut->isChecked() ? 1 : 0;
    s.autoExec = autoExec->isChecked() ? 1 : 0;
    s.qViewFont = font->logFont();
}

void CPageOptionEditor::resetToDefaults()
{
    dbInfoColor->setChecked(true);
    caseSensitive->setChecked(false);
    changeCase->setChecked(true);
    delimiters->setText(AppSettings::defaultDelimiters());
    lineComment->setText(QStringLiteral("--"));
    blockComment->setText(QStringLiteral("/*"));
    blockComment2->setText(QStringLiteral("*/"));
    qrySqlAutoBeaut->setChecked(true);
    autoExec->setChecked(true);
    font->setLogFont(LogFont::defaultFont(LogFont::Variant::Editor));
}
