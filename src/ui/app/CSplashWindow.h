// SPDX-License-Identifier: MIT
#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

// The start-up picture: a borderless window with the start-up bitmap at its natural size,
// centred on the screen, that closes itself 750 ms after it appeared (or at the first chance
// after that, when the program was busy).
class CSplashWindow : public QWidget
{
    Q_OBJECT

public:
    // Whether the picture may be shown at all (the command line decides, at start-up).
    static bool pictureAllowed;

    // Shows the picture, owned by owner, and paints it at once. Does nothing when the picture
    // is not allowed or already shown; gives up silently when the bitmap cannot be loaded.
    static void ShowSplashScreen(QWidget* owner);
    // The picture on the screen now, if any.
    static CSplashWindow* Current();

    static constexpr int closeAfterMs = 750;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    CSplashWindow(const QPixmap& bitmap, QWidget* owner);
    void HideSplashScreen();

    static QPointer<CSplashWindow> current;
    QPixmap bitmap;
    QPointer<QWidget> owner;
    QBasicTimer timer;
};
