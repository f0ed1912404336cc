#include "metercheck/charts/ChartPage.h"

#include "base/DialogUnits.h"
#include "base/MessageService.h"
#include "metercheck/charts/ChartBuilder.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

namespace {

// The size the chart is laid out at for printing, before it is scaled onto the page: about the
// size it has on the screen, so that its texts keep their proportions.
constexpr qreal printWidth = 960;

} // namespace

ChartPage::ChartPage(QWidget* parent) : QWidget(parent)
{
    // A borderless child page of 527 × 310 units with the chart at 7, 7, 513 × 296.
    resize(DialogUnits::Size(527, 310));
    view = new QChartView(this);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DialogUnits::X(7), DialogUnits::Y(7), DialogUnits::X(7),
                               DialogUnits::Y(7));
    layout->addWidget(view);
}

bool ChartPage::DrawChart(int range)
{
    const ChartData built = BuildChart(range);
    switch (built.status) {
    case ChartData::NotMeasured:
        return false;
    case ChartData::NoMarkedPoints:
        hide();
        Messages().Show(RangeCharts::NoPointsMessage(), RangeCharts::NoDataCaption(),
                        MessageIcon::Error, MessageButtons::Ok, parentWidget());
        return false;
    case ChartData::Ready:
        break;
    }
    data = built;
    ChartBuilder::Fill(*view->chart(), data);
    return true;
}

bool ChartPage::PrintChart(int range, QPrinter& printer)
{
    if (!DrawChart(range))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the corner of the printable part of the page.
    RenderChart(painter, QRectF(0, 0, printer.width(), printer.height()));
    painter.end();
    return true;
}

bool ChartPage::PrintChart(int range, QPainter& painter, const QRectF& area)
{
    if (!DrawChart(range))
        return false;
    RenderChart(painter, area);
    return true;
}

void ChartPage::RenderChart(QPainter& painter, const QRectF& area) const
{
    if (data.status != ChartData::Ready || area.isEmpty())
        return;
    // A chart of its own, laid out with the proportions of the area, so that what is printed
    // does not depend on the size of the page on the screen.
    QGraphicsScene scene;
    auto* chart = new QChart;
    scene.addItem(chart);
    const QSizeF size(printWidth, printWidth * area.height() / area.width());
    chart->resize(size);
    chart->setBackgroundRoundness(0);
    ChartBuilder::Fill(*chart, data);
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    // The chart lays out its axes, titles and legend on posted layout requests.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, area, scene.sceneRect(), Qt::KeepAspectRatio);
    painter.restore();
}
