#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

// "名前変更": shows the current name of a query window's tab and takes a new one (at most 64
// characters).
class CDlgRename : public QDialog
{
    Q_OBJECT
public:
    CDlgRename(const QString &currentName, const QString &proposal, QWidget *parent = nullptr);

    QString newName() const;
    QLineEdit *currentEdit() const { return m_current; }
    QLineEdit *newEdit() const { return m_new; }

    // Runs the rename of a title: the part after the first " - " is replaced by the name the
    // user confirms. False (title unchanged) when the title has no " - " or the user cancels.
    // A replacement asker can be set for tests.
    using Asker = std::function<bool(CDlgRename &dialog)>;
    static void setAsker(Asker asker);
    static bool RenameTitle(QWidget *parent, QString &title, const QString &proposal);

private:
    QLineEdit *m_current;
    QLineEdit *m_new;
};
