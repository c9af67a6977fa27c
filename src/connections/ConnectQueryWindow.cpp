#include "ConnectQueryWindow.h"

#include "CDBConnections.h"
#include "CDlgDBConnect.h"
#include "CDlgLogin.h"
#include "ConnectionMessages.h"
#include "ConnectionProfile.h"
#include "ProfileList.h"
#include "db/CADODatabase.h"
#include "platform/AppSettings.h"

#include <QApplication>

namespace {

constexpr Ado::Status AuthenticationFailed = 0x80040E4D;

// Restores the cursor when the scope ends, however it ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

void status(const ConnectRequest &request, const QString &text)
{
    if (request.statusText)
        request.statusText(text);
}

} // namespace

bool openSession(QWidget *window, CADODatabase *session, const QString &name,
                 const QString &connectionText)
{
    session->SetName(name);
    bool opened = false;
    {
        WaitCursor wait;
        opened = session->Open(connectionText, QString(), QString());
    }
    if (!opened) {
        if (session->GetErrorCode() != AuthenticationFailed) {
            ConnectionMessages::warning(window, session->GetErrorText());
            return false;
        }
        CDlgLogin login(session, window);
        if (login.exec() != QDialog::Accepted)
            return false;

        ConnectionProfile profile(session->GetName(), session->GetConnectionText());
        if (profile.user != login.user()) {
            profile.user = login.user();
            session->SetConnectionText(profile.compose());
        }
        if (login.saveCredentials()) {
            ProfileList &profiles = ProfileList::instance();
            const qsizetype index = profiles.indexOf(session->GetName());
            if (index >= 0) {
                // A profile that could no longer be stored whole keeps its old text.
                const QString problem = ProfileList::storageProblem(profiles.at(index).name,
                                                                    session->GetConnectionText());
                if (problem.isEmpty())
                    profiles[index].parse(session->GetConnectionText());
                else
                    ConnectionMessages::warning(window, problem);
            }
        }
    }
    CDBConnections::instance().RegisterOpened(session);
    return true;
}

ConnectResult connectQueryWindow(const ConnectRequest &request)
{
    ConnectResult result;
    CDBConnections &registry = CDBConnections::instance();

    if (request.shareSession) {
        registry.AttachWindow(request.shareSession, request.window);
        if (!request.shareSession->IsBusy() && request.bindEventSink)
            request.bindEventSink(request.shareSession);
        status(request, QString());
        result.connected = true;
        result.session = request.shareSession;
        result.name = request.shareSession->GetName();
        result.connectionText = request.shareSession->GetConnectionText();
        return result;
    }
    if (!request.askForConnection)
        return result;

    status(request, QStringLiteral("接続中..."));
    QString name = request.profileName;
    QString text = request.connectionText;
    if (text.isEmpty()) {
        const CDlgDBConnect::Choice choice = CDlgDBConnect::choose(request.window);
        if (!choice.ok) {
            status(request, QString());
            return result;
        }
        name = choice.name;
        text = choice.connectionText;
    }

    CADODatabase *session = registry.CreateForWindow(request.window);
    session->SetConnectTimeout(AppSettings::instance().connectTimeout);
    result.session = session;
    result.name = name;
    result.connectionText = text;
    const bool opened = openSession(request.window, session, name, text);

    status(request, QString());
    if (!session->IsOpen())
        return result;

    status(request, QStringLiteral("データベース情報取得..."));
    {
        WaitCursor wait;
        if (request.readSchemaInfo)
            request.readSchemaInfo(session);
        session->SetCommandTimeout(AppSettings::instance().commandTimeout);
    }
    status(request, QStringLiteral("データベース情報取得成功."));
    result.connected = opened;
    return result;
}
