#include "CPageOptionData.h"

#include "platform/AppSettings.h"
#include "widgets/CFontControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

CPageOptionData::CPageOptionData(QWidget *parent)
    : COptionPage(parent)
{
    auto *form = new QFormLayout;
    nullData = new QLineEdit(this);
    nullData->setMaximumWidth(160);
    form->addRow(QStringLiteral("NULL値の表示："), nullData);
    copyHeadDelimiter = new QComboBox(this);
    copyHeadDelimiter->addItem(QStringLiteral("タブ符号"), 0);
    copyHeadDelimiter->addItem(QStringLiteral("カンマ(,)"), 1);
    form->addRow(QStringLiteral("ヘッダコピーの区切り符号："), copyHeadDelimiter);
    body()->addLayout(form);

    nullCopy = new QCheckBox(QStringLiteral("データコピーの場合、NULLデータを空白でコピーする"), this);
    rsvSqlAutoBeaut = new QCheckBox(QStringLiteral("データ部で生成したSQL文を自動整形"), this);
    rsvSqlInNew = new QCheckBox(QStringLiteral("データ部で生成したSQL文を新規クエリに置く"), this);
    body()->addWidget(nullCopy);
    body()->addWidget(rsvSqlAutoBeaut);
    body()->addWidget(rsvSqlInNew);

    auto *form2 = new QFormLayout;
    font = new CFontControl(this);
    form2->addRow(QStringLiteral("フォント："), font);
    body()->addLayout(form2);
    body()->addStretch(1);
}

void CPageOptionData::load(const AppSettings &s)
{
    nullData->setText(s.nullData);
    // A stored value outside the list shows as the tab.
    copyHeadDelimiter->setCurrentIndex(s.copyHeadDelimiter == 1 ? 1 : 0);
    nullCopy->setChecked(s.nullCopy != 0);
    rsvSqlAutoBeaut->setChecked(s.rsvSqlAutoBeaut != 0);
    rsvSqlInNew->setChecked(s.rsvSqlInNew != 0);
    font->setLogFont(s.qGridFont);
}

void CPageOptionData::store(AppSettings &s) const
{
    s.nullData = nullData->text();
    s.copyHeadDelimiter = copyHeadDelimiter->currentData().toInt();
    s.nullCopy = nullCopy->isChecked() ? 1 : 0;
    s.rsvSqlAutoBeaut = rsvSqlAutoBeaut->isChecked() ? 1 : 0;
    s.rsvSqlInNew = rsvSqlInNew->isChecked() ? 1 : 0;
    s.qGridFont = font->logFont();
}

void CPageOptionData::resetToDefaults()
{
    nullData->setText(QStringLiteral("<NULL>"));
    copyHeadDelimiter->setCurrentIndex(0);
    nullCopy->setChecked(false);
    rsvSqlAutoBeaut->setChecked(false);
    rsvSqlInNew->setChecked(true);
    font->setLogFont(LogFont::defaultFont(LogFont::Variant::Grid));
}
