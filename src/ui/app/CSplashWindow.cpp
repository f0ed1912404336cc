// SPDX-License-Identifier: MIT
#include "ui/app/CSplashWindow.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

bool CSplashWindow::pictureAllowed = false;
QPointer<CSplashWindow> CSplashWindow::current;

CSplashWindow::CSplashWindow(const QPixmap& bitmap, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      bitmap(bitmap), owner(owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setFixedSize(bitmap.deviceIndependentSize().toSize());
    setWindowTitle(QStringLiteral("Tevano 718"));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    timer.start(closeAfterMs, this);
}

void CSplashWindow::ShowSplashScreen(QWidget* owner)
{
    if (!pictureAllowed || current)
        return;
    const QPixmap bitmap(QStringLiteral(":/bitmap/startup"));
    if (bitmap.isNull())
        return;
    current = new CSplashWindow(bitmap, owner);
    current->show();
    // The picture must be on the screen before the program goes quiet for the start-up pause.
    current->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (current)
        current->repaint();
}

CSplashWindow* CSplashWindow::Current()
{
    return current;
}

void CSplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, bitmap);
}

void CSplashWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer.timerId())
        HideSplashScreen();
    else
        QWidget::timerEvent(event);
}

void CSplashWindow::HideSplashScreen()
{
    timer.stop();
    current = nullptr;
    close(); // deletes the window
    if (owner)
        owner->update();
}
