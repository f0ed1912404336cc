// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "DocumentBuilder.h"
#include "OutputTestData.h"
#include "RecordingMessageService.h"
#include "ScopedDocument.h"

#include "ui/metercheck/report/CExportDlg.h"
#include "ui/metercheck/report/CPrintOptionsDlg.h"
#include "core/metercheck/report/ExcelExport.h"
#include "ui/metercheck/report/OutputCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Acts on the modal windows of a command, one step per window, in order. A step names the
// class of window it expects; windows it does not expect are closed and recorded.
class ModalScript : public QObject
{
public:
    using Step = std::function<bool(QWidget*)>; // false: not the window of this step

    explicit ModalScript(QList<Step> steps) : steps(std::move(steps))
    {
        connect(&timer, &QTimer::timeout, this, &ModalScript::Poll);
        timer.start(20);
    }
    ~ModalScript() override
    {
        // Never leave a window open behind a failed check.
        while (QWidget* w = QApplication::activeModalWidget())
            w->close();
    }

    QStringList unexpected;
    int done = 0;

private:
    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == last)
            return;
        last = w;
        if (done < steps.size() && steps[done](w)) {
            ++done;
            return;
        }
        unexpected << w->metaObject()->className();
        QMetaObject::invokeMethod(w, "reject", Qt::QueuedConnection);
    }

    QList<Step> steps;
    QTimer timer;
    QWidget* last = nullptr;
};

template <class T> ModalScript::Step On(std::function<void(T*)> act)
{
    return [act](QWidget* w) {
        T* t = qobject_cast<T*>(w);
        if (!t)
            return false;
        QTimer::singleShot(0, t, [t, act] { act(t); });
        return true;
    };
}

} // namespace

class TestOutputCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    RecordingOpener opener;
    RecordingMessageService messages;
    ExcelExport workbook{messages}; // the workbook of the test run, as of a program run
    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

    void TwoRanges()
    {
        session.Reset();
        DocumentBuilder(doc)
            .Meter("V-640", "")
            .Range(0, VoltageRange())
            .Point(MakePoint("100.05", "100.000", "0.050", "0.100", "0.012", "mV", true))
            .Range(1, ThermocoupleRange());
        session.currentRange = 1;
    }

    static bool PrintersPresent() { return !QPrinterInfo::availablePrinters().isEmpty(); }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }
    void init()
    {
        messages.messages.clear();
        opener.opened.clear();
        TwoRanges();
    }

    void printAllRangesToPdfFile()
    {
        if (PrintersPresent())
            QSKIP("a printer is installed: the print dialog would not default to a PDF file");
        const QString pdf = dir.filePath("all.pdf");
        ModalScript script({On<CPrintOptionsDlg>([](CPrintOptionsDlg* d) {
                                Child<QRadioButton>(d, "printAllRanges")->setChecked(true);
                                d->accept();
                            }),
                            On<QPrintDialog>([pdf](QPrintDialog* d) {
                                // Without printers the dialog offers only a PDF file.
                                Child<QLineEdit>(d, "filename")->setText(pdf);
                                d->accept();
                            })});
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        QCOMPARE(script.done, 2);
        QVERIFY(script.unexpected.isEmpty());
        // The technician is told where the file went.
        QCOMPARE(messages.Texts(), QStringList{"Wydruk zapisano w pliku:\n" + pdf});
        QCOMPARE(messages.messages[0].icon, MessageIcon::Information);
        QCOMPARE(PdfPages(pdf), 2);
        QVERIFY(PdfText(pdf, 1, 1).contains("Zakres: 400 mV"));
        QVERIFY(PdfText(pdf, 2, 2).contains("Zakres: 1200 °C"));
    }

    void printCurrentRangeSuggestsFileBesideDocument()
    {
        if (PrintersPresent())
            QSKIP("a printer is installed: the print dialog would not default to a PDF file");
        session.documentName = dir.filePath("Miernik 7.met");
        QString suggested;
        ModalScript script({On<CPrintOptionsDlg>([](CPrintOptionsDlg* d) { d->accept(); }),
                            On<QPrintDialog>([&suggested](QPrintDialog* d) {
                                suggested = d->printer()->outputFileName();
                                d->accept();
                            })});
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        QCOMPARE(script.done, 2);
        QCOMPARE(suggested, dir.filePath("Miernik 7.pdf"));
        QCOMPARE(PdfPages(suggested), 1);
        QVERIFY(PdfText(suggested).contains("Zakres: 1200 °C"));
    }

    // Every range prints whole: no page range, "Current Page" or "Selection" to choose.
    void printDialogOffersAllPagesOnly()
    {
        QStringList offered;
        ModalScript script(
            {On<CPrintOptionsDlg>([](CPrintOptionsDlg* d) { d->accept(); }),
             On<QPrintDialog>([&offered](QPrintDialog* d) {
                 // The part under "Options >>", as it shows when the user opens it.
                 QWidget* settings = d->findChild<QWidget*>("QPrintSettingsOutput");
                 if (!settings)
                     offered << "QPrintSettingsOutput";
                 for (const char* name : {"printRange", "pagesRadioButton", "pagesLineEdit",
                                          "printCurrentPage", "printSelection", "pageSetCombo"}) {
                     auto* w = d->findChild<QWidget*>(name);
                     if (!w || !settings || (w->isVisibleTo(settings) && w->isEnabled()))
                         offered << name; // a missing widget shows too: the dialog changed
                 }
                 d->reject();
             })});
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        QCOMPARE(script.done, 2);
        QCOMPARE(offered, QStringList());
    }

    // Printed to a file, the report never replaces the open document, also through a link.
    void printOverTheOpenDocumentIsRefused()
    {
        if (PrintersPresent())
            QSKIP("a printer is installed: the print dialog would not default to a PDF file");
        session.documentName = dir.filePath("otwarty.met");
        QFile document(session.documentName);
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write("the document");
        document.close();
        const QString link = dir.filePath("otwarty.pdf");
        QVERIFY(QFile::link(session.documentName, link));
        ModalScript script({On<CPrintOptionsDlg>([](CPrintOptionsDlg* d) { d->accept(); }),
                            On<QPrintDialog>([link](QPrintDialog* d) {
                                Child<QLineEdit>(d, "filename")->setText(link);
                                d->accept();
                            })});
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        QCOMPARE(script.done, 2);
        QCOMPARE(messages.Texts(), QStringList{"Nie zapisano wydruku w pliku:\n" + link +
                                               "\nTo jest plik dokumentu, z którego powstaje "
                                               "raport."});
        QVERIFY(document.open(QIODevice::ReadOnly));
        QCOMPARE(document.readAll(), QByteArray("the document"));
    }

    void suggestedFile_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("remembered"); // the workbook folder last used
        QTest::addColumn<QString>("suggested");  // @DIR and @OTHER stand for folders
        DataRow("in the folder last used for workbooks", "@DIR/Miernik 7.met", "@OTHER",
                "@OTHER/Miernik 7.xlsx");
        DataRow("a folder that has gone does not count", "@DIR/Miernik 7.met", "@DIR/gone",
                "@DIR/Miernik 7.xlsx");
    }
    void suggestedFile()
    {
        QFETCH(QString, document);
        QFETCH(QString, remembered);
        QFETCH(QString, suggested);
        QTemporaryDir other;
        auto place = [this, &other](QString text) {
            return text.replace("@DIR", dir.path()).replace("@OTHER", other.path());
        };
        const auto restore = qScopeGuard([] { QSettings("Modrex", "r718").remove("Folders"); });
        session.documentName = place(document);
        RememberFolder(FileKind::Workbook, place(remembered) + "/file");
        QCOMPARE(MeterCheckOutput::SuggestedPath(FileKind::Workbook, "xlsx", "R718",
                                                 session.documentName),
                 place(suggested));
    }

    // A long print shows its progress under a busy cursor; "Anuluj" stops it between pages,
    // and the PDF file chosen stays as it was.
    void printCancelledInTheProgressDialog()
    {
        if (PrintersPresent())
            QSKIP("a printer is installed: the print dialog would not default to a PDF file");
        session.Reset();
        for (int i = 0; i < maxRanges; ++i) {
            doc.ranges[i] = VoltageRange();
            doc.ranges[i].rangeMeasured = 1;
            for (int j = 0; j < maxPoints; ++j)
                doc.ranges[i].points[j] =
                    MakePoint(QString::number(j * 8 + 0.05), QString::number(j * 8), "0.050",
                              "0.100", "0.012", "mV", true);
        }
        const QString pdf = dir.filePath("kept.pdf");
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older report");
        old.close();
        QString label;
        bool busy = false;
        ModalScript script({On<CPrintOptionsDlg>([](CPrintOptionsDlg* d) {
                                Child<QRadioButton>(d, "printAllRanges")->setChecked(true);
                                Child<QCheckBox>(d, "printPointsChart")->setChecked(true);
                                Child<QCheckBox>(d, "printErrorsChart")->setChecked(true);
                                d->accept();
                            }),
                            On<QPrintDialog>([pdf](QPrintDialog* d) {
                                Child<QLineEdit>(d, "filename")->setText(pdf);
                                d->accept();
                            }),
                            On<QProgressDialog>([&](QProgressDialog* d) {
                                label = d->labelText();
                                busy = QApplication::overrideCursor() &&
                                       QApplication::overrideCursor()->shape() == Qt::BusyCursor;
                                for (QPushButton* b : d->findChildren<QPushButton*>())
                                    if (b->text() == "Anuluj")
                                        b->click();
                            })});
        // The charts print fast: the dialog shows at once, as for a long print on a slower PC.
        qputenv("R718_PROGRESS_AFTER_MS", "0");
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        qunsetenv("R718_PROGRESS_AFTER_MS");
        QCOMPARE(script.done, 3);
        QVERIFY(script.unexpected.isEmpty());
        QVERIFY2(
            QRegularExpression("^Zakres \\d+ z 50, strona \\d+ z 150$").match(label).hasMatch(),
            qPrintable(label));
        QVERIFY(busy);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("an older report"));
    }

    void printCancelled_data()
    {
        QTest::addColumn<bool>("inOptions");
        DataRow("options dialog", true);
        DataRow("print dialog", false);
    }
    void printCancelled()
    {
        QFETCH(bool, inOptions);
        const QString pdf = dir.filePath("cancelled.pdf");
        QList<ModalScript::Step> steps{On<CPrintOptionsDlg>(
            [inOptions](CPrintOptionsDlg* d) { inOptions ? d->reject() : d->accept(); })};
        if (!inOptions) {
            steps << On<QPrintDialog>([pdf](QPrintDialog* d) {
                d->printer()->setOutputFileName(pdf);
                d->reject();
            });
        }
        ModalScript script(steps);
        MeterCheckOutput::OnPrint(session, messages, nullptr);
        QCOMPARE(script.done, steps.size());
        QVERIFY(script.unexpected.isEmpty());
        QVERIFY(messages.messages.isEmpty());
        QVERIFY(!QFileInfo::exists(pdf));
    }

    // The export keeps its workbook for the whole program run, so these run in this order.
    void exportCancelledInFileDialogKeepsNothing()
    {
        session.documentName = dir.filePath("Miernik 7.met");
        QString suggested;
        ModalScript script({On<CExportDlg>([](CExportDlg* d) { d->accept(); }),
                            On<QFileDialog>([&suggested](QFileDialog* d) {
                                suggested = d->selectedFiles().value(0);
                                d->reject();
                            })});
        MeterCheckOutput::OnExport(session, workbook, opener, nullptr);
        QCOMPARE(script.done, 2);
        QCOMPARE(suggested, dir.filePath("Miernik 7.xlsx"));
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(workbook.exportCount, 0);
    }

    void exportsOfTheRunGoToOneWorkbook()
    {
        const QString xlsx = dir.filePath("run.xlsx");
        {
            ModalScript script({On<CExportDlg>([](CExportDlg* d) { d->accept(); }),
                                On<QFileDialog>([xlsx](QFileDialog* d) {
                                    // The dialog's own name field, as a user types into it.
                                    Child<QLineEdit>(d, "fileNameEdit")->setText(xlsx);
                                    static_cast<QDialog*>(d)->accept();
                                })});
            MeterCheckOutput::OnExport(session, workbook, opener, nullptr);
            QCOMPARE(script.done, 2);
            QVERIFY(script.unexpected.isEmpty());
        }
        QCOMPARE(opener.opened, QStringList{xlsx});
        QCOMPARE(LastFolder(FileKind::Workbook), dir.path());
        {
            // The second export asks no file name: only the options dialog appears.
            ModalScript script({On<CExportDlg>([](CExportDlg* d) {
                Child<QRadioButton>(d, "exportAllRanges")->setChecked(true);
                d->accept();
            })});
            MeterCheckOutput::OnExport(session, workbook, opener, nullptr);
            QCOMPARE(script.done, 1);
            QVERIFY(script.unexpected.isEmpty());
        }
        QCOMPARE(opener.opened, QStringList({xlsx, xlsx}));
        QVERIFY(messages.messages.isEmpty());
        const XlsxBook book = ReadXlsx(xlsx);
        QStringList names;
        for (const XlsxSheet& s : book.sheets)
            names << s.name;
        QCOMPARE(names, QStringList({"Zakres (1200 °C)", "Zakres (400 mV)", "Zakres (1200 °C) 2"}));
        QCOMPARE(book.activeSheet, 2);
        QVERIFY(!session.IsModified());
    }

    void exportCancelledInOptionsChangesNothing()
    {
        const QString before = workbook.Path();
        ModalScript script({On<CExportDlg>([](CExportDlg* d) { d->reject(); })});
        MeterCheckOutput::OnExport(session, workbook, opener, nullptr);
        QCOMPARE(script.done, 1);
        QVERIFY(opener.opened.isEmpty());
        QCOMPARE(workbook.exportCount, 3);
        QCOMPARE(workbook.Path(), before);
    }
};

QTEST_MAIN(TestOutputCommands)
#include "tst_outputcommands.moc"
