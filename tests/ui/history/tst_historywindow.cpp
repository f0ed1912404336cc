// SPDX-License-Identifier: MIT
// The history window over the local database: the meters with their last verdict and a filter,
// a meter's three checks newest first with the verdict in colour, the points of a check, the
// drift chart (one line per measuring point, one value per check) and the report of a stored
// check printed again with the check's own date, the computer and user of a check, a window that
// fits a 1366×768 screen, no export onto the database. The "Baza danych" dialog keeps a
// server's address (never a password) and refuses a server without a name.

#include "Child.h"
#include "DataRows.h"
#include "HistoryTestData.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"

#include "core/base/LastFolders.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryService.h"
#include "core/history/QueueTexts.h"
#include "ui/history/DriftChartView.h"
#include "ui/history/HistoryDatabaseDlg.h"
#include "ui/history/HistoryWindow.h"
#include "ui/history/RunRecording.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

QDateTime At(const QString& iso)
{
    return QDateTime::fromString(iso, Qt::ISODate);
}

QStringList RowTexts(const QTableWidget* table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts << (table->item(row, c) ? table->item(row, c)->text() : QString());
    return texts;
}

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

    // The local history starts empty, before the service below opens it: a file removed under
    // an open connection would live on in it, with an earlier run's records.
    struct ForgottenHistory
    {
        ForgottenHistory() { ForgetLocalHistory(); }
    } forgotten;
    HistoryService history; // the program's history, for every case

private slots:
    void initTestCase()
    {
        HistoryDatabase db(HistoryConfig{});
        const HistoryDatabase::Outcome o = db.Record({
            SampleCheck("V-640", "12", At("2004-03-05T09:07:45+01:00"), {"100.05", "200.00", "300.50"}),
            SampleCheck("V-640", "12", At("2005-03-07T10:00:00+01:00"), {"100.10", "200.20", "300.30"}),
            SampleCheck("V-640", "12", At("2006-03-06T11:30:00+01:00"), {"100.20", "200.30", "300.35"}),
            SampleCheck("Amperomierz LM-3", "A/77", At("2006-01-01T08:00:00+01:00")),
        });
        QVERIFY2(o.error.isEmpty(), qPrintable(o.error));
    }

    void showsAMetersChecksAndDrift()
    {
        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        window.show();
        QTRY_VERIFY(window.MetersLoaded());
        auto* meters = Child<QTableWidget>(window, "metersTable");
        auto* checks = Child<QTableWidget>(window, "checksTable");
        auto* points = Child<QTableWidget>(window, "pointsTable");
        QCOMPARE(meters->rowCount(), 2);
        QCOMPARE(RowTexts(meters, 1),
                 QStringList({"V-640", "12", "06.03.2006 11:30:00", "pozytywny"}));

        Child<QLineEdit>(window, "filterEdit")->setText("v-6");
        QCOMPARE(meters->rowCount(), 1);
        QTRY_VERIFY(window.ChecksLoaded());
        QCOMPARE(checks->rowCount(), 3);
        QCOMPARE(RowTexts(checks, 0), QStringList({"06.03.2006 11:30:00", "400 mV", "pozytywny"}));
        QCOMPARE(RowTexts(checks, 2), QStringList({"05.03.2004 09:07:45", "400 mV", "negatywny"}));
        QCOMPARE(checks->item(0, 2)->foreground().color(), QColor(0, 128, 0));
        QCOMPARE(checks->item(2, 2)->foreground().color(), QColor(255, 0, 0));

        const QList<QLineSeries*> lines = Child<DriftChartView>(window, "driftChart")->ErrorLines();
        QCOMPARE(lines.size(), 3);
        for (QLineSeries* line : lines)
            QCOMPARE(line->count(), 3);
        QCOMPARE(lines[2]->name(), "300.00 mV");
        QCOMPARE(lines[2]->at(0).y(), 0.50);
        QCOMPARE(lines[2]->at(2).y(), 0.35);

        checks->selectRow(2);
        QCOMPARE(Child<QLabel>(window, "detailsLabel")->text(),
                 "Komputer: stanowisko-1; użytkownik: technik");
        QCOMPARE(RowTexts(points, 2),
                 QStringList({"300.50", "300.00", "0.50", "0.40", "0.05", "mV", "+", "niezgodny",
                              "6.9"}));
        QCOMPARE(points->item(2, 2)->foreground().color(), QColor(255, 0, 0));

        // The report of the stored check carries its own date and time.
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("reprint.pdf"));
        QVERIFY(window.PrintChosenCheck(printer));
        QProcess pdftotext;
        pdftotext.start(QStandardPaths::findExecutable("pdftotext"),
                        {"-enc", "UTF-8", dir.filePath("reprint.pdf"), "-"});
        QVERIFY(pdftotext.waitForFinished(10000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(text.contains("05.03.2004") && text.contains("09:07:45") &&
                     text.contains("300.50") && text.contains("0.50*"),
                 qPrintable(text));
        QVERIFY(messages.messages.isEmpty());
    }

    // The CSV export and the reprint to a PDF file offer the folder last used for their kind of
    // file, else the home folder (never the working folder), and say where the file went.
    // A note added to the chosen check is stored as a row of its own and shown under it; the
    // point's TUR under the check's threshold stands out; the record's short hash is shown; an
    // interval set for the meter puts it on the list "Do sprawdzenia".
    void notesIntervalsAndTheDueList()
    {
        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        window.show();
        QTRY_VERIFY(window.MetersLoaded() && window.IntervalsLoaded());
        Child<QLineEdit>(window, "filterEdit")->setText("Amperomierz");
        QTRY_VERIFY(window.ChecksLoaded());
        const CheckRecord chosen = *window.ChosenCheck();
        QVERIFY(chosen.notes.isEmpty());
        QCOMPARE(Child<QLabel>(window, "sealLabel")->text(),
                 "Reguła decyzyjna: Prosta akceptacja; próg TUR: 4; skrót: " +
                     chosen.chainHash.left(12));

        QVERIFY(window.AddNoteToChosenCheck(CheckMark::AsFound, "wskazania zawyżone"));
        auto* notes = Child<QTableWidget>(window, "notesTable");
        QTRY_COMPARE(notes->rowCount(), 1);
        QCOMPARE(RowTexts(notes, 0).mid(1, 2),
                 QStringList({"przed regulacją (as found)", "wskazania zawyżone"}));
        QCOMPARE(window.ChosenCheck()->id, chosen.id);
        // The check itself as it was, its link too.
        QCOMPARE(Content(*window.ChosenCheck()), Content(chosen));
        QCOMPARE(window.ChosenCheck()->chainHash, chosen.chainHash);

        // A threshold above the points' TUR (6.9) flags them.
        QCOMPARE(RowTexts(Child<QTableWidget>(window, "pointsTable"), 0).mid(7),
                 QStringList({"zgodny", "6.9"}));
        QCOMPARE(Child<QTableWidget>(window, "pointsTable")->item(0, 8)->background(), QBrush());

        QVERIFY(window.DueList().isEmpty());
        QVERIFY(window.SetChosenMeterInterval(12));
        QTRY_COMPARE(window.DueList().size(), 1);
        auto* due = Child<QTableWidget>(window, "dueTable");
        QCOMPARE(RowTexts(due, 0).mid(0, 5),
                 QStringList({"Amperomierz LM-3", "A/77", "01.01.2006 08:00:00", "12 mies.",
                              "01.01.2007"}));
        QVERIFY(RowTexts(due, 0)[5].startsWith("po terminie "));
        QCOMPARE(Child<QSpinBox>(window, "intervalSpin")->value(), 12);
        QVERIFY(messages.messages.isEmpty());
    }

    void filesGoToTheFolderLastUsed_data()
    {
        DataColumns<QString, QString>("kind", "remembered");
        DataRow("CSV, the first time: the home folder", "csv", "none");
        DataRow("CSV: the folder last used for CSV", "csv", "folder");
        DataRow("PDF reprint: the folder last used for reports", "pdf", "folder");
        DataRow("PDF reprint, that folder gone: the home folder", "pdf", "gone");
    }
    void filesGoToTheFolderLastUsed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, remembered);
        const bool csv = kind == "csv";
        if (!csv && !QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("a printer is installed: the print dialog would not default to a PDF file");
        const QTemporaryDir work;  // the working folder
        const QTemporaryDir last;  // the folder last used
        const QTemporaryDir other; // where the user puts the file this time
        const QString startedIn = QDir::currentPath();
        QDir::setCurrent(work.path());
        const auto restore = qScopeGuard([startedIn] {
            QDir::setCurrent(startedIn);
            QSettings("Modrex", "r718").remove("Folders");
        });
        const FileKind fileKind = csv ? FileKind::Csv : FileKind::Report;
        QSettings("Modrex", "r718").remove("Folders");
        if (remembered == "folder")
            RememberFolder(fileKind, last.filePath("x"));
        else if (remembered == "gone")
            RememberFolder(fileKind, work.filePath("gone/x"));
        const QString offeredFolder = remembered == "folder" ? last.path() : QDir::homePath();

        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        window.show();
        QTRY_VERIFY(window.MetersLoaded());
        Child<QLineEdit>(window, "filterEdit")->setText("v-6");
        QTRY_VERIFY(window.ChecksLoaded());
        Child<QTableWidget>(window, "checksTable")->selectRow(0);
        const QString chosen = other.filePath(csv ? "historia.csv" : "protokół.pdf");
        QString offered;
        bool found = false;
        if (csv) {
            OnModal<QFileDialog>(found, [&offered, &chosen](QFileDialog* d) {
                offered = d->directory().absolutePath();
                Child<QLineEdit>(d, "fileNameEdit")->setText(chosen);
                static_cast<QDialog*>(d)->accept(); // as its "Zapisz" button does
            });
            Child<QPushButton>(window, "exportButton")->click();
        } else {
            OnModal<QPrintDialog>(found, [&offered, &chosen](QPrintDialog* d) {
                offered = QFileInfo(d->printer()->outputFileName()).absolutePath();
                Child<QLineEdit>(d, "filename")->setText(chosen);
                d->accept();
            });
            Child<QPushButton>(window, "printButton")->click();
        }
        QVERIFY(found);
        QCOMPARE(offered, offeredFolder);
        QCOMPARE(messages.Texts(), QStringList{(csv ? "Historię sprawdzeń" : "Wydruk") +
                                               QString(" zapisano w pliku:\n") + chosen});
        QVERIFY(QFileInfo(chosen).size() > 0);
        QCOMPARE(LastFolder(fileKind), other.path());
    }

    // With its frame and a panel of the desktop the window fits a 1366×768 screen, and the
    // lists give way before its buttons would leave it.
    void fitsASmallScreen()
    {
        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        const int room = 768 - 30 - 40; // the title bar and a panel
        QVERIFY2(window.height() <= room, qPrintable(QString::number(window.height())));
        QVERIFY(window.width() <= 1366);
        QVERIFY(window.minimumSizeHint().height() <= room);
        window.show();
        QTRY_VERIFY(window.MetersLoaded());
        for (const char* name : {"printButton", "exportButton"}) {
            auto* button = Child<QPushButton>(window, name);
            QVERIFY(
                window.rect().contains(QRect(button->mapTo(&window, QPoint()), button->size())));
        }
    }

    // The export never goes onto the database's file; the history stays readable.
    void exportNeverOntoTheDatabase()
    {
        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        window.show();
        QTRY_VERIFY(window.MetersLoaded());
        Child<QLineEdit>(window, "filterEdit")->setText("v-6");
        QTRY_VERIFY(window.ChecksLoaded());
        QVERIFY(!window.ExportShownChecks(LocalHistoryPath()));
        QCOMPARE(messages.Texts(),
                 QStringList{"Nie zapisano historii sprawdzeń w pliku:\n" + LocalHistoryPath() +
                             "\nTo jest plik bazy danych historii sprawdzeń."});
        HistoryDatabase db(HistoryConfig{});
        QString error;
        HistoryStore* store = db.Store(&error);
        QVERIFY2(store, qPrintable(error));
        QCOMPARE(store->Meters().value.size(), 2);
    }

    // The time axis of the drift: checks of one day spread over their hours.
    void driftTimeAxis_data()
    {
        DataColumns<QStringList, QString, QString>("times", "format", "title");
        QTest::addColumn<qint64>("longest"); // the most the axis may span, in minutes
        DataRow("checks of one day: the time of day",
                QStringList{"2024-05-06T09:00:00", "2024-05-06T15:00:00"}, "HH:mm",
                "Godzina sprawdzenia (06.05.2024)", qint64(8 * 60));
        DataRow("one check: a day either side", QStringList{"2024-05-06T09:00:00"},
                "dd.MM.yyyy HH:mm", "Data sprawdzenia", qint64(2 * 24 * 60));
        DataRow("checks over months: dates",
                QStringList{"2024-01-06T09:00:00", "2024-05-06T15:00:00"}, "dd.MM.yyyy",
                "Data sprawdzenia", qint64(140 * 24 * 60));
    }
    void driftTimeAxis()
    {
        QFETCH(QStringList, times);
        QFETCH(QString, format);
        QFETCH(QString, title);
        QFETCH(qint64, longest);
        DriftData drift;
        drift.series.append(DriftData::Series{"100.00 mV", {}});
        for (const QString& t : times)
            drift.series[0].values.append(DriftData::Value{At(t), 0.1, 0.4});
        DriftChartView chart;
        chart.Show(drift, 0);
        auto* axis = qobject_cast<QDateTimeAxis*>(chart.chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(axis);
        QCOMPARE(axis->format(), format);
        QCOMPARE(axis->titleText(), title);
        QVERIFY(axis->min() < At(times.first()) && axis->max() > At(times.last()));
        QVERIFY2(axis->min().secsTo(axis->max()) <= longest * 60,
                 qPrintable(axis->min().toString() + " - " + axis->max().toString()));
    }

    // A run's records that the local file cannot take now (another program holds it) are
    // kept, and the message says so and where; the next use takes them in.
    void runKeptWhileTheFileIsLocked()
    {
        const QString kept = LocalHistoryPath() + "-waiting";
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(LocalHistoryPath());
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec("BEGIN IMMEDIATE"));
        ScopedDocument session;
        FillSampleDocument(session.document, "Zablokowany", "Z/1");
        RecordingMessageService messages;
        RecordMeasurementRun(session, {0}, history, messages, nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(!messages.messages.isEmpty(), 15000);
        QVERIFY(QSqlQuery(holder).exec("ROLLBACK"));
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        const QString text = messages.Texts().value(0);
        QVERIFY2(
            text.startsWith("Wyniki pomiarów nie zostały zapisane w historii sprawdzeń.\n") &&
                text.endsWith("\n\nZachowano je w folderze " + kept +
                              "; zostaną dopisane do historii, gdy baza danych będzie dostępna."),
            qPrintable(text));
        QCOMPARE(history.SendQueued().result().waiting, 0);
        QCOMPARE(history.Checks("Zablokowany", "Z/1").result().value.size(), 1);
    }

    void databaseSettings()
    {
        RecordingMessageService messages;
        HistoryDatabaseDlg dialog(history, messages);
        QVERIFY(Child<QRadioButton>(dialog, "localButton")->isChecked());
        QVERIFY(!Child<QLineEdit>(dialog, "hostEdit")->isEnabled());
        Child<QRadioButton>(dialog, "serverButton")->setChecked(true);
        Child<QLineEdit>(dialog, "databaseEdit")->setText("lab");
        dialog.accept();
        QCOMPARE(messages.Texts(), QStringList{"Podaj nazwę lub adres serwera bazy danych."});
        QVERIFY(!HistoryConfig::Current().IsServer());

        // A socket folder that is not there: the probe shows the server's reason whole, and the
        // queue is tried and stays.
        Child<QLineEdit>(dialog, "hostEdit")->setText("/nonexistent-socket-folder");
        Child<QSpinBox>(dialog, "portBox")->setValue(5433);
        Child<QLineEdit>(dialog, "userEdit")->setText("technik");
        dialog.show();
        Child<QPushButton>(dialog, "probeButton")->click();
        const QLabel* probe = Child<QLabel>(dialog, "probeResult");
        QTRY_VERIFY(probe->text().contains("nonexistent-socket-folder"));
        QTRY_VERIFY2(probe->height() >= probe->heightForWidth(probe->width()) &&
                     dialog.rect().contains(
                         QRect(probe->mapTo(&dialog, QPoint()), probe->size())),
                 qPrintable(QString("%1x%2 needs %3; dialog %4x%5 at %6")
                                .arg(probe->width()).arg(probe->height())
                                .arg(probe->heightForWidth(probe->width()))
                                .arg(dialog.width()).arg(dialog.height())
                                .arg(probe->mapTo(&dialog, QPoint()).y())));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const HistoryConfig saved = HistoryConfig::Current();
        QVERIFY(saved.IsServer());
        QCOMPARE(saved.Description(), "postgresql://technik@[/nonexistent-socket-folder]:5433/lab");
        const QSettings settings("Modrex", "R718");
        QVERIFY(!settings.allKeys().join(' ').contains("assword", Qt::CaseInsensitive));
        HistoryConfig{}.SaveToSettings();
    }

    // A check waiting for a server out of reach: counted in the status line and listed,
    // marked, with the server chosen (beside its error) and after the bench went local.
    void waitingChecksListedAndCounted_data()
    {
        DataColumns<bool, int>("onServer", "errors");
        DataRow("server out of reach", true, 1);
        DataRow("local database now", false, 0);
    }
    void waitingChecksListedAndCounted()
    {
        QFETCH(bool, onServer);
        QFETCH(int, errors);
        qputenv("R718_HISTORY", "postgresql:///lab?host=/nonexistent-r718");
        const auto local = qScopeGuard([] { qunsetenv("R718_HISTORY"); });
        if (onServer) { // the first row records it
            const HistoryDatabase::Outcome o =
                history.Record({SampleCheck("W-1", "9", At("2026-01-02T10:00:00+01:00"))}).result();
            QCOMPARE(o.error, QString());
            QVERIFY(!o.sendError.isEmpty());
        }
        QTRY_COMPARE(history.Queue().waiting, 1);
        if (!onServer)
            qunsetenv("R718_HISTORY");

        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        window.show();
        QTRY_VERIFY(window.MetersLoaded());
        const QLabel* queue = Child<QLabel>(window, "queueStatus");
        QVERIFY(queue->isVisible());
        QVERIFY2(queue->text().startsWith("Sprawdzenia czekające na wysłanie do serwera: 1"),
                 qPrintable(queue->text()));
        QCOMPARE(messages.Errors().size(), errors);
        Child<QLineEdit>(window, "filterEdit")->setText("W-1");
        QCOMPARE(
            RowTexts(Child<QTableWidget>(window, "metersTable"), 0),
            QStringList({"W-1", "9", "02.01.2026 10:00:00", "pozytywny (czeka na wysłanie: 1)"}));
        QTRY_VERIFY(window.ChecksLoaded());
        QCOMPARE(RowTexts(Child<QTableWidget>(window, "checksTable"), 0),
                 QStringList({"02.01.2026 10:00:00", "400 mV", "pozytywny (czeka na wysłanie)"}));

        // Opened alone, the window ends the program: it asks first while a check waits.
        window.SetEndsTheProgram(true);
        messages.answers = {MessageAnswer::No};
        window.reject();
        QVERIFY(window.isVisible());
        QCOMPARE(messages.Texts().last(), ExitWithWaitingQuestion(1));
        window.reject(); // the recorder answers "Tak"
        QVERIFY(!window.isVisible());
    }

    // Last: it adds a meter of its own to the history the cases share.
    void turUnderTheThresholdFlagged()
    {
        CheckRecord strict = SampleCheck("Ścisły", "S/1", At("2007-01-01T08:00:00+01:00"));
        strict.turThreshold = 10;
        QCOMPARE(HistoryDatabase(HistoryConfig{}).Record({strict}).error, QString());
        RecordingMessageService messages;
        HistoryWindow window(history, messages);
        QTRY_VERIFY(window.MetersLoaded());
        Child<QLineEdit>(window, "filterEdit")->setText("Ścisły");
        QTRY_VERIFY(window.ChecksLoaded());
        auto* points = Child<QTableWidget>(window, "pointsTable");
        QCOMPARE(points->item(1, 8)->text(), "6.9");
        QCOMPARE(points->item(1, 8)->background().color(), QColor(255, 210, 210));
        QVERIFY(points->item(1, 8)->toolTip().startsWith("TUR poniżej progu 10"));
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
