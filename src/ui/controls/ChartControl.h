// SPDX-License-Identifier: MIT
#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QStringList>

class QPainter;

// A chart of a few series over numbered points, filled the way the meter check's chart pages
// fill it: open a data block (series and point counts), set titles, value axis, legends,
// colours and values, close the block; closing draws. The chart keeps what was drawn last
// until the next block is closed. It can also draw itself onto any painter (printer, PDF).
class ChartControl : public QChartView
{
    Q_OBJECT

public:
    enum class ChartKind
    {
        Lines,
        Bars,
        Marks
    };
    // Where a title goes; the numbers are the places of ChartData's titles.
    enum class TitlePlace
    {
        ValueAxis = 0,
        Right = 1,
        Main = 2,
        Bottom = 3
    };

    explicit ChartControl(QWidget* parent = nullptr);

    void setChartKind(ChartKind kind);
    ChartKind chartKind() const { return kind; }

    // A place outside the four is ignored.
    void setTitle(TitlePlace place, const QString& text);
    QString title(TitlePlace place) const { return titles.value(int(place)); }

    // The value axis: minimum, maximum and the distance between its ticks.
    void setAxisMinimum(double value);
    void setAxisMaximum(double value);
    void setAxisStep(double value);
    double axisMinimum() const { return axisMin; }
    double axisMaximum() const { return axisMax; }
    double axisStep() const { return axisStepValue; }

    // Starts a new set of values: seriesCount series of pointCount values, all 0, series 0
    // current. False (and nothing changes) for negative counts.
    bool OpenData(int seriesCount, int pointCount);
    // Ends the block and draws the chart; false when no block was open.
    bool CloseData();
    bool dataOpen() const { return open; }

    void setSeriesLegend(int series, const QString& legend);
    void setCurrentSeries(int series);
    int currentSeries() const { return current; }
    // Colour and values of the current series.
    void setSeriesColor(const QColor& color);
    void setPointValue(int point, double value);

    int seriesCount() const { return series.size(); }
    int pointCount() const { return points; }
    QString seriesLegend(int s) const
    {
        return s >= 0 && s < series.size() ? series[s].legend : QString();
    }
    QColor seriesColor(int s) const
    {
        return s >= 0 && s < series.size() ? series[s].color : QColor();
    }
    double pointValue(int s, int point) const;

    // Draws the chart as last drawn into target (for printing and PDF files), stretched to it;
    // texts and lines scale with the chart.
    void RenderTo(QPainter& painter, const QRectF& target);
    // The size a chart that is not on the screen is drawn at (the chart pages' control).
    static constexpr int unshownWidth = 770;
    static constexpr int unshownHeight = 481;

private:
    struct Series
    {
        QString legend;
        QColor color;
        QList<double> values;
    };

    void Rebuild();

    ChartKind kind = ChartKind::Lines;
    QStringList titles{QString(), QString(), QString(), QString()};
    double axisMin = 0.0;
    double axisMax = 1.0;
    double axisStepValue = 0.0;
    QList<Series> series;
    int points = 0;
    int current = 0;
    bool open = false;
};
