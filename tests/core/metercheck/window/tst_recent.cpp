// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/base/RecentFileList.h"

#include <QSettings>
#include <QTest>

class TestRecentFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings("Modrex", "r718").clear(); }

    void abbreviate_data()
    {
        DataColumns<QString, QString>("path", "shown");
        DataRow("short path stays", "/tmp/a.met", "/tmp/a.met");
        DataRow("exactly 20 stays", "/home/ab/pomiar1.met", "/home/ab/pomiar1.met");
        DataRow("unix folders dropped from the front", "/home/user/data/meters/m1.met",
                "/.../meters/m1.met");
        DataRow("windows volume kept", "C:\\Pomiary\\Mierniki\\2024\\wolt.met",
                "C:\\...\\2024\\wolt.met");
        DataRow("one folder less", "C:\\Pomiary\\Mierniki\\wolt12.met", "C:\\...\\wolt12.met");
        DataRow("no folder fits behind the volume: name alone",
                "C:\\Pomiary\\Mierniki\\woltomierz1.met", "woltomierz1.met");
        DataRow("name too long for a folder: name alone", "/home/user/woltomierz_mera_12.met",
                "woltomierz_mera_12.met");
        DataRow("name longer than 20 is kept whole", "/home/user/bardzo_dlugi_plik_pomiarowy.met",
                "bardzo_dlugi_plik_pomiarowy.met");
        DataRow("unc share kept", "\\\\srv\\dane\\pomiary\\mierniki\\x.met",
                "\\\\srv\\dane\\...\\x.met");
    }
    void abbreviate()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        const QString result = RecentFileList::AbbreviatePath(path);
        QCOMPARE(result, shown);
        const QString name = path.mid(qMax(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1);
        QVERIFY(result.endsWith(name));
        QVERIFY(result.size() <= 20 || result == name);
    }

    void menuTextNumbersFromOne()
    {
        QCOMPARE(RecentFileList::MenuText(0, "/tmp/a.met"), QString("&1 /tmp/a.met"));
        QCOMPARE(RecentFileList::MenuText(3, "/home/user/data/meters/m1.met"),
                 QString("&4 /.../meters/m1.met"));
    }

    void newestFirstAtMostFour()
    {
        for (const char* p : {"/a/1.met", "/a/2.met", "/a/3.met", "/a/4.met", "/a/5.met"})
            RecentFileList::Add(p);
        QCOMPARE(RecentFileList::Entries(),
                 QStringList({"/a/5.met", "/a/4.met", "/a/3.met", "/a/2.met"}));

        RecentFileList::Add("/a/3.met");
        QCOMPARE(RecentFileList::Entries(),
                 QStringList({"/a/3.met", "/a/5.met", "/a/4.met", "/a/2.met"}));
    }

    void storedUnderPlikEntries()
    {
        RecentFileList::Add("/x/first.met");
        RecentFileList::Add("/x/second.met");
        QSettings settings("Modrex", "r718");
        settings.beginGroup("Recent Files");
        QCOMPARE(settings.value("Plik1").toString(), QString("/x/second.met"));
        QCOMPARE(settings.value("Plik2").toString(), QString("/x/first.met"));
        QVERIFY(!settings.contains("Plik3"));
    }

    // Another kind of document keeps a list of its own beside the meter check's.
    void sectionsApart()
    {
        RecentFileList::Add("/x/check.met");
        RecentFileList::Add("/x/ramp.r718p", RecentFileList::programs);
        QCOMPARE(RecentFileList::Entries(), QStringList{"/x/check.met"});
        QCOMPARE(RecentFileList::Entries(RecentFileList::programs), QStringList{"/x/ramp.r718p"});
        QCOMPARE(QSettings("Modrex", "r718").value("Recent Programs/Plik1").toString(),
                 QString("/x/ramp.r718p"));
    }

    void removeClosesTheGap()
    {
        for (const char* p : {"/a/1.met", "/a/2.met", "/a/3.met"})
            RecentFileList::Add(p);
        RecentFileList::Remove("/a/2.met");
        QCOMPARE(RecentFileList::Entries(), QStringList({"/a/3.met", "/a/1.met"}));
        QSettings settings("Modrex", "r718");
        QVERIFY(!settings.contains("Recent Files/Plik3"));
    }
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recent.moc"
