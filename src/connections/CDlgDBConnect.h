#pragma once

#include <QDialog>
#include <QString>

class CPageRecentConnections;
class QWidget;

// The connection choice. With profiles, the resizable sheet "データベース接続" with its page
// "最近の接続"; without any, the connection dialog for a first profile. UI thread only.
class CDlgDBConnect : public QDialog
{
    Q_OBJECT
public:
    explicit CDlgDBConnect(QWidget *parent = nullptr);

    CPageRecentConnections *page() const { return m_page; }
    QString name() const { return m_name; }
    QString connectionText() const { return m_connectionText; }

    struct Choice
    {
        bool ok = false;
        QString name;
        QString connectionText;
    };
    // Runs the choice: the sheet, or for an empty ProfileList the connection dialog (whose
    // profile is added to the list on OK).
    static Choice choose(QWidget *parent);

public slots:
    // OK with no selected row does nothing.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    CPageRecentConnections *m_page = nullptr;
    QString m_name;
    QString m_connectionText;
};
