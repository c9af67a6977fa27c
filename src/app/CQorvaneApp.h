#pragma once

#include <QApplication>
#include <memory>

class CMainFrame;
class SettingsStore;

// The application object: start-up in order (settings, main window, first query window)
// and exit (settings saved after every window is gone). Command-line arguments are not
// interpreted. Lives on the UI thread for the whole process.
class CQorvaneApp : public QApplication
{
    Q_OBJECT
public:
    CQorvaneApp(int &argc, char **argv);
    ~CQorvaneApp() override;

    int run();

    static CQorvaneApp *instance();
    CMainFrame *mainFrame() const { return m_mainFrame; }

private:
    std::unique_ptr<SettingsStore> m_store;
    CMainFrame *m_mainFrame = nullptr;
};
