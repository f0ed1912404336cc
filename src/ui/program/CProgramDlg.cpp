// SPDX-License-Identifier: MIT
#include "ui/base/DocumentFileDialogs.h"
#include "ui/program/CProgramDlg.h"

#include "core/base/MessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/base/RecentFileList.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/program/ProgramChartData.h"
#include "core/program/ProgramExport.h"
#include "core/program/ProgramFile.h"
#include "core/program/ProgramForm.h"
#include "core/program/ProgramText.h"
#include "core/transducer/RunClock.h"
#include "ui/program/ProgramChart.h"
#include "ui/program/ProgramReport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>
#include <utility>

namespace {

const QString windowName = QStringLiteral("Generacja przebiegów");

// The columns of the segments' table.
enum Column
{
    KindColumn,
    FromColumn,
    ToColumn,
    StepColumn,
    DwellColumn,
    FirstColumn,
    TimesColumn,
    ColumnCount
};

const SegmentKind kinds[] = {SegmentKind::Hold, SegmentKind::Ramp, SegmentKind::Staircase,
                             SegmentKind::Repeat};

Column ColumnOf(ProgramField field)
{
    switch (field) {
    case ProgramField::EndValue:
        return ToColumn;
    case ProgramField::Step:
        return StepColumn;
    case ProgramField::Dwell:
        return DwellColumn;
    case ProgramField::Group:
        return FirstColumn;
    case ProgramField::Times:
        return TimesColumn;
    default:
        return FromColumn;
    }
}

// Which columns a kind of segment uses.
bool Uses(SegmentKind kind, int column)
{
    switch (kind) {
    case SegmentKind::Hold:
        return column == FromColumn || column == DwellColumn;
    case SegmentKind::Ramp:
    case SegmentKind::Staircase:
        return column >= FromColumn && column <= DwellColumn;
    case SegmentKind::Repeat:
        return column == FirstColumn || column == TimesColumn;
    }
    return false;
}

} // namespace

CProgramDlg::CProgramDlg(CalibratorLink& link, MessageService& messages, QWidget* parent)
    : CProgramDlg(std::make_unique<LinkSession>(link), link.PortNumber(), messages, parent)
{}

CProgramDlg::CProgramDlg(std::unique_ptr<LinkSession> linkSession, int port,
                         MessageService& messages, QWidget* parent)
    : CProgramDlg(
          *linkSession, EventLoopRunClock(),
          [s = linkSession.get(), port] {
              // A calibrator that still does not answer is told again in this window.
              s->StartEpisode();
              s->Open(port);
              s->Send(QStringLiteral("I"));
          },
          [s = linkSession.get()] { s->End(); }, messages, parent)
{
    ownSession = std::move(linkSession);
}

CProgramDlg::CProgramDlg(CommandSender& sender, RunClock& clock, std::function<void()> openPort,
                         std::function<void()> closePort, MessageService& messages, QWidget* parent)
    : QDialog(parent), closePort(std::move(closePort)), messages(messages), session(sender, clock)
{
    BuildWindow();
    connect(&session, &ProgramSession::stateChanged, this, &CProgramDlg::OnState);
    connect(&session, &ProgramSession::logged, this, &CProgramDlg::OnLogged);
    connect(&session, &ProgramSession::runEnded, this, &CProgramDlg::OnRunEnded);
    connect(&session, &ProgramSession::modifiedChanged, this, &CProgramDlg::UpdateTitle);
    ProgramDoc start;
    start.segments << ProgramSegment{SegmentKind::Staircase, 4, 20, 1, 2, 0, 2};
    session.Replace(start, QString());
    ShowDocument();
    OnState();
    if (openPort)
        openPort();
}

CProgramDlg::~CProgramDlg()
{
    session.Stop();
    if (closePort)
        closePort();
}

void CProgramDlg::BuildWindow()
{
    setObjectName(QStringLiteral("CProgramDlg"));
    resize(1240, 720);
    auto* top = new QHBoxLayout(this);
    editor = BuildEditor();
    top->addWidget(editor);

    auto* right = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* objectName) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(objectName));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    startButton = button(QStringLiteral("Start"), "startButton");
    pauseButton = button(QStringLiteral("Pauza"), "pauseButton");
    resumeButton = button(QStringLiteral("Wznów"), "resumeButton");
    stopButton = button(QStringLiteral("Stop"), "stopButton");
    buttons->addSpacing(16);
    timeLabel = new QLabel(this);
    timeLabel->setObjectName(QStringLiteral("timeLabel"));
    buttons->addWidget(timeLabel);
    buttons->addStretch();
    right->addLayout(buttons);
    connect(startButton, &QPushButton::clicked, this, &CProgramDlg::StartRun);
    connect(pauseButton, &QPushButton::clicked, this, [this] { session.Pause(); });
    connect(resumeButton, &QPushButton::clicked, this, [this] { session.Resume(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { session.Stop(); });

    liveLabel = new QLabel(this);
    liveLabel->setObjectName(QStringLiteral("liveLabel"));
    QFont big = liveLabel->font();
    big.setPixelSize(18);
    big.setBold(true);
    liveLabel->setFont(big);
    liveLabel->setFrameShape(QFrame::Panel);
    liveLabel->setFrameShadow(QFrame::Sunken);
    liveLabel->setMinimumHeight(34);
    liveLabel->setTextFormat(Qt::PlainText);
    right->addWidget(liveLabel);

    auto* split = new QSplitter(Qt::Vertical, this);
    chart = new ProgramChart(split);
    chart->setObjectName(QStringLiteral("chart"));
    auto* tripBox = new QWidget(split);
    auto* tripColumn = new QVBoxLayout(tripBox);
    tripColumn->setContentsMargins(0, 0, 0, 0);
    trips = new QTableWidget(0, 7, tripBox);
    trips->setObjectName(QStringLiteral("trips"));
    trips->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trips->verticalHeader()->hide();
    trips->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    trips->horizontalHeader()->setStretchLastSection(true);
    spreadLabel = new QLabel(tripBox);
    spreadLabel->setObjectName(QStringLiteral("spreadLabel"));
    tripColumn->addWidget(trips);
    tripColumn->addWidget(spreadLabel);
    split->addWidget(chart);
    split->addWidget(tripBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    right->addWidget(split, 1);

    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    statusLabel->setWordWrap(true);
    right->addWidget(statusLabel);

    auto* files = new QHBoxLayout;
    const auto fileButton = [&](const QString& text, const char* objectName, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(objectName));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        files->addWidget(b);
        fileButtons << b;
        return b;
    };
    fileButton(QStringLiteral("Nowy"), "newButton", [this] { NewDocument(); });
    fileButton(QStringLiteral("Otwórz..."), "openButton", [this] { Open(); });
    QPushButton* recent = fileButton(QStringLiteral("Ostatnie"), "recentButton", [] {});
    auto* recentMenu = new QMenu(recent);
    recent->setMenu(recentMenu);
    DocumentFileDialogs::KeepRecentMenu(recentMenu, RecentFileList::programs,
                                        [this](const QString& path) {
                                            return !ConfirmDiscard() || OpenFile(path);
                                        });
    fileButton(QStringLiteral("Zapisz"), "saveButton", [this] { Save(false); });
    fileButton(QStringLiteral("Zapisz jako..."), "saveAsButton", [this] { Save(true); });
    fileButton(QStringLiteral("Dziennik CSV..."), "logButton", [this] { SaveLog(); });
    fileButton(QStringLiteral("Skoroszyt..."), "workbookButton", [this] { SaveWorkbook(); });
    fileButton(QStringLiteral("Raport PDF..."), "reportButton", [this] { SaveReport(); });
    files->addStretch();
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &CProgramDlg::reject);
    files->addWidget(close);
    right->addLayout(files);
    top->addLayout(right, 1);

    // The time left counts down between the entries of the log.
    ticker = new QTimer(this);
    ticker->setInterval(250);
    connect(ticker, &QTimer::timeout, this, &CProgramDlg::ShowProgress);
}

QWidget* CProgramDlg::BuildEditor()
{
    auto* panel = new QWidget(this);
    panel->setMaximumWidth(470);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    const auto group = [&](const QString& title) {
        auto* box = new QGroupBox(title, panel);
        auto* form = new QFormLayout(box);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        form->setVerticalSpacing(2);
        form->setContentsMargins(6, 4, 6, 4);
        column->addWidget(box);
        return form;
    };
    const auto edit = [&](QFormLayout* form, const QString& label, const char* objectName) {
        auto* e = new QLineEdit(panel);
        e->setObjectName(QLatin1String(objectName));
        form->addRow(label, e);
        connect(e, &QLineEdit::textEdited, this, &CProgramDlg::OnEdited);
        return e;
    };
    const auto combo = [&](const char* objectName) {
        auto* c = new QComboBox(panel);
        c->setObjectName(QLatin1String(objectName));
        return c;
    };

    QFormLayout* program = group(QStringLiteral("Program"));
    name = edit(program, QStringLiteral("Nazwa:"), "name");
    notes = edit(program, QStringLiteral("Uwagi:"), "notes");

    QFormLayout* source = group(QStringLiteral("Źródło kalibratora"));
    sourceFunction = combo("sourceFunction");
    for (int i = 0; i < calFunctionCount; ++i)
        sourceFunction->addItem(CalFunctionTable[i].sensorName + QStringLiteral("  [") +
                                CalFunctionTable[i].unitText + QLatin1Char(']'));
    source->addRow(QStringLiteral("Funkcja:"), sourceFunction);
    junction = combo("junction");
    junction->addItems({QStringLiteral("Tex"), QStringLiteral("Tin"), QStringLiteral("To")});
    source->addRow(QStringLiteral("Spoina odniesienia:"), junction);
    referenceTemperature = edit(source, QStringLiteral("To [°C]:"), "referenceTemperature");
    leadResistanceOn = new QCheckBox(QStringLiteral("RL [Ohm]:"), panel);
    leadResistanceOn->setObjectName(QStringLiteral("leadResistanceOn"));
    leadResistance = new QLineEdit(panel);
    leadResistance->setObjectName(QStringLiteral("leadResistance"));
    source->addRow(leadResistanceOn, leadResistance);
    connect(leadResistance, &QLineEdit::textEdited, this, &CProgramDlg::OnEdited);

    QFormLayout* measure = group(QStringLiteral("Pomiar kalibratora"));
    measureRange = combo("measureRange");
    measureRange->addItem(QStringLiteral("brak"));
    for (const MeasureRange& r : MeasureRangeTable::Rows())
        measureRange->addItem(r.name);
    measure->addRow(QStringLiteral("Zakres:"), measureRange);
    tripEnabled = new QCheckBox(QStringLiteral("Zadziałanie, gdy odczyt"), panel);
    tripEnabled->setObjectName(QStringLiteral("tripEnabled"));
    tripDirection = combo("tripDirection");
    tripDirection->addItems(
        {QStringLiteral("wzrośnie powyżej"), QStringLiteral("spadnie poniżej")});
    measure->addRow(tripEnabled, tripDirection);
    tripThreshold = edit(measure, QStringLiteral("Próg zadziałania:"), "tripThreshold");

    for (QComboBox* c : {sourceFunction, junction, measureRange, tripDirection})
        connect(c, &QComboBox::currentIndexChanged, this, [this] {
            UpdateSourceFields();
            OnEdited();
        });
    for (QCheckBox* c : {leadResistanceOn, tripEnabled})
        connect(c, &QCheckBox::toggled, this, [this] {
            UpdateSourceFields();
            OnEdited();
        });

    auto* box = new QGroupBox(QStringLiteral("Segmenty"), panel);
    auto* boxColumn = new QVBoxLayout(box);
    boxColumn->setContentsMargins(6, 4, 6, 4);
    segments = new QTableWidget(0, ColumnCount, box);
    segments->setObjectName(QStringLiteral("segments"));
    segments->setHorizontalHeaderLabels({QStringLiteral("Rodzaj"), QStringLiteral("Od"),
                                         QStringLiteral("Do"), QStringLiteral("Krok"),
                                         QStringLiteral("Czas [s]"), QStringLiteral("Od segmentu"),
                                         QStringLiteral("Razy")});
    segments->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    segments->setSelectionBehavior(QAbstractItemView::SelectRows);
    segments->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(segments, &QTableWidget::itemChanged, this, &CProgramDlg::OnEdited);
    boxColumn->addWidget(segments, 1);
    auto* rowButtons = new QHBoxLayout;
    const auto rowButton = [&](const QString& text, const char* objectName, auto slot) {
        auto* b = new QPushButton(text, box);
        b->setObjectName(QLatin1String(objectName));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        rowButtons->addWidget(b);
    };
    rowButton(QStringLiteral("Dodaj"), "addSegment", [this] {
        const int row =
            segments->currentRow() < 0 ? segments->rowCount() : segments->currentRow() + 1;
        AddSegmentRow(row, ProgramSegment{});
        segments->selectRow(row);
        OnEdited();
    });
    rowButton(QStringLiteral("Usuń"), "removeSegment", [this] {
        if (segments->currentRow() >= 0)
            segments->removeRow(segments->currentRow());
        OnEdited();
    });
    rowButton(QStringLiteral("W górę"), "moveUp", [this] { MoveSegment(-1); });
    rowButton(QStringLiteral("W dół"), "moveDown", [this] { MoveSegment(1); });
    boxColumn->addLayout(rowButtons);
    plannedLabel = new QLabel(box);
    plannedLabel->setObjectName(QStringLiteral("plannedLabel"));
    boxColumn->addWidget(plannedLabel);
    column->addWidget(box, 1);
    return panel;
}

void CProgramDlg::AddSegmentRow(int row, const ProgramSegment& segment)
{
    const ProgramForm::Row r = ProgramForm::FromSegment(segment);
    const bool was = std::exchange(filling, true);
    segments->insertRow(row);
    auto* kind = new QComboBox(segments);
    for (SegmentKind k : kinds)
        kind->addItem(SegmentKindName(k));
    kind->setCurrentIndex(int(segment.kind));
    segments->setCellWidget(row, KindColumn, kind);
    const QString texts[] = {{}, r.from, r.to, r.step, r.dwell, r.first, r.times};
    for (int c = FromColumn; c < ColumnCount; ++c)
        segments->setItem(row, c, new QTableWidgetItem(texts[c]));
    const auto enableCells = [this, kind] {
        int at = 0;
        while (at < segments->rowCount() && segments->cellWidget(at, KindColumn) != kind)
            ++at;
        for (int c = FromColumn; c < ColumnCount; ++c) {
            QTableWidgetItem* item = segments->item(at, c);
            if (!item)
                continue;
            const bool used = Uses(kinds[kind->currentIndex()], c);
            item->setFlags(used ? item->flags() | Qt::ItemIsEditable | Qt::ItemIsEnabled
                                : item->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsEnabled));
        }
    };
    connect(kind, &QComboBox::currentIndexChanged, this, [this, enableCells] {
        enableCells();
        OnEdited();
    });
    for (int c = FromColumn; c < ColumnCount; ++c) {
        QTableWidgetItem* item = segments->item(row, c);
        const bool used = Uses(segment.kind, c);
        item->setFlags(used ? item->flags() | Qt::ItemIsEditable | Qt::ItemIsEnabled
                            : item->flags() & ~(Qt::ItemIsEditable | Qt::ItemIsEnabled));
    }
    filling = was;
}

void CProgramDlg::ShowDocument()
{
    const ProgramForm f = ProgramForm::FromDoc(session.Document());
    const bool was = std::exchange(filling, true);
    name->setText(f.name);
    notes->setText(f.notes);
    sourceFunction->setCurrentIndex(f.calFunction);
    junction->setCurrentIndex(int(f.coldJunction));
    referenceTemperature->setText(f.referenceTemperature);
    leadResistanceOn->setChecked(f.leadResistanceOn);
    leadResistance->setText(f.leadResistance);
    measureRange->setCurrentIndex(
        f.measureRange.isEmpty() ? 0 : measureRange->findText(f.measureRange));
    tripEnabled->setChecked(f.tripEnabled);
    tripDirection->setCurrentIndex(int(f.direction));
    tripThreshold->setText(f.threshold);
    segments->setRowCount(0);
    for (int i = 0; i < session.Document().segments.size(); ++i)
        AddSegmentRow(i, session.Document().segments[i]);
    filling = was;
    UpdateSourceFields();
    UpdateTitle();
    FillChart();
    FillTrips();
    liveLabel->setText(QStringLiteral("Nastawa: ---"));
    statusLabel->clear();
    ShowProgress();
}

ProgramForm CProgramDlg::Form() const
{
    ProgramForm f;
    f.name = name->text();
    f.notes = notes->text();
    f.calFunction = sourceFunction->currentIndex();
    f.coldJunction = ColdJunction(junction->currentIndex());
    f.referenceTemperature = referenceTemperature->text();
    f.leadResistanceOn = leadResistanceOn->isChecked();
    f.leadResistance = leadResistance->text();
    f.measureRange = measureRange->currentIndex() > 0 ? measureRange->currentText() : QString();
    f.tripEnabled = tripEnabled->isChecked();
    f.direction = TripDirection(tripDirection->currentIndex());
    f.threshold = tripThreshold->text();
    for (int row = 0; row < segments->rowCount(); ++row) {
        const auto text = [this, row](int c) {
            const QTableWidgetItem* item = segments->item(row, c);
            return item ? item->text() : QString();
        };
        const auto* kind = qobject_cast<QComboBox*>(segments->cellWidget(row, KindColumn));
        f.rows << ProgramForm::Row{kinds[kind ? kind->currentIndex() : 0],
                                   text(FromColumn),
                                   text(ToColumn),
                                   text(StepColumn),
                                   text(DwellColumn),
                                   text(FirstColumn),
                                   text(TimesColumn)};
    }
    return f;
}

bool CProgramDlg::TakeDefinition()
{
    ProgramDoc doc = session.Document();
    const ProgramProblem problem = Form().ToDoc(&doc);
    if (!problem.IsNone()) {
        messages.ShowError(problem.message, this);
        if (QWidget* field = FieldWidget(problem)) {
            field->setFocus();
            if (problem.segment >= 0)
                segments->setCurrentCell(problem.segment, ColumnOf(problem.field));
        }
        return false;
    }
    session.SetDefinition(doc);
    return true;
}

void CProgramDlg::OnEdited()
{
    if (filling || session.Run().Active())
        return;
    ProgramDoc doc = session.Document();
    const ProgramProblem problem = Form().ToDoc(&doc);
    if (!problem.IsNone()) {
        plannedLabel->setText(problem.message);
        return;
    }
    session.SetDefinition(doc);
    FillChart();
    ShowProgress();
}

QWidget* CProgramDlg::FieldWidget(const ProgramProblem& problem) const
{
    if (problem.segment >= 0)
        return segments;
    switch (problem.field) {
    case ProgramField::SourceFunction:
        return sourceFunction;
    case ProgramField::ReferenceTemperature:
        return referenceTemperature;
    case ProgramField::LeadResistance:
        return leadResistance;
    case ProgramField::MeasureRange:
        return measureRange;
    case ProgramField::TripThreshold:
        return tripThreshold;
    case ProgramField::None:
        return nullptr;
    default:
        return segments;
    }
}

void CProgramDlg::UpdateSourceFields()
{
    const int function = sourceFunction->currentIndex();
    const bool thermocouple = CalFunctions::IsThermocouple(function);
    junction->setEnabled(thermocouple);
    referenceTemperature->setEnabled(thermocouple &&
                                     junction->currentIndex() == int(ColdJunction::To));
    const bool rtd = CalFunctions::IsResistanceThermometer(function);
    leadResistanceOn->setEnabled(rtd);
    leadResistance->setEnabled(rtd && leadResistanceOn->isChecked());
    const bool measures = measureRange->currentIndex() > 0;
    tripEnabled->setEnabled(measures);
    tripDirection->setEnabled(measures && tripEnabled->isChecked());
    tripThreshold->setEnabled(measures && tripEnabled->isChecked());
}

void CProgramDlg::MoveSegment(int by)
{
    const int row = segments->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= segments->rowCount())
        return;
    ProgramForm f = Form();
    f.rows.move(row, to);
    const bool was = std::exchange(filling, true);
    segments->setRowCount(0);
    for (int i = 0; i < f.rows.size(); ++i) {
        ProgramSegment kindOnly;
        kindOnly.kind = f.rows[i].kind;
        AddSegmentRow(i, kindOnly);
        const QString texts[] = {{},
                                 f.rows[i].from,
                                 f.rows[i].to,
                                 f.rows[i].step,
                                 f.rows[i].dwell,
                                 f.rows[i].first,
                                 f.rows[i].times};
        for (int c = FromColumn; c < ColumnCount; ++c)
            segments->item(i, c)->setText(texts[c]);
    }
    filling = was;
    segments->selectRow(to);
    OnEdited();
}

void CProgramDlg::StartRun()
{
    if (!TakeDefinition())
        return;
    lastReading.clear();
    const ProgramProblem problem = session.Start();
    if (!problem.IsNone()) {
        messages.ShowError(problem.message, this);
        return;
    }
    statusLabel->setText(QStringLiteral("Program w toku..."));
    FillChart();
    FillTrips();
}

void CProgramDlg::OnState()
{
    const ProgramRun::State state = session.State();
    const bool idle = state == ProgramRun::State::Idle;
    editor->setEnabled(idle);
    for (QPushButton* b : fileButtons)
        b->setEnabled(idle);
    startButton->setEnabled(idle);
    pauseButton->setEnabled(state == ProgramRun::State::Running);
    resumeButton->setEnabled(state == ProgramRun::State::Paused);
    stopButton->setEnabled(!idle);
    if (state == ProgramRun::State::Paused)
        statusLabel->setText(
            QStringLiteral("Program wstrzymany: źródło pozostaje na %1 %2.")
                .arg(ProgramText::SourceValue(session.RunDocument(),
                                              session.Run()
                                                  .Plan()
                                                  .steps.value(qMax(0, session.Run().CurrentStep()))
                                                  .value),
                     ProgramText::SourceUnit(session.RunDocument())));
    else if (state == ProgramRun::State::Running)
        statusLabel->setText(QStringLiteral("Program w toku..."));
    if (idle)
        ticker->stop();
    else
        ticker->start();
    ShowProgress();
}

void CProgramDlg::OnLogged(const ProgramLogEntry& entry)
{
    const ProgramDoc& doc = session.RunDocument();
    if (entry.kind == ProgramLogEntry::Kind::Reading)
        lastReading = entry.readingText;
    QString text = QStringLiteral("Nastawa: %1 %2")
                       .arg(entry.sourceText.isEmpty() ? QStringLiteral("---") : entry.sourceText,
                            ProgramText::SourceUnit(doc));
    // The latest reading stays in view while the next set-point is taken.
    if (doc.Measures())
        text += QStringLiteral("    Odczyt: %1 %2")
                    .arg(lastReading.isEmpty() ? QStringLiteral("---") : lastReading,
                         ProgramText::MeasureUnit(doc));
    liveLabel->setText(text);
    FillChart();
    if (entry.event != TripEvent::None)
        FillTrips();
    ShowProgress();
}

void CProgramDlg::OnRunEnded(ProgramEnd end)
{
    const ProgramDoc& doc = session.RunDocument();
    const ProgramRunLog& log = session.Run().Log();
    int readings = 0;
    for (const ProgramLogEntry& e : log.entries)
        readings += e.kind == ProgramLogEntry::Kind::Reading ? 1 : 0;
    const QString unit = ProgramText::SourceUnit(doc);
    switch (end) {
    case ProgramEnd::Completed:
        statusLabel->setText(
            QStringLiteral("Program zakończony; źródło pozostaje na ostatniej nastawie %1 %2.")
                .arg(log.entries.isEmpty() ? QString() : session.Run().Plan().steps.last().text,
                     unit));
        break;
    case ProgramEnd::Stopped:
        statusLabel->setText(
            QStringLiteral("Program przerwany; źródło ustawiono na wartość bezpieczną %1 %2 "
                           "(zero funkcji albo jej najniższa wartość).")
                .arg(ProgramText::SourceValue(doc, ProgramRun::SafeValue(doc.source)), unit));
        break;
    case ProgramEnd::LinkLost:
        // The link has shown its one message; the window says what became of the run.
        statusLabel->setText(QStringLiteral("Program przerwany: brak komunikacji z "
                                            "kalibratorem; dziennik zachowuje %1 odczytów.")
                                 .arg(readings));
        break;
    }
    FillChart();
    FillTrips();
}

void CProgramDlg::ShowProgress()
{
    const ProgramRun& run = session.Run();
    const auto show = [this](qint64 planned, std::optional<qint64> left) {
        QString text = QStringLiteral("Czas planowany: %1").arg(ProgramText::Duration(planned));
        if (left)
            text += QStringLiteral("    pozostało: %1").arg(ProgramText::Duration(*left));
        timeLabel->setText(text);
    };
    if (run.Active()) {
        show(run.Plan().totalMs, run.RemainingMs());
        return;
    }
    // Between runs the program as edited: what a run would take.
    const bool valid = CheckProgram(session.Document()).IsNone();
    const ProgramPlan plan = valid ? ProgramCourse::Plan(session.Document()) : ProgramPlan();
    if (run.Log().end)
        show(run.Plan().totalMs, run.RemainingMs());
    else
        show(plan.totalMs, std::nullopt);
    if (valid)
        plannedLabel->setText(QStringLiteral("Czas planowany %1, kroków %2.")
                                  .arg(ProgramText::Duration(plan.totalMs))
                                  .arg(plan.steps.size()));
}

void CProgramDlg::FillChart()
{
    const ProgramRun& run = session.Run();
    const bool ran = run.Active() || run.Log().end.has_value();
    if (ran)
        chart->SetData(BuildProgramChart(session.RunDocument(), run.Plan(), run.Log()));
    else if (CheckProgram(session.Document()).IsNone())
        chart->SetData(
            BuildProgramChart(session.Document(), ProgramCourse::Plan(session.Document()), {}));
}

void CProgramDlg::FillTrips()
{
    const ProgramDoc& doc = session.Run().Active() || session.Run().Log().end
                                ? session.RunDocument()
                                : session.Document();
    const QList<TripPoint> points = TripPoints::FromLog(session.Run().Log().entries);
    trips->setHorizontalHeaderLabels(ProgramText::TripHeading(doc));
    trips->setRowCount(0);
    for (const QStringList& cells : ProgramText::TripRows(doc, points)) {
        const int row = trips->rowCount();
        trips->insertRow(row);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            trips->setItem(row, c, item);
        }
    }
    if (trips->rowCount() > 0)
        trips->scrollToBottom();
    spreadLabel->setText(ProgramText::SpreadText(doc, TripPoints::Spread(points)));
}

void CProgramDlg::UpdateTitle()
{
    setWindowTitle(
        DocumentFileDialogs::WindowTitle(windowName, session.Path(), session.Modified()));
}

void CProgramDlg::NewDocument()
{
    if (!ConfirmDiscard())
        return;
    session.Replace(ProgramDoc(), QString());
    ShowDocument();
}

void CProgramDlg::Open()
{
    if (!ConfirmDiscard())
        return;
    const QString path = DocumentFileDialogs::AskOpenPath(this, ProgramFile::NameFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

bool CProgramDlg::OpenFile(const QString& path)
{
    ProgramDoc doc;
    QString message;
    if (!ProgramFile::Load(path, &doc, &message)) {
        messages.ShowError(message, this);
        return false;
    }
    session.Replace(doc, path);
    RecentFileList::Add(path, RecentFileList::programs);
    ShowDocument();
    return true;
}

bool CProgramDlg::Save(bool choosePath)
{
    if (!TakeDefinition())
        return false;
    QString path = session.Path();
    if (choosePath || path.isEmpty()) {
        path = DocumentFileDialogs::AskSavePath(this, path, ProgramFile::NameFilter(),
                                                ProgramFile::extension);
        if (path.isEmpty())
            return false;
    }
    QString message;
    if (!ProgramFile::Save(path, session.Document(), &message)) {
        messages.ShowError(message, this);
        return false;
    }
    session.SetPath(path);
    session.SetModified(false);
    RecentFileList::Add(path, RecentFileList::programs);
    UpdateTitle();
    return true;
}

QString CProgramDlg::OutputPath(const QString& caption, const QString& suffix,
                                const QString& filter)
{
    if (session.Run().Log().IsEmpty()) {
        messages.ShowError(QStringLiteral("Program nie był jeszcze uruchomiony."), this);
        return {};
    }
    return DocumentFileDialogs::AskOutputPath(this, session.Path(), caption, suffix, filter);
}

void CProgramDlg::SaveLog()
{
    const QString path = OutputPath(QStringLiteral("Dziennik przebiegu"), QStringLiteral("csv"),
                                    QStringLiteral("Pliki CSV (*.csv)"));
    QString message;
    if (!path.isEmpty() &&
        !ProgramExport::SaveCsv(path, session.RunDocument(), session.Run().Log(), &message))
        messages.ShowError(message, this);
}

void CProgramDlg::SaveWorkbook()
{
    const QString path = OutputPath(QStringLiteral("Skoroszyt"), QStringLiteral("xlsx"),
                                    QStringLiteral("Skoroszyty (*.xlsx)"));
    QString message;
    if (!path.isEmpty() &&
        !ProgramExport::SaveWorkbook(path, session.RunDocument(), session.Run().Log(), &message))
        messages.ShowError(message, this);
}

void CProgramDlg::SaveReport()
{
    const QString path = OutputPath(QStringLiteral("Raport przebiegu"), QStringLiteral("pdf"),
                                    QStringLiteral("Pliki PDF (*.pdf)"));
    if (!path.isEmpty())
        SaveProgramReport(path, session.RunDocument(), session.Run().Plan(), session.Run().Log(),
                          session.Path(), messages);
}

bool CProgramDlg::ConfirmDiscard()
{
    if (!session.Modified())
        return true;
    switch (messages.AskQuestion(QStringLiteral("Zapisać zmiany w programie?"),
                                 QStringLiteral("R718"), MessageButtons::YesNoCancel, this)) {
    case MessageAnswer::Yes:
        return Save(false);
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void CProgramDlg::reject()
{
    session.Stop();
    if (!ConfirmDiscard())
        return;
    QDialog::reject();
}

void RunProgramWindow(CalibratorLink& link, MessageService& messages, QWidget* parent)
{
    CProgramDlg window(link, messages, parent);
    window.exec();
}
