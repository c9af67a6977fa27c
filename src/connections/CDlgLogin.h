#pragma once

#include <QDialog>
#include <QString>

class CADODatabase;
class QCheckBox;
class QLabel;
class QLineEdit;

// The log-in dialog shown when the provider rejects the user or password: asks for both,
// opens the session with them on OK and stays open (after showing the error) until that
// succeeds or the user cancels. UI thread only; the session stays the registry's.
class CDlgLogin : public QDialog
{
    Q_OBJECT
public:
    CDlgLogin(CADODatabase *session, QWidget *parent = nullptr);

    QString user() const;
    QString password() const;
    // "ユーザとパスワードを保存する"
    bool saveCredentials() const;

    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QCheckBox *saveBox() const { return m_save; }
    QLabel *dataSourceLabel() const { return m_dataSource; }
    QLabel *catalogLabel() const { return m_catalog; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    CADODatabase *m_session;
    QLabel *m_dataSource = nullptr;
    QLabel *m_catalog = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QCheckBox *m_save = nullptr;
};
