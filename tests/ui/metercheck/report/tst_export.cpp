// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "OutputTestData.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"
#include "ScriptedProgress.h"

#include "ui/metercheck/report/CExportDlg.h"
#include "core/metercheck/report/ExcelExport.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FixedPath : public ExportPathChooser
{
public:
    explicit FixedPath(QString path) : path(path) {}
    QString AskWorkbookPath() override
    {
        ++asked;
        return path;
    }
    QString path;
    int asked = 0;
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

private:
    QTemporaryDir dir;
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

    // One voltage range (0) with three points, the second unmarked and never measured, and a
    // K-thermocouple range (1) with one point.
    void SampleDocument()
    {
        session.Reset();
        DocumentBuilder(doc)
            .Meter("V-640", "A12345")
            .Range(0, VoltageRange())
            .Measured()
            .Point(MakePoint("100.05", "100.000", "0.050", "0.100", "0.012", "mV", true))
            .Point(MakePoint("", "200", "", "", "", "", false, false))
            .Point(MakePoint("299.88", "300.000", "-0.120", "0.100", "0.020", "mV", true))
            .Range(1, ThermocoupleRange())
            .Point(MakePoint("500.2", "500.0", "0.2", "6.0", "0.9", "°C", true));
    }

    static QList<int> Ranges(std::initializer_list<int> r) { return QList<int>(r); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void voltageRangeCells()
    {
        SampleDocument();
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("voltage.xlsx"));
        QVERIFY(excel.Export(session, Ranges({0}), chooser, nullptr));
        const XlsxBook book = ReadXlsx(chooser.path);
        QVERIFY(book.ok);
        QCOMPARE(book.title, QString("R718"));
        QCOMPARE(book.sheets.size(), 1);
        const XlsxSheet& s = book.sheets[0];
        QCOMPARE(s.name, QString("Zakres (400 mV)"));
        const QMap<QString, QString> expected{
            {"A1", "Protokół sprawdzania miernika"},
            {"A2", "Nazwa:"},
            {"B2", "V-640"},
            {"A3", "Numer:"},
            {"B3", "A12345"},
            {"A4", "Metoda dokładnej nastawy"},
            {"E2", "Zakres miernika: 400 mV"},
            {"E3", "Klasa: 0.05% wartości mierzonej, 0.1% zakresu + 0.01mV"},
            {"A6", "Wskazanie miernika"},
            {"B6", "Nastawa kalibratora"},
            {"C6", "Bład miernika rzeczywisty"},
            {"D6", "Błąd miernika dopuszczalny"},
            {"E6", "Błąd kalibratora"},
            {"F6", "j.m."},
            {"G6", "ON"},
            {"A7", "100.05"},
            {"B7", "100.000"},
            {"C7", "0.050"},
            {"D7", "0.100"},
            {"E7", "0.012"},
            {"F7", "mV"},
            {"G7", "+"},
            {"B8", "200"},
            {"A9", "299.88"},
            {"B9", "300.000"},
            {"C9", "-0.120"}, // no "*" in the workbook
            {"D9", "0.100"},
            {"E9", "0.020"},
            {"F9", "mV"},
            {"G9", "+"},
        };
        QCOMPARE(s.cells, expected); // E4 and G8 stay empty
        QVERIFY(s.nonTextCells.isEmpty());
    }

    void thermocoupleSensorCell()
    {
        SampleDocument();
        doc.method = CheckMethod::ExactReading;
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("thermo.xlsx"));
        QVERIFY(excel.Export(session, Ranges({1}), chooser, nullptr));
        const XlsxBook book = ReadXlsx(chooser.path);
        QCOMPARE(book.sheets.size(), 1);
        const XlsxSheet& s = book.sheets[0];
        QCOMPARE(s.name, QString("Zakres (1200 °C)"));
        QCOMPARE(s.cells.value("E4"), QString("Czujnik: K (NiCr-NiAl); [To=23.0 °C]"));
        QCOMPARE(s.cells.value("A4"), QString("Metoda dokładnego odczytu"));
        QCOMPARE(s.cells.value("E3"), QString("Klasa: 0.5% zakresu"));
        QCOMPARE(s.cells.value("A7"), QString("500.2"));
        QCOMPARE(s.cells.value("F7"), QString("°C"));
        QCOMPARE(s.cells.value("G7"), QString("+"));
    }

    void rangeWithoutPointsHasSixRows()
    {
        SampleDocument();
        doc.ranges[2] = VoltageRange();
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("empty.xlsx"));
        QVERIFY(excel.Export(session, Ranges({2}), chooser, nullptr));
        const XlsxSheet s = ReadXlsx(chooser.path).sheets.value(0);
        QVERIFY(!s.cells.isEmpty());
        for (const QString& address : s.cells.keys())
            QVERIFY2(address.mid(1).toInt() <= 6, qPrintable(address));
    }

    void exportsOfOneRunShareTheWorkbook()
    {
        SampleDocument();
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("shared.xlsx"));
        RecordingOpener opener;
        QVERIFY(excel.Export(session, Ranges({0}), chooser, &opener));
        QVERIFY(excel.Export(session, Ranges({1}), chooser, &opener));
        QCOMPARE(chooser.asked, 1); // only the first export asks where to save
        QCOMPARE(opener.opened, QStringList({chooser.path, chooser.path}));
        QCOMPARE(excel.exportCount, 2);
        const XlsxBook book = ReadXlsx(chooser.path);
        QCOMPARE(book.sheets.size(), 2);
        QCOMPARE(book.sheets[0].name, QString("Zakres (400 mV)"));
        QCOMPARE(book.sheets[1].name, QString("Zakres (1200 °C)"));
        QCOMPARE(book.activeSheet, 1);
        QCOMPARE(book.sheets[0].cells.value("A9"), QString("299.88"));
        QCOMPARE(book.sheets[1].cells.value("E4"), QString("Czujnik: K (NiCr-NiAl); [To=23.0 °C]"));
    }

    // Cancelled between ranges: nothing is written, and the workbook of the run stays as it
    // was; the last step before the file is its writing.
    void cancelBetweenRanges()
    {
        SampleDocument();
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("cancelled.xlsx"));
        ScriptedProgress progress(2);
        QVERIFY(!excel.Export(session, Ranges({0, 1}), chooser, nullptr, &progress));
        QCOMPARE(progress.steps, QStringList({"0/3 Zakres 1 z 2", "1/3 Zakres 2 z 2"}));
        QVERIFY(!QFile::exists(chooser.path));
        QVERIFY(excel.Workbook().Sheets().isEmpty());
        QCOMPARE(excel.exportCount, 0);

        ScriptedProgress whole;
        QVERIFY(excel.Export(session, Ranges({0, 1}), chooser, nullptr, &whole));
        QCOMPARE(whole.steps.last(), QString("2/3 Zapisywanie skoroszytu"));
        QCOMPARE(whole.dones, 1);
        QCOMPARE(ReadXlsx(chooser.path).sheets.size(), 2);
    }

    void duplicateNamesMadeUnique()
    {
        SampleDocument();
        doc.ranges[2] = VoltageRange(); // same value and unit as range 0
        ExcelExport excel(log);
        FixedPath chooser(dir.filePath("dupes.xlsx"));
        QVERIFY(excel.Export(session, Ranges({0, 1, 2}), chooser, nullptr));
        QVERIFY(excel.Export(session, Ranges({0}), chooser, nullptr));
        const XlsxBook book = ReadXlsx(chooser.path);
        QStringList names;
        for (const XlsxSheet& s : book.sheets)
            names << s.name;
        QCOMPARE(names, QStringList({"Zakres (400 mV)", "Zakres (1200 °C)", "Zakres (400 mV) 2",
                                     "Zakres (400 mV) 3"}));
    }

    void sheetNames_data()
    {
        DataColumns<QStringList, QString, QString>("existing", "wanted", "name");
        DataRow("free", QStringList{}, "Zakres (4 V)", "Zakres (4 V)");
        DataRow("taken ignoring case", QStringList{"ZAKRES (4 V)"}, "Zakres (4 V)",
                "Zakres (4 V) 2");
        DataRow("next free number", QStringList{"Zakres (4 V)", "Zakres (4 V) 2"}, "Zakres (4 V)",
                "Zakres (4 V) 3");
        DataRow("forbidden characters replaced", QStringList{}, "Zakres [4/V]?", "Zakres _4_V__");
        DataRow("kept within 31 characters", QStringList{"Zakres (123456789012345678901 V"},
                "Zakres (123456789012345678901 V)", "Zakres (123456789012345678901 2");
    }
    void sheetNames()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, wanted);
        QFETCH(QString, name);
        ExportWorkbook book;
        for (const QString& e : existing)
            book.AddSheet({e, {}});
        QCOMPARE(book.UniqueSheetName(wanted), name);
        QVERIFY(book.UniqueSheetName(wanted).size() <= 31);
    }

    void cancelledPathWritesNothing()
    {
        SampleDocument();
        RecordingMessageService messages;
        ExcelExport excel(messages);
        FixedPath chooser("");
        RecordingOpener opener;
        QVERIFY(!excel.Export(session, Ranges({0}), chooser, &opener));
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(excel.exportCount, 0);
    }

    void writeFailureChangesNothing()
    {
        SampleDocument();
        RecordingMessageService messages;
        ExcelExport excel(messages);
        const QString folder = dir.filePath("gone");
        QVERIFY(QDir().mkpath(folder));
        FixedPath chooser(folder + "/book.xlsx");
        RecordingOpener opener;
        QVERIFY(excel.Export(session, Ranges({0}), chooser, &opener));
        const QByteArray before = [&] {
            QFile f(chooser.path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(!before.isEmpty());

        // The folder disappears: the second export cannot write and must leave all as it was.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(!excel.Export(session, Ranges({1}), chooser, &opener));
        // The file and the real cause, once; no error code that does not belong to it.
        QVERIFY(messages.OnlyError("Nie zapisano skoroszytu w pliku:\n" + chooser.path +
                                   "\nFolder docelowy nie istnieje."));
        QCOMPARE(excel.exportCount, 1);
        QCOMPARE(excel.Workbook().Sheets().size(), 1);
        QCOMPARE(opener.opened.size(), 1);

        // Once the folder is back, the next export writes both the old and the new sheet.
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(excel.Export(session, Ranges({1}), chooser, &opener));
        QCOMPARE(ReadXlsx(chooser.path).sheets.size(), 2);
    }

    void firstWriteFailureForgetsThePath()
    {
        SampleDocument();
        RecordingMessageService messages;
        ExcelExport excel(messages);
        FixedPath chooser(dir.filePath("missing/book.xlsx"));
        QVERIFY(!excel.Export(session, Ranges({0}), chooser, nullptr));
        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(excel.Path().isEmpty());
        chooser.path = dir.filePath("second-try.xlsx");
        QVERIFY(excel.Export(session, Ranges({0}), chooser, nullptr));
        QCOMPARE(chooser.asked, 2);
        QCOMPARE(ReadXlsx(chooser.path).sheets.size(), 1);
    }

    // Saved but not opened: the export worked, and the technician learns where the file is.
    void workbookWithoutAProgramToOpenIt()
    {
        SampleDocument();
        RecordingMessageService messages;
        ExcelExport excel(messages);
        FixedPath chooser(dir.filePath("noviewer.xlsx"));
        RecordingOpener opener;
        opener.result = false;
        QVERIFY(excel.Export(session, Ranges({0}), chooser, &opener));
        QCOMPARE(messages.Texts(), QStringList{"Skoroszyt zapisano w pliku " + chooser.path +
                                               ".\nNie znaleziono programu, który go otworzy."});
        QCOMPARE(messages.messages[0].icon, MessageIcon::Information);
        QCOMPARE(ReadXlsx(chooser.path).sheets.size(), 1);
        QCOMPARE(excel.exportCount, 1);
    }

    void libraryErrorBoxHasNoBellCharacters()
    {
        RecordingMessageService messages;
        ReportComError({0x80004005, QStringLiteral("Błąd biblioteki")}, messages);
        QCOMPARE(messages.Texts(), QStringList{"Oops - hit an error!\n\tCode = 80004005\n"
                                               "\tCode meaning = Błąd biblioteki\n"});
        QCOMPARE(messages.messages[0].caption, QString("excel com"));
    }

    void exportDialogDefaultsAndChoice()
    {
        CExportDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("Eksport danych do Excela"));
        auto* current = Child<QRadioButton>(dlg, "exportCurrentRange");
        auto* all = Child<QRadioButton>(dlg, "exportAllRanges");
        QVERIFY(current && all);
        QCOMPARE(current->text(), QString("Eksport danych z bieżącego zakresu"));
        QCOMPARE(all->text(), QString("Eksport danych ze wszystkich zakresów"));
        QVERIFY(current->isChecked());
        all->setChecked(true);
        dlg.accept();
        QCOMPARE(dlg.exportScope, RangeScope::All);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
