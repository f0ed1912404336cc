// SPDX-License-Identifier: MIT
#include "ui/transducer/TransducerCertificate.h"

#include "core/link/NumberText.h"
#include "core/transducer/TransducerExport.h"
#include "core/transducer/TransducerMath.h"
#include "core/transducer/TransducerText.h"
#include "ui/base/A4PageText.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/transducer/TransducerErrorChart.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPainter>

namespace {

using namespace A4PageText;

// Column left edges of the tables, and the right edge of the last.
const int columnX[] = {2000, 3900, 6200, 8600, 11000, 13400, 15800, right};

// The table of one run; returns the y under it.
int PaintRun(QPainter& p, const TransducerDoc& doc, RunKind kind, int y)
{
    const TransducerRunResult& run = doc.Run(kind);
    p.setFont(Font(340, true));
    Text(p, left, y,
         QStringLiteral("Sprawdzenie %1 (%2, %3)")
             .arg(TransducerText::RunName(kind),
                  run.started.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                  TransducerText::RunEndName(run.end)));
    y += rowPitch + 100;
    const QString in = TransducerText::InputUnit(doc);
    const QString out = TransducerText::OutputUnit(doc);
    const QStringList heading{QStringLiteral("Punkt [%]"),
                              QStringLiteral("Wejście [%1]").arg(in),
                              QStringLiteral("Oczekiwane [%1]").arg(out),
                              QStringLiteral("Zmierzone [%1]").arg(out),
                              QStringLiteral("Błąd [%]"),
                              QStringLiteral("Dopuszczalny [%]"),
                              QStringLiteral("Wynik")};
    const int top = y;
    p.setFont(Font(260, true));
    for (int c = 0; c < heading.size(); ++c)
        Text(p, columnX[c], y, heading[c], Qt::AlignHCenter, columnX[c + 1] - columnX[c]);
    y += rowPitch;
    p.drawLine(left, y, right, y);
    p.setFont(Font(textHeight));
    for (const TransducerPointResult& r : run.points) {
        const QStringList cells = TransducerText::PointCells(doc, r, QStringLiteral("---"));
        for (int c = 0; c < cells.size(); ++c)
            Text(p, columnX[c], y, cells[c], Qt::AlignHCenter, columnX[c + 1] - columnX[c]);
        y += rowPitch;
    }
    p.drawRect(QRect(left, top, right - left, y - top));
    for (int c = 1; c + 1 < int(std::size(columnX)); ++c)
        p.drawLine(columnX[c], top, columnX[c], y);
    p.setFont(Font(textHeight, true));
    Text(p, left, y + 50,
         QStringLiteral("Wynik sprawdzenia %1: %2")
             .arg(TransducerText::RunName(kind),
                  TransducerText::RunVerdictName(TransducerMath::VerdictOf(doc, run))));
    return y + rowPitch + 400;
}

void PaintChart(QPainter& p, const TransducerDoc& doc, const QRect& target)
{
    TransducerErrorChart chart;
    chart.Fill(doc);
    // The chart's own pixels, about 0.22 mm each: its labels print at a readable size.
    const QSizeF logical(target.width() / 22.0, target.height() / 22.0);
    chart.chart()->setGeometry(QRectF(QPointF(0, 0), logical));
    // No event loop lays the chart out while the page is painted: serve its requests here.
    QCoreApplication::sendPostedEvents();
    chart.scene()->render(&p, target, QRectF(QPointF(0, 0), logical), Qt::IgnoreAspectRatio);
}

} // namespace

void PaintTransducerCertificate(QPainter& p, const TransducerDoc& doc, const QDateTime& printed)
{
    p.setPen(QPen(Qt::black, 15));
    int y = 1200;
    p.setFont(Font(520, true));
    Text(p, left, y, QStringLiteral("ŚWIADECTWO SPRAWDZENIA PRZETWORNIKA"), Qt::AlignHCenter);
    y += 700;
    p.setFont(Font(textHeight));
    Text(p, left, y,
         QStringLiteral("Wzorzec: kalibrator wielofunkcyjny R718 (źródło na wejściu, pomiar "
                        "wyjścia), program Tevano 718"),
         Qt::AlignHCenter);
    y += rowPitch + 200;
    p.drawLine(left, y, right, y);
    y += 150;
    for (const auto& [label, value] : TransducerExport::DefinitionLines(doc)) {
        if (value.isEmpty())
            continue;
        p.setFont(Font(textHeight, true));
        Text(p, left, y, label + QLatin1Char(':'));
        p.setFont(Font(textHeight));
        Text(p, 6500, y, value, Qt::AlignLeft, right - 6500);
        y += rowPitch;
    }
    y += 300;
    for (RunKind kind : {RunKind::AsFound, RunKind::AsLeft}) {
        if (!doc.Run(kind).IsEmpty())
            y = PaintRun(p, doc, kind, y);
    }
    const QRect chartArea(left, y, right - left, 7000);
    PaintChart(p, doc, chartArea);
    y = chartArea.bottom() + 300;

    // The verdict is that of the last run made: after adjustment when there is one.
    const RunKind last = doc.asLeft.IsEmpty() ? RunKind::AsFound : RunKind::AsLeft;
    p.setFont(Font(420, true));
    Text(p, left, y,
         QStringLiteral("Orzeczenie: %1")
             .arg(TransducerText::RunVerdictName(TransducerMath::VerdictOf(doc, doc.Run(last)))));
    p.setFont(Font(260));
    Text(
        p, left, 28200,
        QStringLiteral("Wydrukowano %1").arg(printed.toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    Text(p, 12000, 28200, QStringLiteral("Sprawdził: ...................................."),
         Qt::AlignLeft, right - 12000);
}

bool SaveTransducerCertificate(const QString& path, const TransducerDoc& doc,
                               const QString& documentName, MessageService& messages)
{
    PdfFileJobs jobs;
    QPainter* painter = jobs.BeginJob(QStringLiteral("Świadectwo sprawdzenia przetwornika"));
    if (!painter || !jobs.BeginPage())
        return false;
    PaintTransducerCertificate(*painter, doc, QDateTime::currentDateTime());
    jobs.EndPage();
    jobs.EndJob();
    return jobs.Save(path, documentName, messages);
}
