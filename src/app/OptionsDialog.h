#pragma once

#include <QDialog>
#include <QList>

class COptionPage;
class QTabWidget;

// The options sheet "オプション": five pages built from the settings when it opens; OK copies
// every page into the settings and tells every open window to re-read them; Cancel
// discards every page.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget *parent = nullptr);

    const QList<COptionPage *> &pages() const { return m_pages; }
    template<typename Page>
    Page *page() const
    {
        for (COptionPage *p : m_pages)
            if (auto *typed = qobject_cast<Page *>(p))
                return typed;
        return nullptr;
    }
    QTabWidget *tabs() const { return m_tabs; }

    void accept() override;

private:
    QTabWidget *m_tabs = nullptr;
    QList<COptionPage *> m_pages;
};
