#pragma once

#include "widgets/CommandTarget.h"

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class CResultData;
class CResultGrid;
class CResultMessage;
class QStackedWidget;
class QTabBar;

// The lower pane of a query window: a strip of tabs, one message page and one grid page per
// result set that returned rows. Pages live from the fetch that creates them until the next
// fetch of the same window removes them. UI thread only.
class CResultView : public QWidget, public CommandTarget
{
    Q_OBJECT
public:
    explicit CResultView(QWidget *parent = nullptr);
    ~CResultView() override;

    // Where the view's status texts go (the query window's panes).
    using StatusSink = std::function<void(int pane, const QString &text)>;
    void setStatusSink(StatusSink sink) { m_status = std::move(sink); }

    // The tab notifications.
    // A result page (caption "%d": the number of pages before it) with an empty model for
    // the fetch to load.
    std::shared_ptr<CResultData> AddResultPage();
    // The fetch has loaded the page's model: the grid takes its rows.
    void ResultLoaded(const std::shared_ptr<CResultData> &model);
    void AddMessagePageIfNone(); // caption "ﾒｯｾｰｼﾞ"
    void RemoveAllPages();
    void SelectTab(int index);
    void SelectResultPage(int n);
    void SelectMessagePage(int n);

    void AppendMessage(const QString &text);
    void setTotal(int total) { m_total = total; }
    int total() const { return m_total; }

    int pageCount() const { return int(m_pages.size()); }
    int currentIndex() const;
    QString tabCaption(int index) const;
    bool hasMessagePage() const { return !m_messagePageTabs.isEmpty(); }
    CResultMessage *messagePage() const;
    int resultPageCount() const { return int(m_resultPageTabs.size()); }
    CResultGrid *resultGrid(int n) const;
    // The model of the n-th result page, or none.
    std::shared_ptr<CResultData> resultModel(int n) const;
    // The grid of the selected tab, or none.
    CResultGrid *currentGrid() const;
    // The index of the first result page whose model has pending changes, or -1.
    int firstChangedResultPage() const;

    // The settings changed: the message page takes the editor font again.
    void applySettings();

    bool handlesCommand(int id) const override;
    State commandState(int id) const override;
    void runCommand(int id) override;

    void AddRowsCommand();
    void DeleteRowsCommand();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addPage(QWidget *page, const QString &caption, bool isMessage);
    void rebuildIndexLists();
    void showSelected(int index);
    void status(int pane, const QString &text);

    QTabBar *m_tabs;
    QStackedWidget *m_stack;
    QList<QWidget *> m_pages;
    QList<int> m_resultPageTabs;
    QList<int> m_messagePageTabs;
    int m_total = 0;
    StatusSink m_status;
    bool m_removing = false;
};
