#include "CDlgDataLink.h"

#include "ConnectionMessages.h"
#include "ConnectionProfile.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

#include <sql.h>
#include <sqlext.h>

#include <memory>
#include <thread>

namespace {

QString &sampleOverride()
{
    static QString path;
    return path;
}

bool sameProvider(const QString &provider, const char *name)
{
    return provider.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// Takes "key=value" out of a ";"-joined list of pairs (key ignoring case).
QString takePair(QStringList &pairs, const QString &key)
{
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const qsizetype eq = pairs.at(i).indexOf(QLatin1Char('='));
        if (eq >= 0 && pairs.at(i).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            const QString value = pairs.at(i).mid(eq + 1).trimmed();
            pairs.removeAt(i);
            return value;
        }
    }
    return {};
}

QStringList odbcList(bool drivers)
{
    QStringList names;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return names;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[512];
    SQLCHAR description[1024];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT descriptionLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN rc = drivers
            ? SQLDrivers(env, direction, name, sizeof name, &nameLength, description,
                         sizeof description, &descriptionLength)
            : SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                             sizeof description, &descriptionLength);
        if (!SQL_SUCCEEDED(rc))
            break;
        names.append(QString::fromUtf8(reinterpret_cast<const char *>(name)));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}

} // namespace

CDlgDataLink::CDlgDataLink(const QString &connectionText, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("接続ウィザード"));
    setSizeGripEnabled(true);

    m_kind = new QComboBox(this);
    m_kind->addItem(QStringLiteral("SQLite データベースファイル"), int(SQLite));
    m_kind->addItem(QStringLiteral("PostgreSQL"), int(PostgreSQL));
    m_kind->addItem(QStringLiteral("MariaDB / MySQL"), int(MariaDB));
    for (const QString &driver : odbcDrivers())
        m_kind->addItem(QStringLiteral("ODBC ドライバ：%1").arg(driver), int(OdbcDriver));
    for (const QString &dsn : odbcDataSources())
        m_kind->addItem(QStringLiteral("ODBC データソース：%1").arg(dsn), int(OdbcDsn));
    for (int i = 3; i < m_kind->count(); ++i) {
        const QString text = m_kind->itemText(i);
        m_kind->setItemData(i, text.mid(text.indexOf(QStringLiteral("：")) + 1), Qt::UserRole + 1);
    }

    m_file = new QLineEdit(this);
    auto *browseButton = new QPushButton(QStringLiteral("参照..."), this);
    browseButton->setAutoDefault(false);
    connect(browseButton, &QPushButton::clicked, this, &CDlgDataLink::browse);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browseButton);
    m_create = new QCheckBox(QStringLiteral("ファイルがなければ新しく作成する"), this);

    m_host = new QLineEdit(this);
    m_port = new QLineEdit(this);
    m_port->setValidator(new QIntValidator(0, 65535, m_port));
    m_port->setMaximumWidth(90);
    m_database = new QLineEdit(this);
    m_user = new QLineEdit(this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_options = new QLineEdit(this);
    m_options->setPlaceholderText(QStringLiteral("キー=値;キー=値"));
    m_rawText = new QLineEdit(this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("種類："), m_kind);
    form->addRow(QStringLiteral("ファイル："), fileRow);
    form->addRow(QString(), m_create);
    form->addRow(QStringLiteral("サーバ："), m_host);
    form->addRow(QStringLiteral("ポート："), m_port);
    form->addRow(QStringLiteral("データベース："), m_database);
    form->addRow(QStringLiteral("ユーザID："), m_user);
    form->addRow(QStringLiteral("パスワード："), m_password);
    form->addRow(QStringLiteral("その他の設定："), m_options);
    form->addRow(QStringLiteral("接続文字列："), m_rawText);
    m_hostLabel = qobject_cast<QLabel *>(form->labelForField(m_host));
    m_portLabel = qobject_cast<QLabel *>(form->labelForField(m_port));

    m_testButton = new QPushButton(QStringLiteral("接続テスト"), this);
    m_testButton->setAutoDefault(false);
    connect(m_testButton, &QPushButton::clicked, this, &CDlgDataLink::runConnectionTest);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgDataLink::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgDataLink::reject);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_testButton);
    bottom->addStretch();
    bottom->addWidget(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(bottom);
    setMinimumWidth(460);

    connect(m_kind, &QComboBox::currentIndexChanged, this, &CDlgDataLink::kindChanged);
    if (connectionText.isEmpty()) {
        m_file->setText(sampleDatabasePath());
        kindChanged();
    } else {
        fillFrom(connectionText);
    }
}

CDlgDataLink::Kind CDlgDataLink::currentKind() const
{
    return Kind(m_kind->currentData().toInt());
}

bool CDlgDataLink::selectKind(Kind kind, const QString &name)
{
    for (int i = 0; i < m_kind->count(); ++i) {
        if (m_kind->itemData(i).toInt() != int(kind))
            continue;
        if (!name.isEmpty() && m_kind->itemData(i, Qt::UserRole + 1).toString() != name)
            continue;
        m_kind->setCurrentIndex(i);
        kindChanged();
        return true;
    }
    return false;
}

void CDlgDataLink::kindChanged()
{
    auto *form
        = static_cast<QFormLayout *>(static_cast<QVBoxLayout *>(layout())->itemAt(0)->layout());
    const Kind kind = currentKind();
    const bool file = kind == SQLite;
    const bool server = kind == PostgreSQL || kind == MariaDB || kind == OdbcDriver;
    const bool credentials = kind != SQLite && kind != Other;
    form->setRowVisible(1, file);
    form->setRowVisible(2, file);
    form->setRowVisible(3, server);
    form->setRowVisible(4, server);
    form->setRowVisible(5, credentials);
    form->setRowVisible(6, credentials);
    form->setRowVisible(7, credentials);
    form->setRowVisible(8, kind != Other);
    form->setRowVisible(9, kind == Other);
    if (kind == PostgreSQL && m_port->text().isEmpty())
        m_port->setPlaceholderText(QStringLiteral("5432"));
    else if (kind == MariaDB)
        m_port->setPlaceholderText(QStringLiteral("3306"));
    else
        m_port->setPlaceholderText(QString());
    if (server && m_host->text().isEmpty())
        m_host->setPlaceholderText(QStringLiteral("localhost"));
}

void CDlgDataLink::browse()
{
    const QString start = m_file->text().isEmpty() ? QDir::homePath() : m_file->text();
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("データベースファイルを開く"), start,
        QStringLiteral(
            "SQLite データベース (*.db *.sqlite *.sqlite3 *.db3);;すべてのファイル (*)"));
    if (!path.isEmpty())
        m_file->setText(QDir::toNativeSeparators(path));
}

void CDlgDataLink::fillFrom(const QString &connectionText)
{
    const ConnectionProfile profile(QString(), connectionText);
    QStringList others = profile.others.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const auto setCredentials = [&] {
        m_database->setText(profile.catalog);
        m_user->setText(profile.user);
        m_password->setText(profile.password);
    };
    const auto splitHost = [&](const QString &source) {
        const qsizetype colon = source.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && !source.mid(colon + 1).isEmpty() && source.mid(colon + 1).toInt() > 0) {
            m_host->setText(source.left(colon));
            m_port->setText(source.mid(colon + 1));
        } else {
            m_host->setText(source);
        }
    };

    if (sameProvider(profile.provider, "SQLite")) {
        selectKind(SQLite);
        m_file->setText(profile.dataSource);
        const QString mode = takePair(others, QStringLiteral("Mode"));
        m_create->setChecked(mode.compare(QLatin1String("ReadWriteCreate"), Qt::CaseInsensitive)
                             == 0);
        if (!mode.isEmpty() && !m_create->isChecked())
            others.prepend(QStringLiteral("Mode=") + mode);
    } else if (sameProvider(profile.provider, "PostgreSQL")) {
        selectKind(PostgreSQL);
        splitHost(profile.dataSource);
        setCredentials();
    } else if (sameProvider(profile.provider, "MariaDB")
               || sameProvider(profile.provider, "MySQL")) {
        selectKind(MariaDB);
        splitHost(profile.dataSource);
        setCredentials();
    } else if (sameProvider(profile.provider, "MSDASQL")) {
        QString driver = takePair(others, QStringLiteral("Driver"));
        if (driver.startsWith(QLatin1Char('{')) && driver.endsWith(QLatin1Char('}')))
            driver = driver.mid(1, driver.size() - 2);
        if (!driver.isEmpty()) {
            if (!selectKind(OdbcDriver, driver)) {
                m_kind->addItem(QStringLiteral("ODBC ドライバ：%1").arg(driver), int(OdbcDriver));
                m_kind->setItemData(m_kind->count() - 1, driver, Qt::UserRole + 1);
                selectKind(OdbcDriver, driver);
            }
            m_host->setText(takePair(others, QStringLiteral("Server")));
            m_port->setText(takePair(others, QStringLiteral("Port")));
        } else {
            if (!selectKind(OdbcDsn, profile.dataSource)) {
                m_kind->addItem(QStringLiteral("ODBC データソース：%1").arg(profile.dataSource),
                                int(OdbcDsn));
                m_kind->setItemData(m_kind->count() - 1, profile.dataSource, Qt::UserRole + 1);
                selectKind(OdbcDsn, profile.dataSource);
            }
        }
        setCredentials();
    } else {
        m_kind->addItem(QStringLiteral("その他 (%1)").arg(profile.provider), int(Other));
        selectKind(Other);
        m_rawText->setText(connectionText);
        return;
    }
    m_options->setText(others.join(QLatin1Char(';')));
}

QString CDlgDataLink::connectionString() const
{
    const Kind kind = currentKind();
    if (kind == Other)
        return m_rawText->text().trimmed();

    QString others = m_options->text().trimmed();
    while (others.endsWith(QLatin1Char(';')))
        others.chop(1);
    const auto join = [](const QString &a, const QString &b) {
        return a.isEmpty() ? b : b.isEmpty() ? a : a + QLatin1Char(';') + b;
    };
    const QString host = m_host->text().trimmed();
    const QString port = m_port->text().trimmed();
    const QString catalog = m_database->text().trimmed();
    const QString user = m_user->text().trimmed();
    const QString password = m_password->text();
    const QString name = m_kind->currentData(Qt::UserRole + 1).toString();

    switch (kind) {
    case SQLite:
        if (m_create->isChecked())
            others = join(QStringLiteral("Mode=ReadWriteCreate"), others);
        return ConnectionProfile::compose(QStringLiteral("SQLite"), m_file->text().trimmed(), {},
                                          {}, {}, others);
    case PostgreSQL:
    case MariaDB: {
        const QString source = port.isEmpty() ? host : host + QLatin1Char(':') + port;
        return ConnectionProfile::compose(kind == PostgreSQL ? QStringLiteral("PostgreSQL")
                                                             : QStringLiteral("MariaDB"),
                                          source, catalog, user, password, others);
    }
    case OdbcDriver: {
        QString pairs = QStringLiteral("Driver={%1}").arg(name);
        if (!host.isEmpty())
            pairs += QStringLiteral(";Server=") + host;
        if (!port.isEmpty())
            pairs += QStringLiteral(";Port=") + port;
        return ConnectionProfile::compose(QStringLiteral("MSDASQL"), {}, catalog, user, password,
                                          join(pairs, others));
    }
    case OdbcDsn:
        return ConnectionProfile::compose(QStringLiteral("MSDASQL"), name, catalog, user, password,
                                          others);
    case Other:
        break;
    }
    return {};
}

bool CDlgDataLink::testConnection(const QString &connectionText, QString &errorText)
{
    CADODatabase session;
    session.SetConnectTimeout(AppSettings::instance().connectTimeout);
    if (!session.Open(connectionText)) {
        errorText = session.GetErrorText();
        return false;
    }
    session.Close();
    return true;
}

void CDlgDataLink::runConnectionTest()
{
    if (m_testing)
        return;
    const QString problem = fieldProblem();
    if (!problem.isEmpty()) {
        ConnectionMessages::warning(this, problem);
        return;
    }
    const QString text = connectionString();
    m_testing = true;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    // The open may wait for the network up to the connect time-out, so it runs on a thread
    // of its own; the dialog keeps painting meanwhile.
    struct Outcome
    {
        bool ok = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    QEventLoop loop;
    std::thread worker([outcome, text, &loop] {
        outcome->ok = testConnection(text, outcome->error);
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    QApplication::restoreOverrideCursor();
    setEnabled(true);
    m_testing = false;
    if (outcome->ok)
        ConnectionMessages::information(this, QStringLiteral("接続テストに成功しました。"));
    else
        ConnectionMessages::warning(
            this, QStringLiteral("接続テストに失敗しました。\n\n") + outcome->error);
}

QString CDlgDataLink::fieldProblem() const
{
    const struct
    {
        const QLineEdit *edit;
        const char *label;
    } fields[] = {{m_file, "ファイル"},           {m_host, "サーバ"},
                  {m_port, "ポート"},             {m_database, "データベース"},
                  {m_user, "ユーザID"},           {m_password, "パスワード"}};
    for (const auto &field : fields) {
        if (field.edit->isVisibleTo(this) && field.edit->text().contains(QLatin1Char(';')))
            return QStringLiteral("%1に「;」は使用できません").arg(QString::fromUtf8(field.label));
    }
    return {};
}

void CDlgDataLink::accept()
{
    const QString problem = fieldProblem();
    if (!problem.isEmpty()) {
        ConnectionMessages::warning(this, problem);
        return;
    }
    QDialog::accept();
}

void CDlgDataLink::reject()
{
    if (!m_testing)
        QDialog::reject();
}

bool CDlgDataLink::editConnection(QWidget *owner, QString &connectionText)
{
    CDlgDataLink dialog(connectionText, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    connectionText = dialog.connectionString();
    return true;
}

bool CDlgDataLink::EditDataLink(CADODatabase &session, QWidget *owner, QString &connectionText,
                                QString &errorText)
{
    session.SetConnection(nullptr);
    const bool isNew = connectionText.isEmpty();
    QString text = connectionText;
    if (!editConnection(owner, text)) {
        if (isNew)
            errorText = QStringLiteral("unknow error");
        return false;
    }
    std::shared_ptr<Ado::Connection> connection = Ado::Connection::create();
    connection->setConnectionString(text);
    session.SetConnection(connection);
    session.SetConnectionText(text);
    connectionText = text;
    return !text.isEmpty();
}

QString CDlgDataLink::sampleDatabasePath()
{
    if (!sampleOverride().isEmpty())
        return QFileInfo::exists(sampleOverride()) ? sampleOverride() : QString();
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates
        = {dir + QStringLiteral("/../../sample/sample.db"), dir + QStringLiteral("/sample.db")};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    }
    return {};
}

void CDlgDataLink::setSampleDatabasePath(const QString &path)
{
    sampleOverride() = path;
}

QStringList CDlgDataLink::odbcDrivers()
{
    return odbcList(true);
}

QStringList CDlgDataLink::odbcDataSources()
{
    return odbcList(false);
}
