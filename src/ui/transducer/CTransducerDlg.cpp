// SPDX-License-Identifier: MIT
#include "ui/transducer/CTransducerDlg.h"

#include "core/base/MessageService.h"
#include "core/base/RecentFileList.h"
#include "core/lab/CalibratorDue.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/link/NumberText.h"
#include "core/transducer/RunClock.h"
#include "core/transducer/TransducerExport.h"
#include "core/transducer/TransducerFile.h"
#include "core/transducer/TransducerForm.h"
#include "core/transducer/TransducerMath.h"
#include "core/transducer/TransducerText.h"
#include "ui/base/DocumentFileDialogs.h"
#include "ui/transducer/TransducerCertificate.h"
#include "ui/transducer/TransducerErrorChart.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
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

namespace {

const QString windowName = QStringLiteral("Sprawdzanie przetworników");

QString Signed(double value, int decimals)
{
    const QString text = FormatFixed(value, decimals);
    return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char('+') + text;
}

} // namespace

CTransducerDlg::CTransducerDlg(CalibratorLink& link, MessageService& messages, QWidget* parent)
    : CTransducerDlg(std::make_unique<LinkSession>(link), link.PortNumber(), messages, parent)
{}

CTransducerDlg::CTransducerDlg(std::unique_ptr<LinkSession> linkSession, int port,
                               MessageService& messages, QWidget* parent)
    : CTransducerDlg(
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

CTransducerDlg::CTransducerDlg(CommandSender& sender, RunClock& clock,
                               std::function<void()> openPort, std::function<void()> closePort,
                               MessageService& messages, QWidget* parent)
    : QDialog(parent), sender(sender), closePort(std::move(closePort)), messages(messages),
      session(sender, clock)
{
    BuildWindow();
    connect(&session, &TransducerSession::modeChanged, this, &CTransducerDlg::OnMode);
    connect(&session, &TransducerSession::readingTaken, this, &CTransducerDlg::OnReading);
    connect(&session, &TransducerSession::pointMeasured, this, [this] { FillResults(); });
    connect(&session, &TransducerSession::runEnded, this, &CTransducerDlg::OnRunEnded);
    connect(&session, &TransducerSession::modifiedChanged, this, &CTransducerDlg::UpdateTitle);
    ShowDocument();
    OnMode();
    if (openPort)
        openPort();
}

CTransducerDlg::~CTransducerDlg()
{
    session.Stop();
    if (closePort)
        closePort();
}

void CTransducerDlg::BuildWindow()
{
    setObjectName(QStringLiteral("CTransducerDlg"));
    resize(1180, 690);
    auto* top = new QHBoxLayout(this);
    definition = BuildDefinition();
    top->addWidget(definition);

    auto* right = new QVBoxLayout;
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    asFoundButton = button(QStringLiteral("Sprawdź przed regulacją"));
    asFoundButton->setObjectName(QStringLiteral("asFoundButton"));
    holdZeroButton = button(QStringLiteral("Regulacja 0 %"));
    holdZeroButton->setObjectName(QStringLiteral("holdZeroButton"));
    holdSpanButton = button(QStringLiteral("Regulacja 100 %"));
    holdSpanButton->setObjectName(QStringLiteral("holdSpanButton"));
    asLeftButton = button(QStringLiteral("Sprawdź po regulacji"));
    asLeftButton->setObjectName(QStringLiteral("asLeftButton"));
    stopButton = button(QStringLiteral("Stop"));
    stopButton->setObjectName(QStringLiteral("stopButton"));
    buttons->addStretch();
    right->addLayout(buttons);
    connect(asFoundButton, &QPushButton::clicked, this, [this] { StartRun(RunKind::AsFound); });
    connect(asLeftButton, &QPushButton::clicked, this, [this] { StartRun(RunKind::AsLeft); });
    connect(holdZeroButton, &QPushButton::clicked, this, [this] { HoldAt(0); });
    connect(holdSpanButton, &QPushButton::clicked, this, [this] { HoldAt(100); });
    connect(stopButton, &QPushButton::clicked, this, [this] { session.Stop(); });

    liveLabel = new QLabel(this);
    liveLabel->setObjectName(QStringLiteral("liveLabel"));
    QFont big = liveLabel->font();
    big.setPixelSize(22);
    big.setBold(true);
    liveLabel->setFont(big);
    liveLabel->setFrameShape(QFrame::Panel);
    liveLabel->setFrameShadow(QFrame::Sunken);
    liveLabel->setMinimumHeight(44);
    liveLabel->setTextFormat(Qt::PlainText);
    right->addWidget(liveLabel);

    auto* split = new QSplitter(Qt::Vertical, this);
    table = new QTableWidget(0, 8, split);
    table->setObjectName(QStringLiteral("table"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    chart = new TransducerErrorChart(split);
    split->addWidget(table);
    split->addWidget(chart);
    right->addWidget(split, 1);

    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));
    right->addWidget(statusLabel);

    auto* files = new QHBoxLayout;
    const auto fileButton = [&](const QString& text, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        files->addWidget(b);
        fileButtons << b;
    };
    fileButton(QStringLiteral("Nowy"), [this] { NewDocument(); });
    fileButton(QStringLiteral("Otwórz..."), [this] { Open(); });
    auto* recent = new QPushButton(QStringLiteral("Ostatnie"), this);
    recent->setObjectName(QStringLiteral("recentButton"));
    recent->setAutoDefault(false);
    recent->setMenu(new QMenu(recent));
    DocumentFileDialogs::KeepRecentMenu(recent->menu(), RecentFileList::transducers,
                                        [this](const QString& path) {
                                            return !ConfirmDiscard() || OpenFile(path);
                                        });
    files->addWidget(recent);
    fileButtons << recent;
    fileButton(QStringLiteral("Zapisz"), [this] { Save(false); });
    fileButton(QStringLiteral("Zapisz jako..."), [this] { Save(true); });
    fileButton(QStringLiteral("Świadectwo PDF..."), [this] { SaveCertificate(); });
    fileButton(QStringLiteral("Skoroszyt..."), [this] { SaveWorkbook(); });
    files->addStretch();
    auto* close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &CTransducerDlg::reject);
    files->addWidget(close);
    right->addLayout(files);
    top->addLayout(right, 1);
}

QWidget* CTransducerDlg::BuildDefinition()
{
    auto* panel = new QWidget(this);
    panel->setMaximumWidth(380);
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
    const auto edit = [&](QFormLayout* form, const QString& label) {
        auto* e = new QLineEdit(panel);
        form->addRow(label, e);
        return e;
    };

    QFormLayout* instrument = group(QStringLiteral("Przetwornik"));
    tag = edit(instrument, QStringLiteral("Oznaczenie:"));
    name = edit(instrument, QStringLiteral("Nazwa:"));
    serial = edit(instrument, QStringLiteral("Nr fabryczny:"));
    maker = edit(instrument, QStringLiteral("Producent:"));
    model = edit(instrument, QStringLiteral("Typ:"));
    notes = edit(instrument, QStringLiteral("Uwagi:"));

    QFormLayout* input = group(QStringLiteral("Wejście (źródło kalibratora)"));
    inputFunction = new QComboBox(panel);
    for (int i = 0; i < calFunctionCount; ++i)
        inputFunction->addItem(CalFunctionTable[i].sensorName + QStringLiteral("  [") +
                               CalFunctionTable[i].unitText + QLatin1Char(']'));
    input->addRow(QStringLiteral("Funkcja:"), inputFunction);
    junction = new QComboBox(panel);
    junction->addItems({QStringLiteral("Tex"), QStringLiteral("Tin"), QStringLiteral("To")});
    input->addRow(QStringLiteral("Spoina odniesienia:"), junction);
    referenceTemperature = edit(input, QStringLiteral("To [°C]:"));
    leadResistance = edit(input, QStringLiteral("RL [Ohm]:"));
    inputLower = edit(input, QStringLiteral("LRV:"));
    inputUpper = edit(input, QStringLiteral("URV:"));
    connect(inputFunction, &QComboBox::currentIndexChanged, this,
            &CTransducerDlg::UpdateFunctionFields);
    connect(junction, &QComboBox::currentIndexChanged, this, &CTransducerDlg::UpdateFunctionFields);

    QFormLayout* output = group(QStringLiteral("Wyjście (pomiar kalibratora)"));
    outputRange = new QComboBox(panel);
    outputRange->addItems(TransducerOutputRanges());
    output->addRow(QStringLiteral("Zakres:"), outputRange);
    outputLower = edit(output, QStringLiteral("LRV:"));
    outputUpper = edit(output, QStringLiteral("URV:"));
    transfer = new QComboBox(panel);
    transfer->addItems({QStringLiteral("liniowa"), QStringLiteral("pierwiastkowa")});
    output->addRow(QStringLiteral("Funkcja przetwarzania:"), transfer);
    cutoff = edit(output, QStringLiteral("Odcięcie [% wejścia]:"));
    connect(transfer, &QComboBox::currentIndexChanged, this, &CTransducerDlg::UpdateFunctionFields);

    QFormLayout* check = group(QStringLiteral("Sprawdzenie"));
    percentOfSpan = edit(check, QStringLiteral("Tolerancja [% zakresu]:"));
    percentOfReading = edit(check, QStringLiteral("+ [% wartości]:"));
    points = edit(check, QStringLiteral("Punkty [% wejścia]:"));
    settling = edit(check, QStringLiteral("Czas ustalania [s]:"));
    readings = edit(check, QStringLiteral("Liczba odczytów:"));
    column->addStretch();
    return panel;
}

void CTransducerDlg::ShowDocument()
{
    const TransducerForm f = TransducerForm::FromDoc(session.Document());
    tag->setText(f.instrument.tag);
    name->setText(f.instrument.name);
    serial->setText(f.instrument.serialNumber);
    maker->setText(f.instrument.maker);
    model->setText(f.instrument.model);
    notes->setText(f.instrument.notes);
    inputFunction->setCurrentIndex(f.calFunction);
    junction->setCurrentIndex(int(f.coldJunction));
    referenceTemperature->setText(f.referenceTemperature);
    leadResistance->setText(f.leadResistance);
    inputLower->setText(f.inputLower);
    inputUpper->setText(f.inputUpper);
    outputRange->setCurrentIndex(qMax(0, TransducerOutputRanges().indexOf(f.measureRange)));
    outputLower->setText(f.outputLower);
    outputUpper->setText(f.outputUpper);
    transfer->setCurrentIndex(f.transfer == TransferFunction::SquareRoot ? 1 : 0);
    cutoff->setText(f.cutoff);
    percentOfSpan->setText(f.percentOfSpan);
    percentOfReading->setText(f.percentOfReading);
    points->setText(f.points);
    settling->setText(f.settlingSeconds);
    readings->setText(f.readings);
    UpdateFunctionFields();
    FillResults();
    UpdateTitle();
    liveLabel->setText(QStringLiteral("Wyjście: ---"));
    statusLabel->clear();
}

TransducerForm CTransducerDlg::Form() const
{
    TransducerForm f;
    f.instrument = {tag->text(),   name->text(),  serial->text(),
                    maker->text(), model->text(), notes->text()};
    f.calFunction = inputFunction->currentIndex();
    f.coldJunction = ColdJunction(junction->currentIndex());
    f.referenceTemperature = referenceTemperature->text();
    f.leadResistance = leadResistance->text();
    f.inputLower = inputLower->text();
    f.inputUpper = inputUpper->text();
    f.measureRange = outputRange->currentText();
    f.outputLower = outputLower->text();
    f.outputUpper = outputUpper->text();
    f.transfer =
        transfer->currentIndex() == 1 ? TransferFunction::SquareRoot : TransferFunction::Linear;
    f.cutoff = cutoff->text();
    f.percentOfSpan = percentOfSpan->text();
    f.percentOfReading = percentOfReading->text();
    f.points = points->text();
    f.settlingSeconds = settling->text();
    f.readings = readings->text();
    return f;
}

bool CTransducerDlg::TakeDefinition()
{
    TransducerDoc doc = session.Document();
    const TransducerProblem problem = Form().ToDoc(&doc);
    if (!problem.IsNone()) {
        messages.ShowError(problem.message, this);
        if (QWidget* field = FieldWidget(problem.field))
            field->setFocus();
        return false;
    }
    session.SetDefinition(doc);
    chart->Fill(session.Document());
    return true;
}

QWidget* CTransducerDlg::FieldWidget(TransducerField field) const
{
    switch (field) {
    case TransducerField::None:
        return nullptr;
    case TransducerField::InputFunction:
        return inputFunction;
    case TransducerField::ReferenceTemperature:
        return referenceTemperature;
    case TransducerField::LeadResistance:
        return leadResistance;
    case TransducerField::InputLower:
        return inputLower;
    case TransducerField::InputUpper:
        return inputUpper;
    case TransducerField::OutputRange:
        return outputRange;
    case TransducerField::OutputLower:
        return outputLower;
    case TransducerField::OutputUpper:
        return outputUpper;
    case TransducerField::Cutoff:
        return cutoff;
    case TransducerField::TolerancePercentOfSpan:
        return percentOfSpan;
    case TransducerField::TolerancePercentOfReading:
        return percentOfReading;
    case TransducerField::Points:
        return points;
    case TransducerField::SettlingTime:
        return settling;
    case TransducerField::Readings:
        return readings;
    }
    return nullptr;
}

void CTransducerDlg::UpdateFunctionFields()
{
    const int function = inputFunction->currentIndex();
    const bool thermocouple = CalFunctions::IsThermocouple(function);
    junction->setEnabled(thermocouple);
    referenceTemperature->setEnabled(thermocouple &&
                                     junction->currentIndex() == int(ColdJunction::To));
    leadResistance->setEnabled(CalFunctions::IsResistanceThermometer(function));
    cutoff->setEnabled(transfer->currentIndex() == 1);
}

void CTransducerDlg::StartRun(RunKind kind)
{
    if (!TakeDefinition())
        return;
    if (AskAboutOverdueCalibrator(LabPolicy::FromSettings().calibrator, QDate::currentDate(),
                                  messages, this) == CalibratorGoAhead::Stop)
        return;
    const TransducerProblem problem = session.StartRun(kind);
    if (!problem.IsNone()) {
        messages.ShowError(problem.message, this);
        return;
    }
    statusLabel->setText(QStringLiteral("Sprawdzenie %1...").arg(TransducerText::RunName(kind)));
    FillResults();
}

void CTransducerDlg::HoldAt(double percent)
{
    if (!TakeDefinition())
        return;
    const TransducerProblem problem = session.Hold(percent);
    if (!problem.IsNone()) {
        messages.ShowError(problem.message, this);
        return;
    }
    const TransducerDoc& doc = session.Document();
    statusLabel->setText(
        QStringLiteral("Regulacja: źródło na %1 % wejścia (%2 %3), oczekiwane wyjście %4 %5.")
            .arg(QString::number(percent), TransducerMath::SetpointText(doc.input, percent),
                 TransducerText::InputUnit(doc),
                 FormatFixed(TransducerMath::ExpectedOutput(doc, percent),
                             TransducerMath::OutputDecimals(doc.output)),
                 TransducerText::OutputUnit(doc)));
}

void CTransducerDlg::OnMode()
{
    const TransducerSession::Mode mode = session.CurrentMode();
    const bool running = mode == TransducerSession::Mode::Running;
    definition->setEnabled(mode == TransducerSession::Mode::Idle);
    for (QPushButton* b : fileButtons)
        b->setEnabled(mode == TransducerSession::Mode::Idle);
    asFoundButton->setEnabled(!running);
    asLeftButton->setEnabled(!running);
    holdZeroButton->setEnabled(!running);
    holdSpanButton->setEnabled(!running);
    stopButton->setEnabled(mode != TransducerSession::Mode::Idle);
    holdZeroButton->setCheckable(true);
    holdSpanButton->setCheckable(true);
    const bool holding = mode == TransducerSession::Mode::Holding;
    holdZeroButton->setChecked(holding && session.HeldPercent() == 0);
    holdSpanButton->setChecked(holding && session.HeldPercent() == 100);
    if (mode == TransducerSession::Mode::Idle &&
        !statusLabel->text().startsWith(QStringLiteral("Sprawdzenie ")))
        statusLabel->clear();
}

void CTransducerDlg::OnReading(const LiveReading& reading)
{
    const TransducerDoc& doc = session.Document();
    const QString unit = TransducerText::OutputUnit(doc);
    if (reading.outOfRange) {
        liveLabel->setText(QStringLiteral("Wyjście: poza zakresem pomiaru"));
        return;
    }
    liveLabel->setText(
        QStringLiteral("Wyjście: %1 %2    oczekiwane %3 %2    błąd %4 % zakresu    (punkt %5 %)")
            .arg(FormatFixed(reading.value, TransducerMath::OutputDecimals(doc.output)), unit,
                 FormatFixed(reading.expected, TransducerMath::OutputDecimals(doc.output)),
                 Signed(reading.errorPercent, 3), QString::number(reading.percent)));
}

void CTransducerDlg::OnRunEnded(RunKind kind, RunEnd end)
{
    const TransducerDoc& doc = session.Document();
    const TransducerRunResult& run = doc.Run(kind);
    const QString kept = QStringLiteral("zachowano %1")
                             .arg(QString::number(run.points.size()) + QStringLiteral(" z ") +
                                  QString::number(doc.points.size()));
    QString text;
    switch (end) {
    case RunEnd::Completed:
        text = QStringLiteral("Sprawdzenie %1 zakończone: %2.")
                   .arg(TransducerText::RunName(kind),
                        TransducerText::RunVerdictName(TransducerMath::VerdictOf(doc, run)));
        break;
    case RunEnd::Stopped:
        text = QStringLiteral("Sprawdzenie %1 przerwane; %2 punktów.")
                   .arg(TransducerText::RunName(kind), kept);
        break;
    case RunEnd::LinkLost:
        // The link has shown its one message; the window says what became of the run.
        text = QStringLiteral("Sprawdzenie %1 przerwane: brak komunikacji z kalibratorem; %2 "
                              "punktów.")
                   .arg(TransducerText::RunName(kind), kept);
        break;
    }
    statusLabel->setText(text);
    FillResults();
}

void CTransducerDlg::FillResults()
{
    const TransducerDoc& doc = session.Document();
    const QString in = TransducerText::InputUnit(doc);
    const QString out = TransducerText::OutputUnit(doc);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Sprawdzenie"), QStringLiteral("Punkt [%]"),
         QStringLiteral("Wejście [%1]").arg(in), QStringLiteral("Oczekiwane [%1]").arg(out),
         QStringLiteral("Zmierzone [%1]").arg(out), QStringLiteral("Błąd [% zakresu]"),
         QStringLiteral("Dopuszczalny [%]"), QStringLiteral("Wynik")});
    const int decimals = TransducerMath::OutputDecimals(doc.output);
    table->setRowCount(0);
    for (RunKind kind : {RunKind::AsFound, RunKind::AsLeft}) {
        for (const TransducerPointResult& p : doc.Run(kind).points) {
            const int row = table->rowCount();
            table->insertRow(row);
            const bool mark = p.verdict == PointVerdict::OutOfRange;
            const QStringList cells{TransducerText::RunName(kind),
                                    FormatFixed(p.percent, 1),
                                    p.inputText,
                                    FormatFixed(p.expected, decimals),
                                    mark ? QStringLiteral("---")
                                         : FormatFixed(p.measured, decimals),
                                    mark ? QStringLiteral("---") : Signed(p.errorPercent, 3),
                                    FormatFixed(p.limitPercent, 3),
                                    TransducerText::PointVerdictName(p.verdict)};
            for (int c = 0; c < cells.size(); ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                if (c > 0 && c < 7)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (c == 7 && p.verdict != PointVerdict::Pass)
                    item->setForeground(QColor(200, 30, 30));
                table->setItem(row, c, item);
            }
        }
    }
    if (table->rowCount() > 0)
        table->scrollToBottom();
    chart->Fill(doc);
}

void CTransducerDlg::UpdateTitle()
{
    setWindowTitle(
        DocumentFileDialogs::WindowTitle(windowName, session.Path(), session.Modified()));
}

void CTransducerDlg::NewDocument()
{
    if (!ConfirmDiscard())
        return;
    session.Replace(TransducerDoc(), QString());
    ShowDocument();
}

void CTransducerDlg::Open()
{
    if (!ConfirmDiscard())
        return;
    const QString path = DocumentFileDialogs::AskOpenPath(this, TransducerFile::NameFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

bool CTransducerDlg::OpenHandedDocument(const QString& path)
{
    if (session.CurrentMode() != TransducerSession::Mode::Idle ||
        QApplication::activeModalWidget() != this)
        return false;
    if (ConfirmDiscard())
        OpenFile(path);
    return true;
}

bool CTransducerDlg::OpenFile(const QString& path)
{
    TransducerDoc doc;
    QString message;
    if (!TransducerFile::Load(path, &doc, &message)) {
        messages.ShowError(message, this);
        return false;
    }
    session.Replace(doc, path);
    RecentFileList::Add(QFileInfo(path).absoluteFilePath(), RecentFileList::transducers);
    ShowDocument();
    return true;
}

bool CTransducerDlg::Save(bool choosePath)
{
    if (!TakeDefinition())
        return false;
    QString path = session.Path();
    if (choosePath || path.isEmpty()) {
        path = DocumentFileDialogs::AskSavePath(this, path, TransducerFile::NameFilter(),
                                                TransducerFile::extension);
        if (path.isEmpty())
            return false;
    }
    QString message;
    if (!TransducerFile::Save(path, session.Document(), &message)) {
        messages.ShowError(message, this);
        return false;
    }
    session.SetPath(path);
    session.SetModified(false);
    RecentFileList::Add(QFileInfo(path).absoluteFilePath(), RecentFileList::transducers);
    UpdateTitle();
    return true;
}

QString CTransducerDlg::OutputPath(const QString& caption, const QString& suffix,
                                   const QString& filter)
{
    if (session.Document().asFound.IsEmpty() && session.Document().asLeft.IsEmpty()) {
        messages.ShowError(QStringLiteral("Nie przeprowadzono jeszcze pomiarów."), this);
        return {};
    }
    return DocumentFileDialogs::AskOutputPath(this, session.Path(), caption, suffix, filter);
}

void CTransducerDlg::SaveCertificate()
{
    const QString path = OutputPath(QStringLiteral("Świadectwo sprawdzenia"), QStringLiteral("pdf"),
                                    QStringLiteral("Pliki PDF (*.pdf)"));
    if (!path.isEmpty())
        SaveTransducerCertificate(path, session.Document(), session.Path(), messages);
}

void CTransducerDlg::SaveWorkbook()
{
    const QString path = OutputPath(QStringLiteral("Skoroszyt"), QStringLiteral("xlsx"),
                                    QStringLiteral("Skoroszyty (*.xlsx)"));
    QString message;
    if (!path.isEmpty() && !TransducerExport::SaveWorkbook(path, session.Document(), &message))
        messages.ShowError(message, this);
}

bool CTransducerDlg::ConfirmDiscard()
{
    if (!session.Modified())
        return true;
    switch (messages.AskQuestion(QStringLiteral("Zapisać zmiany w dokumencie przetwornika?"),
                                 QStringLiteral("R718"), MessageButtons::YesNoCancel, this)) {
    case MessageAnswer::Yes:
        return Save(false);
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

void CTransducerDlg::reject()
{
    session.Stop();
    if (!ConfirmDiscard())
        return;
    QDialog::reject();
}

void RunTransducerWindow(CalibratorLink& link, MessageService& messages, QWidget* parent,
                         const QString& document)
{
    CTransducerDlg window(link, messages, parent);
    if (!document.isEmpty())
        QTimer::singleShot(0, &window, [&window, document] { window.OpenFile(document); });
    window.exec();
}
