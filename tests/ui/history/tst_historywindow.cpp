// SPDX-License-Identifier: MIT
// The history window over the local database: the meters with their last verdict and a filter,
// a meter's three checks newest first with the verdict in colour, the points of a check, the
// drift chart (one line per measuring point, one value per check) and the report of a stored
// check printed again with the check's own date. The "Baza danych" dialog keeps a server's
// address (never a password) and refuses a server without a name.

#include "DataRows.h"
#include "HistoryTestData.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"

#include "core/base/LastFolders.h"
#include "ui/history/DriftChartView.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/HistoryService.h"
#include "ui/history/HistoryDatabaseDlg.h"
#include "ui/history/HistoryWindow.h"

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

    HistoryService history; // the program's history, for every case

private slots:
    void initTestCase()
    {
        ForgetLocalHistory();
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
        QCOMPARE(window.metersTable->rowCount(), 2);
        QCOMPARE(RowTexts(window.metersTable, 1),
                 QStringList({"V-640", "12", "06.03.2006 11:30:00", "pozytywny"}));

        window.filterEdit->setText("v-6");
        QCOMPARE(window.metersTable->rowCount(), 1);
        QTRY_VERIFY(window.ChecksLoaded());
        QCOMPARE(window.checksTable->rowCount(), 3);
        QCOMPARE(RowTexts(window.checksTable, 0),
                 QStringList({"06.03.2006 11:30:00", "400 mV", "pozytywny"}));
        QCOMPARE(RowTexts(window.checksTable, 2),
                 QStringList({"05.03.2004 09:07:45", "400 mV", "negatywny"}));
        QCOMPARE(window.checksTable->item(0, 2)->foreground().color(), QColor(0, 128, 0));
        QCOMPARE(window.checksTable->item(2, 2)->foreground().color(), QColor(255, 0, 0));

        const QList<QLineSeries*> lines = window.driftChart->ErrorLines();
        QCOMPARE(lines.size(), 3);
        for (QLineSeries* line : lines)
            QCOMPARE(line->count(), 3);
        QCOMPARE(lines[2]->name(), "300.00 mV");
        QCOMPARE(lines[2]->at(0).y(), 0.50);
        QCOMPARE(lines[2]->at(2).y(), 0.35);

        window.checksTable->selectRow(2);
        QCOMPARE(RowTexts(window.pointsTable, 2),
                 QStringList({"300.50", "300.00", "0.50", "0.40", "0.05", "mV", "+"}));
        QCOMPARE(window.pointsTable->item(2, 2)->foreground().color(), QColor(255, 0, 0));

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
        window.filterEdit->setText("v-6");
        QTRY_VERIFY(window.ChecksLoaded());
        window.checksTable->selectRow(0);
        const QString chosen = other.filePath(csv ? "historia.csv" : "protokół.pdf");
        QString offered;
        bool found = false;
        if (csv) {
            OnModal<QFileDialog>(found, [&offered, &chosen](QFileDialog* d) {
                offered = d->directory().absolutePath();
                d->findChild<QLineEdit*>("fileNameEdit")->setText(chosen);
                static_cast<QDialog*>(d)->accept(); // as its "Zapisz" button does
            });
            window.exportButton->click();
        } else {
            OnModal<QPrintDialog>(found, [&offered, &chosen](QPrintDialog* d) {
                offered = QFileInfo(d->printer()->outputFileName()).absolutePath();
                d->findChild<QLineEdit*>("filename")->setText(chosen);
                d->accept();
            });
            window.printButton->click();
        }
        QVERIFY(found);
        QCOMPARE(offered, offeredFolder);
        QCOMPARE(messages.Texts(), QStringList{(csv ? "Historię sprawdzeń" : "Wydruk") +
                                               QString(" zapisano w pliku:\n") + chosen});
        QVERIFY(QFileInfo(chosen).size() > 0);
        QCOMPARE(LastFolder(fileKind), other.path());
    }

    void databaseSettings()
    {
        RecordingMessageService messages;
        HistoryDatabaseDlg dialog(history, messages);
        QVERIFY(dialog.localButton->isChecked());
        QVERIFY(!dialog.hostEdit->isEnabled());
        dialog.serverButton->setChecked(true);
        dialog.databaseEdit->setText("lab");
        dialog.accept();
        QCOMPARE(messages.Texts(), QStringList{"Podaj nazwę lub adres serwera bazy danych."});
        QVERIFY(!HistoryConfig::Current().IsServer());

        // A socket folder that is not there: the queue is tried and stays.
        dialog.hostEdit->setText("/nonexistent-socket-folder");
        dialog.portBox->setValue(5433);
        dialog.userEdit->setText("technik");
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
        const QLabel* queue = window.findChild<QLabel*>("queueStatus");
        QVERIFY(queue && queue->isVisible());
        QVERIFY2(queue->text().startsWith("Sprawdzenia czekające na wysłanie do serwera: 1"),
                 qPrintable(queue->text()));
        QCOMPARE(messages.Errors().size(), errors);
        window.filterEdit->setText("W-1");
        QCOMPARE(
            RowTexts(window.metersTable, 0),
            QStringList({"W-1", "9", "02.01.2026 10:00:00", "pozytywny (czeka na wysłanie: 1)"}));
        QTRY_VERIFY(window.ChecksLoaded());
        QCOMPARE(RowTexts(window.checksTable, 0),
                 QStringList({"02.01.2026 10:00:00", "400 mV", "pozytywny (czeka na wysłanie)"}));
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
