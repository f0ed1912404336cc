// SPDX-License-Identifier: MIT
#include "FakeLink.h"
#include "HeldLine.h"
#include "core/link/LinkSession.h"

#include <QTest>
#include <QTimer>
#include <QWidget>

// The wait for the link on the GUI thread keeps the windows painted.
class TestLinkWait : public QObject
{
    Q_OBJECT

private slots:
    // While a window waits for the link, its timers run and it is repainted.
    void waitKeepsThePainting()
    {
        FakeLink line;
        HeldLine held(line.device, "^X%");
        LinkSession session(line.link);
        session.Open(1);
        session.Send(QStringLiteral("X"));
        QVERIFY(held.Running());
        class Painted : public QWidget
        {
        public:
            int paints = 0;

        protected:
            void paintEvent(QPaintEvent*) override { ++paints; }
        } window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int paintsBefore = window.paints;
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            window.update();
            if (++ticks == 5)
                held.Release();
        });
        ticker.start(10);
        session.WaitUntilSent();
        QVERIFY(ticks >= 5);
        QVERIFY(window.paints > paintsBefore);
        QCOMPARE(line.device.Written(), QByteArray("^X%"));
    }
};

QTEST_MAIN(TestLinkWait)
#include "tst_linkwait.moc"
