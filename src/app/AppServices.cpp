#include "AppServices.h"

#include "CMainFrame.h"
#include "connections/CDBConnections.h"
#include "connections/ConnectQueryWindow.h"
#include "connections/ProfileList.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "db/CADODatabase.h"
#include "db/CADORecordset.h"
#include "editor/CQryView.h"
#include "platform/SettingsNotifier.h"
#include "query/CChildFrame.h"
#include "CDlgSqlFormat.h"
#include "schema/CDBInfo.h"
#include "sql/CSqlParser.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

namespace AppServices {

void installSettingsHooks()
{
    ProfileList::installSettingsHooks();
    // The formatter's section "SqlParser" loads after and saves after "Settings".
    AppSettings::setSectionHooks(
        {[](const SettingsStore &store) { CSqlParser::application().LoadSettings(store); },
         [](SettingsStore &store) { CSqlParser::application().SaveSettings(store); }});
}

void installInto(CMainFrame &mainFrame)
{
    // A query error met on the UI thread is shown at once; the fetch worker's errors go to
    // the message tab of their window instead.
    CADORecordset::setErrorReporter([](const QString &text) {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            return;
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Qorvane"), text);
    });

    // A catalogue entry is read only for a session the registry holds open.
    CDBInfo::instance().SetSessionCheck([](const CADODatabase *session) {
        return CDBConnections::instance().IsOpen(session);
    });
    CMainFrame::ConnectionServices services;
    services.connect = [](CChildFrame *frame, CADODatabase *share, const QString &name,
                          const QString &connectionText, bool ask) {
        ConnectRequest request;
        request.window = frame;
        request.shareSession = share;
        request.profileName = name;
        request.connectionText = connectionText;
        request.askForConnection = ask;
        request.statusText = [frame](const QString &text) { frame->setStatusText(0, text); };
        // The window binds its event sink when it takes the session (setSession).
        request.readSchemaInfo = [](CADODatabase *session) {
            CDBInfo::instance().GetEntry(session);
        };
        const ConnectResult result = connectQueryWindow(request);
        frame->setSession(result.session);
        frame->setConnection(result.name, result.connectionText);
        if (result.connected) {
            // The editor colours the database's words as the catalogue holds them.
            if (const auto entry = CDBInfo::instance().GetEntry(result.session))
                frame->editor()->SetDatabaseWords(entry->keywords, entry->procedureNames);
        }
        return result.connected;
    };
    services.connectionCount = [] { return CDBConnections::instance().Count(); };
    services.isOpen = [](CChildFrame *frame) {
        return frame->session() && CDBConnections::instance().IsOpen(frame->session());
    };
    services.connectedTitle = [](CChildFrame *frame, const QString &path) {
        const CDBConnections &registry = CDBConnections::instance();
        const QString base = path.isEmpty()
                                 ? QStringLiteral("ｸｴﾘ %1").arg(registry.QueryCounter(frame->session()))
                                 : QFileInfo(path).fileName().left(256);
        return registry.Title(frame->session(), base);
    };
    services.windowsOfConnection = [](CChildFrame *frame) {
        QList<CChildFrame *> windows;
        if (const ConnectionRecord *record = CDBConnections::instance().Find(frame->session())) {
            for (QObject *w : record->windows)
                if (auto *f = qobject_cast<CChildFrame *>(w))
                    windows << f;
        }
        return windows;
    };
    services.windowClosed = [](QObject *window, CADODatabase *session) {
        if (session)
            CDBConnections::instance().WindowClosed(session, window);
    };
    mainFrame.setConnectionServices(std::move(services));

    // OK in the options dialog: editors re-read their settings and open sessions take the
    // new command time-out (result views listen themselves).
    QObject::connect(&SettingsNotifier::instance(), &SettingsNotifier::settingsApplied,
                     &mainFrame, [&mainFrame] {
                         CQryView::ApplySettingsToAll();
                         for (QObject *w : mainFrame.queryWindows().windows()) {
                             auto *frame = qobject_cast<CChildFrame *>(w);
                             if (frame && frame->session()
                                 && CDBConnections::instance().IsOpen(frame->session()))
                                 frame->session()->SetCommandTimeout(
                                     AppSettings::instance().commandTimeout);
                         }
                     });
    mainFrame.setFormatterOptionsHandler([](QWidget *parent) {
        CDlgSqlFormat dialog(parent);
        dialog.exec();
    });
}

} // namespace AppServices
