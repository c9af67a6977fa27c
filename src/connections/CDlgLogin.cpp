#include "CDlgLogin.h"

#include "ConnectionMessages.h"
#include "ConnectionProfile.h"
#include "db/CADODatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CDlgLogin::CDlgLogin(CADODatabase *session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    const ConnectionProfile profile(session->GetName(), session->GetConnectionText());
    setWindowTitle(session->GetName() + QStringLiteral("へのログイン"));

    m_dataSource = new QLabel(profile.dataSource, this);
    m_catalog = new QLabel(profile.catalog, this);
    m_dataSource->setTextFormat(Qt::PlainText);
    m_catalog->setTextFormat(Qt::PlainText);
    m_user = new QLineEdit(profile.user, this);
    m_password = new QLineEdit(profile.password, this);
    m_password->setEchoMode(QLineEdit::Password);
    m_save = new QCheckBox(QStringLiteral("ユーザとパスワードを保存する"), this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("データソース："), m_dataSource);
    form->addRow(QStringLiteral("初期カタログ："), m_catalog);
    form->addRow(QStringLiteral("ユーザID："), m_user);
    form->addRow(QStringLiteral("パスワード："), m_password);
    form->addRow(QString(), m_save);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgLogin::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgLogin::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

QString CDlgLogin::user() const
{
    return m_user->text();
}

QString CDlgLogin::password() const
{
    return m_password->text();
}

bool CDlgLogin::saveCredentials() const
{
    return m_save->isChecked();
}

void CDlgLogin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_user->text().isEmpty()) {
        m_user->setFocus();
    } else {
        m_password->setFocus();
        m_password->selectAll();
    }
}

void CDlgLogin::accept()
{
    // The values go into the connection string, where a ";" would start another pair.
    for (QLineEdit *edit : {m_user, m_password}) {
        if (edit->text().contains(QLatin1Char(';'))) {
            ConnectionMessages::warning(this, edit == m_user
                                                  ? QStringLiteral("ユーザIDに「;」は使用できません")
                                                  : QStringLiteral("パスワードに「;」は使用できません"));
            edit->setFocus();
            return;
        }
    }
    ConnectionProfile profile(m_session->GetName(), m_session->GetConnectionText());
    profile.user = m_user->text();
    profile.password = m_password->text();
    const QString text = profile.compose();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool opened = m_session->Open(text, QString(), QString());
    QApplication::restoreOverrideCursor();
    if (!opened) {
        ConnectionMessages::plain(this, m_session->GetErrorText());
        m_password->setFocus();
        m_password->selectAll();
        return;
    }
    QDialog::accept();
}
