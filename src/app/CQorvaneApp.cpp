#include "CQorvaneApp.h"

#include "AppServices.h"
#include "CMainFrame.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"
#include "widgets/AppIcons.h"

#include <QMessageBox>
#include <QTimer>

CQorvaneApp::CQorvaneApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Qorvane"));
    setOrganizationName(QStringLiteral("Qorvane2005"));
    setApplicationVersion(QStringLiteral("2.0.8"));
    setWindowIcon(AppIcons::application());
}

CQorvaneApp::~CQorvaneApp() = default;

CQorvaneApp *CQorvaneApp::instance()
{
    return qobject_cast<CQorvaneApp *>(QCoreApplication::instance());
}

int CQorvaneApp::run()
{
    // Settings first; the command line is not interpreted.
    m_store = std::make_unique<SettingsStore>();
    AppServices::installSettingsHooks();
    AppSettings::instance().load(*m_store);

    m_mainFrame = new CMainFrame(m_store.get());
    AppServices::installInto(*m_mainFrame);
    m_mainFrame->restorePlacementAndShow();
    if (!m_store->loadedCleanly())
        QMessageBox::warning(m_mainFrame, QStringLiteral("Qorvane"), m_store->loadError());

    // The first query window offers the connection choice once the event loop runs.
    QTimer::singleShot(0, m_mainFrame, [this] {
        m_mainFrame->openQueryWindow(nullptr, QString(), QString(), QString(), true);
    });

    const int rc = exec();

    // Exit: the main window is gone before the settings are saved.
    delete m_mainFrame;
    m_mainFrame = nullptr;
    AppSettings::instance().save(*m_store);
    return rc;
}
