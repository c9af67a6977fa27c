#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find and replace dialog of the query editor. It only collects the texts and
// options and reports its buttons; the editor does the searching. Deletes itself on close.
class CFindReplaceDialog : public QDialog
{
    Q_OBJECT
public:
    CFindReplaceDialog(bool replaceMode, QWidget *parent);

    void setFindText(const QString &text);
    void setReplaceText(const QString &text);
    void setOptions(bool matchCase, bool wholeWord, bool searchDown);

    bool isReplaceMode() const { return m_replaceMode; }
    QString findText() const;
    QString replaceText() const;
    bool matchCase() const;
    bool wholeWord() const;
    bool searchDown() const;

Q_SIGNALS:
    void findNextRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    void updateButtons();

    bool m_replaceMode = false;
    QLineEdit *m_find = nullptr;
    QLineEdit *m_replace = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNext = nullptr;
    QPushButton *m_replaceOne = nullptr;
    QPushButton *m_replaceAll = nullptr;
};
