#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

// Plays the user at modal dialogs in tests: each expectation names the window title of the
// next modal dialog and what to do with it. A dialog nobody expected is closed after a grace
// period and recorded, so a test fails instead of hanging.
class ModalDriver
{
public:
    using Action = std::function<void(QWidget *)>;

    ModalDriver()
    {
        m_timer.setInterval(15);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void expect(const QString &title, Action action) { m_queue.push_back({title, action}); }

    // Message box: record its text and press the button with that label ("OK" by default).
    void expectMessage(const QString &button = QStringLiteral("OK"))
    {
        expect(QStringLiteral("Qorvane"), [this, button](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box)
                return;
            messages << box->text();
            for (QAbstractButton *b : box->buttons()) {
                if (b->text() == button) {
                    b->click();
                    return;
                }
            }
            box->reject();
        });
    }

    bool done() const { return m_queue.empty(); }

    QStringList messages; // texts of the message boxes answered
    QStringList unexpected; // titles of dialogs closed because nobody expected them

private:
    struct Expectation
    {
        QString title;
        Action action;
    };

    void poll()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (!top || !top->isVisible() || top == m_busy) {
            m_idle = 0;
            return;
        }
        if (!m_queue.empty() && m_queue.front().title == top->windowTitle()) {
            Expectation e = m_queue.front();
            m_queue.pop_front();
            m_busy = top;
            m_idle = 0;
            QPointer<QWidget> target(top);
            QTimer::singleShot(0, [this, e, target] {
                if (target)
                    e.action(target);
                if (m_busy == target)
                    m_busy = nullptr;
            });
            return;
        }
        // Leave time for the test's own queued clicks before calling a dialog unexpected.
        if (++m_idle > 100) {
            unexpected << top->windowTitle();
            if (auto *dialog = qobject_cast<QDialog *>(top))
                dialog->reject();
            else
                top->close();
            m_idle = 0;
        }
    }

    QTimer m_timer;
    std::deque<Expectation> m_queue;
    QPointer<QWidget> m_busy;
    int m_idle = 0;
};
