#include "CDlgConnectionSetting.h"

#include "CDlgDataLink.h"
#include "ConnectionMessages.h"
#include "ConnectionProfile.h"
#include "ProfileList.h"
#include "db/CADODatabase.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The wizard runs on a temporary session, as the data-link operation of a session does; a
// cancelled or failed wizard leaves the text as it was.
bool wizardThroughSession(QWidget *owner, QString &connectionText)
{
    CADODatabase session;
    QString text = connectionText;
    QString error;
    if (!CDlgDataLink::EditDataLink(session, owner, text, error))
        return false;
    connectionText = text;
    return true;
}

CDlgConnectionSetting::WizardFunction &wizardSlot()
{
    static CDlgConnectionSetting::WizardFunction function = &wizardThroughSession;
    return function;
}

// A name for a profile the wizard has just built, so that a first connection needs no
// typing: the database file's base name, else the catalog, else the data source.
QString suggestedName(const QString &connectionText)
{
    const ConnectionProfile profile(QString(), connectionText);
    QString name;
    if (profile.provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0)
        name = QFileInfo(profile.dataSource).completeBaseName();
    if (name.isEmpty())
        name = profile.catalog;
    if (name.isEmpty())
        name = profile.dataSource;
    name.remove(QLatin1Char(';'));
    return name.left(30).trimmed();
}

} // namespace

CDlgConnectionSetting::CDlgConnectionSetting(const QString &name, const QString &connectionText,
                                             bool checkDuplicates, QWidget *parent)
    : QDialog(parent)
    , m_checkDuplicates(checkDuplicates)
    , m_connectionText(connectionText)
{
    setWindowTitle(QStringLiteral("接続設定"));
    setSizeGripEnabled(true);

    m_nameEdit = new QLineEdit(name, this);
    m_nameEdit->setMaxLength(30);
    m_textEdit = new QPlainTextEdit(this);
    m_textEdit->setTabChangesFocus(true);
    m_textEdit->setMinimumSize(380, 110);
    m_wizardButton = new QPushButton(QStringLiteral("接続ウィザード"), this);
    m_wizardButton->setToolTip(QStringLiteral("標準データリンクダイアログを表示します"));
    m_wizardButton->setAutoDefault(false);
    connect(m_wizardButton, &QPushButton::clicked, this, &CDlgConnectionSetting::runWizard);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConnectionSetting::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgConnectionSetting::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("接続名："), m_nameEdit);
    form->addRow(QStringLiteral("接続文字列："), m_textEdit);
    auto *wizardRow = new QHBoxLayout;
    wizardRow->addStretch();
    wizardRow->addWidget(m_wizardButton);
    form->addRow(wizardRow);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (!connectionText.isEmpty())
        showMasked(connectionText);
}

void CDlgConnectionSetting::setWizardFunction(WizardFunction function)
{
    wizardSlot() = function ? std::move(function) : WizardFunction(&wizardThroughSession);
}

CDlgConnectionSetting::WizardFunction CDlgConnectionSetting::wizardFunction()
{
    return wizardSlot();
}

QString CDlgConnectionSetting::mask(const QString &text)
{
    ConnectionProfile profile(QString(), text);
    if (profile.password.isEmpty())
        return text;
    m_password = profile.password;
    profile.password = QString(m_password.size(), QLatin1Char('*'));
    return profile.compose();
}

QString CDlgConnectionSetting::unmask(const QString &shown)
{
    ConnectionProfile profile(QString(), shown);
    if (profile.connectionText.isEmpty())
        return QString();
    if (profile.password.contains(QLatin1Char('*')) && !m_password.isEmpty())
        profile.password = m_password;
    else
        m_password = profile.password;
    return profile.compose();
}

void CDlgConnectionSetting::showMasked(const QString &text)
{
    m_textEdit->setPlainText(mask(text));
}

void CDlgConnectionSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_textEdit->toPlainText().isEmpty()) {
        // Let the dialog appear first; the wizard then opens over it.
        QTimer::singleShot(0, this, &CDlgConnectionSetting::runWizard);
    } else {
        m_nameEdit->setFocus();
        m_nameEdit->selectAll();
    }
}

void CDlgConnectionSetting::runWizard()
{
    QString text = unmask(m_textEdit->toPlainText());
    if (!wizardSlot()(this, text))
        return;
    showMasked(text);
    if (m_nameEdit->text().trimmed().isEmpty()) {
        QString name = suggestedName(text);
        if (m_checkDuplicates && !name.isEmpty() && ProfileList::instance().contains(name)) {
            const QString base = name.left(27);
            for (int n = 2; n < 100 && ProfileList::instance().contains(name); ++n)
                name = QStringLiteral("%1_%2").arg(base).arg(n);
        }
        m_nameEdit->setText(name);
    }
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();
}

void CDlgConnectionSetting::accept()
{
    const QString name = m_nameEdit->text().trimmed();
    if (name.isEmpty()) {
        ConnectionMessages::warning(this, QStringLiteral("接続名を指定してください"));
        m_nameEdit->setFocus();
        return;
    }
    if (m_checkDuplicates && ProfileList::instance().contains(name)) {
        ConnectionMessages::warning(this, QStringLiteral("接続名が重複しています"));
        m_nameEdit->setFocus();
        m_nameEdit->selectAll();
        return;
    }
    // The stored form separates pairs with ";", so a name holding one would come back cut.
    if (name.contains(QLatin1Char(';'))) {
        ConnectionMessages::warning(this, QStringLiteral("接続名に「;」は使用できません"));
        m_nameEdit->setFocus();
        m_nameEdit->selectAll();
        return;
    }
    const QString text = unmask(m_textEdit->toPlainText());
    const QString problem = ProfileList::storageProblem(name, text);
    if (!problem.isEmpty()) {
        ConnectionMessages::warning(this, problem);
        return;
    }
    m_name = name;
    m_connectionText = text;
    QDialog::accept();
}
