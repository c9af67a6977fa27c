#pragma once

#include <QString>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

// Page "最近の接続": the profiles of ProfileList in a list with their fields, and the
// commands that create, copy, edit and delete them. Every change acts on ProfileList at once.
// UI thread only.
class CPageRecentConnections : public QWidget
{
    Q_OBJECT
public:
    explicit CPageRecentConnections(QWidget *parent = nullptr);

    // Row of the selected profile, or -1.
    int selectedRow() const;
    void selectRow(int row);
    // Name and connection text of the selected profile; false when no row is selected.
    bool selection(QString &name, QString &connectionText) const;

    QTreeWidget *list() const { return m_list; }
    QPushButton *newButton() const { return m_new; }
    QPushButton *similarButton() const { return m_similar; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *deleteButton() const { return m_delete; }

    void refill();

signals:
    // A row was double-clicked: act as OK.
    void rowActivated();

public slots:
    void newProfile();
    void similarProfile();
    void editProfile();
    void deleteProfile();

private:
    void addProfile(const QString &name, const QString &connectionText);
    void selectName(const QString &name);

    QTreeWidget *m_list = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_similar = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
};
