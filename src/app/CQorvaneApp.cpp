#include "CQorvaneApp.h"

#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"

CQorvaneApp::CQorvaneApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Qorvane"));
    setOrganizationName(QStringLiteral("Qorvane2005"));
    setApplicationVersion(QStringLiteral("2.0.8"));
}

CQorvaneApp::~CQorvaneApp() = default;

CQorvaneApp *CQorvaneApp::instance()
{
    return qobject_cast<CQorvaneApp *>(QCoreApplication::instance());
}

int CQorvaneApp::run()
{
    m_store = std::make_unique<SettingsStore>();
    AppSettings::instance().load(*m_store);
    const int rc = 0;
    AppSettings::instance().save(*m_store);
    return rc;
}
