// SPDX-License-Identifier: MIT
#include "ui/history/HistoryWindow.h"

#include "core/base/LastFolders.h"
#include "core/base/MessageService.h"
#include "core/history/HistoryChain.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryService.h"
#include "core/history/PointConformity.h"
#include "core/history/QueueTexts.h"
#include "core/metercheck/report/ReportClock.h"
#include "ui/history/CheckNoteDlg.h"
#include "ui/history/DriftChartView.h"
#include "ui/history/QueueStatusLabel.h"
#include "ui/history/StoredCheckReport.h"
#include "ui/lab/LabPolicyDlg.h"
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
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor passColour(0, 128, 0);
const QColor failColour(255, 0, 0);
const QColor conditionalColour(200, 110, 0);
const QColor turLowBackground(255, 210, 210);

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
         QStringLiteral("Błąd\nkalibratora"), QStringLiteral("j.m."), QStringLiteral("ON"),
         QStringLiteral("Stwierdzenie"), QStringLiteral("TUR")},
        QStringLiteral("pointsTable"), this);
    notesTable = NewTable({QStringLiteral("Data"), QStringLiteral("Oznaczenie"),
                           QStringLiteral("Uwaga"), QStringLiteral("Użytkownik"),
                           QStringLiteral("Komputer")},
                          QStringLiteral("notesTable"), this);
    noteButton = new QPushButton(QStringLiteral("Dodaj &uwagę..."), this);
    noteButton->setObjectName(QStringLiteral("noteButton"));
    noteButton->setEnabled(false);
    noteButton->setToolTip(QStringLiteral("Oznaczenie przed regulacją (as found) albo po "
                                          "regulacji (as left) i uwaga; sprawdzenie zostaje "
                                          "bez zmian"));
    intervalSpin = new QSpinBox(this);
    intervalSpin->setObjectName(QStringLiteral("intervalSpin"));
    intervalSpin->setRange(0, maxIntervalMonths);
    intervalSpin->setSpecialValueText(QStringLiteral("brak"));
    intervalSpin->setSuffix(QStringLiteral(" mies."));
    intervalButton = new QPushButton(QStringLiteral("U&staw"), this);
    intervalButton->setObjectName(QStringLiteral("intervalButton"));
    intervalSpin->setEnabled(false);
    intervalButton->setEnabled(false);
    dueDaysSpin = new QSpinBox(this);
    dueDaysSpin->setObjectName(QStringLiteral("dueDaysSpin"));
    dueDaysSpin->setRange(0, 3660);
    dueDaysSpin->setValue(30);
    dueDaysSpin->setSuffix(QStringLiteral(" dni"));
    dueTable = NewTable({QStringLiteral("Nazwa"), QStringLiteral("Numer"),
                         QStringLiteral("Ostatnie sprawdzenie"), QStringLiteral("Okres"),
                         QStringLiteral("Termin"), QStringLiteral("Stan")},
                        QStringLiteral("dueTable"), this);
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
    metersLayout->addWidget(metersTable);
    auto* intervalRow = new QHBoxLayout;
    auto* intervalLabel = new QLabel(QStringLiteral("&Okres sprawdzeń miernika:"), metersBox);
    intervalLabel->setBuddy(intervalSpin);
    intervalRow->addWidget(intervalLabel);
    intervalRow->addWidget(intervalSpin);
    intervalRow->addWidget(intervalButton);
    intervalRow->addStretch(1);
    metersLayout->addLayout(intervalRow);

    auto* dueBox = new QWidget(this);
    auto* dueLayout = new QVBoxLayout(dueBox);
    dueLayout->setContentsMargins(0, 0, 0, 0);
    auto* dueRow = new QHBoxLayout;
    auto* dueLabel = new QLabel(QStringLiteral("Po terminie albo z terminem w ciągu:"), dueBox);
    dueLabel->setBuddy(dueDaysSpin);
    dueRow->addWidget(dueLabel);
    dueRow->addWidget(dueDaysSpin);
    dueRow->addStretch(1);
    dueLayout->addLayout(dueRow);
    dueLayout->addWidget(dueTable);
    meterTabs = new QTabWidget(this);
    meterTabs->setObjectName(QStringLiteral("meterTabs"));
    meterTabs->addTab(metersBox, QStringLiteral("Sprawdzone mierniki"));
    meterTabs->addTab(dueBox, QStringLiteral("Do sprawdzenia"));

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
    sealLabel = new QLabel(pointsBox);
    sealLabel->setObjectName(QStringLiteral("sealLabel"));
    sealLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pointsLayout->addWidget(sealLabel);
    pointsLayout->addWidget(pointsTable, 2);
    auto* notesRow = new QHBoxLayout;
    notesRow->addWidget(new QLabel(QStringLiteral("Oznaczenia i uwagi:"), pointsBox), 1);
    notesRow->addWidget(noteButton);
    pointsLayout->addLayout(notesRow);
    pointsLayout->addWidget(notesTable, 1);

    auto* top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(meterTabs);
    top->addWidget(checksBox);
    top->setSizes({620, 520});
    auto* bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(pointsBox);
    bottom->addWidget(driftChart);
    bottom->setSizes({650, 510});
    auto* halves = new QSplitter(Qt::Vertical, this);
    halves->addWidget(top);
    halves->addWidget(bottom);
    halves->setSizes({250, 350});

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(printButton);
    buttonRow->addWidget(exportButton);
    auto* labButton = new QPushButton(QStringLiteral("&Zasady laboratorium..."), this);
    labButton->setObjectName(QStringLiteral("labPolicyButton"));
    labButton->setAutoDefault(false);
    connect(labButton, &QPushButton::clicked, this,
            [this] { ShowLabPolicyDialog(this->messages, this); });
    buttonRow->addWidget(labButton);
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
        pointsTable->setColumnWidth(c, 72);
    pointsTable->setColumnWidth(5, 36);
    pointsTable->setColumnWidth(6, 30);
    pointsTable->setColumnWidth(7, 118);
    notesTable->setColumnWidth(0, 130);
    notesTable->setColumnWidth(1, 170);
    notesTable->setColumnWidth(2, 200);
    dueTable->setColumnWidth(0, 170);
    dueTable->setColumnWidth(1, 100);
    dueTable->setColumnWidth(2, 130);
    dueTable->setColumnWidth(3, 60);
    dueTable->setColumnWidth(4, 80);
    for (QTableWidget* table : {metersTable, checksTable, pointsTable, notesTable, dueTable})
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    // Three notes in view before the list scrolls.
    notesTable->setMinimumHeight(notesTable->horizontalHeader()->sizeHint().height() +
                                 4 * notesTable->verticalHeader()->defaultSectionSize());

    connect(filterEdit, &QLineEdit::textChanged, this, &HistoryWindow::ShowMeters);
    connect(metersTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnMeterChosen);
    connect(checksTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnCheckChosen);
    connect(pointsTable, &QTableWidget::itemSelectionChanged, this, &HistoryWindow::OnPointChosen);
    connect(printButton, &QPushButton::clicked, this, &HistoryWindow::OnPrint);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::OnExport);
    connect(closeButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(noteButton, &QPushButton::clicked, this, &HistoryWindow::OnAddNote);
    connect(intervalButton, &QPushButton::clicked, this, &HistoryWindow::OnSetInterval);
    connect(dueDaysSpin, &QSpinBox::valueChanged, this, &HistoryWindow::ShowDue);
    connect(dueTable, &QTableWidget::cellDoubleClicked, this, &HistoryWindow::OnDueChosen);

    LoadMeters();
    LoadIntervals();
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
        ShowDue();
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
    ShowChosenInterval();
    LoadChecks(QString());
}

void HistoryWindow::LoadChecks(const QString& checkId)
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
        .then(&history, [this, window = QPointer(this), asked,
                         checkId](const Fetched<QList<CheckRecord>>& c) {
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
            int chosen = 0;
            for (int i = 0; i < checks.size(); ++i)
                if (checks[i].id == checkId)
                    chosen = i;
            if (!checks.isEmpty())
                checksTable->selectRow(chosen);
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
    noteButton->setEnabled(check != nullptr && !check->waiting);
    detailsLabel->clear();
    sealLabel->clear();
    ShowNotes(check);
    if (!check) {
        driftChart->Clear();
        return;
    }
    detailsLabel->setText(
        QStringLiteral("Komputer: %1; użytkownik: %2").arg(check->computer, check->user));
    QString seal = PolicyLine(*check) + QStringLiteral("; skrót: ") +
                   (check->chainHash.isEmpty() ? QStringLiteral("— (czeka na wysłanie)")
                                               : HistoryChain::ShortHash(check->chainHash));
    const QString calibrator = CalibratorLine(*check);
    if (!calibrator.isEmpty())
        seal += QLatin1Char('\n') + calibrator;
    sealLabel->setText(seal);
    sealLabel->setToolTip(check->chainHash);
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
        // The point under the check's own rule; a TUR under its threshold stands out.
        const PointConformity judged = JudgePoint(*check, p);
        QTableWidgetItem* statement = Cell(judged.StatementText());
        if (judged.measured && judged.statement != PointStatement::Pass)
            statement->setForeground(judged.statement == PointStatement::ConditionalPass
                                         ? conditionalColour
                                         : failColour);
        pointsTable->setItem(r, 7, statement);
        QTableWidgetItem* tur = Cell(judged.TurText());
        tur->setToolTip(QStringLiteral("U = %1 %2").arg(judged.UncertaintyText(), p.unit));
        if (judged.turLow) {
            tur->setBackground(turLowBackground);
            tur->setToolTip(QStringLiteral("TUR poniżej progu %1; U = %2 %3")
                                .arg(QString::number(check->turThreshold, 'g',
                                                     QLocale::FloatingPointShortest),
                                     judged.UncertaintyText(), p.unit));
        }
        pointsTable->setItem(r, 8, tur);
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
            printed = PrintStoredCheck(*check, jobs, messages,
                                       HistoryChain::ShortHash(check->chainHash));
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

void HistoryWindow::ShowNotes(const CheckRecord* check)
{
    notesTable->setRowCount(0);
    if (!check)
        return;
    notesTable->setRowCount(int(check->notes.size()));
    for (int i = 0; i < check->notes.size(); ++i) {
        const CheckNote& n = check->notes[i];
        notesTable->setItem(i, 0, Cell(DateTimeText(n.notedAt)));
        notesTable->setItem(i, 1, Cell(CheckMarkText(n.mark)));
        notesTable->setItem(i, 2, Cell(n.text, Qt::AlignLeft | Qt::AlignVCenter));
        notesTable->setItem(i, 3, Cell(n.user));
        notesTable->setItem(i, 4, Cell(n.computer));
    }
}

bool HistoryWindow::AddNoteToChosenCheck(CheckMark mark, const QString& text)
{
    const CheckRecord* check = ChosenCheck();
    if (!check || !NoteProblem(mark, text).isEmpty())
        return false;
    const QString checkId = check->id;
    noteButton->setEnabled(false);
    history.AddNote(CheckNote::New(checkId, mark, text))
        .then(&history, [this, window = QPointer(this), checkId](const QString& error) {
            if (!window)
                return;
            if (!error.isEmpty()) {
                messages.ShowError(error, this);
                OnCheckChosen();
                return;
            }
            LoadChecks(checkId);
        });
    return true;
}

void HistoryWindow::OnAddNote()
{
    const CheckRecord* check = ChosenCheck();
    if (!check)
        return;
    CheckNoteDlg dialog(QStringLiteral("%1 nr %2, zakres %3, %4")
                            .arg(check->meterName, check->meterNumber, check->RangeText(),
                                 DateTimeText(check->checkedAt)),
                        messages, this);
    if (dialog.exec() == QDialog::Accepted)
        AddNoteToChosenCheck(dialog.Mark(), dialog.Text());
}

void HistoryWindow::LoadIntervals()
{
    history.Intervals().then(&history, [this, window = QPointer(this)](
                                           const Fetched<QList<MeterInterval>>& i) {
        if (!window)
            return;
        intervalsLoaded = true;
        intervals = i.value;
        if (!i.Ok())
            ShowReadError(i.error);
        ShowChosenInterval();
        ShowDue();
    });
}

void HistoryWindow::ShowChosenInterval()
{
    const int row = metersTable->currentRow();
    const bool chosen =
        row >= 0 && row < shownMeters.size() && !metersTable->selectedItems().isEmpty();
    intervalSpin->setEnabled(chosen && intervalsLoaded);
    intervalButton->setEnabled(chosen && intervalsLoaded);
    intervalSpin->setValue(
        chosen ? IntervalOf(intervals, shownMeters[row].name, shownMeters[row].number) : 0);
}

bool HistoryWindow::SetChosenMeterInterval(int months)
{
    const int row = metersTable->currentRow();
    if (row < 0 || row >= shownMeters.size() || months < 0 || months > maxIntervalMonths)
        return false;
    const MeterSummary& meter = shownMeters[row];
    intervalButton->setEnabled(false);
    history.SetInterval(MeterInterval::New(meter.name, meter.number, months))
        .then(&history, [this, window = QPointer(this)](const QString& error) {
            if (!window)
                return;
            if (!error.isEmpty())
                messages.ShowError(error, this);
            LoadIntervals();
        });
    return true;
}

void HistoryWindow::OnSetInterval()
{
    SetChosenMeterInterval(intervalSpin->value());
}

void HistoryWindow::ShowDue()
{
    due = DueMeters(meters, intervals, QDate::currentDate(), dueDaysSpin->value());
    dueTable->setRowCount(int(due.size()));
    for (int i = 0; i < due.size(); ++i) {
        const DueMeter& d = due[i];
        dueTable->setItem(i, 0, Cell(d.meterName, Qt::AlignLeft | Qt::AlignVCenter));
        dueTable->setItem(i, 1, Cell(d.meterNumber, Qt::AlignLeft | Qt::AlignVCenter));
        dueTable->setItem(i, 2, Cell(DateTimeText(d.lastCheckedAt)));
        dueTable->setItem(i, 3, Cell(QStringLiteral("%1 mies.").arg(d.months)));
        dueTable->setItem(i, 4, Cell(ReportDateText(d.dueOn)));
        QTableWidgetItem* state = Cell(DueStateText(d));
        if (d.Overdue())
            state->setForeground(failColour);
        dueTable->setItem(i, 5, state);
    }
    meterTabs->setTabText(1, due.isEmpty() ? QStringLiteral("Do sprawdzenia")
                                           : QStringLiteral("Do sprawdzenia (%1)").arg(due.size()));
}

void HistoryWindow::OnDueChosen()
{
    // The meter's checks, in the list of meters.
    const int row = dueTable->currentRow();
    if (row < 0 || row >= due.size())
        return;
    const DueMeter chosen = due[row];
    filterEdit->clear();
    for (int i = 0; i < shownMeters.size(); ++i) {
        if (shownMeters[i].name == chosen.meterName && shownMeters[i].number == chosen.meterNumber) {
            metersTable->selectRow(i);
            meterTabs->setCurrentIndex(0);
            return;
        }
    }
}
