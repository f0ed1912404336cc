// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

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
