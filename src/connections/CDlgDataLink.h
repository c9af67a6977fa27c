#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class CADODatabase;

// The connection wizard: pick a kind of database (a SQLite file, PostgreSQL, MariaDB/MySQL,
// an installed ODBC driver or data source), fill in its fields, try the connection, and get
// back a connection string in the ADO form the profiles keep. UI thread only; the connection
// test runs on a thread of its own while the dialog waits in a local event loop.
class CDlgDataLink : public QDialog
{
    Q_OBJECT
public:
    enum Kind { SQLite, PostgreSQL, MariaDB, OdbcDriver, OdbcDsn, Other };

    // An empty connectionText starts a new connection (the sample database preselected when
    // it exists); otherwise the fields are filled from the text.
    explicit CDlgDataLink(const QString &connectionText, QWidget *parent = nullptr);

    // The connection string the fields describe.
    QString connectionString() const;

    // Modal edit of a connection text; true and the new text when accepted.
    static bool editConnection(QWidget *owner, QString &connectionText);

    // The data-link operation of a session: releases the session's connection, runs the
    // wizard (new when text is empty, edit otherwise) and on acceptance gives the session an
    // unopened connection holding the new text, which becomes the session's connection text.
    // True when accepted with a non-empty text. A cancelled new connection sets error to
    // "unknow error".
    static bool EditDataLink(CADODatabase &session, QWidget *owner, QString &connectionText,
                             QString &errorText);

    // The sample database shipped beside the program, or empty when there is none.
    static QString sampleDatabasePath();
    // Tests point this elsewhere; an empty path restores the search beside the program.
    static void setSampleDatabasePath(const QString &path);

    // ODBC drivers and data sources the driver manager lists.
    static QStringList odbcDrivers();
    static QStringList odbcDataSources();

    // Opens and closes a connection with the text; false and the error text on failure.
    static bool testConnection(const QString &connectionText, QString &errorText);

    // Widgets, for tests and screenshots.
    QComboBox *kindBox() const { return m_kind; }
    QLineEdit *fileEdit() const { return m_file; }
    QLineEdit *hostEdit() const { return m_host; }
    QLineEdit *portEdit() const { return m_port; }
    QLineEdit *databaseEdit() const { return m_database; }
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *optionsEdit() const { return m_options; }
    QCheckBox *createBox() const { return m_create; }
    QPushButton *testButton() const { return m_testButton; }
    // Selects the entry of a kind (for a driver or data source, the one with that name).
    bool selectKind(Kind kind, const QString &name = {});
    Kind currentKind() const;

    // Empty when the fields make a sound connection string; otherwise what to tell the user
    // (a field holding ";", which would split the string at the wrong place).
    QString fieldProblem() const;

public slots:
    void runConnectionTest();
    void accept() override;
    void reject() override;

private:
    void kindChanged();
    void browse();
    void fillFrom(const QString &connectionText);

    QComboBox *m_kind = nullptr;
    QStackedWidget *m_pages = nullptr;
    QLineEdit *m_file = nullptr;
    QCheckBox *m_create = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_options = nullptr;
    QLineEdit *m_rawText = nullptr;
    QLabel *m_hostLabel = nullptr;
    QLabel *m_portLabel = nullptr;
    QPushButton *m_testButton = nullptr;
    QString m_otherProvider;
    bool m_testing = false;
};
