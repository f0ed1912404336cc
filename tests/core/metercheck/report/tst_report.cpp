// SPDX-License-Identifier: MIT
#include "ConsoleForm.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "FullDevice.h"
#include "OutputTestData.h"
#include "ScopedDocument.h"

#include "core/base/MessageService.h"
#include "core/metercheck/document/MetFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result
{
    int code = -1;
    QString out;
    QString err;
};

Result RunReport(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM"); // the tool must choose the offscreen platform itself
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("XDG_RUNTIME_DIR"); // as from cron, with nothing on standard error for it
    process.setProcessEnvironment(env);
    process.start(R718_REPORT, arguments);
    Result r;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

// The bytes of a file; empty when there is none (or it is not a regular file).
QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString met; // a good file with two ranges

    QString Path(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        ScopedDocument session;
        DocumentBuilder(session.document)
            .Meter("V-640", "A12345")
            .Range(0, VoltageRange())
            .Measured()
            .Point(MakePoint("100.05", "100.000", "0.050", "0.100", "0.012", "mV", true))
            .Point(MakePoint("199.88", "200.000", "-0.120", "0.100", "0.016", "mV", false))
            .Range(1, ThermocoupleRange())
            .Measured()
            .Point(MakePoint("500.2", "500.0", "0.2", "6.0", "0.9", "°C", true));
        met = Path("meter.met");
        LogMessageService messages;
        QVERIFY(SaveDocument(session, met, messages));

        QFile empty(Path("empty.met"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QFile source(met);
        QVERIFY(source.open(QIODevice::ReadOnly));
        QFile shortFile(Path("short.met"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(source.read(MET_FILE_SIZE - 1000));
        shortFile.close();
        QVERIFY(QDir(dir.path()).mkdir("folder.met"));
        QCOMPARE(::mkfifo(QFile::encodeName(Path("fifo.met")).constData(), 0600), 0);
        QVERIFY(QFile::link(Path("loop.met"), Path("loop.met")));
    }

    void help()
    {
        for (const QStringList& args : {QStringList{"--help"}, QStringList{"print", "--help"}}) {
            const Result r = RunReport(args);
            QCOMPARE(r.code, 0);
            for (const char* text : {"Użycie:", "show PLIK.met [--json]", "--pdf WYNIK.pdf",
                                     "--xlsx WYNIK.xlsx", "--range N | --all"})
                QVERIFY2(r.out.contains(QString::fromUtf8(text)), text);
        }
    }

    void showText()
    {
        const Result r = RunReport({"show", met});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        for (const char* text :
             {"Nazwa miernika: V-640", "Numer miernika: A12345", "Metoda: Metoda dokładnej nastawy",
              "Zakresy: 2", "Zakres 1: 400 mV",
              "Klasa: 0.05% wartości mierzonej, 0.1% zakresu + "
              "0.01mV",
              "Zakres 2: 1200 °C", "Czujnik: K (NiCr-NiAl); [To=23.0 °C]", "Punkty: 2"})
            QVERIFY2(r.out.contains(QString::fromUtf8(text)), text);
        QVERIFY(r.out.contains(QRegularExpression("\\n\\s+2\\s+199\\.88\\s+200\\.000\\s+-0\\.120\\*"
                                                  "\\s+0\\.100\\s+0\\.016\\s+mV\\s+tak\\n")));
        QVERIFY(r.out.contains(QRegularExpression("\\n\\s+1\\s+100\\.05.*mV\\s+\\+\\s+tak\\n")));
    }

    void showJson()
    {
        const Result r = RunReport({"show", met, "--json"});
        QCOMPARE(r.code, 0);
        QJsonParseError error;
        const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(doc["meterName"].toString(), QString("V-640"));
        QCOMPARE(doc["method"].toInt(), 0);
        QCOMPARE(doc["formatVersion"].toDouble(), 1.0);
        const QJsonArray ranges = doc["ranges"].toArray();
        QCOMPARE(ranges.size(), 2);
        const QJsonObject t = ranges[1].toObject();
        QCOMPARE(t["rangeUnit"].toString(), QString("°C"));
        QCOMPARE(t["sensorName"].toString(), QString("K (NiCr-NiAl)"));
        QCOMPARE(t["coldJunction"].toInt(), 2);
        QCOMPARE(t["toValue"].toString(), QString("23.0"));
        QCOMPARE(t["rangeMeasured"].toBool(), true);
        const QJsonArray points = ranges[0].toObject()["points"].toArray();
        QCOMPARE(points.size(), 2);
        const QJsonObject p = points[1].toObject();
        QCOMPARE(p["actualError"].toString(), QString("-0.120"));
        QCOMPARE(p["exceeds"].toBool(), true);
        QCOMPARE(p["marked"].toBool(), false);
        QCOMPARE(p["pointMeasured"].toBool(), true);
        QCOMPARE(points[0].toObject()["marked"].toBool(), true);
        QCOMPARE(points[0].toObject()["exceeds"].toBool(), false);
    }

    void print_data()
    {
        DataColumns<QStringList, int, QString>("options", "pages", "firstRange");
        DataRow("first range by default", QStringList{}, 1, "Zakres: 400 mV");
        DataRow("chosen range", QStringList{"--range", "2"}, 1, "Zakres: 1200 °C");
        DataRow("option with equals sign", QStringList{"--range=2"}, 1, "Zakres: 1200 °C");
        DataRow("all ranges", QStringList{"--all"}, 2, "Zakres: 400 mV");
        DataRow("with both charts", QStringList{"--points-chart", "--errors-chart"}, 3,
                "Zakres: 400 mV");
        DataRow("all ranges, errors chart only",
                QStringList{"--all", "--errors-chart", "--no-table"}, 2, "Wykres błędów;");
    }
    void print()
    {
        QFETCH(QStringList, options);
        QFETCH(int, pages);
        QFETCH(QString, firstRange);
        const QString pdf = Path(QString("print-%1.pdf").arg(QTest::currentDataTag()));
        const Result r = RunReport(QStringList{"print", met, "--pdf", pdf} + options);
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        const char* const pageCounts[] = {"", "1 strona", "2 strony", "3 strony"};
        QCOMPARE(r.out, QString("Wydruk zapisano w pliku %1 (%2).\n").arg(pdf, pageCounts[pages]));
        QCOMPARE(PdfPages(pdf), pages);
        const QString first = PdfText(pdf, 1, 1);
        QVERIFY(first.contains(firstRange));
        if (options.contains("--no-table")) {
            QVERIFY(!PdfText(pdf).contains("Protokół"));
            QVERIFY(PdfText(pdf, 2, 2).contains("Zakres miernika: 1200 °C"));
            return;
        }
        QVERIFY(first.contains("Protokół sprawdzania miernika"));
        QVERIFY(
            first.contains(QRegularExpression("\\d\\d\\.\\d\\d\\.\\d{4}\\s+\\d\\d:\\d\\d:\\d\\d")));
        if (options.contains("--all"))
            QVERIFY(PdfText(pdf, 2, 2).contains("Zakres: 1200 °C"));
        if (options.contains("--points-chart")) {
            QVERIFY(PdfText(pdf, 2, 2).contains("Wykres punktów pomiarowych;"));
            QVERIFY(PdfText(pdf, 3, 3).contains("Wykres błędów;"));
        }
    }

    void exportWorkbook_data()
    {
        DataColumns<QStringList, QStringList>("options", "sheets");
        DataRow("first range by default", QStringList{}, QStringList{"Zakres (400 mV)"});
        DataRow("chosen range", QStringList{"--range", "2"}, QStringList{"Zakres (1200 °C)"});
        DataRow("all ranges", QStringList{"--all"},
                QStringList{"Zakres (400 mV)", "Zakres (1200 °C)"});
    }
    void exportWorkbook()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, sheets);
        const QString xlsx = Path(QString("export-%1.xlsx").arg(QTest::currentDataTag()));
        const Result r = RunReport(QStringList{"export", met, "--xlsx", xlsx} + options);
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out, QString("Skoroszyt zapisano w pliku %1 (%2).\n")
                            .arg(xlsx, sheets.size() == 1 ? "1 arkusz" : "2 arkusze"));
        const XlsxBook book = ReadXlsx(xlsx);
        QStringList names;
        for (const XlsxSheet& s : book.sheets)
            names << s.name;
        QCOMPARE(names, sheets);
        QCOMPARE(book.sheets.last().cells.value("A1"), QString("Protokół sprawdzania miernika"));
    }

    // One line each: what failed, the file, the cause; no box caption.
    void badFiles_data()
    {
        DataColumns<QString, QString, QString>("command", "file", "message");
        const QString unread = "nie udało się odczytać pliku %1: %2. Dokument nie został wczytany.";
        const QString length = "plik %1 nie jest plikiem danych miernika (nieprawidłowa "
                               "długość pliku). Dokument nie został wczytany.";
        const QList<std::pair<const char*, QString>> files = {
            {"missing.met", unread.arg("%1", "Plik lub folder nie istnieje")},
            {"empty.met", length},
            {"short.met", length},
            {"folder.met", unread.arg("%1", "To jest folder, a nie plik")},
            // reading it would hang
            {"fifo.met", unread.arg("%1", "To jest potok (FIFO), a nie zwykły plik")},
            {"loop.met", unread.arg("%1", "Pętla dowiązań symbolicznych")}};
        for (const char* command : {"show", "print", "export"}) {
            for (const auto& [file, message] : files)
                QTest::addRow("%s %s", command, file) << command << QString(file) << message;
        }
    }
    void badFiles()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, message);
        const QString out = Path("bad-output");
        QStringList args{command, Path(file)};
        if (command == "print")
            args << "--pdf" << out;
        if (command == "export")
            args << "--xlsx" << out;
        const Result r = RunReport(args);
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err, "r718-report: " + message.arg(Path(file)) + "\n");
        QVERIFY(!QFileInfo::exists(out));
    }

    void badArguments_data()
    {
        DataColumns<QStringList, QString>("args", "message");
        DataRow("no command", QStringList{}, "Użycie:");
        DataRow("unknown command", QStringList{"draw", "x.met"}, "nieznane polecenie");
        DataRow("no file", QStringList{"show"}, "brak pliku .met");
        DataRow("two files", QStringList{"show", "@MET", "other.met"}, "nadmiarowy argument");
        DataRow("unknown option", QStringList{"show", "@MET", "--xml"}, "nieznana opcja --xml");
        DataRow("json is for show only", QStringList{"export", "@MET", "--xlsx", "@OUT", "--json"},
                "nieznana opcja");
        DataRow("print without pdf", QStringList{"print", "@MET"}, "brak opcji --pdf");
        DataRow("export without xlsx", QStringList{"export", "@MET", "--pdf", "@OUT"},
                "nieznana opcja --pdf");
        DataRow("pdf without value", QStringList{"print", "@MET", "--pdf"},
                "brak wartości opcji --pdf");
        DataRow("range zero", QStringList{"print", "@MET", "--pdf", "@OUT", "--range", "0"},
                "błędny numer zakresu");
        DataRow("range not a number",
                QStringList{"export", "@MET", "--xlsx", "@OUT", "--range", "x"},
                "błędny numer zakresu");
        DataRow("range beyond the file",
                QStringList{"print", "@MET", "--pdf", "@OUT", "--range", "3"},
                "zakres 3 nie istnieje");
        DataRow("range and all",
                QStringList{"export", "@MET", "--xlsx", "@OUT", "--range", "1", "--all"},
                "wykluczają się");
        DataRow("nothing to print", QStringList{"print", "@MET", "--pdf", "@OUT", "--no-table"},
                "nic do wydruku");
    }
    void badArguments()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString out = Path("arg-output");
        args.replaceInStrings("@MET", met).replaceInStrings("@OUT", out);
        const Result r = RunReport(args);
        QCOMPARE(r.code, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
        if (!message.startsWith("Użycie"))
            QVERIFY2(InConsoleForm(r.err, "r718-report"), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(out));
    }

    // A report never replaces its own document, also when the output names it through a link.
    void outputIsTheInput_data()
    {
        DataColumns<QString, QString>("command", "link");
        for (const char* command : {"print", "export"}) {
            for (const char* link : {"same name", "symbolic link", "hard link"})
                QTest::addRow("%s, %s", command, link) << command << link;
        }
    }
    void outputIsTheInput()
    {
        QFETCH(QString, command);
        QFETCH(QString, link);
        const QString doc = Path("own.met");
        QFile::remove(doc);
        QVERIFY(QFile::copy(met, doc));
        const QByteArray before = FileBytes(doc);
        QString out = doc;
        if (link != "same name") {
            out = Path("own-link.pdf");
            QFile::remove(out);
            if (link == "symbolic link")
                QVERIFY(QFile::link(doc, out));
            else
                QCOMPARE(
                    ::link(QFile::encodeName(doc).constData(), QFile::encodeName(out).constData()),
                    0);
        }
        const Result r =
            RunReport({command, doc, command == "print" ? "--pdf" : "--xlsx", out, "--all"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err.count(out), 1);
        QVERIFY2(r.err.contains("To jest plik dokumentu, z którego powstaje raport"),
                 qPrintable(r.err));
        QVERIFY2(InConsoleForm(r.err, "r718-report"), qPrintable(r.err));
        QCOMPARE(FileBytes(doc), before);
    }

    // An output that cannot be written whole fails with its cause, once, and whatever stood at
    // the target stays as it was.
    void failedOutput_data()
    {
        DataColumns<QString, QString, QString>("command", "target", "cause");
        for (const char* command : {"print", "export"}) {
            QTest::addRow("%s to /dev/full", command) << command << "full device"
                                                      << "To jest urządzenie, a nie zwykły plik";
            QTest::addRow("%s into a missing folder", command) << command << "missing folder"
                                                               << "Folder docelowy nie istnieje";
            QTest::addRow("%s onto a full disk", command) << command << "full disk"
                                                          << "Brak miejsca na dysku";
        }
    }
    void failedOutput()
    {
        QFETCH(QString, command);
        QFETCH(QString, target);
        QFETCH(QString, cause);
        QTemporaryDir folder(Path("failed-XXXXXX"));
        QString out = folder.filePath("gone/out");
        auto unmount = qScopeGuard([&] {
            if (target == "full disk")
                QProcess::execute("umount", {folder.path()});
        });
        if (target == "full device") {
            out = FullDevice(folder.path());
        } else if (target == "full disk") {
            // A file system of two pages, one of them taken by an older report.
            if (::geteuid() != 0 || QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=8k",
                                                                "tmpfs", folder.path()}) != 0)
                QSKIP("a small file system needs root to mount it");
            out = folder.filePath("older");
            QFile older(out);
            QVERIFY(older.open(QIODevice::WriteOnly));
            older.write("an older report");
        }
        const QByteArray before = FileBytes(out);
        const QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden);

        const Result r =
            RunReport({command, met, command == "print" ? "--pdf" : "--xlsx", out, "--all"});
        QCOMPARE(r.code, 1);
        QVERIFY(r.out.isEmpty());
        QCOMPARE(r.err, QString("r718-report: nie zapisano %1 w pliku %2: %3.\n")
                            .arg(command == "print" ? "wydruku" : "skoroszytu", out, cause));
        QCOMPARE(FileBytes(out), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
    }
};

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
