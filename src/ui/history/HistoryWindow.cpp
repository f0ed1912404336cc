// SPDX-License-Identifier: MIT
#include "ui/history/HistoryWindow.h"

#include "core/base/LastFolders.h"
#include "core/base/MessageService.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryService.h"
#include "core/history/QueueTexts.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/history/DriftChartView.h"
#include "ui/history/QueueStatusLabel.h"
#include "ui/history/StoredCheckReport.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportPrintDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor passColour(0, 128, 0);
const QColor failColour(255, 0, 0);

QString DateTimeText(const QDateTime& t)
{
    return ReportDateText(t.date()) + QLatin1Char(' ') + ReportTimeText(t.time());
}

QTableWidget* NewTable(const QStringList& headers, const QString& name, QWidget* parent)
{
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setWordWrap(false);
    return table;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    return item;
}

// A check waiting in this bench's queue for the server says so beside its verdict.
QTableWidgetItem* VerdictCell(bool passed, const QString& waitingNote = QString())
{
    QString text = VerdictText(passed);
    if (!waitingNote.isEmpty())
        text += QStringLiteral(" (%1)").arg(waitingNote);
    QTableWidgetItem* item = Cell(text);
    item->setForeground(passed ? passColour : failColour);
    if (!waitingNote.isEmpty()) {
        QFont italic = item->font();
        italic.setItalic(true);
        item->setFont(italic);
        item->setToolTip(
            QStringLiteral("Zapisane na tym komputerze, czeka na wysłanie do serwera."));
    }
    return item;
}

} // namespace

HistoryWindow::HistoryWindow(HistoryService& history, MessageService& messages, QWidget* parent,
                             const QString& openDocument)
    : QDialog(parent), history(history), messages(messages), openDocument(openDocument)
{
    setWindowTitle(QStringLiteral("Historia sprawdzeń"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // Fits a 1366×768 screen with its frame and a panel; the lists give way first.
    resize(1180, 660);

    auto* filterLabel = new QLabel(QStringLiteral("&Filtr:"), this);
    filterEdit = new QLineEdit(this);
    filterEdit->setObjectName(QStringLiteral("filterEdit"));
    filterEdit->setPlaceholderText(QStringLiteral("nazwa lub numer miernika"));
    filterEdit->setClearButtonEnabled(true);
    filterLabel->setBuddy(filterEdit);

    metersTable = NewTable({QStringLiteral("Nazwa"), QStringLiteral("Numer"),
                            QStringLiteral("Ostatnie sprawdzenie"), QStringLiteral("Wynik")},
                           QStringLiteral("metersTable"), this);
    checksTable =
        NewTable({QStringLiteral("Data"), QStringLiteral("Zakres"), QStringLiteral("Wynik")},
                 QStringLiteral("checksTable"), this);
    // The headers of the points grid, each on two lines.
    pointsTable = NewTable(
        {QStringLiteral("Wskazanie\nmiernika"), QStringLiteral("Nastawa\nkalibratora"),
         QStringLiteral("Błąd mier.\nrzeczyw."), QStringLiteral("Błąd mier.\ndopuszcz."),
         QStringLiteral("Błąd\nkalibratora"), QStringLiteral("j.m."), QStringLiteral("ON")},
        QStringLiteral("pointsTable"), this);
    driftChart = new DriftChartView(this);
    driftChart->setObjectName(QStringLiteral("driftChart"));

    printButton = new QPushButton(QStringLiteral("&Drukuj protokół"), this);
    exportButton = new QPushButton(QStringLiteral("&Eksport do CSV..."), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    exportButton->setObjectName(QStringLiteral("exportButton"));
    printButton->setEnabled(false);
    exportButton->setEnabled(false);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));
    auto* closeButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    closeButtons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Zamknij"));

    auto* metersBox = new QWidget(this);
    auto* metersLayout = new QVBoxLayout(metersBox);
    metersLayout->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filterEdit);
    metersLayout->addLayout(filterRow);
    metersLayout->addWidget(new QLabel(QStringLiteral("Sprawdzone mierniki:"), metersBox));
    metersLayout->addWidget(metersTable);

    auto* checksBox = new QWidget(this);
    auto* checksLayout = new QVBoxLayout(checksBox);
    checksLayout->setContentsMargins(0, 0, 0, 0);
    checksLayout->addWidget(new QLabel(QStringLiteral("Sprawdzenia miernika:"), checksBox));
    checksLayout->addWidget(checksTable);

    auto* pointsBox = new QWidget(this);
    auto* pointsLayout = new QVBoxLayout(pointsBox);
    pointsLayout->setContentsMargins(0, 0, 0, 0);
    pointsLayout->addWidget(new QLabel(QStringLiteral("Punkty sprawdzenia:"), pointsBox));
    detailsLabel = new QLabel(pointsBox);
    detailsLabel->setObjectName(QStringLiteral("detailsLabel"));
    detailsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pointsLayout->addWidget(detailsLabel);
    pointsLayout->addWidget(pointsTable);

    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(metersBox);
    top->addWidget(checksBox);
    top->setSizes({620, 520});
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(pointsBox);
    bottom->addWidget(driftChart);
    bottom->setSizes({560, 600});
    auto* halves = new QSplitter(Qt::Vertical, this);
    halves->addWidget(top);
    halves->addWidget(bottom);
    halves->setSizes({250, 350});

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(printButton);
    buttonRow->addWidget(exportButton);
    buttonRow->addWidget(status, 1);
    buttonRow->addWidget(closeButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(halves, 1);
    layout->addWidget(new QueueStatusLabel(history, this));
    layout->addLayout(buttonRow);

    metersTable->setColumnWidth(0, 200);
    metersTable->setColumnWidth(1, 130);
    metersTable->setColumnWidth(2, 150);
    checksTable->setColumnWidth(0, 150);
    checksTable->setColumnWidth(1, 200);
    for (int c = 0; c < 5; ++c)
        pointsTable->setColumnWidth(c, 88);
    pointsTable->setColumnWidth(5, 44);
    for (QTableWidget* table : {metersTable, checksTable, pointsTable})
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);

    connect(filterEdit, &QLineEdit::textChanged, this, &HistoryWindow::ShowMeters);
    connect(metersTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnMeterChosen);
    connect(checksTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnCheckChosen);
    connect(pointsTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnPointChosen);
    connect(printButton, &QPushButton::clicked, this, &HistoryWindow::OnPrint);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::OnExport);
    connect(closeButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    LoadMeters();
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::ShowStatus(const QString& text)
{
    status->setText(text);
}

void HistoryWindow::ShowReadError(const QString& error)
{
    // A server out of reach fails every read alike: one box says it.
    if (error == shownReadError)
        return;
    shownReadError = error;
    messages.ShowError(error, this);
}

void HistoryWindow::LoadMeters()
{
    ShowStatus(QStringLiteral("Wczytywanie historii..."));
    // What waits for the server goes first, so that the lab's history is complete.
    if (HistoryService::Config().IsServer())
        history.SendQueued();
    // The answer may come after the window closed: it goes to the service, which outlives
    // every window, and is dropped when the window is gone.
    history.Meters().then(&history, [this, window = QPointer(this)](
                                        const Fetched<QList<MeterSummary>>& m) {
        if (!window)
            return;
        metersLoaded = true;
        // Without the database the checks waiting in the queue are still listed.
        meters = m.value;
        ShowStatus(
            m.Ok() ? QStringLiteral("Baza danych: %1").arg(HistoryService::Config().Description())
                   : QString());
        ShowMeters();
        if (!m.Ok())
            ShowReadError(m.error);
    });
}

void HistoryWindow::ShowMeters()
{
    const QString filter = filterEdit->text();
    shownMeters.clear();
    for (const MeterSummary& m : meters)
        if (MeterMatches(m, filter))
            shownMeters << m;

    {
        const QSignalBlocker quiet(metersTable);
        metersTable->setUpdatesEnabled(false);
        metersTable->clearContents();
        metersTable->setRowCount(int(shownMeters.size()));
        for (int row = 0; row < shownMeters.size(); ++row) {
            const MeterSummary& m = shownMeters[row];
            metersTable->setItem(row, 0, Cell(m.name, Qt::AlignLeft | Qt::AlignVCenter));
            metersTable->setItem(row, 1, Cell(m.number, Qt::AlignLeft | Qt::AlignVCenter));
            metersTable->setItem(row, 2, Cell(DateTimeText(m.lastCheckedAt)));
            metersTable->setItem(
                row, 3,
                VerdictCell(m.lastPassed,
                            m.waiting > 0 ? QStringLiteral("czeka na wysłanie: %1").arg(m.waiting)
                                          : QString()));
        }
        metersTable->setUpdatesEnabled(true);
        metersTable->clearSelection();
        if (!shownMeters.isEmpty())
            metersTable->selectRow(0);
    }
    OnMeterChosen();
}

void HistoryWindow::OnMeterChosen()
{
    ++request;
    checks.clear();
    checksLoaded = false;
    checksTable->setRowCount(0);
    pointsTable->setRowCount(0);
    driftChart->Clear();
    exportButton->setEnabled(false);
    printButton->setEnabled(false);

    const int row = metersTable->currentRow();
    if (row < 0 || row >= shownMeters.size() || metersTable->selectedItems().isEmpty())
        return;
    const MeterSummary meter = shownMeters[row];
    const int asked = request;
    history.ChecksWithPoints(meter.name, meter.number)
        .then(&history, [this, window = QPointer(this), asked](const Fetched<QList<CheckRecord>>& c) {
            if (!window || asked != request)
                return;
            checksLoaded = true;
            if (!c.Ok())
                ShowReadError(c.error);
            // Newest first, the ranges of one run in their order in the document.
            checks = c.value;
            std::reverse(checks.begin(), checks.end());
            std::stable_sort(checks.begin(), checks.end(),
                             [](const CheckRecord& a, const CheckRecord& b) {
                                 return a.checkedAt == b.checkedAt ? a.rangeSlot < b.rangeSlot
                                                                   : a.checkedAt > b.checkedAt;
                             });
            const QSignalBlocker quiet(checksTable);
            checksTable->setRowCount(int(checks.size()));
            for (int i = 0; i < checks.size(); ++i) {
                checksTable->setItem(i, 0, Cell(DateTimeText(checks[i].checkedAt)));
                QString range = checks[i].RangeText();
                if (!checks[i].sensorName.isEmpty())
                    range += QStringLiteral(" (%1)").arg(checks[i].sensorName);
                checksTable->setItem(i, 1, Cell(range));
                checksTable->setItem(
                    i, 2,
                    VerdictCell(checks[i].passed, checks[i].waiting
                                                      ? QStringLiteral("czeka na wysłanie")
                                                      : QString()));
            }
            exportButton->setEnabled(!checks.isEmpty());
            if (!checks.isEmpty())
                checksTable->selectRow(0);
            OnCheckChosen();
        });
}

const CheckRecord* HistoryWindow::ChosenCheck() const
{
    const int row = checksTable->currentRow();
    if (row < 0 || row >= checks.size() || checksTable->selectedItems().isEmpty())
        return nullptr;
    return &checks[row];
}

void HistoryWindow::OnCheckChosen()
{
    const QSignalBlocker quiet(pointsTable);
    pointsTable->setRowCount(0);
    const CheckRecord* check = ChosenCheck();
    printButton->setEnabled(check != nullptr);
    detailsLabel->clear();
    if (!check) {
        driftChart->Clear();
        return;
    }
    detailsLabel->setText(
        QStringLiteral("Komputer: %1; użytkownik: %2").arg(check->computer, check->user));
    // The rows as the points grid showed them: a row per defined slot.
    int rows = 0;
    for (const CheckPointRecord& p : check->points)
        rows = std::max(rows, p.position + 1);
    pointsTable->setRowCount(rows);
    for (const CheckPointRecord& p : check->points) {
        const int r = p.position;
        pointsTable->setItem(r, 0, Cell(p.reading));
        pointsTable->setItem(r, 1, Cell(p.setting));
        QTableWidgetItem* actual = Cell(p.actualError);
        actual->setForeground(p.exceeded ? failColour : QColor(Qt::black));
        pointsTable->setItem(r, 2, actual);
        pointsTable->setItem(r, 3, Cell(p.permissibleError));
        pointsTable->setItem(r, 4, Cell(p.calibratorError));
        pointsTable->setItem(r, 5, Cell(p.unit));
        pointsTable->setItem(r, 6, Cell(p.marked ? QStringLiteral("+") : QString()));
    }
    driftChart->Show(BuildDrift(checks, *check), 0);
}

void HistoryWindow::OnPointChosen()
{
    const CheckRecord* check = ChosenCheck();
    const int row = pointsTable->currentRow();
    if (!check || row < 0)
        return;
    // The band follows the chosen point: the series are in the order of the check's
    // measured points.
    int series = 0;
    for (const CheckPointRecord& p : check->points) {
        if (p.position == row) {
            if (p.measured)
                driftChart->Show(BuildDrift(checks, *check), series);
            return;
        }
        series += p.measured ? 1 : 0;
    }
}

bool HistoryWindow::PrintChosenCheck(QPrinter& printer, QString* writtenFile)
{
    const CheckRecord* check = ChosenCheck();
    if (!check)
        return false;
    bool printed = false;
    const bool written = PrintOnChosenPrinter(
        printer,
        [&](PrintJobs& jobs) {
            printed = PrintStoredCheck(*check, jobs, messages);
            return true; // what was printed goes out, even after a failure
        },
        openDocument, messages, writtenFile);
    return printed && written;
}

void HistoryWindow::OnPrint()
{
    const CheckRecord* check = ChosenCheck();
    if (!check)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4)); // the page is laid out for A4
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        // Only a PDF file can be chosen then: suggest one named after the meter and the date.
        QString name =
            QStringLiteral("Protokół %1 %2.pdf")
                .arg(check->meterNumber, check->checkedAt.toString(QStringLiteral("yyyy-MM-dd")));
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        printer.setOutputFileName(QDir(StartFolder(FileKind::Report)).filePath(name));
    }
    ReportPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        RememberFolder(FileKind::Report, printer.outputFileName());
    QString file;
    PrintChosenCheck(printer, &file);
    if (!file.isEmpty())
        ShowWrittenFile(QStringLiteral("Wydruk"), file);
}

void HistoryWindow::ShowWrittenFile(const QString& what, const QString& file)
{
    messages.Show(
        QStringLiteral("%1 zapisano w pliku:\n%2").arg(what, QDir::toNativeSeparators(file)),
        QString::fromUtf8(reportMessageCaption), MessageIcon::Information, MessageButtons::Ok,
        this);
}

bool HistoryWindow::ExportShownChecks(const QString& path)
{
    const QString error = WriteHistoryCsv(path, checks);
    if (!error.isEmpty()) {
        messages.ShowError(error, this);
        return false;
    }
    return true;
}

void HistoryWindow::OnExport()
{
    if (checks.isEmpty())
        return;
    QString name = QStringLiteral("Historia %1.csv").arg(checks.first().meterNumber);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Eksport do CSV"),
                                                QDir(StartFolder(FileKind::Csv)).filePath(name),
                                                QStringLiteral("Pliki CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        path += QLatin1String(".csv");
    RememberFolder(FileKind::Csv, path);
    if (ExportShownChecks(path))
        ShowWrittenFile(QStringLiteral("Historię sprawdzeń"), path);
}

void HistoryWindow::reject()
{
    const int waiting = endsTheProgram ? history.Queue().waiting : 0;
    if (waiting > 0 && messages.AskQuestion(ExitWithWaitingQuestion(waiting), windowTitle(),
                                            MessageButtons::YesNo, this) != MessageAnswer::Yes)
        return;
    QDialog::reject();
}
