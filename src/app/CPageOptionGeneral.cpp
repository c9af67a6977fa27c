#include "CPageOptionGeneral.h"

#include "platform/AppSettings.h"
#include "widgets/CFontControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QLineEdit *digitsEdit(QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    edit->setMaximumWidth(80);
    return edit;
}

QWidget *withSuffix(QWidget *edit, const QString &suffix)
{
    auto *box = new QWidget(edit->parentWidget());
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit);
    row->addWidget(new QLabel(suffix, box));
    row->addStretch(1);
    return box;
}

} // namespace

CPageOptionGeneral::CPageOptionGeneral(QWidget *parent)
    : COptionPage(parent)
{
    auto *form = new QFormLayout;
    connectTimeout = digitsEdit(this);
    commandTimeout = digitsEdit(this);
    form->addRow(QStringLiteral("コネクションタイムアウト："),
                 withSuffix(connectTimeout, QStringLiteral("秒 ( 0 = 無制限 )")));
    form->addRow(QStringLiteral("コマンドタイムアウト："),
                 withSuffix(commandTimeout, QStringLiteral("秒 ( 0 = 無制限 )")));
    body()->addLayout(form);

    commentOut = new QCheckBox(QStringLiteral("SQL文を実行する時にはコメントも含めてサーバに送る"), this);
    autoCommit = new QCheckBox(QStringLiteral("SQL実行した後、自動的にコミットする"), this);
    body()->addWidget(commentOut);
    body()->addWidget(autoCommit);

    auto *form2 = new QFormLayout;
    cursorLocation = new QComboBox(this);
    cursorLocation->addItem(QStringLiteral("サーバ"), 1);
    cursorLocation->addItem(QStringLiteral("クライアント"), 2);
    form2->addRow(QStringLiteral("カーソルサービスの場所："), cursorLocation);
    font = new CFontControl(this);
    form2->addRow(QStringLiteral("フォント："), font);
    body()->addLayout(form2);
    body()->addStretch(1);
}

void CPageOptionGeneral::load(const AppSettings &s)
{
    connectTimeout->setText(QString::number(s.connectTimeout));
    commandTimeout->setText(QString::number(s.commandTimeout));
    commentOut->setChecked(s.commentOut != 0);
    autoCommit->setChecked(s.autoCommit != 0);
    // Every stored value other than 2 shows as the server.
    cursorLocation->setCurrentIndex(s.cursorLocation == 2 ? 1 : 0);
    font->setLogFont(s.dbInfoFont);
}

void CPageOptionGeneral::store(AppSettings &s) const
{
    s.connectTimeout = connectTimeout->text().toInt();
    s.commandTimeout = commandTimeout->text().toInt();
    s.commentOut = commentOut->isChecked() ? 1 : 0;
    s.autoCommit = autoCommit->isChecked() ? 1 : 0;
    s.cursorLocation = cursorLocation->currentData().toInt();
    s.dbInfoFont = font->logFont();
}

void CPageOptionGeneral::resetToDefaults()
{
    connectTimeout->setText(QStringLiteral("15"));
    commandTimeout->setText(QStringLiteral("300"));
    commentOut->setChecked(true);
    autoCommit->setChecked(false);
    cursorLocation->setCurrentIndex(0);
    font->setLogFont(LogFont::defaultFont(LogFont::Variant::Grid));
}
