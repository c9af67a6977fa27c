#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The connection dialog "接続設定": a profile name and its connection string, with the
// password shown as asterisks and the connection wizard one button away. An empty
// connection text starts the wizard as soon as the dialog shows. UI thread only.
class CDlgConnectionSetting : public QDialog
{
    Q_OBJECT
public:
    // Edits a copy of the text through the connection wizard: true (and the new text) when
    // accepted. Replaceable so that tests can stand in for the user's choices.
    using WizardFunction = std::function<bool(QWidget *owner, QString &connectionText)>;

    // checkDuplicates: refuse a name that ProfileList already has (new and similar profiles).
    CDlgConnectionSetting(const QString &name, const QString &connectionText, bool checkDuplicates,
                          QWidget *parent = nullptr);

    QString name() const { return m_name; }
    // The unmasked connection text (valid after OK).
    QString connectionText() const { return m_connectionText; }

    static void setWizardFunction(WizardFunction function);
    static WizardFunction wizardFunction();

    // Widgets, for tests and screenshots.
    QLineEdit *nameEdit() const { return m_nameEdit; }
    QPlainTextEdit *textEdit() const { return m_textEdit; }
    QPushButton *wizardButton() const { return m_wizardButton; }

    // Parses text and remembers its password; returns the text with the password replaced
    // by as many "*" as it has characters.
    QString mask(const QString &text);
    // The inverse for a shown text: a shown password with a "*" in it stands for the
    // remembered one; any other is taken as typed and remembered.
    QString unmask(const QString &shown);

public slots:
    void accept() override;
    void runWizard();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showMasked(const QString &text);

    QLineEdit *m_nameEdit = nullptr;
    QPlainTextEdit *m_textEdit = nullptr;
    QPushButton *m_wizardButton = nullptr;
    bool m_checkDuplicates = false;
    bool m_shownOnce = false;
    QString m_password;
    QString m_name;
    QString m_connectionText;
};
