// SPDX-License-Identifier: MIT
// The trace file holds Qt's process-wide message handler and the link category's switch only
// while it lives: link lines go to the file, other messages where they went before, and its
// end gives both back.
#include "core/app/TraceFile.h"
#include "core/link/LinkTrace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList handled; // what reached the handler installed before the trace

void Handle(QtMsgType, const QMessageLogContext&, const QString& message)
{
    handled << message;
}

} // namespace

class TestTraceFile : public QObject
{
    Q_OBJECT

private slots:
    void linkLinesGoToTheFileWhileItLives()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("link.log"));
        const QtMessageHandler original = qInstallMessageHandler(Handle);
        handled.clear();
        {
            TraceFile trace;
            QString error;
            QVERIFY2(trace.Start(path, &error), qPrintable(error));
            QVERIFY(LinkTracing());
            TraceLink(QStringLiteral("sent ^I%"));
            qWarning("not a link line");
            QVERIFY(!trace.WriteFailed());
        }
        QVERIFY(!LinkTracing());
        TraceLink(QStringLiteral("after the end"));
        qWarning("after the end");
        qInstallMessageHandler(original);

        QCOMPARE(handled, QStringList({"not a link line", "after the end"}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 3); // two lines, each ended
        QVERIFY2(lines[0].contains("trace of r718 "), lines[0].constData());
        QVERIFY2(lines[1].endsWith(" sent ^I%"), lines[1].constData());
    }
};

QTEST_GUILESS_MAIN(TestTraceFile)
#include "tst_tracefile.moc"
