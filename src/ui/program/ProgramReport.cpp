// SPDX-License-Identifier: MIT
#include "ui/program/ProgramReport.h"

#include "core/program/ProgramChartData.h"
#include "core/program/ProgramText.h"
#include "ui/base/A4PageText.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/program/ProgramChartDrawing.h"

#include <QPainter>

namespace {

using namespace A4PageText;

// Column left edges of the trip table, and the right edge of the last.
const int columnX[] = {2000, 3000, 4600, 7400, 9200, 12000, 13800, right};

} // namespace

void PaintProgramReport(QPainter& p, const ProgramDoc& doc, const ProgramPlan& plan,
                        const ProgramRunLog& log, const QDateTime& printed)
{
    p.setPen(QPen(Qt::black, 15));
    int y = 1200;
    p.setFont(Font(520, true));
    Text(p, left, y, QStringLiteral("PRZEBIEG PROGRAMU ŹRÓDŁA"), Qt::AlignHCenter);
    y += 700;
    p.setFont(Font(textHeight));
    Text(p, left, y,
         QStringLiteral("Kalibrator wielofunkcyjny R718 (źródło według programu, pomiar "
                        "odpowiedzi), program Tevano 718"),
         Qt::AlignHCenter);
    y += rowPitch + 200;
    p.drawLine(left, y, right, y);
    y += 150;
    // A long program's segments beyond the first few are in the workbook.
    constexpr int segmentsShown = 8;
    QList<QPair<QString, QString>> lines;
    for (const auto& line : ProgramText::DefinitionLines(doc)) {
        const bool segment = line.first.startsWith(QStringLiteral("Segment "));
        if (!segment || line.first.mid(8).toInt() <= segmentsShown)
            lines << line;
        else if (line.first.mid(8).toInt() == segmentsShown + 1)
            lines << qMakePair(QStringLiteral("..."),
                               QStringLiteral("razem %1 segmentów").arg(doc.segments.size()));
    }
    lines << qMakePair(QStringLiteral("Uruchomiony"),
                       log.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
          << qMakePair(QStringLiteral("Przebieg"),
                       log.end ? ProgramEndName(*log.end) : QStringLiteral("w toku"))
          << qMakePair(QStringLiteral("Czas planowany"), ProgramText::Duration(plan.totalMs));
    for (const auto& [label, value] : lines) {
        if (value.isEmpty())
            continue;
        p.setFont(Font(textHeight, true));
        Text(p, left, y, label + QLatin1Char(':'));
        p.setFont(Font(textHeight));
        Text(p, 6500, y, p.fontMetrics().elidedText(value, Qt::ElideRight, right - 6500),
             Qt::AlignLeft, right - 6500);
        y += rowPitch;
    }
    y += 200;
    const QRectF chartArea(left, y, right - left, 9000);
    PaintProgramChart(p, chartArea, BuildProgramChart(doc, plan, log), Font(260));
    y += 9000 + 300;
    p.setPen(QPen(Qt::black, 15));

    p.setFont(Font(340, true));
    Text(p, left, y,
         doc.trip.enabled
             ? QStringLiteral("Punkty zadziałania (%1)").arg(ProgramText::TripConditionText(doc))
             : QStringLiteral("Bez warunku zadziałania"));
    y += rowPitch + 100;
    if (!doc.trip.enabled)
        return;
    const QList<TripPoint> points = TripPoints::FromLog(log.entries);
    const int top = y;
    p.setFont(Font(240, true));
    const QStringList heading = ProgramText::TripHeading(doc);
    for (int c = 0; c < heading.size(); ++c)
        Text(p, columnX[c], y, heading[c], Qt::AlignHCenter, columnX[c + 1] - columnX[c]);
    y += rowPitch;
    p.drawLine(left, y, right, y);
    p.setFont(Font(textHeight));
    // What does not fit on the page is in the workbook.
    const QList<QStringList> rows = ProgramText::TripRows(doc, points).mid(0, 12);
    for (const QStringList& cells : rows) {
        for (int c = 0; c < cells.size(); ++c)
            Text(p, columnX[c], y, cells[c], Qt::AlignHCenter, columnX[c + 1] - columnX[c]);
        y += rowPitch;
    }
    p.drawRect(QRect(left, top, right - left, y - top));
    for (int c = 1; c + 1 < int(std::size(columnX)); ++c)
        p.drawLine(columnX[c], top, columnX[c], y);
    y += 100;
    if (points.isEmpty()) {
        Text(p, left, y, QStringLiteral("Nie wykryto zadziałania."));
        y += rowPitch;
    } else if (points.size() > rows.size()) {
        Text(p, left, y,
             QStringLiteral("Pierwsze %1 z %2 zadziałań; wszystkie w skoroszycie.")
                 .arg(rows.size())
                 .arg(points.size()));
        y += rowPitch;
    }
    const QString spread = ProgramText::SpreadText(doc, TripPoints::Spread(points));
    if (!spread.isEmpty()) {
        p.setFont(Font(textHeight, true));
        Text(p, left, y, spread + QLatin1Char('.'));
    }
    p.setFont(Font(260));
    Text(
        p, left, 28200,
        QStringLiteral("Wydrukowano %1").arg(printed.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
}

bool SaveProgramReport(const QString& path, const ProgramDoc& doc, const ProgramPlan& plan,
                       const ProgramRunLog& log, const QString& documentName,
                       MessageService& messages)
{
    PdfFileJobs jobs;
    QPainter* painter = jobs.BeginJob(QStringLiteral("Przebieg programu źródła"));
    if (!painter || !jobs.BeginPage())
        return false;
    PaintProgramReport(*painter, doc, plan, log, QDateTime::currentDateTime());
    jobs.EndPage();
    jobs.EndJob();
    return jobs.Save(path, documentName, messages);
}
