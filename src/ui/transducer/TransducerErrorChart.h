// SPDX-License-Identifier: MIT
#pragma once

#include "core/transducer/TransducerDoc.h"

#include <QChartView>

class QLineSeries;
class QScatterSeries;
class QValueAxis;

// The errors of both runs in % of the output span over the input in % of its span, with the
// permissible error above and below; filled again whenever a point comes.
class TransducerErrorChart : public QChartView
{
    Q_OBJECT

public:
    explicit TransducerErrorChart(QWidget* parent = nullptr);
    void Fill(const TransducerDoc& doc);

private:
    QLineSeries* asFound;
    QLineSeries* asLeft;
    QLineSeries* upper;
    QLineSeries* lower;
    QValueAxis* x;
    QValueAxis* y;
};
