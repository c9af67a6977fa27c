#pragma once

#include "connections/CDBConnections.h"
#include "db/CADODatabase.h"
#include "query/CQueryExecution.h"
#include "query/ResultCollector.h"
#include "results/CResultData.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// A window without widgets: a registry key, an open session and the execution cycle with a
// collecting host.
struct HeadlessWindow
{
    QObject key;
    CADODatabase *session = nullptr;
    ResultCollector host;
    std::unique_ptr<CQueryExecution> execution;

    // Opens its own connection, or joins share's.
    explicit HeadlessWindow(const QString &connectionText, HeadlessWindow *share = nullptr)
    {
        CDBConnections &registry = CDBConnections::instance();
        if (share) {
            session = share->session;
            registry.AttachWindow(session, &key);
        } else {
            session = registry.CreateForWindow(&key);
            if (session->Open(connectionText))
                registry.RegisterOpened(session);
        }
        execution = std::make_unique<CQueryExecution>(&host, &key);
        execution->setSession(session);
        execution->BindEventSink();
    }
    ~HeadlessWindow()
    {
        execution.reset();
        CDBConnections::instance().WindowClosed(session, &key);
    }
    bool isOpen() const { return session && session->IsOpen(); }

    // Starts text and waits until its fetch has ended (false on time-out or refusal).
    bool run(const QString &text, int timeoutMs = 60000)
    {
        const bool notSelect = CQueryExecution::IsNotSelect(text, true);
        if (!execution->ExecuteText(text, notSelect))
            return false;
        return waitForEnd(timeoutMs);
    }
    bool waitForEnd(int timeoutMs = 60000)
    {
        QEventLoop loop;
        bool ended = false;
        QObject::connect(execution.get(), &CQueryExecution::fetchEnded, &loop, [&] {
            ended = true;
            loop.quit();
        });
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
        return ended;
    }
    QStringList captions() const
    {
        QStringList list;
        for (const auto &page : host.pages)
            list << page.caption;
        return list;
    }
    std::shared_ptr<CResultData> model(int n) const
    {
        int i = 0;
        for (const auto &page : host.pages) {
            if (!page.isMessage && i++ == n)
                return page.model;
        }
        return nullptr;
    }
};
