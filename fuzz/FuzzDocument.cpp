// SPDX-License-Identifier: MIT
#include "FuzzDocument.h"

#include "FuzzSupport.h"
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "ui/metercheck/charts/CErrorsChartPage.h"
#include "ui/metercheck/charts/CPointsChartPage.h"
#include "core/metercheck/report/ChartData.h"
#include "core/metercheck/entry/PointEntry.h"
#include "core/metercheck/entry/RangeDescription.h"
#include "core/metercheck/entry/RangeEditor.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/report/ExportWorkbook.h"
#include "ui/metercheck/report/ProtocolPage.h"
#include "core/metercheck/report/ReportTexts.h"
#include "core/metercheck/run/ExactReadingControl.h"
#include "core/metercheck/run/ExactSettingEntry.h"
#include "core/metercheck/run/FieldText.h"
#include "core/metercheck/run/MeasureProcedure.h"
#include "core/metercheck/run/MeasurementDialogRunner.h"
#include "core/metercheck/run/PointErrors.h"
#include "core/metercheck/run/PointsGridView.h"
#include "core/metercheck/run/SelectSource.h"
#include "core/metercheck/window/MeterCheckDialogRunner.h"
#include "core/metercheck/window/RangesPageLogic.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QSet>

#include <cmath>

namespace {

using FuzzSupport::Quoted;

void AddPoint(MeterRange& r, int j, const char* reading, const char* setting, const char* unit,
              bool measured)
{
    MeterPoint& p = r.points[j];
    p.reading = QString::fromUtf8(reading);
    p.setting = QString::fromUtf8(setting);
    p.unit = QString::fromUtf8(unit);
    p.pointDefined = 1;
    p.marked = 1;
    p.pointMeasured = measured ? 1 : 0;
}

bool NoSpecials(const QString& text)
{
    return !text.contains(QLatin1String("nan"), Qt::CaseInsensitive) &&
           !text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}

// The operator of a measurement run: reads the nominal value off the meter (exact setting) or
// turns the output one digit up (exact reading), and confirms.
class ScriptedDialogs : public MeasurementDialogRunner
{
public:
    ScriptedDialogs(const MeterCheckDoc& doc, CommandSender& sender) : doc(doc), sender(sender) {}

    bool ChooseProcedure(RangeScope& rangeChoice, PointScope& pointChoice) override
    {
        rangeChoice = RangeScope::All;
        pointChoice = PointScope::All;
        return true;
    }
    MeasurementResult RunExactSetting(int range, int point, const QString&) override
    {
        MeasurementResult taken{MeasurementOutcome::Ok, {}};
        ExactSettingEntry::Confirm(doc.ranges[range].points[point].setting, taken.value);
        confirmed << qMakePair(range, point);
        return taken;
    }
    MeasurementResult RunExactReading(int range, int point, const QString& setpointText) override
    {
        ExactReadingControl control(doc.ranges[range].calFunction, setpointText, sender);
        control.SelectDigit(point % 5 + 1);
        control.StepUp();
        confirmed << qMakePair(range, point);
        return {MeasurementOutcome::Ok, control.SettingText()};
    }

    QList<QPair<int, int>> confirmed;

private:
    const MeterCheckDoc& doc;
    CommandSender& sender;
};

// The technician presses the ranges page's buttons and cancels every dialog.
class CancellingDialogs : public MeterCheckDialogRunner
{
public:
    QString ChooseFileToOpen() override { return {}; }
    QString ChooseFileToSave() override { return {}; }
    bool RunMeterData(MeterCheckMode) override { return false; }
    bool RunRangeDialog(MeterCheckMode, int) override { return false; }
    bool RunPointDialog(MeterCheckMode, int, int) override { return false; }
};

class NoGrid : public PointsGridView
{
public:
    void FillPointsGrid(int) override {}
    void SelectPointsRow(int) override {}
};

void CheckChart(const MeterCheckDoc& doc, const ChartData& chart, int range, const char* kind)
{
    const QString where =
        QStringLiteral("%1 chart of range %2").arg(QLatin1String(kind)).arg(range);
    const MeterRange& r = doc.ranges[range];
    if (r.rangeMeasured != 1) {
        FUZZ_CHECK(chart.status == ChartData::Status::NotMeasured, where);
        return;
    }
    int marked = 0;
    for (const MeterPoint& p : r.points)
        marked += p.marked == 1;
    if (marked == 0) {
        FUZZ_CHECK(chart.status == ChartData::Status::NoMarkedPoints, where);
        return;
    }
    FUZZ_CHECK(chart.status == ChartData::Status::Ready && chart.pointCount == marked, where);
    // The axis holds 0 and every value, and a chart can only draw finite numbers.
    FUZZ_CHECK(std::isfinite(chart.axisMin) && std::isfinite(chart.axisMax) &&
                   std::isfinite(chart.axisStep),
               where + QString::asprintf(": axis %g..%g step %g", chart.axisMin, chart.axisMax,
                                         chart.axisStep));
    FUZZ_CHECK(chart.axisMin <= 0 && chart.axisMax >= 0 && chart.axisStep >= 0, where);
    for (const ChartSeries& s : chart.series) {
        FUZZ_CHECK(s.values.size() == marked, where);
        for (double v : s.values) {
            FUZZ_CHECK(std::isfinite(v), where + QString::asprintf(": value %g", v));
            FUZZ_CHECK(v >= chart.axisMin && v <= chart.axisMax, where);
        }
    }
}

// The commands travel framed by "^" and "%": a text from the file must never add to them.
void CheckCommands(const QStringList& sent, const QString& where)
{
    for (const QString& c : sent) {
        FUZZ_CHECK(!c.isEmpty(), where);
        for (QChar ch : c)
            FUZZ_CHECK(ch.unicode() >= 0x20 && ch.unicode() < 0x7F && ch != QLatin1Char('^') &&
                           ch != QLatin1Char('%'),
                       where + QStringLiteral(": sent ") + Quoted(c));
    }
}

void CheckTexts(MeterCheckSession& session)
{
    MeterCheckDoc& doc = session.document;
    const int n = CountRanges(doc);
    FUZZ_CHECK(n >= 0 && n <= maxRanges, QString::number(n));
    MethodText(doc.method);
    for (int r = 0; r < maxRanges; ++r) {
        const MeterRange& range = doc.ranges[r];
        const int m = CountPoints(doc, r);
        FUZZ_CHECK(m >= 0 && m <= maxPoints, QString::number(m));
        const QString description = DescribeRange(range);
        FUZZ_CHECK(description.isEmpty() == !CalFunctions::IsValid(range.calFunction),
                   QStringLiteral("range %1").arg(r));
        SensorWithSuffix(range);
        SensorText(range);
        ClassText(range);
        FUZZ_CHECK(RangesPageLogic::RangeRowTexts(range).size() == 4, QString::number(r));
        for (const MeterPoint& p : range.points) {
            FUZZ_CHECK(RangesPageLogic::PointRowTexts(p).size() == 7, QString::number(r));
        }
        CheckChart(doc, RangeCharts::PointsChart(doc, r), r, "points");
        CheckChart(doc, RangeCharts::ErrorsChart(doc, r), r, "errors");
    }
    session.currentRange = 0;
    session.currentPoint = 0;
    CancellingDialogs dialogs;
    RangesPageLogic(session, dialogs).ButtonStates();
}

void CheckExport(const MeterCheckDoc& doc)
{
    ExportWorkbook book;
    const int n = CountRanges(doc);
    for (int r = 0; r < n; ++r)
        ExportRangeToExcel(book, doc, r);
    QSet<QString> names;
    for (const ExportSheet& sheet : book.Sheets()) {
        const QString where = QStringLiteral("sheet ") + Quoted(sheet.name);
        FUZZ_CHECK(!sheet.name.isEmpty() && sheet.name.size() <= 31, where);
        for (QChar c : sheet.name)
            FUZZ_CHECK(!QStringLiteral("[]:*?/\\").contains(c) && c.unicode() >= 0x20, where);
        FUZZ_CHECK(!names.contains(sheet.name.toLower()), where);
        names.insert(sheet.name.toLower());
    }
    FUZZ_CHECK(book.Sheets().size() == n, QString::number(n));
}

void CheckEditorsAndEntries(const MeterCheckDoc& doc)
{
    RecordingMessageService messages;
    const int n = CountRanges(doc);
    for (int r = 0; r < n; ++r) {
        const MeterRange& range = doc.ranges[r];
        // "Edytuj" on the range: the editor shows it and OK either refuses or gives a range.
        RangeEditor editor(range, false, messages);
        for (int e = 0; e < RangeEditor::editCount; ++e)
            FUZZ_CHECK(editor.Text(RangeEditor::Edit(e)).size() <=
                           RangeEditor::MaxLength(RangeEditor::Edit(e)),
                       QString::number(r));
        if (editor.Accept()) {
            FUZZ_CHECK(int(editor.Range().function) >= 0 && int(editor.Range().function) <= 4,
                       QString::number(r));
        }
        // "Edytuj" on a point: its nominal value checked again as if typed.
        const auto limits = PointEntry::LimitsFor(range);
        for (int j = 0; j < CountPoints(doc, r); ++j) {
            PointEntry entry(range, doc.method, messages);
            const QString nominal = PointEntry::NominalValue(range.points[j], doc.method);
            if (entry.Check(nominal) == PointEntry::Outcome::Accepted) {
                FUZZ_CHECK(limits && entry.Value().size() <= PointEntry::maxValueLength,
                           Quoted(nominal));
            }
        }
    }
}

void CheckSourceSelection(const MeterCheckDoc& doc)
{
    RecordingMessageService messages;
    RecordingCommandSender sender;
    const int n = CountRanges(doc);
    for (int r = 0; r < n; ++r) {
        for (int j = 0; j < CountPoints(doc, r); ++j) {
            const int f = SelectSourceForPoint(doc, r, j, sender, messages);
            FUZZ_CHECK(f == -1 || CalFunctions::IsValid(f), QString::number(f));
            const QStringList sent = sender.TakeSent();
            CheckCommands(sent, QStringLiteral("selection for range %1 point %2").arg(r).arg(j));
            if (f == -1)
                FUZZ_CHECK(sent.isEmpty(), QString::number(r));
        }
    }
}

void CheckMeasurementRun(MeterCheckSession& session)
{
    MeterCheckDoc& doc = session.document;
    RecordingMessageService messages;
    messages.answers = {};
    RecordingCommandSender sender;
    ScriptedDialogs dialogs(doc, sender);
    NoGrid grid;
    MeasureProcedure procedure(session, dialogs, grid, sender, messages);
    session.currentRange = 0;
    procedure.OnMeasure();
    CheckCommands(sender.sent, QStringLiteral("measurement run"));
    for (const auto& [r, j] : dialogs.confirmed) {
        const MeterRange& range = doc.ranges[r];
        const MeterPoint& p = range.points[j];
        if (p.pointMeasured != 1)
            continue; // not confirmed after all (the run left the point as it was)
        const QString where = QStringLiteral("measured range %1 point %2").arg(r).arg(j);
        // Every value a run writes fits its field of the file and is a number.
        for (const QString* text :
             {&p.reading, &p.setting, &p.actualError, &p.permissibleError, &p.calibratorError}) {
            FUZZ_CHECK(text->size() <= pointValueChars && NoSpecials(*text),
                       where + QStringLiteral(": ") + Quoted(*text));
        }
        FUZZ_CHECK(range.rangeMeasured == 1, where);
        FUZZ_CHECK(CalFunctions::IsValid(range.calFunction), where);
    }
    // The measured document still packs into a file that reads back the same.
    const QByteArray image = MetFile::PackDocument(session);
    FUZZ_CHECK(MetFile::UnpackDocument(session, image), QStringLiteral("repack"));
    FUZZ_CHECK(MetFile::PackDocument(session) == image, QStringLiteral("repack"));
}

void CheckPageOperations(MeterCheckSession& session)
{
    MeterCheckDoc& doc = session.document;
    CancellingDialogs dialogs;
    RangesPageLogic page(session, dialogs);
    for (int row = 1; row <= 3; ++row) {
        const QByteArray before = MetFile::PackDocument(session);
        const QString where = QStringLiteral("row %1").arg(row);
        // "Dodaj" and cancel leave every slot as it was.
        FUZZ_CHECK(!page.AddRange(row) && MetFile::PackDocument(session) == before, where);
        session.currentRange = 0;
        FUZZ_CHECK(!page.AddPoint(row) && MetFile::PackDocument(session) == before, where);
        // Switching a point on and off again changes nothing.
        session.currentRange = qint16(row - 1);
        if (page.ToggleMarked(row))
            FUZZ_CHECK(page.ToggleMarked(row) && MetFile::PackDocument(session) == before, where);
        page.MarkAll();
        page.MarkAll();
        page.ButtonStates();
    }
    // Deleting points and ranges keeps within the slots.
    session.currentRange = 0;
    const int points = CountPoints(doc, 0);
    if (page.DeletePoint(1))
        FUZZ_CHECK(CountPoints(doc, 0) <= points, QStringLiteral("delete point"));
    const int ranges = CountRanges(doc);
    if (page.DeleteRange(1))
        FUZZ_CHECK(CountRanges(doc) <= ranges, QStringLiteral("delete range"));
    const QByteArray image = MetFile::PackDocument(session);
    FUZZ_CHECK(MetFile::UnpackDocument(session, image) && MetFile::PackDocument(session) == image,
               QStringLiteral("repack after the page"));
}

void CheckReportPage(const MeterCheckDoc& doc)
{
    const int n = CountRanges(doc);
    for (int r = 0; r < qMin(n, 2); ++r) {
        QPicture picture;
        QPainter painter(&picture);
        painter.setWindow(0, 0, 21000, 29700);
        PaintProtocolPage(painter, doc, r, QStringLiteral("2026-12-07"), QStringLiteral("11:00"));
        painter.end();
    }
}

// The chart pages draw the first measured range with marked points, as the window shows it
// and as the report prints it.
void CheckChartPages(const MeterCheckDoc& doc)
{
    static RecordingMessageService messages;
    static CPointsChartPage* pointsPage = new CPointsChartPage(doc, messages);
    static CErrorsChartPage* errorsPage = new CErrorsChartPage(doc, messages);
    static QImage paper(400, 300, QImage::Format_RGB32);
    messages.Reset();
    for (int r = 0; r < CountRanges(doc); ++r) {
        if (RangeCharts::PointsChart(doc, r).status != ChartData::Status::Ready)
            continue;
        for (ChartPage* page :
             {static_cast<ChartPage*>(pointsPage), static_cast<ChartPage*>(errorsPage)}) {
            QElapsedTimer timer;
            timer.start();
            QPainter painter(&paper);
            FUZZ_CHECK(page->PrintChart(r, painter, QRectF(0, 0, 400, 300)), QString::number(r));
            painter.end();
            FUZZ_CHECK(timer.elapsed() < 5000,
                       QStringLiteral("chart of range %1 took %2 ms").arg(r).arg(timer.elapsed()));
        }
        return;
    }
}

QString ScratchPath()
{
    static const QString path = [] {
        const QString dir = QDir::tempPath() +
                            QStringLiteral("/r718-fuzz-%1").arg(QCoreApplication::applicationPid());
        QDir().mkpath(dir);
        return dir + QStringLiteral("/input.met");
    }();
    return path;
}

} // namespace

void BuildSampleDocument(MeterCheckSession& session, int variant)
{
    MeterCheckDoc& doc = session.document;
    ClearDocument(doc);
    session.fileImage.fill('\0');
    doc.formatVersion = 1.0;
    doc.meterName = variant == 0 ? QStringLiteral("Miernik V-640") : QStringLiteral("Termometr µT");
    doc.meterNumber = QStringLiteral("12345/°C");
    doc.method = CheckMethod(variant);

    MeterRange& v = doc.ranges[0];
    v.rangeValue = QStringLiteral("500");
    v.rangeUnit = QStringLiteral("mV");
    v.function = RangeFunction::Voltage;
    v.calFunction = 1;
    v.classRange = QStringLiteral("0.5");
    v.classReading = QStringLiteral("0.1");
    v.constTerm = QStringLiteral("20");
    v.constUnit = QStringLiteral("µV");
    v.rangeDefined = 1;
    v.rangeMeasured = 1;
    AddPoint(v, 0, "100.02", "100.00", "mV", true);
    AddPoint(v, 1, "-250.1", "-250.00", "mV", true);
    AddPoint(v, 2, "", "499", "mV", false);

    MeterRange& k = doc.ranges[1];
    k.rangeValue = QStringLiteral("1200");
    k.rangeUnit = QStringLiteral("°C");
    k.sensorName = QStringLiteral("K (NiCr-NiAl)");
    k.function = RangeFunction::Thermocouple;
    k.calFunction = 13;
    k.coldJunction = ColdJunction::To;
    k.toValue = QStringLiteral("23.0");
    k.classRange = QStringLiteral("1");
    k.constUnit = QStringLiteral("°C");
    k.rangeDefined = 1;
    k.rangeMeasured = variant == 0 ? 1 : 0;
    AddPoint(k, 0, "200.0", "200.0", "°C", variant == 0);
    AddPoint(k, 1, "1000.4", "1000.0", "°C", variant == 0);

    MeterRange& pt = doc.ranges[2];
    pt.rangeValue = QStringLiteral("850");
    pt.rangeUnit = QStringLiteral("°C");
    pt.sensorName = QStringLiteral("Pt100 (385)");
    pt.function = RangeFunction::Rtd;
    pt.calFunction = 14;
    pt.rlValue = QStringLiteral("10.0");
    pt.classReading = QStringLiteral("0.2");
    pt.constUnit = QStringLiteral("°C");
    pt.rangeDefined = 1;
    AddPoint(pt, 0, "0.00", "0.00", "°C", false);

    MeterRange& ohm = doc.ranges[3];
    ohm.rangeValue = QStringLiteral("4");
    ohm.rangeUnit = QStringLiteral("kOhm");
    ohm.function = RangeFunction::Resistance;
    ohm.calFunction = 6;
    ohm.classRange = QStringLiteral("0.25");
    ohm.constTerm = QStringLiteral("0.5");
    ohm.constUnit = QStringLiteral("Ohm");
    ohm.rangeDefined = 1;
    ohm.rangeMeasured = 1;
    AddPoint(ohm, 0, "3999.0", "4000.0", "Ohm", true);
    AddPoint(ohm, 1, "0.4", "0.4", "kOhm", false);

    MeterRange& ma = doc.ranges[4];
    ma.rangeValue = QStringLiteral("20");
    ma.rangeUnit = QStringLiteral("mA");
    ma.function = RangeFunction::Current;
    ma.calFunction = 4;
    ma.classRange = QStringLiteral("0.5");
    ma.constUnit = QStringLiteral("mA");
    ma.rangeDefined = 1;
    AddPoint(ma, 0, "4.000", "4.000", "mA", false);
    AddPoint(ma, 1, "20.000", "20.000", "mA", false);

    // Errors of the measured points as a run computes them.
    for (int r = 0; r < 5; ++r) {
        MeterRange& range = doc.ranges[r];
        for (int j = 0; j < CountPoints(doc, r); ++j) {
            MeterPoint& p = range.points[j];
            if (p.pointMeasured != 1)
                continue;
            p.calibratorError =
                CalibratorErrorText(p.setting, range.calFunction, range.coldJunction);
            EvaluatePointErrors(doc, r, j);
        }
    }
}

QByteArray SampleImage(int variant)
{
    MeterCheckSession session;
    BuildSampleDocument(session, variant);
    return MetFile::PackDocument(session);
}

bool LoadAndExercise(const QByteArray& fileBytes)
{
    FuzzSupport::EnsureApplication();
    // The document of the fuzzing run, as the program's lives for its run; the chart pages
    // drawn on it stay from one input to the next.
    static MeterCheckSession session;
    RecordingMessageService messages;
    {
        QFile file(ScratchPath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(fileBytes) == fileBytes.size(),
                   ScratchPath());
    }
    const bool rightLength = fileBytes.size() == MET_FILE_SIZE;
    // A document is in memory when a file is opened; a refused file must leave it alone. (A
    // file that is taken replaces every field and the whole image, so it needs none.)
    QByteArray before;
    if (!rightLength) {
        BuildSampleDocument(session, int(fileBytes.size() % 2));
        before = MetFile::PackDocument(session);
    }
    const bool loaded = LoadDocument(session, ScratchPath(), messages);
    if (!rightLength) {
        FUZZ_CHECK(!loaded, QString::number(fileBytes.size()));
        FUZZ_CHECK(messages.messages.size() == 1 &&
                       messages.messages[0].text.contains(QStringLiteral("nieprawidłowa długość")),
                   messages.Texts().join(QLatin1Char('|')));
        FUZZ_CHECK(MetFile::PackDocument(session) == before, QStringLiteral("document changed"));
        return false;
    }
    FUZZ_CHECK(loaded && messages.messages.isEmpty(), messages.Texts().join(QLatin1Char('|')));

    // Everything but the texts comes back exactly; texts come back as read, once normalised.
    const QByteArray packed = MetFile::PackDocument(session);
    FUZZ_CHECK(packed.size() == MET_FILE_SIZE, QStringLiteral("size"));
    FUZZ_CHECK(packed.left(8) == fileBytes.left(8) && packed.mid(68, 2) == fileBytes.mid(68, 2),
               QStringLiteral("header numbers"));
    for (int r = 0; r < maxRanges; ++r) {
        const int at = MetFile::RangeOffset(r);
        FUZZ_CHECK(packed.mid(at + 28, 6) == fileBytes.mid(at + 28, 6) &&
                       packed.at(at + 68) == fileBytes.at(at + 68) &&
                       packed.at(at + 2519) == fileBytes.at(at + 2519),
                   QStringLiteral("range %1 numbers").arg(r));
        for (int j = 0; j < maxPoints; ++j) {
            const int p = MetFile::PointOffset(r, j);
            FUZZ_CHECK(packed.mid(p + 45, 4) == fileBytes.mid(p + 45, 4),
                       QStringLiteral("range %1 point %2 flags").arg(r).arg(j));
        }
    }

    CheckTexts(session);
    CheckExport(session.document);
    CheckEditorsAndEntries(session.document);
    CheckSourceSelection(session.document);
    CheckReportPage(session.document);
    CheckChartPages(session.document);
    CheckMeasurementRun(session);
    CheckPageOperations(session);
    // After the run the charts of the measured ranges are drawn.
    CheckTexts(session);
    return true;
}
