// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <QPointer>

#include <functional>
#include <memory>

// Runs action on the first modal window of type T that appears within timeoutMs (for dialogs
// started by exec()); if none appears, nothing happens and found stays false.
template <typename T>
void OnModal(bool& found, std::function<void(T*)> action, int timeoutMs = 5000)
{
    found = false;
    auto* poll = new QTimer;
    auto started = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, started, action, timeoutMs, &found] {
        *started += 10;
        if (T* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            found = true;
            action(window);
        } else if (*started > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

// Runs action on each of the next `count` modal windows of type T, in turn, within timeoutMs;
// `handled` counts them.
template <typename T>
void OnEachModal(int& handled, int count, std::function<void(T*)> action, int timeoutMs = 20000)
{
    handled = 0;
    auto* poll = new QTimer;
    auto started = std::make_shared<int>(0);
    auto last = std::make_shared<QPointer<T>>();
    QObject::connect(poll, &QTimer::timeout, [=, &handled] {
        *started += 10;
        T* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (window && window != last->data()) {
            *last = window;
            ++handled;
            action(window);
        }
        if (handled >= count || *started > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
}
