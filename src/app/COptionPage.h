#pragma once

#include <QWidget>

class AppSettings;
class QVBoxLayout;

// One page of the options dialog: built from the settings each time the dialog opens,
// copied back on OK, and reset to its own defaults by its button "デフォルト値".
class COptionPage : public QWidget
{
    Q_OBJECT
public:
    explicit COptionPage(QWidget *parent = nullptr);

    virtual QString title() const = 0;
    virtual void load(const AppSettings &settings) = 0;
    virtual void store(AppSettings &settings) const = 0;
    // Resets this page's controls only (they reach the settings with OK).
    virtual void resetToDefaults() = 0;

protected:
    // Where pages put their controls; the default button sits below.
    QVBoxLayout *body() const { return m_body; }

private:
    void askReset();
    QVBoxLayout *m_body = nullptr;
};
