#pragma once

#include "CQueryExecution.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class CResultData;

// An execution host without widgets: keeps the pages, messages and status texts of one
// window's execution as plain data, with the same selection rules as the result view. Used by
// the command-line driver and by benchmarks. UI thread only.
class ResultCollector : public ExecutionHost
{
public:
    struct Page
    {
        QString caption;
        bool isMessage = false;
        std::shared_ptr<CResultData> model; // result pages only
        bool loaded = false;
    };

    void setStatusText(int pane, const QString &text) override;
    void showMessage(const QString &text) override { boxes.append(text); }
    void removeAllPages() override;
    void addMessagePageIfNone() override;
    std::shared_ptr<CResultData> addResultPage() override;
    void resultLoaded(const std::shared_ptr<CResultData> &model) override;
    bool hasMessagePage() const override;
    void appendMessage(const QString &text) override;
    void setTotal(int value) override { total = value; }
    void selectTab(int index) override;
    void selectResultPage(int index) override;
    void executionFinished() override { ++finishedCount; }

    QList<Page> pages;
    QStringList messageLines;
    QStringList boxes; // texts shown in message boxes
    QString panes[4];
    int total = 0;
    int current = -1;
    int finishedCount = 0;
    // Called when a page's model is loaded (benchmarks take their time here).
    std::function<void(const std::shared_ptr<CResultData> &)> onLoaded;

    // The grid text of a result page: a header line of the column names, then one line per
    // display row, cells separated by tabs as the grid shows them.
    static QString gridText(const CResultData &model);

private:
    void showSelected();
};
